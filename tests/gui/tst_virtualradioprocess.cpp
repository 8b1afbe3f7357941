// The virtual radio: started on demand from the program directory with its memory in the
// user's data folder (seeded from the demo document), reached through a fixed link, stopped
// with the program. A stand-in simulator names /dev/null as its terminal.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/frmmain.h"
#include "link/virtualradioprocess.h"

#include <QFileInfo>

namespace {
void writeScript(const QString& path, const QByteArray& body) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\n" + body);
    f.close();
    f.setPermissions(f.permissions() | QFile::ExeOwner);
}
} // namespace

class TestVirtualRadioProcess : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    QString argsFile;

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        tree->startUp(*doc);
        QFile::remove(VirtualRadioProcess::memoryPath());
        argsFile = tree->dir.filePath(QStringLiteral("sim-args"));
        QDir(tree->progDir()).mkpath(QStringLiteral("demo"));
        QFile demo(tree->progDir() + QStringLiteral("/demo/demo.dat"));
        QVERIFY(demo.open(QIODevice::WriteOnly));
        demo.write("demo");
    }
    void cleanup() {
        VirtualRadioProcess::instance().stop();
        doc.reset();
        tree.reset();
    }

    void notInstalledIsReported() {
        QVERIFY(!VirtualRadioProcess::available());
        QString error;
        QVERIFY(!VirtualRadioProcess::instance().ensureRunning(&error));
        QVERIFY(error.contains(QStringLiteral("mzsim")));
    }

    void startsFromTheDemoMemoryAndStops() {
        // mzcli pack DEMO -o MEM writes the memory; mzsim names its terminal and waits.
        writeScript(tree->progDir() + QStringLiteral("/mzcli"),
                    "[ \"$1\" = pack ] && [ \"$3\" = -o ] && printf packed > \"$4\"\n");
        writeScript(tree->progDir() + QStringLiteral("/mzsim"),
                    "echo \"$@\" > " + argsFile.toLocal8Bit() +
                        "\necho /dev/null\nexec sleep 60\n");
        QVERIFY(VirtualRadioProcess::available());
        QString error;
        QVERIFY2(VirtualRadioProcess::instance().ensureRunning(&error), qPrintable(error));
        QVERIFY(VirtualRadioProcess::instance().running());
        QCOMPARE(QFileInfo(VirtualRadioProcess::linkPath()).symLinkTarget(),
                 QStringLiteral("/dev/null"));
        QFile mem(VirtualRadioProcess::memoryPath());
        QVERIFY(mem.open(QIODevice::ReadOnly));
        QCOMPARE(mem.readAll(), QByteArray("packed"));
        QFile args(argsFile);
        QVERIFY(args.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromLocal8Bit(args.readAll()).trimmed(),
                 QStringLiteral("--save %1 --image %1").arg(VirtualRadioProcess::memoryPath()));
        // A second session finds it running.
        QVERIFY(VirtualRadioProcess::instance().ensureRunning());

        VirtualRadioProcess::instance().stop();
        QVERIFY(!VirtualRadioProcess::instance().running());
        QVERIFY(!QFileInfo(VirtualRadioProcess::linkPath()).isSymLink());
        // The memory stays for the next run.
        QVERIFY(QFileInfo::exists(VirtualRadioProcess::memoryPath()));
    }

    void simulatorThatNamesNoTerminalFails() {
        writeScript(tree->progDir() + QStringLiteral("/mzsim"), "exit 3\n");
        QString error;
        QVERIFY(!VirtualRadioProcess::instance().ensureRunning(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!VirtualRadioProcess::instance().running());
    }

    void sessionsOnTheVirtualRadioStartIt() {
        writeScript(tree->progDir() + QStringLiteral("/mzsim"), "echo /dev/null\nexec sleep 60\n");
        App().PortName = VirtualRadioProcess::portSetting();
        frmMain main(*doc, prompter);
        main.Load();
        QList<int> started;
        main.setSessionStarter([&](CommKind mode) {
            QVERIFY(VirtualRadioProcess::instance().running());
            started << int(mode);
        });
        main.mnuReadFromRadio();
        QCOMPARE(started, QList<int>{1});
        QVERIFY(prompter.asked.isEmpty());

        // When it cannot start, the port message is shown and no session begins.
        VirtualRadioProcess::instance().stop();
        QFile::remove(tree->progDir() + QStringLiteral("/mzsim"));
        prompter.reset();
        prompter.expect(9003);
        main.ReadRMGDataFromRadio();
        QCOMPARE(started.size(), 1);
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9003)));
    }
};

MZ_TEST_MAIN(TestVirtualRadioProcess)
#include "tst_virtualradioprocess.moc"
