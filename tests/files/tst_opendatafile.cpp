// Opening a data file: the checks in their order, each refusal with its message and the
// document left exactly as it was, the hand-over to another program version, and the state
// after a successful open.

#include "core/app/otherversion.h"
#include "core/files/opendatafile.h"
#include "core/model/country.h"
#include "core/model/version.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using A = Prompter::Answer;

class TestOpenDataFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void refusals_data();
    void refusals();
    void otherVersion();
    void handOverStartsTheOtherVersion();
    void opensAndTakesOverTheFilesMode();

private:
    QString write(const QByteArray& bytes);
    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
};

namespace {
QByteArray withHead(QByteArray b, int at, const char* text) {
    return b.replace(at, int(qstrlen(text)), text);
}
} // namespace

void TestOpenDataFile::initTestCase() {
    UseStagedLanguage();
    doc_.setPrompter(&prompter_);
}

void TestOpenDataFile::init() {
    FirmPairs() = {{u"V100"_s, u"V100"_s}};
    prompter_.reset();
    // A changed document with a name of its own: what a refused open must keep.
    doc_.SetCountryMode(0);
    doc_.NewDocument();
    doc_.AddChannel(5, u"27.005"_s);
    doc_.CurFileName = u"/data/mine.dat"_s;
    doc_.IsNewFile = false;
}

QString TestOpenDataFile::write(const QByteArray& bytes) {
    const QString path = dir_.filePath(u"in.dat"_s);
    return WriteBytes(path, bytes) ? path : QString();
}

void TestOpenDataFile::refusals_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file at all
    QTest::addColumn<int>("message");      // the first line of the message
    QTest::addColumn<QString>("says");     // the detail: the file, the record and the fault
    const QByteArray good = NewDocumentFile(2);
    const QString head = u"in.dat, file head: "_s;
    QTest::newRow("missing") << QByteArray() << 9002 << u"none.dat: "_s;
    QTest::newRow("header cut short")
        << good.left(12) << 9002 << head + u"the file ends after 12 of 25611 bytes."_s;
    QTest::newRow("one byte short") << good.left(DataFileSize - 1) << 9002
                                    << u"in.dat, channel entry 409: the file ends after 25610 "
                                       "of 25611 bytes."_s;
    QTest::newRow("ends in the DTMF record")
        << good.left(400) << 9002 << u"in.dat, DTMF record: the file ends after 400 of"_s;
    QTest::newRow("ends in channel entry 12")
        << good.left(1071 + 60 * 11 + 30) << 9002 << u"in.dat, channel entry 12: the file ends"_s;
    QTest::newRow("CHCount 410")
        << Patched(good, 13, 410) << 9002
        << u"in.dat, channel count: it counts 410 channels, and a data file holds 0 to 409."_s;
    QTest::newRow("CHCount -1") << Patched(good, 13, -1) << 9002 << u"it counts -1 channels"_s;
    QTest::newRow("model in lower case")
        << withHead(good, 0, "mz-710") << 9012
        << head + u"the model is \"mz-710\", and this program reads MZ-710 data."_s;
    QTest::newRow("version V10 and a space")
        << withHead(good, 9, "V10 ") << 9065
        << head + u"the version is \"V10 \", not V followed by digits."_s;
    QTest::newRow("country mode 3")
        << Patched(good, 7, 3) << 9045
        << head + u"the country mode is 3, and the modes are 0, 1 and 2."_s;
    // Only the first failing check speaks.
    QTest::newRow("model before version")
        << withHead(withHead(good, 0, "mz"), 9, "VABC") << 9012 << u"\"mz-710\""_s;
    QTest::newRow("version before size")
        << withHead(good, 9, "V1x0").left(20) << 9065 << u"\"V1x0\""_s;
    QTest::newRow("count before mode")
        << Patched(Patched(good, 7, 5), 13, 500) << 9002 << u"it counts 500 channels"_s;
    QTest::newRow("one byte long")
        << good + 'x' << 9002 << u"in.dat is longer than the 25611 bytes of a data file."_s;
    QTest::newRow("channel numbered 0")
        << Patched(good, 1071, 0) << 9002
        << u"in.dat holds damaged channel records: entry 1 has the channel number 0"_s;
    QTest::newRow("channel 1 twice")
        << Patched(good, 1071 + 60, 1) << 9002 << u"entry 2 repeats the channel number 1"_s;
    QByteArray letters = good;
    QTest::newRow("frequency in letters")
        << letters.replace(1071 + 6, 8, "ABCDEFGH") << 9002
        << u"entry 1 (channel 1) has the frequency \"ABCDEFGH\""_s;
    QTest::newRow("mode before channels")
        << Patched(Patched(good, 7, 5), 1071, 0) << 9045 << u"the country mode is 5"_s;
    // Bytes that are no text are shown escaped, never as they are.
    QTest::newRow("model of raw bytes") << withHead(good, 0, "\xff\x1b[2J\x01") << 9012
                                        << head + u"the model is \"\\xff\\x1b[2J\\x01\""_s;
    QTest::newRow("version of raw bytes")
        << withHead(good, 9, "V1\xff\t") << 9065 << u"the version is \"V1\\xff\\x09\""_s;
    QByteArray raw = good;
    QTest::newRow("frequency of raw bytes")
        << raw.replace(1071 + 6, 8,
                       QByteArray("\xff\xfe\x1b\x00"
                                  "27\x85\x7f",
                                  8))
        << 9002 << u"entry 1 (channel 1) has the frequency \"\\xff\\xfe\\x1b\\x0027\\x85\\x7f\""_s;
}

