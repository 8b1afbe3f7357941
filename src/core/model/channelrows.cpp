#include "channelrows.h"
#include "../lang/langtext.h"
#include "../lang/prompter.h"
#include "cbplanrule.h"
#include "channelcheck.h"
#include "channeledit.h"
#include "channelrules.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "quietprompter.h"
#include "recordcodec.h"

#include <QSet>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>

namespace {

// Texts of the row notes ([ChannelInfo]) and of the refusals ([Msg]).
enum : int {
    TxtSetToFm = 14951,
    TxtEmgModeFm = 14952,
    TxtOutOfRange = 14953,
    TxtToneTipOff = 14954,
    TxtDtmfOff = 14955,
    TxtCbFields = 14956,
    TxtDamagedFre = 14957,
    TxtBeyondGroup = 14958,
    TxtOutsideBand = 14959,
    TxtOffRaster = 14960,
    TxtNearestPlan = 14961,
    TxtNoFrequency = 14962,
    TxtSummary = 14963,
    TxtPlanNotEmptied = 14973,
    TxtFrequencyKept = 14974,
    TxtNoPlanChannel = 14975,
    MsgPushedOut = 9953,
    MsgGroupEdge = 9954,
    MsgNoSuchRows = 9955,
    MsgNothingToPaste = 9956,
    MsgNoSuchGroup = 9957,
    MsgTooMuchText = 9961,
};

// Where a group lies in the channel numbers of the document's country mode.
struct Group {
    int mode = 0;
    int index = 0;
    int base = 0; // the number before the group's first channel
    int size = 0;
    bool valid() const { return size > 0; }
    bool holds(int chNo) const { return chNo > base && chNo <= base + size; }
    QString name() const { return GroupName(index, mode); }
    QString where(int row) const {
        return row <= size ? ChannelSlotName(base + row, mode)
                           : name() + QLatin1Char(' ') + QString::number(row);
    }
};

Group groupOf(const Document& doc, int group) {
    const int mode = doc.CountryMode;
    if (group < 0 || group >= GroupCount(mode)) return {mode, group, 0, 0};
    return {mode, group, FirstCHOfGroup(group, mode), GroupSize(group, mode)};
}

using Rows = QVector<std::optional<CHInfoRec>>;

// The group's rows as the channel list holds them (the first record of a number counts).
Rows rowsOf(const Document& doc, const Group& g) {
    Rows rows(g.size);
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const CHInfoRec& c = doc.CHInfo[i];
        if (g.holds(c.CHNo) && !rows[c.CHNo - g.base - 1]) rows[c.CHNo - g.base - 1] = c;
    }
    return rows;
}

RowCommandReport refusedWith(TextNote why) {
    RowCommandReport r;
    r.refusal = std::move(why);
    return r;
}

RowCommandReport noSuchRows(const Group& g, int first, int last) {
    return refusedWith({MsgNoSuchRows, {g.name(), QString::number(first), QString::number(last)}});
}

// Whether the group after a command still holds what the radio needs (the rule source's
// deletionRefusal, on the rows' records).
TextNote deletionRefused(const Document& doc, const Group& g, const Rows& before,
                         const Rows& after) {
    auto flags = [](const Rows& rows) {
        QVector<bool> f(rows.size());
        for (int i = 0; i < rows.size(); ++i)
            f[i] = rows[i].has_value();
        return f;
    };
    return deletionRefusal(doc, g.index, flags(before), flags(after));
}

// Where a new record of the group goes in the channel list: before the group's first record
// with a larger number, else after the group's last record, else at the end. A group whose
// records are in order stays in order, so a cut and a paste back restore the list.
int sortedPlace(const Document& doc, const Group& g, int chNo) {
    int after = -1;
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const int n = doc.CHInfo[i].CHNo;
        if (!g.holds(n)) continue;
        if (n > chNo) return i;
        after = i;
    }
    return after >= 0 ? after + 1 : doc.RadioData.CHCount;
}

void insertRecord(Document& doc, int index, const CHInfoRec& rec) {
    const int count = doc.RadioData.CHCount;
    if (count >= MaxChannels) return;
    for (int i = count; i > index; --i)
        doc.CHInfo[i] = doc.CHInfo[i - 1];
    doc.CHInfo[index] = rec;
    ++doc.RadioData.CHCount;
}

// A channel just added at the end of the channel list moves beside its group, where a pasted
// or filled record goes.
void moveBesideGroup(Document& doc, const Group& g, int chNo) {
    const int from = doc.FindChannel(chNo);
    const CHInfoRec rec = doc.CHInfo[from];
    doc.DeleteChannel(from);
    insertRecord(doc, sortedPlace(doc, g, chNo), rec);
}

