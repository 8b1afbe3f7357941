#include "settingsplace.h"

#include <QFileInfo>
#include <QStandardPaths>

bool FolderTakesWrites(const QString& dir) {
    const QFileInfo d(dir);
    return d.isDir() && d.isWritable();
}

QString UserSettingsDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/mzprog");
}

bool UserSettingsWin() {
    return false;
}
