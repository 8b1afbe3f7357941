#pragma once

// What the system knows about each serial port: the device, its stable name, and for a USB
// cable the chip behind it. Read from sysfs and /dev below roots that tests replace with a
// tree of their own; on the real system the serial port library's list is merged in.

#include <QList>
#include <QString>

// Where the system's device tree lies. The real system: /sys and /dev. The environment
// variables MZPROG_SYSFS_ROOT and MZPROG_DEV_ROOT replace them (tests build a fake tree).
struct SystemRoots {
    QString sys = QStringLiteral("/sys");
    QString dev = QStringLiteral("/dev");
    static SystemRoots fromEnvironment();
    bool isReal() const { return sys == QLatin1String("/sys") && dev == QLatin1String("/dev"); }
};

struct SerialPortDetails {
    QString path;         // /dev/ttyUSB0
    QString byIdPath;     // /dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0
    quint16 vendorId = 0; // 0: not a USB device
    quint16 productId = 0;
    quint16 bcdDevice = 0;
    QString manufacturer;
    QString product;
    QString serialNumber;
    QString driver;     // ftdi_sio, ch341, pl2303, cp210x, cdc_acm, serial8250 ...
    QString chipFamily; // "FTDI FT232R", "WCH CH340" ...; empty for chips we do not know

    bool isUsb() const { return vendorId != 0; }
    // The name to remember for this port: the stable one when there is one.
    QString stableName() const { return byIdPath.isEmpty() ? path : byIdPath; }
    // "FTDI FT232R (0403:6001)" or the product's own name; empty for a port on the board.
    QString summary() const;
    // "0403:6001"
    QString usbIds() const { return hexId(vendorId) + QLatin1Char(':') + hexId(productId); }
    // A USB id as the system writes it: four lower-case hex digits.
    static QString hexId(quint16 id) {
        return QStringLiteral("%1").arg(id, 4, 16, QLatin1Char('0'));
    }
};

// The chip family of a USB serial cable from its ids (and, for the Prolific PL2303, its
// device release, which tells the variants apart); empty when the ids are not a known cable.
QString ChipFamily(quint16 vendorId, quint16 productId, quint16 bcdDevice);

// The serial ports present, sorted by path.
QList<SerialPortDetails> ListSerialPorts(const SystemRoots& roots = SystemRoots::fromEnvironment());

// The details of one port given by any of its names (a by-id link, a path, ttyUSB0); a port
// that is not present gives details with only the resolved path.
SerialPortDetails PortDetailsFor(const QString& port,
                                 const SystemRoots& roots = SystemRoots::fromEnvironment());

// USB serial chips that are plugged in but have no serial port, because their driver refused
// them (a Prolific chip the driver marks unsupported or counterfeit) or none is bound.
QList<SerialPortDetails>
UnboundUsbSerialChips(const SystemRoots& roots = SystemRoots::fromEnvironment());

// Windows: the COM port a USB cable's stable name ("USB\VID_0403&PID_6001\A10K1234") has now;
// empty when that cable is not plugged in.
QString ComPortOfStableName(const QString& name);
