// Saving a data file: always the whole 25611-byte image, replaced in one step, and a failed
// save that leaves both the old file and the document's state alone.

#include "core/files/savedatafile.h"
#include "files/filetestutil.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

class TestSaveDataFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void emptyListStillFullSize();
    void savesTwiceIdenticallyAndMarksSaved();
    void replacesLongerOldFile();
    void folderThatIsAFile();
    void writeErrorKeepsOldFile();

private:
    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
};

void TestSaveDataFile::initTestCase() {
    QVERIFY(dir_.isValid());
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().LangFile = QStringLiteral("english.ini");
    doc_.setPrompter(&prompter_);
}

void TestSaveDataFile::init() {
    prompter_.asked.clear();
    doc_.SetCountryMode(0);
    doc_.NewDocument();
}

void TestSaveDataFile::emptyListStillFullSize() {
    while (doc_.chCount() > 0)
        doc_.DeleteChannel(0);
    doc_.CurFileName = dir_.filePath(QStringLiteral("empty.dat"));
    QVERIFY(SaveDataFile(doc_));
    const QByteArray b = ReadBytes(doc_.CurFileName);
    QCOMPARE(b.size(), 25611);
    QCOMPARE(Le16(b, 13), 0);
}

void TestSaveDataFile::savesTwiceIdenticallyAndMarksSaved() {
    doc_.AddChannel(9, QStringLiteral("27.065"));
    QVERIFY(doc_.IsDataChanged());
    QCOMPARE(doc_.IsNewFile, -1);
    doc_.CurFileName = dir_.filePath(QStringLiteral("twice.dat"));
    QSignalSpy state(&doc_, &Document::stateChanged);

    QVERIFY(SaveDataFile(doc_));
    QCOMPARE(doc_.IsNewFile, 0);
    QVERIFY(!doc_.IsDataChanged());
    QCOMPARE(state.count(), 1);
    const QByteArray first = ReadBytes(doc_.CurFileName);
    QVERIFY(SaveDataFile(doc_));
    QCOMPARE(ReadBytes(doc_.CurFileName), first);
    QVERIFY(prompter_.asked.isEmpty());
    // Nothing but the file itself is left in the folder.
    QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("twice*")}, QDir::Files).size(), 1);
}

void TestSaveDataFile::replacesLongerOldFile() {
    doc_.CurFileName = dir_.filePath(QStringLiteral("long.dat"));
    QVERIFY(WriteBytes(doc_.CurFileName, QByteArray(40000, 'x')));
    QVERIFY(SaveDataFile(doc_));
    QCOMPARE(ReadBytes(doc_.CurFileName).size(), 25611);
}

void TestSaveDataFile::folderThatIsAFile() {
    // A path below a regular file cannot be created, not even by root.
    const QString blocker = dir_.filePath(QStringLiteral("blocker"));
    QVERIFY(WriteBytes(blocker, "not a folder"));
    doc_.AddChannel(9, QStringLiteral("27.065"));
    const DocSnapshot before(doc_);
    doc_.CurFileName = blocker + QStringLiteral("/x.dat");

    QVERIFY(!SaveDataFile(doc_));
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(prompter_.wasMessage(0, 9002));
    QCOMPARE(doc_.IsNewFile, -1);
    // The changes still count as unsaved, so the save question is asked before they are lost.
    QVERIFY(doc_.IsDataChanged());
    QVERIFY(doc_.FileRadioData == before.fileData);
    QVERIFY(doc_.FileCHInfo == before.fileChannels);
    QCOMPARE(ReadBytes(blocker), QByteArray("not a folder"));
}

void TestSaveDataFile::writeErrorKeepsOldFile() {
    // The disk fills up in the middle of the write: the file size limit stands in for it, and
    // it holds for root too.
    doc_.CurFileName = dir_.filePath(QStringLiteral("old.dat"));
    QVERIFY(SaveDataFile(doc_));
    const QByteArray old = ReadBytes(doc_.CurFileName);
    doc_.AddChannel(9, QStringLiteral("27.065"));

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool ok = SaveDataFile(doc_);
    setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(!ok);
    QVERIFY(prompter_.wasMessage(0, 9002));
    QCOMPARE(ReadBytes(doc_.CurFileName), old);
    QVERIFY(doc_.IsDataChanged());
    QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("old*")}, QDir::Files).size(), 1);
}

QTEST_GUILESS_MAIN(TestSaveDataFile)
#include "tst_savedatafile.moc"
