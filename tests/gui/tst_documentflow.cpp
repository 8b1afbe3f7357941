// New, Open, Save, Save As, initialisation and exit from the main window, with the questions
// answered by a script and the file dialogs replaced.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/frmmain.h"
#include "core/files/datafile.h"

#include <QAbstractButton>
#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QUrl>

using A = Prompter::Answer;
using B = Prompter::Buttons;

class TestDocumentFlow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    int tablesMade = 0;
    QStringList chooserCalls;
    QString chosen;

    void trigger(const char* name) { child<QAction>(main.get(), name)->trigger(); }
    // Any change of the working data.
    void touch() {
        doc->EditFunc([](FuncRec& f) { f.Volume = f.Volume == 5 ? 6 : 5; });
    }
    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        tablesMade = 0;
        chooserCalls.clear();
        chosen.clear();
        main = std::make_unique<frmMain>(*doc, prompter);
        main->registerChildFactory(QStringLiteral("frmCommChInfo"), [this] {
            ++tablesMade;
            return new QWidget;
        });
        main->setFileChooser([this](bool save, const QString& preset) {
            chooserCalls << (save ? QStringLiteral("save:") + preset : QStringLiteral("open"));
            return chosen;
        });
        main->Load();
        main->show();
    }
    void cleanup() {
        main.reset();
        doc.reset();
        tree.reset();
    }

    void newOnUnchangedDocumentAsksOnlyToConfirm() {
        // A saved document (a new one not yet touched is asked for its country mode instead).
        chosen = file("saved.dat");
        trigger("mnuFileSaveAs");
        QVERIFY(!doc->IsNewFile);
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        prompter.reset({A::Ok});
        trigger("mnuFileNew");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9026)});
        QCOMPARE(prompter.asked[0].buttons, B::OkCancel);
        QTRY_COMPARE(built.size(), 1);
        QCOMPARE(tablesMade, 2);
        QVERIFY(!doc->IsDataChanged());
    }

    void newWithChangesCancelledAtTheFirstQuestion() {
        touch();
        prompter.reset({A::Cancel});
        trigger("mnuFileNew");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QCOMPARE(prompter.asked[0].buttons, B::YesNoCancel);
        QTest::qWait(200);
        QVERIFY(doc->IsDataChanged());
        QCOMPARE(tablesMade, 1);
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
    }

    void readWithChangesAsksToSaveFirst() {
        // A read replaces the document: it asks the save question of New, Open and Exit
        // before its own; Cancel leaves everything, No goes on to the read.
        QList<CommKind> started;
        main->setSessionStarter([&started](CommKind k) { started << k; });
        touch();
        prompter.reset({A::Cancel});
        trigger("mnuReadFromRadio");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QCOMPARE(prompter.asked[0].buttons, B::YesNoCancel);
        QVERIFY(started.isEmpty());
        QVERIFY(doc->IsDataChanged());
        prompter.reset({A::No});
        trigger("mnuReadFromRadio");
        QCOMPARE(started, QList<CommKind>{CommKind::Read});
        // Unchanged: no question before the read's own.
        doc->ToFileCopy();
        prompter.reset();
        trigger("mnuReadFromRadio");
        QVERIFY(prompter.asked.isEmpty());
        QCOMPARE(started.size(), 2);
        main->setSessionStarter({});
    }

    void toolbarNewAsksOnlyToSaveChangesAndUsesTheTemplate() {
        touch();
        // Initialisation, cancelled at the confirmation: the flag does not linger.
        prompter.reset({A::No, A::Cancel});
        trigger("MnuInit");
        QCOMPARE(prompter.asked.size(), 2);
        QVERIFY(!doc->InitRequested);
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        // Unsaved work is never thrown away unasked: Cancel keeps it and its windows.
        prompter.reset({A::Cancel});
        trigger("NewFile");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QCOMPARE(prompter.asked[0].buttons, B::YesNoCancel);
        QTest::qWait(200);
        QCOMPARE(built.size(), 0);
        QVERIFY(doc->IsDataChanged());
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        // No: a new document at once, without the 9026 confirmation of File > New.
        prompter.reset({A::No});
        trigger("NewFile");
        QTRY_COMPARE(built.size(), 1);
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QVERIFY(!doc->IsDataChanged());
        QVERIFY(!doc->InitRequested);
        // An unchanged document asks nothing at all.
        prompter.reset();
        trigger("NewFile");
        QTRY_COMPARE(built.size(), 2);
        QVERIFY(prompter.asked.isEmpty());
    }

    // With the shipped CB template installed, File > New gives every national plan, and the
    // same document as mzcli new, byte for byte.
    void newInCbModeGivesThePlansAsMzcliDoes() {
        QVERIFY(QDir(tree->progDir()).mkpath(QStringLiteral("Init")));
        QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/Init/MZ-710_0_NEW.dat"),
                            tree->progDir() + QStringLiteral("/Init/MZ-710_0_NEW.dat")));
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        // The start-up document has no channels of its own: New asks for the mode, CB chosen.
        onNextModal([](QWidget* dlg) { child<QAbstractButton>(dlg, "CommandOK")->click(); });
        trigger("mnuFileNew");
        QVERIFY(prompter.asked.isEmpty());
        QTRY_COMPARE(built.size(), 1);
        const int channels[] = {40, 40, 40, 40, 40, 34, 80, 40, 8};
        for (int g = 0; g < 9; ++g)
            QCOMPARE(doc->CountCHInGroup(g, 0), channels[g]);

        chosen = file("gui.dat");
        trigger("mnuFileSave");
        QProcess cli;
        cli.start(QStringLiteral(MZ_PROGDIR "/mzcli"),
                  {QStringLiteral("new"), QStringLiteral("--mode"), QStringLiteral("0"),
                   QStringLiteral("-o"), file("cli.dat")});
        QVERIFY(cli.waitForFinished(30000));
        QCOMPARE(cli.exitCode(), 0);
        QFile a(file("gui.dat")), b(file("cli.dat"));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QCOMPARE(a.readAll(), b.readAll());
    }

    void saveOfANewDocumentGoesThroughSaveAs() {
        chosen = file("Radio1.dat");
        touch();
        trigger("mnuFileSave");
        QCOMPARE(chooserCalls, QStringList{QStringLiteral("save:new.dat")});
        QVERIFY(prompter.asked.isEmpty());
        QCOMPARE(QFileInfo(chosen).size(), qint64(DataFileSize));
        QCOMPARE(doc->CurFileName, chosen);
        QVERIFY(!doc->IsNewFile);
        QVERIFY(!doc->IsDataChanged());
        QVERIFY(main->windowTitle().endsWith(LoadLangText(12009) + QStringLiteral(":Radio1.dat]")));

        // A named document asks 9007 with the bare file name in double quotes.
        touch();
        prompter.reset({A::Cancel});
        trigger("SaveFile");
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9007)));
        QVERIFY(prompter.asked[0].text.endsWith(QStringLiteral("\"Radio1.dat\"")));
        QCOMPARE(prompter.asked[0].buttons, B::OkCancel);
        QVERIFY(doc->IsDataChanged());
        prompter.reset({A::Ok});
        trigger("mnuFileSave");
        QVERIFY(!doc->IsDataChanged());
        QCOMPARE(chooserCalls.size(), 1);
    }

    void saveAsCancelledChangesNothing() {
        touch();
        chosen.clear();
        trigger("mnuFileSaveAs");
        QCOMPARE(chooserCalls.size(), 1);
        QCOMPARE(doc->CurFileName, QStringLiteral("new.dat"));
        QVERIFY(doc->IsNewFile);
        QVERIFY(doc->IsDataChanged());
    }

    void openAsksToSaveFirstThenReplacesTheDocument() {
        chosen = file("kept.dat");
        trigger("mnuFileSaveAs");
        const i16 savedVolume = doc->RadioData.Func.Volume;
        touch();
        QVERIFY(doc->IsDataChanged());
        QWidget* before = main->ChildForm(QStringLiteral("frmCommChInfo"));
        QVERIFY(before);

        // Cancel at 9006: no dialog at all.
        prompter.reset({A::Cancel});
        trigger("mnuFileOpen");
        QCOMPARE(chooserCalls.size(), 1);
        QVERIFY(doc->IsDataChanged());

        // No: the file comes back as saved; the channel table opens again.
        prompter.reset({A::No});
        trigger("OpenFile");
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QCOMPARE(chooserCalls.last(), QStringLiteral("open"));
        QCOMPARE(doc->RadioData.Func.Volume, savedVolume);
        QVERIFY(!doc->IsDataChanged());
        QVERIFY(!doc->IsNewFile);
        QCOMPARE(doc->CurFileName, chosen);
        QTRY_VERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")) != nullptr);
        QCOMPARE(tablesMade, 2);
        QVERIFY(main->windowTitle().endsWith(QStringLiteral(":kept.dat]")));
    }

    void openOfAnUnreadableFileLeavesTheDocument() {
        touch();
        const i16 volume = doc->RadioData.Func.Volume;
        QFile bad(file("short.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("MZ-710 ", 7);
        bad.close();
        chosen = bad.fileName();
        QWidget* table = main->ChildForm(QStringLiteral("frmCommChInfo"));
        QVERIFY(table);
        // The change mark reaches the title once the edit's events are handled.
        QTRY_VERIFY(main->windowTitle().endsWith(QStringLiteral("*]")));
        const QString title = main->windowTitle();
        prompter.reset({A::No, A::Ok});
        trigger("mnuFileOpen");
        QCOMPARE(prompter.asked.size(), 2);
        // The message says which file and what is wrong with it.
        QVERIFY2(prompter.asked[1].text.contains(
                     chosen + QStringLiteral(", file head: the file ends after 7 of 25611 bytes.")),
                 qPrintable(prompter.asked[1].text));
        QCOMPARE(doc->RadioData.Func.Volume, volume);
        QVERIFY(doc->IsDataChanged());
        // The document's windows stay open as they were.
        QTest::qWait(150);
        QCOMPARE(main->ChildForm(QStringLiteral("frmCommChInfo")), table);
        QCOMPARE(tablesMade, 1);
        QCOMPARE(main->windowTitle(), title);

        // A channel numbered 0 is refused the same way, with the record named.
        Document other;
        other.NewDocument();
        other.CHInfo[3].CHNo = 0;
        other.ToFileCopy();
        chosen = file("zero.dat");
        QFile zero(chosen);
        QVERIFY(zero.open(QIODevice::WriteOnly));
        zero.write(EncodeDataFile(other.FileRadioData, other.FileCHInfo));
        zero.close();
        prompter.reset({A::No, A::Ok});
        trigger("mnuFileOpen");
        QCOMPARE(prompter.asked.size(), 2);
        QVERIFY2(
            prompter.asked[1].text.contains(QStringLiteral("entry 4 has the channel number 0")),
            qPrintable(prompter.asked[1].text));
        QCOMPARE(doc->RadioData.Func.Volume, volume);
        QCOMPARE(main->ChildForm(QStringLiteral("frmCommChInfo")), table);
    }

    void failedSaveAsKeepsTheTitle() {
        chosen = file("first.dat");
        trigger("mnuFileSaveAs");
        const QString title = main->windowTitle();
        QVERIFY(title.endsWith(QStringLiteral(":first.dat]")));
        touch();
        QVERIFY(QDir(tree->dir.path()).mkdir(QStringLiteral("taken.dat")));
        chosen = file("taken.dat");
        prompter.reset({A::Ok});
        trigger("mnuFileSaveAs");
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.endsWith(chosen + QStringLiteral(": Is a directory")));
        QCOMPARE(main->windowTitle(), title);
        QCOMPARE(doc->CurFileName, file("first.dat"));
        QVERIFY(doc->IsDataChanged());
    }

    void fileNamedAtStartOpensWithTheChecksOfOpen() {
        // A document saved elsewhere, named as the file manager names it (a file: URL).
        touch();
        chosen = file("start.dat");
        trigger("mnuFileSaveAs");
        const i16 volume = doc->RadioData.Func.Volume;
        doc->NewDocument();
        QVERIFY(doc->RadioData.Func.Volume != volume);
        prompter.reset();
        QVERIFY(main->OpenStartFile(QUrl::fromLocalFile(chosen).toString()));
        QCOMPARE(doc->CurFileName, chosen);
        QCOMPARE(doc->RadioData.Func.Volume, volume);
        QVERIFY(!doc->IsNewFile);
        QVERIFY(main->windowTitle().endsWith(QStringLiteral(":start.dat]")));
        QVERIFY(prompter.asked.isEmpty());

        // A relative path is taken from the folder the program started in.
        const QString cwd = QDir::currentPath();
        QDir::setCurrent(tree->dir.path());
        doc->NewDocument();
        QVERIFY(main->OpenStartFile(QStringLiteral("start.dat")));
        QDir::setCurrent(cwd);
        QCOMPARE(doc->CurFileName, chosen);

        // A file that is no document is refused with a message; the document stays.
        QFile bad(file("short.dat"));
        QVERIFY(bad.open(QIODevice::WriteOnly));
        bad.write("MZ-710 ", 7);
        bad.close();
        prompter.reset();
        prompter.expect(9002);
        QVERIFY(!main->OpenStartFile(bad.fileName()));
        QCOMPARE(prompter.asked.size(), 1);
        QCOMPARE(doc->CurFileName, chosen);
        QVERIFY(!main->OpenStartFile(file("missing.dat")));
        QCOMPARE(doc->CurFileName, chosen);
    }

    void fileDialogsStartBesideTheFileOrInDocuments() {
        const QString named = file("radios/Radio1.dat");
        QVERIFY(QDir().mkpath(file("radios")));
        QCOMPARE(frmMain::fileDialogStart(named), named);
        // Unnamed: the user's documents folder (or home), never the working folder.
        const QString start = frmMain::fileDialogStart(QStringLiteral("new.dat"));
        QVERIFY2(QFileInfo(start).isAbsolute(), qPrintable(start));
        QCOMPARE(QFileInfo(start).fileName(), QStringLiteral("new.dat"));
        QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (!QDir(docs).exists()) docs = QDir::homePath();
        QCOMPARE(QFileInfo(start).path(), QDir(docs).absolutePath());
        // A folder that is gone falls back the same way.
        QCOMPARE(QFileInfo(frmMain::fileDialogStart(file("gone/x.dat"))).path(),
                 QDir(docs).absolutePath());
    }

    void exitCancelledKeepsTheProgramRunning() {
        touch();
        prompter.reset({A::Cancel});
        QVERIFY(!main->close());
        QVERIFY(main->isVisible());
        QCOMPARE(prompter.texts(), QStringList{LoadLangText(9006)});
        QVERIFY(doc->IsDataChanged());
        // The settings record is written only by an exit that goes through.
        QVERIFY(!QFileInfo::exists(tree->progDir() + QStringLiteral("/Setting.ini")));

        // Yes on a new document asks for a name; the program ends after the save.
        chosen = file("atexit.dat");
        prompter.reset({A::Yes});
        trigger("mnuFileExit");
        QVERIFY(!main->isVisible());
        QCOMPARE(chooserCalls, QStringList{QStringLiteral("save:new.dat")});
        QCOMPARE(QFileInfo(chosen).size(), qint64(DataFileSize));
        QCOMPARE(QFileInfo(tree->progDir() + QStringLiteral("/Setting.ini")).size(), qint64(4));
    }

    void exitWithoutSavingWhenAnsweredNo() {
        touch();
        prompter.reset({A::No});
        QVERIFY(main->close());
        QVERIFY(chooserCalls.isEmpty());
    }
};

MZ_TEST_MAIN(TestDocumentFlow)
#include "tst_documentflow.moc"
