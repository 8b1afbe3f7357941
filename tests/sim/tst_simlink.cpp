// The session over a real pseudo-terminal against mzsim.

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/prompter.h"
#include "core/link/linktexts.h"
#include "core/link/memorymap.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/model/document.h"
#include "link/richdocument.h"
#include "sim/simprocess.h"

#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {
class RecordingPrompter : public Prompter {
public:
    QStringList texts;
    Answer ask(const QString& text, Buttons buttons, Icon) override {
        texts << text;
        return buttons == Buttons::YesNo ? Answer::No
               : buttons == Buttons::Ok  ? Answer::Ok
                                         : Answer::Cancel;
    }
};

MemBuf packed(const Document& doc) {
    MemBuf m{};
    PackMemBuf(doc.RadioData, doc.CHInfo, m);
    return m;
}

QByteArray bytesOf(const MemBuf& m) {
    return QByteArray(reinterpret_cast<const char*>(m.data()), int(m.size()));
}

bool writeFile(const QString& path, const QByteArray& b) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(b) == b.size();
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

struct Link {
    Document doc;
    RecordingPrompter prompter;
    SerialTransport transport;
    LinkSession session{doc};

    explicit Link(const QString& device) : transport(device) {
        doc.NewDocument();
        doc.setPrompter(&prompter);
        session.setTransport(&transport);
        session.setPrompter(&prompter);
        session.setReadApplyDelay(0);
    }
    bool run(CommKind kind) {
        QSignalSpy ended(&session, &LinkSession::sessionEnded);
        if (!session.Start(kind)) return false;
        QEventLoop loop;
        QObject::connect(&session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(60000, &loop, &QEventLoop::quit);
        if (ended.isEmpty()) loop.exec();
        return !ended.isEmpty() && ended.first().first().toBool();
    }
};
} // namespace

class TestSimLink : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QLatin1String(name)); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        Document doc;
        App().ProgramDir = QStringLiteral(MZ_PROGDIR);
        App().UseLanguage(Language::English);
        App().ProgramRoot = QStringLiteral(MZ_STAGE_DIR);
        LoadVersionTable(doc);
    }

    void echoSettingIsFoundAndKept() {
        SimProcess sim;
        QVERIFY(sim.start({}));
        Link link(sim.device);
        QVERIFY(link.run(CommKind::Info));
        QVERIFY(link.session.NoEcho());
        QCOMPARE(link.session.HandshakeTries(), 1); // one time-out found the setting
        QVERIFY(link.run(CommKind::Read));
        QCOMPARE(link.session.HandshakeTries(), 0); // used at once by the next session

        SimProcess echoing;
        QVERIFY(echoing.start({QStringLiteral("--echo")}));
        Link first(echoing.device);
        QVERIFY(first.run(CommKind::Read));
        QVERIFY(!first.session.NoEcho());
        QCOMPARE(first.session.HandshakeTries(), 0);
    }

    void faultsAreRecovered() {
        Document source;
        FillRichDocument(source);
        const MemBuf image = packed(source);
        QVERIFY(writeFile(path("faults.bin"), bytesOf(image)));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--image", path("faults.bin"), "--save",
                           path("faults-saved.bin"), "--drop", "0.01", "--corrupt", "0.01",
                           "--resend", "0.05", "--seed", "11", "--echo"}));
        Link link(sim.device);
        QVERIFY(link.run(CommKind::Read));
        QVERIFY(packed(link.doc) == image);
        // The retries were used, and nothing else was asked.
        QCOMPARE(link.prompter.texts.size(), 1);

        Link writer(sim.device);
        FillRichDocument(writer.doc);
        writer.doc.RadioData.Func.Volume = 3;
        QVERIFY(writer.run(CommKind::Write));
        QCOMPARE(readFile(path("faults-saved.bin")), bytesOf(packed(writer.doc)));
    }

    void radioVanishingMidTransfer() {
        Document source;
        FillRichDocument(source);
        QVERIFY(writeFile(path("vanish.bin"), bytesOf(packed(source))));
        SimProcess sim;
        QVERIFY(sim.start({"--mode", "1", "--baud", "9600", "--image", path("vanish.bin")}));
        Link link(sim.device);
        link.session.SetNoEcho(true);
        const RadioDataRec before = link.doc.RadioData;
        QSignalSpy lost(&link.transport, &LinkTransport::lineLost);
        QObject::connect(&link.session, &LinkSession::progress, [&](int p) {
            if (p >= 5 && sim.process.state() == QProcess::Running) sim.kill();
        });
        QVERIFY(!link.run(CommKind::Read));
        QCOMPARE(lost.size(), 1);
        QVERIFY(!link.transport.isOpen());
        QVERIFY(!link.prompter.texts.isEmpty());
        QVERIFY(link.prompter.texts.last().startsWith(
            LinkText(TxtLineLost).section(QLatin1Char('%'), 0, 0)));
        QVERIFY(link.doc.RadioData == before);
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
};

QTEST_GUILESS_MAIN(TestSimLink)
#include "tst_simlink.moc"
