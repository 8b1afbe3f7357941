#pragma once

// Channel rows as spreadsheet text and back. What a spreadsheet takes from the clipboard and
// gives back is tab-separated text; it carries the columns of the channel CSV file
// (channelcsv.h) with the same names and values, so that one set of rules reads both.
//
// Reading: a first line that names a Frequency column is a header, and the columns are found
// by their names in any order; a column this program does not read is named in the report,
// never taken for another field. Text without a header is read in the export's column order,
// unless its first cell is a frequency: that is the layout of this program's earlier text
// (frequency, then the fields by their numbers), which the row paste reads (PasteRowsText).
// The rows land in consecutive rows of a group through the row paste (PasteRows), so a pasted
// row passes the same rules as one pasted from this program's own clipboard format.

#include "../model/channelrows.h"

#include <QString>

class Document;

// A header line and one line per row of the clip; an empty row gives only its Location and Name.
QString ChannelSheetText(const ChannelClip& clip);

// Whether text on the clipboard is something the sheet paste can read.
bool LooksLikeChannelSheet(const QString& text);

struct SheetPasteReport {
    RowCommandReport rows; // changedRows: the rows taken as they were given
    int dataRows = 0;      // rows of the text without the header: changed + adjusted + skipped
};

// Pastes spreadsheet text into rows at, at + 1, ... of a group. A text longer than
// MaxChannelTextChars is refused before it is read.
SheetPasteReport PasteChannelSheet(Document& doc, int group, int at, const QString& text);
