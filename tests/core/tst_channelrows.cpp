// The commands on row ranges of a channel group: delete, insert, move, copy and paste, the
// clipboard formats, and what they keep sound (the channels the radio needs, the national
// plans, the group settings, the exact bytes of the saved data).

#include "core/files/datafile.h"
#include "core/model/cbplanrule.h"
#include "core/model/channelplan.h"
#include "core/model/channelrows.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QHash>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr int A = 0, B = 1, C = 2, VfoGroup = 10, MemHf = 11;
constexpr int EU = 0, CE = 1, UK = 3, DE = 6, MemCb = 8;

// Bank channels of the HF mode: each group and row its own frequency on the 10 kHz raster.
QString bankFre(int group, int row) {
    return FormatFre(26.0 + group * 0.5 + row * 0.01);
}

void programBank(Document& doc, int group, int first, int last) {
    const int base = FirstCHOfGroup(group, doc.CountryMode);
    for (int r = first; r <= last; ++r)
        if (doc.FindChannel(base + r) < 0) doc.AddChannel(base + r, bankFre(group, r));
}

// Every record its own reserved words, so that a command that rebuilds a record instead of
// copying it shows.
void markReserved(Document& doc) {
    for (int i = 0; i < doc.RadioData.CHCount; ++i)
        for (int k = 0; k < 7; ++k)
            doc.CHInfo[i].Reserved[k] = static_cast<i16>(doc.CHInfo[i].CHNo * 10 + k);
}

// A mode-1 document: bank A rows 1..10, bank B rows 1..3.
void hfDocument(Document& doc) {
    NewDocumentInMode(doc, 1);
    programBank(doc, A, 2, 10);
    programBank(doc, B, 1, 3);
    markReserved(doc);
}

// A mode-0 document with the national plans, as File > New gives it.
void cbDocument(Document& doc) {
    NewDocumentInMode(doc, 0);
    QString error;
    QVERIFY2(!CbPlanRows().isEmpty(), "the built-in plan table reads");
    QVERIFY2(ApplyPlan(doc, CbPlanRows(), &error), qPrintable(error));
    markReserved(doc);
}

// The stored frequency of every row of a group ("" for an empty row).
QStringList rowFreqs(const Document& doc, int group) {
    const int base = FirstCHOfGroup(group, doc.CountryMode);
    QStringList l;
    for (int r = 1; r <= GroupSize(group, doc.CountryMode); ++r) {
        const CHInfoRec* c = doc.Channel(base + r);
        l << (c ? c->RxFre.text() : QString());
    }
    return l;
}

// The data file the document is saved as.
QByteArray saved(Document& doc) {
    doc.ToFileCopy();
    return EncodeDataFile(doc.FileRadioData, doc.FileCHInfo);
}

QList<int> noteIds(const RowCommandReport& r) {
    QList<int> ids;
    for (const RowNote& n : r.notes)
        ids << n.note.id;
    return ids;
}

const CHInfoRec& channel(const Document& doc, int group, int row) {
    static const CHInfoRec none;
    const CHInfoRec* c = doc.Channel(FirstCHOfGroup(group, doc.CountryMode) + row);
    return c ? *c : none;
}

} // namespace

class TestChannelRows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(); }
    void shiftsAndMoves();
    void refusalsChangeNothing();
    void settingsFollowTheirChannel();
    void emergencyModeOnFmOnlyRows();
    void pasteAcrossCbPlans();
    void planGroupsKeepTheirPlan();
    void pasteIntoHfBank();
    void cbClipIntoHfAndBack();
    void clipFormat();
    void clipRejectsDamage();
    void textRoundTrip();
    void textFromSpreadsheet();
    void textInCbMode();
    void identicalBytesAfterward();
    void signalsAndReport();
};

