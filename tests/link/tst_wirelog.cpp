// The wire log of a session: every frame in the order it crossed the line, the session's
// events, and never the radio's password.

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/prompter.h"
#include "core/link/frames.h"
#include "core/link/session.h"
#include "core/link/wirelog.h"
#include "core/model/document.h"
#include "support/documentbuilders.h"
#include "support/fakeradiotransport.h"
#include "support/scriptedprompter.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QEventLoop>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {
struct Rig {
    Document doc;
    ScriptedPrompter prompter;
    FakeRadioTransport radio;
    LinkSession session{doc};
    QBuffer out;
    std::unique_ptr<WireLog> log;

    Rig() {
        doc.NewDocument();
        // The closing messages of a read and a write; anything else fails the test.
        prompter.expect(9009).expect(9010);
        doc.setPrompter(&prompter);
        session.setTransport(&radio);
        session.setPrompter(&prompter);
        session.setReadApplyDelay(0);
        out.open(QIODevice::WriteOnly);
        log = std::make_unique<WireLog>(&out);
        session.setWireLog(log.get());
    }
    bool run(CommKind kind) {
        QSignalSpy ended(&session, &LinkSession::sessionEnded);
        if (!session.Start(kind)) return false;
        QEventLoop loop;
        QObject::connect(&session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        if (ended.isEmpty()) loop.exec();
        return !ended.isEmpty() && ended.first().first().toBool();
    }
    QStringList lines() const { return QString::fromUtf8(out.data()).split(QLatin1Char('\n')); }
};

QString hex(const QByteArray& b) {
    return QString::fromLatin1(b.toHex(' ').toUpper());
}
} // namespace

class TestWireLog : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // The version table of the staged program pairs it with the radio's firmware.
        Document doc;
        UseStagedLanguage();
        App().ProgramRoot = QStringLiteral(MZ_STAGE_DIR);
        LoadVersionTable(doc);
    }

    void everyFrameInOrderAndNoPassword_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("echo");
        QTest::newRow("read, echo") << int(CommKind::Read) << true;
        QTest::newRow("write") << int(CommKind::Write) << false;
        // The information area holds the password block too, read as an ordinary block.
        QTest::newRow("information") << int(CommKind::Info) << true;
    }
    void everyFrameInOrderAndNoPassword() {
        QFETCH(int, kind);
        QFETCH(bool, echo);
        Rig r;
        r.radio.echo = echo;
        r.session.SetNoEcho(!echo);
        r.radio.radio.setPassword("Zq7#");
        r.session.SetProgPassword(QStringLiteral("Zq7#"));
        QVERIFY(r.run(CommKind(kind)));

        // What the log shows, in order: TX request, RX (echo | ) reply for each exchange.
        QStringList expected;
        for (const auto& ex : r.radio.log) {
            expected << QStringLiteral("TX ") + hex(ex.request);
            if (!ex.reply.isEmpty())
                expected << QStringLiteral("RX ") +
                                (echo ? hex(ex.request) + QStringLiteral(" | ") : QString()) +
                                hex(ex.reply);
        }
        static const QRegularExpression frame(
            QStringLiteral("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3} ((TX|RX) .*)$"));
        QStringList logged;
        QStringList events;
        for (const QString& line : r.lines()) {
            const auto m = frame.match(line);
            if (m.hasMatch())
                logged << m.captured(1);
            else if (line.contains(QLatin1String(" -- ")))
                events << line;
        }
        QCOMPARE(logged.size(), expected.size());
        int masked = 0;
        for (int i = 0; i < expected.size(); ++i) {
            if (logged[i].contains(QLatin1String("**"))) {
                // The password block: its four password bytes and its checksum are hidden,
                // everything else is as received.
                ++masked;
                QCOMPARE(logged[i].count(QLatin1String("**")), 5);
                QCOMPARE(logged[i].size(), expected[i].size());
                continue;
            }
            QCOMPARE(logged[i], expected[i]);
        }
        QCOMPARE(masked, 1);
        const QByteArray all = r.out.data();
        QVERIFY(!all.contains("Zq7#"));
        QVERIFY(!all.toUpper().contains(QByteArray("Zq7#").toHex(' ').toUpper()));
        QVERIFY(!events.isEmpty());
        QVERIFY(events.last().endsWith(QLatin1String(" -- done")));
        if (kind != int(CommKind::Info))
            QVERIFY(events.join('\n').contains(QLatin1String("identity: model MZ-710")));
    }

    void aFailingTargetIsToldOnceAndStopsNothing() {
        // A device that takes nothing (a full disk): the failure is told once, with the
        // system's reason, and the log stops; whatever it describes goes on.
        class Full : public QIODevice {
        protected:
            qint64 readData(char*, qint64) override { return -1; }
            qint64 writeData(const char*, qint64) override {
                setErrorString(QStringLiteral("No space left on device"));
                return -1;
            }
        } full;
        QVERIFY(full.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        WireLog log(&full);
        QStringList told;
        log.setFailureHandler([&](const QString& reason) { told << reason; });
        log.event(QStringLiteral("one"));
        log.sent(ProgramRequest());
        log.event(QStringLiteral("two"));
        QCOMPARE(told, QStringList{QStringLiteral("No space left on device")});
        QVERIFY(log.failed());

        // Only regular files (or new ones) are log targets: a FIFO would hold the session.
        QTemporaryDir dir;
        const QString fifo = dir.filePath(QStringLiteral("log.fifo"));
        QVERIFY(::mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
        QString why;
        QVERIFY(!WireLog::openFile(fifo, &why));
        QVERIFY2(why.contains(QStringLiteral("not a regular file")), qPrintable(why));
        QVERIFY(WireLog::openFile(dir.filePath(QStringLiteral("new.log")), &why));
    }

    void timeOutsAndRetriesAreEvents() {
        Rig r;
        int dropped = 0;
        // The reply to the block at 0x0100 is lost twice.
        r.radio.fault = [&](const VirtualRadio::Exchange& ex) {
            return ex.kind == VirtualRadio::FrameKind::Read && ex.address == 0x100 && dropped++ < 2
                       ? FakeRadioTransport::Fault::Drop
                       : FakeRadioTransport::Fault::None;
        };
        QVERIFY(r.run(CommKind::Read));
        const QString text = QString::fromUtf8(r.out.data());
        QCOMPARE(text.count(QLatin1String("time-out waiting for block 0x0100")), 2);
        QVERIFY(text.contains(QLatin1String("retry of block 0x0100 (2 left)")));
        QVERIFY(text.contains(QLatin1String("the cable")));
    }
};

MZ_TEST_GUILESS_MAIN(TestWireLog)
#include "tst_wirelog.moc"
