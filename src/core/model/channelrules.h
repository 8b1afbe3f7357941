#pragma once

// The rules of the channel slots, in one place. For a slot (a group and a row of the
// document's country mode) and a channel field it answers:
//   - whether the field may be edited there, and why not (fieldAccess);
//   - which values are offered (offeredValues);
//   - what a given value becomes: stored as it is, adjusted with the reason, or refused with
//     the reason (judgeValue), without storing anything;
// and for a group, which row commands apply (rowCommandAccess). The channel table, the edit
// dialog, the memory frequency dialog, the row commands, the paste, the channel import and
// `mzcli set` ask here; none of them decides from what a cell shows.
//
// The kinds of slot:
//   PlanRow  a row of a national plan of the CB mode (EU .. IN): the row is the plan's channel,
//            its frequency is the plan's and never typed, and its row number is its channel
//            number on the radio, so rows are neither deleted, inserted nor moved;
//   Mem      a MEM channel; in the CB mode it takes the frequency of a plan channel;
//   Vfo      the VFO channel of the HF and HAM modes: never deleted, no scan setting;
//   Bank     a channel of the banks A .. J of the HF and HAM modes: any frequency of the band on
//            the 5 kHz raster;
//   NoGroup  a channel number that no group of the mode shows (361..401 in the CB mode).

#include "records.h"
#include "textnote.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <array>
#include <optional>
#include <utility>

class Document;

enum class SlotKind { PlanRow, Mem, Vfo, Bank, NoGroup };

struct ChannelSlotRef {
    int mode = 0;
    int group = -1;
    int row = 0; // 1-based position in the group
    int chNo = 0;
    SlotKind kind = SlotKind::NoGroup;
};

// The slot of row `row` of a group; NoGroup when the group has no such row.
ChannelSlotRef slotAt(const Document& doc, int group, int row);
// The slot of a channel number; NoGroup (with the number) when no group shows it.
ChannelSlotRef slotOfChannel(const Document& doc, int chNo);
// The kind of the rows of a group (NoGroup for a group the mode has not).
SlotKind groupKind(int group, int mode);

// The group and row (1-based) of a channel number in a country mode; false when the number
// belongs to no group of the mode (361..401 in mode 0).
bool ChannelSlot(int chNo, int mode, int& group, int& row);
// Whether a channel can only use FM (mode 0: the CE and UK plans, DE channels 41 and above).
bool IsFixFM(int row, int group, int countryMode);
// Whether DTMF code n (1..16) holds digits.
bool DtmfCodeDefined(const Document& doc, int n);

// The range of values a list field offers a channel (the power's depends on the channel's
// modulation); nullopt for the frequency and for an unknown field.
std::optional<std::pair<int, int>> fieldRange(const CHInfoRec& rec, int id);

// How a field of a slot can be edited.
enum class FieldState {
    Editable, // typed or chosen from offeredValues
    Pick,     // chosen from offeredValues only, through its own dialog (a CB MEM frequency)
    Disabled, // shown, not editable now (why says what would change that)
    Hidden,   // the slot has no such field
};

struct FieldAccess {
    FieldState state = FieldState::Editable;
    TextNote why; // id 0 when editable
    bool editable() const { return state == FieldState::Editable; }
};

FieldAccess fieldAccess(const Document& doc, const ChannelSlotRef& slot, int id);

// The values offered for a field, as the radio image stores them (list positions, tone
// indices, "02718500" for a frequency). An empty list for a frequency means it is typed: any
// value of the band, on the raster. A plan row offers its plan frequency; a CB MEM channel
// the frequencies of the plan channels the document holds.
QStringList offeredValues(const Document& doc, const ChannelSlotRef& slot, int id);

// Where a value comes from. A frequency is judged alike from every source: one outside the band
// (or, for a MEM channel of the CB mode, one no plan channel has) is refused, one between two
// points of the 5 kHz raster is lowered to the raster. The transmit offset differs: a person
// typing it in a window gets it moved into 5..1000 kHz (the box's described behaviour), a value
// given on a command line or in a file is refused when it is out of range.
enum class ValueSource { Typed, Given };