// Every command on one row, a range, the first and the last row and the whole group, against
// the same operation on a plain list of rows.
void TestChannelRows::shiftsAndMoves() {
    struct Case {
        const char* op;
        int a, b;
    };
    const Case cases[] = {
        {"delete", 1, 1},   {"delete", 3, 5},  {"delete", 10, 10}, {"delete", 40, 40},
        {"delete", 1, 40},  {"delete", 9, 40}, {"insert", 1, 1},   {"insert", 4, 3},
        {"insert", 30, 30}, {"insert", 40, 1}, {"insert", 11, 30}, {"up", 2, 2},
        {"up", 3, 5},       {"up", 10, 10},    {"up", 11, 40},     {"down", 1, 1},
        {"down", 3, 5},     {"down", 10, 10},  {"down", 1, 39}};
    for (const Case& c : cases) {
        Document doc;
        hfDocument(doc);
        QStringList expect = rowFreqs(doc, A);
        QHash<QString, int> numberOf; // the channel number each frequency had
        for (int row = 1; row <= 40; ++row)
            if (!expect[row - 1].isEmpty()) numberOf[expect[row - 1]] = row;
        const QString op = QLatin1String(c.op);
        RowCommandReport r;
        if (op == u"delete") {
            r = DeleteRows(doc, A, c.a, c.b);
            for (int i = c.a; i <= c.b; ++i) {
                expect.removeAt(c.a - 1);
                expect << QString();
            }
        } else if (op == u"insert") {
            r = InsertRows(doc, A, c.a, c.b);
            for (int i = 0; i < c.b; ++i) {
                expect.insert(c.a - 1, QString());
                expect.removeLast();
            }
        } else {
            const int delta = op == u"up" ? -1 : 1;
            r = MoveRows(doc, A, c.a, c.b, delta);
            const int passed = delta < 0 ? c.a - 1 : c.b + 1;
            const QString moving = expect.takeAt(passed - 1);
            expect.insert(delta < 0 ? c.b - 1 : c.a - 1, moving);
        }
        const QString what = u"%1 %2 %3"_s.arg(op).arg(c.a).arg(c.b);
        QVERIFY2(!r.refused(), qPrintable(what + u": "_s + r.refusal.text()));
        QCOMPARE(rowFreqs(doc, A), expect);
        // Every record in use once, with the count right; bank B untouched.
        int inA = 0;
        for (const QString& f : expect)
            inA += f.isEmpty() ? 0 : 1;
        QCOMPARE(doc.CountCHInGroup(A, 1), inA);
        QCOMPARE(int(doc.RadioData.CHCount), inA + 3 + 9);
        QCOMPARE(rowFreqs(doc, B).mid(0, 3),
                 QStringList({doc.FreToStored(bankFre(B, 1)), doc.FreToStored(bankFre(B, 2)),
                              doc.FreToStored(bankFre(B, 3))}));
        // A moved record keeps its reserved words: they follow the frequency.
        for (int row = 1; row <= 40; ++row)
            if (const CHInfoRec* ch = doc.Channel(row))
                QCOMPARE(int(ch->Reserved[3]), numberOf.value(ch->RxFre.text()) * 10 + 3);
    }
}

void TestChannelRows::refusalsChangeNothing() {
    struct Case {
        const char* name;
        int mode;
        std::function<RowCommandReport(Document&)> run;
        int refusal;
        std::function<void(Document&)> setup = [](Document&) {};
    };
    const QList<Case> cases = {
        {"VFO deleted", 1, [](Document& d) { return DeleteRows(d, VfoGroup, 1, 1); }, 9950},
        {"VFO emptied by a paste", 1,
         [](Document& d) {
             ChannelClip clip{1, VfoGroup, 1, {std::nullopt}};
             return PasteRows(d, VfoGroup, 1, clip);
         },
         9950},
        {"VFO pushed out", 1, [](Document& d) { return InsertRows(d, VfoGroup, 1, 1); }, 9950},
        {"VFO moved", 1, [](Document& d) { return MoveRows(d, VfoGroup, 1, 1, 1); }, 9950},
        {"last MEM", 1, [](Document& d) { return DeleteRows(d, MemHf, 1, 8); }, 9951},
        {"last MEM in CB", 0, [](Document& d) { return DeleteRows(d, MemCb, 1, 8); }, 9951},
        {"last channel up to 400", 1, [](Document& d) { return DeleteRows(d, A, 1, 40); }, 9952,
         [](Document& d) { DeleteRows(d, B, 1, 3); }},
        {"insert pushes row 40 out", 1, [](Document& d) { return InsertRows(d, A, 5, 1); }, 9953,
         [](Document& d) { programBank(d, A, 40, 40); }},
        {"insert of 31 pushes row 10 out", 1, [](Document& d) { return InsertRows(d, A, 1, 31); },
         9953},
        {"insert in a plan", 0, [](Document& d) { return InsertRows(d, DE, 80, 1); }, 9960},
        {"delete in a plan", 0, [](Document& d) { return DeleteRows(d, EU, 2, 4); }, 9960},
        {"move in a plan", 0, [](Document& d) { return MoveRows(d, UK, 2, 4, 1); }, 9960},
        {"text too long", 1,
         [](Document& d) { return PasteRowsText(d, A, 1, QString(MaxChannelTextChars + 1, u'1')); },
         9961},
        {"up at the top", 1, [](Document& d) { return MoveRows(d, A, 1, 2, -1); }, 9954},
        {"down at the bottom", 1, [](Document& d) { return MoveRows(d, A, 39, 40, 1); }, 9954},
        {"rows outside the group", 1, [](Document& d) { return DeleteRows(d, A, 0, 3); }, 9955},
        {"no such group", 1, [](Document& d) { return DeleteRows(d, 12, 1, 1); }, 9957},
        {"no group 9 in CB", 0, [](Document& d) { return MoveRows(d, 9, 1, 1, 1); }, 9957},
        {"empty clip", 1, [](Document& d) { return PasteRows(d, A, 1, ChannelClip{}); }, 9956},
        {"no text rows", 1, [](Document& d) { return PasteRowsText(d, A, 1, u"Frequency\n"_s); },
         9956},
    };
    for (const Case& c : cases) {
        Document doc;
        if (c.mode == 0)
            cbDocument(doc);
        else
            hfDocument(doc);
        c.setup(doc);
        const QByteArray before = saved(doc);
        QSignalSpy changed(&doc, &Document::channelChanged);
        QSignalSpy settings(&doc, &Document::groupSettingsChanged);
        const RowCommandReport r = c.run(doc);
        QVERIFY2(r.refused(), c.name);
        QCOMPARE(r.refusal.id, c.refusal);
        QVERIFY(!r.refusal.text().isEmpty());
        QCOMPARE(r.changedRows, 0);
        QVERIFY2(saved(doc) == before, c.name);
        QCOMPARE(changed.count(), 0);
        QCOMPARE(settings.count(), 0);
    }
    // The same deletions are fine while something stays.
    Document doc;
    hfDocument(doc);
    QVERIFY(!DeleteRows(doc, MemHf, 1, 7).refused());
    QCOMPARE(doc.CountCHInGroup(MemHf, 1), 1);
    QVERIFY(!DeleteRows(doc, A, 1, 40).refused());
    QCOMPARE(doc.CountCHInGroup(A, 1), 0);
}

