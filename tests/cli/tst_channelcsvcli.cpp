// mzcli export, import, set and diff, run as a user would: exit codes, reports, refusals,
// and files that are never written on failure.

#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int code = -1;
    QString out, err;
};
} // namespace

class TestChannelCsvCli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void roundTripAndDiff_data();
    void roundTripAndDiff();
    void setChangesAndRefuses();
    void importReportsAndRefuses();
    void diffOfOtherParts();

private:
    // Arguments are split at spaces; "@" stands for the work folder.
    Run run(const QString& args) const;
    QString work(const QString& name) const { return dir_.filePath(u"work/"_s + name); }
    QByteArray bytes(const QString& name) const {
        QFile f(work(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QTemporaryDir dir_;
};

void TestChannelCsvCli::initTestCase() {
    QVERIFY(QDir(dir_.path()).mkpath(u"V100/language"_s));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/mzcli"), dir_.filePath(u"V100/mzcli"_s)));
    QVERIFY(
        QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"), dir_.filePath(u"Version.ini"_s)));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/english.ini"),
                        dir_.filePath(u"V100/language/english.ini"_s)));
}

void TestChannelCsvCli::init() {
    QDir(dir_.filePath(u"work"_s)).removeRecursively();
    QVERIFY(QDir(dir_.path()).mkpath(u"work"_s));
}

Run TestChannelCsvCli::run(const QString& args) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"LC_ALL"_s, u"C"_s);
    p.setProcessEnvironment(env);
    QString a = args;
    p.start(dir_.filePath(u"V100/mzcli"_s),
            a.replace(u"@"_s, dir_.filePath(u"work"_s)).split(u' ', Qt::SkipEmptyParts));
    Run r;
    if (p.waitForFinished(30000) && p.exitStatus() == QProcess::NormalExit) {
        r.code = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        r.err = QString::fromUtf8(p.readAllStandardError());
    }
    return r;
}

void TestChannelCsvCli::roundTripAndDiff_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("edits");
    // In the CB mode only the MEM group and the switches can be typed.
    QTest::newRow("CB") << 0 << u"402 RxFre=27.0 Public=0 AM_FM=1 TSQ=1 RDCT=12 TDCT=50"_s;
    QTest::newRow("HF") << 1 << u"5 RxFre=25.7 Public=0 DUP=1 OffSetFre=600 TDCT=12 Tx_Power=2"_s;
    QTest::newRow("HAM") << 2 << u"77 RxFre=29.6 Public=0 DUP=2 OffSetFre=100 RDCT=39 TDCT=39"_s;
}

void TestChannelCsvCli::roundTripAndDiff() {
    QFETCH(int, mode);
    QFETCH(QString, edits);
    QCOMPARE(run(u"new --mode %1 -o @/a.dat"_s.arg(mode)).code, 0);
    QCOMPARE(run(u"new --mode %1 -o @/b.dat"_s.arg(mode)).code, 0);
    Run r = run(u"set @/a.dat "_s + edits);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    r = run(u"export @/a.dat -o @/a.csv"_s);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY(bytes(u"a.csv"_s).startsWith("Location,Name,Frequency,Duplex,Offset,Tone,"));
    r = run(u"import @/b.dat @/a.csv -o @/c.dat"_s);
    QVERIFY2(r.code == 0, qPrintable(r.out + r.err));
    QVERIFY2(r.out.contains(u"0 skipped"_s), qPrintable(r.out));
    r = run(u"diff @/a.dat @/c.dat"_s);
    QVERIFY2(r.code == 0 && r.out.isEmpty(), qPrintable(r.out));
    r = run(u"diff @/a.dat @/b.dat"_s);
    QCOMPARE(r.code, 1);
    const QString ch = edits.section(u' ', 0, 0);
    QVERIFY2(r.out.contains(u"Channel %1 "_s.arg(ch)), qPrintable(r.out));
    // Without -o the CSV goes to standard output.
    QCOMPARE(run(u"export @/a.dat"_s).out.toUtf8(), bytes(u"a.csv"_s));
}

