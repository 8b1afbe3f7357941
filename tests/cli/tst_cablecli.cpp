// mzcli ports and doctor, and two writers on one port: what a user sees of a real cable.

#include "core/link/linktexts.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/clirun.h"
#include "support/documentbuilders.h"
#include "support/fakesystem.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include "core/files/datafile.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TestCableCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        qputenv("XDG_DATA_HOME", path("data").toLocal8Bit());
    }

    void portsNameTheCables() {
        FakeSystem f;
        buildMachine(f);
        const QStringList env{QStringLiteral("MZPROG_SYSFS_ROOT=") + f.sys,
                              QStringLiteral("MZPROG_DEV_ROOT=") + f.dev};
        const CliRun json = RunMzcli({"ports", "--format", "json"}, env);
        QCOMPARE(json.code, 0);
        const QJsonArray ports = QJsonDocument::fromJson(json.out.toUtf8()).array();
        QCOMPARE(ports.size(), 3);
        const QJsonObject ftdi = ports[1].toObject(), ch340 = ports[2].toObject();
        QCOMPARE(ftdi["path"].toString(), f.dev + QStringLiteral("/ttyUSB0"));
        QCOMPARE(ftdi["vendorId"].toString(), QStringLiteral("0403"));
        QCOMPARE(ftdi["productId"].toString(), QStringLiteral("6001"));
        QCOMPARE(ftdi["chipFamily"].toString(), QStringLiteral("FTDI FT232R"));
        QCOMPARE(ftdi["serialNumber"].toString(), QStringLiteral("A10K1234"));
        QCOMPARE(ftdi["driver"].toString(), QStringLiteral("ftdi_sio"));
        QVERIFY(ftdi["byId"].toString().endsWith(QStringLiteral("-if00-port0")));
        QCOMPARE(ch340["chipFamily"].toString(), QStringLiteral("WCH CH340"));
        QCOMPARE(ch340["vendorId"].toString(), QStringLiteral("1a86"));
        QVERIFY(ch340["byId"].toString().contains(QStringLiteral("usb-1a86_USB_Serial")));
        QVERIFY(ports[0].toObject()["vendorId"].isNull());

        const CliRun text = RunMzcli({"ports"}, env);
        QCOMPARE(text.code, 0);
        QVERIFY(text.out.contains(QStringLiteral("chip:         WCH CH340")));
        QCOMPARE(RunMzcli({"ports", "--format", "xml"}, env).code, 2);
    }

    void doctorTellsWhereItStops() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1"}));
        const CliRun answered = RunMzcli({"doctor", "--port", sim.device});
        QCOMPARE(answered.code, 0);
        QVERIFY2(answered.out.contains(QStringLiteral("MZ-710, country mode 1 (HF)")),
                 qPrintable(answered.out));
        QVERIFY(answered.out.contains(QStringLiteral("No other program holds it.")));

        // A terminal nobody answers on: the port is fine, the radio is not there.
        QProcess silent;
        silent.start(QStringLiteral("python3"),
                     {"-u", "-c",
                      "import pty,os,sys,time\nm,s=pty.openpty()\nprint(os.ttyname(s))\n"
                      "sys.stdout.flush()\ntime.sleep(30)"});
        QVERIFY(silent.waitForReadyRead(5000));
        const QString quiet = QString::fromUtf8(silent.readLine()).trimmed();
        const CliRun none = RunMzcli({"doctor", "--port", quiet});
        silent.kill();
        silent.waitForFinished();
        QCOMPARE(none.code, 1);
        QVERIFY(none.out.contains(QStringLiteral("problem  The radio did not answer")));

        const CliRun missing = RunMzcli({"doctor", "--port", path("ttyUSB9")});
        QCOMPARE(missing.code, 2);
        QVERIFY(missing.out.contains(path("ttyUSB9") + QStringLiteral(" does not exist")));
        QCOMPARE(RunMzcli({"doctor"}).code, 2);

        // A radio naming itself with an escape sequence: a damaged identification, never run by
        // the terminal.
        SimProcess odd;
        QVERIFY(odd.start({"--model", QStringLiteral("\x1b[31mX")}));
        const QList<QStringList> commands = {
            {"doctor", "--port", odd.device},
            {"read", "--port", odd.device, "-o", path("odd.dat")},
        };
        for (const QStringList& c : commands) {
            const CliRun r = RunMzcli(c);
            QVERIFY2(!(r.out + r.err).contains(QChar(0x1b)), qPrintable(c.first()));
            QVERIFY(r.code != 0);
        }

        // What is no serial port says so and is no radio that is switched off.
        QVERIFY(WriteBytes(path("plain.txt"), "text"));
        const QStringList noPorts = {dir.path(), path("plain.txt"), QStringLiteral("/dev/zero"),
                                     QStringLiteral("/dev/null"), QStringLiteral("/dev/tty")};
        for (const QString& p : noPorts) {
            const CliRun r = RunMzcli({"doctor", "--port", p});
            QCOMPARE(r.code, 2);
            QVERIFY2(r.out.contains(QStringLiteral("no serial port")) ||
                         r.out.contains(QStringLiteral("not a serial port")),
                     qPrintable(r.out));
            QVERIFY2(!r.out.contains(QStringLiteral("in use by")), qPrintable(r.out));
        }
    }

    void aSecondWriterIsRefusedAtOnce() {
        Document doc;
        FillRichDocument(doc);
        RadioDataRec data = doc.RadioData;
        doc.FillFileHead(data.Head);
        QVERIFY(WriteBytes(path("D.dat"), EncodeDataFile(data, doc.CHInfo)));
        SimProcess sim;
        const QString alias = path("radio");
        QVERIFY(sim.start(
            {"--mode", "1", "--baud", "9600", "--link", alias, "--save", path("saved.bin")}));
        QProcess first;
        StartMzcliUntil(first, {"write", "--port", sim.device, "--no-verify", path("D.dat")},
                        QStringLiteral("Writing"));
        // The second comes through a link to the same device: it still finds the port taken.
        const CliRun second = RunMzcli({"write", "--port", alias, path("D.dat")}, {}, 10000);
        QCOMPARE(second.code, 1);
        QVERIFY2(second.err.contains(
                     QStringLiteral("is in use by mzcli (PID %1)").arg(first.processId())),
                 qPrintable(second.err));
        QVERIFY(first.waitForFinished(60000));
        QCOMPARE(first.exitCode(), 0);
        // The radio holds exactly what the first writer sent.
        QCOMPARE(RunMzcli({"pack", path("D.dat"), "-o", path("sent.bin")}).code, 0);
        QCOMPARE(ReadBytes(path("saved.bin")), ReadBytes(path("sent.bin")));
    }
};

MZ_TEST_GUILESS_MAIN(TestCableCli)
#include "tst_cablecli.moc"
