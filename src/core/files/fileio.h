#pragma once

// Reading and writing whole files with a reason for every failure that a person can act on
// (the system's own words: "Permission denied", "No space left on device", ...).
//
// Only regular files are read or replaced. A FIFO would block a reader for ever, and renaming
// a new file over a device node or a socket would destroy it (as root, even /dev/null).

#include <QByteArray>
#include <QString>

// The file a write to path really lands on: symbolic links are followed to their target (a
// link to a missing file gives that missing file). path itself when it is no link.
QString WriteTargetOf(const QString& path);

// Reads a regular file of at most maxBytes bytes. False with *why set (one sentence naming the
// file) when it is missing, unreadable, not a regular file or longer than maxBytes; a FIFO or a
// device is refused at once, without waiting for a writer.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& out, QString* why);

// What a file read as input holds; each kind has a size limit far above anything real and far
// below what would hurt to hold in memory.
enum class InputKind { ChannelList, PlanTable };

// Reads a whole input file by the rule of ReadRegularFile, and refuses one larger than the
// limit of its kind without reading it ("c.csv is too large for a channel list (97 MB).").
bool ReadInputFile(const QString& path, InputKind kind, QByteArray& out, QString* why);

// Whether a write to path can succeed as far as can be told without writing it: the target is
// a regular file or absent, and its folder exists and takes a new file. False with *why set.
bool CheckWritableTarget(const QString& path, QString* why);

// "path: reason", the detail shown below a file message.
QString FileFailure(const QString& path, const QString& reason);
// "path is not a regular file."
QString NotRegularFile(const QString& path);
