#include "channeledit.h"
#include "../lang/langtext.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "quietprompter.h"
#include "records.h"

namespace {

const char* const kFieldNames[] = {"",           "RxFre",     "Public",   "DUP",    "OffSetFre",
                                   "TSQ",        "Scan",      "HI_CUT",   "BUSY",   "NB",
                                   "Add_Sub_5K", "AM_FM",     "Tx_Power", "RBTone", "DTMF_BOT",
                                   "DTMF_EOT",   "DTMF_Call", "RDCT",     "TDCT"};

} // namespace

int ChannelFieldIndex(const QString& name) {
    for (int id = FldRxFre; id <= FldTDCT; ++id)
        if (name == QLatin1String(kFieldNames[id])) return id;
    return 0;
}

QString ChannelFieldName(int id) {
    return id >= FldRxFre && id <= FldTDCT ? QLatin1String(kFieldNames[id]) : QString();
}

QString ChannelFieldLabel(int id) {
    // The labels of the channel edit dialog: the receive frequency, the offset, and the lists
    // in field order.
    if (id == FldRxFre) return LoadLangText(15002);
    if (id == FldOffSetFre) return LoadLangText(15100);
    if (id < FldPublic || id > FldTDCT) return QString();
    return LoadLangText(15005 + (id < FldOffSetFre ? id - FldPublic : id - FldPublic - 1));
}

QStringList ChannelFieldNames() {
    QStringList l;
    for (int id = FldRxFre; id <= FldTDCT; ++id)
        l << QLatin1String(kFieldNames[id]);
    return l;
}

QString ChannelSlotName(int chNo, int mode) {
    int group = 0, row = 0;
    if (!ChannelSlot(chNo, mode, group, row))
        return chNo == ChVfo ? QStringLiteral("VFO") : QStringLiteral("CH %1").arg(chNo);
    const QString name = GroupName(group, mode);
    return GroupSize(group, mode) == 1 ? name : name + QLatin1Char(' ') + QString::number(row);
}

EditResult EditChannelField(Document& doc, int chNo, int id, const QString& value,
                            ValueSource source) {
    const ChannelSlotRef slot = slotOfChannel(doc, chNo);
    const ValueVerdict v = judgeValue(doc, slot, id, value, source);
    CHInfoRec* rec = doc.Channel(chNo);
    auto present = [&] {
        rec = doc.Channel(chNo);
        if (id == FldRxFre)
            return rec ? FreToListText(rec->RxFre.text(), slot.group, slot.mode, doc.FreLow)
                       : QString();
        return rec ? QString::number(rec->field(id)) : QString();
    };
    const QString before = present();
    if (v.outcome == EditOutcome::Refused) return {EditOutcome::Refused, before, before, v.reason};
    if (v.value == before) return {v.outcome, before, before, v.reason};

    if (id == FldRxFre && slot.kind == SlotKind::PlanRow) {
        // A plan row takes only its own frequency, which may lie above the CB band: stored as
        // the plan has it, not through the typing rule.
        doc.AddChannel(chNo, FreToShown(planFrequency(doc, slot), doc.FreLow));
        doc.RefreshGroupCHs(slot.group);
        emit doc.channelChanged(chNo);
    } else if (id == FldRxFre) {
        QuietPrompter quiet(doc);
        doc.SetCHValue(slot.group, slot.row, FldRxFre, v.value);
    } else {
        const bool asText = id == FldOffSetFre || (id >= FldRBTone && id <= FldDTMF_Call);
        doc.SetCHValue(slot.group, slot.row, id,
                       asText ? QVariant(v.value) : QVariant(v.value.toInt()));
    }
    return {v.outcome, before, present(), v.reason};
}
