#pragma once

// Commands on a range of rows of one channel group, as the channel table offers them: copy,
// cut (copy and delete), paste, insert empty rows, delete rows, and move rows up or down.
//
// Rows are 1-based positions in a group, as in the table. Every command works on the
// document's channel list through the rules of the channel windows:
//   - which commands apply to a group is the rule source's (rowCommandAccess): the rows of a
//     national plan of the CB mode are the plan's channels, so they are never deleted,
//     inserted, cut or moved, and a paste into them keeps each row's frequency and takes the
//     other fields (the rows whose frequency was kept are reported);
//   - a delete closes the gap (the following rows of the group move up) and an insert opens
//     one (the following rows move down); no command pushes a programmed row out of its group
//     or deletes what the radio needs (the VFO channel, the last MEM channel, the last channel
//     up to 400): such a command is refused as a whole and changes nothing;
//   - a pasted channel passes the rules of its new place: the band and the 5 kHz raster in
//     modes 1 and 2, FM only where the group allows only FM, tone tips and DTMF codes this
//     document defines, the fields the CB mode has not;
//   - the working and emergency channels of the group follow a moved channel, and a setting
//     whose channel is gone falls back as after any deletion (RefreshGroupCHs).
// Every changed channel is announced with channelChanged and the group settings with
// groupSettingsChanged, so that open windows redraw.

#include "channeledit.h"
#include "records.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class Document;

// The clipboard's private format: the exact channel records of a row range.
inline constexpr char ChannelClipMimeType[] = "application/x-mzprog-channels";

struct ChannelClip {
    int mode = 0;     // the country mode the rows were copied in
    int group = 0;    // the group they were copied from
    int firstRow = 1; // the row of the first entry there
    // One entry per row of the range, in order; an empty row has no record.
    QVector<std::optional<CHInfoRec>> rows;

    int channelCount() const;
    bool isEmpty() const { return rows.isEmpty(); }
};

// What a command did, row by row. A refused command changed nothing.
struct RowNote {
    int row = 0;   // the row in the target group
    QString where; // "DE 10"
    bool skipped = false;
    TextNote note; // why it was skipped, or what was adjusted
    int field = 0; // the field id the note is about (0: the row as a whole)
};

struct RowCommandReport {
    TextNote refusal; // set when the whole command was refused (nothing changed)
    int changedRows = 0;
    QList<RowNote> notes;
    QList<TextNote> remarks; // about the pasted text as a whole (columns that were not read)

    bool refused() const { return refusal.id != 0; }
    int skipped() const;
    int adjusted() const;
    // One line per note, in the current language ("DE 41: set to FM: this row is FM only").
    QStringList lines() const;
    // One sentence for a status line: "3 rows changed, 1 adjusted, 0 skipped."
    QString summary() const;
};

// The records of rows first..last of a group (rows outside the group are left out).
ChannelClip CopyRows(const Document& doc, int group, int first, int last);

// Deletes rows first..last; the following rows of the group move up and the last rows of the
// group become empty.
RowCommandReport DeleteRows(Document& doc, int group, int first, int last);

// Inserts count empty rows before row at; the following rows move down. Refused when a
// programmed row would be pushed out of the group.
RowCommandReport InsertRows(Document& doc, int group, int at, int count);

// Puts the clip's rows into rows at, at + 1, ... of the group, replacing what they held; an
// empty clip row empties its target row. Rows that would lie beyond the group are skipped.
RowCommandReport PasteRows(Document& doc, int group, int at, const ChannelClip& clip);

// Moves rows first..last one row up (delta -1) or down (delta +1); the neighbouring row takes
// their place. Refused at the group's edge.
RowCommandReport MoveRows(Document& doc, int group, int first, int last, int delta);

// Reorders the channels of a group by frequency, ascending or descending: the programmed rows
// go to the top of the group in that order (equal frequencies keep their order, a damaged
// frequency comes last), the empty rows follow. The settings follow their channels. Refused
// where the rows may not move (rowCommandAccess).
RowCommandReport SortGroupRows(Document& doc, int group, bool descending);

// Gives rows first..last the frequencies start, start + step, ... (MHz) through the typing rule
// of each row (the band and its raster); an empty row becomes a channel. Refused where the
// frequencies are not typed (rowCommandAccess).
RowCommandReport FillFrequencies(Document& doc, int group, int first, int last, double start,
                                 double step);

// Sets the given fields (field id and value, as EditChannelField takes them) on the channels
// of rows first..last, each value through the typing rule of its row. A channel using the
// public channel's data is switched off it first when Public is set off, and on again last
// when Public is set on, so that its own fields can be given. Every value that was adjusted or
// refused is a note with its reason; a row where every value was refused (an empty row, for
// one) counts as skipped.
struct FieldValue {
    int id = 0;
    QString value;
};
RowCommandReport EditRows(Document& doc, int group, int first, int last,
                          const QList<FieldValue>& values);

// The private clipboard format and back. Decoding checks everything (the bytes may come from
// another program): nothing on any fault.
QByteArray EncodeChannelClip(const ChannelClip& clip);
std::optional<ChannelClip> DecodeChannelClip(const QByteArray& bytes);

// The clip as tab-separated text for spreadsheets: one line per row; column k holds field id
// k (the frequency as the lists show it, then Public, DUP, OffSetFre, TSQ, ... TDCT as the
// numbers the radio image stores); an empty row is an empty line.
QString ChannelClipToText(const Document& doc, const ChannelClip& clip);

// Pastes tab-separated text (a frequency column first, any further columns as above) into
// rows at, at + 1, ... through the rules of typing each value (EditChannelField); a header
// line and a final empty line are ignored. In a national plan the frequency column is not
// taken (see above). A text longer than MaxChannelTextChars is refused before it is read.
RowCommandReport PasteRowsText(Document& doc, int group, int at, const QString& text);
// The refusal of a text longer than MaxChannelTextChars, with its size and the limit in kB;
// id 0 for a text a paste reads.
TextNote tooMuchChannelText(const QString& text);

// Whether a clip or text on the clipboard holds anything paste could use.
bool LooksLikeChannelText(const QString& text);
