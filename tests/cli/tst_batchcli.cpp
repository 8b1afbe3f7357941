// mzcli batch-write against mzsim playing a series of radios switched off and on.

#include "core/files/batchlog.h"
#include "core/files/csvtable.h"
#include "core/link/virtualradio.h"
#include "sim/simprocess.h"
#include "support/clirun.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
// A batch-write running beside the test, which switches the radios meanwhile.
struct Batch {
    QProcess p;
    QStringList radios; // the lines on stdout, one per radio
    QString err;

    void start(const QStringList& args) {
        p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), QStringList{"batch-write"} + args);
        p.closeWriteChannel();
    }
    void take() {
        while (p.canReadLine())
            radios << QString::fromUtf8(p.readLine()).trimmed();
        err += QString::fromUtf8(p.readAllStandardError());
    }
    // Waits until n radios were handled.
    bool waitForRadios(int n) {
        return QTest::qWaitFor(
            [&] {
                take();
                return radios.size() >= n;
            },
            60000);
    }
    // Switches the radio off and waits until the batch has seen it gone (it asks for the next
    // radio), so that switching on again is a new radio to it.
    bool switchOff(SimProcess& sim) {
        const int asked = int(err.count(QStringLiteral("connect the next radio")));
        if (sim.control("off") != QLatin1String("off")) return false;
        return QTest::qWaitFor(
            [&] {
                take();
                return err.count(QStringLiteral("connect the next radio")) > asked;
            },
            60000);
    }
    int finish() {
        // waitForFinished is false for a process that has ended already.
        if (p.state() != QProcess::NotRunning && !p.waitForFinished(60000)) return -1;
        take();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

// The data lines of a log (its column line checked and left out): the lines that end a radio,
// or (started) the lines written before a radio is touched.
QList<QStringList> logLines(const QString& path, bool started = false) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const CsvTable t = ReadCsv(f.readAll());
    QList<QStringList> lines;
    for (const CsvRecord& r : t.records)
        lines << r.fields;
    if (lines.isEmpty() || lines.first() != BatchLog::columns()) return {};
    lines.removeFirst();
    QList<QStringList> kept;
    for (const QStringList& l : lines)
        if ((l.value(7) == QLatin1String("started")) == started) kept << l;
    return kept;
}

enum Column { Time, Serial, Model, Mode, DocumentFile, Sha, Backup, Result, Version };
} // namespace

class TestBatchCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString doc, imageSha;
    QString path(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        qputenv("XDG_DATA_HOME", path(QStringLiteral("data")).toLocal8Bit());
        doc = path(QStringLiteral("cb.dat"));
        QCOMPARE(RunMzcli({"new", "--mode", "0", "-o", doc}).code, 0);
        QCOMPARE(RunMzcli({"pack", doc, "-o", path(QStringLiteral("cb.bin"))}).code, 0);
        QFile bin(path(QStringLiteral("cb.bin")));
        QVERIFY(bin.open(QIODevice::ReadOnly));
        imageSha = QString::fromLatin1(
            QCryptographicHash::hash(bin.readAll(), QCryptographicHash::Sha256).toHex());
    }

    // Three radios: the second of another country mode. Each is logged with its own serial
    // number; the radio just written is not written again while it stays on.
    void threeRadiosOneOfAnotherMode() {
        SimProcess sim;
        QVERIFY(sim.start({"--serial-series", "0123456"}));
        const QString log = path(QStringLiteral("three.csv"));
        Batch b;
        b.start({doc, "--port", sim.device, "--log", log, "--count", "3"});
        QVERIFY(b.waitForRadios(1));
        QCOMPARE(b.radios[0], QStringLiteral("radio 0123456 (MZ-710, CB): verified"));
        // The radio stays on: the batch keeps asking who is there and waits.
        QTest::qWait(2500);
        b.take();
        QCOMPARE(b.radios.size(), 1);
        QCOMPARE(logLines(log).size(), 1);

        QVERIFY(b.switchOff(sim));
        sim.control("mode 1");
        QCOMPARE(sim.control("on"), QStringLiteral("on 0123457"));
        QVERIFY(b.waitForRadios(2));
        QVERIFY2(b.radios[1].startsWith(
                     QStringLiteral("radio 0123457 (MZ-710, HF): refused: country mode HF")),
                 qPrintable(b.radios[1]));

        QVERIFY(b.switchOff(sim));
        sim.control("mode 0");
        QCOMPARE(sim.control("on"), QStringLiteral("on 0123458"));
        QVERIFY(b.waitForRadios(3));
        QCOMPARE(b.radios[2], QStringLiteral("radio 0123458 (MZ-710, CB): verified"));
        QCOMPARE(b.finish(), 1); // not every radio verified

        const QList<QStringList> lines = logLines(log);
        QCOMPARE(lines.size(), 3);
        const QStringList serials{"0123456", "0123457", "0123458"};
        const QStringList modes{"CB", "HF", "CB"};
        for (int i = 0; i < 3; ++i) {
            const QStringList& l = lines[i];
            QCOMPARE(l.size(), BatchLog::columns().size());
            QCOMPARE(l[Serial], serials[i]);
            QCOMPARE(l[Model], QStringLiteral("MZ-710"));
            QCOMPARE(l[Mode], modes[i]);
            QCOMPARE(l[DocumentFile], QFileInfo(doc).absoluteFilePath());
            QVERIFY(QDateTime::fromString(l[Time], Qt::ISODate).isValid());
            QVERIFY(!l[Version].isEmpty());
            QVERIFY(l[Backup].isEmpty()); // no --backup-first
        }
        QCOMPARE(lines[0][Result], QStringLiteral("verified"));
        QVERIFY(lines[1][Result].startsWith(QStringLiteral("refused: country mode HF")));
        QCOMPARE(lines[2][Result], QStringLiteral("verified"));
        // The hash names the image sent; a refused radio got nothing.
        QCOMPARE(lines[0][Sha], imageSha);
        QVERIFY(lines[1][Sha].isEmpty());
        QCOMPARE(lines[2][Sha], imageSha);
        // The radios written were logged before they were touched; the refused one was not.
        const QList<QStringList> started = logLines(log, true);
        QCOMPARE(started.size(), 2);
        QCOMPARE(started[0][Serial], serials[0]);
        QCOMPARE(started[1][Serial], serials[2]);
    }

    // --count 2 ends after two radios; both verified: exit 0. With --backup-first each radio's
    // old contents are kept first, and the log names the copy.
    void twoVerifiedRadiosWithBackups() {
        SimProcess sim;
        QVERIFY(sim.start({"--serial-series", "42"}));
        const QString log = path(QStringLiteral("two.csv"));
        Batch b;
        b.start({doc, "--port", sim.device, "--log", log, "--count", "2", "--backup-first"});
        QVERIFY(b.waitForRadios(1));
        QVERIFY(b.switchOff(sim));
        QCOMPARE(sim.control("on"), QStringLiteral("on 43"));
        QCOMPARE(b.finish(), 0);
        QCOMPARE(b.radios, QStringList({"radio 42 (MZ-710, CB): verified",
                                        "radio 43 (MZ-710, CB): verified"}));
        const QList<QStringList> lines = logLines(log);
        QCOMPARE(lines.size(), 2);
        for (const QStringList& l : lines) {
            QVERIFY(l[Backup].startsWith(path(QStringLiteral("data"))));
            QVERIFY(QFile::exists(l[Backup]));
        }
        QVERIFY(lines[0][Backup] != lines[1][Backup]);

        // A second batch appends to the same log; the lines before stay as they were.
        QFile f(log);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        QCOMPARE(sim.control("off"), QStringLiteral("off"));
        QCOMPARE(sim.control("on"), QStringLiteral("on 44"));
        Batch again;
        again.start({doc, "--port", sim.device, "--log", log, "--count", "1"});
        QCOMPARE(again.finish(), 0);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray after = f.readAll();
        QVERIFY(after.startsWith(before));
        QCOMPARE(logLines(log).size(), 3);
    }

    // A radio that keeps a byte otherwise differs; the same radio switched off and on is not
    // written again in the same batch.
    void differingAndRepeatedRadios() {
        {
            SimProcess sim;
            QVERIFY(sim.start({"--serial-series", "7", "--corrupt-memory", "0x1A40"}));
            Batch b;
            b.start({doc, "--port", sim.device, "--log", path(QStringLiteral("bad.csv")), "--count",
                     "1"});
            QCOMPARE(b.finish(), 1);
            QVERIFY2(
                b.radios.value(0).startsWith(QStringLiteral("radio 7 (MZ-710, CB): differs: ")),
                qPrintable(b.radios.value(0)));
        }
        SimProcess sim;
        QVERIFY(sim.start({}));
        Batch b;
        b.start(
            {doc, "--port", sim.device, "--log", path(QStringLiteral("same.csv")), "--count", "2"});
        QVERIFY(b.waitForRadios(1));
        QVERIFY(b.switchOff(sim));
        QCOMPARE(sim.control("on"), QStringLiteral("on"));
        QCOMPARE(b.finish(), 1);
        QVERIFY(b.radios.value(0).endsWith(QStringLiteral(": verified")));
        QVERIFY2(b.radios.value(1).contains(QStringLiteral("refused: serial number")),
                 qPrintable(b.radios.value(1)));
    }

    // Bad arguments and a log that cannot be written stop before any radio is touched.
    void refusedBeforeAnyRadio() {
        SimProcess sim;
        QVERIFY(sim.start({"--save", path(QStringLiteral("untouched.bin"))}));
        QDir().mkpath(path(QStringLiteral("adir")));
        const QString log = path(QStringLiteral("x.csv"));
        const QList<QStringList> cases = {
            {doc, "--port", sim.device},
            {doc, "--port", sim.device, "--log", log, "--count", "0"},
            {doc, "--log", log},
            {"--port", sim.device, "--log", log},
            {path(QStringLiteral("missing.dat")), "--port", sim.device, "--log", log},
            {doc, "--port", sim.device, "--log", path(QStringLiteral("adir"))},
        };
        for (const QStringList& args : cases) {
            const CliRun r = RunMzcli(QStringList{"batch-write"} + args);
            QVERIFY2(r.code == 2, qPrintable(args.join(' ') + ": " + r.err));
            QVERIFY(!r.err.trimmed().isEmpty());
            QVERIFY(r.out.isEmpty());
        }
        QVERIFY(!QFile::exists(path(QStringLiteral("untouched.bin"))));
        QVERIFY(!QFile::exists(log));
    }

    // A serial number with an escape sequence and a formula: shown escaped, logged as text.
    void radioTextsStayText() {
        InfoBuf info = VirtualRadio::DefaultInfo(0);
        const QByteArray serial("=1+\x1b[31m2");
        std::fill(info.begin() + 48, info.begin() + 64, 0xFF);
        std::copy(serial.begin(), serial.end(), info.begin() + 48);
        QVERIFY(WriteBytes(path(QStringLiteral("odd-info.bin")),
                           QByteArray(reinterpret_cast<const char*>(info.data()), InfoSize)));
        SimProcess sim;
        QVERIFY(sim.start({"--info", path(QStringLiteral("odd-info.bin"))}));
        const QString log = path(QStringLiteral("odd.csv"));
        Batch b;
        b.start({doc, "--port", sim.device, "--log", log, "--count", "1"});
        QCOMPARE(b.finish(), 0);
        QCOMPARE(b.radios.size(), 1);
        QVERIFY2(b.radios[0].startsWith(QStringLiteral("radio =1+\\x1b[31m2 (")),
                 qPrintable(b.radios[0]));
        const QList<QStringList> lines = logLines(log);
        QCOMPARE(lines.size(), 1);
        QCOMPARE(lines[0][Serial], QStringLiteral("'=1+\x1b[31m2"));
    }

    // A log that takes no more lines stops the batch before the next radio: exit 2, as for
    // any file refused.
    void logThatFailsStopsBeforeTheNextRadio() {
        SimProcess sim;
        QVERIFY(sim.start({"--serial-series", "500", "--save", path(QStringLiteral("m.bin"))}));
        const QString log = path(QStringLiteral("gone.csv"));
        Batch b;
        b.start({doc, "--port", sim.device, "--log", log, "--count", "2"});
        QVERIFY(b.waitForRadios(1));
        QVERIFY(QFile::remove(log));
        QVERIFY(QDir().mkpath(log));
        QFile::remove(path(QStringLiteral("m.bin")));
        QVERIFY(b.switchOff(sim));
        QCOMPARE(sim.control("on"), QStringLiteral("on 501"));
        QCOMPARE(b.finish(), 2);
        QCOMPARE(b.radios.size(), 1);
        QVERIFY2(b.err.contains(QStringLiteral("cannot be written")), qPrintable(b.err));
        // Radio 501 was asked who it is at most, never written.
        const QByteArray memory = ReadBytes(path(QStringLiteral("m.bin")));
        QVERIFY(memory.isEmpty() || memory == QByteArray(memory.size(), '\0'));
    }

    // A kill while it waits for a radio ends it as it ends a write.
    void stoppedWhileWaiting() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        QCOMPARE(sim.control("off"), QStringLiteral("off"));
        Batch b;
        b.start({doc, "--port", sim.device, "--log", path(QStringLiteral("stop.csv"))});
        QTRY_VERIFY((b.take(), b.err.contains(QStringLiteral("connect the next radio"))));
        b.p.terminate();
        QCOMPARE(b.finish(), 143);
        QVERIFY(b.radios.isEmpty());
        QVERIFY(logLines(path(QStringLiteral("stop.csv"))).isEmpty());
    }
};

MZ_TEST_GUILESS_MAIN(TestBatchCli)
#include "tst_batchcli.moc"
