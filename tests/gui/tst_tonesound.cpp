// The sound leaves the program: a private PulseAudio server with a null sink is started, the
// tone-tips window plays through QAudioSink on it, parec records the sink's monitor, and the
// tip's frequencies are found in the recording. Skipped, with the reason, only where no
// PulseAudio server can be started.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "settings/frmtonetips.h"
#include "settings/tonetipplayer.h"
#include "support/pcmanalysis.h"

#include <QComboBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabBar>

namespace {
constexpr int Rate = 44100;
const QString SinkName = QStringLiteral("mzprogtest");
} // namespace

class TestToneSound : public QObject {
    Q_OBJECT

    QTemporaryDir runtime;
    QProcess server;
    QString serverSocket;
    QString parecPath;
    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;

    bool serverAnswers(const QString& pactl) {
        QProcess p;
        p.start(pactl, {QStringLiteral("info")});
        return p.waitForFinished(3000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    }

    // A recording of the sink's monitor, 16-bit mono at the tips' own rate.
    struct Recording {
        QProcess parec;
        QString file;
    };
    void startRecording(Recording& r) {
        r.file = runtime.filePath(QStringLiteral("rec.raw"));
        QFile::remove(r.file);
        r.parec.setStandardOutputFile(r.file);
        r.parec.start(parecPath, {QStringLiteral("-d"), SinkName + QStringLiteral(".monitor"),
                                  QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                                  QStringLiteral("--rate=44100"), QStringLiteral("--channels=1"),
                                  QStringLiteral("--latency-msec=20")});
        QVERIFY(r.parec.waitForStarted(5000));
        // Recording has begun once the silence of the idle sink arrives.
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(r.file).size() > Rate / 10, 5000);
    }
    QVector<qint16> stopRecording(Recording& r) {
        r.parec.terminate();
        r.parec.waitForFinished(5000);
        QFile f(r.file);
        f.open(QIODevice::ReadOnly);
        return pcm::Samples(f.readAll());
    }

