#pragma once

// Channel lists as comma-separated files in the column format that radio owners exchange:
//
//   Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,
//   RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE
//
// Every cell holds a value the common readers of that format accept (their reader drops a
// row whose tone or power cell is empty or whose power is not in watts). What the format has
// no column for travels in Comment as key=value pairs, so that an export read back by this
// program loses nothing. Power levels are written in watts by a convention, not a
// measurement: Low 1W, Medium 2W, High 4W.

#include "../model/channeledit.h"
#include "../model/records.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class Document;

const QStringList& ChannelCsvColumns();
// The columns of a header line by name (whatever their case and order) to their positions; a
// column this program does not read and a column named a second time are told in remarks (only
// the first of two is read).
QHash<QString, int> ChannelCsvHeader(const QStringList& header, QList<TextNote>& remarks);
// The watts written for a power level 0..2, and the level nearest to a wattage.
double PowerLevelWatts(int level);
int PowerLevelOfWatts(double watts);

struct ChannelCsvExport {
    QByteArray csv;
    QStringList skipped; // channels left out (no frequency or a damaged one), one line each
};
// One row per channel in use, sorted by channel number.
ChannelCsvExport ExportChannelsCsv(const Document& doc);

// The cells of one channel in the order of ChannelCsvColumns, as the export writes them; an
// empty list when its frequency is missing or damaged.
QStringList ChannelCsvCells(const CHInfoRec& c, int mode, double freLow);

// What one row of channel columns asks for. columns maps the names of ChannelCsvColumns to
// the positions of the row's cells.
struct CsvChannelRow {
    bool empty = false;               // no frequency and no other value: an empty row
    std::optional<CHInfoRec> channel; // the channel asked for (CHNo 0, frequency stored)
    TextNote skip;                    // why the row cannot be taken (no channel)
    QList<TextNote> notes;            // what reading changed (NFM read as FM, a wattage moved)
};
CsvChannelRow ReadChannelCsvRow(const QHash<QString, int>& columns, const QStringList& cells,
                                double freLow);

// Empty: a row with no value but its Location and Name asks for nothing and is passed over;
// it is told, but it is no failure (the totals count it as skipped).
enum class RowOutcome { Imported, Adjusted, Skipped, Empty };

struct ImportRowReport {
    int line = 0;  // file line of the row
    int chNo = 0;  // target channel, 0 when none could be found
    QString where; // "A 7", or the Location as written
    RowOutcome outcome = RowOutcome::Imported;
    // Adjusted: "field: old -> new" and why (a name the radio cannot keep: "Name: "Home"" and
    // that it was dropped); Skipped: the reason (one note).
    QList<TextNote> notes;
    QStringList changes; // "Frequency: 28.00625 -> 28.00500", parallel to notes when adjusted
};

struct ChannelImportOptions {
    int group = -1;   // -1: every row to its Location; else consecutive rows of this group
    int startRow = 1; // the first row used in that group
};

struct ChannelImportReport {
    // Set when the file as a whole is refused (nothing was changed): a Msg text id and detail,
    // and the line it is about when it is one line's fault (bytes that are no text).
    TextNote refusal;
    int refusalLine = 0;
    QList<TextNote> remarks; // about the file as a whole (columns not read or named twice)
    QList<ImportRowReport> rows;

    bool refused() const { return refusal.id != 0; }
    // The refusal as the detail below text 9750, naming the file (and the line): what the
    // import window and mzcli import both show.
    QString refusalText(const QString& path) const;
    int count(RowOutcome o) const;
    // The report as lines of text: one per row, then the totals.
    QStringList lines() const;
};

// Reads a channel CSV into doc through the rules of typing each value (EditChannelField).
// The caller passes a copy of its document when the user still has to agree (see
// CopyDocumentImage); on a refusal the document is unchanged.
ChannelImportReport ImportChannelsCsv(Document& doc, const QByteArray& bytes,
                                      const ChannelImportOptions& options = {});

// Copies the radio image and the model state (not the file state) from one document to
// another, so that an import can be tried on a copy first.
void CopyDocumentImage(const Document& from, Document& to);
