#include "channelrules.h"
#include "cbplanrule.h"
#include "channeledit.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "records.h"

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// Texts of the reasons ([ChannelInfo]).
enum : int {
    TxtNoGroup = 14906,        // channel %1 belongs to no group in %2 mode
    TxtBand = 14910,           // %1 MHz is outside the band %2
    TxtPlanKeeps = 14911,      // ... %1 stays at %2 MHz
    TxtPlanEmpty = 14912,      // ... %1 is not programmed in this document
    TxtNotANumber = 14919,     // "%1" is not a number
    TxtPublic = 14920,         // kept: this channel uses the public channel's settings
    TxtCbHasNot = 14921,       // kept: the CB mode has no such setting
    TxtVfoNoScan = 14922,      // kept: the VFO channel has no scan setting
    TxtFmOnly = 14923,         // kept: this channel is FM only
    TxtToneTip = 14924,        // tone tip %1 is not defined in this document
    TxtDtmfCode = 14925,       // DTMF code %1 is not defined in this document
    TxtOutOfRange = 14926,     // %1 is out of range (the values are %2)
    TxtNotProgrammed = 14927,  // channel %1 is not programmed; give it a frequency first
    TxtNotDeleted = 14928,     // channel %1 cannot be deleted: ...
    TxtNoField = 14929,        // there is no channel field %1
    TxtRaster = 14936,         // lowered to the 5 kHz raster of the band
    TxtNearestPlan = 14937,    // the nearest channel of the national plans
    TxtOffsetStep = 14938,     // kept within 5 to 1000 kHz in steps of 5 kHz
    TxtPlanFixed = 14970,      // in CB mode the national channel plans keep their frequencies
    TxtMemPicks = 14971,       // in CB mode a MEM channel takes a channel of the national plans
    TxtFarFromPlans = 14972,   // %1 MHz is no channel of the national plans (%2 - %3 MHz)
    TxtPlanNotEmptied = 14973, // a row of a national plan is not emptied
    MsgVfoStays = 9950,        // the VFO channel is never deleted
    MsgNoSuchGroup = 9957,     // there is no group %1 in this country mode
    MsgPlanRows = 9960,        // %1 is a national plan: its rows are its channels ...
};

constexpr int MaxPlainChannel = 400;

// Fields that a channel using the public channel's data does not have of its own.
bool lockedByPublic(int id) {
    return id == FldDUP || id == FldOffSetFre || (id >= FldHI_CUT && id <= FldDTMF_Call);
}

// Fields the CB mode has not (the radio sends CB channels without shift and at one power).
bool absentInCb(int id) {
    return id == FldDUP || id == FldOffSetFre || id == FldTx_Power;
}

// A value stored exactly as given: no digit of it was lost on the way to 10 Hz units.
bool exactly(double given, double stored) {
    return std::abs(given - stored) < 1e-9;
}

QString listed(const Document& doc, const ChannelSlotRef& s) {
    const CHInfoRec* rec = doc.Channel(s.chNo);
    return rec ? FreToListText(rec->RxFre.text(), s.group, s.mode, doc.FreLow) : QString();
}

// Whether deleting the slot's channel leaves what the radio needs: the VFO channel, a MEM
// channel, a channel up to 400.
bool mayDelete(const Document& doc, const ChannelSlotRef& s) {
    if (s.kind == SlotKind::Vfo || s.chNo == ChVfo || s.kind == SlotKind::PlanRow) return false;
    if (s.chNo <= MaxPlainChannel) return doc.CountCHOutsideGroup(s.group, s.mode) > 0;
    return doc.CountCHInGroup(s.group, s.mode) > 1;
}

// The span of the national plans' frequencies (a CB MEM channel takes one of them); false
// when the built-in table does not read.
bool planSpan(double& low, double& high) {
    bool any = false;
    for (const PlanRow& r : CbPlanRows()) {
        const auto v = ParseNumber(r.shown);
        if (!v) continue;
        low = any ? std::min(low, *v) : *v;
        high = any ? std::max(high, *v) : *v;
        any = true;
    }
    return any;
}

ValueVerdict refusedAt(const QString& present, TextNote why) {
    return {EditOutcome::Refused, present, std::move(why)};
}

