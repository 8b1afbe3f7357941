#include "portdetails.h"
#include "windoctor.h"

#include <algorithm>

// On Windows the ports are the COM ports the device list names; a USB cable's stable name is
// "USB\VID_xxxx&PID_yyyy\SERIAL", which finds the cable again when it comes back on another
// COM number (PortDevicePath resolves it).

namespace {
SerialPortDetails detailsOf(const WinSerialDevice& d) {
    SerialPortDetails p;
    p.path = d.comName;
    p.vendorId = d.vendorId;
    p.productId = d.productId;
    p.bcdDevice = d.revision;
    p.manufacturer = d.manufacturer;
    p.product = d.friendlyName;
    p.serialNumber = d.serialNumber;
    p.driver = d.service;
    p.chipFamily = ChipFamily(d.vendorId, d.productId, d.revision);
    if (d.vendorId != 0 && !d.serialNumber.isEmpty())
        p.byIdPath = QStringLiteral("USB\\VID_%1&PID_%2\\%3")
                         .arg(SerialPortDetails::hexId(d.vendorId).toUpper(),
                              SerialPortDetails::hexId(d.productId).toUpper(), d.serialNumber);
    return p;
}

int comNumber(const QString& name) {
    return name.mid(3).toInt();
}
} // namespace

QList<SerialPortDetails> ListSerialPorts(const SystemRoots&) {
    QList<SerialPortDetails> ports;
    for (const WinSerialDevice& d : WinSerialDevices())
        if (!d.comName.isEmpty()) ports.append(detailsOf(d));
    // COM2 before COM10.
    std::sort(ports.begin(), ports.end(),
              [](const SerialPortDetails& a, const SerialPortDetails& b) {
                  return comNumber(a.path) < comNumber(b.path);
              });
    return ports;
}

SerialPortDetails PortDetailsFor(const QString& port, const SystemRoots& roots) {
    const QString name = port.trimmed();
    for (const SerialPortDetails& p : ListSerialPorts(roots))
        if (p.path.compare(name, Qt::CaseInsensitive) == 0 ||
            (!p.byIdPath.isEmpty() && p.byIdPath.compare(name, Qt::CaseInsensitive) == 0))
            return p;
    SerialPortDetails none;
    none.path = name;
    return none;
}

QList<SerialPortDetails> UnboundUsbSerialChips(const SystemRoots&) {
    QList<SerialPortDetails> chips;
    for (const WinSerialDevice& d : WinSerialDevices())
        if (d.comName.isEmpty() && d.problem != 0 &&
            !ChipFamily(d.vendorId, d.productId, d.revision).isEmpty())
            chips.append(detailsOf(d));
    return chips;
}

QString ComPortOfStableName(const QString& name) {
    for (const SerialPortDetails& p : ListSerialPorts(SystemRoots()))
        if (p.byIdPath.compare(name, Qt::CaseInsensitive) == 0) return p.path;
    return QString();
}
