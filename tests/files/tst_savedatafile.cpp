// Saving: always the whole 25611-byte image, replaced in one step; a failed save leaves the
// old file and the document's state (so also the save question) alone.

#include "core/files/savedatafile.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

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
    void fullSizeIdenticalAndSaved();
    void folderThatIsAFile();
    void writeErrorKeepsOldFile();

private:
    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
};

void TestSaveDataFile::initTestCase() {
    UseStagedLanguage();
    doc_.setPrompter(&prompter_);
}

void TestSaveDataFile::init() {
    prompter_.reset();
    doc_.NewDocument();
}

void TestSaveDataFile::fullSizeIdenticalAndSaved() {
    while (doc_.chCount() > 0)
        doc_.DeleteChannel(0);
    doc_.CurFileName = dir_.filePath(u"x.dat"_s);
    QVERIFY(WriteBytes(doc_.CurFileName, QByteArray(40000, 'x'))); // a longer old file
    QVERIFY(doc_.IsDataChanged());
    QSignalSpy state(&doc_, &Document::stateChanged);

    QVERIFY(SaveDataFile(doc_));
    const QByteArray first = ReadBytes(doc_.CurFileName);
    QCOMPARE(first.size(), 25611);
    QVERIFY(!doc_.IsNewFile);
    QVERIFY(!doc_.IsDataChanged());
    QCOMPARE(state.count(), 1);
    QVERIFY(SaveDataFile(doc_));
    QCOMPARE(ReadBytes(doc_.CurFileName), first);
    QVERIFY(prompter_.asked.isEmpty());
    QCOMPARE(QDir(dir_.path()).entryList({u"x*"_s}, QDir::Files), QStringList{u"x.dat"_s});
}

void TestSaveDataFile::folderThatIsAFile() {
    // A path below a regular file cannot be created, not even by root.
    const QString blocker = dir_.filePath(u"blocker"_s);
    QVERIFY(WriteBytes(blocker, "file"));
    doc_.AddChannel(9, u"27.065"_s);
    doc_.CurFileName = blocker + u"/x.dat"_s;
    const QByteArray before = Snapshot(doc_);

    prompter_.expect(9002);
    QVERIFY(!SaveDataFile(doc_));
    QVERIFY(prompter_.wasMessage(0, 9002));
    // The transfer copy is back as it was: the changes still count as unsaved.
    QCOMPARE(Snapshot(doc_), before);
    QVERIFY(doc_.IsDataChanged());
    QCOMPARE(ReadBytes(blocker), QByteArray("file"));
}

void TestSaveDataFile::writeErrorKeepsOldFile() {
    // The disk fills up in the middle of the write; the file size limit stands in for that,
    // and it holds for root too.
    doc_.CurFileName = dir_.filePath(u"old.dat"_s);
    QVERIFY(SaveDataFile(doc_));
    const QByteArray old = ReadBytes(doc_.CurFileName);
    doc_.AddChannel(9, u"27.065"_s);

    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
    prompter_.expect(9002);
    const bool ok = SaveDataFile(doc_);
    setrlimit(RLIMIT_FSIZE, &saved);

    QVERIFY(!ok);
    QVERIFY(prompter_.wasMessage(0, 9002));
    QCOMPARE(ReadBytes(doc_.CurFileName), old);
    QVERIFY(doc_.IsDataChanged());
    QCOMPARE(QDir(dir_.path()).entryList({u"old*"_s}, QDir::Files).size(), 1);
}

MZ_TEST_GUILESS_MAIN(TestSaveDataFile)
#include "tst_savedatafile.moc"
