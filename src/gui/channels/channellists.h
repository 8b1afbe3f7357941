#pragma once

// The item lists of the channel windows and the small list helpers they share. A list's
// position is what the record stores; the words ("Off", "On", "Del", "Add", "Disable",
// "Enable") are language texts 14600 to 14605, the names ("FM", "+", "EU") are fixed.
// Everything lives in namespace channels so that it cannot clash with the helpers of other
// windows.

#include <QStringList>

class QComboBox;
class QWidget;

namespace channels {

QStringList OffOnItems();              // "Off", "On"
QStringList DupItems();                // "Off", "+", "-"
QStringList ScanItems();               // "Del", "Add"
QStringList ToneItems();               // "Off", then the CTCSS tones and DCS codes (ToneNames)
const QStringList& ModulationItems();  // "FM", "AM"
QStringList GroupValidItems();         // "Disable", "Enable" (index = flag)
const QStringList& CountryItems();     // mode 0 plans without "UK", then "MEM"
const QStringList& CountryPairItems(); // "U", "UK"

// The item at index, the first item when index is outside the list, "" for an empty list.
QString ItemAt(const QStringList& items, int index);
// Selects the item equal to text, else the first item; selects nothing when the list is
// empty. Emits no activated() signal (the callers run the click handlers themselves).
void SelectItemByText(QComboBox* box, const QString& text);
// Selects the item at index, the first item when index is outside the list.
void SelectItemAt(QComboBox* box, int index);
// Replaces the items without emitting any signal; nothing is selected afterwards.
void FillList(QComboBox* box, const QStringList& items);
// The selected text read as a number; def when nothing is selected or it is not numeric.
int ListNumber(const QComboBox* box, int def);

} // namespace channels