void TestChannelRows::settingsFollowTheirChannel() {
    Document doc;
    hfDocument(doc);
    FuncRec& f = doc.RadioData.Func;
    auto set = [&](int work, int emg1, int emg2) {
        f.WorkCH[A] = static_cast<i16>(work - 1);
        f.EmgCH1[A] = static_cast<i16>(emg1 - 1);
        f.EmgCH2[A] = static_cast<i16>(emg2 - 1);
    };
    auto rows = [&] { return QList<int>{f.WorkCH[A] + 1, f.EmgCH1[A] + 1, f.EmgCH2[A] + 1}; };
    set(5, 3, 10);
    MoveRows(doc, A, 5, 5, -1);
    QCOMPARE(rows(), QList<int>({4, 3, 10})); // row 4 moved down to 5, so 3 stays
    MoveRows(doc, A, 3, 4, 1);
    QCOMPARE(rows(), QList<int>({5, 4, 10}));
    InsertRows(doc, A, 1, 2);
    QCOMPARE(rows(), QList<int>({7, 6, 12}));
    DeleteRows(doc, A, 1, 6); // the channel of emergency 1 is gone: first programmed row
    QCOMPARE(rows(), QList<int>({1, 1, 6}));
    // A paste replaces the channel of a row; the settings keep naming that row.
    PasteRows(doc, A, 6, CopyRows(doc, B, 1, 1));
    QCOMPARE(rows(), QList<int>({1, 1, 6}));

    // MEM's working channel follows too.
    f.MemWorkCH = 2;
    MoveRows(doc, MemHf, 2, 3, -1);
    QCOMPARE(int(f.MemWorkCH), 1);
    DeleteRows(doc, MemHf, 2, 2);
    QCOMPARE(int(f.MemWorkCH), 0);

    // A group left without channels loses its settings, and another group becomes valid.
    f.GroupValid = {};
    f.GroupValid[B] = 1;
    f.WorkCH[B] = 2;
    f.EmgCH1[B] = 1;
    DeleteRows(doc, B, 1, 3);
    QCOMPARE(int(f.GroupValid[B]), 0);
    QCOMPARE(int(f.WorkCH[B]), 0);
    QCOMPARE(int(f.EmgCH1[B]), 0);
    QCOMPARE(int(f.GroupValid[A]), 1);
}

void TestChannelRows::emergencyModeOnFmOnlyRows() {
    // In a plan no command moves a channel onto another row, so an emergency channel stays on
    // its row with its mode; a paste that brings AM onto an FM-only row sets it to FM.
    Document doc;
    cbDocument(doc);
    FuncRec& f = doc.RadioData.Func;
    CHInfoRec* de40 = doc.Channel(280);
    QVERIFY(de40);
    de40->Public = 0;
    de40->AM_FM = 1;
    f.EmgCH1[DE] = 39; // row 40
    f.EmgMode1[DE] = 1;
    QVERIFY(MoveRows(doc, DE, 40, 40, 1).refused());
    QCOMPARE(int(f.EmgCH1[DE]), 39);
    QCOMPARE(int(f.EmgMode1[DE]), 1);
    const RowCommandReport r = PasteRows(doc, DE, 41, CopyRows(doc, DE, 40, 40));
    QVERIFY(!r.refused());
    QCOMPARE(channel(doc, DE, 41).RxFre.text(), u"02656500"_s); // its own frequency
    QCOMPARE(int(channel(doc, DE, 41).AM_FM), 0);
    QCOMPARE(noteIds(r), QList<int>({14974, 14951}));
    QCOMPARE(r.notes[1].where, u"DE 41"_s);
    // Fields are named by their labels, never by their record names.
    QCOMPARE(r.lines().last(), u"DE 41, Modulation: set to FM: this row is FM only"_s);
}

