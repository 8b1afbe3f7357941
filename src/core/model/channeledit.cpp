#include "channeledit.h"
#include "../lang/langtext.h"
#include "../lang/prompter.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "quietprompter.h"
#include "records.h"

#include <cmath>

namespace {

const char* const kFieldNames[] = {"",           "RxFre",     "Public",   "DUP",    "OffSetFre",
                                   "TSQ",        "Scan",      "HI_CUT",   "BUSY",   "NB",
                                   "Add_Sub_5K", "AM_FM",     "Tx_Power", "RBTone", "DTMF_BOT",
                                   "DTMF_EOT",   "DTMF_Call", "RDCT",     "TDCT"};

// Fields that a channel using the public channel's data does not have of its own; the edit
// dialog disables them while Public is "On".
bool lockedByPublic(int id) {
    return id == FldDUP || id == FldOffSetFre || (id >= FldHI_CUT && id <= FldDTMF_Call);
}

// Fields the edit dialog hides in the CB mode.
bool hiddenInCb(int id) {
    return id == FldDUP || id == FldOffSetFre || id == FldTx_Power;
}

EditResult refused(const QString& before, TextNote reason) {
    return {EditOutcome::Refused, before, before, std::move(reason)};
}

// The frequency as the channel lists show it (the UK plan with its last digits "125").
QString listedFre(const Document& doc, const CHInfoRec* rec, int group) {
    return rec ? FreToListText(rec->RxFre.text(), group, doc.CountryMode, doc.FreLow) : QString();
}

bool sameMHz(double a, double b) {
    return std::abs(a - b) < 0.0000005; // below the stored 10 Hz step
}

EditResult editFrequency(Document& doc, int chNo, int group, int row, const QString& value) {
    const int mode = doc.CountryMode;
    const QString before = listedFre(doc, doc.Channel(chNo), group);
    if (value.trimmed().isEmpty()) {
        if (!doc.Channel(chNo)) return refused(before, {14927, {QString::number(chNo)}});
        doc.SetCHValue(group, row, FldRxFre, QString());
        if (doc.Channel(chNo)) return refused(before, {14928, {QString::number(chNo)}});
        return {EditOutcome::Stored, before, QString(), {}};
    }
    const auto v = ParseNumber(value);
    if (!v) return refused(before, {14919, {value}});
    // The value the channel already has (as listed) is kept as it is.
    const auto shown = ParseNumber(before);
    if (shown && sameMHz(*shown, *v)) return {EditOutcome::Stored, before, before, {}};
    // The national channel plans of the CB mode are data of the radio: neither the table nor
    // the edit dialog lets anybody type their frequencies.
    if (mode == 0 && !IsMemGroup(group, mode)) {
        if (before.isEmpty()) return refused(before, {14912, {ChannelSlotName(chNo, mode)}});
        return refused(before, {14911, {ChannelSlotName(chNo, mode), before}});
    }
    TextNote why;
    if (!(mode == 0 && IsMemGroup(group, mode)) && (*v < doc.FreLow || *v > doc.FreHigh))
        why = {14910, {FormatFre(*v), doc.BandText}};
    QString accepted;
    {
        QuietPrompter quiet(doc);
        accepted = doc.ValidateFreText(value, group, mode);
        doc.SetCHValue(group, row, FldRxFre, accepted);
    }
    const QString after = listedFre(doc, doc.Channel(chNo), group);
    if (sameMHz(ParseNumber(after).value_or(0), *v))
        return {EditOutcome::Stored, before, after, {}};
    if (why.id == 0) why = {mode == 0 ? 14937 : 14936, {}};
    return {EditOutcome::Adjusted, before, after, why};
}

// The largest value a list field offers for the channel, or -1 for fields checked otherwise.
int listMax(const CHInfoRec& rec, int id) {
    switch (id) {
    case FldPublic:
    case FldTSQ:
    case FldScan:
    case FldHI_CUT:
    case FldBUSY:
    case FldNB:
    case FldAdd_Sub_5K:
    case FldAM_FM:
        return 1;
    case FldDUP:
        return 2;
    case FldTx_Power:
        return rec.AM_FM == 1 ? 1 : 2;
    case FldRDCT:
    case FldTDCT:
        return 142;
    default:
        return -1;
    }
}

} // namespace

QString PrintableValue(const QString& value) {
    QString r;
    for (const QChar c : value.left(40))
        r += c.isPrint() ? c : QChar(u'?');
    return value.size() > 40 ? r + QStringLiteral("...") : r;
}

