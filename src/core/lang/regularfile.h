#pragma once

// The one rule for every file the program reads or appends to: only regular files. A FIFO
// would block a reader for ever, a device such as /dev/zero never ends, and renaming or
// appending to a device node or a socket would do something to it. Whatever is read is looked
// at before it is opened, opened without waiting, and looked at again (it may have been
// swapped in between). The layers above turn the outcome into a sentence (files/fileio.h).

#include <QByteArray>
#include <QString>

enum class RegularFileError {
    None,
    System,     // the system's reason is in RegularFileStatus::reason
    NotRegular, // a FIFO, a device, a socket
};

struct RegularFileStatus {
    RegularFileError error = RegularFileError::None;
    QString reason;  // the system's own words ("No such file or directory") for System
    qint64 size = 0; // the file's size as the system tells it, read or not
    bool ok() const { return error == RegularFileError::None; }
};

// Reads at most maxBytes bytes of the regular file at path. status.size tells how large the
// file is, so that a caller with a limit refuses a longer file without reading it.
RegularFileStatus ReadRegularBytes(const QString& path, qint64 maxBytes, QByteArray& out);

// Opens path for appending (created when absent) with the rule above: it must be absent or a
// regular file (links followed), never a FIFO, a device or a socket, and it is opened without
// waiting for a reader. -1 with status set on failure; the caller owns the descriptor. Without
// POSIX: -1 with status ok when the look passed, and the caller opens the file itself.
int OpenForAppend(const QString& path, RegularFileStatus& status);
