#pragma once

#include <QString>

// The languages of the interface. The settings file stores the number; a number that is
// neither is kept as it was read (and written back), while the texts stay in the language
// that was chosen before.
enum class Language : short { English = 1, Chinese = 2 };

// The language file of a language ("english.ini", "chinese.ini"); empty for an unknown one.
QString LangFileName(Language language);

// The language-file section that an identifier lives in.
QString LangSection(int id);
// The text of an identifier in the current language file; empty when the file, section or key
// is missing. Values are cut at 254 bytes (on a character boundary) and trimmed.
QString LoadLangText(int id);
// Lookup in a given file (used by the language dialog's tests and by tools).
QString LoadLangTextFrom(const QString& path, int id);
// The path of the current language file, and the one place that changes it.
QString LangFilePath();
void UseLanguageFile(const QString& path);
