#include "settingsplace.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

bool FolderTakesWrites(const QString& dir) {
    // Windows' own permissions are not in the file's attributes that a look at it reports: a
    // folder in Program Files looks writable and refuses the file. Making one tells.
    if (!QFileInfo(dir).isDir()) return false;
    QTemporaryFile probe(dir + QStringLiteral("/.mzprog-write-XXXXXX"));
    return probe.open();
}

QString UserSettingsDir() {
    // %LOCALAPPDATA%\mzprog: the settings belong to this computer's user, like the backups.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mzprog");
}

bool UserSettingsWin() {
    return true;
}
