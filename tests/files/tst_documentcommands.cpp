// The document commands with a scripted prompter and a shell that records what the main
// window was asked to do.

#include "core/app/documentcommands.h"
#include "core/app/startup.h"
#include "core/files/opendatafile.h"
#include "files/filetestutil.h"

#include <QDir>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using A = Prompter::Answer;
using B = Prompter::Buttons;

class FakeShell : public DocumentShell {
public:
    QStringList calls;
    QString openAnswer, saveAnswer, savePreset;

    QString chooseOpenFile() override {
        calls << QStringLiteral("open dialog");
        return openAnswer;
    }
    QString chooseSaveFile(const QString& preset) override {
        calls << QStringLiteral("save dialog");
        savePreset = preset;
        return saveAnswer;
    }
    void closeAllChildWindows() override { calls << QStringLiteral("close"); }
    void documentLoaded() override { calls << QStringLiteral("loaded"); }
    void refreshTitle() override { calls << QStringLiteral("title"); }
    void requestExit() override { calls << QStringLiteral("exit"); }
};

class TestDocumentCommands : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void newOnUnchangedAsksOnly9026();
    void newCancelAt9006AsksNothingMore();
    void newYesSavesOpenedFileFirst();
    void newYesButSaveAsCancelledStops();
    void initialisationUsesFactoryOnce();
    void saveAsPresetAndFailedWriteKeepsChosenName();
    void saveOfOpenedFileQuotesBareName();
    void openRefusedKeepsDocument();
    void openOfOtherVersionEndsOnlyWhenStarted();
    void exitCancelKeepsRunning();
    void exitMinimisedAndFailedSave();
    void exitUnchangedWritesSettings();

private:
    QString path(const QString& name) const { return dir_.filePath(name); }
    void changeDocument() { doc_.AddChannel(9, QStringLiteral("27.065")); }
    bool asked(int i, int id) const { return prompter_.wasMessage(i, id); }

    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
    FakeShell shell_;
    DocumentCommands* cmds_ = nullptr;
};

namespace {
QByteArray fileWithBeep(int beep) {
    Document d;
    d.NewDocument();
    d.RadioData.Func.Beep = static_cast<i16>(beep);
    d.ToFileCopy();
    return EncodeDataFile(d.FileRadioData, d.FileCHInfo);
}
} // namespace

void TestDocumentCommands::initTestCase() {
    QVERIFY(dir_.isValid());
    // A program folder of our own, with the language files, the Init folder and Setting.ini.
    QDir d(dir_.path());
    QVERIFY(d.mkpath(QStringLiteral("language")) && d.mkpath(QStringLiteral("Init")));
    for (const char* f : {"english.ini", "chinese.ini"})
        QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/") + QLatin1String(f),
                            path(QStringLiteral("language/")) + QLatin1String(f)));
    QVERIFY(WriteBytes(path(QStringLiteral("Init/MZ-710_0_NEW.dat")), fileWithBeep(1)));
    QVERIFY(WriteBytes(path(QStringLiteral("Init/MZ-710_0.dat")), fileWithBeep(2)));
    App().ProgramDir = dir_.path();
    App().LangFile = QStringLiteral("english.ini");
    App().FirmPairs = {{QStringLiteral("V100"), QStringLiteral("V100")}};
    App().AppTitle = QStringLiteral("mzprog test");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       path(QStringLiteral("store")));
    doc_.setPrompter(&prompter_);
    doc_.InitDir = dir_.path();
}

void TestDocumentCommands::init() {
    doc_.InitRequested = 0;
    doc_.SetCountryMode(0);
    doc_.NewDocument();
    prompter_.asked.clear();
    prompter_.answers.clear();
    shell_ = FakeShell();
    cmds_ = new DocumentCommands(doc_, shell_, prompter_);
}

void TestDocumentCommands::cleanup() {
    delete cmds_;
    cmds_ = nullptr;
}