// One row of the group after a command.
struct NewRow {
    std::optional<CHInfoRec> rec;
    int fromRow = 0;    // the row whose channel moved here (0: pasted or empty)
    int settingsOf = 0; // the row whose working and emergency settings land here
};

QVector<NewRow> unchanged(const Rows& rows) {
    QVector<NewRow> next(rows.size());
    for (int r = 1; r <= rows.size(); ++r)
        if (rows[r - 1]) next[r - 1] = {rows[r - 1], r, r};
    return next;
}

NewRow carried(const Rows& rows, int from) {
    if (from < 1 || from > rows.size() || !rows[from - 1]) return {};
    return {rows[from - 1], from, from};
}

Rows contents(const QVector<NewRow>& next) {
    Rows rows(next.size());
    for (int i = 0; i < next.size(); ++i)
        rows[i] = next[i].rec;
    return rows;
}

// The per-group settings that name a row (stored as row - 1).
QVector<i16*> rowSettings(Document& doc, const Group& g) {
    FuncRec& f = doc.RadioData.Func;
    if (IsMemGroup(g.index, g.mode)) return {&f.MemWorkCH};
    if (g.index < SettingGroupCount(g.mode))
        return {&f.WorkCH[g.index], &f.EmgCH1[g.index], &f.EmgCH2[g.index]};
    return {};
}

// The group's two emergency rows (stored as row - 1), to tell afterwards which one moved.
std::array<int, 2> emergencyRows(const Document& doc, const Group& g) {
    const FuncRec& f = doc.RadioData.Func;
    if (g.index >= 10) return {0, 0};
    return {f.EmgCH1[g.index], f.EmgCH2[g.index]};
}

// Emergency channels moved onto an FM-only row are sent in FM (the rule source's rule).
void noteEmergencyModesToFm(Document& doc, const Group& g, const std::array<int, 2>& emgBefore,
                            RowCommandReport& report) {
    const FuncRec& f = doc.RadioData.Func;
    for (int k : emergencyModesToFm(doc, g.index, emgBefore)) {
        const int row = (k == 1 ? f.EmgCH1[g.index] : f.EmgCH2[g.index]) + 1;
        report.notes.append({row, g.where(row), false, {TxtEmgModeFm, {QString::number(k)}}});
    }
}

// Announces what changed between two states of the group's rows.
void announce(Document& doc, const Group& g, const Rows& before, RowCommandReport& report) {
    const Rows after = rowsOf(doc, g);
    for (int r = 1; r <= g.size; ++r)
        if (before[r - 1] != after[r - 1]) {
            ++report.changedRows;
            emit doc.channelChanged(g.base + r);
        }
    emit doc.groupSettingsChanged();
}

// Puts the group's new rows into the document. A channel that moved keeps its place in the
// channel list (only its number changes), a pasted channel takes the place of the one it
// replaces, a channel in a row that was empty goes in beside its group; the rest of the list
// keeps its order. The settings follow their channel; a setting whose channel is gone falls
// back as after any deletion.
void applyRows(Document& doc, const Group& g, QVector<NewRow> next, RowCommandReport& report) {
    const Rows before = rowsOf(doc, g);
    // A channel that lands on another row passes the rule of that row.
    for (int r = 1; r <= g.size; ++r) {
        NewRow& n = next[r - 1];
        if (!n.rec) continue;
        n.rec->CHNo = static_cast<i16>(g.base + r);
        if (n.fromRow > 0 && n.fromRow != r && n.rec->AM_FM == 1 && IsFixFM(r, g.index, g.mode)) {
            n.rec->AM_FM = 0;
            report.notes.append({r, g.where(r), false, {TxtSetToFm, {}}, FldAM_FM});
        }
    }

    QVector<int> carriedTo(g.size + 1, 0), settingsTo(g.size + 1, 0);
    for (int r = 1; r <= g.size; ++r) {
        const NewRow& n = next[r - 1];
        if (n.rec && n.fromRow > 0) carriedTo[n.fromRow] = r;
        if (n.rec && n.settingsOf > 0) settingsTo[n.settingsOf] = r;
    }

    QVector<CHInfoRec> list;
    list.reserve(doc.RadioData.CHCount + g.size);
    QVector<bool> placed(g.size, false), seen(g.size + 1, false);
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const CHInfoRec& c = doc.CHInfo[i];
        if (!g.holds(c.CHNo) || seen[c.CHNo - g.base]) {
            list.append(c);
            continue;
        }
        const int r = c.CHNo - g.base;
        seen[r] = true;
        if (const int to = carriedTo[r]) {
            list.append(*next[to - 1].rec);
            placed[to - 1] = true;
        } else if (next[r - 1].rec && next[r - 1].fromRow == 0) {
            list.append(*next[r - 1].rec);
            placed[r - 1] = true;
        }
    }
    const int kept = static_cast<int>(list.size());
    std::copy(list.begin(), list.end(), doc.CHInfo.begin());
    doc.RadioData.CHCount = static_cast<i16>(kept);
    for (int r = 1; r <= g.size; ++r)
        if (next[r - 1].rec && !placed[r - 1])
            insertRecord(doc, sortedPlace(doc, g, g.base + r), *next[r - 1].rec);

    const std::array<int, 2> emgBefore = emergencyRows(doc, g);
    for (i16* v : rowSettings(doc, g)) {
        const int row = *v + 1;
        if (row < 1 || row > g.size || !before[row - 1]) continue; // RefreshGroupCHs decides
        *v = static_cast<i16>(settingsTo[row] - 1);                // -1: the channel is gone
    }
    doc.RefreshGroupCHs(g.index);
    noteEmergencyModesToFm(doc, g, emgBefore, report);
}

