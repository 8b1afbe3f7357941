#pragma once

// The languages the program can speak are the language files beside it: each file names itself
// in its first section,
//
//   [Language]
//   Name=Deutsch
//   Locale=de
//
// (its own name, as the language window lists it, and the ISO 639-1 code that matches it with
// the system's language and names its manual folder). A new file is a new language.

#include <QList>
#include <QLocale>
#include <QString>

struct LanguageInfo {
    QString file;   // "german.ini", a plain file name inside the language folder
    QString name;   // "Deutsch"
    QString locale; // "de"
};

// What a language file says of itself; english.ini and chinese.ini without the section are
// still English and Chinese. An empty name for a file that is no language file.
LanguageInfo LanguageOfFile(const QString& path);
// Every language file in dir: English and Chinese first, the program's first two languages,
// then the others by their own names.
QList<LanguageInfo> FindLanguages(const QString& dir);
// The file of the language a locale speaks, among languages; empty when none speaks it.
// Chinese is the Simplified Chinese of chinese.ini: a Traditional Chinese system gets none.
QString LanguageFileFor(const QList<LanguageInfo>& languages, const QLocale& locale);
// Whether name can be a language file's name in the language folder (no path, ends in .ini).
bool IsLanguageFileName(const QString& name);
// The locale whose language the user asks for: LC_ALL, else LC_MESSAGES, else LANG, as the C
// library decides the language of messages ("C": none, English). With none of them set, the
// system's own setting on Windows, English elsewhere.
QLocale EnvironmentLocale();
// The ISO 639-1 code of the current language file ("en" when it says none).
QString CurrentLangLocale();
