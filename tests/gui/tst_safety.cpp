// Keeping the user's work safe in the main window: the backup of every read and File >
// Backups, the verify after a write (a healthy radio and one with a bad memory cell), the
// recent-files list across a restart, and the change mark in the title.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmbackups.h"
#include "app/frmmain.h"
#include "common/guiprompter.h"
#include "core/app/linksettings.h"
#include "core/app/recentfiles.h"
#include "core/files/backups.h"
#include "core/files/datafile.h"
#include "core/link/memorymap.h"
#include "core/link/session.h"
#include "link/sessioncontroller.h"
#include "sim/simprocess.h"
#include "support/documentbuilders.h"
#include "support/richdocument.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>

using A = Prompter::Answer;

namespace {} // namespace

class TestSafety : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    std::unique_ptr<SessionController> sessions;
    std::unique_ptr<SimProcess> sim;
    QStringList captions; // of the modal windows the sessions ran in

    QAction* action(const char* name) { return child<QAction>(main.get(), name); }
    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }

    void startMain() {
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->Load();
        main->show();
        sessions = std::make_unique<SessionController>(*main);
        connect(&sessions->session(), &LinkSession::sessionStarted, main.get(), [this] {
            if (QWidget* w = QApplication::activeModalWidget()) captions << w->windowTitle();
        });
    }
    void stopMain() {
        sessions.reset();
        main.reset();
    }
    bool startRadio(const QStringList& args) {
        sim = std::make_unique<SimProcess>();
        if (!sim->start(args + QStringList{QStringLiteral("--baud"), QStringLiteral("0")}))
            return false;
        App().PortName = sim->device;
        return true;
    }
    // A data file of the rich document in the given mode.
    QString richFile(const char* name, int mode) {
        Document d;
        FillRichDocument(d, mode);
        RadioDataRec data = d.RadioData;
        d.FillFileHead(data.Head);
        return WriteBytes(file(name), EncodeDataFile(data, d.CHInfo)) ? file(name) : QString();
    }
    QStringList recentEntries() {
        QMenu* recent = child<QMenu>(main.get(), "mnuFileRecent");
        emit child<QMenu>(main.get(), "mnuFile")->aboutToShow();
        QStringList r;
        for (QAction* a : recent->actions())
            r << a->data().toString();
        return r;
    }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        captions.clear();
        startMain();
    }
    void cleanup() {
        stopMain();
        doc.reset();
        sim.reset();
        tree.reset();
    }

    void readKeepsABackupAndWriteIsVerified() {
        Document radio;
        FillRichDocument(radio, 1);
        const QByteArray memory = PackedBytes(radio);
        QVERIFY(WriteBytes(file("radio.bin"), memory));
        QVERIFY(
            startRadio({"--mode", "1", "--image", file("radio.bin"), "--save", file("saved.bin")}));

        doc->CurFileName = file("old.dat");
        prompter.reset({A::Ok});
        prompter.expect(9009);
        action("mnuReadFromRadio")->trigger();
        QTRY_COMPARE(doc->CurFileName, QStringLiteral("new.dat"));
        // Exactly one backup, holding what was read, and the status bar says where.
        const QList<BackupEntry> backups = BackupStore().list();
        QCOMPARE(backups.size(), 1);
        QCOMPARE(backups[0].mode, 1);
        QCOMPARE(backups[0].channels, int(doc->RadioData.CHCount));
        QVERIFY(main->statusMessage().contains(backups[0].path));
        Document kept;
        QVERIFY(LoadDataFile(kept, backups[0].path));
        QCOMPARE(PackedBytes(kept), memory);

        // Edit, write: the radio is read back in a window of its own and verified.
        doc->EditFunc([](FuncRec& f) { f.Beep = f.Beep ? 0 : 1; });
        const QByteArray written = PackedBytes(*doc);
        prompter.reset({A::Ok});
        prompter.expect(9780);
        action("mnuWriteToRadio")->trigger();
        QTRY_COMPARE(main->statusMessage(), LoadLangText(9780));
        // One closing message, after the check: never "complete" before it has run.
        QCOMPARE(prompter.texts(), (QStringList{LoadLangText(9005), LoadLangText(9780)}));
        QCOMPARE(captions.last(), LoadLangText(9786));
        QCOMPARE(ReadBytes(file("saved.bin")), written);
        QTRY_VERIFY(action("mnuReadFromRadio")->isEnabled());

        // File > Backups still has the radio as it was before the write; Open makes it a new
        // document that can be written back.
        onNextModal([](QWidget* w) {
            auto* dlg = qobject_cast<FrmBackups*>(w);
            QVERIFY(dlg);
            QCOMPARE(dlg->table()->rowCount(), 1);
            QCOMPARE(dlg->table()->item(0, 2)->text(), QStringLiteral("HF"));
            child<QPushButton>(dlg, "CommandOpen")->click();
        });
        prompter.reset({A::No}); // 9006: the edited document is not saved
        // The document as the backup made it, before the channel table looked at it.
        QByteArray opened;
        connect(doc.get(), &Document::documentReplaced, main.get(), [&] {
            if (opened.isEmpty()) opened = PackedBytes(*doc);
        });
        action("mnuFileBackups")->trigger();
        // The channels as the radio held them (a channel table still on its way out may move
        // the groups' working and emergency channels).
        QCOMPARE(opened.left(memaddr::WorkGroup), memory.left(memaddr::WorkGroup));
        QCOMPARE(doc->CurFileName, QStringLiteral("new.dat"));
        QVERIFY(doc->IsNewFile);
        QVERIFY(RecentFiles::load().isEmpty());
    }

    void aRadioThatKeepsAByteOtherwiseIsReported() {
        FillRichDocument(*doc, 1);
        const int ch = doc->CHInfo[0].CHNo;
        QVERIFY(startRadio(
            {"--mode", "1", "--corrupt-memory", QString::number(ChannelAddress(ch) + 12)}));
        prompter.reset({A::Ok});
        prompter.expect(9781);
        action("WriteRadio")->trigger();
        QTRY_VERIFY(main->statusMessage().startsWith(LoadLangText(9781)));
        const QString detail = LoadLangText(9782).arg(ch) + QStringLiteral(": RBTone");
        QVERIFY2(main->statusMessage().contains(detail), qPrintable(main->statusMessage()));
        QVERIFY(prompter.texts().last().startsWith(LoadLangText(9781)));
        QVERIFY(prompter.texts().last().contains(detail));
        QCOMPARE(prompter.asked.last().icon, Prompter::Icon::Critical);
        QVERIFY(!prompter.saw(9010));

        // Switched off, the write is not read back.
        action("mnuVerifyWrite")->trigger();
        QVERIFY(!linkSettings().VerifyAfterWrite);
        main->showStatusMessage(QString());
        captions.clear();
        prompter.reset({A::Ok});
        prompter.expect(9010);
        action("WriteRadio")->trigger();
        QTRY_VERIFY(prompter.texts().contains(LoadLangText(9010)));
        QTRY_VERIFY(action("mnuWriteToRadio")->isEnabled());
        QCOMPARE(captions, QStringList{LoadLangText(9028)});
        QCOMPARE(main->statusMessage(), LoadLangText(9010));
        // The choice is kept in Setting.ini (record 2) beside the reserved record.
        linkSettings().VerifyAfterWrite = true;
        ReadLinkSettings();
        QVERIFY(!linkSettings().VerifyAfterWrite);
        QCOMPARE(QFileInfo(App().settingPath()).size(), 8);
    }

    void serialTrafficIsLoggedWhenAsked() {
        QVERIFY(startRadio({"--mode", "0", "--password", "Pw1"}));
        action("mnuLogTraffic")->trigger();
        QVERIFY(linkSettings().LogSerialTraffic);
        QDir logs(WireLogDir());
        const auto logFiles = [&] { return logs.entryList({"*_read.log"}, QDir::Files); };
        const QStringList before = logFiles();
        // Cancelled at the question: nothing crossed the line, no log is left.
        prompter.reset({A::Cancel});
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(logFiles(), before);

        main->setProgPassword(QStringLiteral("Pw1"));
        prompter.reset({A::Ok});
        prompter.expect(9009);
        action("mnuReadFromRadio")->trigger();
        QTRY_VERIFY(main->statusMessage().contains(LoadLangText(9788).arg(QString()).trimmed()));
        QStringList added = logFiles();
        for (const QString& f : before)
            added.removeAll(f);
        QCOMPARE(added.size(), 1);
        const QByteArray log = ReadBytes(logs.filePath(added[0]));
        QVERIFY(logs.remove(added[0]));
        QVERIFY(main->statusMessage().contains(logs.filePath(added[0])));
        QVERIFY(log.contains("-- read session starts"));
        QCOMPARE(log.count(" TX 52 "), 464 + 1);
        QVERIFY(!log.contains("Pw1"));
        QVERIFY(!log.contains("50 77 31"));
    }

    void theWriteConfirmationCarriesTheVerifyBox() {
        GuiPrompter gui(main.get());
        for (const bool start : {true, false}) {
            bool checked = start;
            onNextModal([](QWidget* w) {
                auto* box = w->findChild<QCheckBox*>(QStringLiteral("MsgBoxCheck"));
                QVERIFY(box);
                QCOMPARE(box->text(), LoadLangText(9783));
                box->click(); // the user changes the choice, then confirms
                QTest::keyClick(w, Qt::Key_Return);
            });
            QCOMPARE(gui.askWithCheck(LoadLangText(9005), Prompter::Buttons::OkCancel,
                                      Prompter::Icon::Question, LoadLangText(9783), &checked),
                     A::Ok);
            QCOMPARE(checked, !start);
        }
    }

    void recentFilesSurviveARestart() {
        QStringList files;
        for (const char* name : {"a.dat", "b.dat", "c.dat"})
            files << richFile(name, 1);
        for (const QString& f : files)
            QVERIFY(main->commands().OpenFile(f));
        QCOMPARE(recentEntries(), (QStringList{files[2], files[1], files[0]}));

        // A restart: the list comes back from the per-user store.
        stopMain();
        startMain();
        QCOMPARE(recentEntries(), (QStringList{files[2], files[1], files[0]}));
        // A file that is gone drops out; choosing an entry opens it.
        QVERIFY(QFile::remove(files[1]));
        QCOMPARE(recentEntries(), (QStringList{files[2], files[0]}));
        prompter.reset({A::No}); // in case showing the table counted as a change
        child<QMenu>(main.get(), "mnuFileRecent")->actions().at(1)->trigger();
        QCOMPARE(doc->CurFileName, files[0]);
        QCOMPARE(recentEntries().first(), files[0]);

        // No more than eight are kept.
        for (int i = 0; i < 10; ++i) {
            const QString f = richFile(qPrintable(QStringLiteral("n%1.dat").arg(i)), 1);
            QVERIFY(main->commands().OpenFile(f));
        }
        QCOMPARE(recentEntries().size(), RecentFiles::Max);
        QCOMPARE(recentEntries().first(), file("n9.dat"));
    }

    void theTitleMarksAChangedDocument() {
        QVERIFY(!main->windowTitle().contains(QLatin1Char('*')));
        doc->EditFunc([](FuncRec& f) { f.Volume = f.Volume + 1; });
        QTRY_VERIFY(main->windowTitle().endsWith(QStringLiteral(":new.dat*]")));
        main->setFileChooser([this](bool, const QString&) { return file("saved.dat"); });
        QVERIFY(main->commands().FileSaveAs());
        QVERIFY(main->windowTitle().endsWith(QStringLiteral(":saved.dat]")));
        // Undoing the change by hand takes the mark away too.
        doc->EditFunc([](FuncRec& f) { f.Volume = f.Volume + 1; });
        QTRY_VERIFY(main->windowTitle().endsWith(QStringLiteral("*]")));
        doc->EditFunc([](FuncRec& f) { f.Volume = f.Volume - 1; });
        QTRY_VERIFY(main->windowTitle().endsWith(QStringLiteral(":saved.dat]")));
    }
};

MZ_TEST_MAIN(TestSafety)
#include "tst_safety.moc"
