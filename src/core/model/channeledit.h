#pragma once

// Changing one channel field the way a person changes it in the channel windows, for callers
// without a window (scripted edits, channel imports): the same normalisation through
// SetCHValue, and the same refusals that the table and the edit dialog make by disabling,
// hiding or not offering a choice. A refusal names its reason as a text identifier with its
// arguments, so that every caller can show it in the user's language.

#include <QString>
#include <QStringList>

class Document;

// A text identifier with the values for its %1, %2, ...
struct TextNote {
    int id = 0;
    QStringList args;
    QString text() const;
};

// A value from a file or a command line as it can be shown: control characters become "?",
// and a long value is cut.
QString PrintableValue(const QString& value);

enum class EditOutcome { Stored, Adjusted, Refused };

struct EditResult {
    EditOutcome outcome = EditOutcome::Stored;
    QString before;  // the field's value before, as the stored number or the shown frequency
    QString after;   // after the edit (equal to before when refused)
    TextNote reason; // why the value was refused or changed (id 0: nothing to say)
};

// The channel fields by their names in the radio image (RxFre, DUP, ..., TDCT): the field
// index, or 0 for an unknown name; and back.
int ChannelFieldIndex(const QString& name);
QString ChannelFieldName(int id);
QStringList ChannelFieldNames();

// The group and row (1-based) of a channel number in a country mode; false when the number
// belongs to no group of the mode (361..401 in mode 0).
bool ChannelSlot(int chNo, int mode, int& group, int& row);
// "EU 19", "A 7", "MEM 3", "VFO"; "CH n" for a number in no group.
QString ChannelSlotName(int chNo, int mode);

// Whether a channel can only use FM (mode 0: the CE and UK plans, DE channels 41 and above).
bool IsFixFM(int row, int group, int countryMode);
// Whether DTMF code n (1..16) holds digits.
bool DtmfCodeDefined(const Document& doc, int n);

// Sets field id of channel chNo to value: the frequency as MHz text (empty deletes the
// channel where that is allowed), every other field as the number the radio image stores
// (the list position of the windows). Nothing is stored when the result is Refused. The
// document's prompter is not used: what the windows would warn about is in the result.
EditResult EditChannelField(Document& doc, int chNo, int id, const QString& value);
