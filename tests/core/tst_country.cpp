#include "core/model/country.h"
#include "core/model/document.h"
#include "support/testmain.h"

#include <QtTest>

class TestCountry : public QObject {
    Q_OBJECT
private slots:
    void modesAndBands() {
        QCOMPARE(ModeName(2), QString("HAM"));
        QCOMPARE(ModeName(7), QString("Unknown"));
        QCOMPARE(BandTextOf(1), QString("25.615 - 30.105 MHz"));
        // An unknown mode gives no band; callers refuse such data instead of ending.
        QCOMPARE(BandTextOf(3), QString());
        QCOMPARE(FreqCaption("26.965 - 27.405 MHz"), QString("Frequency"));
        QCOMPARE(FreqCaption("28.000 - 29.700 MHz"), QString("28.000 - 29.700 MHz"));
    }

    void groupArithmetic() {
        QCOMPARE(GroupOfChannel(300, 0), 6);
        QCOMPARE(FirstCHOfGroup(6, 0), 240);
        QCOMPARE(GroupSize(6, 0), 80);
        QCOMPARE(GroupOfChannel(380, 0), 8);
        QCOMPARE(FirstCHOfGroup(8, 0), 401);
        QCOMPARE(GroupName(10, 1), QString("VFO"));
        QCOMPARE(GroupSize(10, 1), 1);
        QCOMPARE(FirstCHOfGroup(10, 1), 400);
        QCOMPARE(GroupName(12, 2), QString());
        QCOMPARE(GroupSize(12, 2), 0);
        QCOMPARE(GroupName(3, 2), QString("D"));
        QCOMPARE(GroupOfChannel(401, 1), 10);
        QCOMPARE(GroupOfChannel(5, 9), -1);
        QVERIFY(IsMemGroup(8, 0));
        QVERIFY(IsMemGroup(11, 2));
        QVERIFY(!IsMemGroup(8, 1));
        QCOMPARE(GroupNames(0, "UK"),
                 QStringList({"EU", "CE", "U", "PL", "I2", "DE", "IN", "MEM"}));
        QCOMPARE(GroupNames(1).size(), 12);
        // Every channel number maps into exactly the group that holds it.
        for (int mode = 0; mode <= 2; ++mode)
            for (int g = 0; g < GroupCount(mode); ++g)
                for (int r = 1; r <= GroupSize(g, mode); ++r) {
                    const int ch = FirstCHOfGroup(g, mode) + r;
                    if (ch <= 400) QCOMPARE(GroupOfChannel(ch, mode), g);
                }
    }

    void groupCounts() {
        Document doc;
        doc.SetCountryMode(1);
        doc.NewDocument();
        doc.AddChannel(41, "28.1");
        doc.AddChannel(45, "28.2");
        QCOMPARE(doc.CountCHInGroup(1, 1), 2);
        QCOMPARE(doc.CountCHOutsideGroup(1, 1), 1); // channel 1; 401..409 are above 400
        QCOMPARE(doc.GroupPositions(1, 1), QVector<int>({1, 5}));
        QCOMPARE(doc.GroupPositions(11, 1).size(), 8);
        doc.RadioData.Func.GroupValid = {};
        doc.RadioData.Func.GroupValid[3] = 1;
        QCOMPARE(doc.CountOtherValidGroups(3, 1), 0);
        QCOMPARE(doc.CountOtherValidGroups(0, 1), 1);
        doc.RadioData.Func.GroupValid = {};
        doc.EnsureValidGroup(1);
        QCOMPARE(doc.RadioData.Func.GroupValid[0], i16(1)); // group of channel 1, the first entry
    }
};

MZ_TEST_GUILESS_MAIN(TestCountry)
#include "tst_country.moc"