ValueVerdict judgeFrequency(const Document& doc, const ChannelSlotRef& s, const QString& value,
                            ValueSource source) {
    const QString before = listed(doc, s);
    const QString where = QString::number(s.chNo);
    const QString typed = PrintableValue(value.trimmed());
    if (value.trimmed().isEmpty()) {
        if (!doc.Channel(s.chNo)) return refusedAt(before, {TxtNotProgrammed, {where}});
        if (s.kind == SlotKind::PlanRow) return refusedAt(before, {TxtPlanNotEmptied, {}});
        if (!mayDelete(doc, s)) return refusedAt(before, {TxtNotDeleted, {where}});
        return {EditOutcome::Stored, QString(), {}};
    }
    const auto v = ParseNumber(value);
    if (!v) return refusedAt(before, {TxtNotANumber, {value}});
    if (const auto shown = ParseNumber(before); shown && sameMhz(*shown, *v))
        return {EditOutcome::Stored, before, {}};

    if (s.kind == SlotKind::PlanRow) {
        // The row is the plan's channel: only its own frequency (as stored or as listed) is
        // accepted, which creates an empty row the plan has.
        if (const QString plan = planFrequency(doc, s); !plan.isEmpty()) {
            const QString planListed = FreToListText(plan, s.group, s.mode, doc.FreLow);
            if (sameMhz(*v, storedMhz(plan)) || sameMhz(*v, ParseNumber(planListed).value_or(0)))
                return {EditOutcome::Stored, planListed, {}};
        }
        const QString name = ChannelSlotName(s.chNo, s.mode);
        if (before.isEmpty()) return refusedAt(before, {TxtPlanEmpty, {name}});
        return refusedAt(before, {TxtPlanKeeps, {name, before}});
    }
    if (s.kind == SlotKind::Mem && s.mode == 0) {
        double low = 0, high = 0;
        if (source == ValueSource::Given && planSpan(low, high) && (*v < low || *v > high))
            return refusedAt(before, {TxtFarFromPlans, {typed, FormatFre(low), FormatFre(high)}});
        // The nearest plan channel, as stored and as the MEM list shows it (above the CB band
        // with its last digits "125"): either form of it is stored as it is.
        const QString nearest = doc.NearestCHFre(*v);
        const QString nearestListed =
            FreToListText(FreToStored(nearest, doc.FreLow), s.group, s.mode, doc.FreLow);
        if (sameMhz(ParseNumber(nearest).value_or(0), *v) ||
            sameMhz(ParseNumber(nearestListed).value_or(0), *v))
            return {EditOutcome::Stored, nearest, {}};
        return {EditOutcome::Adjusted, nearest, {TxtNearestPlan, {}}};
    }
    if (*v < doc.FreLow || *v > doc.FreHigh) {
        if (source == ValueSource::Given)
            return refusedAt(before, {TxtBand, {typed, doc.BandText}});
        return {EditOutcome::Adjusted,
                FormatFre(*v < doc.FreLow ? doc.FreLow : doc.FreHigh),
                {TxtBand, {typed, doc.BandText}}};
    }
    const double snapped = SnapToGrid(*v, doc.FreLow);
    const QString after = FormatFre(snapped);
    if (exactly(*v, snapped)) return {EditOutcome::Stored, after, {}};
    return {EditOutcome::Adjusted, after, {TxtRaster, {}}};
}

} // namespace

// --- Slots ---

SlotKind groupKind(int group, int mode) {
    if (!IsValidMode(mode) || group < 0 || group >= GroupCount(mode)) return SlotKind::NoGroup;
    if (IsMemGroup(group, mode)) return SlotKind::Mem;
    if (mode == 0) return SlotKind::PlanRow;
    return FirstCHOfGroup(group, mode) + 1 == ChVfo ? SlotKind::Vfo : SlotKind::Bank;
}

ChannelSlotRef slotAt(const Document& doc, int group, int row) {
    const int mode = doc.CountryMode;
    const SlotKind kind = groupKind(group, mode);
    if (kind == SlotKind::NoGroup || row < 1 || row > GroupSize(group, mode))
        return {mode, group, row, 0, SlotKind::NoGroup};
    return {mode, group, row, FirstCHOfGroup(group, mode) + row, kind};
}