// The rows change with the document's signals held back, then every changed channel and the
// group settings are announced once.
void applyQuietlyAndAnnounce(Document& doc, const Group& g, const Rows& before,
                             QVector<NewRow> next, RowCommandReport& report) {
    {
        const QSignalBlocker quiet(doc);
        applyRows(doc, g, std::move(next), report);
    }
    announce(doc, g, before, report);
}

bool damagedFrequency(const QString& stored) {
    return !IsPlausibleRxFre(stored) || IsNoFrequency(stored) ||
           !std::all_of(stored.begin(), stored.end(), [](QChar c) { return c.isDigit(); });
}

// A field brought into the range the radio offers (fieldRange), OffSetFre also into steps of 5.
void clampField(CHInfoRec& rec, int id, int row, const Group& g, RowCommandReport& report) {
    i16* f = rec.fieldRef(id);
    const auto r = fieldRange(rec, id);
    if (!f || !r) return;
    const auto [lo, hi] = *r;
    int v = std::clamp<int>(*f, lo, hi);
    QString range = QStringLiteral("%1..%2").arg(lo).arg(hi);
    if (id == FldOffSetFre) {
        v -= v % 5;
        range = QStringLiteral("5..1000 (5 kHz steps)");
    }
    if (v == *f) return;
    report.notes.append({row,
                         g.where(row),
                         false,
                         {TxtOutOfRange, {QString::number(*f), range, QString::number(v)}},
                         id});
    *f = static_cast<i16>(v);
}

// A copied channel passed through the rules of its new row; nothing when the row is skipped.
std::optional<CHInfoRec> adjustPasted(Document& doc, const Group& g, int row, CHInfoRec rec,
                                      int fromMode, RowCommandReport& report,
                                      bool frequencyKept = false) {
    const QString where = g.where(row);
    auto note = [&](TextNote t, int field = 0) {
        report.notes.append({row, where, false, std::move(t), field});
    };
    auto skip = [&](TextNote t) {
        report.notes.append({row, where, true, std::move(t), FldRxFre});
        return std::nullopt;
    };
    rec.CHNo = static_cast<i16>(g.base + row);
    const QString stored = rec.RxFre.text();
    if (stored.isEmpty()) return skip({TxtNoFrequency, {}});
    if (damagedFrequency(stored)) return skip({TxtDamagedFre, {stored}});

    // The frequency.
    const double mhz = storedMhz(stored);
    // A plan row keeps its own frequency, which the caller has put in; elsewhere the
    // frequency passes the typing rule of the row.
    if (!frequencyKept) {
        const ValueVerdict v = judgeValue(doc, slotAt(doc, g.index, row), FldRxFre, FormatFre(mhz),
                                          ValueSource::Typed);
        if (v.outcome == EditOutcome::Refused) return skip(v.reason);
        const QString newStored = doc.FreToStored(v.value);
        if (newStored != stored) {
            rec.RxFre = newStored;
            if (g.mode == 0)
                note({TxtNearestPlan, {FormatFre(mhz), v.value}}, FldRxFre);
            else
                note({TxtOffRaster, {FormatFre(mhz), v.value}}, FldRxFre);
        }
    }

    // The fields the CB mode has not take the values of a new channel.
    if (g.mode == 0 && fromMode != 0 &&
        (rec.DUP != 0 || rec.OffSetFre != 100 || rec.Tx_Power != 0)) {
        rec.DUP = 0;
        rec.OffSetFre = 100;
        rec.Tx_Power = 0;
        note({TxtCbFields, {}});
    }

    // Every field within what the radio offers; FM where the row allows only FM.
    for (int id : {FldPublic, FldTSQ, FldScan, FldHI_CUT, FldBUSY, FldNB, FldAdd_Sub_5K, FldAM_FM})
        clampField(rec, id, row, g, report);
    if (rec.AM_FM == 1 && IsFixFM(row, g.index, g.mode)) {
        rec.AM_FM = 0;
        note({TxtSetToFm, {}}, FldAM_FM);
    }
    for (int id : {FldDUP, FldOffSetFre, FldTx_Power, FldRDCT, FldTDCT, FldRBTone})
        clampField(rec, id, row, g, report);
    if (rec.RBTone != 0 && doc.ValidRBTone(rec.RBTone) != rec.RBTone) {
        note({TxtToneTipOff, {QString::number(rec.RBTone)}}, FldRBTone);
        rec.RBTone = 0;
    }
    for (int id : {FldDTMF_BOT, FldDTMF_EOT, FldDTMF_Call}) {
        clampField(rec, id, row, g, report);
        i16& v = *rec.fieldRef(id);
        if (v != 0 && !DtmfCodeDefined(doc, v)) {
            note({TxtDtmfOff, {QString::number(v)}}, id);
            v = 0;
        }
    }
    return rec;
}

