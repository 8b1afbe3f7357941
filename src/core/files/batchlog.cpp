#include "batchlog.h"
#include "../model/country.h"
#include "csvtable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#ifdef Q_OS_WIN
#include <io.h>
#define fsync _commit // the C runtime's name for it
#else
#include <unistd.h>
#endif

QString BatchLogEntry::resultText() const {
    switch (outcome) {
    case BatchOutcome::Verified:
        return QStringLiteral("verified");
    case BatchOutcome::Differs:
        return QStringLiteral("differs: ") + reason;
    case BatchOutcome::Refused:
        return QStringLiteral("refused: ") + reason;
    case BatchOutcome::Started:
        return QStringLiteral("started");
    case BatchOutcome::Failed:
        break;
    }
    return QStringLiteral("failed: ") + reason;
}

QString BatchLog::defaultPath(const QDate& day) {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath() + QStringLiteral("/Documents");
    return docs + QStringLiteral("/mzprog-batch-") + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".csv");
}

QStringList BatchLog::columns() {
    return {QStringLiteral("time"),           QStringLiteral("serial number"),
            QStringLiteral("model"),          QStringLiteral("country mode"),
            QStringLiteral("document"),       QStringLiteral("image sha256"),
            QStringLiteral("backup"),         QStringLiteral("result"),
            QStringLiteral("program version")};
}

QStringList BatchLog::fields(const BatchLogEntry& e) {
    const QString mode = e.countryMode < 0            ? QString()
                         : IsValidMode(e.countryMode) ? ModeName(e.countryMode)
                                                      : QString::number(e.countryMode);
    return {e.when.toOffsetFromUtc(e.when.offsetFromUtc()).toString(Qt::ISODate),
            e.serialNo,
            e.model,
            mode,
            e.document,
            e.imageSha256,
            e.backup,
            e.resultText(),
            e.programVersion};
}

namespace {
// Appends bytes and pushes them to the disk: a line that is only in a buffer when the power
// goes is a radio nobody can account for.
bool appendBytes(const QString& path, const QByteArray& bytes, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
        if (error) *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size() || !f.flush() || ::fsync(f.handle()) != 0) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}
} // namespace

bool BatchLog::check(QString* error) const {
    const QFileInfo info(path_);
    if (info.exists() && !info.isFile()) {
        if (error) *error = QStringLiteral("it is not a file");
        return false;
    }
    if (info.exists() && info.size() > 0) {
        QFile f(path_);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) {
            if (error) *error = f.errorString();
            return false;
        }
        return true;
    }
    if (!QDir().mkpath(info.absolutePath())) {
        if (error) *error = QStringLiteral("its folder cannot be made");
        return false;
    }
    return appendBytes(path_, CsvLine(columns()), error);
}

QString BatchLog::safeCell(const QString& cell) {
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    return !cell.isEmpty() && formulaStarts.contains(cell.front()) ? QLatin1Char('\'') + cell
                                                                   : cell;
}

bool BatchLog::append(const BatchLogEntry& entry, QString* error) const {
    if (!check(error)) return false;
    QStringList cells = fields(entry);
    for (QString& c : cells)
        c = safeCell(c);
    QByteArray line = CsvLine(cells);
    // A line someone left without its end would have this record glued to it.
    QFile f(path_);
    if (f.open(QIODevice::ReadOnly) && f.size() > 0 && f.seek(f.size() - 1) && f.read(1) != "\n")
        line.prepend("\r\n");
    f.close();
    return appendBytes(path_, line, error);
}
