#include "portnames.h"
#include "linktexts.h"
#include "portaccess.h"
#include "portdetails.h"
#include "portholders.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPortInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <pwd.h>
#include <unistd.h>
#endif

QString PortDevicePath(const QString& port) {
    const QString p = port.trimmed();
#ifdef Q_OS_WIN
    // A cable remembered by its USB serial number is found on whatever COM number it has now.
    if (p.startsWith(QLatin1String("USB\\"), Qt::CaseInsensitive)) {
        const QString com = ComPortOfStableName(p);
        return com.isEmpty() ? p : com;
    }
    return p;
#else
    static const QRegularExpression com(QStringLiteral("^COM(\\d+)$"),
                                        QRegularExpression::CaseInsensitiveOption);
    const auto m = com.match(p);
    if (m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n >= 1) return QStringLiteral("/dev/ttyS%1").arg(n - 1);
    }
    // A bare name ("ttyUSB0") is a device in /dev unless a file of that name lies right here;
    // the serial port itself would take any name without a "/" as one in /dev.
    if (!p.isEmpty() && !p.contains(QLatin1Char('/')))
        return QFileInfo::exists(p) ? QFileInfo(p).absoluteFilePath() : QStringLiteral("/dev/") + p;
    return p;
#endif
}

QString PortFromSettings(int comPort, const QString& portName) {
    return portName.trimmed().isEmpty() ? QStringLiteral("COM%1").arg(comPort) : portName.trimmed();
}

QStringList PresentPortPaths() {
    QStringList ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        ports << info.systemLocation();
#ifdef Q_OS_UNIX
    const QDir byId(QStringLiteral("/dev/serial/by-id"));
    for (const QString& name : byId.entryList(QDir::System | QDir::Files | QDir::NoDotAndDotDot))
        ports << byId.filePath(name);
#endif
    ports.removeDuplicates();
    ports.sort();
    return ports;
}

namespace {
#ifdef Q_OS_UNIX
QString userName() {
    const QString env = qEnvironmentVariable("USER");
    if (!env.isEmpty()) return env;
    if (const passwd* pw = getpwuid(getuid())) return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("$USER");
}
#endif
} // namespace

QString DescribeOpenFailure(const QString& devicePath, QSerialPort::SerialPortError error,
                            const QString& errorString) {
    const QFileInfo fi(devicePath);
    // A stable name (/dev/serial/by-id/...) exists exactly while its cable is plugged in.
    if (!fi.exists() && devicePath.startsWith(QLatin1String("/dev/serial/")))
        return LinkText(TxtCableGone).arg(fi.fileName());
    if (!fi.exists() || error == QSerialPort::DeviceNotFoundError) {
        const QStringList ports = PresentPortPaths();
        if (ports.isEmpty()) return LinkText(TxtNotFoundNone).arg(devicePath);
        return LinkText(TxtNotFound).arg(devicePath, ports.join(QStringLiteral(", ")));
    }
#ifdef Q_OS_UNIX
    if (::access(QFile::encodeName(devicePath).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        DeviceAccess access;
        if (ReadDeviceAccess(devicePath, access)) return PermissionAdvice(access);
        return LinkText(TxtPermission).arg(devicePath, QStringLiteral("dialout"), userName());
    }
#endif
    // The device is there and readable: a refusal now means somebody else holds it (Qt reports
    // a held lock or an exclusive tty as a permission error).
    if (error == QSerialPort::PermissionError) {
        const QList<PortHolder> holders = PortHolders(devicePath);
        if (!holders.isEmpty())
            return LinkText(TxtBusyBy).arg(devicePath, holders.first().name,
                                           QString::number(holders.first().pid));
        return LinkText(TxtBusy).arg(devicePath);
    }
    return LinkText(TxtOpenFailed).arg(devicePath, errorString);
}