// The rows of tab-separated text: a header line (a first cell that is not a number) and a
// final empty line are left out; "\r\n" and "\r" end lines too.
QList<QStringList> textRows(const QString& text) {
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = t.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    QList<QStringList> rows;
    for (int i = 0; i < lines.size(); ++i) {
        QStringList cells = lines[i].split(QLatin1Char('\t'));
        for (QString& c : cells)
            c = c.trimmed();
        if (i == 0 && !cells[0].isEmpty() && !ParseNumber(cells[0])) continue;
        rows.append(cells);
    }
    return rows;
}

} // namespace

// --- Clip and report ---

int ChannelClip::channelCount() const {
    return static_cast<int>(
        std::count_if(rows.begin(), rows.end(), [](const auto& r) { return r.has_value(); }));
}

int RowCommandReport::skipped() const {
    QSet<int> rows;
    for (const RowNote& n : notes)
        if (n.skipped) rows.insert(n.row);
    return static_cast<int>(rows.size());
}

int RowCommandReport::adjusted() const {
    QSet<int> skippedRows, rows;
    for (const RowNote& n : notes)
        (n.skipped ? skippedRows : rows).insert(n.row);
    return static_cast<int>(rows.subtract(skippedRows).size());
}

QStringList RowCommandReport::lines() const {
    QStringList out;
    if (refused()) out << refusal.text();
    for (const TextNote& r : remarks)
        out << r.text();
    for (const RowNote& n : notes) {
        QString where = n.where;
        if (n.field > 0) where += QStringLiteral(", ") + ChannelFieldLabel(n.field);
        out << where + QStringLiteral(": ") + n.note.text();
    }
    return out;
}

QString RowCommandReport::summary() const {
    if (refused()) return refusal.text();
    return TextNote{
        TxtSummary,
        {QString::number(changedRows), QString::number(adjusted()), QString::number(skipped())}}
        .text();
}

// --- Commands ---

ChannelClip CopyRows(const Document& doc, int group, int first, int last) {
    const Group g = groupOf(doc, group);
    ChannelClip clip;
    clip.mode = g.mode;
    clip.group = group;
    first = std::max(first, 1);
    last = std::min(last, g.size);
    clip.firstRow = first;
    if (!g.valid() || first > last) return clip;
    const Rows rows = rowsOf(doc, g);
    for (int r = first; r <= last; ++r)
        clip.rows.append(rows[r - 1]);
    return clip;
}

RowCommandReport DeleteRows(Document& doc, int group, int first, int last) {
    const Group g = groupOf(doc, group);
    if (const RowCommandAccess a = rowCommandAccess(doc, group, RowCommand::Delete); !a.allowed)
        return refusedWith(a.why);
    if (first < 1 || last > g.size || first > last) return noSuchRows(g, first, last);
    const Rows rows = rowsOf(doc, g);
    const int n = last - first + 1;
    QVector<NewRow> next(g.size);
    for (int r = 1; r <= g.size; ++r)
        next[r - 1] = carried(rows, r < first ? r : r + n);
    RowCommandReport report;
    if (TextNote why = deletionRefused(doc, g, rows, contents(next)); why.id)
        return refusedWith(why);
    applyQuietlyAndAnnounce(doc, g, rows, std::move(next), report);
    return report;
}

