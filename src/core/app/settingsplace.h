#pragma once

// Where the settings files may be written, as the system decides it
// (settingsplace_linux.cpp, settingsplace_win.cpp).

#include <QString>

// Whether files can be made and changed in the folder by this user.
bool FolderTakesWrites(const QString& dir);
// The user's own folder for the settings files.
QString UserSettingsDir();
// Whether a per-user copy, once made, is used even where the shipped folder can be written.
bool UserSettingsWin();
