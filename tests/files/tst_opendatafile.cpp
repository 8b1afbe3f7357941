// Opening a data file: the checks in their order, each refusal with its message and the
// document left exactly as it was, the hand-over to another program version, and the state
// after a successful open.

#include "core/app/appstate.h"
#include "core/files/opendatafile.h"
#include "core/model/country.h"
#include "files/filetestutil.h"

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
    void refusalOfMissingAndFolder();
    void otherVersionAnsweredNo();
    void handOverWithNothingToStart();
    void handOverStartsTheOtherVersion();
    void opensAndTakesOverTheFilesMode();
    void opensModelEndingInNulAndListedVersion();

private:
    QString write(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
    Document doc_;
    ScriptedPrompter prompter_;
};

namespace {
// A changed document in mode 0 with a file name: what a refused open must keep.
void makeWorkingDocument(Document& d) {
    d.SetCountryMode(0);
    d.NewDocument();
    d.AddChannel(5, QStringLiteral("27.005"));
    d.CurFileName = QStringLiteral("/data/mine.dat");
    d.IsNewFile = 0;
}

QByteArray withHead(QByteArray b, const char* model, const char* version) {
    if (model) b.replace(0, 7, QByteArray(model, 7));
    if (version) b.replace(9, 4, QByteArray(version, 4));
    return b;
}
} // namespace

void TestOpenDataFile::initTestCase() {
    QVERIFY(dir_.isValid());
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().LangFile = QStringLiteral("english.ini");
    doc_.setPrompter(&prompter_);
}

void TestOpenDataFile::init() {
    App().FirmPairs = {{QStringLiteral("V100"), QStringLiteral("V100")}};
    prompter_.asked.clear();
    prompter_.answers.clear();
    makeWorkingDocument(doc_);
}

QString TestOpenDataFile::write(const QString& name, const QByteArray& bytes) {
    const QString path = dir_.filePath(name);
    if (!WriteBytes(path, bytes)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

void TestOpenDataFile::refusals_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("message"); // 0: "Country Mode Error!"

    const QByteArray good = NewDocumentFile(2);
    auto patched = [&](int offset, int value) {
        QByteArray b = good;
        PutLe16(b, offset, value);
        return b;
    };
    QTest::newRow("header cut short") << good.left(12) << 9002;
    QTest::newRow("only the header") << good.left(13) << 9002;
    QTest::newRow("one byte short") << good.left(DataFileSize - 1) << 9002;
    QTest::newRow("CHCount 410") << patched(13, 410) << 9002;
    QTest::newRow("CHCount -1") << patched(13, -1) << 9002;
    QTest::newRow("model in lower case") << withHead(good, "mz-710 ", nullptr) << 9012;
    QTest::newRow("other model") << withHead(good, "MZ-711 ", nullptr) << 9012;
    QTest::newRow("version V10 and a space") << withHead(good, nullptr, "V10 ") << 9065;
    QTest::newRow("version VABC") << withHead(good, nullptr, "VABC") << 9065;
    QTest::newRow("country mode 3") << patched(7, 3) << 0;
    QTest::newRow("country mode -1") << patched(7, -1) << 0;
    // The order of the checks: the first failing one is the only message.
    QTest::newRow("model before version") << withHead(good, "mz-710 ", "V10 ") << 9012;
    QTest::newRow("model before size") << withHead(good, "MZ-711 ", nullptr).left(20) << 9012;
    QTest::newRow("version before size") << withHead(good, nullptr, "V1x0").left(20) << 9065;
    {
        QByteArray b = patched(7, 5);
        PutLe16(b, 13, 500);
        QTest::newRow("channel count before mode") << b << 9002;
    }
}

void TestOpenDataFile::refusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, message);
    const QString path = write(QStringLiteral("refused.dat"), bytes);
    const DocSnapshot before(doc_);
    QSignalSpy replaced(&doc_, &Document::documentReplaced);

    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Refused);

    QCOMPARE(prompter_.asked.size(), 1);
    if (message)
        QVERIFY2(prompter_.wasMessage(0, message), qPrintable(prompter_.asked[0].text));
    else
        QCOMPARE(prompter_.asked[0].text, QStringLiteral("Country Mode Error!"));
    QCOMPARE(prompter_.asked[0].buttons, Prompter::Buttons::Ok);
    QVERIFY(DocSnapshot(doc_) == before);
    QCOMPARE(replaced.count(), 0);
}

void TestOpenDataFile::refusalOfMissingAndFolder() {
    const DocSnapshot before(doc_);
    QCOMPARE(OpenDataFile(doc_, dir_.filePath(QStringLiteral("missing.dat"))), OpenResult::Refused);
    QVERIFY(QDir(dir_.path()).mkdir(QStringLiteral("folder.dat")));
    QCOMPARE(OpenDataFile(doc_, dir_.filePath(QStringLiteral("folder.dat"))), OpenResult::Refused);
    QCOMPARE(prompter_.asked.size(), 2);
    QVERIFY(prompter_.wasMessage(0, 9002));
    QVERIFY(prompter_.wasMessage(1, 9002));
    QVERIFY(DocSnapshot(doc_) == before);
}