RowCommandReport InsertRows(Document& doc, int group, int at, int count) {
    const Group g = groupOf(doc, group);
    if (const RowCommandAccess a = rowCommandAccess(doc, group, RowCommand::Insert); !a.allowed)
        return refusedWith(a.why);
    if (at < 1 || at > g.size || count < 1) return noSuchRows(g, at, at + count - 1);
    const Rows rows = rowsOf(doc, g);
    for (int r = std::max(at, g.size - count + 1); r <= g.size; ++r)
        if (rows[r - 1]) return refusedWith({MsgPushedOut, {g.where(r), g.name()}});
    QVector<NewRow> next(g.size);
    for (int r = 1; r <= g.size; ++r)
        if (r < at)
            next[r - 1] = carried(rows, r);
        else if (r >= at + count)
            next[r - 1] = carried(rows, r - count);
    RowCommandReport report;
    applyQuietlyAndAnnounce(doc, g, rows, std::move(next), report);
    return report;
}

RowCommandReport MoveRows(Document& doc, int group, int first, int last, int delta) {
    const Group g = groupOf(doc, group);
    const RowCommand c = delta < 0 ? RowCommand::MoveUp : RowCommand::MoveDown;
    if (const RowCommandAccess a = rowCommandAccess(doc, group, c); !a.allowed)
        return refusedWith(a.why);
    if (first < 1 || last > g.size || first > last) return noSuchRows(g, first, last);
    if (first + delta < 1 || last + delta > g.size) return refusedWith({MsgGroupEdge, {g.name()}});
    RowCommandReport report;
    if (delta == 0) return report;
    const Rows rows = rowsOf(doc, g);
    QVector<NewRow> next = unchanged(rows);
    // The block goes to first + delta ..; the rows it passes fill the place it left, in order.
    const int lo = std::min(first, first + delta), hi = std::max(last, last + delta);
    QVector<int> passed, freed;
    for (int r = lo; r <= hi; ++r) {
        if (r < first || r > last) passed << r;
        if (r < first + delta || r > last + delta) freed << r;
    }
    for (int r = first; r <= last; ++r)
        next[r + delta - 1] = carried(rows, r);
    for (int k = 0; k < passed.size(); ++k)
        next[freed[k] - 1] = carried(rows, passed[k]);
    applyQuietlyAndAnnounce(doc, g, rows, std::move(next), report);
    return report;
}

RowCommandReport PasteRows(Document& doc, int group, int at, const ChannelClip& clip) {
    const Group g = groupOf(doc, group);
    const RowCommandAccess access = rowCommandAccess(doc, group, RowCommand::Paste);
    if (!access.allowed) return refusedWith(access.why);
    if (clip.isEmpty()) return refusedWith({MsgNothingToPaste, {}});
    if (at < 1 || at > g.size) return noSuchRows(g, at, at);
    const Rows rows = rowsOf(doc, g);
    QVector<NewRow> next = unchanged(rows);
    RowCommandReport report;
    for (int i = 0; i < clip.rows.size(); ++i) {
        const int r = at + i;
        if (r > g.size) {
            report.notes.append({r, g.where(r), true, {TxtBeyondGroup, {QString::number(g.size)}}});
            continue;
        }
        if (access.keepsFrequencies) {
            // A plan row stays the plan's channel: it keeps its frequency and takes the rest.
            if (!clip.rows[i]) {
                report.notes.append({r, g.where(r), true, {TxtPlanNotEmptied, {}}, FldRxFre});
                continue;
            }
            const QString plan = planFrequency(doc, slotAt(doc, group, r));
            if (plan.isEmpty()) {
                report.notes.append({r, g.where(r), true, {TxtNoPlanChannel, {}}, FldRxFre});
                continue;
            }
            CHInfoRec rec = *clip.rows[i];
            const QString pasted = rec.RxFre.text();
            rec.RxFre = plan;
            if (pasted != plan) {
                const QString was = damagedFrequency(pasted)
                                        ? PrintableValue(pasted)
                                        : FreToListText(pasted, clip.group, clip.mode, 0);
                report.notes.append(
                    {r,
                     g.where(r),
                     false,
                     {TxtFrequencyKept, {FreToListText(plan, g.index, g.mode, doc.FreLow), was}},
                     FldRxFre});
            }
            if (auto adjusted = adjustPasted(doc, g, r, rec, clip.mode, report, true))
                next[r - 1] = {adjusted, 0, rows[r - 1] ? r : 0};
            continue;
        }
        if (!clip.rows[i]) {
            next[r - 1] = {};
            continue;
        }
        if (auto rec = adjustPasted(doc, g, r, *clip.rows[i], clip.mode, report))
            next[r - 1] = {rec, 0, rows[r - 1] ? r : 0};
    }
    if (TextNote why = deletionRefused(doc, g, rows, contents(next)); why.id)
        return refusedWith(why);
    applyQuietlyAndAnnounce(doc, g, rows, std::move(next), report);
    return report;
}

