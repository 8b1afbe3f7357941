#include "linksettings.h"
#include "appstate.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {
constexpr qint64 RecordOffset = 4; // record 2 of 4-byte records
constexpr int KeepLogs = 20;
} // namespace

LinkSettings& linkSettings() {
    static LinkSettings s;
    return s;
}

void ReadLinkSettings() {
    LinkSettings& s = linkSettings();
    s = LinkSettings{};
    QFile f(App().settingPath());
    if (!f.open(QIODevice::ReadOnly) || !f.seek(RecordOffset)) return;
    const QByteArray b = f.read(4);
    if (b.size() != 4) return;
    s.VerifyAfterWrite = b[0] != 0;
    s.LogSerialTraffic = b[1] != 0;
    s.RadioPartlyWritten = b[2] == 1;
    s.Spare = static_cast<unsigned char>(b[3]);
}

bool WriteLinkSettings() {
    const LinkSettings& s = linkSettings();
    QFile f(App().settingPath());
    if (!f.open(QIODevice::ReadWrite)) return false;
    // A new file gets a record 1 of its own first, so that record 2 lands at its place.
    if (f.size() < RecordOffset) {
        const auto& r = App().SettingBytes;
        if (!f.seek(0) || f.write(reinterpret_cast<const char*>(r.data()), 4) != 4) return false;
    }
    const char rec[4] = {char(s.VerifyAfterWrite ? 1 : 0), char(s.LogSerialTraffic ? 1 : 0),
                         char(s.RadioPartlyWritten ? 1 : 0), char(s.Spare)};
    return f.seek(RecordOffset) && f.write(rec, 4) == 4;
}

QString WireLogDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mzprog/logs");
}

QString NewWireLogPath(const QString& kind) {
    QDir d(WireLogDir());
    d.mkpath(QStringLiteral("."));
    QStringList logs = d.entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name);
    while (logs.size() >= KeepLogs)
        d.remove(logs.takeFirst());
    return d.filePath(QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
                      QLatin1Char('_') + kind + QStringLiteral(".log"));
}
