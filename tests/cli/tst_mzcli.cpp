// mzcli new, show and template, run as a user would: the program copied into an installation
// of its own (so its Init folder is ours), its exit codes, its one-sentence errors, and files
// that are never written on failure.

#include "core/files/savedatafile.h"
#include "files/filetestutil.h"
#include "support/testmain.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {
struct Run {
    int code = -1;
    QString out, err;
};
} // namespace

class TestMzcli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void newGivesTheDefaults_data();
    void newGivesTheDefaults();
    void newRefusals_data();
    void newRefusals();
    void showJson();
    void showCsvAndText();
    void showRefusals_data();
    void showRefusals();
    void templatesForNewDocuments();
    void planBuildsTheShippedFiles();
    void planRefusals_data();
    void planRefusals();

private:
    // Arguments are split at spaces; "@" stands for the work folder.
    Run run(const QString& args) const;
    QString work(const QString& name) const { return dir_.filePath(u"work/"_s + name); }
    QString init(const QString& name) const { return dir_.filePath(u"V100/Init/"_s + name); }
    static QString text(int id) {
        return LoadLangTextFrom(QStringLiteral(MZ_PROGDIR "/language/english.ini"), id);
    }
    QTemporaryDir dir_;
};

void TestMzcli::initTestCase() {
    QVERIFY(QDir(dir_.path()).mkpath(u"V100/language"_s));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/mzcli"), dir_.filePath(u"V100/mzcli"_s)));
    QVERIFY(
        QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"), dir_.filePath(u"Version.ini"_s)));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/english.ini"),
                        dir_.filePath(u"V100/language/english.ini"_s)));
}

void TestMzcli::init() {
    QDir(dir_.filePath(u"V100/Init"_s)).removeRecursively();
    QDir(dir_.filePath(u"work"_s)).removeRecursively();
    QVERIFY(QDir(dir_.path()).mkpath(u"work"_s));
    QVERIFY(WriteBytes(work(u"blocker"_s), "file"));
}

Run TestMzcli::run(const QString& args) const {
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

void TestMzcli::newGivesTheDefaults_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("middle"); // channels 1 and 401: the middle of the band
    QTest::newRow("default") << u"new -o @/x.dat"_s << 0 << QByteArray("02718500");
    QTest::newRow("HF") << u"new --mode 1 -o @/x.dat"_s << 1 << QByteArray("02786000");
    QTest::newRow("HAM") << u"new --mode=2 -o @/x.dat"_s << 2 << QByteArray("02885000");
}

void TestMzcli::newGivesTheDefaults() {
    QFETCH(QString, args);
    QFETCH(int, mode);
    QFETCH(QByteArray, middle);
    const Run r = run(args);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    const QByteArray b = ReadBytes(work(u"x.dat"_s));
    QCOMPARE(b, NewDocumentFile(mode));
    // A few defaults by hand.
    QCOMPARE(b.left(13), QByteArray("MZ-710 ") + char(mode) + '\0' + "V100");
    QCOMPARE(Le16(b, 13), 10);
    QCOMPARE(Le16(b, 105), 4);   // TOT
    QCOMPARE(Le16(b, 135), 160); // MaxSwr
    QCOMPARE(Le16(b, 233), 3);   // KeySet
    QCOMPARE(Le16(b, 271), 10);  // DtmfSet(1)
    QCOMPARE(Le16(b, 591), 210); // tip 1, step 1
    QCOMPARE(b.mid(1071 + 6, 8), middle);
    QCOMPARE(Le16(b, 1071 + 60), 401);
    QCOMPARE(b.mid(1071 + 120 + 6, 8), QByteArray("02801500"));
    QCOMPARE(b.mid(1071 + 600), QByteArray(DataFileSize - 1671, '\0'));
}

void TestMzcli::newRefusals_data() {
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("says");
    QTest::newRow("mode 3") << u"new --mode 3 -o @/x.dat"_s << u"0, 1 or 2"_s;
    QTest::newRow("mode x") << u"new --mode x -o @/x.dat"_s << u"0, 1 or 2"_s;
    QTest::newRow("no output") << u"new --mode 1"_s << u"-o FILE.dat"_s;
    QTest::newRow("file argument") << u"new @/x.dat"_s << u"-o FILE.dat"_s;
    QTest::newRow("unknown option") << u"new --colour -o @/x.dat"_s << u"colour"_s;
    QTest::newRow("folder is a file") << u"new -o @/blocker/x.dat"_s << text(9002);
}