    static QComboBox* list(QWidget* w, const QString& name) {
        return w->findChild<QComboBox*>(name);
    }
    static void pick(QComboBox* c, const QString& text) {
        const int i = c->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        c->setCurrentIndex(i);
        emit c->activated(i);
    }

private slots:
    void initTestCase() {
        const QString pulseaudio = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
        const QString pactl = QStandardPaths::findExecutable(QStringLiteral("pactl"));
        parecPath = QStandardPaths::findExecutable(QStringLiteral("parec"));
        if (pulseaudio.isEmpty() || pactl.isEmpty() || parecPath.isEmpty())
            QSKIP("pulseaudio, pactl or parec is not installed (Debian packages pulseaudio and "
                  "pulseaudio-utils): no audio server can be started for this test.");

        // A server of our own, reachable only through its socket in a private folder; it
        // works the same for root (as in CI) and for a user, and ends by itself 10 s after
        // its last client has gone, should this test die without stopping it.
        QDir(runtime.path()).mkpath(QStringLiteral("run/pulse"));
        QFile::setPermissions(runtime.filePath(QStringLiteral("run")), QFileDevice::ReadOwner |
                                                                           QFileDevice::WriteOwner |
                                                                           QFileDevice::ExeOwner);
        serverSocket = runtime.filePath(QStringLiteral("run/pulse/native"));
        qputenv("XDG_RUNTIME_DIR", runtime.filePath(QStringLiteral("run")).toLocal8Bit());
        qputenv("PULSE_RUNTIME_PATH", runtime.filePath(QStringLiteral("run/pulse")).toLocal8Bit());
        qputenv("PULSE_STATE_PATH", runtime.filePath(QStringLiteral("state")).toLocal8Bit());
        qputenv("PULSE_SERVER", ("unix:" + serverSocket).toLocal8Bit());
        server.setProcessChannelMode(QProcess::MergedChannels);
        server.start(pulseaudio,
                     {QStringLiteral("-n"), QStringLiteral("--daemonize=no"),
                      QStringLiteral("--system=false"), QStringLiteral("--exit-idle-time=10"),
                      QStringLiteral("--use-pid-file=false"), QStringLiteral("--disallow-exit"),
                      QStringLiteral("--log-target=stderr"), QStringLiteral("-F"),
                      QStringLiteral("/dev/null"),
                      QStringLiteral("--load=module-null-sink sink_name=%1 rate=%2 channels=1")
                          .arg(SinkName)
                          .arg(Rate),
                      QStringLiteral("--load=module-native-protocol-unix auth-anonymous=1 "
                                     "socket=%1")
                          .arg(serverSocket)});
        bool up = false;
        for (int i = 0; i < 50 && !up && server.state() != QProcess::NotRunning; ++i) {
            QTest::qWait(200);
            up = serverAnswers(pactl);
        }
        if (!up) {
            const QByteArray log = server.readAll();
            server.kill();
            server.waitForFinished(3000);
            QSKIP(qPrintable(QStringLiteral("no PulseAudio server could be started here: %1")
                                 .arg(QString::fromLocal8Bit(log).trimmed().right(400))));
        }
        // From here on the server is up: a missing output would be a fault of the program.
        QTRY_VERIFY_WITH_TIMEOUT(!ToneTipPlayer::outputDevice().isNull(), 5000);
    }
    void cleanupTestCase() {
        if (server.state() != QProcess::NotRunning) {
            server.terminate();
            if (!server.waitForFinished(5000)) server.kill();
        }
    }
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        tree->startUp(*doc);
        doc->InitDir.clear();
        doc->NewDocument();
    }

    // Tip 2 with three notes, played from the window: the recording holds the three
    // frequencies in order, each for its full time, the last one not cut off.
    void threeNotesAreHeard() {
        FrmToneTips w(*doc);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        child<QTabBar>(&w, "TabStrip1")->setCurrentIndex(1);
        const int hz[3] = {600, 1000, 1500};
        for (int i = 0; i < 14; ++i) {
            if (i < 3) pick(list(&w, QStringLiteral("Combo3_%1").arg(i)), QString::number(hz[i]));
            pick(list(&w, QStringLiteral("Combo4_%1").arg(i)),
                 i < 3 ? QStringLiteral("200") : QStringLiteral("0"));
        }
        pick(list(&w, QStringLiteral("Combo1_0")), QStringLiteral("1"));
        auto* play = child<QPushButton>(&w, "Command1_0");
        QVERIFY(play->isEnabled());

        Recording rec;
        startRecording(rec);
        play->click();
        QVERIFY(!play->isEnabled());
        QVERIFY(w.player().isAudible());
        QTRY_VERIFY_WITH_TIMEOUT(play->isEnabled(), 10000);
        QTest::qWait(300);
        const QVector<qint16> s = stopRecording(rec);

        const auto runs = pcm::SoundRuns(s, Rate / 100, 1000);
        QCOMPARE(runs.size(), 1);
        const qsizetype from = runs[0].from, length = runs[0].to - runs[0].from;
        // 600 ms of sound, give or take the 10 ms windows of the search.
        QVERIFY2(std::abs(length - Rate * 6 / 10) <= Rate * 3 / 100,
                 qPrintable(QStringLiteral("%1 samples of sound").arg(length)));
        qInfo("%lld ms of sound recorded", static_cast<long long>(length * 1000 / Rate));
        for (int i = 0; i < 3; ++i) {
            // The middle 100 ms of note i.
            const qsizetype mid = from + Rate * (i * 200 + 50) / 1000;
            const double measured = pcm::ZeroCrossingHz(s, mid, Rate / 10, Rate);
            QVERIFY2(std::abs(measured - hz[i]) <= hz[i] * 0.01,
                     qPrintable(QStringLiteral("note %1: %2 Hz measured as %3")
                                    .arg(i + 1)
                                    .arg(hz[i])
                                    .arg(measured)));
            qInfo("note %d: %d Hz measured as %.2f Hz", i + 1, hz[i], measured);
            const double own = pcm::Goertzel(s, mid, Rate / 10, hz[i], Rate);
            for (int j = 0; j < 3; ++j)
                if (j != i) QVERIFY(own > 50 * pcm::Goertzel(s, mid, Rate / 10, hz[j], Rate));
        }
    }

    // Stop and Close end the sound at once, in the middle of a long note.
    void stopAndCloseCutTheSound() {
        for (const bool closeIt : {false, true}) {
            auto* w = new FrmToneTips(*doc);
            QPointer<FrmToneTips> alive(w);
            w->show();
            QVERIFY(QTest::qWaitForWindowExposed(w));
            pick(list(w, QStringLiteral("Combo3_0")), QStringLiteral("1000"));
            pick(list(w, QStringLiteral("Combo4_0")), QStringLiteral("2550"));
            pick(list(w, QStringLiteral("Combo1_0")), QStringLiteral("10"));
            auto* play = child<QPushButton>(w, "Command1_0");
            // Stop is offered only while a tip plays.
            auto* stop = child<QPushButton>(w, "Command2_0");
            QVERIFY(!stop->isEnabled());
            Recording rec;
            startRecording(rec);
            play->click();
            QVERIFY(w->player().isAudible());
            QVERIFY(stop->isEnabled());
            // Well into the first note.
            QTRY_VERIFY_WITH_TIMEOUT(w->player().samplesRendered() > Rate / 2, 5000);
            const qint64 rendered = w->player().samplesRendered();
            if (closeIt) {
                w->close();
                QTRY_VERIFY(!alive);
            } else {
                stop->click();
                QVERIFY(play->isEnabled());
                QVERIFY(!stop->isEnabled());
                QVERIFY(!w->player().isPlaying());
            }
            QTest::qWait(1200);
            const QVector<qint16> s = stopRecording(rec);
            delete alive.data();
            const auto runs = pcm::SoundRuns(s, Rate / 100, 1000);
            QCOMPARE(runs.size(), 1);
            qInfo("%s: %lld ms of sound, stopped after %lld ms were handed to the output",
                  closeIt ? "Close" : "Stop",
                  static_cast<long long>((runs[0].to - runs[0].from) * 1000 / Rate),
                  static_cast<long long>(rendered * 1000 / Rate));
            // The note would last 2.55 s; it stopped well before, and the rest of the
            // recording is silent.
            QVERIFY2(
                runs[0].to - runs[0].from < Rate * 3 / 2,
                qPrintable(QStringLiteral("%1 samples of sound").arg(runs[0].to - runs[0].from)));
            QVERIFY(s.size() - runs[0].to > Rate * 7 / 10);
            const double measured =
                pcm::ZeroCrossingHz(s, runs[0].from + Rate / 20, Rate / 10, Rate);
            QVERIFY(std::abs(measured - 1000) <= 10);
        }
    }
};

MZ_TEST_MAIN(TestToneSound)
#include "tst_tonesound.moc"
