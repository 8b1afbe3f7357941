#pragma once

// The start routine's steps that need no window, and the settings stores it owns.

#include <QLocale>
#include <QRect>
#include <QSize>
#include <QString>

class Document;

void LoadVersionTable(Document& doc);
// Language from the system locale (the language file that speaks it, else English), model and
// band defaults.
void InitLanguageDefaults(Document& doc, const QLocale& systemLocale);
// mysetup.ini: IsFirstRun, comPort, portName, CurrentLanguage (and LanguageFile beside a 3);
// written back as described.
void ReadSharedSettings();
// Writes comPort and portName (the serial port dialog).
bool WritePortSettings();
// Writes CurrentLanguage and LanguageFile (the language dialog).
bool WriteLanguageSetting();
// Record 1 of Setting.ini into SettingBytes; 0, 0, 0, 1 when it cannot be read.
void ReadSettingBytes();
bool WriteSettingBytes();
// Steps 1 to 8, 10 and 11 of the start-up: everything but showing the splash window.
void StartUp(Document& doc, const QString& programDir,
             const QLocale& systemLocale = QLocale::system());

// The per-user window store, in twips. A missing value reads as its default.
QRect LoadMainWindowTwips();
void SaveMainWindowTwips(const QRect& twips);
// The size a child window was last closed with, by its name; an empty size when none is kept.
QSize LoadChildWindowTwips(const QString& name);
void SaveChildWindowTwips(const QString& name, const QSize& twips);
