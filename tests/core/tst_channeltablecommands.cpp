// The channel table's commands for many channels: finding by frequency, tone or slot in the
// table's order; sorting a group by frequency, filling rows with a series of frequencies and
// setting fields of many channels at once, all through the rule source.

#include "core/model/channelfind.h"
#include "core/model/channelrows.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "core/model/tones.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int A = 0, EU = 0, CE = 1, MemCb = 8;

QStringList names(const Document& d, const QList<ChannelHit>& hits) {
    QStringList l;
    for (const ChannelHit& h : hits)
        l << GroupName(h.group, d.CountryMode) + u' ' + QString::number(h.row);
    return l;
}

QStringList freqs(const Document& d, int group, int first, int last) {
    QStringList l;
    for (int r = first; r <= last; ++r) {
        const CHInfoRec* c = d.Channel(FirstCHOfGroup(group, d.CountryMode) + r);
        l << (c ? d.FreToShown(c->RxFre.text()) : QString());
    }
    return l;
}

} // namespace

class TestChannelTableCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(); }

    void findsByFrequencyToneAndSlot() {
        Document d;
        NewDocumentInMode(d, 0);
        // A new document's channel 1 (EU 1) is 27.185 too; it gets another frequency.
        d.Channel(FirstCHOfGroup(EU, 0) + 1)->RxFre = d.FreToStored(u"26.965"_s);
        ProgramRows(d, EU, 1, 40);
        ProgramRows(d, CE, 1, 40);
        d.Channel(FirstCHOfGroup(CE, 0) + 7)->RDCT = 12; // a CTCSS tone
        d.Channel(FirstCHOfGroup(EU, 0) + 3)->TDCT = static_cast<i16>(CtcssCount + 1); // D023
        const QString ctcss = QLocale::c().toString(CtcssHz(12), 'f', 1);
        const struct {
            QString query;
            QStringList hits;
        } cases[] = {
            {u"27.185"_s, {u"EU 19"_s, u"CE 19"_s}},
            {u"27185"_s, {u"EU 19"_s, u"CE 19"_s}}, // kHz, without the dot
            {u" 27.18500 "_s, {u"EU 19"_s, u"CE 19"_s}},
            {ctcss, {u"CE 7"_s}},
            {u"D023N"_s, {u"EU 3"_s}},
            {u"d023"_s, {u"EU 3"_s}},
            {u"ce 19"_s, {u"CE 19"_s}},
            {u"EU 41"_s, {}}, // no such row
            {u"27.186"_s, {}},
            {u"hello"_s, {}},
            {QString(), {}},
        };
        for (const auto& c : cases)
            QCOMPARE(names(d, FindChannels(d, c.query)).join(u", "_s), c.hits.join(u", "_s));
    }

    void sortGroupReordersByFrequencyAndKeepsSettings() {
        Document d;
        NewDocumentInMode(d, 1);
        const int base = FirstCHOfGroup(A, 1);
        while (d.FindChannel(base + 1) >= 0)
            d.DeleteChannel(d.FindChannel(base + 1));
        const double f[] = {28.3, 28.1, 0, 28.2, 28.1};
        for (int r = 1; r <= 5; ++r)
            if (f[r - 1] > 0) d.AddChannel(base + r, FormatFre(f[r - 1]));
        d.Channel(base + 5)->TSQ = 1;   // the second 28.1 stays after the first
        d.RadioData.Func.WorkCH[A] = 0; // row 1 (28.3) is the working channel
        RowCommandReport r = SortGroupRows(d, A, false);
        QVERIFY(!r.refused());
        QCOMPARE(freqs(d, A, 1, 5),
                 QStringList({u"28.10000"_s, u"28.10000"_s, u"28.20000"_s, u"28.30000"_s, {}}));
        QCOMPARE(d.Channel(base + 2)->TSQ, i16(1));
        QCOMPARE(d.RadioData.Func.WorkCH[A], i16(3)); // followed its channel to row 4
        r = SortGroupRows(d, A, true);
        QCOMPARE(freqs(d, A, 1, 4),
                 QStringList({u"28.30000"_s, u"28.20000"_s, u"28.10000"_s, u"28.10000"_s}));
        // The national plans keep their rows.
        Document cb;
        NewDocumentInMode(cb, 0);
        ProgramRows(cb, EU, 1, 40);
        QVERIFY(SortGroupRows(cb, EU, true).refused());
        QVERIFY(!SortGroupRows(cb, MemCb, true).refused());
    }

    void fillGivesASeriesThroughTheRules() {
        Document d;
        NewDocumentInMode(d, 1);
        ProgramRows(d, 1, 1, 1); // the channel up to 400 the radio needs, outside A
        const RowCommandReport r = FillFrequencies(d, A, 3, 6, 28.0, 0.0125);
        QVERIFY(!r.refused());
        // 28.0125 and 28.0375 are off the 5 kHz raster: lowered, and said so.
        QCOMPARE(freqs(d, A, 3, 6),
                 QStringList({u"28.00000"_s, u"28.01000"_s, u"28.02500"_s, u"28.03500"_s}));
        QCOMPARE(r.adjusted(), 2);
        QCOMPARE(r.changedRows, 4);
        QVERIFY(r.lines().join(u'\n').contains(u"off the 5 kHz raster"_s));
        // Beyond the band: refused row by row, nothing else.
        const RowCommandReport out = FillFrequencies(d, A, 10, 10, 99.0, 0.01);
        QCOMPARE(out.skipped() + out.adjusted(), 1);
        // Where frequencies are not typed, no series.
        Document cb;
        NewDocumentInMode(cb, 0);
        QVERIFY(FillFrequencies(cb, EU, 1, 2, 27.0, 0.01).refused());
        QVERIFY(FillFrequencies(cb, MemCb, 1, 2, 27.0, 0.01).refused());
    }

    void editRowsSetsFieldsThroughTheRules() {
        Document d;
        NewDocumentInMode(d, 1);
        ProgramRows(d, A, 1, 3); // row 1 of a new document uses the public channel's data
        const int base = FirstCHOfGroup(A, 1);
        d.Channel(base + 2)->Public = 0;
        d.Channel(base + 3)->Public = 0;
        struct Case {
            const char* name;
            QList<FieldValue> values;
            int changed, adjusted, skipped;
            QString reportHas;
        };
        const QList<Case> cases = {
            {"tone squelch on every channel", {{FldTSQ, u"1"_s}}, 3, 0, 1, u"not programmed"_s},
            {"a shift where the public channel's data is used",
             {{FldDUP, u"1"_s}},
             2,
             0,
             2, // its only value refused: row 1 is skipped, with the reason
             u"A 1, Offset Direction"_s}, // by its label, not its record name
            {"public off first, then the shift",
             {{FldDUP, u"2"_s}, {FldPublic, u"0"_s}},
             3,
             0,
             1,
             {}},
            {"an offset off its 5 kHz steps",
             {{FldOffSetFre, u"603"_s}},
             2,
             2,
             2,
             u"A 2, Offset (kHz)"_s},
        };
        for (const Case& c : cases) {
            Document e;
            NewDocumentInMode(e, 1);
            ProgramRows(e, A, 1, 3);
            e.Channel(base + 2)->Public = 0;
            e.Channel(base + 3)->Public = 0;
            const RowCommandReport r = EditRows(e, A, 1, 4, c.values);
            QVERIFY2(!r.refused(), c.name);
            QCOMPARE(r.changedRows, c.changed);
            QCOMPARE(r.adjusted(), c.adjusted);
            QCOMPARE(r.skipped(), c.skipped); // row 4 is empty
            QVERIFY2(r.lines().join(u'\n').contains(c.reportHas),
                     qPrintable(r.lines().join(u'\n')));
        }
        QVERIFY(EditRows(d, A, 0, 2, {{FldTSQ, u"1"_s}}).refused());
    }
};

MZ_TEST_GUILESS_MAIN(TestChannelTableCommands)
#include "tst_channeltablecommands.moc"
