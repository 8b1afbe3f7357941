#pragma once

// What every document command of mzcli needs before it starts: the program paths of the
// folder mzcli runs from (so the Init/ files, Version.ini and the language files of that
// installation are used), the language, and a command-line parser.

#include "core/files/opendatafile.h"

#include <QString>
#include <QStringList>

class CliPrompter;
class Document;
class QCommandLineParser;

// Like the program's start routine, but it leaves the shared settings alone: a command-line
// run is no "first run" and must not change the user's settings, and it speaks the language of
// its environment (LC_ALL, LC_MESSAGES, LANG). The document gets the start-up model and mode;
// no new document is built yet.
void CliStartUp(Document& doc);

// Opens a data file with every check of File > Open; the reasons for a refusal are printed
// through prompter, which stays the document's prompter afterwards. With Keep, a file whose only
// fault is damaged channel records is told about and opened all the same.
bool OpenCheckedDocument(Document& doc, CliPrompter& prompter, const QString& path,
                         DamagedChannelsPolicy policy = DamagedChannelsPolicy::Refuse);

// Writes bytes to path atomically; prints one sentence and returns false on failure.
bool WriteOutputFile(const QString& path, const QByteArray& bytes);
// The files WriteOutputFile has written in this run: when the standard output fails after
// them, the user learns that they were written all the same.
QStringList& WrittenOutputFiles();
// Writes the document as a .dat file (header from the model state).
bool WriteDocumentFile(Document& doc, const QString& path);

// Parses the arguments of a sub-command (without its name). Prints one sentence and returns
// false on an error.
bool ParseCliArgs(QCommandLineParser& parser, const QStringList& args);

// Parses a country mode 0, 1 or 2; false for anything else.
bool ParseCountryMode(const QString& text, int& mode);