void TestMzcli::newRefusals() {
    QFETCH(QString, args);
    QFETCH(QString, says);
    const Run r = run(args);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QCOMPARE(QDir(work(QString())).entryList(QDir::Files), QStringList{u"blocker"_s});
}

void TestMzcli::showJson() {
    // All 409 channels in an order of their own, with texts that need trimming.
    Document doc;
    FillDistinct(doc);
    for (int i = 0; i < MaxChannels; ++i) {
        doc.CHInfo[i].CHNo = static_cast<i16>(MaxChannels - i);
        doc.CHInfo[i].RxFre = u"027%1"_s.arg(i * 10, 5, 10, QLatin1Char('0'));
        doc.CHInfo[i].OffSetFre = static_cast<i16>(5 * (i % 201)); // an offset of the list
    }
    doc.CurFileName = work(u"full.dat"_s);
    QVERIFY(SaveDataFile(doc));

    const Run r = run(u"show @/full.dat --format json"_s);
    QCOMPARE(r.code, 0);
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);
    // The members in the order of the radio image, with their own names.
    QVERIFY(r.out.contains(QRegularExpression(
        u"\"Head\":.*\"CHCount\":.*\"Func\":.*\"PublicCH\":.*\"Key\":.*\"DTMF\":.*"
        "\"ToneTips\":.*\"CHInfo\":"_s,
        QRegularExpression::DotMatchesEverythingOption)));
    QCOMPARE(o.size(), 8);
    QCOMPARE(o[u"Head"_s].toObject()[u"Model"_s].toString(), u"MZ-710"_s);
    QCOMPARE(o[u"Func"_s].toObject().size(), 28);
    QCOMPARE(o[u"Func"_s].toObject()[u"Spare"_s].toArray()[7].toInt(), doc.RadioData.Func.Spare[7]);
    QCOMPARE(o[u"DTMF"_s].toObject()[u"Codes"_s].toArray().size(), 16);
    const QJsonArray tips = o[u"ToneTips"_s].toObject()[u"Tip"_s].toArray();
    QCOMPARE(tips[7].toObject()[u"Step"_s].toArray()[13].toObject()[u"Time"_s].toInt(),
             doc.RadioData.ToneTips.Tip[7].Step[13].Time);
    QCOMPARE(o[u"PublicCH"_s].toObject().size(), 21);

    const QJsonArray chs = o[u"CHInfo"_s].toArray();
    QCOMPARE(chs.size(), MaxChannels);
    QVERIFY(r.out.contains(QRegularExpression(
        u"\\{\"CHNo\":409,\"Spare\":\\d+,\"Scan\":\\d+,\"RxFre\":\"02700000\",\"OffSetFre\":\\d+,"
        "\"RDCT\":\\d+,\"TDCT\":\\d+,\"DUP\":\\d+,\"HI_CUT\":\\d+,\"BUSY\":\\d+,\"NB\":\\d+,"
        "\"Add_Sub_5K\":\\d+,\"AM_FM\":\\d+,\"Tx_Power\":\\d+,\"Public\":\\d+,\"RBTone\":\\d+,"
        "\"DTMF_BOT\":\\d+,\"DTMF_EOT\":\\d+,\"DTMF_Call\":\\d+,\"TSQ\":\\d+,\"Reserved\":\\[[\\d,]+\\]\\}"_s)));
    for (int i = 0; i < MaxChannels; ++i) {
        QCOMPARE(chs[i].toObject()[u"CHNo"_s].toInt(), MaxChannels - i);
        QCOMPARE(chs[i].toObject()[u"RxFre"_s].toString(),
                 u"027%1"_s.arg(i * 10, 5, 10, QLatin1Char('0')));
    }
}

