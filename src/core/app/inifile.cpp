#include "inifile.h"
#include "../files/savedatafile.h"

#include <QFile>
#include <QStringList>

bool IniWrite(const QString& path, const QString& section, const QString& key,
              const QString& value) {
    QStringList lines;
    {
        QFile in(path);
        if (in.open(QIODevice::ReadOnly)) {
            lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
            if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
        }
    }
    const QString newLine = key + QLatin1Char('=') + value;
    int sectionLine = -1, insertAt = -1;
    bool written = false;
    for (int i = 0; i < lines.size() && !written; ++i) {
        const QString t = lines[i].trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            if (sectionLine >= 0) break; // next section: the key was not there
            const QString name = t.mid(1, t.indexOf(QLatin1Char(']')) - 1).trimmed();
            if (name.compare(section, Qt::CaseInsensitive) == 0) sectionLine = i, insertAt = i + 1;
            continue;
        }
        if (sectionLine < 0) continue;
        if (!t.isEmpty() && !t.startsWith(QLatin1Char(';')) && !t.startsWith(QLatin1Char('#')))
            insertAt = i + 1;
        const int eq = t.indexOf(QLatin1Char('='));
        if (eq > 0 && t.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            QString ending =
                lines[i].endsWith(QLatin1Char('\r')) ? QStringLiteral("\r") : QString();
            lines[i] = newLine + ending;
            written = true;
        }
    }
    if (!written) {
        if (sectionLine < 0) {
            lines << QLatin1Char('[') + section + QLatin1Char(']') << newLine;
        } else {
            lines.insert(insertAt, newLine);
        }
    }
    return WriteFileAtomically(path, (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
}
