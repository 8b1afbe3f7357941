// The rule source of the channel slots: every field of every kind of slot once (whether it may
// be edited, which values are offered, and that the verdict on a value agrees with both), the
// verdicts on typed and given values, and the row commands each kind of group allows.

#include "core/model/cbplanrule.h"
#include "core/model/channeledit.h"
#include "core/model/channelplan.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/frequency.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The documents the slots live in.
enum class Setup { Hf, Ham, CbPlans, CbEmpty };

void build(Document& doc, Setup s) {
    switch (s) {
    case Setup::Hf:
        NewDocumentInMode(doc, 1);
        break;
    case Setup::Ham:
        NewDocumentInMode(doc, 2);
        break;
    case Setup::CbPlans: {
        NewDocumentInMode(doc, 0);
        QString error;
        QVERIFY2(ApplyPlan(doc, CbPlanRows(), &error), qPrintable(error));
        break;
    }
    case Setup::CbEmpty:
        NewDocumentInMode(doc, 0);
        break;
    }
    // One DTMF code, so that the DTMF fields offer a code besides "off".
    doc.RadioData.DTMF.Codes[0].Code = u"123"_s;
    doc.RadioData.DTMF.Codes[0].Len = 3;
}

// "Public=0 AM_FM=1" applied straight to the record.
void applySetup(Document& doc, int chNo, const QString& setup) {
    for (const QString& pair : setup.split(u' ', Qt::SkipEmptyParts)) {
        const int id = ChannelFieldIndex(pair.section(u'=', 0, 0));
        CHInfoRec* rec = doc.Channel(chNo);
        QVERIFY2(id > 1 && rec, qPrintable(pair));
        doc.SetCHField(*rec, id, pair.section(u'=', 1).toInt());
    }
}

char letter(FieldState s) {
    switch (s) {
    case FieldState::Editable:
        return 'E';
    case FieldState::Pick:
        return 'P';
    case FieldState::Disabled:
        return 'D';
    case FieldState::Hidden:
        return 'H';
    }
    return '?';
}

} // namespace

Q_DECLARE_METATYPE(Setup)

class TestChannelRules : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(); }
    void everyFieldOfEveryKind_data();
    void everyFieldOfEveryKind();
    void offeredValues_();
    void verdicts_data();
    void verdicts();
    void rowCommands();
    void deletions();
    void groupSettings();
    void heldFrequencies();
};

void TestChannelRules::everyFieldOfEveryKind_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("chNo");
    QTest::addColumn<QString>("fields");
    QTest::addColumn<int>("kind");
    // One letter per field id 1..18 (RxFre, Public, DUP, OffSetFre, TSQ, Scan, HI_CUT, BUSY, NB,
    // Add_Sub_5K, AM_FM, Tx_Power, RBTone, DTMF_BOT, DTMF_EOT, DTMF_Call, RDCT, TDCT):
    // E editable, P picked from the offered values, D disabled, H hidden.
    auto row = [](const char* name, Setup s, int ch, const char* setup, SlotKind kind,
                  const char* fields) {
        QTest::newRow(name) << s << ch
                            << QString::fromLatin1(setup).append(u'|').append(QLatin1String(fields))
                            << static_cast<int>(kind);
    };
    using K = SlotKind;
    row("HF bank, public on", Setup::Hf, 1, "", K::Bank, "EEDDEEDDDDDDDDDDEE");
    row("HF bank, public off", Setup::Hf, 1, "Public=0", K::Bank, "EEEEEEEEEEEEEEEEEE");
    row("HF empty bank slot", Setup::Hf, 5, "", K::Bank, "EDDDDDDDDDDDDDDDDD");
    row("HF VFO", Setup::Hf, 401, "Public=0", K::Vfo, "EEEEEHEEEEEEEEEEEE");
    row("HF MEM", Setup::Hf, 402, "Public=0", K::Mem, "EEEEEEEEEEEEEEEEEE");
    row("HAM bank", Setup::Ham, 1, "Public=0", K::Bank, "EEEEEEEEEEEEEEEEEE");
    row("CB plan row", Setup::CbPlans, 1, "Public=0", K::PlanRow, "DEHHEEEEEEEHEEEEEE");
    row("CB plan row, public on", Setup::CbPlans, 2, "Public=1", K::PlanRow, "DEHHEEDDDDDHDDDDEE");
    row("CB FM-only row UK", Setup::CbPlans, 121, "Public=0", K::PlanRow, "DEHHEEEEEEDHEEEEEE");
    row("CB FM-only row DE 41", Setup::CbPlans, 281, "Public=0", K::PlanRow, "DEHHEEEEEEDHEEEEEE");
    row("CB row DE 40", Setup::CbPlans, 280, "Public=0", K::PlanRow, "DEHHEEEEEEEHEEEEEE");
    row("CB empty plan row", Setup::CbEmpty, 2, "", K::PlanRow, "DDHHDDDDDDDHDDDDDD");
    row("CB MEM", Setup::CbPlans, 402, "Public=0", K::Mem, "PEHHEEEEEEEHEEEEEE");
    row("CB no group", Setup::CbPlans, 380, "", K::NoGroup, "DDDDDDDDDDDDDDDDDD");
}

