#pragma once

// A value typed or chosen in a channel window (a table cell, the channel edit dialog) goes
// through the rule source as every other input does: a value it refuses is told and stored
// nowhere (an empty row stays empty, no undo step); a value it moved (a frequency lowered to
// the 5 kHz raster) is stored and the move is said in the status bar.

#include <QString>

class Document;

// Stores value for field id of row `row` of a group. Returns false when it was refused.
bool storeTypedValue(Document& doc, int group, int row, int id, const QString& value);

// The status line's sentence for a value that was moved: "28.0099 MHz was set to 28.00500 MHz,
// lowered to the 5 kHz raster of the band".
QString movedValueText(int id, const QString& typed, const QString& stored, const QString& why);
