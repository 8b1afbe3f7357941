#include "appstate.h"

#include <QDir>

AppState& AppState::instance() {
    static AppState s;
    return s;
}

QString AppState::mysetupPath() const {
    return ProgramRoot + QStringLiteral("/language/mysetup.ini");
}
QString AppState::versionIniPath() const {
    return ProgramRoot + QStringLiteral("/Version.ini");
}
QString AppState::settingPath() const {
    return ProgramDir + QStringLiteral("/Setting.ini");
}
QString AppState::langDir() const {
    return ProgramDir + QStringLiteral("/language");
}

QString ProgramRootOf(const QString& programDir) {
    QString d = programDir;
    d.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (d.size() > 1 && d.endsWith(QLatin1Char('/')))
        d.chop(1);
    const int i = d.lastIndexOf(QLatin1Char('/'));
    // A separator at position 2 or later (1-based) splits off the last component; "/x" keeps
    // the root "/" rather than becoming empty.
    if (i >= 1) return d.left(i);
    if (i == 0 && d.size() > 1) return QStringLiteral("/");
    return d;
}
