// The checks of a COM port on Windows, from tables of what SetupAPI, the configuration manager
// and opening the port answer.

#include "core/link/windoctor.h"
#include "support/testmain.h"

#include <QTest>

Q_DECLARE_METATYPE(QList<WinSerialDevice>)
Q_DECLARE_METATYPE(WinPortOpen)

namespace {
WinSerialDevice ch340(const QString& com) {
    WinSerialDevice d;
    d.comName = com;
    d.friendlyName = QStringLiteral("USB-SERIAL CH340 (%1)").arg(com);
    d.vendorId = 0x1a86;
    d.productId = 0x7523;
    d.service = QStringLiteral("CH341SER_A64");
    return d;
}
WinSerialDevice ftdi(const QString& com, int latency) {
    WinSerialDevice d;
    d.comName = com;
    d.vendorId = 0x0403;
    d.productId = 0x6001;
    d.service = QStringLiteral("FTSER2K");
    d.latencyTimer = latency;
    return d;
}
WinSerialDevice prolific(unsigned problem) {
    WinSerialDevice d; // a stopped or driverless chip has no COM port
    d.friendlyName = QStringLiteral("Prolific USB-to-Serial Comm Port");
    d.vendorId = 0x067b;
    d.productId = 0x2303;
    d.revision = 0x0300;
    d.problem = problem;
    return d;
}
WinPortOpen opened() {
    return {true, 0};
}
WinPortOpen failed(unsigned long error) {
    return {false, error};
}
} // namespace

class TestWinDoctor : public QObject {
    Q_OBJECT
private slots:
    void findings_data() {
        QTest::addColumn<QList<WinSerialDevice>>("devices");
        QTest::addColumn<WinPortOpen>("open");
        QTest::addColumn<bool>("usable");
        // Each finding as "level:text id or start of text", in order.
        QTest::addColumn<QStringList>("expected");
        using L = QList<WinSerialDevice>;
        QTest::newRow("a CH340 that opens")
            << L{ch340("COM3")} << opened() << true
            << QStringList{"ok:COM3 exists: WCH CH340 (1a86:7523), driver CH341SER_A64.",
                           "ok:It opens"};
        QTest::newRow("held by another program")
            << L{ch340("COM3")} << failed(5) << false
            << QStringList{"ok:COM3 exists", "problem:COM3 is used by another program."};
        QTest::newRow("no such port") << L{ch340("COM3")} << failed(2) << false
                                      << QStringList{"problem:COM3 does not exist."};
        QTest::newRow("counterfeit or phased-out PL2303")
            << L{prolific(10)} << failed(2) << false
            << QStringList{"problem:A Prolific PL2303HX/TA cable (067b:2303) is plugged in, but "
                           "Windows stopped it (code 10)",
                           "problem:COM3 does not exist."};
        QTest::newRow("chip without a driver")
            << L{prolific(28)} << failed(2) << false
            << QStringList{"problem:A Prolific PL2303HX/TA cable (067b:2303) is plugged in, but "
                           "Windows has no driver",
                           "problem:COM3 does not exist."};
        QTest::newRow("FTDI at 16 ms")
            << L{ftdi("COM3", 16)} << opened() << true
            << QStringList{"ok:COM3 exists", "ok:It opens",
                           "warning:The FTDI latency timer of COM3 is 16 ms"};
        QTest::newRow("FTDI at 1 ms")
            << L{ftdi("COM3", 1)} << opened() << true
            << QStringList{"ok:COM3 exists", "ok:It opens", "ok:The FTDI latency timer is 1 ms."};
        QTest::newRow("another cable's latency is not this port's")
            << L{ftdi("COM9", 16), ch340("COM3")} << opened() << true
            << QStringList{"ok:COM3 exists", "ok:It opens"};
    }
    void findings() {
        QFETCH(QList<WinSerialDevice>, devices);
        QFETCH(WinPortOpen, open);
        QFETCH(bool, usable);
        QFETCH(QStringList, expected);
        const DoctorReport r = DiagnoseWinPort(QStringLiteral("com3"), devices, open);
        QStringList got;
        for (const DoctorFinding& f : r.findings) {
            const char* level = f.level == DoctorFinding::Level::Ok        ? "ok"
                                : f.level == DoctorFinding::Level::Warning ? "warning"
                                                                           : "problem";
            got << QString::fromLatin1(level) + QLatin1Char(':') + f.text;
            // Every problem and warning comes with its fix.
            if (f.level != DoctorFinding::Level::Ok) QVERIFY2(!f.fix.isEmpty(), qPrintable(f.text));
        }
        QCOMPARE(got.size(), expected.size());
        for (int i = 0; i < got.size(); ++i)
            QVERIFY2(got[i].startsWith(expected[i]), qPrintable(got[i]));
        QCOMPARE(r.portUsable, usable);
    }
};

MZ_TEST_GUILESS_MAIN(TestWinDoctor)
#include "tst_windoctor.moc"