void TestChannelRows::pasteAcrossCbPlans() {
    Document doc;
    cbDocument(doc);
    const QStringList de = rowFreqs(doc, DE), uk = rowFreqs(doc, UK);
    // EU 3..5 into DE 10..12: the rows keep the German frequencies and take the rest.
    CHInfoRec* eu3 = doc.Channel(3);
    eu3->Public = 0;
    eu3->TSQ = 1;
    eu3->RDCT = 12;
    const ChannelClip clip = CopyRows(doc, EU, 3, 5);
    QCOMPARE(clip.channelCount(), 3);
    RowCommandReport r = PasteRows(doc, DE, 10, clip);
    QVERIFY(!r.refused());
    QCOMPARE(noteIds(r), QList<int>({14974, 14974, 14974}));
    QCOMPARE(r.notes[0].where, u"DE 10"_s);
    QCOMPARE(r.lines().first(),
             u"DE 10, RX Frequency (MHz): frequency kept at 27.07500 MHz, the plan's channel of "
             "this row "
             "(not 26.98500)"_s);
    QCOMPARE(r.adjusted(), 3);
    QCOMPARE(rowFreqs(doc, DE), de);
    CHInfoRec expect = *clip.rows[0];
    expect.CHNo = static_cast<i16>(240 + 10);
    expect.RxFre = de[9];
    QVERIFY(channel(doc, DE, 10) == expect);

    // Into UK: its own frequencies too, listed with their "125".
    r = PasteRows(doc, UK, 1, clip);
    QCOMPARE(r.adjusted(), 3);
    QCOMPARE(rowFreqs(doc, UK), uk);
    QVERIFY(r.lines().first().contains(u"27.60125"_s));
    // A row's own channel pasted back says nothing about its frequency.
    r = PasteRows(doc, UK, 9, CopyRows(doc, UK, 9, 9));
    QVERIFY(r.notes.isEmpty());
    // Empty clip rows do not empty plan rows.
    r = PasteRows(doc, EU, 1, ChannelClip{0, EU, 1, {std::nullopt, std::nullopt}});
    QCOMPARE(r.skipped(), 2);
    QCOMPARE(noteIds(r), QList<int>({14973, 14973}));
    QVERIFY(doc.Channel(1) && doc.Channel(2));

    // An AM channel of EU 1 into DE 41: the German row's frequency, FM.
    CHInfoRec* eu1 = doc.Channel(1);
    eu1->Public = 0;
    eu1->AM_FM = 1;
    eu1->Tx_Power = 1;
    r = PasteRows(doc, DE, 41, CopyRows(doc, EU, 1, 1));
    QCOMPARE(noteIds(r), QList<int>({14974, 14951}));
    QCOMPARE(channel(doc, DE, 41).RxFre.text(), de[40]);
    QCOMPARE(int(channel(doc, DE, 41).AM_FM), 0);
    QCOMPARE(int(channel(doc, DE, 41).Tx_Power), 1);
    // Into CE (all FM only) the same.
    r = PasteRows(doc, CE, 1, CopyRows(doc, EU, 1, 1));
    QVERIFY(noteIds(r).contains(14951));
}

// Every row command on every kind of group of the CB mode, through the core: each plan group
// still equals its plan afterwards, and no two rows of a plan group share a frequency. (Before,
// a delete in a plan moved the following channels onto other rows, and a paste could give two
// rows one frequency.)
void TestChannelRows::planGroupsKeepTheirPlan() {
    Document fresh;
    cbDocument(fresh);
    QHash<int, QStringList> plan;
    for (const PlanRow& p : CbPlanRows())
        if (p.group < MemCb) {
            QStringList& rows = plan[p.group];
            if (rows.isEmpty()) rows = QStringList(GroupSize(p.group, 0));
            rows[p.row - 1] = p.stored;
        }
    for (int g = 0; g < MemCb; ++g)
        QCOMPARE(rowFreqs(fresh, g), plan.value(g));

    const QString text =
        ChannelClipToText(fresh, CopyRows(fresh, MemCb, 1, 3)) + u"\n27.5\t0\t0\t100\t1\n"_s;
    const QList<std::pair<const char*, std::function<RowCommandReport(Document&, int)>>> commands =
        {
            {"delete", [](Document& d, int g) { return DeleteRows(d, g, 2, 4); }},
            {"insert", [](Document& d, int g) { return InsertRows(d, g, 2, 1); }},
            {"cut", [](Document& d, int g) { return DeleteRows(d, g, 3, 3); }},
            {"up", [](Document& d, int g) { return MoveRows(d, g, 3, 4, -1); }},
            {"down", [](Document& d, int g) { return MoveRows(d, g, 2, 3, 1); }},
            {"paste from EU",
             [](Document& d, int g) { return PasteRows(d, g, 2, CopyRows(d, EU, 1, 5)); }},
            {"paste from UK",
             [](Document& d, int g) { return PasteRows(d, g, 5, CopyRows(d, UK, 1, 3)); }},
            {"paste from DE 41",
             [](Document& d, int g) { return PasteRows(d, g, 1, CopyRows(d, DE, 41, 44)); }},
            {"paste from MEM",
             [](Document& d, int g) { return PasteRows(d, g, 3, CopyRows(d, MemCb, 1, 8)); }},
            {"paste empty rows",
             [](Document& d, int g) {
                 return PasteRows(d, g, 1, ChannelClip{0, g, 1, {std::nullopt}});
             }},
            {"paste text", [text](Document& d, int g) { return PasteRowsText(d, g, 2, text); }},
        };
    for (int g : {EU, CE, UK, DE, MemCb}) {
        for (const auto& [name, run] : commands) {
            Document doc;
            cbDocument(doc);
            const RowCommandReport r = run(doc, g);
            const QString what = u"%1 in %2"_s.arg(QLatin1String(name), GroupName(g, 0));
            const bool shifts = QByteArray(name) == "delete" || QByteArray(name) == "insert" ||
                                QByteArray(name) == "cut" || QByteArray(name) == "up" ||
                                QByteArray(name) == "down";
            // The plans refuse every command that shifts rows; MEM keeps all of them (an insert
            // there is refused only for pushing a channel out).
            if (g == MemCb)
                QVERIFY2(r.refusal.id != 9960, qPrintable(what));
            else
                QVERIFY2(r.refused() == shifts, qPrintable(what));
            for (int p = 0; p < MemCb; ++p)
                QVERIFY2(rowFreqs(doc, p) == plan.value(p), qPrintable(what));
        }
    }
}

