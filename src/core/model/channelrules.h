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

// Where a value comes from. A person typing in a window is warned and the value is moved into
// range (the windows' described behaviour); a value given on a command line or in a file is
// refused when it is out of range, so that nothing is stored that nobody asked for.
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

// The frequency a plan row keeps: the one the document holds there, else the plan's
// (stored form, 8 digits); empty when the plan has no channel in that row.
QString planFrequency(const Document& doc, const ChannelSlotRef& slot);

// The limit of channel text a paste reads: room for every channel number with all its
// fields, a header and generous spacing. Anything longer is no channel list.
inline constexpr int MaxChannelTextChars = 409 * 256;
