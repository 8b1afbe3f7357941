// The port list and the port check, on the fake system of support/fakesystem.h.

#include "core/link/portdetails.h"
#include "core/link/portdoctor.h"
#include "core/link/portholders.h"
#include "support/fakesystem.h"
#include "support/testmain.h"

#include <QTest>

namespace {
bool has(const DoctorReport& r, DoctorFinding::Level level, const QString& part) {
    for (const DoctorFinding& f : r.findings)
        if (f.level == level && (f.text + f.fix).contains(part)) return true;
    return false;
}
} // namespace

class TestPortDetails : public QObject {
    Q_OBJECT
private slots:
    void chipFamilies_data() {
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::addColumn<int>("bcd");
        QTest::addColumn<QString>("family");
        QTest::newRow("CH340") << 0x1a86 << 0x7523 << 0x0264 << "WCH CH340";
        QTest::newRow("CH341") << 0x1a86 << 0x5523 << 0 << "WCH CH341";
        QTest::newRow("PL2303HX") << 0x067b << 0x2303 << 0x0300 << "Prolific PL2303HX/TA";
        QTest::newRow("PL2303HXD") << 0x067b << 0x2303 << 0x0400 << "Prolific PL2303HXD";
        QTest::newRow("PL2303GS") << 0x067b << 0x23f3 << 0x0100 << "Prolific PL2303GS";
        QTest::newRow("FT232R") << 0x0403 << 0x6001 << 0x0600 << "FTDI FT232R";
        QTest::newRow("FT-X") << 0x0403 << 0x6015 << 0x1000 << "FTDI FT-X";
        QTest::newRow("CP210x") << 0x10c4 << 0xea60 << 0x0100 << "Silicon Labs CP210x";
        QTest::newRow("a mouse") << 0x046d << 0xc077 << 0 << "";
    }
    void chipFamilies() {
        QFETCH(int, vid);
        QFETCH(int, pid);
        QFETCH(int, bcd);
        QFETCH(QString, family);
        QCOMPARE(ChipFamily(quint16(vid), quint16(pid), quint16(bcd)), family);
    }

    void listNamesEveryCable() {
        FakeSystem f;
        buildMachine(f);
        const QList<SerialPortDetails> ports = ListSerialPorts(f.roots());
        QStringList paths;
        for (const SerialPortDetails& p : ports)
            paths << p.path.mid(f.dev.size());
        // The reserved ttyS1 without a UART, the console and the refused chip have no port.
        QCOMPARE(paths, (QStringList{"/ttyS0", "/ttyUSB0", "/ttyUSB1"}));

        const SerialPortDetails& ftdi = ports[1];
        QCOMPARE(ftdi.vendorId, quint16(0x0403));
        QCOMPARE(ftdi.productId, quint16(0x6001));
        QCOMPARE(ftdi.chipFamily, QStringLiteral("FTDI FT232R"));
        QCOMPARE(ftdi.manufacturer, QStringLiteral("FTDI"));
        QCOMPARE(ftdi.product, QStringLiteral("FT232R USB UART"));
        QCOMPARE(ftdi.serialNumber, QStringLiteral("A10K1234"));
        QCOMPARE(ftdi.driver, QStringLiteral("ftdi_sio"));
        QVERIFY(ftdi.byIdPath.endsWith(
            QStringLiteral("/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0")));
        QCOMPARE(ftdi.stableName(), ftdi.byIdPath);
        QCOMPARE(ftdi.summary(), QStringLiteral("FTDI FT232R (0403:6001)"));
        QCOMPARE(ports[2].chipFamily, QStringLiteral("WCH CH340"));
        QCOMPARE(ports[2].driver, QStringLiteral("ch341"));
        QVERIFY(!ports[0].isUsb());
        QCOMPARE(ports[0].stableName(), ports[0].path);

        // The same cable by its stable name, by its path and by its bare name.
        for (const QString& name : {ftdi.byIdPath, ftdi.path})
            QCOMPARE(PortDetailsFor(name, f.roots()).serialNumber, QStringLiteral("A10K1234"));
        QCOMPARE(PortDetailsFor(QStringLiteral("ttyUSB1"), f.roots()).chipFamily,
                 QStringLiteral("WCH CH340"));

        const QList<SerialPortDetails> refused = UnboundUsbSerialChips(f.roots());
        QCOMPARE(refused.size(), 1);
        QCOMPARE(refused.first().chipFamily, QStringLiteral("Prolific PL2303HX/TA"));
    }

