#pragma once

#include <QString>

// The languages of the interface as the settings file numbers them. Other is every language
// beyond the first two: the system's, or the language file the settings name beside the
// number (languages.h). A number that is none of these is kept as it was read (and written
// back), while the texts stay in the language that was chosen before.
enum class Language : short { English = 1, Chinese = 2, Other = 3 };

// The language file of a language ("english.ini", "chinese.ini"); empty for any other.
QString LangFileName(Language language);

// The language-file section that an identifier lives in.
QString LangSection(int id);
// The text of an identifier in the current language file; empty when the file, section or key
// is missing. Values are cut at 254 bytes (on a character boundary) and trimmed.
QString LoadLangText(int id);
// Lookup in a given file (used by the language dialog's tests and by tools).
QString LoadLangTextFrom(const QString& path, int id);
// Any value of a language file, read through the same cache ("Language", "Name").
QString LangFileValue(const QString& path, const QString& section, const QString& key);
// The path of the current language file, and the one place that changes it.
QString LangFilePath();
void UseLanguageFile(const QString& path);
