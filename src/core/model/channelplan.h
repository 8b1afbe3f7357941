#pragma once

// Channel plans kept as readable tables (data/channelplans/*.csv) and built into documents:
// the national CB plans of mode 0 and the 10 m FM set of mode 2 become the initial-data files
// that a new document starts from.
//
// A table is CSV with a header line; the columns are found by name, in any order:
//   channel     document channel number (first channel of the group + row)
//   group, row  group name of the country mode and 1-based row in it
//   stored_mhz  the frequency as the document stores it (100 Hz steps); empty: no channel
//   shown_mhz   the frequency as the channel lists show it (UK rows end in 125)
//   fm_only     "yes" where only FM is allowed, "no" otherwise
//   dup         optional: "", "Off", "+" or "-"
//   offset_khz  optional: the transmit offset in kHz (5..1000, a multiple of 5)
//   note        optional free text
// Rows of the table that a group does not list keep what the new document gave them.

#include <QByteArray>
#include <QString>
#include <QVector>
#include <optional>

class Document;

struct PlanRow {
    int line = 0; // line of the table, for messages
    int chNo = 0;
    int group = 0; // group index in the table's country mode
    int row = 0;
    QString stored; // 8 digits, empty for a row without a channel
    QString shown;  // "#0.00000", with the list's UK/MEM ending
    bool fmOnly = false;
    std::optional<int> dup;       // 0 Off, 1 "+", 2 "-"; unset: the channel's default
    std::optional<int> offsetKhz; // unset: the channel's default
    QString note;
};

// Reads a plan table for a country mode. Every row is checked against the mode's groups
// (channel = first channel of the group + row, each channel once), the stored and the shown
// frequency must agree (the shown one as the channel lists print the stored one), a stored
// frequency must be one the radio can hold; in modes 1 and 2, where channels are typed, it
// must also lie in the band on the 5 kHz raster. On the first fault, returns nothing and
// *error holds one sentence that names the line.
std::optional<QVector<PlanRow>> ParsePlanTable(const QByteArray& csv, int mode, QString* error);

// Builds the plan into a document that holds a new document of the table's mode: every
// channel is created or changed through the document's own channel operations, so it gets
// the fields of a channel made by hand; FM-only rows are set to FM with their own settings
// (Public off, so the public channel's modulation cannot override them); rows with a duplex
// setting get it with their own settings too; rows without a frequency are left empty; the
// MEM rows go in last through the channel value setter, as the memory frequency dialog
// stores them. Afterwards every row is compared with the document; a row that did not come
// out as the table says (a MEM frequency that is no plan channel) gives false and *error.
bool ApplyPlan(Document& doc, const QVector<PlanRow>& rows, QString* error);