void TestDocumentCommands::newOnUnchangedAsksOnly9026() {
    // Beep 5 was last saved, so the document counts as unchanged.
    doc_.RadioData.Func.Beep = 5;
    doc_.ToFileCopy();
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    prompter_.answers = {A::Ok};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(asked(0, 9026));
    QCOMPARE(prompter_.asked[0].buttons, B::OkCancel);
    QCOMPARE(prompter_.asked[0].icon, Prompter::Icon::Warning);
    // The windows close at once; the document is rebuilt only on the timer's tick.
    QCOMPARE(shell_.calls, QStringList{QStringLiteral("close")});
    QCOMPARE(doc_.RadioData.Func.Beep, 5);
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 1); // from the template
    QCOMPARE(shell_.calls, (QStringList{QStringLiteral("close"), QStringLiteral("loaded")}));
}

void TestDocumentCommands::newCancelAt9006AsksNothingMore() {
    changeDocument();
    const DocSnapshot before(doc_);
    prompter_.answers = {A::Cancel};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(asked(0, 9006));
    QCOMPARE(prompter_.asked[0].buttons, B::YesNoCancel);
    QVERIFY(shell_.calls.isEmpty());
    QVERIFY(DocSnapshot(doc_) == before);
}

void TestDocumentCommands::newYesSavesOpenedFileFirst() {
    doc_.CurFileName = path(QStringLiteral("opened.dat"));
    doc_.IsNewFile = 0;
    changeDocument();
    prompter_.answers = {A::Yes, A::Ok, A::Cancel};
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 3);
    QVERIFY(asked(0, 9006));
    QVERIFY(prompter_.asked[1].text.endsWith(QStringLiteral("\"opened.dat\"")));
    QVERIFY(asked(2, 9026));
    QCOMPARE(ReadBytes(doc_.CurFileName).size(), DataFileSize);
    QVERIFY(!doc_.IsDataChanged());
}

void TestDocumentCommands::newYesButSaveAsCancelledStops() {
    // Going on after the user asked to keep the changes would throw them away.
    changeDocument();
    prompter_.answers = {A::Yes};
    shell_.saveAnswer.clear();
    cmds_->FileNew();
    QCOMPARE(prompter_.asked.size(), 1);
    QCOMPARE(shell_.calls, QStringList{QStringLiteral("save dialog")});
    QCOMPARE(shell_.savePreset, QStringLiteral("new.dat"));
    QVERIFY(doc_.IsDataChanged());
}

void TestDocumentCommands::initialisationUsesFactoryOnce() {
    // Cancelled at 9026: the request ends, and New from the toolbar uses the template.
    prompter_.answers = {A::Cancel};
    cmds_->Init();
    QCOMPARE(doc_.InitRequested, 0);
    QSignalSpy built(cmds_, &DocumentCommands::newDocumentBuilt);
    cmds_->LoadNewDoc();
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 1);
    QCOMPARE(prompter_.asked.size(), 1);

    prompter_.answers = {A::Ok};
    cmds_->Init();
    QCOMPARE(doc_.InitRequested, -1);
    QVERIFY(built.wait(5000));
    QCOMPARE(doc_.RadioData.Func.Beep, 2);
    QCOMPARE(doc_.InitRequested, 0);
}

void TestDocumentCommands::saveAsPresetAndFailedWriteKeepsChosenName() {
    const QString blocker = path(QStringLiteral("blocker"));
    QVERIFY(WriteBytes(blocker, "file"));
    shell_.saveAnswer = blocker + QStringLiteral("/x.dat");
    QVERIFY(!cmds_->FileSave()); // a new document: Save is Save As
    QCOMPARE(shell_.savePreset, QStringLiteral("new.dat"));
    QCOMPARE(doc_.CurFileName, shell_.saveAnswer);
    QCOMPARE(doc_.IsNewFile, -1);
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(asked(0, 9002));

    shell_.saveAnswer = path(QStringLiteral("chosen.dat"));
    QVERIFY(cmds_->FileSaveAs());
    QCOMPARE(shell_.savePreset, blocker + QStringLiteral("/x.dat"));
    QCOMPARE(doc_.IsNewFile, 0);
    QCOMPARE(prompter_.asked.size(), 1); // no confirmation on this path
    QCOMPARE(shell_.calls.last(), QStringLiteral("title"));
}

