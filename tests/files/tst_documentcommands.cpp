// The document commands with a scripted prompter and a shell that records what the main
// window was asked to do.

#include "core/app/documentcommands.h"
#include "core/app/startup.h"
#include "core/model/documenthistory.h"
#include "core/model/version.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using A = Prompter::Answer;

namespace {
class FakeShell : public DocumentShell {
public:
    QStringList calls;
    QString openAnswer, saveAnswer, savePreset;

    QString chooseOpenFile() override {
        calls << u"open dialog"_s;
        return openAnswer;
    }
    QString chooseSaveFile(const QString& preset) override {
        calls << u"save dialog"_s;
        savePreset = preset;
        return saveAnswer;
    }
    int chooseNewMode(int current) override {
        calls << u"mode %1"_s.arg(current);
        return modeAnswer;
    }
    int modeAnswer = -1;
    void closeAllChildWindows() override { calls << u"close"_s; }
    void documentLoaded() override {
        calls << u"loaded"_s;
        if (onLoaded) onLoaded();
    }
    std::function<void()> onLoaded; // what the windows do as they show the new document
    void refreshTitle() override { calls << u"title"_s; }
    void requestExit() override { calls << u"exit"_s; }
};
} // namespace

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup() { delete cmds_; }
    void newOnUnchangedAsksOnly9026();
    void newCancelAt9006AsksNothingMore();
    void newAsksTheModeOnlyWithoutChannelsOfItsOwn_data();
    void newAsksTheModeOnlyWithoutChannelsOfItsOwn();
    void newInTheModeChosen();
    void newYesSavesFirstAndStopsWhenSaveStops();
    void initialisationUsesFactoryOnce();
    void saveAsKeepsTheOldNameWhenWriteFails();
    void openRefusedKeepsDocument();
    void everyReplacementIsAnnouncedOnceAndUndoStartsAfterTheWindows();
    void exitSequence();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    void change() { doc_.AddChannel(9, u"27.065"_s); }

    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
    FakeShell shell_;
    DocumentCommands* cmds_ = nullptr;
};

void TestDocumentCommands::initTestCase() {
    // A program folder of our own, with the language files, the Init folder and Setting.ini.
    QDir d(dir_.path());
    QVERIFY(d.mkpath(u"language"_s) && d.mkpath(u"Init"_s));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/english.ini"),
                        path(u"language/english.ini"_s)));
    QVERIFY(WriteBytes(path(u"Init/MZ-710_0_NEW.dat"_s), NewDocumentFile(0, 1)));
    QVERIFY(WriteBytes(path(u"Init/MZ-710_0.dat"_s), NewDocumentFile(0, 2)));
    App().ProgramDir = dir_.path();
    App().UseLanguage(Language::English);
    FirmPairs() = {{u"V100"_s, u"V100"_s}};
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path(u"store"_s));
    doc_.setPrompter(&prompter_);
    doc_.InitDir = dir_.path();
}

void TestDocumentCommands::init() {
    doc_.InitRequested = false;
    doc_.SetCountryMode(0);
    doc_.NewDocument();
    prompter_.reset();
    shell_ = FakeShell();
    cmds_ = new DocumentCommands(doc_, shell_, prompter_);
}

void TestDocumentCommands::newOnUnchangedAsksOnly9026() {
    doc_.RadioData.Func.Beep = 5;
    doc_.CurFileName = path(u"Radio1.dat"_s);
    doc_.IsNewFile = false;
    doc_.ToFileCopy(); // as saved: unchanged
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    prompter_.answers = {A::Ok};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(prompter_.wasMessage(0, 9026));
    QCOMPARE(prompter_.asked[0].buttons, Prompter::Buttons::OkCancel);
    // The windows close at once; the document is rebuilt on the timer's tick.
    QCOMPARE(shell_.calls, QStringList{u"close"_s});
    QCOMPARE(doc_.RadioData.Func.Beep, 5);
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 1); // from the template
    QCOMPARE(shell_.calls, (QStringList{u"close"_s, u"loaded"_s}));
}

