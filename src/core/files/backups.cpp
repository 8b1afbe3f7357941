#include "backups.h"
#include "../model/country.h"
#include "../model/fixedtext.h"
#include "datafile.h"
#include "savedatafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStandardPaths>

#include <algorithm>

namespace {
const QString StampFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");

// yyyyMMdd-HHmmss-zzz_MODEL_MODE.dat, with "-N" before ".dat" when two reads share a millisecond.
const QRegularExpression& namePattern() {
    static const QRegularExpression re(
        QStringLiteral("^(\\d{8}-\\d{6}-\\d{3})_(.+)_([A-Za-z]+)(-\\d+)?\\.dat$"));
    return re;
}

int le16(const QByteArray& b, int at) {
    return qint16(quint8(b[at]) | quint8(b[at + 1]) << 8);
}
} // namespace

BackupStore::BackupStore(const QString& dir) : dir_(dir) {}

namespace {
QString& defaultDirOverride() {
    static QString dir;
    return dir;
}
} // namespace

void BackupStore::setDefaultDir(const QString& dir) {
    defaultDirOverride() = dir;
}

QString BackupStore::defaultDir() {
    if (!defaultDirOverride().isEmpty()) return defaultDirOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mzprog/backups");
}

QString BackupStore::fileNameFor(const QDateTime& when, const QString& model, int mode) {
    QString safeModel = model;
    safeModel.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")), QStringLiteral("-"));
    if (safeModel.isEmpty()) safeModel = QStringLiteral("radio");
    return when.toString(StampFormat) + QLatin1Char('_') + safeModel + QLatin1Char('_') +
           ModeName(mode) + QStringLiteral(".dat");
}

QString BackupStore::save(const RadioDataRec& data, const ChannelList& channels,
                          const QDateTime& when, QString* error) {
    if (!QDir().mkpath(dir_)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(dir_);
        return QString();
    }
    const QString name =
        fileNameFor(when, TrimFixed(data.Head.Model.text()), data.Head.CountryMode);
    QString path = dir_ + QLatin1Char('/') + name;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir_ + QLatin1Char('/') + name.chopped(4) + QStringLiteral("-%1.dat").arg(n);
    QString why;
    if (!WriteFileAtomically(path, EncodeDataFile(data, channels), &why)) {
        if (error) *error = why;
        return QString();
    }
    prune();
    return path;
}

QList<BackupEntry> BackupStore::list() const {
    QList<BackupEntry> out;
    QHash<QString, int> order; // the -N of reads made in the same millisecond
    const QDir d(dir_);
    for (const QString& name : d.entryList({QStringLiteral("*.dat")}, QDir::Files)) {
        const auto m = namePattern().match(name);
        if (!m.hasMatch()) continue;
        BackupEntry e;
        e.path = d.filePath(name);
        e.when = QDateTime::fromString(m.captured(1), StampFormat);
        if (!e.when.isValid()) continue;
        const int seq = m.captured(4).isEmpty() ? 1 : m.captured(4).mid(1).toInt();
        order.insert(e.path, seq);
        QFile f(e.path);
        if (!f.open(QIODevice::ReadOnly)) continue;
        const QByteArray head = f.read(15); // FileHeadRec (13 bytes), then CHCount
        if (head.size() < 15) continue;
        e.model = TrimFixed(QString::fromLatin1(head.left(7)));
        e.mode = le16(head, 7);
        e.channels = le16(head, 13);
        out << e;
    }
    std::sort(out.begin(), out.end(), [&order](const BackupEntry& a, const BackupEntry& b) {
        return a.when != b.when ? a.when > b.when : order.value(a.path) > order.value(b.path);
    });
    return out;
}

void BackupStore::prune() const {
    const QList<BackupEntry> all = list();
    for (int i = Keep; i < all.size(); ++i)
        QFile::remove(all[i].path);
}