void TestOpenDataFile::otherVersionAnsweredNo() {
    // The question comes before the size check: a file of another data version need not
    // have this version's size.
    const QString path =
        write(QStringLiteral("v101.dat"), withHead(NewDocumentFile(0), nullptr, "V101").left(100));
    const DocSnapshot before(doc_);
    prompter_.answers = {A::No};
    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Refused);
    QCOMPARE(prompter_.asked.size(), 1);
    QCOMPARE(prompter_.asked[0].buttons, Prompter::Buttons::YesNo);
    QVERIFY(prompter_.asked[0].text.startsWith(LoadLangText(9062)));
    QVERIFY(prompter_.asked[0].text.contains(LoadLangText(9064) + QStringLiteral(" V1.01")));
    QVERIFY(prompter_.asked[0].text.contains(LoadLangText(9061) + QStringLiteral(" V1.00")));
    QVERIFY(DocSnapshot(doc_) == before);
}

void TestOpenDataFile::handOverWithNothingToStart() {
    // Nothing could be started: the user keeps working here, with the document as it was.
    const QString path =
        write(QStringLiteral("v101.dat"), withHead(NewDocumentFile(0), nullptr, "V101"));
    const DocSnapshot before(doc_);
    prompter_.answers = {A::Yes};
    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Refused);
    QCOMPARE(prompter_.asked.size(), 2);
    QVERIFY(prompter_.wasMessage(1, 9063));
    QVERIFY(DocSnapshot(doc_) == before);
}

void TestOpenDataFile::handOverStartsTheOtherVersion() {
    // An installation with a V200 beside us that reads V101 files; its program notes the
    // arguments it was started with.
    QTemporaryDir root;
    QVERIFY(root.isValid());
    QVERIFY(QDir(root.path()).mkpath(QStringLiteral("V200")));
    const QString exe =
        root.filePath(QStringLiteral("V200/") +
                      QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
    const QString note = root.filePath(QStringLiteral("started.txt"));
    QVERIFY(WriteBytes(exe, "#!/bin/sh\necho \"$1\" > '" + note.toUtf8() + "'\n"));
    QFile::setPermissions(exe, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString oldRoot = App().ProgramRoot;
    App().ProgramRoot = root.path();
    App().FirmPairs.append({QStringLiteral("V200"), QStringLiteral("V101")});

    const QString path =
        write(QStringLiteral("v101.dat"), withHead(NewDocumentFile(0), nullptr, "V101"));
    const DocSnapshot before(doc_);
    prompter_.answers = {A::Yes};
    const OpenResult r = OpenDataFile(doc_, path);
    App().ProgramRoot = oldRoot;

    QCOMPARE(r, OpenResult::HandedOver);
    QCOMPARE(prompter_.asked.size(), 1);
    QVERIFY(DocSnapshot(doc_) == before);
    QTRY_VERIFY(QFileInfo(note).size() > 0);
    QCOMPARE(ReadBytes(note).trimmed(), path.toUtf8());
}

void TestOpenDataFile::opensAndTakesOverTheFilesMode() {
    Document source;
    source.SetCountryMode(2);
    source.NewDocument();
    source.AddChannel(7, QStringLiteral("28.5"));
    source.ToFileCopy();
    const QString path =
        write(QStringLiteral("ham.dat"), EncodeDataFile(source.FileRadioData, source.FileCHInfo));

    QSignalSpy replaced(&doc_, &Document::documentReplaced);
    QSignalSpy state(&doc_, &Document::stateChanged);
    QVERIFY(doc_.IsDataChanged());
    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Opened);

    QVERIFY(prompter_.asked.isEmpty());
    QCOMPARE(doc_.CountryMode, 2);
    QCOMPARE(doc_.BandText, BandTextOf(2));
    QCOMPARE(doc_.FreLow, 28.0);
    QCOMPARE(doc_.FreHigh, 29.7);
    QCOMPARE(doc_.RadioInfo.InfoMode, 2);
    QCOMPARE(doc_.chCount(), 11);
    QCOMPARE(doc_.CHInfo[10].CHNo, 7);
    QCOMPARE(doc_.CurFileName, path);
    QCOMPARE(doc_.IsNewFile, 0);
    QVERIFY(!doc_.IsDataChanged());
    QCOMPARE(replaced.count(), 1);
    QVERIFY(state.count() >= 1);
}

void TestOpenDataFile::opensModelEndingInNulAndListedVersion() {
    // "MZ-710" followed by a NUL passes the model check; a version that Version.ini lists as
    // read by this program opens and becomes "V100".
    App().FirmPairs.append({QStringLiteral("V100"), QStringLiteral("V099")});
    QByteArray b = withHead(NewDocumentFile(1), nullptr, "V099");
    b[6] = '\0';
    const QString path = write(QStringLiteral("nul.dat"), b);
    QCOMPARE(OpenDataFile(doc_, path), OpenResult::Opened);
    QVERIFY(prompter_.asked.isEmpty());
    QCOMPARE(doc_.ModelName, QStringLiteral("MZ-710"));
    QCOMPARE(doc_.RadioData.Head.Version.text(), QStringLiteral("V100"));
    QCOMPARE(doc_.CountryMode, 1);
    QVERIFY(!doc_.IsDataChanged());
}

QTEST_GUILESS_MAIN(TestOpenDataFile)
#include "tst_opendatafile.moc"
