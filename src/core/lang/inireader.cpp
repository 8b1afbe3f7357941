#include "inireader.h"

#include "regularfile.h"

QString IniTable::makeKey(const QString& section, const QString& key) {
    return section.trimmed().toLower() + QLatin1Char('\n') + key.trimmed().toLower();
}

bool IniTable::load(const QString& path) {
    map_.clear();
    QByteArray text;
    // A language file holds every text of the program in about 100 kB; anything far larger
    // (or a FIFO, or a device that never ends) is no language file.
    const RegularFileStatus status = ReadRegularBytes(path, MaxBytes + 1, text);
    if (!status.ok() || status.size > MaxBytes || text.size() > MaxBytes) return false;
    parse(text);
    return true;
}

void IniTable::parse(const QByteArray& text) {
    map_.clear();
    QByteArray all = text;
    if (all.startsWith("\xEF\xBB\xBF")) all.remove(0, 3);
    QString section;
    for (const QByteArray& rawLine : all.split('\n')) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) ||
            line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('['))) {
            const int end = line.indexOf(QLatin1Char(']'));
            section = line.mid(1, end < 0 ? -1 : end - 1);
            continue;
        }
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0) continue;
        const QString k = makeKey(section, line.left(eq));
        if (!map_.contains(k)) // the first occurrence wins, as with the system INI service
            map_.insert(k, line.mid(eq + 1).trimmed());
    }
}

QString IniTable::value(const QString& section, const QString& key) const {
    return map_.value(makeKey(section, key));
}
