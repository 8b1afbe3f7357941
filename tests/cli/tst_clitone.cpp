// mzcli tone: a tone tip of a data file as a WAV file, the same bytes the window saves; bad
// arguments refused with one sentence and nothing written.

#include "core/files/datafile.h"
#include "core/model/document.h"
#include "core/sound/tippcm.h"
#include "support/testmain.h"

#include <QBuffer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

class TestCliTone : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    ToneTipRec tip3_;

    QString path(const char* name) const { return dir_.filePath(QLatin1String(name)); }
    int run(const QStringList& args, QString* err = nullptr) const {
        QProcess p;
        p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), QStringList{QStringLiteral("tone")} + args);
        p.waitForFinished(30000);
        if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitCode();
    }

private slots:
    void initTestCase() {
        Document doc;
        doc.InitDir.clear();
        doc.NewDocument();
        ToneTipRec& t = doc.RadioData.ToneTips.Tip[2];
        t = ToneTipRec{};
        t.Step[0] = {100, 10};
        t.Step[1] = {0, 5};
        t.Repeat = 2;
        t.Pause = 20;
        tip3_ = t;
        doc.RadioData.ToneTips.Tip[5].Repeat = 0;
        RadioDataRec data = doc.RadioData;
        doc.FillFileHead(data.Head);
        QFile f(path("doc.dat"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(EncodeDataFile(data, doc.CHInfo));
    }

    void writesTheTip() {
        QString err;
        QCOMPARE(run({path("doc.dat"), QStringLiteral("--tip"), QStringLiteral("3"),
                      QStringLiteral("-o"), path("t.wav")},
                     &err),
                 0);
        QVERIFY(err.isEmpty());
        QFile f(path("t.wav"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QBuffer expected;
        expected.open(QIODevice::WriteOnly);
        QVERIFY(sound::WriteTipWav(tip3_, expected));
        const QByteArray got = f.readAll();
        QCOMPARE(got.size(), 44 + 2 * (100 + 50 + 200) * 441 / 10 * 2); // two playings
        QCOMPARE(got, expected.data());

        // A tip that is off gives a WAV file without sound, and says so.
        QCOMPARE(
            run({path("doc.dat"), QStringLiteral("--tip=6"), QStringLiteral("-o"), path("off.wav")},
                &err),
            0);
        QVERIFY(err.contains(QStringLiteral("no sound")));
        QCOMPARE(QFileInfo(path("off.wav")).size(), 44);
    }

    void refusals_data() {
        QTest::addColumn<QStringList>("args");
        const QString doc = path("doc.dat"), out = path("bad.wav");
        QTest::newRow("tip 0") << QStringList{doc, "--tip", "0", "-o", out};
        QTest::newRow("tip 9") << QStringList{doc, "--tip", "9", "-o", out};
        QTest::newRow("tip text") << QStringList{doc, "--tip", "two", "-o", out};
        QTest::newRow("no tip") << QStringList{doc, "-o", out};
        QTest::newRow("no output") << QStringList{doc, "--tip", "1"};
        QTest::newRow("no file") << QStringList{"--tip", "1", "-o", out};
        QTest::newRow("missing file") << QStringList{path("none.dat"), "--tip", "1", "-o", out};
        QTest::newRow("not a data file")
            << QStringList{QStringLiteral(MZ_PROGDIR "/mzcli"), "--tip", "1", "-o", out};
        QTest::newRow("folder missing")
            << QStringList{doc, "--tip", "1", "-o", path("no/such/folder.wav")};
    }
    void refusals() {
        QFETCH(QStringList, args);
        QString err;
        QCOMPARE(run(args, &err), 2);
        QVERIFY(!err.trimmed().isEmpty());
        QVERIFY(!QFile::exists(path("bad.wav")));
    }
};

MZ_TEST_GUILESS_MAIN(TestCliTone)
#include "tst_clitone.moc"
