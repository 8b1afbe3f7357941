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
    TxtNoField = 14929,        // there is no channel field %1
    TxtRaster = 14936,         // lowered to the 5 kHz raster of the band
    TxtNearestPlan = 14937,    // the nearest channel of the national plans
    TxtOffsetStep = 14938,     // kept within 5 to 1000 kHz in steps of 5 kHz
    TxtPlanFixed = 14970,      // in CB mode the national channel plans keep their frequencies
    TxtMemPicks = 14971,       // in CB mode a MEM channel takes a channel of the national plans
    TxtFarFromPlans = 14972,   // %1 MHz is no channel of the national plans (%2 - %3 MHz)
    TxtPlanNotEmptied = 14973, // a row of a national plan is not emptied
    TxtHeldNoPlan = 27207,     // not a channel of the national plans: the radio may not use it
    MsgVfoStays = 9950,        // the VFO channel is never deleted
    MsgMemKeepsOne = 9951,     // the MEM group keeps at least one channel
    MsgLowKeepsOne = 9952,     // at least one channel up to 400 stays in the document
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

// The plan frequency a CB MEM channel is given as (as stored or as the lists show it): a
// channel of the national plans' table, or a plan channel this document holds (the memory
// frequency dialog offers those); empty when v is neither.
QString memPlanFrequency(const Document& doc, double v) {
    auto same = [v](const QString& text) {
        const auto f = ParseNumber(text);
        return f && sameMhz(*f, v);
    };
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const CHInfoRec& c = doc.CHInfo[i];
        const QString stored = c.RxFre.text();
        if (c.CHNo < 1 || c.CHNo > 360 || !IsNumeric(stored) || IsNoFrequency(stored)) continue;
        const QString shown = FreToShown(stored, doc.FreLow);
        if (same(shown) || same(FreToListText(stored, GroupOfChannel(c.CHNo, 0), 0, doc.FreLow)))
            return shown;
    }
    for (const PlanRow& r : CbPlanRows())
        if (!r.stored.isEmpty() && (same(FreToShown(r.stored, doc.FreLow)) || same(r.shown)))
            return FreToShown(r.stored, doc.FreLow);
    return QString();
}

ValueVerdict refusedAt(const QString& present, TextNote why) {
    return {EditOutcome::Refused, present, std::move(why)};
}

ValueVerdict judgeFrequency(const Document& doc, const ChannelSlotRef& s, const QString& value) {
    const QString before = listed(doc, s);
    const QString where = QString::number(s.chNo);
    const QString typed = PrintableValue(value.trimmed());
    if (value.trimmed().isEmpty()) {
        if (!doc.Channel(s.chNo)) return refusedAt(before, {TxtNotProgrammed, {where}});
        if (s.kind == SlotKind::PlanRow) return refusedAt(before, {TxtPlanNotEmptied, {}});
        QVector<bool> now = programmedRows(doc, s.group), after = now;
        after[s.row - 1] = false;
        if (TextNote why = deletionRefusal(doc, s.group, now, after); why.id)
            return refusedAt(before, why);
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
        // A MEM channel of the CB mode is a channel of the national plans, whoever gives it:
        // a frequency no plan channel has is refused, never moved to a neighbour.
        if (const QString plan = memPlanFrequency(doc, *v); !plan.isEmpty())
            return {EditOutcome::Stored, plan, {}};
        double low = 0, high = 0;
        planSpan(low, high);
        return refusedAt(before, {TxtFarFromPlans, {typed, FormatFre(low), FormatFre(high)}});
    }
    // A value outside the band is refused from every source: moving it to the band's edge
    // would store a frequency nobody asked for.
    if (*v < doc.FreLow || *v > doc.FreHigh)
        return refusedAt(before, {TxtBand, {typed, doc.BandText}});
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
    if (id == FldRxFre) return judgeFrequency(doc, s, value);
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

TextNote heldFrequencyNote(const Document& doc, const ChannelSlotRef& s) {
    const CHInfoRec* rec = doc.Channel(s.chNo);
    if (!rec) return {};
    const QString stored = rec->RxFre.text();
    if (IsNoFrequency(stored) || !IsNumeric(stored)) return {};
    const double v = storedMhz(stored);
    if (s.kind == SlotKind::Mem && s.mode == 0) {
        if (memPlanFrequency(doc, v).isEmpty()) return {TxtHeldNoPlan, {}};
    } else if (s.kind == SlotKind::Bank || s.kind == SlotKind::Vfo ||
               (s.kind == SlotKind::Mem && s.mode != 0)) {
        if (v < doc.FreLow - 1e-9 || v > doc.FreHigh + 1e-9)
            return {TxtBand, {FormatFre(v), doc.BandText}};
    }
    return {};
}

// --- Deletions ---

QVector<bool> programmedRows(const Document& doc, int group) {
    const int size = GroupSize(group, doc.CountryMode);
    const int base = FirstCHOfGroup(group, doc.CountryMode);
    QVector<bool> rows(std::max(size, 0));
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const int chNo = doc.CHInfo[i].CHNo;
        if (chNo > base && chNo <= base + size) rows[chNo - base - 1] = true;
    }
    return rows;
}

