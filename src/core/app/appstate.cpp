#include "appstate.h"
#include "settingsplace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// An installed program's folders belong to the system and cannot be written by its users.
// Its settings files are then kept per user, starting from the shipped copy, so that the
// choices made still last. On Windows a per-user copy, once there, is always the one used
// (an installation in Program Files may look writable to an administrator).
QString writablePlace(const QString& shipped, const QString& name) {
    const QFileInfo file(shipped);
    const QString userDir = UserSettingsDir();
    const QString user = userDir + QLatin1Char('/') + name;
    if (UserSettingsWin() && QFileInfo::exists(user)) return user;
    if (FolderTakesWrites(file.absolutePath()) && (!file.exists() || file.isWritable()))
        return shipped;
    if (!QFileInfo::exists(user)) {
        QDir().mkpath(userDir);
        if (file.exists() && QFile::copy(shipped, user))
            QFile::setPermissions(user, QFile::permissions(user) | QFile::WriteOwner);
    }
    return user;
}
} // namespace

AppState& AppState::instance() {
    static AppState s;
    return s;
}

QString AppState::mysetupPath() const {
    return writablePlace(ProgramRoot + QStringLiteral("/language/mysetup.ini"),
                         QStringLiteral("mysetup.ini"));
}
QString AppState::versionIniPath() const {
    return ProgramRoot + QStringLiteral("/Version.ini");
}
QString AppState::settingPath() const {
    return writablePlace(ProgramDir + QStringLiteral("/Setting.ini"),
                         QStringLiteral("Setting.ini"));
}
QString AppState::langDir() const {
    return ProgramDir + QStringLiteral("/language");
}

void AppState::UseLanguage(Language language) {
    CurLanguage = language;
    const QString file = LangFileName(language);
    if (!file.isEmpty()) LangFile = file;
    LangChoice.clear();
    UseLanguageFile(langDir() + QLatin1Char('/') + LangFile);
}

void AppState::UseLanguageFileNamed(const QString& file) {
    if (file == LangFileName(Language::English)) return UseLanguage(Language::English);
    if (file == LangFileName(Language::Chinese)) return UseLanguage(Language::Chinese);
    CurLanguage = Language::Other;
    LangFile = file;
    LangChoice = file;
    UseLanguageFile(langDir() + QLatin1Char('/') + LangFile);
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
