#pragma once

// A fake sysfs and /dev tree (with /proc, udev's records and rules beside them) built in a
// temporary folder, for the port list and the port check: an FTDI and a CH340 cable with
// stable names, a board UART, a reserved ttyS without one, a console, and a PL2303 the driver
// refused. Never the machine's own.

#include "core/link/portdetails.h"
#include "core/link/portdoctor.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

struct FakeSystem {
    QTemporaryDir dir;
    QString sys, dev, proc, udevData, rules;

    FakeSystem() {
        sys = dir.filePath(QStringLiteral("sys"));
        dev = dir.filePath(QStringLiteral("dev"));
        proc = dir.filePath(QStringLiteral("proc"));
        udevData = dir.filePath(QStringLiteral("udev"));
        rules = dir.filePath(QStringLiteral("rules"));
        for (const QString& d : {sys, dev, proc, udevData, rules})
            QDir().mkpath(d);
    }
    static void write(const QString& path, const QByteArray& text) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(text + '\n');
    }
    static void link(const QString& target, const QString& at) {
        QDir().mkpath(QFileInfo(at).path());
        QVERIFY(QFile::link(target, at));
    }
    // A USB serial adapter: usb device folder, its interface with a driver, the tty below it.
    void usbCable(const QString& bus, const QString& tty, const char* vid, const char* pid,
                  const char* bcd, const char* maker, const char* product, const char* serial,
                  const QString& driver, const QString& node) {
        const QString usb = sys + QStringLiteral("/devices/pci0/usb1/") + bus;
        write(usb + QStringLiteral("/idVendor"), vid);
        write(usb + QStringLiteral("/idProduct"), pid);
        write(usb + QStringLiteral("/bcdDevice"), bcd);
        write(usb + QStringLiteral("/manufacturer"), maker);
        write(usb + QStringLiteral("/product"), product);
        write(usb + QStringLiteral("/serial"), serial);
        link(usb, sys + QStringLiteral("/bus/usb/devices/") + bus);
        const QString iface = usb + QLatin1Char('/') + bus + QStringLiteral(":1.0");
        QDir().mkpath(sys + QStringLiteral("/bus/usb-serial/drivers/") + driver);
        if (tty.isEmpty()) { // the driver refused it: no driver, no port
            QDir().mkpath(iface);
            return;
        }
        link(sys + QStringLiteral("/bus/usb/drivers/") + driver, iface + QStringLiteral("/driver"));
        QDir().mkpath(sys + QStringLiteral("/bus/usb/drivers/") + driver);
        const QString port = iface + QLatin1Char('/') + tty;
        link(sys + QStringLiteral("/bus/usb-serial/drivers/") + driver,
             port + QStringLiteral("/driver"));
        const QString ttyDir = port + QStringLiteral("/tty/") + tty;
        QDir().mkpath(ttyDir);
        link(port, ttyDir + QStringLiteral("/device"));
        link(ttyDir, sys + QStringLiteral("/class/tty/") + tty);
        // The node: a link to a real character device, so that udev's record can be found.
        link(node, dev + QLatin1Char('/') + tty);
    }
    void boardUart(const QString& tty, const char* type) {
        const QString port = sys + QStringLiteral("/devices/platform/serial8250/") + tty;
        QDir().mkpath(sys + QStringLiteral("/bus/platform/drivers/serial8250"));
        link(sys + QStringLiteral("/bus/platform/drivers/serial8250"),
             port + QStringLiteral("/driver"));
        const QString ttyDir = port + QStringLiteral("/tty/") + tty;
        write(ttyDir + QStringLiteral("/type"), type);
        link(port, ttyDir + QStringLiteral("/device"));
        link(ttyDir, sys + QStringLiteral("/class/tty/") + tty);
        write(dev + QLatin1Char('/') + tty, "");
    }
    SystemRoots roots() const { return {sys, dev}; }
    DoctorRoots doctorRoots() const {
        DoctorRoots r;
        r.system = roots();
        r.proc = proc;
        r.udevData = udevData;
        r.udevRules = {rules};
        return r;
    }
};

inline void buildMachine(FakeSystem& f) {
    f.usbCable("1-1", "ttyUSB0", "0403", "6001", "0600", "FTDI", "FT232R USB UART", "A10K1234",
               "ftdi_sio", "/dev/null");
    f.usbCable("1-2", "ttyUSB1", "1a86", "7523", "0264", "", "USB Serial", "", "ch341",
               "/dev/zero");
    f.usbCable("1-3", QString(), "067b", "2303", "0300", "Prolific Technology Inc.",
               "USB-Serial Controller", "", "pl2303", QString());
    f.boardUart("ttyS0", "4");
    f.boardUart("ttyS1", "0");
    QDir().mkpath(f.sys + QStringLiteral("/class/tty/tty1")); // a console: no device
    f.link(QStringLiteral("../../ttyUSB0"),
           f.dev + QStringLiteral("/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0"));
    f.link(QStringLiteral("../../ttyUSB1"),
           f.dev + QStringLiteral("/serial/by-id/usb-1a86_USB_Serial-if00-port0"));
}