void TestChannelRows::pasteIntoHfBank() {
    Document doc;
    hfDocument(doc);
    CHInfoRec rec = channel(doc, A, 2);
    auto withFre = [&](const char* stored) {
        CHInfoRec c = rec;
        c.RxFre = QString::fromLatin1(stored);
        return c;
    };
    CHInfoRec wild = withFre("02800120"); // 28.0012 MHz: off the 5 kHz raster
    wild.Public = 3;
    wild.DUP = 5;
    wild.OffSetFre = 1003;
    wild.AM_FM = 1;
    wild.Tx_Power = 2;
    wild.RBTone = 7;   // tone tips 6..8 are not defined in a new document
    wild.DTMF_BOT = 3; // no DTMF code is defined
    wild.RDCT = 150;
    wild.TDCT = -2;
    ChannelClip clip{
        1,
        A,
        2,
        {wild, withFre("03050000"), std::nullopt, withFre("02A00000"), withFre("FFFFFFFF"), rec}};
    const RowCommandReport r = PasteRows(doc, B, 38, clip);
    QVERIFY(!r.refused());
    // Row 38: every field brought into range and reported.
    const CHInfoRec& b38 = channel(doc, B, 38);
    QCOMPARE(b38.RxFre.text(), u"02800000"_s);
    QCOMPARE(int(b38.Public), 1);
    QCOMPARE(int(b38.DUP), 2);
    QCOMPARE(int(b38.OffSetFre), 1000);
    QCOMPARE(int(b38.AM_FM), 1);
    QCOMPARE(int(b38.Tx_Power), 1);
    QCOMPARE(int(b38.RBTone), 0);
    QCOMPARE(int(b38.DTMF_BOT), 0);
    QCOMPARE(int(b38.RDCT), 142);
    QCOMPARE(int(b38.TDCT), 0);
    QCOMPARE(b38.Reserved, rec.Reserved);
    // Row 39 above the band is skipped, not moved to its top; row 40 stays empty; the rest
    // lies beyond.
    QVERIFY(!doc.Channel(40 + 39));
    QVERIFY(!doc.Channel(40 + 40));
    QList<int> ids38, others;
    for (const RowNote& n : r.notes)
        (n.row == 38 ? ids38 : others) << n.note.id;
    QCOMPARE(ids38, QList<int>({14960, 14953, 14953, 14953, 14953, 14953, 14953, 14954, 14955}));
    QCOMPARE(others, QList<int>({14910, 14958, 14958, 14958}));
    QCOMPARE(r.skipped(), 4);
    QCOMPARE(r.adjusted(), 1);
    QCOMPARE(r.changedRows, 1);

    // A damaged record inside the group is skipped and leaves the row as it was.
    ChannelClip damaged{1, A, 2, {withFre("02A00000"), withFre("        ")}};
    const QByteArray before = saved(doc);
    const RowCommandReport d = PasteRows(doc, A, 2, damaged);
    QCOMPARE(noteIds(d), QList<int>({14957, 14962}));
    QVERIFY(saved(doc) == before);
    // As text the damaged frequency is no number, so a paste skips it too (after a first
    // line that is a row, as a header line would be left out).
    const QString text = ChannelClipToText(doc, damaged);
    QVERIFY(text.startsWith(u"02A00000\t"_s));
    const QString rows12 =
        ChannelClipToText(doc, CopyRows(doc, A, 1, 1)) + text.section(u'\n', 0, 0);
    QCOMPARE(noteIds(PasteRowsText(doc, A, 1, rows12)), QList<int>({14919}));
    QVERIFY(saved(doc) == before);

    // An empty clip row empties its target row.
    ChannelClip gap{1, A, 1, {std::nullopt}};
    QVERIFY(!PasteRows(doc, A, 5, gap).refused());
    QVERIFY(!doc.Channel(5));
    QVERIFY(doc.Channel(6));
}

