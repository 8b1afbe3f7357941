#include "inifile.h"

#include <QFile>

// The same reading as the INI library the Linux build uses, with its defaults: a byte-order
// mark is skipped, lines starting with ";" or "#" are comments, "name=value" or "name:value",
// a ";" after white space starts a comment, and names and sections compare without case. The
// first value of a name counts.
QString IniRead(const QString& path, const QString& section, const QString& key) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QString();
    QByteArray all = f.readAll();
    if (all.startsWith("\xEF\xBB\xBF")) all.remove(0, 3);
    QByteArray current;
    for (const QByteArray& raw : all.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';') || line.startsWith('#')) continue;
        if (line.startsWith('[')) {
            const int end = line.indexOf(']');
            if (end > 0) current = line.mid(1, end - 1);
            continue;
        }
        int sep = -1;
        for (int i = 0; i < line.size() && sep < 0; ++i)
            if (line[i] == '=' || line[i] == ':') sep = i;
        if (sep <= 0) continue;
        const QByteArray name = line.left(sep).trimmed();
        if (qstricmp(current.constData(), section.toUtf8().constData()) != 0 ||
            qstricmp(name.constData(), key.toUtf8().constData()) != 0)
            continue;
        QByteArray value = line.mid(sep + 1);
        for (int i = 1; i < value.size(); ++i) {
            if (value[i] == ';' && (value[i - 1] == ' ' || value[i - 1] == '\t')) {
                value.truncate(i);
                break;
            }
        }
        return QString::fromUtf8(value).trimmed();
    }
    return QString();
}
