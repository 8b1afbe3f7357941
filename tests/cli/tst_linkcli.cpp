// mzcli read, write, info, pack and unpack against mzsim on a pseudo-terminal.

#include "core/app/appstate.h"
#include "core/files/datafile.h"
#include "core/lang/langtext.h"
#include "core/link/linktexts.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/clirun.h"
#include "support/documentbuilders.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
using Run = CliRun;

Run mzcli(const QStringList& args) {
    return RunMzcli(args);
}

QString english(int id) {
    return LoadLangTextFrom(QStringLiteral(MZ_PROGDIR "/language/english.ini"), id);
}
} // namespace

class TestLinkCli : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        // Every read keeps a backup in the user's data folder: here, in the test's folder.
        qputenv("XDG_DATA_HOME", dir.filePath(QStringLiteral("data")).toLocal8Bit());
        // The rich document D as a data file, and the memory a write of it sends.
        Document doc;
        FillRichDocument(doc);
        RadioDataRec data = doc.RadioData;
        doc.FillFileHead(data.Head);
        QVERIFY(WriteBytes(path("D.dat"), EncodeDataFile(data, doc.CHInfo)));
        const Run pack = mzcli({"pack", path("D.dat"), "-o", path("m.bin")});
        QCOMPARE(pack.code, 0);
        QCOMPARE(ReadBytes(path("m.bin")).size(), 7424);
    }

    void readGivesBackWhatWasPacked() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--image", path("m.bin")}));
        const Run read = mzcli({"read", "--port", sim.device, "-o", path("x.dat")});
        QCOMPARE(read.code, 0);
        QVERIFY(read.err.contains(english(9009)));
        QVERIFY(read.err.contains(QStringLiteral("Reading 100%")));
        QCOMPARE(mzcli({"pack", path("x.dat"), "-o", path("x.bin")}).code, 0);
        QCOMPARE(ReadBytes(path("x.bin")), ReadBytes(path("m.bin")));

        // --quiet leaves out the progress.
        const Run quiet = mzcli({"read", "--port", sim.device, "--quiet", "-o", path("x2.dat")});
        QCOMPARE(quiet.code, 0);
        QVERIFY(!quiet.err.contains(QLatin1Char('%')));
        QCOMPARE(ReadBytes(path("x2.dat")), ReadBytes(path("x.dat")));
    }

    void writeIntoABlankRadio() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--save", path("s.bin")}));
        const Run write = mzcli({"write", "--port", sim.device, path("D.dat")});
        QCOMPARE(write.code, 0);
        QVERIFY(write.err.contains(english(9010)));
        QCOMPARE(ReadBytes(path("s.bin")), ReadBytes(path("m.bin")));
        // Read back from the same radio.
        QCOMPARE(mzcli({"read", "--port", sim.device, "-o", path("back.dat")}).code, 0);
        QCOMPARE(mzcli({"pack", path("back.dat"), "-o", path("back.bin")}).code, 0);
        QCOMPARE(ReadBytes(path("back.bin")), ReadBytes(path("m.bin")));
    }

    void unpackThenPack() {
        QCOMPARE(mzcli({"unpack", path("m.bin"), "--mode", "1", "-o", path("u.dat")}).code, 0);
        QCOMPARE(mzcli({"pack", path("u.dat"), "-o", path("u.bin")}).code, 0);
        QCOMPARE(ReadBytes(path("u.bin")), ReadBytes(path("m.bin")));
    }

    void information() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "2", "--password", "77"}));
        const Run info = mzcli({"info", "--port", sim.device, "--format", "json"});
        QCOMPARE(info.code, 0);
        const QJsonObject o = QJsonDocument::fromJson(info.out.toUtf8()).object();
        QCOMPARE(o.value("InfoMode").toInt(), 2);
        QCOMPARE(o.value("SerialNo").toString(), QStringLiteral("SIM00000001"));
        QCOMPARE(o.value("RepairNote").toString(), QStringLiteral("Virtual radio; no repair."));
        QCOMPARE(o.keys().size(), 12);
        const Run text = mzcli({"info", "--port", sim.device});
        QCOMPARE(text.code, 0);
        QVERIFY(text.out.contains(QStringLiteral("InfoMode: 2 (HAM, 28.000 - 29.700 MHz)")));
    }

    void password() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--password", "Ab", "--image", path("m.bin")}));
        const Run none = mzcli({"read", "--port", sim.device, "-o", path("p.dat")});
        QCOMPARE(none.code, 1);
        QVERIFY(none.err.contains(QStringLiteral("PassWord Failure!")));
        QVERIFY(none.err.contains(QStringLiteral("give it with --password")));
        QVERIFY(!QFile::exists(path("p.dat")));
        const Run wrong =
            mzcli({"read", "--port", sim.device, "--password", "ab", "-o", path("p.dat")});
        QCOMPARE(wrong.code, 1);
        QVERIFY(!QFile::exists(path("p.dat")));
        const Run given =
            mzcli({"read", "--port", sim.device, "--password", "Ab", "-o", path("p.dat")});
        QCOMPARE(given.code, 0);
        QVERIFY(!given.err.contains(QStringLiteral("Ab")));
        QVERIFY(QFile::exists(path("p.dat")));
    }

    void identityMismatch() {
        {
            SimProcess sim;
            QVERIFY(sim.start({"--model", "XX-1"}));
            const Run r = mzcli({"read", "--port", sim.device, "-o", path("i.dat")});
            QCOMPARE(r.code, 1);
            QVERIFY(r.err.contains(QStringLiteral("PC is MZ-710\nRadio is XX-1")));
            QVERIFY(!QFile::exists(path("i.dat")));
        }
        {
            SimProcess sim;
            QVERIFY(sim.start({"--mode", "2", "--save", path("i.bin")}));
            const Run r = mzcli({"write", "--port", sim.device, path("D.dat")});
            QCOMPARE(r.code, 1);
            QVERIFY(r.err.contains(english(9030)));
            // The radio was told to end (and saved its memory then); nothing of it changed.
            QTRY_COMPARE(ReadBytes(path("i.bin")), QByteArray(7424, '\0'));
        }
        {
            SimProcess sim;
            QVERIFY(sim.start({"--firmware", "V200"}));
            const Run r = mzcli({"read", "--port", sim.device, "-o", path("i.dat")});
            QCOMPARE(r.code, 1);
            QVERIFY(r.err.contains(QStringLiteral("--run-other-version would start")));
            QVERIFY(!r.err.contains(QLatin1Char('?')));
            QVERIFY(!QFile::exists(path("i.dat")));
        }
    }

    void blockThatKeepsFailing() {
        SimProcess sim;
        QVERIFY(sim.start({"--drop", "1"}));
        const Run r = mzcli({"read", "--port", sim.device, "-o", path("f.dat")});
        QCOMPARE(r.code, 1);
        // Told without its question: nobody is there to answer "Try again?".
        QVERIFY(r.err.contains(english(9008).section(QLatin1Char('.'), 0, 0)));
        QVERIFY(!r.err.contains(QLatin1Char('?')));
        QVERIFY(!QFile::exists(path("f.dat")));

        SimProcess resending;
        QVERIFY(resending.start({"--resend", "1", "--mode", "1"}));
        const Run w = mzcli({"write", "--port", resending.device, path("D.dat")});
        QCOMPARE(w.code, 1);
        // A radio that refuses every block is not "not answering", and it now holds part of
        // the new memory.
        QVERIFY2(w.err.contains(QStringLiteral("The radio refused block 0x0000")),
                 qPrintable(w.err));
        QVERIFY(!w.err.contains(english(9008).section(QLatin1Char('.'), 0, 0)));
        QVERIFY(w.err.contains(english(TxtPartlyWritten)));
        QVERIFY(!w.err.contains(QLatin1Char('?')));
    }

    void radioVanishingLeavesTheFileAlone() {
        QVERIFY(WriteBytes(path("keep.dat"), "what was there before"));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--baud", "9600", "--image", path("m.bin")}));
        QProcess cli;
        QString err = StartMzcliUntil(cli, {"read", "--port", sim.device, "-o", path("keep.dat")},
                                      QStringLiteral("Reading 10%"));
        QVERIFY(err.contains(QStringLiteral("Reading 10%")));
        sim.kill();
        QVERIFY(cli.waitForFinished(10000));
        err += QString::fromUtf8(cli.readAllStandardError());
        QCOMPARE(cli.exitCode(), 1);
        // The far end of the terminal went away, as a pulled USB cable does: the message says
        // so, not that the radio stopped answering.
        QVERIFY2(err.contains(english(TxtUnplugged)), qPrintable(err));
        QCOMPARE(ReadBytes(path("keep.dat")), QByteArray("what was there before"));
    }

    void badArgumentsAndPorts() {
        QCOMPARE(mzcli({"read", "-o", path("z.dat")}).code, 2);
        QCOMPARE(mzcli({"unpack", path("m.bin"), "-o", path("z.dat")}).code, 2);
        QCOMPARE(mzcli({"pack", path("m.bin"), "-o", path("z.bin")}).code, 2); // not a .dat
        QCOMPARE(mzcli({"read", "--port", "x", "--bogus", "-o", path("z.dat")}).code, 2);
        const Run missing = mzcli({"read", "--port", "/dev/no-such-port", "-o", path("z.dat")});
        QCOMPARE(missing.code, 1);
        QVERIFY(missing.err.contains(english(9003)));
        QVERIFY(missing.err.contains(QStringLiteral("/dev/no-such-port does not exist")));
        QVERIFY(!QFile::exists(path("z.dat")));
    }
};

MZ_TEST_GUILESS_MAIN(TestLinkCli)
#include "tst_linkcli.moc"