void TestChannelRows::cbClipIntoHfAndBack() {
    // A mode-1 clip into the CB mode: the frequency must be a plan channel of the group, and
    // the fields the CB mode has not become those of a new channel.
    Document hf;
    NewDocumentInMode(hf, 1);
    programBank(hf, A, 1, 1);
    CHInfoRec& c = *hf.Channel(1);
    c.RxFre = hf.FreToStored(u"27.185"_s);
    c.Public = 0;
    c.DUP = 1;
    c.OffSetFre = 600;
    c.Tx_Power = 2;
    c.TSQ = 1;
    hf.AddChannel(2, u"28.5"_s);
    hf.AddChannel(3, u"27.1867"_s); // not a plan frequency
    const ChannelClip clip = CopyRows(hf, A, 1, 3);

    Document cb;
    cbDocument(cb);
    RowCommandReport r = PasteRows(cb, EU, 19, clip);
    QCOMPARE(noteIds(r), QList<int>({14956, 14974, 14974}));
    const CHInfoRec& eu19 = channel(cb, EU, 19);
    QCOMPARE(eu19.RxFre.text(), u"02718500"_s);
    QCOMPARE(int(eu19.DUP), 0);
    QCOMPARE(int(eu19.OffSetFre), 100);
    QCOMPARE(int(eu19.Tx_Power), 0);
    QCOMPARE(int(eu19.TSQ), 1);
    QCOMPARE(channel(cb, EU, 20).RxFre.text(), u"02720500"_s); // kept
    QCOMPARE(channel(cb, EU, 21).RxFre.text(), u"02721500"_s);

    // Into MEM of the CB mode only a plan channel's frequency goes: 28.5 and 27.1867 are
    // skipped and their rows keep what they held.
    const QString mem3 = channel(cb, MemCb, 3).RxFre.text();
    r = PasteRows(cb, MemCb, 1, clip);
    QCOMPARE(channel(cb, MemCb, 1).RxFre.text(), u"02718500"_s);
    QCOMPARE(channel(cb, MemCb, 3).RxFre.text(), mem3);
    QCOMPARE(noteIds(r).count(14972), 2);
    QCOMPARE(r.skipped(), 2);
}

void TestChannelRows::clipFormat() {
    Document doc;
    hfDocument(doc);
    doc.Channel(3)->Spare = 7;
    for (const auto& [first, last] : {std::pair{1, 1}, {2, 5}, {1, 40}, {38, 40}}) {
        const ChannelClip clip = CopyRows(doc, A, first, last);
        QCOMPARE(int(clip.rows.size()), last - first + 1);
        const QByteArray bytes = EncodeChannelClip(clip);
        const auto back = DecodeChannelClip(bytes);
        QVERIFY(back);
        QCOMPARE(back->mode, 1);
        QCOMPARE(back->group, A);
        QCOMPARE(back->firstRow, first);
        QVERIFY(back->rows == clip.rows);
        QCOMPARE(EncodeChannelClip(*back), bytes);
    }
    QCOMPARE(CopyRows(doc, A, 1, 40).channelCount(), 10);
    QCOMPARE(CopyRows(doc, A, 3, 3).rows.first()->Spare, i16(7));
    QVERIFY(CopyRows(doc, A, 41, 45).isEmpty());
    QVERIFY(CopyRows(doc, 12, 1, 1).isEmpty());
}

void TestChannelRows::clipRejectsDamage() {
    Document doc;
    hfDocument(doc);
    const QByteArray good = EncodeChannelClip(CopyRows(doc, A, 9, 12));
    QVERIFY(DecodeChannelClip(good));
    for (int n = 0; n < good.size(); ++n)
        QVERIFY2(!DecodeChannelClip(good.left(n)), qPrintable(QString::number(n)));
    QVERIFY(!DecodeChannelClip(good + '\0'));
    auto patched = [&](int at, int value) {
        QByteArray b = good;
        b[at] = static_cast<char>(value & 0xFF);
        b[at + 1] = static_cast<char>(value >> 8);
        return b;
    };
    const int firstFlag = 14;
    const QList<QByteArray> bad = {
        QByteArray("MZCX") + good.mid(4),
        patched(4, 2), // magic, version
        patched(6, 3), // mode
        patched(8, 12),
        patched(8, 0xFFFF), // group
        patched(10, 0),
        patched(10, 38), // first row, the range beyond row 40
        patched(12, 0),
        patched(12, 5),             // count
        patched(firstFlag, 0x0102), // a present flag that is not 0 or 1
        patched(firstFlag + 1, 1),  // the record of another channel
    };
    for (const QByteArray& b : bad)
        QVERIFY2(!DecodeChannelClip(b), b.left(16).toHex().constData());
    // Random bytes, with and without a good header: never a crash, and what is accepted is
    // exactly what it encodes back to.
    QRandomGenerator rng(13);
    for (int i = 0; i < 3000; ++i) {
        QByteArray b(int(rng.bounded(200)), '\0');
        for (char& ch : b)
            ch = static_cast<char>(rng.bounded(256));
        if (i % 2) b = good.left(14) + b;
        if (i % 3 == 0 && b.size() > 14) b[14] = static_cast<char>(rng.bounded(2));
        if (const auto clip = DecodeChannelClip(b)) QCOMPARE(EncodeChannelClip(*clip), b);
    }
}

