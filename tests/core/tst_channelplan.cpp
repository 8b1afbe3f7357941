// Channel plan tables: the shipped plans as they are known, channels that match hand-made
// ones, and the faults a table can have. (Every row of the built files: tst_shippeddata.)

#include "core/model/channelplan.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/frequency.h"
#include "support/testmain.h"

#include <QFile>
#include <QtTest>

namespace {
QByteArray table(const char* name) {
    QFile f(QStringLiteral(MZ_SOURCE_DIR "/data/channelplans/") + QLatin1String(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void newDocument(Document& doc, int mode) {
    doc.SetCountryMode(mode);
    doc.NewDocument();
}

const char* header = "channel,group,row,stored_mhz,shown_mhz,fm_only,dup,offset_khz,note\n";
} // namespace

class TestChannelPlan : public QObject {
    Q_OBJECT
private slots:
    void cbPlansAsTheyAreKnown() {
        Document doc;
        newDocument(doc, 0);
        QString error;
        QVERIFY(ApplyPlan(doc, *ParsePlanTable(table("cb.csv"), 0, &error), &error));
        auto listed = [&doc](int chNo) {
            const CHInfoRec* c = doc.Channel(chNo);
            return c ? doc.FreToListText(c->RxFre.text(), GroupOfChannel(chNo, 0)) : QString();
        };
        QCOMPARE(listed(1), QStringLiteral("26.96500"));
        QCOMPARE(listed(40), QStringLiteral("27.40500"));
        // 23, 24 and 25 in their historic order.
        QCOMPARE(listed(23), QStringLiteral("27.25500"));
        QCOMPARE(listed(24), QStringLiteral("27.23500"));
        QCOMPARE(listed(25), QStringLiteral("27.24500"));
        QCOMPARE(listed(121), QStringLiteral("27.60125"));
        QCOMPARE(listed(160), QStringLiteral("27.99125"));
        QCOMPARE(doc.Channel(121)->RxFre.text(), QStringLiteral("02760100"));
        QCOMPARE(listed(281), QStringLiteral("26.56500"));
        QCOMPARE(listed(320), QStringLiteral("26.95500"));
        for (int row = 1; row <= 40; ++row) {
            // "PL" lies 5 kHz below "EU"; "DE" 1-40 and "IN" are the 40-channel plan.
            QCOMPARE(doc.Channel(160 + row)->RxFre.text().toInt() + 500,
                     doc.Channel(row)->RxFre.text().toInt());
            QCOMPARE(listed(240 + row), listed(row));
            QCOMPARE(listed(320 + row), listed(row));
            // FM only: "CE", "UK", "DE" 41-80; the others keep the default of a new channel.
            for (int chNo : {40 + row, 120 + row, 280 + row})
                QCOMPARE(doc.Channel(chNo)->AM_FM, i16(0));
        }
        for (int row = 35; row <= 40; ++row)
            QVERIFY(!doc.Channel(200 + row)); // "I2" has 34 channels

        // A plan channel is a channel made by hand with the plan's frequency; FM-only rows
        // differ only by their own settings.
        Document hand;
        newDocument(hand, 0);
        hand.AddChannel(5, QStringLiteral("27.015"));
        QCOMPARE(*doc.Channel(5), *hand.Channel(5));
        hand.AddChannel(45, QStringLiteral("27.015"));
        hand.SetCHValue(1, 5, FldPublic, 0);
        hand.SetCHValue(1, 5, FldAM_FM, 0);
        QCOMPARE(*doc.Channel(45), *hand.Channel(45));

        // MEM: national channels instead of the 28 MHz defaults, each on a plan frequency.
        for (int chNo = ChMemFirst; chNo <= 409; ++chNo) {
            const QString mem = doc.FreToShown(doc.Channel(chNo)->RxFre.text());
            int found = 0;
            doc.NearestCHFre(mem.toDouble(), nullptr, &found);
            QCOMPARE(doc.FreToShown(doc.Channel(found)->RxFre.text()), mem);
        }
        QCOMPARE(listed(402), QStringLiteral("27.06500")); // EU 9
        QCOMPARE(listed(403), QStringLiteral("27.18500")); // EU 19
        QCOMPARE(listed(406), QStringLiteral("27.68125")); // UK 9
    }

    void hamRepeatersKeepTheirShift() {
        Document doc;
        newDocument(doc, 2);
        QString error;
        QVERIFY(ApplyPlan(doc, *ParsePlanTable(table("ham10m.csv"), 2, &error), &error));
        const CHInfoRec* calling = doc.Channel(10);
        QCOMPARE(doc.FreToShown(calling->RxFre.text()), QStringLiteral("29.60000"));
        QCOMPARE(calling->DUP, i16(0));
        for (int chNo = 12; chNo <= 19; ++chNo) {
            const CHInfoRec* c = doc.Channel(chNo);
            QCOMPARE(c->DUP, i16(2));
            QCOMPARE(c->OffSetFre, i16(100));
            QCOMPARE(c->Public, i16(0)); // a public channel would take the public shift
        }
        QVERIFY(!doc.Channel(20));
    }

    void tableFaults_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing column") << 0 << QByteArray("channel,group,row,stored_mhz,fm_only\n")
                                        << "line 1: the header has no column \"shown_mhz\".";
        QTest::newRow("wrong channel")
            << 0 << QByteArray("42,CE,1,26.96500,26.96500,no,,,\n") << "is channel 41";
        QTest::newRow("twice") << 0
                               << QByteArray("1,EU,1,26.96500,26.96500,no,,,\n"
                                             "1,EU,1,26.96500,26.96500,no,,,\n")
                               << "line 3: channel 1 is listed twice.";
        QTest::newRow("below 100 Hz")
            << 0 << QByteArray("121,UK,1,27.60125,27.60125,yes,,,\n") << "100 Hz";
        QTest::newRow("shown differs")
            << 0 << QByteArray("121,UK,1,27.60100,27.60100,yes,,,\n") << "listed as 27.60125";
        QTest::newRow("empty row with settings")
            << 0 << QByteArray("235,I2,35,,,yes,,,\n") << "no other settings";
        QTest::newRow("empty VFO") << 1 << QByteArray("401,VFO,1,,,,,,\n") << "always has";
        QTest::newRow("off the band")
            << 2 << QByteArray("1,A,1,27.00000,27.00000,yes,,,\n") << "outside the band";
        QTest::newRow("off the raster")
            << 2 << QByteArray("1,A,1,29.11200,29.11200,yes,,,\n") << "raster";
        QTest::newRow("offset") << 2 << QByteArray("1,A,1,29.62000,29.62000,yes,-,7,\n")
                                << "offset_khz";
    }
    void tableFaults() {
        QFETCH(int, mode);
        QFETCH(QByteArray, rows);
        QFETCH(QString, message);
        QString error;
        const QByteArray csv = rows.startsWith("channel") ? rows : header + rows;
        QVERIFY(!ParsePlanTable(csv, mode, &error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY(error.startsWith(QStringLiteral("line ")));
    }

    void quotedNotesAndWindowsLineEnds() {
        QString error;
        const auto plan =
            ParsePlanTable("group,row,channel,shown_mhz,stored_mhz,fm_only,note\r\n"
                           "EU,9,9,27.06500,27.06500,no,\"emergency, \"\"nine\"\"\"\r\n",
                           0, &error);
        QVERIFY2(plan, qPrintable(error));
        QCOMPARE(plan->first().note, QStringLiteral("emergency, \"nine\""));
        QCOMPARE(plan->first().chNo, 9);
    }

    void memRowOffThePlansIsRefused() {
        Document doc;
        newDocument(doc, 0);
        QString error;
        const auto plan = ParsePlanTable(QByteArray(header) + "1,EU,1,26.96500,26.96500,no,,,\n"
                                                              "402,MEM,1,27.00100,27.00100,no,,,\n",
                                         0, &error);
        QVERIFY2(plan, qPrintable(error));
        QVERIFY(!ApplyPlan(doc, *plan, &error));
        QVERIFY2(error.startsWith(QStringLiteral("line 3: channel 402")), qPrintable(error));
    }
};

MZ_TEST_GUILESS_MAIN(TestChannelPlan)
#include "tst_channelplan.moc"