RowCommandReport SortGroupRows(Document& doc, int group, bool descending) {
    const Group g = groupOf(doc, group);
    if (const RowCommandAccess a = rowCommandAccess(doc, group, RowCommand::Sort); !a.allowed)
        return refusedWith(a.why);
    const Rows rows = rowsOf(doc, g);
    QVector<int> programmed;
    for (int r = 1; r <= g.size; ++r)
        if (rows[r - 1]) programmed << r;
    auto key = [&](int r) {
        const QString stored = rows[r - 1]->RxFre.text();
        return damagedFrequency(stored) ? std::optional<double>() : storedMhz(stored);
    };
    std::stable_sort(programmed.begin(), programmed.end(), [&](int a, int b) {
        const auto ka = key(a), kb = key(b);
        if (!ka || !kb) return ka.has_value() && !kb.has_value();
        return descending ? *ka > *kb : *ka < *kb;
    });
    QVector<NewRow> next(g.size);
    for (int k = 0; k < programmed.size(); ++k)
        next[k] = carried(rows, programmed[k]);
    RowCommandReport report;
    applyQuietlyAndAnnounce(doc, g, rows, std::move(next), report);
    return report;
}

namespace {
// Edits the rows first to last one by one (editRow notes what happened to a row) with the
// document's signals and messages held back, then announces every change once.
template <typename EditRow>
RowCommandReport editRowsQuietly(Document& doc, const Group& g, int first, int last,
                                 EditRow editRow) {
    const Rows before = rowsOf(doc, g);
    RowCommandReport report;
    {
        QSignalBlocker quiet(doc);
        QuietPrompter silent(doc);
        for (int r = first; r <= last; ++r)
            editRow(r, report);
        doc.RefreshGroupCHs(g.index);
    }
    announce(doc, g, before, report);
    return report;
}
} // namespace

RowCommandReport EditRows(Document& doc, int group, int first, int last,
                          const QList<FieldValue>& values) {
    const Group g = groupOf(doc, group);
    if (!g.valid()) return refusedWith({MsgNoSuchGroup, {QString::number(group)}});
    if (first < 1 || last > g.size || first > last) return noSuchRows(g, first, last);
    // Public off goes first and Public on last; the modulation before the power it limits.
    QList<FieldValue> order = values;
    auto rank = [](const FieldValue& v) {
        if (v.id == FldPublic) return v.value.trimmed() == QLatin1String("0") ? 0 : 3;
        return v.id == FldAM_FM ? 1 : 2;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](const FieldValue& a, const FieldValue& b) { return rank(a) < rank(b); });
    return editRowsQuietly(doc, g, first, last, [&](int r, RowCommandReport& report) {
        const int chNo = g.base + r;
        QList<RowNote> notes;
        int refused = 0;
        for (const FieldValue& v : order) {
            const EditResult res = EditChannelField(doc, chNo, v.id, v.value, ValueSource::Typed);
            if (res.outcome == EditOutcome::Stored) continue;
            refused += res.outcome == EditOutcome::Refused ? 1 : 0;
            notes.append({r, g.where(r), false, res.reason, v.id});
        }
        const bool skipped = !order.isEmpty() && refused == order.size();
        for (RowNote& n : notes) {
            n.skipped = skipped;
            report.notes.append(n);
        }
    });
}

RowCommandReport FillFrequencies(Document& doc, int group, int first, int last, double start,
                                 double step) {
    const Group g = groupOf(doc, group);
    if (const RowCommandAccess a = rowCommandAccess(doc, group, RowCommand::Fill); !a.allowed)
        return refusedWith(a.why);
    if (first < 1 || last > g.size || first > last) return noSuchRows(g, first, last);
    return editRowsQuietly(doc, g, first, last, [&](int r, RowCommandReport& report) {
        const int chNo = g.base + r;
        // Counted from the start, so that rounding does not add up along the series.
        const QString typed = FormatFre(start + step * (r - first));
        const bool created = !doc.Channel(chNo);
        const EditResult res = EditChannelField(doc, chNo, FldRxFre, typed, ValueSource::Typed);
        if (res.outcome == EditOutcome::Refused) {
            report.notes.append({r, g.where(r), true, res.reason, FldRxFre});
            return;
        }
        if (res.outcome == EditOutcome::Adjusted) {
            const auto v = ParseNumber(typed);
            const TextNote why = v && (*v < doc.FreLow || *v > doc.FreHigh)
                                     ? TextNote{TxtOutsideBand, {typed, doc.BandText, res.after}}
                                     : TextNote{TxtOffRaster, {typed, res.after}};
            report.notes.append({r, g.where(r), false, why, FldRxFre});
        }
        if (created && doc.Channel(chNo)) moveBesideGroup(doc, g, chNo);
    });
}