void TestChannelRows::textRoundTrip() {
    Document doc;
    hfDocument(doc);
    // Rows with their own values, public and not, and an empty row between them.
    for (int row = 2; row <= 6; ++row) {
        CHInfoRec& c = *doc.Channel(row);
        c.Public = row % 2;
        c.DUP = static_cast<i16>(row % 3);
        c.OffSetFre = static_cast<i16>(row * 105);
        c.TSQ = 1;
        c.Scan = static_cast<i16>(row % 2);
        c.HI_CUT = 1;
        c.AM_FM = static_cast<i16>(row > 4);
        c.Tx_Power = static_cast<i16>(row % 2);
        c.RBTone = static_cast<i16>(row - 1);
        c.RDCT = static_cast<i16>(row * 20);
        c.TDCT = static_cast<i16>(row * 21);
    }
    doc.RadioData.DTMF.Codes[1].Code = u"12"_s;
    doc.RadioData.DTMF.Codes[1].Len = 2;
    doc.Channel(4)->DTMF_EOT = 2;
    DeleteRows(doc, A, 4, 4);
    InsertRows(doc, A, 4, 1);
    const ChannelClip clip = CopyRows(doc, A, 2, 7);
    const QString text = ChannelClipToText(doc, clip);
    QCOMPARE(text.count(u'\n'), 6);
    QCOMPARE(text.split(u'\n')[2], QString()); // row 4 is empty
    QCOMPARE(text.split(u'\n')[0].split(u'\t').size(), 18);
    QVERIFY(LooksLikeChannelText(text));

    const RowCommandReport r = PasteRowsText(doc, C, 11, text);
    QVERIFY2(r.notes.isEmpty(), qPrintable(r.lines().join(u'\n')));
    for (int i = 0; i < 6; ++i) {
        const CHInfoRec* from = doc.Channel(2 + i);
        const CHInfoRec* to = doc.Channel(80 + 11 + i);
        QCOMPARE(bool(from), bool(to));
        if (!from) continue;
        QCOMPARE(to->RxFre.text(), from->RxFre.text());
        for (int id = FldPublic; id <= FldTDCT; ++id)
            QVERIFY2(to->field(id) == from->field(id), qPrintable(ChannelFieldName(id)));
    }
    // The new channels sit beside their group in the list, in order.
    QVector<int> numbers;
    for (int i = 0; i < doc.RadioData.CHCount; ++i)
        if (doc.CHInfo[i].CHNo > 80 && doc.CHInfo[i].CHNo <= 120) numbers << doc.CHInfo[i].CHNo;
    QVERIFY(std::is_sorted(numbers.begin(), numbers.end()));
}

void TestChannelRows::textFromSpreadsheet() {
    Document doc;
    hfDocument(doc);
    // A header, CRLF, fewer columns, an empty frequency, a final empty line.
    const QString text = u"Frequency\tPublic\tDUP\r\n28.1\t0\t2\r\n\r\n28.20625\r\n31\t1\t7\r\n"
                         u"abc\t0\r\n\r\n"_s;
    QVERIFY(LooksLikeChannelText(text));
    RowCommandReport r = PasteRowsText(doc, A, 2, text);
    QCOMPARE(channel(doc, A, 2).RxFre.text(), u"02810000"_s);
    QCOMPARE(int(channel(doc, A, 2).Public), 0);
    QCOMPARE(int(channel(doc, A, 2).DUP), 2);
    QVERIFY(!doc.Channel(3));                                                  // emptied
    QCOMPARE(channel(doc, A, 4).RxFre.text(), u"02820500"_s);                  // the raster
    QCOMPARE(channel(doc, A, 5).RxFre.text(), doc.FreToStored(bankFre(A, 5))); // out of band
    QCOMPARE(channel(doc, A, 6).RxFre.text(), doc.FreToStored(bankFre(A, 6))); // refused
    QVERIFY(!doc.Channel(7));                                                  // emptied
    QList<int> ids;
    for (const RowNote& n : r.notes)
        ids << n.note.id;
    // The raster with the values typed and stored; 31 MHz skipped, not moved to the edge.
    QCOMPARE(ids, QList<int>({14960, 14910, 14919}));
    QCOMPARE(r.notes[0].note.args, QStringList({u"28.20625"_s, u"28.20500"_s}));
    QCOMPARE(r.skipped(), 2);

    // An empty frequency that would delete the last channel up to 400 becomes a note.
    Document lone;
    NewDocumentInMode(lone, 1);
    r = PasteRowsText(lone, A, 1, u"\n"_s + u"28.0\n"_s);
    QVERIFY(!r.refused());
    QCOMPARE(noteIds(r), QList<int>({9952}));
    QVERIFY(lone.Channel(1));
    QCOMPARE(lone.Channel(2)->RxFre.text(), u"02800000"_s);

    QVERIFY(!LooksLikeChannelText(u"Frequency\tPublic\nx\t1\n"_s));
    QVERIFY(!LooksLikeChannelText(QString()));
    QVERIFY(LooksLikeChannelText(u"Name\r\n27.185\r\n"_s));
}