QString TextNote::text() const {
    QString t = LoadLangText(id);
    if (t.isEmpty()) {
        t = QStringLiteral("[%1]").arg(id);
        for (int i = 0; i < args.size(); ++i)
            t += QStringLiteral(" %%1").arg(i + 1);
    }
    // Each %n once, in one pass: a value that itself holds "%1" stays as it is.
    QString r;
    for (int i = 0; i < t.size(); ++i) {
        const int n = i + 1 < t.size() ? t.at(i + 1).digitValue() : -1;
        if (t.at(i) == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            r += PrintableValue(args.at(n - 1));
            ++i;
        } else {
            r += t.at(i);
        }
    }
    return r;
}

int ChannelFieldIndex(const QString& name) {
    for (int id = FldRxFre; id <= FldTDCT; ++id)
        if (name == QLatin1String(kFieldNames[id])) return id;
    return 0;
}

QString ChannelFieldName(int id) {
    return id >= FldRxFre && id <= FldTDCT ? QLatin1String(kFieldNames[id]) : QString();
}

QStringList ChannelFieldNames() {
    QStringList l;
    for (int id = FldRxFre; id <= FldTDCT; ++id)
        l << QLatin1String(kFieldNames[id]);
    return l;
}

bool ChannelSlot(int chNo, int mode, int& group, int& row) {
    for (int g = 0; g < GroupCount(mode); ++g) {
        const int first = FirstCHOfGroup(g, mode);
        if (chNo > first && chNo <= first + GroupSize(g, mode)) {
            group = g;
            row = chNo - first;
            return true;
        }
    }
    return false;
}

QString ChannelSlotName(int chNo, int mode) {
    int group = 0, row = 0;
    if (!ChannelSlot(chNo, mode, group, row))
        return chNo == ChVfo ? QStringLiteral("VFO") : QStringLiteral("CH %1").arg(chNo);
    const QString name = GroupName(group, mode);
    return GroupSize(group, mode) == 1 ? name : name + QLatin1Char(' ') + QString::number(row);
}

bool IsFixFM(int row, int group, int countryMode) {
    if (countryMode != 0) return false;
    return group == 1 || group == 3 || (group == 6 && row >= 41);
}

bool DtmfCodeDefined(const Document& doc, int n) {
    return n >= 1 && n <= 16 && doc.RadioData.DTMF.Codes[n - 1].Len > 0;
}

EditResult EditChannelField(Document& doc, int chNo, int id, const QString& value) {
    const int mode = doc.CountryMode;
    int group = 0, row = 0;
    if (!ChannelSlot(chNo, mode, group, row))
        return refused(QString(), {14906, {QString::number(chNo), ModeName(mode)}});
    if (id == FldRxFre) return editFrequency(doc, chNo, group, row, value);
    if (id < FldRxFre || id > FldTDCT) return refused(QString(), {14929, {QString::number(id)}});

    const CHInfoRec* rec = doc.Channel(chNo);
    if (!rec) return refused(QString(), {14927, {QString::number(chNo)}});
    const int cur = rec->field(id);
    const QString before = QString::number(cur);
    // The windows accept digits only (the offset box filters every other key) or a choice
    // from a list.
    bool ok = false;
    const QString t = value.trimmed();
    const int v = t.toInt(&ok);
    if (!ok || t.startsWith(QLatin1Char('+')) || (id == FldOffSetFre && v < 0))
        return refused(before, {14919, {value}});
    if (v == cur) return {EditOutcome::Stored, before, before, {}};

    if (const int max = listMax(*rec, id); max >= 0 && (v < 0 || v > max))
        return refused(before, {14926, {t, QStringLiteral("0..%1").arg(max)}});
    if (id == FldRBTone && v != 0 && doc.ValidRBTone(v) != v) return refused(before, {14924, {t}});
    if (id >= FldDTMF_BOT && id <= FldDTMF_Call && v != 0 && !DtmfCodeDefined(doc, v))
        return refused(before, {14925, {t}});
    if (mode == 0 && hiddenInCb(id)) return refused(before, {14921, {}});
    if (rec->Public == 1 && lockedByPublic(id)) return refused(before, {14920, {}});
    if (id == FldScan && chNo == ChVfo) return refused(before, {14922, {}});
    if (id == FldAM_FM && v == 1 && IsFixFM(row, group, mode)) return refused(before, {14923, {}});

    const bool asText = id == FldOffSetFre || (id >= FldRBTone && id <= FldDTMF_Call);
    doc.SetCHValue(group, row, id, asText ? QVariant(t) : QVariant(v));
    const QString after = QString::number(doc.Channel(chNo)->field(id));
    if (after != QString::number(v)) return {EditOutcome::Adjusted, before, after, {14938, {}}};
    return {EditOutcome::Stored, before, after, {}};
}
