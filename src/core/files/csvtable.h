#pragma once

// Comma-separated values as RFC 4180 has them: fields separated by commas, records by CRLF
// (LF or CR alone are accepted too), a field that holds a comma, a quote or a line break is quoted
// and its quotes doubled. Text is UTF-8; a byte-order mark at the start is skipped.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct CsvRecord {
    int line = 0; // the file line the record starts on, from 1
    QStringList fields;
};

enum class CsvError { None, Empty, Binary, Unclosed };

struct CsvTable {
    QList<CsvRecord> records;
    CsvError error = CsvError::None;
    // For Unclosed: the line of the quote that is never closed; for Binary: the line of the
    // first byte that is no text.
    int errorLine = 0;
    QByteArray errorBytes; // for Binary: that byte and a few around it on its line
};

// Reads a whole file. Refuses an empty file, one that is not UTF-8 text (a NUL byte, a byte
// sequence that is no UTF-8; its line and bytes are kept to be named), and a quoted field
// that runs to the end of the file. Spreadsheet
// text on the clipboard is the same format with a tab as the separator.
CsvTable ReadCsv(const QByteArray& bytes, QChar separator = QLatin1Char(','));

// One record with the quoting above, ending in CRLF.
QByteArray CsvLine(const QStringList& fields, QChar separator = QLatin1Char(','));
