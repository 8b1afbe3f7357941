#pragma once

// What a document that has no file of its own is called: it is named by what it is, so that
// the title bar never shows a file that does not exist.

#include <QDateTime>
#include <QString>

class Document;
class LinkSession;

// "read from the radio 2026-12-07 15:22"
QString RadioReadTitle(const QDateTime& when);
// "backup of 2026-12-07 15:22" for a file of the backups folder (the time from its name);
// "backup NAME" for any other file.
QString BackupTitle(const QString& path);

// Hands a successful read to the document: the image the session read, as an unnamed document
// titled by the read and not yet saved anywhere. The undo history is the caller's.
void AdoptRadioRead(Document& doc, const LinkSession& session,
                    const QDateTime& when = QDateTime::currentDateTime());