void TestChannelCsvCli::setChangesAndRefuses() {
    QCOMPARE(run(u"new --mode 1 -o @/a.dat"_s).code, 0);
    const QByteArray before = bytes(u"a.dat"_s);
    // Each refusal exits 2 and writes nothing, even after earlier fields were accepted.
    const char* refused[] = {
        "set @/a.dat 1 Public=0 DUP=3",          // not in the list
        "set @/a.dat 1 DUP=1",                   // the channel uses the public channel
        "set @/a.dat 7 DUP=1",                   // not programmed
        "set @/a.dat 401 RxFre=",                // the VFO channel stays
        "set @/a.dat 401 Scan=1",                // the VFO has no scan setting
        "set @/a.dat 1 RBTone=7",                // tone tip 7 not defined
        "set @/a.dat 1 Public=0 DTMF_BOT=1",     // no DTMF code defined
        "set @/a.dat 1 Volume=3",                // no such channel field
        "set @/a.dat 1 TDCT",                    // no value
        "set @/a.dat 410 TDCT=1",                // no such channel
        "set @/a.dat 1 RxFre=fast",              // not a number
        "set @/a.dat 1",                         // nothing to set
        "set @/a.dat 1 RxFre=278.7",             // out of the band: refused, not moved to its edge
        "set @/a.dat 1 RxFre=30.2",              //
        "set @/a.dat 1 RxFre=1e308",             //
        "set @/a.dat 1 RxFre=-27.87",            //
        "set @/a.dat 1 Public=0 OffSetFre=1234", // out of range, not moved
    };
    for (const char* args : refused) {
        const Run r = run(QString::fromLatin1(args));
        QVERIFY2(r.code == 2, args);
        QVERIFY2(r.err.startsWith(u"mzcli: "_s) && r.err.count(u'\n') == 1, qPrintable(r.err));
        QCOMPARE(bytes(u"a.dat"_s), before);
    }
    // Out of the band or out of range is said so, and nothing is written.
    Run r = run(u"set @/a.dat 1 RxFre=2.787 -o @/b.dat"_s);
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(u"2.787 MHz is outside the band 25.615 - 30.105 MHz"_s),
             qPrintable(r.err));
    QVERIFY(!QFile::exists(work(u"b.dat"_s)));
    for (const char* args :
         {"set @/a.dat 1 Public=0 OffSetFre=-1", "set @/a.dat 1 NB=4294967297"}) {
        r = run(QString::fromLatin1(args));
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(u"is out of range"_s), qPrintable(r.err));
    }
    // Accepted and adjusted values are printed; -o leaves the input as it was.
    r = run(u"set @/a.dat 5 RxFre=28.00625 Public=0 OffSetFre=997 AM_FM=1 -o @/b.dat"_s);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QCOMPARE(bytes(u"a.dat"_s), before);
    QVERIFY2(r.out.contains(u"channel 5 (A 5) RxFre: - -> 28.00500 (lowered to the 5 kHz"_s),
             qPrintable(r.out));
    QVERIFY2(r.out.contains(u"OffSetFre: 100 -> 995 (kept within"_s), qPrintable(r.out));
    r = run(u"show @/b.dat --format json"_s);
    QVERIFY(r.out.contains(u"{\"CHNo\":5,\"Spare\":0,\"Scan\":1,\"RxFre\":\"02800500\","
                           "\"OffSetFre\":995,"_s));
    // Without -o the file itself changes.
    QCOMPARE(run(u"set @/a.dat 1 TSQ=1"_s).code, 0);
    QVERIFY(bytes(u"a.dat"_s) != before);
}

