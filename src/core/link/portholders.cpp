#include "portholders.h"
#include "../lang/regularfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
// The far end of a pseudo-terminal (the virtual radio) holds its master, and often the
// terminal itself to keep it alive: that is the radio, not another program on the port.
bool holdsMasterOf(const QDir& fds, const QString& fdInfoDir, const QString& ptyIndex) {
    for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
        if (fd.symLinkTarget() != QLatin1String("/dev/ptmx") &&
            fd.symLinkTarget() != QLatin1String("/dev/pts/ptmx"))
            continue;
        QFile info(fdInfoDir + QLatin1Char('/') + fd.fileName());
        if (!info.open(QIODevice::ReadOnly)) continue;
        for (const QByteArray& line : info.readAll().split('\n'))
            if (line.startsWith("tty-index:") && line.mid(10).trimmed() == ptyIndex.toLatin1())
                return true;
    }
    return false;
}
} // namespace

QList<PortHolder> PortHolders(const QString& devicePath, const QString& procRoot) {
    QList<PortHolder> holders;
    const QString device = QFileInfo(devicePath).canonicalFilePath();
    if (device.isEmpty()) return holders;
    const QString ptyIndex =
        device.startsWith(QLatin1String("/dev/pts/")) ? device.mid(9) : QString();
    const qint64 self = QCoreApplication::applicationPid();
    const QDir proc(procRoot);
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        const qint64 pid = entry.toLongLong(&numeric);
        if (!numeric || pid == self) continue;
        const QDir fds(proc.filePath(entry) + QStringLiteral("/fd"));
        if (!ptyIndex.isEmpty() &&
            holdsMasterOf(fds, proc.filePath(entry) + QStringLiteral("/fdinfo"), ptyIndex))
            continue;
        // Unreadable for processes of other users: those stay unnamed.
        for (const QFileInfo& fd : fds.entryInfoList(QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget() != device) continue;
            QByteArray comm;
            ReadRegularBytes(proc.filePath(entry) + QStringLiteral("/comm"), 64, comm);
            const QString name = QString::fromUtf8(comm).trimmed();
            holders.append({pid, name.isEmpty() ? QStringLiteral("?") : name});
            break;
        }
    }
    return holders;
}