namespace {

// What typing did to a pasted frequency, with the value as typed and as stored.
TextNote adjustedFre(const Document& doc, const Group& g, const QString& typed,
                     const EditResult& res) {
    const QString was = PrintableValue(typed.trimmed());
    if (g.mode == 0) return {TxtNearestPlan, {was, res.after}};
    const auto v = ParseNumber(typed);
    if (v && (*v < doc.FreLow || *v > doc.FreHigh))
        return {TxtOutsideBand, {was, doc.BandText, res.after}};
    if (v) return {TxtOffRaster, {was, res.after}};
    return res.reason;
}

} // namespace

TextNote tooMuchChannelText(const QString& text) {
    if (text.size() <= MaxChannelTextChars) return {};
    return {MsgTooMuchText,
            {QString::number((text.size() + 1023) / 1024),
             QString::number(MaxChannelTextChars / 1024)}};
}

RowCommandReport PasteRowsText(Document& doc, int group, int at, const QString& text) {
    const Group g = groupOf(doc, group);
    const RowCommandAccess access = rowCommandAccess(doc, group, RowCommand::Paste);
    if (!access.allowed) return refusedWith(access.why);
    // Refused before it is read: a text longer than any channel list would only keep the
    // window busy.
    if (TextNote tooMuch = tooMuchChannelText(text); tooMuch.id) return refusedWith(tooMuch);
    const QList<QStringList> lines = textRows(text);
    if (lines.isEmpty()) return refusedWith({MsgNothingToPaste, {}});
    if (at < 1 || at > g.size) return noSuchRows(g, at, at);

    const Rows before = rowsOf(doc, g);
    const std::array<int, 2> emgBefore = emergencyRows(doc, g);
    RowCommandReport report;
    QSignalBlocker quiet(doc);
    QuietPrompter silent(doc);
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList& cells = lines[i];
        const int r = at + i, chNo = g.base + r;
        const QString where = g.where(r);
        auto note = [&](bool skipped, const TextNote& t, int field) {
            report.notes.append({r, where, skipped, t, field});
        };
        if (r > g.size) {
            note(true, {TxtBeyondGroup, {QString::number(g.size)}}, 0);
            continue;
        }
        const QString fre = cells.value(0);
        if (access.keepsFrequencies) {
            // A plan row keeps its frequency (creating an empty row the plan has) and takes
            // the other columns.
            const QString plan = planFrequency(doc, slotAt(doc, g.index, r));
            if (fre.isEmpty() && cells.size() <= 1) {
                if (doc.Channel(chNo)) note(true, {TxtPlanNotEmptied, {}}, FldRxFre);
                continue;
            }
            if (plan.isEmpty()) {
                note(true, {TxtNoPlanChannel, {}}, FldRxFre);
                continue;
            }
            const QString listedPlan = FreToListText(plan, g.index, g.mode, doc.FreLow);
            const auto v = ParseNumber(fre);
            const bool same = v && (sameMhz(*v, storedMhz(plan)) ||
                                    sameMhz(*v, ParseNumber(listedPlan).value_or(0)));
            if (!fre.isEmpty() && !same)
                note(false, {TxtFrequencyKept, {listedPlan, PrintableValue(fre)}}, FldRxFre);
        }
        if (access.keepsFrequencies) {
            if (!doc.Channel(chNo)) {
                doc.AddChannel(chNo, doc.FreToShown(planFrequency(doc, slotAt(doc, g.index, r))));
                moveBesideGroup(doc, g, chNo);
                doc.RefreshGroupCHs(g.index);
            }
        } else if (fre.isEmpty()) {
            if (!doc.Channel(chNo)) continue;
            const EditResult res = EditChannelField(doc, chNo, FldRxFre, QString());
            if (res.outcome == EditOutcome::Refused) note(true, res.reason, FldRxFre);
            continue;
        }
        const bool created = !access.keepsFrequencies && !doc.Channel(chNo);
        if (!access.keepsFrequencies) {
            const EditResult res = EditChannelField(doc, chNo, FldRxFre, fre, ValueSource::Typed);
            if (res.outcome == EditOutcome::Refused) {
                note(true, res.reason, FldRxFre);
                continue;
            }
            if (res.outcome == EditOutcome::Adjusted)
                note(false, adjustedFre(doc, g, fre, res), FldRxFre);
        }
        if (created) moveBesideGroup(doc, g, chNo);
        // The further columns in field order. The text holds the channel's own values, which a
        // channel using the public channel keeps too: they are stored while Public is off, and
        // Public goes on again afterwards.
        bool publicOn = false;
        for (int k = 1; k < cells.size() && k + 1 <= FldTDCT; ++k) {
            const int id = k + 1;
            if (cells[k].isEmpty()) continue;
            const EditResult res = EditChannelField(doc, chNo, id, cells[k], ValueSource::Typed);
            if (res.outcome != EditOutcome::Stored) note(false, res.reason, id);
            if (id == FldPublic) {
                CHInfoRec* rec = doc.Channel(chNo);
                publicOn = rec && rec->Public == 1;
                if (publicOn) rec->Public = 0;
            }
        }
        if (publicOn) doc.Channel(chNo)->Public = 1;
    }
    doc.RefreshGroupCHs(g.index);
    noteEmergencyModesToFm(doc, g, emgBefore, report);
    quiet.unblock();
    announce(doc, g, before, report);
    return report;
}

