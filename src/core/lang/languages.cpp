#include "languages.h"
#include "langtext.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString kEnglish = QStringLiteral("english.ini");
const QString kChinese = QStringLiteral("chinese.ini");

int firstLanguagesRank(const QString& file) {
    if (file == kEnglish) return 0;
    if (file == kChinese) return 1;
    return 2;
}
} // namespace

bool IsLanguageFileName(const QString& name) {
    return !name.isEmpty() && QFileInfo(name).fileName() == name &&
           !name.contains(QLatin1Char('\\')) && name.endsWith(QLatin1String(".ini")) &&
           name != QLatin1String("mysetup.ini") && !name.startsWith(QLatin1Char('.'));
}

LanguageInfo LanguageOfFile(const QString& path) {
    LanguageInfo info;
    info.file = QFileInfo(path).fileName();
    const QString section = QStringLiteral("Language");
    info.name = LangFileValue(path, section, QStringLiteral("Name"));
    info.locale = LangFileValue(path, section, QStringLiteral("Locale")).toLower();
    if (info.file == kEnglish) {
        if (info.name.isEmpty()) info.name = QStringLiteral("English");
        if (info.locale.isEmpty()) info.locale = QStringLiteral("en");
    } else if (info.file == kChinese) {
        if (info.name.isEmpty()) info.name = QStringLiteral("中文");
        if (info.locale.isEmpty()) info.locale = QStringLiteral("zh");
    }
    return info;
}

QList<LanguageInfo> FindLanguages(const QString& dir) {
    QList<LanguageInfo> out;
    const QDir d(dir);
    for (const QString& name : d.entryList({QStringLiteral("*.ini")}, QDir::Files, QDir::Name)) {
        if (!IsLanguageFileName(name)) continue;
        LanguageInfo info = LanguageOfFile(d.filePath(name));
        if (!info.name.isEmpty()) out.append(info);
    }
    std::stable_sort(out.begin(), out.end(), [](const LanguageInfo& a, const LanguageInfo& b) {
        const int ra = firstLanguagesRank(a.file), rb = firstLanguagesRank(b.file);
        if (ra != rb) return ra < rb;
        return QString::localeAwareCompare(a.name, b.name) < 0;
    });
    return out;
}

QString LanguageFileFor(const QList<LanguageInfo>& languages, const QLocale& locale) {
    if (locale.language() == QLocale::C) return QString();
    if (locale.language() == QLocale::Chinese && locale.script() != QLocale::SimplifiedHanScript)
        return QString();
    const QString code = QLocale::languageToCode(locale.language(), QLocale::ISO639Part1);
    for (const LanguageInfo& l : languages)
        if (!code.isEmpty() && l.locale == code) return l.file;
    return QString();
}

QLocale EnvironmentLocale() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString v = qEnvironmentVariable(name).trimmed();
        if (v.isEmpty()) continue;
        // "de_DE.UTF-8@euro": the part before the code set names the language.
        const QString tag = v.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
        if (tag == QLatin1String("C") || tag == QLatin1String("POSIX")) return QLocale::c();
        return QLocale(tag);
    }
#ifdef Q_OS_WIN
    // Windows keeps the user's language in its settings, not in the environment.
    return QLocale::system();
#else
    return QLocale::c();
#endif
}

QString CurrentLangLocale() {
    const QString path = LangFilePath();
    const QString code = path.isEmpty() ? QString() : LanguageOfFile(path).locale;
    return code.isEmpty() ? QStringLiteral("en") : code;
}
