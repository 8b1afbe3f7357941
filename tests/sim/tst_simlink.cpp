// The session over a real pseudo-terminal against mzsim.

#include "core/app/appstate.h"
#include "core/app/documenttitles.h"
#include "core/app/startup.h"
#include "core/lang/prompter.h"
#include "core/link/connectiontest.h"
#include "core/link/linktexts.h"
#include "core/link/memorymap.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "sim/simprocess.h"
#include "support/documentbuilders.h"
#include "support/ptylink.h"
#include "support/richdocument.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {
QByteArray bytesOf(const MemBuf& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), int(m.size()));
}

using Link = PtyLink;

} // namespace

class TestSimLink : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        Document doc;
        UseStagedLanguage();
        App().ProgramRoot = QStringLiteral(MZ_STAGE_DIR);
        LoadVersionTable(doc);
    }

    void echoSettingIsFoundAndKept() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        Link link(sim.device);
        link.prompter.expect(9009);
        QVERIFY(link.run(CommKind::Info));
        QVERIFY(link.session.NoEcho());
        QCOMPARE(link.session.HandshakeTries(), 1); // one time-out found the setting
        QVERIFY(link.run(CommKind::Read));
        QCOMPARE(link.session.HandshakeTries(), 0); // used at once by the next session

        SimProcess echoing;
        QVERIFY(echoing.start({QStringLiteral("--echo")}));
        Link first(echoing.device);
        first.prompter.expect(9009);
        QVERIFY(first.run(CommKind::Read));
        QVERIFY(!first.session.NoEcho());
        QCOMPARE(first.session.HandshakeTries(), 0);
    }

    void faultsAreRecovered() {
        Document source;
        FillRichDocument(source);
        const MemBuf image = PackedImage(source);
        QVERIFY(WriteBytes(path("faults.bin"), bytesOf(image)));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--image", path("faults.bin"), "--save",
                           path("faults-saved.bin"), "--drop", "0.01", "--corrupt", "0.01",
                           "--resend", "0.05", "--seed", "11", "--echo"}));
        Link link(sim.device);
        link.prompter.expect(9009);
        QVERIFY(link.run(CommKind::Read));
        QVERIFY(PackedImage(link.doc) == image);
        // The retries were used, and nothing else was asked.
        QCOMPARE(link.prompter.texts().size(), 1);

        Link writer(sim.device);
        FillRichDocument(writer.doc);
        writer.doc.RadioData.Func.Volume = 3;
        writer.prompter.expect(9010);
        QVERIFY(writer.run(CommKind::Write));
        QCOMPARE(ReadBytes(path("faults-saved.bin")), bytesOf(PackedImage(writer.doc)));
    }

    void radioVanishingMidTransfer() {
        Document source;
        FillRichDocument(source);
        QVERIFY(WriteBytes(path("vanish.bin"), bytesOf(PackedImage(source))));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--baud", "9600", "--image", path("vanish.bin")}));
        Link link(sim.device);
        link.session.SetNoEcho(true);
        // The far end going away is what a pulled USB cable looks like.
        link.prompter.expect(LinkText(TxtUnplugged));
        const RadioDataRec before = link.doc.RadioData;
        QSignalSpy lost(&link.transport, &LinkTransport::lineLost);
        QObject::connect(&link.session, &LinkSession::progress, [&](int p) {
            if (p >= 5 && sim.process.state() == QProcess::Running) sim.kill();
        });
        QVERIFY(!link.run(CommKind::Read));
        QCOMPARE(lost.size(), 1);
        QVERIFY(!link.transport.isOpen());
        QVERIFY(!link.prompter.texts().isEmpty());
        QCOMPARE(link.prompter.texts().last(), LinkText(TxtUnplugged));
        QVERIFY(link.doc.RadioData == before);

        // The cable is back (here: another radio on another port): the same objects work on.
        SimProcess again;
        QVERIFY(again.start({"--mode", "1", "--image", path("vanish.bin")}));
        link.transport.setPort(again.device);
        link.prompter.expect(9009);
        QVERIFY(link.run(CommKind::Read));
        QVERIFY(PackedImage(link.doc) == PackedImage(source));
    }

    void connectionTestAsksOnlyWhoTheRadioIs() {
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "2", "--save", path("untouched.bin")}));
        ConnectionTest test;
        QSignalSpy finished(&test, &ConnectionTest::finished);
        QVERIFY(test.start(sim.device));
        QVERIFY(finished.wait(5000));
        QVERIFY(finished.first().at(0).toBool());
        QCOMPARE(finished.first().at(1).toString(), LinkText(TxtRadioFound)
                                                        .arg(QStringLiteral("MZ-710"))
                                                        .arg(2)
                                                        .arg(ModeName(2), QStringLiteral("V100")));
        QCOMPARE(test.countryMode(), 2);
        // A pseudo-terminal cannot carry the low-latency request; it is used as it is.
        QVERIFY(!test.lowLatency());

        // A port that is not there answers at once, naming it.
        finished.clear();
        QVERIFY(test.start(path("no-such-port")));
        QCOMPARE(finished.size(), 1);
        QVERIFY(!finished.first().at(0).toBool());
        QVERIFY(finished.first().at(1).toString().contains(path("no-such-port")));
    }

    void lowLatencyIsAskedAndItsRefusalIsSilent() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        SerialTransport t(sim.device);
        QCOMPARE(t.lowLatency(), LowLatency::NotAsked);
        QString why;
        QVERIFY(t.open(&why));
        QCOMPARE(t.lowLatency(), LowLatency::Refused);
        QVERIFY(why.isEmpty());
        t.close();
    }

    void everyNameOfOneDeviceSharesOneLock() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        const QString alias = path("radio-alias");
        QVERIFY(QFile::link(sim.device, alias));
        SerialTransport a(sim.device), b(alias);
        QString why;
        QVERIFY(a.open(&why));
        QVERIFY(!b.open(&why));
        QCOMPARE(why, LinkText(TxtBusy).arg(alias));
        QCOMPARE(b.devicePath(), sim.device);
        a.close();
        QVERIFY(b.open(&why));
    }

    void busyPortIsNamed() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        SerialTransport a(sim.device), b(sim.device);
        QString why;
        QVERIFY(a.open(&why));
        QVERIFY(!b.open(&why));
        QCOMPARE(why, LinkText(TxtBusy).arg(sim.device));
        a.close();
        QVERIFY(b.open(&why));
    }

    void simulatorEndsAfterItsSessions() {
        SimProcess sim;
        const QString link_path = dir.filePath(QStringLiteral("radio-link"));
        QVERIFY(sim.start({"--sessions", "1", "--link", link_path}));
        QCOMPARE(QFileInfo(link_path).symLinkTarget(), sim.device);
        Link link(link_path);
        QVERIFY(link.run(CommKind::Info));
        QVERIFY(sim.process.waitForFinished(5000));
        QCOMPARE(sim.process.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(link_path) && !QFileInfo(link_path).isSymLink());
    }

    // What lies at --link or --save and is not the simulator's own stays as it is; only a link
    // left behind by a simulator that has ended is replaced.
    void linkAndSaveTakeNothingOfAnyoneElse() {
        SimProcess other;
        QVERIFY(other.start({"--link", path("other-link")}));
        QVERIFY(WriteBytes(path("precious.txt"), "precious\n"));
        QVERIFY(QFile::link(path("precious.txt"), path("user-link")));
        QVERIFY(QFile::link(QStringLiteral("/dev/pts/99999"), path("stale-link")));
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString fifo = path("save.fifo");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        struct Case {
            QStringList args;
            int exitCode; // 0: it starts
            QString untouched;
        };
        const QList<Case> cases = {
            {{"--link", path("precious.txt")}, 2, path("precious.txt")},
            {{"--link", path("user-link")}, 2, path("user-link")},
            {{"--link", path("other-link")}, 2, path("other-link")},
            {{"--link", path("folder")}, 2, path("folder")},
            {{"--link", path("stale-link")}, 0, QString()},
            {{"--save", QStringLiteral("/dev/null")}, 2, QString()},
            {{"--save", path("folder")}, 2, path("folder")},
            {{"--save", fifo}, 2, fifo},
        };
        for (const Case& c : cases) {
            const QString what = c.args.join(QLatin1Char(' '));
            const QFileInfo before(c.untouched);
            const QString target = before.symLinkTarget();
            SimProcess sim;
            if (c.exitCode == 0) {
                QVERIFY2(sim.start(c.args), qPrintable(what));
                QCOMPARE(QFileInfo(c.args[1]).symLinkTarget(), sim.device);
                sim.process.terminate();
                QVERIFY(sim.process.waitForFinished(5000));
                QVERIFY2(!QFileInfo(c.args[1]).isSymLink(), qPrintable(what));
                continue;
            }
            QVERIFY2(!sim.start(c.args), qPrintable(what));
            QVERIFY(sim.process.state() == QProcess::NotRunning ||
                    sim.process.waitForFinished(5000));
            QCOMPARE(sim.process.exitCode(), c.exitCode);
            QVERIFY2(!sim.process.readAllStandardError().isEmpty(), qPrintable(what));
            if (c.untouched.isEmpty()) continue;
            const QFileInfo after(c.untouched);
            QVERIFY2(after.exists() || after.isSymLink(), qPrintable(what));
            QCOMPARE(after.isSymLink(), before.isSymLink());
            QCOMPARE(after.symLinkTarget(), target);
        }
        QCOMPARE(ReadBytes(path("precious.txt")), QByteArray("precious\n"));
        QVERIFY(QFileInfo(path("folder")).isDir());

        // A link someone replaced while the simulator ran is theirs now.
        SimProcess sim;
        QVERIFY(sim.start({"--link", path("replaced-link")}));
        QVERIFY(QFile::remove(path("replaced-link")));
        QVERIFY(QFile::link(path("precious.txt"), path("replaced-link")));
        sim.process.terminate();
        QVERIFY(sim.process.waitForFinished(5000));
        QCOMPARE(QFileInfo(path("replaced-link")).symLinkTarget(), path("precious.txt"));
        // The other simulator kept its link while all this happened.
        QCOMPARE(QFileInfo(path("other-link")).symLinkTarget(), other.device);
    }

    void imagesThatAreNoRegularFileAreRefused() {
        // A FIFO would hold the simulator before it ever printed its device.
        const QString fifo = path("image.fifo");
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        for (const QString& option : {QStringLiteral("--image"), QStringLiteral("--info")}) {
            QProcess sim;
            sim.start(QStringLiteral(MZ_PROGDIR "/mzsim"), {option, fifo});
            QVERIFY(sim.waitForFinished(10000));
            QCOMPARE(sim.exitCode(), 2);
            QVERIFY(QString::fromLocal8Bit(sim.readAllStandardError())
                        .contains(QStringLiteral("is not a regular file")));
        }
    }
};

MZ_TEST_GUILESS_MAIN(TestSimLink)
#include "tst_simlink.moc"
