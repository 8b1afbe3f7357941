#pragma once

// The shell state that the start routine sets up and that lives for the whole run.

#include "../lang/langtext.h"

#include <QPair>
#include <QString>
#include <QVector>
#include <array>

struct AppState {
    QString ProgramDir;  // folder of the executable
    QString ProgramRoot; // its parent: Version.ini and language/mysetup.ini live there
    // The number the settings file keeps: 1 English, 2 Chinese, 3 any other language (the
    // system's, or the file in LangChoice); another number is kept as it was read.
    Language CurLanguage = Language::English;
    QString LangFile = QStringLiteral("english.ini"); // the language file the texts come from
    // With CurLanguage 3: the language file chosen; empty when the system's language is meant.
    QString LangChoice;
    QString ShownLangFile = LangFile; // the language the main window's texts were built in
    int ComPort = 1;                  // 1 = COM1
    QString PortName; // a device path chosen instead of a COM number; empty when COMn is used
    bool IsFirstRun = true;
    int IsVista = 0; // stays 0 off Windows
    bool HelpEnabled = false;
    std::array<unsigned char, 4> SettingBytes{0, 0, 0, 1};
    QString AppTitle;

    static AppState& instance();

    QString mysetupPath() const;
    QString versionIniPath() const;
    QString settingPath() const;
    QString langDir() const;

    // Makes a language current: CurLanguage, and LangFile when the language is known, and
    // the text lookup then reads langDir()/LangFile. An unknown language keeps LangFile.
    void UseLanguage(Language language);
    // Makes the language of a file in langDir() current: CurLanguage 1 for english.ini, 2 for
    // chinese.ini, else 3 with LangChoice naming the file.
    void UseLanguageFileNamed(const QString& file);
};

inline AppState& App() {
    return AppState::instance();
}

// The program directory with its last path component removed (the directory itself when it
// has no parent component).
QString ProgramRootOf(const QString& programDir);