ChannelSlotRef slotOfChannel(const Document& doc, int chNo) {
    int group = 0, row = 0;
    if (!ChannelSlot(chNo, doc.CountryMode, group, row))
        return {doc.CountryMode, -1, 0, chNo, SlotKind::NoGroup};
    return slotAt(doc, group, row);
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

bool IsFixFM(int row, int group, int countryMode) {
    if (countryMode != 0) return false;
    return group == 1 || group == 3 || (group == 6 && row >= 41);
}

bool DtmfCodeDefined(const Document& doc, int n) {
    return n >= 1 && n <= 16 && doc.RadioData.DTMF.Codes[n - 1].Len > 0;
}

QString planFrequency(const Document& doc, const ChannelSlotRef& s) {
    if (s.kind != SlotKind::PlanRow) return QString();
    if (const CHInfoRec* rec = doc.Channel(s.chNo)) return rec->RxFre.text();
    for (const PlanRow& r : CbPlanRows())
        if (r.group == s.group && r.row == s.row) return r.stored;
    return QString();
}

// --- Fields ---

std::optional<std::pair<int, int>> fieldRange(const CHInfoRec& rec, int id) {
    switch (id) {
    case FldPublic:
    case FldTSQ:
    case FldScan:
    case FldHI_CUT:
    case FldBUSY:
    case FldNB:
    case FldAdd_Sub_5K:
    case FldAM_FM:
        return std::pair{0, 1};
    case FldDUP:
        return std::pair{0, 2};
    case FldTx_Power:
        return std::pair{0, rec.AM_FM == 1 ? 1 : 2};
    case FldRDCT:
    case FldTDCT:
        return std::pair{0, 142};
    case FldOffSetFre:
        return std::pair{5, 1000};
    case FldRBTone:
        return std::pair{0, 8};
    case FldDTMF_BOT:
    case FldDTMF_EOT:
    case FldDTMF_Call:
        return std::pair{0, 16};
    default:
        return std::nullopt;
    }
}

FieldAccess fieldAccess(const Document& doc, const ChannelSlotRef& s, int id) {
    if (s.kind == SlotKind::NoGroup)
        return {FieldState::Disabled, {TxtNoGroup, {QString::number(s.chNo), ModeName(s.mode)}}};
    if (id < FldRxFre || id > FldTDCT)
        return {FieldState::Hidden, {TxtNoField, {QString::number(id)}}};
    if (id == FldRxFre) {
        if (s.kind == SlotKind::PlanRow) return {FieldState::Disabled, {TxtPlanFixed, {}}};
        if (s.kind == SlotKind::Mem && s.mode == 0) return {FieldState::Pick, {TxtMemPicks, {}}};
        return {};
    }
    if (s.mode == 0 && absentInCb(id)) return {FieldState::Hidden, {TxtCbHasNot, {}}};
    if (id == FldScan && s.kind == SlotKind::Vfo) return {FieldState::Hidden, {TxtVfoNoScan, {}}};
    const CHInfoRec* rec = doc.Channel(s.chNo);
    if (!rec) return {FieldState::Disabled, {TxtNotProgrammed, {QString::number(s.chNo)}}};
    if (rec->Public == 1 && lockedByPublic(id)) return {FieldState::Disabled, {TxtPublic, {}}};
    if (id == FldAM_FM && IsFixFM(s.row, s.group, s.mode))
        return {FieldState::Disabled, {TxtFmOnly, {}}};
    return {};
}

QStringList offeredValues(const Document& doc, const ChannelSlotRef& s, int id) {
    QStringList out;
    if (s.kind == SlotKind::NoGroup || fieldAccess(doc, s, id).state == FieldState::Hidden)
        return out;
    auto numbers = [&out](int from, int to, int step = 1) {
        for (int v = from; v <= to; v += step)
            out << QString::number(v);
    };
    const CHInfoRec* rec = doc.Channel(s.chNo);
    switch (id) {
    case FldRxFre:
        if (s.kind == SlotKind::PlanRow) {
            if (const QString plan = planFrequency(doc, s); !plan.isEmpty()) out << plan;
        } else if (s.kind == SlotKind::Mem && s.mode == 0) {
            for (int i = 0; i < doc.RadioData.CHCount; ++i) {
                const CHInfoRec& c = doc.CHInfo[i];
                const QString stored = c.RxFre.text();
                if (c.CHNo >= 1 && c.CHNo <= 360 && IsNumeric(stored) && !out.contains(stored))
                    out << stored;
            }
            out.sort();
        }
        break;
    case FldAM_FM:
        numbers(0, IsFixFM(s.row, s.group, s.mode) ? 0 : 1);
        break;
    case FldTx_Power:
        numbers(0, rec && rec->AM_FM == 1 ? 1 : 2);
        break;
    case FldOffSetFre:
        numbers(5, 1000, 5);
        break;
    case FldRBTone:
        out << QStringLiteral("0");
        for (int n = 1; n <= 8; ++n)
            if (doc.ValidRBTone(n) == n) out << QString::number(n);
        break;
    case FldDTMF_BOT:
    case FldDTMF_EOT:
    case FldDTMF_Call:
        out << QStringLiteral("0");
        for (int n = 1; n <= 16; ++n)
            if (DtmfCodeDefined(doc, n)) out << QString::number(n);
        break;
    default:
        if (const auto r = fieldRange(rec ? *rec : CHInfoRec{}, id)) numbers(r->first, r->second);
        break;
    }
    return out;
}

ValueVerdict judgeValue(const Document& doc, const ChannelSlotRef& s, int id, const QString& value,
                        ValueSource source) {
    if (s.kind == SlotKind::NoGroup)
        return refusedAt(QString(), {TxtNoGroup, {QString::number(s.chNo), ModeName(s.mode)}});
    if (id == FldRxFre) return judgeFrequency(doc, s, value, source);
    if (id < FldRxFre || id > FldTDCT)
        return refusedAt(QString(), {TxtNoField, {QString::number(id)}});

    const CHInfoRec* rec = doc.Channel(s.chNo);
    if (!rec) {
        const FieldAccess a = fieldAccess(doc, s, id);
        if (a.state == FieldState::Hidden) return refusedAt(QString(), a.why);
        return refusedAt(QString(), {TxtNotProgrammed, {QString::number(s.chNo)}});
    }
    const int cur = rec->field(id);
    const QString before = QString::number(cur);
    // A whole number, as the windows' boxes and lists give it; one too large for any field is
    // out of range rather than "not a number".
    static const QRegularExpression whole(QStringLiteral(R"(^-?\d+$)"));
    const QString t = value.trimmed();
    if (!whole.match(t).hasMatch()) return refusedAt(before, {TxtNotANumber, {value}});
    bool fits = false;
    const int v = t.toInt(&fits);
    const auto range = fieldRange(*rec, id);
    const QString rangeText =
        range ? QStringLiteral("%1..%2").arg(range->first).arg(range->second) : QString();
    if (!fits) return refusedAt(before, {TxtOutOfRange, {PrintableValue(t), rangeText}});
    if (v == cur) return {EditOutcome::Stored, before, {}};

    if (id == FldOffSetFre) {
        // The offset box of the windows clamps to 5..1000 and rounds down to 5 kHz steps; a
        // given value outside the range is refused instead.
        if ((v < 5 || v > 1000) && (source == ValueSource::Given || v < 0))
            return refusedAt(before, {TxtOutOfRange, {t, rangeText}});
        if (const FieldAccess a = fieldAccess(doc, s, id); !a.editable())
            return refusedAt(before, a.why);
        const int c = std::clamp(v, 5, 1000);
        const int stored = c - c % 5;
        if (stored == v) return {EditOutcome::Stored, QString::number(v), {}};
        return {EditOutcome::Adjusted, QString::number(stored), {TxtOffsetStep, {}}};
    }
    if (range && (v < range->first || v > range->second))
        return refusedAt(before, {TxtOutOfRange, {t, rangeText}});
    if (id == FldRBTone && v != 0 && doc.ValidRBTone(v) != v)
        return refusedAt(before, {TxtToneTip, {t}});
    if (id >= FldDTMF_BOT && id <= FldDTMF_Call && v != 0 && !DtmfCodeDefined(doc, v))
        return refusedAt(before, {TxtDtmfCode, {t}});
    if (const FieldAccess a = fieldAccess(doc, s, id); !a.editable())
        return refusedAt(before, a.why);
    return {EditOutcome::Stored, QString::number(v), {}};
}

// --- Row commands ---

RowCommandAccess rowCommandAccess(const Document& doc, int group, RowCommand command) {
    const SlotKind kind = groupKind(group, doc.CountryMode);
    if (kind == SlotKind::NoGroup) return {false, {MsgNoSuchGroup, {QString::number(group)}}};
    const bool shifts = command == RowCommand::Cut || command == RowCommand::Insert ||
                        command == RowCommand::Delete || command == RowCommand::MoveUp ||
                        command == RowCommand::MoveDown || command == RowCommand::Sort;
    if (kind == SlotKind::PlanRow) {
        if (shifts) return {false, {MsgPlanRows, {GroupName(group, doc.CountryMode)}}};
        if (command == RowCommand::Fill) return {false, {TxtPlanFixed, {}}};
        return {true, {}, command == RowCommand::Paste};
    }
    // A series of frequencies needs rows whose frequency is typed.
    if (command == RowCommand::Fill && kind == SlotKind::Mem && doc.CountryMode == 0)
        return {false, {TxtMemPicks, {}}};
    if (kind == SlotKind::Vfo && shifts) return {false, {MsgVfoStays, {}}};
    return {};
}