void TestOpenDataFile::refusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, message);
    QFETCH(QString, says);
    const QString path = bytes.isEmpty() ? dir_.filePath(u"none.dat"_s) : write(bytes);
    const QByteArray before = Snapshot(doc_);
    QSignalSpy replaced(&doc_, &Document::documentReplaced);
    prompter_.expect(message);

    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Refused);
    QCOMPARE(prompter_.asked.size(), 1);
    const QString text = prompter_.asked[0].text;
    QVERIFY2(prompter_.wasMessage(0, message), qPrintable(text));
    QVERIFY2(text.contains(says), qPrintable(text));
    // The message names the file, and holds no byte of it that is no text.
    QVERIFY2(text.contains(QDir::toNativeSeparators(path)), qPrintable(text));
    for (const QChar c : text)
        QVERIFY2(c == u'\r' || c == u'\n' || (c.isPrint() && c != QChar(0xFF)),
                 qPrintable(u"U+%1 in "_s.arg(int(c.unicode()), 4, 16, QLatin1Char('0')) + text));
    QCOMPARE(Snapshot(doc_), before);
    QCOMPARE(replaced.count(), 0);
}

void TestOpenDataFile::otherVersion() {
    // The question comes before the size check: another data version may have another size.
    const QString path = write(withHead(NewDocumentFile(0), 9, "V101").left(100));
    const QByteArray before = Snapshot(doc_);
    prompter_.answers = {A::No};
    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Refused);
    QCOMPARE(prompter_.asked.size(), 1);
    QCOMPARE(prompter_.asked[0].buttons, Prompter::Buttons::YesNo);
    QVERIFY(prompter_.asked[0].text.contains(LoadLangText(9064) + u" V1.01"_s));
    QVERIFY(prompter_.asked[0].text.contains(LoadLangText(9061) + u" V1.00"_s));

    // Yes, but no installed version reads V101: 9063, and the user keeps working here.
    prompter_.answers = {A::Yes};
    prompter_.expect(9063);
    CheckedDataFile file;
    QCOMPARE(ReadCheckedDataFile(doc_, path, file), OpenResult::OtherVersion);
    QVERIFY(!RunOtherVersion(file.otherVersion, prompter_, {path}));
    QVERIFY(prompter_.wasMessage(2, 9063));
    QCOMPARE(Snapshot(doc_), before);
}

void TestOpenDataFile::handOverStartsTheOtherVersion() {
    // A V200 installed beside us reads V101 files; its program notes its argument.
    QTemporaryDir root;
    QVERIFY(QDir(root.path()).mkpath(u"V200"_s));
    const QString exe = root.filePath(
        u"V200/"_s + QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    const QString note = root.filePath(u"started.txt"_s);
    QVERIFY(WriteBytes(exe, "#!/bin/sh\necho \"$1\" > '" + note.toUtf8() + "'\n"));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::ExeOwner);
    const QString oldRoot = App().ProgramRoot;
    App().ProgramRoot = root.path();
    FirmPairs().append({u"V200"_s, u"V101"_s});

    const QString path = write(withHead(NewDocumentFile(0), 9, "V101"));
    const QByteArray before = Snapshot(doc_);
    prompter_.answers = {A::Yes};
    CheckedDataFile file;
    const OpenResult r = ReadCheckedDataFile(doc_, path, file);
    QCOMPARE(r, OpenResult::OtherVersion);
    const QString version = file.otherVersion;
    QCOMPARE(version, u"V101"_s);
    QCOMPARE(Snapshot(doc_), before);
    // Starting that version's program is the caller's part.
    const bool started = RunOtherVersion(version, prompter_, {path});
    App().ProgramRoot = oldRoot;
    QVERIFY(started);
    QTRY_VERIFY(QFileInfo(note).size() > 0);
    QCOMPARE(ReadBytes(note).trimmed(), path.toUtf8());
}

void TestOpenDataFile::opensAndTakesOverTheFilesMode() {
    // "MZ-710" ending in a NUL passes the model check; a version that Version.ini lists as
    // read by this program opens and becomes "V100".
    FirmPairs().append({u"V100"_s, u"V099"_s});
    QByteArray b = withHead(NewDocumentFile(2, 1), 9, "V099");
    b[6] = '\0';
    const QString path = write(b);
    QSignalSpy replaced(&doc_, &Document::documentReplaced);
    QSignalSpy state(&doc_, &Document::stateChanged);

    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Opened);
    QVERIFY(prompter_.asked.isEmpty());
    QCOMPARE(doc_.ModelName, u"MZ-710"_s);
    QCOMPARE(doc_.RadioData.Head.Version.text(), u"V100"_s);
    QCOMPARE(doc_.CountryMode, 2);
    QCOMPARE(doc_.BandText, BandTextOf(2));
    QCOMPARE(doc_.FreHigh, 29.7);
    QCOMPARE(doc_.RadioInfo.InfoMode, 2);
    QCOMPARE(doc_.RadioData.Func.Beep, 1);
    QCOMPARE(doc_.chCount(), 10);
    QCOMPARE(doc_.CurFileName, path);
    QVERIFY(!doc_.IsNewFile);
    QVERIFY(!doc_.IsDataChanged());
    QCOMPARE(replaced.count(), 1);
    QVERIFY(state.count() >= 1);
}

MZ_TEST_GUILESS_MAIN(TestOpenDataFile)
#include "tst_opendatafile.moc"
