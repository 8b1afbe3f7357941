#include "portdetails.h"

SystemRoots SystemRoots::fromEnvironment() {
    SystemRoots r;
    if (const QString s = qEnvironmentVariable("MZPROG_SYSFS_ROOT"); !s.isEmpty()) r.sys = s;
    if (const QString d = qEnvironmentVariable("MZPROG_DEV_ROOT"); !d.isEmpty()) r.dev = d;
    return r;
}

QString SerialPortDetails::summary() const {
    if (!isUsb()) return QString();
    const QString name = chipFamily.isEmpty() ? product : chipFamily;
    const QString ids = usbIds();
    return name.isEmpty() ? ids : name + QStringLiteral(" (") + ids + QLatin1Char(')');
}

QString ChipFamily(quint16 vendorId, quint16 productId, quint16 bcdDevice) {
    switch (vendorId) {
    case 0x1a86: // WCH
        switch (productId) {
        case 0x7523:
            return QStringLiteral("WCH CH340");
        case 0x7522:
            return QStringLiteral("WCH CH340K");
        case 0x5523:
            return QStringLiteral("WCH CH341");
        case 0x55d4:
            return QStringLiteral("WCH CH9102");
        }
        break;
    case 0x067b: // Prolific: one product id for the older chips, told apart by their release
        switch (productId) {
        case 0x2303:
            if (bcdDevice == 0x0300) return QStringLiteral("Prolific PL2303HX/TA");
            if (bcdDevice == 0x0400) return QStringLiteral("Prolific PL2303HXD");
            return QStringLiteral("Prolific PL2303");
        case 0x23a3:
            return QStringLiteral("Prolific PL2303GC");
        case 0x23b3:
            return QStringLiteral("Prolific PL2303GB");
        case 0x23c3:
            return QStringLiteral("Prolific PL2303GT");
        case 0x23d3:
            return QStringLiteral("Prolific PL2303GL");
        case 0x23e3:
            return QStringLiteral("Prolific PL2303GE");
        case 0x23f3:
            return QStringLiteral("Prolific PL2303GS");
        }
        break;
    case 0x0403: // FTDI
        switch (productId) {
        case 0x6001:
            return bcdDevice == 0x0600 ? QStringLiteral("FTDI FT232R")
                                       : QStringLiteral("FTDI FT232");
        case 0x6010:
            return QStringLiteral("FTDI FT2232");
        case 0x6011:
            return QStringLiteral("FTDI FT4232");
        case 0x6014:
            return QStringLiteral("FTDI FT232H");
        case 0x6015:
            return QStringLiteral("FTDI FT-X");
        }
        break;
    case 0x10c4: // Silicon Labs
        switch (productId) {
        case 0xea60:
            return QStringLiteral("Silicon Labs CP210x");
        case 0xea70:
            return QStringLiteral("Silicon Labs CP2105");
        case 0xea71:
            return QStringLiteral("Silicon Labs CP2108");
        }
        break;
    }
    return QString();
}