void TestDocumentCommands::newCancelAt9006AsksNothingMore() {
    change();
    const QByteArray before = Snapshot(doc_);
    prompter_.answers = {A::Cancel};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(prompter_.wasMessage(0, 9006));
    QCOMPARE(prompter_.asked[0].buttons, Prompter::Buttons::YesNoCancel);
    QVERIFY(shell_.calls.isEmpty());
    QCOMPARE(Snapshot(doc_), before);
}

void TestDocumentCommands::newAsksTheModeOnlyWithoutChannelsOfItsOwn_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<QList<int>>("messages"); // 9006 is answered No, 9026 Cancel
    QTest::addColumn<bool>("asksMode");
    QTest::newRow("new") << u"new"_s << QList<int>{} << true;
    // Showing another group is no edit, though a save would keep it.
    QTest::newRow("new, another group shown") << u"group"_s << QList<int>{} << true;
    QTest::newRow("new, edited") << u"edited"_s << QList<int>{9006, 9026} << false;
    QTest::newRow("new, saved") << u"saved"_s << QList<int>{9026} << false;
    // Not changed since the read, and still the radio's channels.
    QTest::newRow("read from the radio") << u"read"_s << QList<int>{9006, 9026} << false;
}

void TestDocumentCommands::newAsksTheModeOnlyWithoutChannelsOfItsOwn() {
    QFETCH(QString, document);
    QFETCH(QList<int>, messages);
    QFETCH(bool, asksMode);
    if (document == u"group")
        doc_.EditFunc([](FuncRec& f) { f.GroupSel = 3; });
    else if (document == u"edited")
        change();
    else if (document == u"saved") {
        shell_.saveAnswer = path(u"saved.dat"_s);
        QVERIFY(cmds_->FileSaveAs());
        shell_.calls.clear();
    } else if (document == u"read") {
        AdoptedImage read = doc_.currentImage();
        read.data.Func.Beep = 4;
        read.title = u"read from the radio"_s;
        doc_.adoptImage(read);
    }
    QCOMPARE(doc_.untouchedNew(), asksMode);
    const QByteArray before = Snapshot(doc_);
    for (int id : messages)
        prompter_.answers << (id == 9006 ? A::No : A::Cancel);
    cmds_->FileNew(); // the mode question is cancelled (modeAnswer -1)
    QCOMPARE(prompter_.asked.size(), messages.size());
    for (int i = 0; i < messages.size(); ++i)
        QVERIFY(prompter_.wasMessage(i, messages[i]));
    // The current mode is offered; Cancel, there or at 9026, changes nothing.
    QCOMPARE(shell_.calls, asksMode ? QStringList{u"mode 0"_s} : QStringList{});
    QCOMPARE(Snapshot(doc_), before);
    QTest::qWait(200); // no new document comes on the timer either
    QCOMPARE(Snapshot(doc_), before);
}

void TestDocumentCommands::newInTheModeChosen() {
    // File > New on the start-up document: the mode chosen replaces 9026.
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    shell_.modeAnswer = 2;
    cmds_->FileNew();
    QVERIFY(prompter_.asked.isEmpty());
    QVERIFY(built.wait(5000));
    QCOMPARE(shell_.calls, (QStringList{u"mode 0"_s, u"close"_s, u"loaded"_s}));
    QCOMPARE(doc_.CountryMode, 2);
    QCOMPARE(doc_.BandText, u"28.000 - 29.700 MHz"_s);
    QCOMPARE(doc_.RadioData.Head.CountryMode, i16(2));
    QVERIFY(doc_.untouchedNew());

    // The start panel's New in a mode: an edited document is saved or given up first.
    change();
    shell_.calls.clear();
    prompter_.answers = {A::No};
    cmds_->NewInMode(1);
    QVERIFY(prompter_.wasMessage(0, 9006));
    QVERIFY(built.wait(5000));
    QCOMPARE(shell_.calls, (QStringList{u"close"_s, u"loaded"_s}));
    QCOMPARE(doc_.CountryMode, 1);
    QVERIFY(doc_.untouchedNew());
}