    void checkNamesWhatStandsInTheWay() {
        FakeSystem f;
        buildMachine(f);
        const QString ftdi = f.dev + QStringLiteral("/ttyUSB0");

        DoctorReport r = CheckPort(ftdi, f.doctorRoots());
        QVERIFY(r.portUsable);
        QVERIFY(has(r, DoctorFinding::Level::Ok, QStringLiteral("FTDI FT232R (0403:6001)")));
        QVERIFY(has(r, DoctorFinding::Level::Problem, QStringLiteral("counterfeit")));
        QVERIFY(!has(r, DoctorFinding::Level::Warning, QStringLiteral("ModemManager")));

        // ModemManager runs: a warning, until udev tells it to leave the cable alone.
        FakeSystem::write(f.proc + QStringLiteral("/300/comm"), "ModemManager");
        r = CheckPort(ftdi, f.doctorRoots());
        QVERIFY(has(r, DoctorFinding::Level::Warning, QStringLiteral("60-mzprog.rules")));
        FakeSystem::write(f.udevData + QStringLiteral("/c1:3"), "E:ID_MM_DEVICE_IGNORE=1");
        r = CheckPort(ftdi, f.doctorRoots());
        QVERIFY(has(r, DoctorFinding::Level::Ok, QStringLiteral("ModemManager is told")));

        // brltty's rule names the CH340.
        FakeSystem::write(f.rules + QStringLiteral("/85-brltty.rules"),
                          "ENV{PRODUCT}==\"1a86/7523/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\"");
        r = CheckPort(f.dev + QStringLiteral("/ttyUSB1"), f.doctorRoots());
        QVERIFY(has(r, DoctorFinding::Level::Problem, QStringLiteral("brltty")));
        QVERIFY(!has(CheckPort(ftdi, f.doctorRoots()), DoctorFinding::Level::Problem,
                     QStringLiteral("brltty")));

        // Another program holds the device.
        FakeSystem::write(f.proc + QStringLiteral("/4242/comm"), "mzcli");
        FakeSystem::link(QStringLiteral("/dev/null"), f.proc + QStringLiteral("/4242/fd/5"));
        QCOMPARE(PortHolders(ftdi, f.proc).size(), 1);
        QCOMPARE(PortHolders(ftdi, f.proc).first().name, QStringLiteral("mzcli"));
        r = CheckPort(ftdi, f.doctorRoots());
        QVERIFY(!r.portUsable);
        QVERIFY(has(r, DoctorFinding::Level::Problem, QStringLiteral("mzcli (PID 4242)")));

        // A stable name whose cable is gone, and a path that never was.
        r = CheckPort(f.dev + QStringLiteral("/serial/by-id/usb-FTDI_other-if00-port0"),
                      f.doctorRoots());
        QVERIFY(!r.portUsable);
        QVERIFY(has(r, DoctorFinding::Level::Problem, QStringLiteral("is not plugged in")));
        r = CheckPort(f.dev + QStringLiteral("/ttyUSB9"), f.doctorRoots());
        QVERIFY(!r.portUsable);
        QVERIFY(has(r, DoctorFinding::Level::Problem, QStringLiteral("ttyUSB9 does not exist")));
    }
};

MZ_TEST_GUILESS_MAIN(TestPortDetails)
#include "tst_portdetails.moc"