void TestChannelRules::everyFieldOfEveryKind() {
    QFETCH(Setup, setup);
    QFETCH(int, chNo);
    QFETCH(QString, fields);
    QFETCH(int, kind);
    Document doc;
    build(doc, setup);
    applySetup(doc, chNo, fields.section(u'|', 0, 0));
    const QString expect = fields.section(u'|', 1);
    const ChannelSlotRef slot = slotOfChannel(doc, chNo);
    QCOMPARE(static_cast<int>(slot.kind), kind);

    QString states;
    for (int id = FldRxFre; id <= FldTDCT; ++id)
        states += QLatin1Char(letter(fieldAccess(doc, slot, id).state));
    QCOMPARE(states, expect);

    // The three answers agree: every offered value of an editable field is taken; a field that
    // is not editable refuses a new value, with the reason the access gave.
    for (int id = FldRxFre; id <= FldTDCT; ++id) {
        const FieldAccess access = fieldAccess(doc, slot, id);
        const QStringList offered = offeredValues(doc, slot, id);
        const QString what = ChannelFieldName(id);
        const CHInfoRec* rec = doc.Channel(chNo);
        if (id == FldRxFre) {
            if (access.state == FieldState::Pick || slot.kind == SlotKind::PlanRow) {
                QVERIFY2(!offered.isEmpty() || !rec, qPrintable(what));
                for (const QString& stored : offered)
                    QVERIFY(judgeValue(doc, slot, id, FreToShown(stored, doc.FreLow),
                                       ValueSource::Given)
                                .outcome == EditOutcome::Stored);
            } else if (access.editable()) {
                QVERIFY(offered.isEmpty()); // typed
                QVERIFY(judgeValue(doc, slot, id, u"28.5"_s, ValueSource::Given).outcome ==
                        EditOutcome::Stored);
            } else {
                QVERIFY(judgeValue(doc, slot, id, u"28.5"_s, ValueSource::Given).outcome ==
                        EditOutcome::Refused);
            }
            continue;
        }
        if (access.editable()) {
            QVERIFY2(!offered.isEmpty(), qPrintable(what));
            for (const QString& v : offered) {
                const ValueVerdict verdict = judgeValue(doc, slot, id, v, ValueSource::Given);
                QVERIFY2(verdict.outcome == EditOutcome::Stored, qPrintable(what + u' ' + v));
                QCOMPARE(verdict.value, v);
            }
            continue;
        }
        if (access.state == FieldState::Hidden) QVERIFY2(offered.isEmpty(), qPrintable(what));
        // A value other than the present one, within the field's range.
        const int present = rec ? rec->field(id) : 0;
        QString other;
        for (const QString& v : offered)
            if (v.toInt() != present) other = v;
        if (other.isEmpty()) other = QString::number(id == FldOffSetFre ? 200 : present == 0);
        const ValueVerdict verdict = judgeValue(doc, slot, id, other, ValueSource::Given);
        QVERIFY2(verdict.outcome == EditOutcome::Refused, qPrintable(what));
        QCOMPARE(verdict.reason.id, access.why.id);
    }
}