void TestChannelRows::textInCbMode() {
    Document doc;
    cbDocument(doc);
    const QStringList de = rowFreqs(doc, DE);
    const QString text = u"26.565\n27.60125\t0\t0\t100\t1\n27.5\n\t1\n\n"_s;
    // DE 45..49: every row keeps its German frequency; the rows whose pasted frequency differs
    // are named; an empty line does not empty a plan row.
    RowCommandReport r = PasteRowsText(doc, DE, 45, text);
    QCOMPARE(rowFreqs(doc, DE), de);
    QCOMPARE(noteIds(r), QList<int>({14974, 14974, 14974, 14973}));
    QCOMPARE(r.notes[0].where, u"DE 45"_s);
    QCOMPARE(int(channel(doc, DE, 46).TSQ), 1); // the other columns are taken
    // An empty plan row the plan has gets the plan's frequency.
    Document empty;
    NewDocumentInMode(empty, 0);
    r = PasteRowsText(empty, UK, 40, u"27.5\t0\t0\t100\t0\t1\t0\t1\t0\t0\t1\n"_s);
    QCOMPARE(channel(empty, UK, 40).RxFre.text(), u"02799100"_s);
    QCOMPARE(noteIds(r), QList<int>({14974, 14923})); // AM on an FM-only row is refused
    QCOMPARE(int(channel(empty, UK, 40).AM_FM), 0);
    QCOMPARE(int(channel(empty, UK, 40).Public), 0);
    // MEM takes a plan channel's frequency only: one near it is skipped, as typing refuses it.
    const QString mem1 = channel(doc, MemCb, 1).RxFre.text();
    r = PasteRowsText(doc, MemCb, 1, u"27.1867\n"_s);
    QCOMPARE(channel(doc, MemCb, 1).RxFre.text(), mem1);
    QCOMPARE(noteIds(r), QList<int>({14972}));
    QCOMPARE(r.skipped(), 1);
    r = PasteRowsText(doc, MemCb, 1, u"27.185\n"_s);
    QCOMPARE(channel(doc, MemCb, 1).RxFre.text(), u"02718500"_s);
}

void TestChannelRows::identicalBytesAfterward() {
    for (int mode : {0, 1}) {
        Document doc;
        if (mode == 0)
            cbDocument(doc);
        else
            hfDocument(doc);
        // The CB plans shift no rows: the MEM group does there.
        const int group = mode == 0 ? MemCb : A;
        doc.Channel(mode == 0 ? 404 : 4)->Spare = 3;
        const QByteArray original = saved(doc);

        // A cut, an insert of as many rows, and a paste back.
        const ChannelClip clip = CopyRows(doc, group, 3, 5);
        QVERIFY(!DeleteRows(doc, group, 3, 5).refused());
        QVERIFY(saved(doc) != original);
        QVERIFY(!InsertRows(doc, group, 3, 3).refused());
        QVERIFY(!PasteRows(doc, group, 3, DecodeChannelClip(EncodeChannelClip(clip)).value())
                     .refused());
        QVERIFY2(saved(doc) == original, qPrintable(u"cut and paste, mode %1"_s.arg(mode)));

        // The last rows cut and pasted back.
        const int last = mode == 0 ? 8 : 10;
        const ChannelClip tail = CopyRows(doc, group, last - 2, last);
        DeleteRows(doc, group, last - 2, last);
        PasteRows(doc, group, last - 2, tail);
        QVERIFY(saved(doc) == original);

        // A move up and down again, and down and up.
        for (int delta : {-1, 1}) {
            QVERIFY(!MoveRows(doc, group, 3, 5, delta).refused());
            QVERIFY(saved(doc) != original);
            QVERIFY(!MoveRows(doc, group, 3 + delta, 5 + delta, -delta).refused());
            QVERIFY(saved(doc) == original);
        }
    }
}

void TestChannelRows::signalsAndReport() {
    Document doc;
    hfDocument(doc);
    QSignalSpy changed(&doc, &Document::channelChanged);
    QSignalSpy settings(&doc, &Document::groupSettingsChanged);
    const RowCommandReport r = DeleteRows(doc, A, 3, 5);
    QCOMPARE(r.changedRows, 8); // rows 3..7 take rows 6..10, rows 8..10 become empty
    QList<int> numbers;
    for (const auto& args : changed)
        numbers << args.at(0).toInt();
    QCOMPARE(numbers, QList<int>({3, 4, 5, 6, 7, 8, 9, 10}));
    QCOMPARE(settings.count(), 1);
    QCOMPARE(r.summary(), u"8 rows changed, 0 adjusted, 0 skipped."_s);

    // Text paste: one announcement per changed row too, settings once.
    changed.clear();
    settings.clear();
    PasteRowsText(doc, A, 20, u"28.0\t0\n28.1\t0\n"_s);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(settings.count(), 1);

    // In Chinese the notes read in Chinese.
    UseStagedLanguage(Language::Chinese);
    Document cb;
    cbDocument(cb);
    const RowCommandReport uk = PasteRows(cb, UK, 1, CopyRows(cb, EU, 1, 1));
    QVERIFY(uk.lines().first().startsWith(u"UK 1, 接收频率(MHz): 频率保持为"_s));
    UseStagedLanguage();
}

MZ_TEST_GUILESS_MAIN(TestChannelRows)
#include "tst_channelrows.moc"