TextNote deletionRefusal(const Document& doc, int group, const QVector<bool>& before,
                         const QVector<bool>& after) {
    const int mode = doc.CountryMode;
    const int base = FirstCHOfGroup(group, mode);
    const int size = std::min<int>(before.size(), after.size());
    int inBefore = 0, inAfter = 0, lowBefore = 0, lowAfter = 0;
    for (int r = 1; r <= size; ++r) {
        const int chNo = base + r;
        if (chNo == ChVfo && before[r - 1] && !after[r - 1]) return {MsgVfoStays, {}};
        inBefore += before[r - 1] ? 1 : 0;
        inAfter += after[r - 1] ? 1 : 0;
        if (chNo <= MaxPlainChannel) {
            lowBefore += before[r - 1] ? 1 : 0;
            lowAfter += after[r - 1] ? 1 : 0;
        }
    }
    if (IsMemGroup(group, mode) && inBefore > 0 && inAfter == 0) return {MsgMemKeepsOne, {}};
    int lowOutside = 0;
    for (int i = 0; i < doc.RadioData.CHCount; ++i) {
        const int chNo = doc.CHInfo[i].CHNo;
        if ((chNo <= base || chNo > base + size) && chNo <= MaxPlainChannel) ++lowOutside;
    }
    if (lowOutside + lowBefore > 0 && lowOutside + lowAfter == 0) return {MsgLowKeepsOne, {}};
    return {};
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

// --- Group settings ---

namespace {
constexpr int TxtEmgFmOnly = 14923; // kept: this channel is FM only

bool hasGroupSettings(int group, int mode) {
    return group >= 0 && group < SettingGroupCount(mode) && !IsMemGroup(group, mode);
}
} // namespace

FieldAccess groupSettingAccess(const Document& doc, int group, GroupSetting setting) {
    const int mode = doc.CountryMode;
    const SlotKind kind = groupKind(group, mode);
    if (kind == SlotKind::NoGroup || kind == SlotKind::Vfo)
        return {FieldState::Hidden, {MsgNoSuchGroup, {QString::number(group)}}};
    if (kind == SlotKind::Mem)
        return setting == GroupSetting::WorkCh
                   ? FieldAccess{}
                   : FieldAccess{FieldState::Hidden, {MsgNoSuchGroup, {QString::number(group)}}};
    if (!hasGroupSettings(group, mode))
        return {FieldState::Hidden, {MsgNoSuchGroup, {QString::number(group)}}};
    const FuncRec& f = doc.RadioData.Func;
    if (setting == GroupSetting::EmgMode1 || setting == GroupSetting::EmgMode2) {
        const int row = (setting == GroupSetting::EmgMode1 ? f.EmgCH1[group] : f.EmgCH2[group]) + 1;
        if (IsFixFM(row, group, mode)) return {FieldState::Disabled, {TxtEmgFmOnly, {}}};
    }
    return {};
}

int setGroupSetting(Document& doc, int group, GroupSetting setting, int value) {
    const int mode = doc.CountryMode;
    if (groupSettingAccess(doc, group, setting).state == FieldState::Hidden) return 0;
    int stored = value;
    doc.EditFunc([&](FuncRec& f) {
        const auto row = static_cast<i16>(value);
        switch (setting) {
        case GroupSetting::WorkCh:
            (IsMemGroup(group, mode) ? f.MemWorkCH : f.WorkCH[group]) = row;
            break;
        case GroupSetting::EmgCh1:
        case GroupSetting::EmgCh2: {
            const bool first = setting == GroupSetting::EmgCh1;
            (first ? f.EmgCH1[group] : f.EmgCH2[group]) = row;
            // An emergency channel on an FM-only row is sent in FM.
            if (IsFixFM(value + 1, group, mode))
                (first ? f.EmgMode1[group] : f.EmgMode2[group]) = 0;
            break;
        }
        case GroupSetting::EmgMode1:
        case GroupSetting::EmgMode2: {
            const bool first = setting == GroupSetting::EmgMode1;
            const int emgRow = (first ? f.EmgCH1[group] : f.EmgCH2[group]) + 1;
            stored = IsFixFM(emgRow, group, mode) ? 0 : std::clamp(value, 0, 1);
            (first ? f.EmgMode1[group] : f.EmgMode2[group]) = static_cast<u8>(stored);
            break;
        }
        case GroupSetting::Valid:
            if (doc.CountCHInGroup(group, mode) < 1) {
                // A group without channels is not used; the radio needs one that is.
                f.GroupValid[group] = 0;
                doc.EnsureValidGroup(mode);
            } else if (doc.CountOtherValidGroups(group, mode) > 0) {
                f.GroupValid[group] = static_cast<i16>(std::clamp(value, 0, 1));
            } else {
                f.GroupValid[group] = 1; // the last group in use stays in use
            }
            stored = f.GroupValid[group];
            break;
        }
    });
    return stored;
}

QVector<int> emergencyModesToFm(Document& doc, int group, const std::array<int, 2>& emgBefore) {
    QVector<int> changed;
    const int mode = doc.CountryMode;
    if (mode != 0 || !hasGroupSettings(group, mode)) return changed;
    FuncRec& f = doc.RadioData.Func;
    const std::array<i16*, 2> emg{&f.EmgCH1[group], &f.EmgCH2[group]};
    const std::array<u8*, 2> modes{&f.EmgMode1[group], &f.EmgMode2[group]};
    for (int k = 0; k < 2; ++k) {
        if (*emg[k] == emgBefore[k] || !IsFixFM(*emg[k] + 1, group, mode) || *modes[k] == 0)
            continue;
        *modes[k] = 0;
        changed << k + 1;
    }
    return changed;
}
