#pragma once

// The shell state that the start routine sets up and that lives for the whole run.

#include <QPair>
#include <QString>
#include <QVector>
#include <array>

struct AppState {
    QString ProgramDir;  // folder of the executable
    QString ProgramRoot; // its parent: Version.ini and language/mysetup.ini live there
    int CurLanguage = 1; // 1 English, 2 Chinese
    int ShownLanguage = 1;
    QString LangFile = QStringLiteral("english.ini");
    int ComPort = 1;  // 1 = COM1
    QString PortName; // a device path chosen instead of a COM number; empty when COMn is used
    bool IsFirstRun = true;
    int IsVista = 0; // stays 0 off Windows
    bool HelpEnabled = false;
    std::array<unsigned char, 4> SettingBytes{0, 0, 0, 1};
    QVector<QPair<QString, QString>> FirmPairs; // (program version, data version)
    QString AppTitle;

    static AppState& instance();

    QString mysetupPath() const;
    QString versionIniPath() const;
    QString settingPath() const;
    QString langDir() const;
};

inline AppState& App() {
    return AppState::instance();
}

// The program directory with its last path component removed (the directory itself when it
// has no parent component).
QString ProgramRootOf(const QString& programDir);
