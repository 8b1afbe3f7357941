// The initial-data files below the program folder: the template for New, the factory file for
// the initialisation command, and the defaults when neither is usable.

#include "core/files/datafile.h"
#include "files/filetestutil.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestInitFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void paths();
    void templateAndFactory();
    void unusableFilesKeepDefaults_data();
    void unusableFilesKeepDefaults();

private:
    void install(const QString& name, const QByteArray& bytes);
    QTemporaryDir dir_;
    Document doc_;
};

namespace {
// A mode-0 file told apart from the defaults by its Beep option.
QByteArray fileWithBeep(int beep) {
    Document d;
    d.NewDocument();
    d.RadioData.Func.Beep = static_cast<i16>(beep);
    d.ToFileCopy();
    return EncodeDataFile(d.FileRadioData, d.FileCHInfo);
}
} // namespace

void TestInitFiles::init() {
    QVERIFY(dir_.isValid());
    QDir(dir_.filePath(QStringLiteral("Init"))).removeRecursively();
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("Init")));
    doc_.InitDir = dir_.path();
    doc_.InitRequested = 0;
    doc_.SetCountryMode(0);
}

void TestInitFiles::install(const QString& name, const QByteArray& bytes) {
    QVERIFY(WriteBytes(dir_.filePath(QStringLiteral("Init/") + name), bytes));
}

void TestInitFiles::paths() {
    doc_.SetCountryMode(2);
    QCOMPARE(InitFilePath(doc_, true), dir_.path() + QStringLiteral("/Init/MZ-710_2_NEW.dat"));
    QCOMPARE(InitFilePath(doc_, false), dir_.path() + QStringLiteral("/Init/MZ-710_2.dat"));
}

void TestInitFiles::templateAndFactory() {
    install(QStringLiteral("MZ-710_0_NEW.dat"), fileWithBeep(1));
    install(QStringLiteral("MZ-710_0.dat"), fileWithBeep(2));

    doc_.NewDocument();
    QCOMPARE(doc_.RadioData.Func.Beep, 1);
    QVERIFY(!doc_.IsDataChanged());
    QCOMPARE(doc_.CurFileName, QStringLiteral("new.dat"));
    QCOMPARE(doc_.IsNewFile, -1);

    doc_.InitRequested = -1;
    doc_.NewDocument();
    QCOMPARE(doc_.RadioData.Func.Beep, 2);
    QVERIFY(!doc_.IsDataChanged());
}

void TestInitFiles::unusableFilesKeepDefaults_data() {
    QTest::addColumn<QByteArray>("bytes");
    QByteArray badCount = fileWithBeep(1);
    PutLe16(badCount, 13, 410);
    QByteArray badMode = fileWithBeep(1);
    PutLe16(badMode, 7, 7);
    QTest::newRow("missing") << QByteArray();
    QTest::newRow("short") << fileWithBeep(1).left(5000);
    QTest::newRow("CHCount 410") << badCount;
    QTest::newRow("country mode 7") << badMode;
}

void TestInitFiles::unusableFilesKeepDefaults() {
    QFETCH(QByteArray, bytes);
    if (!bytes.isEmpty()) install(QStringLiteral("MZ-710_0_NEW.dat"), bytes);
    doc_.NewDocument();
    QCOMPARE(doc_.RadioData.Func.Beep, 0);
    QCOMPARE(doc_.CountryMode, 0);
    QCOMPARE(doc_.chCount(), 10);
    QVERIFY(!doc_.IsDataChanged());
}

QTEST_GUILESS_MAIN(TestInitFiles)
#include "tst_initfiles.moc"
