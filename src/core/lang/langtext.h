#pragma once

#include <QString>

// The language-file section that an identifier lives in.
QString LangSection(int id);
// The text of an identifier in the current language file; empty when the file, section or key
// is missing. Values are cut at 254 bytes (on a character boundary) and trimmed.
QString LoadLangText(int id);
// Lookup in a given file (used by the language dialog's tests and by tools).
QString LoadLangTextFrom(const QString& path, int id);
// The path of the current language file.
QString LangFilePath();