void TestChannelRules::offeredValues_() {
    // The FM-only rows: the CE and UK plans, DE from row 41 on; nothing outside the CB mode.
    QVERIFY(IsFixFM(1, 1, 0));
    QVERIFY(IsFixFM(40, 3, 0));
    QVERIFY(!IsFixFM(40, 6, 0));
    QVERIFY(IsFixFM(41, 6, 0));
    QVERIFY(!IsFixFM(41, 6, 1));
    QVERIFY(!IsFixFM(5, 0, 0));

    Document cb;
    build(cb, Setup::CbPlans);
    // A plan row offers its own frequency; UK 1 is stored without its listed "125".
    QCOMPARE(offeredValues(cb, slotAt(cb, 3, 1), FldRxFre), QStringList{u"02760100"_s});
    QCOMPARE(offeredValues(cb, slotAt(cb, 3, 1), FldAM_FM), QStringList{u"0"_s});
    // The CB MEM channel offers every distinct plan frequency the document holds.
    const QStringList mem = offeredValues(cb, slotAt(cb, 8, 1), FldRxFre);
    QVERIFY(mem.contains(u"02696500"_s) && mem.contains(u"02760100"_s));
    QCOMPARE(mem.size(), QSet<QString>(mem.begin(), mem.end()).size());
    // An empty plan row offers what the plan table has for it.
    Document empty;
    build(empty, Setup::CbEmpty);
    QCOMPARE(offeredValues(empty, slotAt(empty, 0, 2), FldRxFre), QStringList{u"02697500"_s});

    Document hf;
    build(hf, Setup::Hf);
    const ChannelSlotRef a1 = slotAt(hf, 0, 1);
    QCOMPARE(offeredValues(hf, a1, FldTx_Power).size(), 3);
    hf.Channel(1)->AM_FM = 1;
    QCOMPARE(offeredValues(hf, a1, FldTx_Power), QStringList({u"0"_s, u"1"_s}));
    QCOMPARE(offeredValues(hf, a1, FldOffSetFre).size(), 200);
    QCOMPARE(offeredValues(hf, a1, FldRDCT).size(), 143);
    // Only the tone tips and DTMF codes this document defines.
    QStringList tips{u"0"_s};
    for (int n = 1; n <= 8; ++n)
        if (hf.ValidRBTone(n) == n) tips << QString::number(n);
    QCOMPARE(offeredValues(hf, a1, FldRBTone), tips);
    hf.RadioData.DTMF.Codes[2].Len = 0;
    QVERIFY(!offeredValues(hf, a1, FldDTMF_BOT).contains(u"3"_s));
    QVERIFY(offeredValues(hf, slotAt(hf, 10, 1), FldScan).isEmpty()); // the VFO has none
}

void TestChannelRules::verdicts_data() {
    QTest::addColumn<Setup>("setup");
    QTest::addColumn<int>("chNo");
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("typed");
    QTest::addColumn<EditOutcome>("outcome");
    QTest::addColumn<int>("reason");
    QTest::addColumn<QString>("becomes");
    using O = EditOutcome;
    auto row = [](const char* name, Setup s, int ch, int id, const char* value, bool typed,
                  O outcome, int reason, const char* becomes) {
        QTest::newRow(name) << s << ch << id << QString::fromLatin1(value) << typed << outcome
                            << reason << QString::fromLatin1(becomes);
    };
    const Setup Hf = Setup::Hf, Cb = Setup::CbPlans, CbEmpty = Setup::CbEmpty;
    // Out of the band: refused whoever gives it, never moved to the band's edge.
    row("given below the band", Hf, 5, FldRxFre, "2.787", false, O::Refused, 14910, "");
    row("typed below the band", Hf, 5, FldRxFre, "2.787", true, O::Refused, 14910, "");
    row("typed 31 into an empty row", Hf, 3, FldRxFre, "31", true, O::Refused, 14910, "");
    row("typed off the raster", Hf, 5, FldRxFre, "28.0099", true, O::Adjusted, 14936, "28.00500");
    row("given 1e308", Hf, 1, FldRxFre, "1e308", false, O::Refused, 14910, "27.86000");
    row("given negative", Hf, 1, FldRxFre, "-27.87", false, O::Refused, 14910, "27.86000");
    row("in the band", Hf, 5, FldRxFre, "28.0", false, O::Stored, 0, "28.00000");
    // Digits below the 10 Hz step are a change too.
    row("below 10 Hz", Hf, 5, FldRxFre, "27.999999999", false, O::Adjusted, 14936, "28.00000");
    row("off the raster", Hf, 5, FldRxFre, "28.00625", false, O::Adjusted, 14936, "28.00500");
    row("letters", Hf, 5, FldRxFre, "28,5", false, O::Refused, 14919, "");
    row("VFO stays", Hf, 401, FldRxFre, "", false, O::Refused, 9950, "27.86000");
    row("one MEM of eight deleted", CbEmpty, 402, FldRxFre, "", false, O::Stored, 0, "");
    // Numbers out of range are refused, and named so.
    row("offset -1", Hf, 1, FldOffSetFre, "-1", false, O::Refused, 14926, "100");
    row("offset 1003 given", Hf, 1, FldOffSetFre, "1003", false, O::Refused, 14926, "100");
    row("offset 1003 typed", Hf, 1, FldOffSetFre, "1003", true, O::Adjusted, 14938, "1000");
    row("offset off the step", Hf, 1, FldOffSetFre, "7", false, O::Adjusted, 14938, "5");
    row("NB beyond any number", Hf, 1, FldNB, "4294967297", false, O::Refused, 14926, "1");
    row("NB not a number", Hf, 1, FldNB, "on", false, O::Refused, 14919, "1");
    row("RBTone 9", Hf, 1, FldRBTone, "9", false, O::Refused, 14926, "0");
    // The CB plans: a row takes only its own frequency, a MEM channel a plan channel's.
    row("plan row keeps", Cb, 1, FldRxFre, "27.0", false, O::Refused, 14911, "26.96500");
    row("plan row not emptied", Cb, 1, FldRxFre, "", false, O::Refused, 14973, "26.96500");
    row("empty plan row, its own", CbEmpty, 2, FldRxFre, "26.975", false, O::Stored, 0, "26.97500");
    row("empty plan row, another", CbEmpty, 2, FldRxFre, "26.985", false, O::Refused, 14912, "");
    row("MEM plan channel", Cb, 402, FldRxFre, "27.185", false, O::Stored, 0, "27.18500");
    row("MEM UK as listed", Cb, 402, FldRxFre, "27.68125", true, O::Stored, 0, "27.68100");
    row("MEM near a channel", Cb, 402, FldRxFre, "27.1867", false, O::Refused, 14972, "*");
    row("MEM 28.01125", Cb, 402, FldRxFre, "28.01125", false, O::Refused, 14972, "*");
    row("MEM 28.5 typed", Cb, 402, FldRxFre, "28.5", true, O::Refused, 14972, "*");
}