void TestDocumentCommands::saveOfOpenedFileQuotesBareName() {
    doc_.CurFileName = path(QStringLiteral("Radio1.dat"));
    doc_.IsNewFile = 0;
    prompter_.answers = {A::Cancel};
    QVERIFY(!cmds_->FileSave());
    QCOMPARE(prompter_.asked.size(), 1);
    QCOMPARE(prompter_.asked[0].text, LoadLangText(9007) + QStringLiteral("\"Radio1.dat\""));
    QCOMPARE(prompter_.asked[0].buttons, B::OkCancel);
    QCOMPARE(prompter_.asked[0].icon, Prompter::Icon::Question);
    QVERIFY(!QFile::exists(doc_.CurFileName));

    prompter_.answers = {A::Ok};
    QVERIFY(cmds_->FileSave());
    QVERIFY(QFile::exists(doc_.CurFileName));
}

void TestDocumentCommands::openRefusedKeepsDocument() {
    const QString bad = path(QStringLiteral("short.dat"));
    QVERIFY(WriteBytes(bad, fileWithBeep(3).left(100)));
    changeDocument();
    const DocSnapshot before(doc_);
    prompter_.answers = {A::No};
    shell_.openAnswer = bad;
    cmds_->FileOpen();
    QVERIFY(asked(0, 9006));
    QVERIFY(asked(1, 9002));
    QCOMPARE(shell_.calls, (QStringList{QStringLiteral("open dialog"), QStringLiteral("close")}));
    QVERIFY(DocSnapshot(doc_) == before);

    const QString good = path(QStringLiteral("good.dat"));
    QVERIFY(WriteBytes(good, fileWithBeep(3)));
    QVERIFY(cmds_->OpenFile(good));
    QCOMPARE(doc_.RadioData.Func.Beep, 3);
    QCOMPARE(doc_.CurFileName, good);
    QCOMPARE(shell_.calls.last(), QStringLiteral("loaded"));
}

void TestDocumentCommands::openOfOtherVersionEndsOnlyWhenStarted() {
    QByteArray b = fileWithBeep(3);
    b.replace(9, 4, "V101");
    const QString other = path(QStringLiteral("v101.dat"));
    QVERIFY(WriteBytes(other, b));
    prompter_.answers = {A::Yes};
    QVERIFY(!cmds_->OpenFile(other));
    QVERIFY(asked(1, 9063));
    QVERIFY(!shell_.calls.contains(QStringLiteral("exit")));
}

void TestDocumentCommands::exitCancelKeepsRunning() {
    QFile::remove(App().settingPath());
    changeDocument();
    prompter_.answers = {A::Cancel};
    QVERIFY(!cmds_->ExitSequence(false, QRect(11, 22, 3333, 4444)));
    QVERIFY(asked(0, 9006));
    QCOMPARE(LoadMainWindowTwips(), QRect(11, 22, 3333, 4444));
    QVERIFY(!QFile::exists(App().settingPath()));
    QVERIFY(doc_.IsDataChanged());
}

void TestDocumentCommands::exitMinimisedAndFailedSave() {
    SaveMainWindowTwips(QRect(1, 2, 3, 4));
    QFile::remove(App().settingPath());
    changeDocument();
    const QString blocker = path(QStringLiteral("blocker2"));
    QVERIFY(WriteBytes(blocker, "file"));
    shell_.saveAnswer = blocker + QStringLiteral("/x.dat");
    prompter_.answers = {A::Yes};
    // The save fails: closing now would lose the changes, so the program keeps running.
    QVERIFY(!cmds_->ExitSequence(true, QRect(9, 9, 9, 9)));
    QVERIFY(asked(1, 9002));
    QCOMPARE(LoadMainWindowTwips(), QRect(1, 2, 3, 4));
    QVERIFY(!QFile::exists(App().settingPath()));
}

void TestDocumentCommands::exitUnchangedWritesSettings() {
    QFile::remove(App().settingPath());
    App().SettingBytes = {1, 2, 3, 4};
    QVERIFY(cmds_->ExitSequence(false, QRect(5, 6, 7000, 8000)));
    QVERIFY(prompter_.asked.isEmpty());
    QCOMPARE(ReadBytes(App().settingPath()), QByteArray("\x01\x02\x03\x04", 4));
    QCOMPARE(LoadMainWindowTwips(), QRect(5, 6, 7000, 8000));
}

QTEST_GUILESS_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