void TestMzcli::showCsvAndText() {
    QCOMPARE(run(u"new -o @/cb.dat"_s).code, 0);
    Run r = run(u"show @/cb.dat --format csv"_s);
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11);
    QVERIFY(lines[0].startsWith(
        u"CH,Group,Pos,Frequency,Duplex,Offset,RxTone,TxTone,Mode,Power,Scan,Public"_s));
    QVERIFY(lines[1].startsWith(u"1,EU,1,27.18500,Off,100,Off,Off,FM,0,Add,On"_s));
    // 401 is in no group of mode 0; the MEM channels above 27.405 MHz list with "125".
    QVERIFY(lines[2].startsWith(u"401,-,-,"_s));
    QVERIFY(lines[3].startsWith(u"402,MEM,1,28.01125,"_s));

    r = run(u"show @/cb.dat"_s);
    QCOMPARE(r.code, 0);
    for (const QString& s : {u"MZ-710"_s, u"0 (CB)"_s, u"26.965 - 27.405 MHz"_s, u"V100"_s})
        QVERIFY(r.out.contains(s));
    QVERIFY(r.out.contains(QRegularExpression(u"\n1 +EU +1 +27.18500 +Off +100 +Off +Off +FM "_s)));
    // A MEM channel that is no plan channel (a document without the plans' template) is kept
    // as it is and marked, with the reason below the table; the CSV keeps the plain value.
    QVERIFY(r.out.contains(QRegularExpression(u"\n402 +MEM +1 +\\*28.01125 "_s)));
    QVERIFY(r.out.contains(u"\n* 402 (MEM 1): "_s));
    QVERIFY(r.out.contains(QRegularExpression(u"\n +MaxSwr +160\n"_s)));
}

void TestMzcli::showRefusals_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("says");
    const QByteArray good = NewDocumentFile(0);
    QByteArray lower = good, version = good, other = good;
    const QString show = u"show @/in.dat"_s;
    QTest::newRow("missing") << QByteArray() << show << text(9002);
    QTest::newRow("short") << good.left(25610) << show << text(9002);
    QTest::newRow("CHCount 410") << Patched(good, 13, 410) << show << text(9002);
    QTest::newRow("model") << lower.replace(0, 2, "mz") << show << text(9012);
    QTest::newRow("version text") << version.replace(9, 4, "V10 ") << show << text(9065);
    // Told without its question: nobody is there to answer it.
    QTest::newRow("other version")
        << other.replace(9, 4, "V101") << show << text(9062).section(u'.', 0, 0) + u"."_s;
    // The same wording as the program's message, on one line: the file, the record, the fault,
    // and the file's bytes escaped.
    QTest::newRow("country mode 3") << Patched(good, 7, 3) << show
                                    << u"Country Mode Error! "_s + work(u"in.dat"_s) +
                                           u", file head: the country mode is 3, and the modes "
                                           "are 0, 1 and 2."_s;
    QByteArray raw = good;
    QTest::newRow("model of raw bytes")
        << raw.replace(0, 4, "\xff\x1b[\x01") << show
        << u"in.dat, file head: the model is \"\\xff\\x1b[\\x0110\", and this program reads "
           "MZ-710 data."_s;
    QTest::newRow("file ends early")
        << good.left(500) << show
        << u"in.dat, DTMF record: the file ends after 500 of 25611 bytes."_s;
    QTest::newRow("format") << good << show + u" --format xml"_s << u"text, json or csv"_s;
    QTest::newRow("no file") << good << u"show"_s << u"FILE.dat"_s;
}

void TestMzcli::showRefusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, args);
    QFETCH(QString, says);
    if (!bytes.isEmpty()) QVERIFY(WriteBytes(work(u"in.dat"_s), bytes));
    const Run r = run(args);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
}

void TestMzcli::templatesForNewDocuments() {
    QVERIFY(WriteBytes(work(u"dealer.dat"_s), NewDocumentFile(2, 1)));
    Run r = run(u"template @/dealer.dat"_s);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), init(u"MZ-710_2_NEW.dat"_s));
    QCOMPARE(run(u"template @/dealer.dat --factory"_s).code, 0);
    QVERIFY(QFile::exists(init(u"MZ-710_2.dat"_s)));

    // New documents of that mode start from it; other modes keep the defaults.
    QCOMPARE(run(u"new --mode 2 -o @/x.dat"_s).code, 0);
    QCOMPARE(ReadBytes(work(u"x.dat"_s)), NewDocumentFile(2, 1));
    QCOMPARE(run(u"new --mode 1 -o @/x.dat"_s).code, 0);
    QCOMPARE(ReadBytes(work(u"x.dat"_s)), NewDocumentFile(1));

    // A template copied under another mode's name would give the wrong document.
    QVERIFY(QFile::copy(work(u"dealer.dat"_s), init(u"MZ-710_0_NEW.dat"_s)));
    r = run(u"new -o @/wrong.dat"_s);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY(!QFile::exists(work(u"wrong.dat"_s)));

    // A file the program would refuse is not installed.
    QVERIFY(WriteBytes(work(u"bad.dat"_s), Patched(NewDocumentFile(1), 13, 411)));
    QCOMPARE(run(u"template @/bad.dat"_s).code, 2);
    QVERIFY(!QFile::exists(init(u"MZ-710_1_NEW.dat"_s)));

    // Without a language file the messages fall back to English sentences.
    QVERIFY(QDir(dir_.path()).rename(u"V100/language"_s, u"V100/away"_s));
    r = run(u"show @/none.dat"_s);
    QVERIFY(QDir(dir_.path()).rename(u"V100/away"_s, u"V100/language"_s));
    QCOMPARE(r.code, 2);
    QVERIFY(r.err.contains(u"The file could not be opened or saved."_s));
}