void TestChannelRules::verdicts() {
    QFETCH(Setup, setup);
    QFETCH(int, chNo);
    QFETCH(int, field);
    QFETCH(QString, value);
    QFETCH(bool, typed);
    QFETCH(EditOutcome, outcome);
    QFETCH(int, reason);
    QFETCH(QString, becomes);
    Document doc;
    build(doc, setup);
    if (doc.Channel(chNo) && field != FldRxFre) doc.Channel(chNo)->Public = 0;
    const QByteArray before = QByteArray(reinterpret_cast<const char*>(&doc.CHInfo), 60);
    const int count = doc.chCount();
    const ValueVerdict v = judgeValue(doc, slotOfChannel(doc, chNo), field, value,
                                      typed ? ValueSource::Typed : ValueSource::Given);
    QVERIFY2(v.outcome == outcome, qPrintable(v.reason.text()));
    QCOMPARE(v.reason.id, reason);
    // "*": the present value, kept.
    if (becomes == u"*")
        QCOMPARE(v.value, FreToListText(doc.Channel(chNo)->RxFre.text(), 8, 0, doc.FreLow));
    else
        QCOMPARE(v.value, becomes);
    QCOMPARE(doc.chCount(), count); // judging stores nothing
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(&doc.CHInfo), 60), before);
}

void TestChannelRules::rowCommands() {
    using C = RowCommand;
    const QList<C> all{C::Copy, C::Cut, C::Paste, C::Insert, C::Delete, C::MoveUp, C::MoveDown};
    struct Case {
        Setup setup;
        int group;
        const char* allowed; // per command of `all` (Copy, Cut, Paste, ...): y or n
        int refusal;
        bool keeps;
    };
    const Case cases[] = {
        {Setup::CbPlans, 0, "ynynnnn", 9960, true}, // EU
        {Setup::CbPlans, 3, "ynynnnn", 9960, true}, // UK
        {Setup::CbPlans, 6, "ynynnnn", 9960, true}, // DE
        {Setup::CbPlans, 8, "yyyyyyy", 0, false},   // MEM
        {Setup::Hf, 0, "yyyyyyy", 0, false},        // A
        {Setup::Hf, 10, "ynynnnn", 9950, false},    // VFO
        {Setup::Hf, 11, "yyyyyyy", 0, false},       // MEM
        {Setup::Hf, 12, "nnnnnnn", 9957, false},    // none
    };
    for (const Case& c : cases) {
        Document doc;
        build(doc, c.setup);
        for (int k = 0; k < all.size(); ++k) {
            const RowCommandAccess a = rowCommandAccess(doc, c.group, all[k]);
            const bool expect = c.allowed[k] == 'y';
            const QString what = u"group %1 command %2"_s.arg(c.group).arg(k);
            QVERIFY2(a.allowed == expect, qPrintable(what));
            if (!expect) QCOMPARE(a.why.id, c.refusal);
            QCOMPARE(a.keepsFrequencies, c.keeps && all[k] == C::Paste);
        }
    }
}

