#include "recentfiles.h"
#include "appstate.h"

#include <QFileInfo>
#include <QSettings>

namespace {
QSettings store() {
    // The same per-user store as the window position.
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("mzprog"),
                     App().AppTitle.isEmpty() ? QStringLiteral("mzprog") : App().AppTitle);
}

const QString Key = QStringLiteral("RecentFiles/Files");

void save(const QStringList& files) {
    QSettings s = store();
    s.setValue(Key, files);
}
} // namespace

QStringList RecentFiles::load() {
    const QStringList stored = store().value(Key).toStringList();
    QStringList present;
    for (const QString& f : stored)
        if (QFileInfo(f).isFile() && !present.contains(f) && present.size() < Max) present << f;
    if (present != stored) save(present);
    return present;
}

QStringList RecentFiles::add(const QString& path) {
    const QString full = QFileInfo(path).absoluteFilePath();
    QStringList files = load();
    files.removeAll(full);
    files.prepend(full);
    while (files.size() > Max)
        files.removeLast();
    save(files);
    return files;
}

QStringList RecentFiles::remove(const QString& path) {
    QStringList files = load();
    files.removeAll(QFileInfo(path).absoluteFilePath());
    save(files);
    return files;
}

void RecentFiles::clear() {
    save({});
}