// The build's own initial-data files come from this command; a new CB document from the
// installed template lists every plan channel, the VFO and eight MEM channels on plan
// frequencies.
void TestMzcli::planBuildsTheShippedFiles() {
    const QString plans = QStringLiteral(MZ_SOURCE_DIR "/data/channelplans/");
    Run r = run(u"plan "_s + plans + u"cb.csv -o @/cb.dat"_s);
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    QCOMPARE(ReadBytes(work(u"cb.dat"_s)),
             ReadBytes(QStringLiteral(MZ_PROGDIR "/Init/MZ-710_0_NEW.dat")));
    QCOMPARE(run(u"plan "_s + plans + u"ham10m.csv --mode 2 -o @/ham.dat"_s).code, 0);
    QCOMPARE(ReadBytes(work(u"ham.dat"_s)),
             ReadBytes(QStringLiteral(MZ_PROGDIR "/Init/MZ-710_2_NEW.dat")));

    QVERIFY(QDir().mkpath(init(QString())));
    QVERIFY(QFile::copy(work(u"cb.dat"_s), init(u"MZ-710_0_NEW.dat"_s)));
    QCOMPARE(run(u"new --mode 0 -o @/x.dat"_s).code, 0);
    QCOMPARE(ReadBytes(work(u"x.dat"_s)), ReadBytes(work(u"cb.dat"_s)));
    r = run(u"show @/x.dat --format csv"_s);
    QCOMPARE(r.code, 0);
    QStringList lines = r.out.split(u'\n', Qt::SkipEmptyParts);
    lines.removeFirst();
    QCOMPARE(lines.size(), 354 + 1 + 8);
    // The MEM channels hold plan frequencies, listed as the plan lists them.
    QSet<QString> planFrequencies;
    int plan = 0, mem = 0;
    for (const QString& l : lines) {
        const QStringList f = l.split(u',');
        if (f[0].toInt() <= 360) {
            ++plan;
            planFrequencies.insert(f[3]);
        }
    }
    for (const QString& l : lines) {
        const QStringList f = l.split(u',');
        if (f[0].toInt() < 402) continue;
        ++mem;
        QVERIFY2(planFrequencies.contains(f[3]), qPrintable(l));
    }
    QCOMPARE(plan, 354);
    QCOMPARE(mem, 8);
    QVERIFY(r.out.contains(u"\n121,UK,1,27.60125,"_s));
    QVERIFY(r.out.contains(u"\n160,UK,40,27.99125,"_s));
}

void TestMzcli::planRefusals_data() {
    QTest::addColumn<QByteArray>("table"); // empty: no file
    QTest::addColumn<QString>("args");
    QTest::addColumn<QString>("says");
    const QString plan = u"plan @/t.csv -o @/out.dat"_s;
    QTest::newRow("missing table") << QByteArray() << plan << u"t.csv: No such file or directory"_s;
    QTest::newRow("bad row") << QByteArray("channel,group,row,stored_mhz,shown_mhz,fm_only\n"
                                           "1,EU,1,26.965,26.965,perhaps\n")
                             << plan << u"line 2: fm_only"_s;
    QTest::newRow("wrong mode") << QByteArray("channel,group,row,stored_mhz,shown_mhz,fm_only\n"
                                              "1,EU,1,26.96500,26.96500,no\n")
                                << plan + u" --mode 2"_s << u"no group of country mode 2"_s;
}

void TestMzcli::planRefusals() {
    QFETCH(QByteArray, table);
    QFETCH(QString, args);
    QFETCH(QString, says);
    if (!table.isEmpty()) QVERIFY(WriteBytes(work(u"t.csv"_s), table));
    const Run r = run(args);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err.count(u'\n'), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QVERIFY(!QFile::exists(work(u"out.dat"_s)));
}

MZ_TEST_GUILESS_MAIN(TestMzcli)
#include "tst_mzcli.moc"