void TestChannelRules::deletions() {
    // One rule for every deletion: what the radio needs stays.
    Document doc;
    build(doc, Setup::Hf);
    QVector<bool> mem = programmedRows(doc, 11), none(mem.size());
    QCOMPARE(deletionRefusal(doc, 11, mem, none).id, 9951); // the MEM group keeps one
    mem[0] = false;
    QCOMPARE(deletionRefusal(doc, 11, programmedRows(doc, 11), mem).id, 0);
    const QVector<bool> vfo = programmedRows(doc, 10);
    QCOMPARE(deletionRefusal(doc, 10, vfo, QVector<bool>(vfo.size())).id, 9950);
    const QVector<bool> a = programmedRows(doc, 0);
    QCOMPARE(deletionRefusal(doc, 0, a, QVector<bool>(a.size())).id, 9952); // the last up to 400
    // The verdict on a typed empty frequency asks the same rule.
    QCOMPARE(judgeValue(doc, slotAt(doc, 0, 1), FldRxFre, QString(), ValueSource::Typed).reason.id,
             9952);
}

void TestChannelRules::groupSettings() {
    Document doc;
    build(doc, Setup::CbPlans);
    const FuncRec& f = doc.RadioData.Func;
    // UK (group 3) is FM only: an emergency channel chosen there is sent in FM, and its
    // modulation cannot be chosen.
    doc.RadioData.Func.EmgMode1[3] = 1;
    setGroupSetting(doc, 3, GroupSetting::EmgCh1, 8);
    QCOMPARE(f.EmgCH1[3], 8);
    QCOMPARE(f.EmgMode1[3], 0);
    QCOMPARE(groupSettingAccess(doc, 3, GroupSetting::EmgMode1).state, FieldState::Disabled);
    QCOMPARE(setGroupSetting(doc, 3, GroupSetting::EmgMode1, 1), 0);
    // EU allows AM on its emergency channel.
    QCOMPARE(setGroupSetting(doc, 0, GroupSetting::EmgMode2, 1), 1);
    QCOMPARE(groupSettingAccess(doc, 0, GroupSetting::EmgMode2).state, FieldState::Editable);
    // The last group in use stays in use; a group without channels is not used.
    for (int g = 0; g < 8; ++g)
        doc.RadioData.Func.GroupValid[g] = g == 0 ? 1 : 0;
    QCOMPARE(setGroupSetting(doc, 0, GroupSetting::Valid, 0), 1);
    QCOMPARE(setGroupSetting(doc, 1, GroupSetting::Valid, 1), 1);
    QCOMPARE(setGroupSetting(doc, 0, GroupSetting::Valid, 0), 0);
    // The MEM group has a working channel only; the VFO of HF none.
    QCOMPARE(groupSettingAccess(doc, 8, GroupSetting::EmgCh1).state, FieldState::Hidden);
    setGroupSetting(doc, 8, GroupSetting::WorkCh, 2);
    QCOMPARE(f.MemWorkCH, 2);
}

void TestChannelRules::heldFrequencies() {
    // A channel read as it was is marked where the rules would not take it now; the mark
    // changes nothing.
    Document doc;
    build(doc, Setup::CbPlans);
    QCOMPARE(heldFrequencyNote(doc, slotOfChannel(doc, 402)).id, 0);
    doc.Channel(402)->RxFre = u"02801500"_s; // 28.015, listed 28.01125
    QCOMPARE(heldFrequencyNote(doc, slotOfChannel(doc, 402)).id, 27207);
    QCOMPARE(doc.Channel(402)->RxFre.text(), u"02801500"_s);
    Document hf;
    build(hf, Setup::Hf);
    QCOMPARE(heldFrequencyNote(hf, slotOfChannel(hf, 1)).id, 0);
    hf.Channel(1)->RxFre = u"03110000"_s;
    QCOMPARE(heldFrequencyNote(hf, slotOfChannel(hf, 1)).id, 14910);
}

MZ_TEST_GUILESS_MAIN(TestChannelRules)
#include "tst_channelrules.moc"