void TestDocumentCommands::newYesSavesFirstAndStopsWhenSaveStops() {
    // An opened file: Yes asks 9007 with the bare file name, saves, then asks 9026.
    doc_.CurFileName = path(u"Radio1.dat"_s);
    doc_.IsNewFile = false;
    change();
    prompter_.answers = {A::Yes, A::Ok, A::Cancel};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 3);
    QCOMPARE(prompter_.asked[1].text, LoadLangText(9007) + u"\"Radio1.dat\""_s);
    QCOMPARE(prompter_.asked[1].icon, Prompter::Icon::Question);
    QVERIFY(prompter_.wasMessage(2, 9026));
    QVERIFY(!doc_.IsDataChanged());

    // A new document: Yes opens Save As; cancelling it stops New, the changes stay.
    doc_.NewDocument();
    change();
    prompter_.asked.clear();
    shell_.calls.clear();
    prompter_.answers = {A::Yes};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QCOMPARE(shell_.calls, QStringList{u"save dialog"_s});
    QCOMPARE(shell_.savePreset, u"new.dat"_s);
    QVERIFY(doc_.IsDataChanged());
}

void TestDocumentCommands::initialisationUsesFactoryOnce() {
    // Cancelled at 9026: the request ends, and the toolbar's New uses the template.
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    prompter_.answers = {A::Cancel};
    cmds_->Init();
    QVERIFY(!doc_.InitRequested);
    cmds_->LoadNewDoc();
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 1);

    prompter_.answers = {A::Ok};
    cmds_->Init();
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 2);
    QVERIFY(!doc_.InitRequested);
    QCOMPARE(prompter_.asked.size(), 2);
}

void TestDocumentCommands::saveAsKeepsTheOldNameWhenWriteFails() {
    const QString blocker = path(u"blocker"_s);
    QVERIFY(WriteBytes(blocker, "file"));
    shell_.saveAnswer = blocker + u"/x.dat"_s;
    prompter_.expect(9002);
    QVERIFY(!cmds_->FileSave()); // a new document: Save is Save As
    QCOMPARE(doc_.CurFileName, u"new.dat"_s);
    QVERIFY(doc_.IsNewFile);
    QVERIFY(prompter_.wasMessage(0, 9002));
    // The message names the file and the system's reason.
    QVERIFY(prompter_.asked[0].text.endsWith(blocker + u"/x.dat: Not a directory"_s));
    QVERIFY(!shell_.calls.contains(u"title"_s));

    shell_.saveAnswer = path(u"chosen.dat"_s);
    QVERIFY(cmds_->FileSaveAs());
    QCOMPARE(shell_.savePreset, u"new.dat"_s);
    QCOMPARE(doc_.CurFileName, shell_.saveAnswer);
    QVERIFY(!doc_.IsNewFile);
    QCOMPARE(prompter_.asked.size(), 1); // no question on this path
    QCOMPARE(shell_.calls.last(), u"title"_s);
}

void TestDocumentCommands::everyReplacementIsAnnouncedOnceAndUndoStartsAfterTheWindows() {
    // New, open and an opened backup: one announcement each, and the undo history is cleared
    // only once the windows show the new document (the shell's "loaded").
    QVERIFY(WriteBytes(path(u"Radio2.dat"_s), NewDocumentFile(0, 3)));
    QVERIFY(QDir(dir_.path()).mkpath(u"backups"_s));
    const QString backup = path(u"backups/20261207-152200-000_MZ-710_CB.dat"_s);
    QVERIFY(WriteBytes(backup, NewDocumentFile(0, 4)));
    doc_.history().setRecording(true);
    struct Row {
        const char* name;
        std::function<void()> run;
        QString fileName, title;
    };
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    const QList<Row> rows = {
        {"new",
         [&] {
             cmds_->ToolbarNew();
             QVERIFY(built.wait(5000));
         },
         u"new.dat"_s, u"new.dat"_s},
        {"open", [&] { QVERIFY(cmds_->OpenFile(path(u"Radio2.dat"_s))); }, path(u"Radio2.dat"_s),
         u"Radio2.dat"_s},
        {"backup", [&] { QVERIFY(cmds_->OpenAsNewDocument(backup)); }, u"new.dat"_s,
         u"backup of 2026-12-07 15:22"_s},
    };
    for (const Row& row : rows) {
        doc_.EditKeys([](KeyRec& k) { k.KeySet = 1; });
        doc_.history().flush();
        doc_.ToFileCopy(); // saved: nothing is asked
        QVERIFY(doc_.history().stack().canUndo());
        shell_.calls.clear();
        // A window that settles a value as it shows the document (a group selection made
        // valid): that is where undo starts, not a step of its own.
        shell_.onLoaded = [&] { doc_.EditFunc([](FuncRec& f) { f.GroupSel = 0; }); };
        QSignalSpy replaced(&doc_, &Document::documentReplaced);
        row.run();
        QCOMPARE(replaced.size(), 1);
        QCoreApplication::processEvents();
        QVERIFY2(!doc_.history().stack().canUndo(), row.name);
        QCOMPARE(shell_.calls.last(), u"loaded"_s);
        QCOMPARE(doc_.CurFileName, row.fileName);
        QCOMPARE(doc_.title(), row.title);
        shell_.onLoaded = nullptr;
    }
    // A backup stays unnamed: Save asks for a name and never overwrites it.
    QVERIFY(doc_.IsNewFile);
    shell_.saveAnswer.clear();
    QVERIFY(!cmds_->FileSave());
    QCOMPARE(shell_.calls.last(), u"save dialog"_s);
    doc_.history().setRecording(false);
}

