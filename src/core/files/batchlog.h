#pragma once

// The record of a batch of radios: one CSV line per radio handled, appended to a file the
// dealer keeps, so that it can be told later which radio (by its serial number) got which
// image, when, and whether it verified. The file is only ever appended to: lines of earlier
// batches stay as they are, and a new file begins with a line naming the columns.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>

// Started: the line written before a radio is touched, so that a batch killed in the middle of a
// write leaves a trace of the half-written radio; its end line follows.
enum class BatchOutcome { Verified, Differs, Refused, Failed, Started };

struct BatchLogEntry {
    QDateTime when;
    QString serialNo;     // empty when the radio's information could not be read
    QString model;        // as the radio names itself
    int countryMode = -1; // as the radio reports it; -1: unknown
    QString document;     // the data file written
    QString imageSha256;  // of the 7424 bytes sent; empty when nothing was sent
    QString backup;       // the backup of the radio's old contents; empty: none
    BatchOutcome outcome = BatchOutcome::Failed;
    QString reason; // what differed, why it was refused or failed
    QString programVersion;

    // "verified", "differs: ...", "refused: ...", "failed: ...", "started".
    QString resultText() const;
};

class BatchLog {
public:
    explicit BatchLog(const QString& path) : path_(path) {}
    QString path() const { return path_; }

    // ~/Documents/mzprog-batch-YYYYMMDD.csv for the given day.
    static QString defaultPath(const QDate& day = QDate::currentDate());
    static QStringList columns();
    // The fields of one line, in the order of columns().
    static QStringList fields(const BatchLogEntry& entry);
    // The cell as written: with a leading "'" when it starts with =, +, -, @, a tab or a CR.
    static QString safeCell(const QString& cell);

    // Whether a line can be appended now (the file, or its folder, is writable); a new file
    // gets its column line here. False with *error set otherwise.
    bool check(QString* error = nullptr) const;
    // Appends one line and flushes it to the disk, on a line of its own even when the file's
    // last line has no line end. False with *error set when it could not be written whole.
    // Texts from the radio travel as text: a cell a spreadsheet would run as a formula gets a
    // leading "'".
    bool append(const BatchLogEntry& entry, QString* error = nullptr) const;

private:
    QString path_;
};
