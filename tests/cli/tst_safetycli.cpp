// What keeps a radio's contents safe in mzcli: the backup of every read, the verify after a
// write (against a radio that keeps what it is sent and one with a bad memory cell), and the
// wire log.

#include "core/files/datafile.h"
#include "core/link/memorymap.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/clirun.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Run = CliRun;

Run mzcli(const QStringList& args) {
    return RunMzcli(args);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

class TestSafetyCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int firstChannel = 0;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }
    QStringList backups() const {
        QDir d(path("data/mzprog/backups"));
        QStringList r;
        for (const QString& f : d.entryList({"*.dat"}, QDir::Files, QDir::Name))
            r << d.filePath(f);
        return r;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        qputenv("XDG_DATA_HOME", path("data").toLocal8Bit());
        Document doc;
        FillRichDocument(doc, 1);
        RadioDataRec data = doc.RadioData;
        doc.FillFileHead(data.Head);
        QFile f(path("D.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(EncodeDataFile(data, doc.CHInfo));
        f.close();
        firstChannel = doc.CHInfo[0].CHNo;
        QVERIFY(firstChannel >= 1 && firstChannel <= 400);
        QCOMPARE(mzcli({"pack", path("D.dat"), "-o", path("m.bin")}).code, 0);
    }

    void aReadKeepsExactlyOneBackupOfWhatWasRead() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--image", path("m.bin")}));
        const QStringList before = backups();
        const Run read = mzcli({"read", "--port", sim.device, "--quiet", "-o", path("r.dat")});
        QCOMPARE(read.code, 0);
        const QStringList after = backups();
        QCOMPARE(after.size(), before.size() + 1);
        const QString backup = after.last();
        QVERIFY(QFileInfo(backup).fileName().endsWith(QLatin1String("_MZ-710_HF.dat")));
        QVERIFY(read.err.contains(backup));
        // The backup holds the document that was read, field for field.
        const Run a = mzcli({"show", backup, "--format", "json"});
        const Run b = mzcli({"show", path("r.dat"), "--format", "json"});
        QCOMPARE(a.code, 0);
        QCOMPARE(a.out, b.out);

        // A backup that cannot be made is told, and the read still succeeds.
        QFile blocker(path("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        qputenv("XDG_DATA_HOME", path("blocker").toLocal8Bit());
        const Run unsaved = mzcli({"read", "--port", sim.device, "--quiet", "-o", path("r3.dat")});
        qputenv("XDG_DATA_HOME", path("data").toLocal8Bit());
        QCOMPARE(unsaved.code, 0);
        QVERIFY(unsaved.err.contains(QLatin1String("could not be saved")));
        QVERIFY(QFile::exists(path("r3.dat")));

        const Run quiet =
            mzcli({"read", "--port", sim.device, "--quiet", "--no-backup", "-o", path("r2.dat")});
        QCOMPARE(quiet.code, 0);
        QCOMPARE(backups().size(), after.size());
    }

    void aWriteIsVerified() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--save", path("saved.bin")}));
        const Run write = mzcli({"write", "--port", sim.device, "--quiet", path("D.dat")});
        QCOMPARE(write.code, 0);
        QVERIFY2(write.err.contains(QLatin1String("verified")), qPrintable(write.err));
        QCOMPARE(readFile(path("saved.bin")), readFile(path("m.bin")));

        const Run off =
            mzcli({"write", "--port", sim.device, "--quiet", "--no-verify", path("D.dat")});
        QCOMPARE(off.code, 0);
        QVERIFY(!off.err.contains(QLatin1String("verif")));
    }

    void aRadioThatChangesAByteIsReported() {
        SimProcess sim;
        const int address = ChannelAddress(firstChannel) + 12; // its roger-beep byte
        QVERIFY(sim.start({"--mode", "1", "--corrupt-memory",
                           QStringLiteral("0x%1").arg(address, 4, 16, QLatin1Char('0'))}));
        const Run write = mzcli({"write", "--port", sim.device, "--quiet", path("D.dat")});
        QCOMPARE(write.code, 1);
        QVERIFY2(write.err.contains(QStringLiteral("channel %1: RBTone").arg(firstChannel)),
                 qPrintable(write.err));
        // A byte the map gives no meaning to does not fail the verify.
        SimProcess quiet;
        QVERIFY(quiet.start({"--mode", "1", "--corrupt-memory", "0x1BFF"}));
        QCOMPARE(mzcli({"write", "--port", quiet.device, "--quiet", path("D.dat")}).code, 0);
    }

    void theLogHoldsTheSessionAndNoPassword() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--echo", "--password", "Kx9!"}));
        const Run write = mzcli({"--log", path("w.log"), "write", "--port", sim.device,
                                 "--password", "Kx9!", "--quiet", path("D.dat")});
        QCOMPARE(write.code, 0);
        const QByteArray log = readFile(path("w.log"));
        QVERIFY(log.startsWith("# mzprog wire log, "));
        QVERIFY(!log.contains("Kx9!"));
        QVERIFY(!log.contains("4B 78 39 21"));
        // A write of 464 blocks and a read of 464 blocks, each with its echo and reply.
        QCOMPARE(log.count(" TX 57 "), 464);
        QCOMPARE(log.count(" TX 52 "), 464 + 2); // the data and two password-block reads
        QVERIFY(log.contains("-- verified: the radio holds what was written"));
        QVERIFY(log.contains("programming accepted; the cable echoes"));
        // A log that cannot be written stops the command before the radio is touched.
        const Run bad = mzcli(
            {"write", "--port", sim.device, "--log", path("no/such/dir/x.log"), path("D.dat")});
        QCOMPARE(bad.code, 2);
    }
};

MZ_TEST_GUILESS_MAIN(TestSafetyCli)
#include "tst_safetycli.moc"
