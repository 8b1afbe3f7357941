#include "langtext.h"
#include "inireader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>

namespace {

struct CachedFile {
    QDateTime modified;
    qint64 size = -1;
    IniTable table;
};

// Language files are re-read when their path, time stamp or size changes, so a change of
// LangFile (or of the file itself) takes effect at the next lookup.
const IniTable* tableFor(const QString& path) {
    static QHash<QString, CachedFile> cache;
    const QFileInfo fi(path);
    if (!fi.exists()) {
        cache.remove(path);
        return nullptr;
    }
    auto it = cache.find(path);
    if (it == cache.end() || it->modified != fi.lastModified() || it->size != fi.size()) {
        CachedFile c;
        c.modified = fi.lastModified();
        c.size = fi.size();
        if (!c.table.load(path)) return nullptr;
        it = cache.insert(path, std::move(c));
    }
    return &it->table;
}

QString cutTo254Bytes(const QString& v) {
    QByteArray u = v.toUtf8();
    if (u.size() <= 254) return v;
    u.truncate(254);
    // Never leave half a character behind: find the last lead byte and drop its character
    // when not all of its continuation bytes made it.
    int lead = u.size() - 1;
    while (lead > 0 && (static_cast<unsigned char>(u[lead]) & 0xC0) == 0x80)
        --lead;
    const unsigned char c = static_cast<unsigned char>(u[lead]);
    const int need = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (u.size() - lead < need) u.truncate(lead);
    return QString::fromUtf8(u);
}

} // namespace

QString LangSection(int id) {
    static const char* names[] = {"OTHER",  "Msg",         "Menu",        "ToolBar",  "Main",
                                  "Model",  "ChannelInfo", "ChannelEdit", "Option",   "Radio",
                                  "DTMF",   "TestFre",     "EMG",         "Local",    "Port",
                                  "Lang",   "About",       "KeySet",      "ScanSet",  "AlertSet",
                                  "CHEdit", "TONETIPS",    "GroupName",   "ResetMode"};
    if (id <= 8999) return QString::fromLatin1(names[0]);
    if (id > 31999) return QStringLiteral("Others");
    return QString::fromLatin1(names[id / 1000 - 8]);
}

namespace {
QString& currentLangFile() {
    static QString path;
    return path;
}
} // namespace

QString LangFileName(Language language) {
    switch (language) {
    case Language::English:
        return QStringLiteral("english.ini");
    case Language::Chinese:
        return QStringLiteral("chinese.ini");
    default:
        return QString();
    }
}

QString LangFilePath() {
    return currentLangFile();
}

void UseLanguageFile(const QString& path) {
    currentLangFile() = path;
}

QString LangFileValue(const QString& path, const QString& section, const QString& key) {
    const IniTable* t = tableFor(path);
    return t ? t->value(section, key) : QString();
}

QString LoadLangTextFrom(const QString& path, int id) {
    const IniTable* t = tableFor(path);
    if (!t) return QString();
    return cutTo254Bytes(t->value(LangSection(id), QString::number(id))).trimmed();
}

QString LoadLangText(int id) {
    return LoadLangTextFrom(LangFilePath(), id);
}