struct ValueVerdict {
    EditOutcome outcome = EditOutcome::Stored;
    // What is stored: the shown frequency ("#0.00000"; empty to delete the channel) or the
    // number; for a refusal the field's present value.
    QString value;
    TextNote reason; // why adjusted or refused (id 0: nothing to say)
};

// What a value given for a field of a slot becomes. The present value of the field is kept
// as it is (Stored). The frequency is given in MHz, every other field as the number the
// radio image stores.
ValueVerdict judgeValue(const Document& doc, const ChannelSlotRef& slot, int id,
                        const QString& value, ValueSource source);

// The rows of a group that hold a channel, one flag per row.
QVector<bool> programmedRows(const Document& doc, int group);

// Whether a group may go from the programmed rows `before` to `after` (one flag per row, as
// programmedRows gives them) and still hold what the radio needs: the VFO channel, a MEM
// channel when it had one, a channel up to 400 when the document had one. The one rule for
// every deletion (a typed empty frequency, the row commands, a paste); id 0 when allowed.
TextNote deletionRefusal(const Document& doc, int group, const QVector<bool>& before,
                         const QVector<bool>& after);

// The row commands of the channel table. Sort reorders a group's channels by frequency; Fill
// gives rows a series of typed frequencies; Edit sets fields of many channels (each value is
// judged for its own slot).
enum class RowCommand { Copy, Cut, Paste, Insert, Delete, MoveUp, MoveDown, Sort, Fill, Edit };

struct RowCommandAccess {
    bool allowed = true;
    TextNote why;
    // A paste keeps the frequency of every row it lands on (a national plan) and takes only
    // the other fields.
    bool keepsFrequencies = false;
};

// Whether a command applies to the rows of a group at all (the rows chosen are checked by the
// command itself: a group's edge, rows pushed out, channels the radio needs).
RowCommandAccess rowCommandAccess(const Document& doc, int group, RowCommand command);

// Why the frequency a channel already holds (read from a radio, an older file) is one the rules
// would not take now: a CB MEM channel that is no plan channel, a bank channel outside the band.
// The channel is kept and written as it is; the table and `mzcli show` mark it. Id 0: fine.
TextNote heldFrequencyNote(const Document& doc, const ChannelSlotRef& slot);

// --- Group settings ---
// The settings of a group that the channel table chooses: the working channel, the two
// emergency channels with their modulation, and whether the group is used. Rows are stored as
// row - 1; the modulation 0 FM, 1 AM; Valid 0 or 1.
enum class GroupSetting { WorkCh, EmgCh1, EmgCh2, EmgMode1, EmgMode2, Valid };

// Whether a group setting can be chosen now: an emergency channel on an FM-only row is sent in
// FM, so its modulation is not chosen; the VFO group has none of these settings, the MEM group
// only its working channel.
FieldAccess groupSettingAccess(const Document& doc, int group, GroupSetting setting);

// Stores a group setting with what follows from it, as one change of the group settings:
//   - an emergency channel moved to an FM-only row is sent in FM;
//   - a group without channels is not used (and another group with channels is used instead
//     when none would be); the last group in use stays in use;
//   - a modulation that the emergency row does not allow stays FM.
// Returns what was stored (the setting's value afterwards).
int setGroupSetting(Document& doc, int group, GroupSetting setting, int value);

// After a row command moved the emergency channels of a group (emgBefore: their rows before,
// stored as row - 1), the ones that landed on an FM-only row with AM chosen are set to FM.
// Returns which of them (1, 2) were set, for the command's report.
QVector<int> emergencyModesToFm(Document& doc, int group, const std::array<int, 2>& emgBefore);

// The frequency a plan row keeps: the one the document holds there, else the plan's
// (stored form, 8 digits); empty when the plan has no channel in that row.
QString planFrequency(const Document& doc, const ChannelSlotRef& slot);

// The limit of channel text a paste reads: room for every channel number with all its
// fields, a header and generous spacing. Anything longer is no channel list.
inline constexpr int MaxChannelTextChars = 409 * 256;