void TestDocumentCommands::openRefusedKeepsDocument() {
    QVERIFY(WriteBytes(path(u"short.dat"_s), NewDocumentFile(0).left(100)));
    change();
    const QByteArray before = Snapshot(doc_);
    prompter_.expect(9002).expect(9063);
    prompter_.answers = {A::No};
    shell_.openAnswer = path(u"short.dat"_s);
    cmds_->FileOpen();
    QVERIFY(prompter_.wasMessage(0, 9006));
    QVERIFY(prompter_.wasMessage(1, 9002));
    QVERIFY2(prompter_.asked[1].text.contains(
                 u"short.dat, function settings: the file ends after 100 of 25611 bytes."_s),
             qPrintable(prompter_.asked[1].text));
    // Nothing was closed: the windows stay as they were.
    QCOMPARE(shell_.calls, (QStringList{u"open dialog"_s}));
    QCOMPARE(Snapshot(doc_), before);

    // Another version that nothing installed can read: no hand-over, the program goes on.
    QVERIFY(WriteBytes(path(u"v101.dat"_s), NewDocumentFile(0).replace(9, 4, "V101")));
    prompter_.answers = {A::Yes};
    QVERIFY(!cmds_->OpenFile(path(u"v101.dat"_s)));
    QVERIFY(prompter_.wasMessage(3, 9063));
    QVERIFY(!shell_.calls.contains(u"exit"_s));

    QVERIFY(WriteBytes(path(u"good.dat"_s), NewDocumentFile(0, 3)));
    QVERIFY(cmds_->OpenFile(path(u"good.dat"_s)));
    QCOMPARE(doc_.RadioData.Func.Beep, 3);
    QCOMPARE(shell_.calls.mid(shell_.calls.size() - 2), (QStringList{u"close"_s, u"loaded"_s}));
}

void TestDocumentCommands::exitSequence() {
    const QString setting = App().settingPath();
    QFile::remove(setting);
    change();

    // Cancel: the program keeps running; only the window position was stored.
    prompter_.answers = {A::Cancel};
    QVERIFY(!cmds_->ExitSequence(false, QRect(11, 22, 3333, 4444)));
    QCOMPARE(LoadMainWindowTwips(), QRect(11, 22, 3333, 4444));
    QVERIFY(!QFile::exists(setting));

    // Minimised, Yes, and the save fails: closing now would lose the changes.
    shell_.saveAnswer = path(u"blocker/x.dat"_s);
    QVERIFY(WriteBytes(path(u"blocker"_s), "file"));
    prompter_.expect(9002);
    prompter_.answers = {A::Yes};
    QVERIFY(!cmds_->ExitSequence(true, QRect(9, 9, 9, 9)));
    QCOMPARE(LoadMainWindowTwips(), QRect(11, 22, 3333, 4444));
    QVERIFY(!QFile::exists(setting));

    // No: the settings record is written and the program may close.
    App().SettingBytes = {1, 2, 3, 4};
    prompter_.answers = {A::No};
    QVERIFY(cmds_->ExitSequence(false, QRect(5, 6, 7000, 8000)));
    QCOMPARE(ReadBytes(setting), QByteArray("\x01\x02\x03\x04", 4));
    QVERIFY(prompter_.wasMessage(0, 9006));
}

MZ_TEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