// --- Clipboard formats ---

namespace {
constexpr char ClipMagic[] = "MZCH";
constexpr int ClipVersion = 1;
constexpr int ClipHeaderSize = 4 + 5 * 2;
constexpr int RecordSize = recordcodec::sizeOf<CHInfoRec>();

void putWord(QByteArray& b, int v) {
    b.append(static_cast<char>(v & 0xFF));
    b.append(static_cast<char>((v >> 8) & 0xFF));
}
int word(const QByteArray& b, int at) {
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}
} // namespace

QByteArray EncodeChannelClip(const ChannelClip& clip) {
    QByteArray b(ClipMagic, 4);
    putWord(b, ClipVersion);
    putWord(b, clip.mode);
    putWord(b, clip.group);
    putWord(b, clip.firstRow);
    putWord(b, static_cast<int>(clip.rows.size()));
    for (const auto& row : clip.rows) {
        b.append(row ? '\1' : '\0');
        if (row) b.append(recordcodec::encode(*row));
    }
    return b;
}

std::optional<ChannelClip> DecodeChannelClip(const QByteArray& bytes) {
    if (bytes.size() < ClipHeaderSize || !bytes.startsWith(ClipMagic)) return std::nullopt;
    if (word(bytes, 4) != ClipVersion) return std::nullopt;
    ChannelClip clip;
    clip.mode = word(bytes, 6);
    clip.group = word(bytes, 8);
    clip.firstRow = word(bytes, 10);
    const int count = word(bytes, 12);
    if (!IsValidMode(clip.mode) || clip.group >= GroupCount(clip.mode)) return std::nullopt;
    const int size = GroupSize(clip.group, clip.mode);
    if (count < 1 || clip.firstRow < 1 || clip.firstRow + count - 1 > size) return std::nullopt;
    const int base = FirstCHOfGroup(clip.group, clip.mode);
    qsizetype at = ClipHeaderSize;
    for (int i = 0; i < count; ++i) {
        if (at >= bytes.size()) return std::nullopt;
        const char flag = bytes[at++];
        if (flag == '\0') {
            clip.rows.append(std::nullopt);
            continue;
        }
        if (flag != '\1' || bytes.size() - at < RecordSize) return std::nullopt;
        CHInfoRec rec;
        recordcodec::decode(rec, reinterpret_cast<const unsigned char*>(bytes.constData() + at));
        at += RecordSize;
        if (rec.CHNo != base + clip.firstRow + i) return std::nullopt;
        clip.rows.append(rec);
    }
    if (at != bytes.size()) return std::nullopt;
    return clip;
}

QString ChannelClipToText(const Document& doc, const ChannelClip& clip) {
    (void)doc;
    double freLow = 0, freHigh = 0;
    ParseBandText(BandTextOf(clip.mode), freLow, freHigh);
    QString out;
    for (const auto& row : clip.rows) {
        if (row) {
            // A damaged frequency stays as it is stored, so that a paste skips the row
            // rather than taking the band's edge for it.
            const QString stored = row->RxFre.text();
            QStringList cells{damagedFrequency(stored)
                                  ? stored
                                  : FreToListText(stored, clip.group, clip.mode, freLow)};
            for (int id = FldPublic; id <= FldTDCT; ++id)
                cells << QString::number(row->field(id));
            out += cells.join(QLatin1Char('\t'));
        }
        out += QLatin1Char('\n');
    }
    return out;
}

bool LooksLikeChannelText(const QString& text) {
    // The start says it; a text too long for any channel list is still offered to the paste,
    // which refuses it with a message.
    QString t = text.left(MaxChannelTextChars);
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = t.split(QLatin1Char('\n'));
    return std::any_of(lines.begin(), lines.end(), [](const QString& line) {
        return ParseNumber(line.section(QLatin1Char('\t'), 0, 0).trimmed()).has_value();
    });
}
