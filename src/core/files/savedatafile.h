#pragma once

#include <QString>

class Document;

// Writes the document to its CurFileName: the transfer copy is refreshed from the working copy
// and written as one 25611-byte image. The image goes to a temporary file beside the target,
// which then replaces the target in one rename, so a failed save (no permission, disk full,
// the program killed mid-write) leaves the previous file as it was.
// On success IsNewFile becomes 0 and stateChanged is announced. On failure message 9002 is
// shown with the file and the system's reason, and the document keeps its state, including
// its transfer copy, so the save question is still asked before the changes could be lost.
bool SaveDataFile(Document& doc);

// The one writer of every output file: bytes go to a temporary file beside the target, which
// then replaces it in one rename. A symbolic link is followed and its regular target replaced;
// a target that exists and is no regular file (a device, a FIFO, a socket, a folder) is
// refused. False on any error, with one sentence naming the file and the system's reason in
// *error when given (nothing is then changed).
bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error = nullptr);
