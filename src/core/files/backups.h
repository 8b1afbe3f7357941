#pragma once

// The automatic copies of what the radio held: every successful read of its main memory is
// kept as a data file in the user's data folder, named by date, time, model and country mode.
// Only the newest Keep files stay; the rest are removed, oldest first.

#include "../model/records.h"

#include <QDateTime>
#include <QList>
#include <QString>

struct BackupEntry {
    QString path;
    QDateTime when; // local time of the read, from the file name
    QString model;  // from the file header, trimmed
    int mode = 0;   // country mode from the file header
    int channels = 0;
    // Read from a radio that a write of the same run had left partly written (a stopped or
    // failed write): what it holds is half old, half new.
    bool partlyWritten = false;
};

class BackupStore {
public:
    static constexpr int Keep = 100;

    // The folder holds nothing but backups; it is made when the first one is saved.
    explicit BackupStore(const QString& dir = defaultDir());
    // QStandardPaths::AppDataLocation of the program ("mzprog") + "/backups". Taken from the
    // generic data folder so that mzprog and mzcli share it whatever their own names.
    static QString defaultDir();
    // Puts the default folder elsewhere (an empty path: back to the data folder); tests keep
    // their backups in a folder of their own.
    static void setDefaultDir(const QString& dir);
    QString dir() const { return dir_; }

    // The file name for a backup made at when: yyyyMMdd-HHmmss-zzz_MODEL_MODE.dat, with
    // "_partly-written" after the mode for a partly written radio.
    static QString fileNameFor(const QDateTime& when, const QString& model, int mode,
                               bool partlyWritten = false);
    // The time a backup's file name carries; invalid for a name that is no backup's.
    static QDateTime timeOfName(const QString& fileName);

    // Writes the image as a data file and removes the oldest beyond Keep. Returns the path;
    // empty with *error set when the file could not be written (nothing else is changed then).
    QString save(const RadioDataRec& data, const ChannelList& channels,
                 const QDateTime& when = QDateTime::currentDateTime(), QString* error = nullptr,
                 bool partlyWritten = false);

    // Every backup in the folder, newest first, by the time in its name (or the file's own
    // time when the name lies in its future). Only whole data files whose header matches
    // their name are backups; anything else is left out, and never removed.
    QList<BackupEntry> list() const;

private:
    // Removes the oldest beyond Keep, never justWritten.
    void prune(const QString& justWritten) const;
    QString dir_;
};
