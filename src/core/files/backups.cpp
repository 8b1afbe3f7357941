#include "backups.h"
#include "../lang/regularfile.h"
#include "../model/country.h"
#include "../model/fixedtext.h"
#include "../model/version.h"
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

// yyyyMMdd-HHmmss-zzz_MODEL_MODE.dat, with "_partly-written" after the mode for a radio a
// write of this run left partly written, and "-N" before ".dat" when two reads share a
// millisecond.
const QString PartlyMark = QStringLiteral("_partly-written");
const QRegularExpression& namePattern() {
    static const QRegularExpression re(QStringLiteral(
        "^(\\d{8}-\\d{6}-\\d{3})_(.+)_([A-Za-z]+)(_partly-written)?(-\\d+)?\\.dat$"));
    return re;
}

// What a backup's name carries after its time: the model, made safe for a file name, and the
// mode ("MZ-710_HAM").
QString modelAndMode(const QString& model, int mode) {
    QString safeModel = model;
    safeModel.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9.-]")), QStringLiteral("-"));
    if (safeModel.isEmpty()) safeModel = QStringLiteral("radio");
    return safeModel + QLatin1Char('_') + ModeName(mode);
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

QString BackupStore::fileNameFor(const QDateTime& when, const QString& model, int mode,
                                 bool partlyWritten) {
    return when.toString(StampFormat) + QLatin1Char('_') + modelAndMode(model, mode) +
           (partlyWritten ? PartlyMark : QString()) + QStringLiteral(".dat");
}

QDateTime BackupStore::timeOfName(const QString& fileName) {
    const auto m = namePattern().match(fileName);
    return m.hasMatch() ? QDateTime::fromString(m.captured(1), StampFormat) : QDateTime();
}

QString BackupStore::save(const RadioDataRec& data, const ChannelList& channels,
                          const QDateTime& when, QString* error, bool partlyWritten) {
    if (!QDir().mkpath(dir_)) {
        if (error) *error = QStringLiteral("cannot create the folder %1").arg(dir_);
        return QString();
    }
    const QString name =
        fileNameFor(when, TrimFixed(data.Head.Model.text()), data.Head.CountryMode, partlyWritten);
    QString path = dir_ + QLatin1Char('/') + name;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir_ + QLatin1Char('/') + name.chopped(4) + QStringLiteral("-%1.dat").arg(n);
    QString why;
    if (!WriteFileAtomically(path, EncodeDataFile(data, channels), &why)) {
        if (error) *error = why;
        return QString();
    }
    prune(path);
    return path;
}

namespace {
// A whole data file as File > Open takes it, whose header names the model and mode its file
// name carries: only such a file was written here. Anything else named like a backup (a note,
// a FIFO, a file cut short) is the user's and is neither listed nor removed.
bool readBackup(const QString& path, const QRegularExpressionMatch& m, BackupEntry& e) {
    QByteArray bytes;
    if (!ReadRegularBytes(path, DataFileSize + 1, bytes).ok() || bytes.size() != DataFileSize)
        return false;
    RadioDataRec data;
    ChannelList channels{};
    if (!DecodeDataFile(bytes, data, channels)) return false;
    if (!IsVersionText(QString::fromLatin1(data.Head.Version.raw())) ||
        !IsValidMode(data.Head.CountryMode) || data.CHCount < 0 || data.CHCount > MaxChannels)
        return false;
    e.model = TrimFixed(data.Head.Model.text());
    e.mode = data.Head.CountryMode;
    e.channels = data.CHCount;
    return m.captured(2) + QLatin1Char('_') + m.captured(3) == modelAndMode(e.model, e.mode);
}
} // namespace

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
        if (!readBackup(e.path, m, e)) continue;
        // A name can say anything, the file's own time cannot lie about the future: a backup
        // is never newer than when it was last written (the clock may have been wrong when it
        // was named, or the name was made by hand).
        const QDateTime modified = QFileInfo(e.path).lastModified();
        if (modified.isValid() && e.when > modified.addSecs(60)) e.when = modified;
        e.partlyWritten = !m.captured(4).isEmpty();
        const int seq = m.captured(5).isEmpty() ? 1 : m.captured(5).mid(1).toInt();
        order.insert(e.path, seq);
        out << e;
    }
    std::sort(out.begin(), out.end(), [&order](const BackupEntry& a, const BackupEntry& b) {
        return a.when != b.when ? a.when > b.when : order.value(a.path) > order.value(b.path);
    });
    return out;
}

void BackupStore::prune(const QString& justWritten) const {
    const QList<BackupEntry> all = list();
    int kept = 0;
    for (const BackupEntry& e : all) {
        // The backup just made is the one the user is told about: it stays, whatever the
        // others' names say.
        if (e.path == justWritten || ++kept <= Keep - 1) continue;
        QFile::remove(e.path);
    }
}