void TestChannelCsvCli::importReportsAndRefuses() {
    QCOMPARE(run(u"new --mode 2 -o @/a.dat"_s).code, 0);
    QVERIFY(WriteBytes(work(u"some.csv"_s), "Location,Frequency,Tone,rToneFreq\n"
                                            "3,28.5,Tone,88.5\n"
                                            "4,146.52,,\n"));
    Run r = run(u"import @/a.dat @/some.csv -o @/b.dat"_s);
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(work(u"b.dat"_s)));
    QVERIFY2(r.out.contains(u"Line 2, A 3: imported"_s), qPrintable(r.out));
    QVERIFY2(r.out.contains(u"Line 3, A 4: skipped: 146.52 MHz is outside the band"_s),
             qPrintable(r.out));
    r = run(u"import @/a.dat @/some.csv -o @/b.dat --partial"_s);
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(u"1 rows imported, 0 adjusted, 1 skipped."_s));
    QVERIFY(run(u"show @/b.dat"_s).out.contains(u"28.50000"_s));

    // An empty row is told but asks for nothing, so it does not stop the import; a name the
    // radio cannot keep is told as dropped.
    QVERIFY(WriteBytes(work(u"named.csv"_s), "Location,Name,Frequency\n3,Home,28.5\n,,\n"));
    r = run(u"import @/a.dat @/named.csv -o @/e.dat"_s);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(u"Line 2, A 3: adjusted: Name: \"Home\" (dropped: the radio keeps "
                            "no channel names)\nLine 3: empty row, skipped\n"
                            "0 rows imported, 1 adjusted, 1 skipped."_s),
             qPrintable(r.out));

    // Into a group from a row on.
    r = run(u"import @/a.dat @/some.csv -o @/c.dat --group b --start 40 --partial"_s);
    QVERIFY2(r.code == 0, qPrintable(r.err));
    QVERIFY2(r.out.contains(u"Line 2, B 40: imported"_s), qPrintable(r.out));
    QVERIFY2(r.out.contains(u"Line 3, B 41: skipped: group B has no row 41"_s), qPrintable(r.out));
    QCOMPARE(run(u"import @/a.dat @/some.csv -o @/c.dat --group K"_s).code, 2);
    QCOMPARE(run(u"import @/a.dat @/some.csv -o @/c.dat --start 3"_s).code, 2);

    // Files that are no channel CSV are refused with one sentence.
    const QList<QPair<QByteArray, QString>> bad = {
        {QByteArray(), u"the file is empty"_s},
        {QByteArray("\0\1\2\3", 4),
         u"bad.csv, line 1: it holds bytes that are no text: \\x00\\x01\\x02\\x03."_s},
        {QByteArray("Name,Freq\nx,1\n"), u"no Location and Frequency columns"_s},
        {QByteArray("Location,Frequency\n1,\"28\n"), u"line 2 is never closed"_s},
    };
    for (const auto& [content, sentence] : bad) {
        QVERIFY(WriteBytes(work(u"bad.csv"_s), content));
        r = run(u"import @/a.dat @/bad.csv -o @/d.dat --partial"_s);
        QCOMPARE(r.code, 2);
        QVERIFY2(r.err.contains(sentence) && r.err.count(u'\n') == 1, qPrintable(r.err));
        QVERIFY(!QFile::exists(work(u"d.dat"_s)));
    }
    QCOMPARE(run(u"import @/a.dat @/missing.csv -o @/d.dat"_s).code, 2);
}

void TestChannelCsvCli::diffOfOtherParts() {
    QCOMPARE(run(u"new --mode 1 -o @/a.dat"_s).code, 0);
    QCOMPARE(run(u"new --mode 2 -o @/b.dat"_s).code, 0);
    Run r = run(u"diff @/a.dat @/a.dat"_s);
    QCOMPARE(r.code, 0);
    r = run(u"diff @/a.dat @/b.dat"_s);
    QCOMPARE(r.code, 1);
    QVERIFY(r.out.startsWith(u"Head.CountryMode: 1 -> 2\n"_s));
    // Options, keys, DTMF and tone tips are compared too.
    QByteArray data = bytes(u"a.dat"_s);
    data[1071 - 100] = char(data[1071 - 100] + 1); // tone tip 7, step 6
    QVERIFY(WriteBytes(work(u"c.dat"_s), data));
    r = run(u"diff @/a.dat @/c.dat"_s);
    QCOMPARE(r.code, 1);
    QVERIFY2(r.out == u"ToneTips.Tip[7].Step[6].Tone: 0 -> 1\n"_s, qPrintable(r.out));
    QCOMPARE(run(u"diff @/a.dat @/missing.dat"_s).code, 2);
    QCOMPARE(run(u"diff @/a.dat"_s).code, 2);
}

MZ_TEST_GUILESS_MAIN(TestChannelCsvCli)
#include "tst_channelcsvcli.moc"
