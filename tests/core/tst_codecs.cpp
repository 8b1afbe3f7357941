#include "core/lang/langtext.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/frequency.h"
#include "core/model/helpers.h"
#include "core/model/tones.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QtTest>

class TestCodecs : public QObject {
    Q_OBJECT
private slots:
    void storedForm_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("fraction") << "28.015000"
                                  << "02801500";
        QTest::newRow("short fraction") << "27.4"
                                        << "02740000";
        QTest::newRow("whole") << "27"
                               << "02700000";
        QTest::newRow("three digits") << "127.5"
                                      << "12750000";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("non-numeric falls to band low") << "abc"
                                                       << "02696500";
    }
    void storedForm() {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(FreToStored(text, 26.965), stored);
    }

    void shownForm() {
        QCOMPARE(FreToShown("02801500", 26.965), QString("28.01500"));
        QCOMPARE(FreToShown("FFFFFFFF", 26.965), QString());
        QCOMPARE(FreToShown("", 26.965), QString());
        ScriptedPrompter p;
        p.expect(QStringLiteral("Not IsNumeric"));
        QCOMPARE(FreToShown("02x01500", 26.965, &p), QString("26.965"));
        QCOMPARE(p.texts(), QStringList{"Not IsNumeric"});
        // The UK group lists its channels 125 Hz up; the stored value stays.
        QCOMPARE(FreToListText("02798100", 3, 0, 26.965), QString("27.98125"));
        QCOMPARE(FreToListText("02760100", 3, 0, 26.965), QString("27.60125"));
        QCOMPARE(FreToListText("02760100", 3, 1, 25.615), QString("27.60100"));
        QCOMPARE(FreToListText("02801500", 8, 0, 26.965), QString("28.01125"));
        QCOMPARE(FreToListText("02700500", 8, 0, 26.965), QString("27.00500"));
    }

    void typedFrequencyIsJudgedNotClamped() {
        // A typed frequency is judged by the rule source: in the band it is lowered to the
        // raster; out of the band or not a number it is refused, never moved to the edge.
        Document doc;
        doc.NewDocument();
        doc.SetCountryMode(1); // HF, 25.615 .. 30.105: the banks take typed frequencies
        doc.NewDocument();
        const struct {
            const char* typed;
            EditOutcome outcome;
            const char* value;
        } cases[] = {
            {"28.005", EditOutcome::Stored, "28.00500"},
            {"28.0099", EditOutcome::Adjusted, "28.00500"},
            {"25.6199", EditOutcome::Adjusted, "25.61500"},
            {"31", EditOutcome::Refused, ""},
            {"20", EditOutcome::Refused, ""},
            {"x", EditOutcome::Refused, ""},
        };
        for (const auto& c : cases) {
            const ValueVerdict v = judgeValue(doc, slotAt(doc, 0, 3), FldRxFre,
                                              QString::fromLatin1(c.typed), ValueSource::Typed);
            QCOMPARE(v.outcome, c.outcome);
            if (c.outcome != EditOutcome::Refused) QCOMPARE(v.value, QString(c.value));
        }
        QCOMPARE(SnapToGrid(26.9749, 26.965), 26.970);
    }

    void memGroupTakesPlanChannelsOnly() {
        Document doc;
        doc.NewDocument(); // channel 1 at 27.185 (mid band)
        doc.AddChannel(5, "27.005");
        doc.AddChannel(130, "26.990"); // UK channel, listed as 26.99125
        int pos = -1;
        const ChannelSlotRef mem = slotAt(doc, 8, 1);
        QCOMPARE(judgeValue(doc, mem, FldRxFre, "27.005", ValueSource::Typed).value,
                 QString("27.00500"));
        QCOMPARE(judgeValue(doc, mem, FldRxFre, "27.001", ValueSource::Typed).outcome,
                 EditOutcome::Refused);
        QCOMPARE(doc.NearestCHFre(26.992, &pos), QString("26.99000"));
        QCOMPARE(pos, 9);
    }

    void toneList() {
        const QStringList& t = ToneNames();
        QCOMPARE(t.size(), 143);
        QCOMPARE(t[0], QString("Off"));
        QCOMPARE(t[1], QString("C_001(67.0Hz)"));
        QCOMPARE(t[12], QString("C_012(100.0Hz)"));
        QCOMPARE(t[38], QString("C_038(250.3Hz)"));
        QCOMPARE(t[39], QString("D_001(023N)"));
        QCOMPARE(t[142], QString("D_104(754N)"));
        QCOMPARE(ToneToRadio(0).type, 0);
        QCOMPARE(ToneToRadio(38).pos, 37);
        QCOMPARE(ToneToRadio(39).type, 2);
        QCOMPARE(ToneToRadio(142).pos, 103);
        for (int i = 0; i < 143; ++i)
            QCOMPARE(ToneFromRadio(ToneToRadio(i).type, ToneToRadio(i).pos), i);
        QCOMPARE(ToneFromRadio(3, 5), 0);
    }

    void textHelpers() {
        QCOMPARE(TrimFixed(QByteArray("AB\0CD   ", 8)), QString("AB"));
        QCOMPARE(ClampNumberText("1003", 5, 1000, 5, 5), 1000);
        QCOMPARE(ClampNumberText("7", 5, 1000, 5, 5), 5);
        QCOMPARE(ClampNumberText("2", 5, 1000, 5, 5), 5);
        QCOMPARE(ClampNumberText("abc", 5, 1000, 5, 5), 5);
        QCOMPARE(ClampNumberText("99999999999999999999", 0, 16, 1, 0), 16);
        QCOMPARE(ClampNumberText("12.5", 0, 16, 1, 0), 12); // halves go to the even neighbour
        QCOMPARE(NumberOrDefault("", 7), 7LL);
        QCOMPARE(NumberOrDefault(" 42 ", 7), 42LL);
        double lo = 0, hi = 0;
        ParseBandText("28.000 - 29.700 MHz", lo, hi);
        QCOMPARE(lo, 28.0);
        QCOMPARE(hi, 29.7);
        ParseBandText("", lo, hi);
        QCOMPARE(lo, 100.0);
        QCOMPARE(hi, 500.0);
        QCOMPARE(FileTitle("C:\\Data\\Radio1.dat"), QString("Radio1.dat"));
        QCOMPARE(FileTitle("/home/a/b.dat"), QString("b.dat"));
        QCOMPARE(DtmfToStored("12*#A"), QString("12FEA"));
        QCOMPARE(DtmfToShown("12FEA"), QString("12*#A"));
    }
};

MZ_TEST_GUILESS_MAIN(TestCodecs)
#include "tst_codecs.moc"
