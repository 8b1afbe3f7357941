#include "inifile.h"

#include <QFile>
#include <ini.h>

namespace {
struct Lookup {
    QByteArray section, key;
    QString value;
    bool found = false;
};

int handler(void* user, const char* section, const char* name, const char* value) {
    auto* l = static_cast<Lookup*>(user);
    if (!l->found && qstricmp(section, l->section.constData()) == 0 &&
        qstricmp(name, l->key.constData()) == 0) {
        l->value = QString::fromUtf8(value).trimmed();
        l->found = true;
    }
    return 1;
}
} // namespace

QString IniRead(const QString& path, const QString& section, const QString& key) {
    Lookup l{section.toUtf8(), key.toUtf8(), {}, false};
    if (ini_parse(QFile::encodeName(path).constData(), handler, &l) < 0) return QString();
    return l.value;
}
