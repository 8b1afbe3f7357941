#pragma once

// One row of a radio-wide settings window: a label and a list whose pick stores one field of
// a record. The windows' rows are tables of these (settingsforms.h), one line per row; one
// form class in the GUI builds, shows and stores them.
//
// Showing a row never stores anything; a pick goes through set(), which changes the record
// through the Document's Edit* operations, so the change is announced like any other.

#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>

class Document;

// What a pick stores and how a stored value is found among the items.
enum class Store {
    Index,  // the item's position (plus base); shown: the item at value - base, else item 0
    Number, // the number the item shows (def when it shows none); shown: the item equal to it
    Scaled, // the number the item shows divided by scale, rounded half to even; shown: the
            // item equal to value × scale, else item 0
};

struct SettingsField {
    QString name;      // objectName of the list, "Combo1_5" for the element Combo1(5)
    QString labelName; // objectName of its label
    int label = 0;     // text id of the label
    std::function<int(const Document&)> get;
    std::function<void(Document&, int)> set;
    // The items; computed from the document each time the row is shown, so lists that follow
    // the document (power levels, usable tone tips, defined DTMF codes) stay current.
    std::function<QStringList(const Document&)> items;
    Store store = Store::Index;
    int def = 0;                // Number: stored when the picked item shows no number
    int scale = 1;              // Scaled
    int base = 0;               // Index: the value the first item stands for
    unsigned hiddenInModes = 0; // bit m set: the row is hidden in country mode m
    // What an item means, by its position; the list shows it after the item ("MOD — modulation
    // AM/FM") and as the item's tooltip. The item alone stays what is stored and printed.
    // Empty: the items speak for themselves.
    std::function<QString(int index)> note;

    // --- Building a row, one call per property ---
    SettingsField& withItems(std::function<QStringList(const Document&)> f);
    SettingsField& withItems(const QStringList& fixed);
    SettingsField& asNumber(int defaultValue);
    SettingsField& scaledBy(int factor);
    SettingsField& indexFrom(int firstValue);
    SettingsField& hiddenIn(std::initializer_list<int> modes);
    SettingsField& withNotes(std::function<QString(int index)> f);

    bool hiddenInMode(int mode) const {
        return mode >= 0 && mode < 32 && (hiddenInModes >> mode) & 1;
    }
    // The item that shows the stored value (-1 only for an empty list, or for a Number row
    // whose value is no item's text and whose list is empty).
    int shownIndex(const Document& doc, const QStringList& list) const;
    // The value that picking item index of list stores.
    int valueOfPick(const QStringList& list, int index) const;
    // Stores the pick through set().
    void pick(Document& doc, const QStringList& list, int index) const;
};

// --- Item lists ---
namespace settingsitems {
QStringList offOn();                                   // "Off", "On" (texts 16040, 16110)
QStringList numbers(int from, int to, int step = 1);   // "from", ... "to"
QStringList texts(std::initializer_list<int> textIds); // language texts
// The decimal numbers from..to (times factor) each followed by a language text.
QStringList numbersWithUnit(int from, int to, int factor, int unitText);
} // namespace settingsitems
