#pragma once

// Changing one channel field for callers without a window (scripted edits, channel imports,
// a pasted text): the rule source (channelrules.h) judges the value, the same one whose answers
// make the table and the edit dialog disable, hide or not offer a choice, and what it accepts
// is stored through SetCHValue. A refusal names its reason as a text identifier with its
// arguments, so that every caller can show it in the user's language.

#include "channelrules.h"
#include "textnote.h"

#include <QString>
#include <QStringList>

class Document;

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
// The field as the windows label it ("Offset Direction", "TX Power"), in the language in use.
QString ChannelFieldLabel(int id);
QStringList ChannelFieldNames();

// "EU 19", "A 7", "MEM 3", "VFO"; "CH n" for a number in no group.
QString ChannelSlotName(int chNo, int mode);

// Sets field id of channel chNo to value: the frequency as MHz text (empty deletes the
// channel where that is allowed), every other field as the number the radio image stores
// (the list position of the windows). Nothing is stored when the result is Refused. The
// document's prompter is not used: what the windows would warn about is in the result.
// The value is judged by the rule source (judgeValue) as coming from source.
EditResult EditChannelField(Document& doc, int chNo, int id, const QString& value,
                            ValueSource source = ValueSource::Given);
