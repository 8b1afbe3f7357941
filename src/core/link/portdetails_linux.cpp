#include "../lang/regularfile.h"
#include "portdetails.h"
#include "portnames.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSerialPortInfo>

#include <algorithm>

namespace {
// A sysfs attribute: one short line of text. Anything that is not a small regular file is
// no attribute of ours.
QString attribute(const QString& dir, const char* name) {
    QByteArray text; // stays empty when there is none
    ReadRegularBytes(dir + QLatin1Char('/') + QLatin1String(name), 4096, text);
    return QString::fromUtf8(text).trimmed();
}

quint16 hexAttribute(const QString& dir, const char* name) {
    bool ok = false;
    const uint v = attribute(dir, name).toUInt(&ok, 16);
    return ok && v <= 0xffff ? quint16(v) : 0;
}

QString canonical(const QString& path) {
    return QFileInfo(path).canonicalFilePath();
}

// The USB device above a port's device folder: the first folder upwards with an idVendor.
QString usbDeviceDir(const QString& deviceDir, const QString& sysRoot) {
    const QString top = canonical(sysRoot);
    QDir d(deviceDir);
    for (int depth = 0; depth < 8; ++depth) {
        if (QFileInfo(d.filePath(QStringLiteral("idVendor"))).isFile()) return d.absolutePath();
        if (!d.cdUp() || d.absolutePath() == top || d.isRoot()) break;
    }
    return QString();
}

void readUsb(SerialPortDetails& p, const QString& usbDir) {
    p.vendorId = hexAttribute(usbDir, "idVendor");
    p.productId = hexAttribute(usbDir, "idProduct");
    p.bcdDevice = hexAttribute(usbDir, "bcdDevice");
    p.manufacturer = attribute(usbDir, "manufacturer");
    p.product = attribute(usbDir, "product");
    p.serialNumber = attribute(usbDir, "serial");
    p.chipFamily = ChipFamily(p.vendorId, p.productId, p.bcdDevice);
}

// by-id link target (canonical) -> the link.
QHash<QString, QString> byIdNames(const SystemRoots& roots) {
    QHash<QString, QString> names;
    const QDir byId(roots.dev + QStringLiteral("/serial/by-id"));
    for (const QFileInfo& link :
         byId.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString target = link.canonicalFilePath();
        if (!target.isEmpty() && !names.contains(target))
            names.insert(target, link.absoluteFilePath());
    }
    return names;
}

} // namespace

QList<SerialPortDetails> ListSerialPorts(const SystemRoots& roots) {
    QList<SerialPortDetails> ports;
    const QHash<QString, QString> byId = byIdNames(roots);
    const QDir ttys(roots.sys + QStringLiteral("/class/tty"));
    for (const QString& name :
         ttys.entryList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString ttyDir = ttys.filePath(name);
        // Consoles and pseudo-terminals have no device behind them.
        const QString deviceDir = canonical(ttyDir + QStringLiteral("/device"));
        if (deviceDir.isEmpty()) continue;
        const QString driver =
            QFileInfo(canonical(deviceDir + QStringLiteral("/driver"))).fileName();
        if (driver.isEmpty()) continue;
        // The board reserves ttyS0..ttyS31 whether or not a UART is behind them (type 0).
        if (name.startsWith(QLatin1String("ttyS")) &&
            attribute(ttyDir, "type") == QLatin1String("0"))
            continue;
        SerialPortDetails p;
        p.path = roots.dev + QLatin1Char('/') + name;
        p.driver = driver;
        if (const QString usb = usbDeviceDir(deviceDir, roots.sys); !usb.isEmpty()) readUsb(p, usb);
        p.byIdPath = byId.value(canonical(p.path));
        ports.append(p);
    }
    // Where the system has no sysfs (or lists ports sysfs does not show), the serial port
    // library's list fills in.
    if (roots.isReal()) {
        for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
            const QString path = info.systemLocation();
            auto it = std::find_if(ports.begin(), ports.end(),
                                   [&](const SerialPortDetails& p) { return p.path == path; });
            if (it == ports.end()) {
                SerialPortDetails p;
                p.path = path;
                if (info.hasVendorIdentifier()) p.vendorId = info.vendorIdentifier();
                if (info.hasProductIdentifier()) p.productId = info.productIdentifier();
                p.chipFamily = ChipFamily(p.vendorId, p.productId, 0);
                p.byIdPath = byId.value(canonical(path));
                it = ports.insert(ports.end(), p);
            }
            if (it->manufacturer.isEmpty()) it->manufacturer = info.manufacturer();
            if (it->product.isEmpty()) it->product = info.description();
            if (it->serialNumber.isEmpty()) it->serialNumber = info.serialNumber();
        }
    }
    std::sort(
        ports.begin(), ports.end(),
        [](const SerialPortDetails& a, const SerialPortDetails& b) { return a.path < b.path; });
    return ports;
}

SerialPortDetails PortDetailsFor(const QString& port, const SystemRoots& roots) {
    QString path = PortDevicePath(port);
    // A bare name or COMn resolves below the real /dev: in a replaced tree, look there instead.
    if (!roots.isReal() && path.startsWith(QLatin1String("/dev/"))) path = roots.dev + path.mid(4);
    const QString real = canonical(path);
    if (!real.isEmpty())
        for (const SerialPortDetails& p : ListSerialPorts(roots))
            if (canonical(p.path) == real) return p;
    SerialPortDetails none;
    none.path = path;
    return none;
}

QList<SerialPortDetails> UnboundUsbSerialChips(const SystemRoots& roots) {
    QList<SerialPortDetails> chips;
    const QDir usb(roots.sys + QStringLiteral("/bus/usb/devices"));
    for (const QFileInfo& entry :
         usb.entryInfoList(QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        const QString dir = entry.canonicalFilePath();
        // Interfaces (1-1:1.0) are looked at from their device.
        if (dir.isEmpty() || entry.fileName().contains(QLatin1Char(':'))) continue;
        SerialPortDetails p;
        readUsb(p, dir);
        if (p.chipFamily.isEmpty()) continue;
        bool bound = false;
        const QDir d(dir);
        for (const QString& iface : d.entryList({entry.fileName() + QStringLiteral(":*")},
                                                QDir::Dirs | QDir::NoDotAndDotDot))
            if (QFileInfo(d.filePath(iface) + QStringLiteral("/driver")).exists()) bound = true;
        if (!bound) chips.append(p);
    }
    return chips;
}

QString ComPortOfStableName(const QString&) {
    return QString(); // Linux names a cable by its /dev/serial/by-id link
}
