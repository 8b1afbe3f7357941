// mzcli new, show and template, run as a user would: the program copied into an installation
// of its own (so its Init folder is ours), its exit codes, its one-sentence errors and files
// that are never written on failure.

#include "core/files/savedatafile.h"
#include "core/lang/langtext.h"
#include "files/filetestutil.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

struct Run {
    int code = -1;
    QString out, err;
};

class TestMzcli : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void newGivesTheDefaults_data();
    void newGivesTheDefaults();
    void newRefusals_data();
    void newRefusals();
    void newStartsFromTheTemplate();
    void showJson();
    void showJsonListsChannelsInOrder();
    void showCsvAndText();
    void showRefusals_data();
    void showRefusals();
    void fallbackTextWithoutLanguageFile();
    void templateInstallsADocument();

private:
    Run run(const QStringList& args) const;
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString initPath(const QString& name) const {
        return path(QStringLiteral("V100/Init/") + name);
    }
    static QString text(int id) {
        return LoadLangTextFrom(QStringLiteral(MZ_PROGDIR "/language/english.ini"), id);
    }

    QTemporaryDir dir_;
    QString exe_;
};

void TestMzcli::initTestCase() {
    QVERIFY(dir_.isValid());
    QDir d(dir_.path());
    QVERIFY(d.mkpath(QStringLiteral("V100/language")));
    exe_ = path(QStringLiteral("V100/mzcli"));
    QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/mzcli"), exe_));
    QVERIFY(QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"),
                        path(QStringLiteral("Version.ini"))));
    for (const char* f : {"english.ini", "chinese.ini"})
        QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/language/") + QLatin1String(f),
                            path(QStringLiteral("V100/language/")) + QLatin1String(f)));
    for (int id : {9002, 9012, 9062, 9065})
        QVERIFY(!text(id).isEmpty());
}

void TestMzcli::init() {
    QDir(path(QStringLiteral("V100/Init"))).removeRecursively();
    QDir(path(QStringLiteral("work"))).removeRecursively();
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("work")));
}

Run TestMzcli::run(const QStringList& args) const {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    p.setProcessEnvironment(env);
    p.start(exe_, args);
    Run r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit) return r;
    r.code = p.exitCode();
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

void TestMzcli::newGivesTheDefaults_data() {
    QTest::addColumn<QStringList>("modeArgs");
    QTest::addColumn<int>("mode");
    QTest::addColumn<QByteArray>("middle"); // channels 1 and 401: the middle of the band
    QTest::newRow("default mode") << QStringList() << 0 << QByteArray("02718500");
    QTest::newRow("CB") << QStringList{QStringLiteral("--mode"), QStringLiteral("0")} << 0
                        << QByteArray("02718500");
    QTest::newRow("HF") << QStringList{QStringLiteral("--mode"), QStringLiteral("1")} << 1
                        << QByteArray("02786000");
    QTest::newRow("HAM") << QStringList{QStringLiteral("--mode=2")} << 2 << QByteArray("02885000");
}

void TestMzcli::newGivesTheDefaults() {
    QFETCH(QStringList, modeArgs);
    QFETCH(int, mode);
    QFETCH(QByteArray, middle);
    const QString out = path(QStringLiteral("work/x.dat"));
    const Run r =
        run(QStringList{QStringLiteral("new")} + modeArgs + QStringList{QStringLiteral("-o"), out});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    const QByteArray b = ReadBytes(out);
    QCOMPARE(b, NewDocumentFile(mode));

    // The defaults by hand, at their offsets.
    QCOMPARE(b.mid(0, 13), QByteArray("MZ-710 ") + char(mode) + '\0' + "V100");
    QCOMPARE(Le16(b, 13), 10);
    QCOMPARE(Le16(b, 21), 1);       // MemWorkCH
    QCOMPARE(Le16(b, 23), 1);       // GroupValid(0)
    QCOMPARE(Le16(b, 25), 0);       // GroupValid(1)
    QCOMPARE(Le16(b, 105), 4);      // TOT
    QCOMPARE(Le16(b, 111), 3);      // SqlLevel
    QCOMPARE(Le16(b, 135), 160);    // MaxSwr
    QCOMPARE(Le16(b, 173 + 14), 5); // PublicCH.OffSetFre
    QCOMPARE(Le16(b, 233), 3);      // KeySet
    QCOMPARE(Le16(b, 235 + 2 * 17), 18);
    const int dtmf[] = {10, 0, 2, 0, 0, 1};
    for (int i = 0; i < 6; ++i)
        QCOMPARE(Le16(b, 271 + 2 * i), dtmf[i]);
    QCOMPARE(b.mid(285, 16), QByteArray(16, ' ')); // Code(1)
    QCOMPARE(Le16(b, 591), 210);
    QCOMPARE(Le16(b, 593), 10);
    QCOMPARE(Le16(b, 591 + 4 * 60 + 56), 1); // tip 5 Repeat
    QCOMPARE(Le16(b, 591 + 5 * 60 + 56), 0); // tip 6 is off
    const int chNos[] = {1, 401, 402, 403, 404, 405, 406, 407, 408, 409};
    for (int i = 0; i < 10; ++i) {
        const int at = 1071 + 60 * i;
        QCOMPARE(Le16(b, at), chNos[i]);
        QCOMPARE(Le16(b, at + 4), 1);    // Scan
        QCOMPARE(Le16(b, at + 14), 100); // OffSetFre
        QCOMPARE(Le16(b, at + 26), 1);   // NB
        QCOMPARE(Le16(b, at + 34), 1);   // Public
    }
    QCOMPARE(b.mid(1071 + 6, 8), middle);
    QCOMPARE(b.mid(1071 + 60 + 6, 8), middle);
    QCOMPARE(b.mid(1071 + 120 + 6, 8), QByteArray("02801500"));
    QCOMPARE(b.mid(1071 + 600), QByteArray(DataFileSize - 1671, '\0'));
}

void TestMzcli::newRefusals_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("says");
    const QString out = QStringLiteral("work/x.dat");
    QTest::newRow("mode 3") << QStringList{QStringLiteral("--mode"), QStringLiteral("3"),
                                           QStringLiteral("-o"), out}
                            << QStringLiteral("0, 1 or 2");
    QTest::newRow("mode x") << QStringList{QStringLiteral("--mode"), QStringLiteral("x"),
                                           QStringLiteral("-o"), out}
                            << QStringLiteral("0, 1 or 2");
    QTest::newRow("no output") << QStringList{QStringLiteral("--mode"), QStringLiteral("1")}
                               << QStringLiteral("-o FILE.dat");
    QTest::newRow("a file argument") << QStringList{out} << QStringLiteral("-o FILE.dat");
    QTest::newRow("unknown option")
        << QStringList{QStringLiteral("--colour"), QStringLiteral("-o"), out}
        << QStringLiteral("colour");
    QTest::newRow("folder is a file")
        << QStringList{QStringLiteral("-o"), QStringLiteral("work/blocker/x.dat")} << text(9002);
}

void TestMzcli::newRefusals() {
    QFETCH(QStringList, args);
    QFETCH(QString, says);
    QVERIFY(WriteBytes(path(QStringLiteral("work/blocker")), "file"));
    for (QString& a : args)
        if (a.startsWith(QLatin1String("work/"))) a = path(a);
    const Run r = run(QStringList{QStringLiteral("new")} + args);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    QCOMPARE(QDir(path(QStringLiteral("work"))).entryList(QDir::Files),
             QStringList{QStringLiteral("blocker")});
}

void TestMzcli::newStartsFromTheTemplate() {
    Document t;
    t.SetCountryMode(1);
    t.NewDocument();
    t.AddChannel(77, QStringLiteral("28.5"));
    t.RadioData.Func.Beep = 1;
    t.ToFileCopy();
    const QByteArray templ = EncodeDataFile(t.FileRadioData, t.FileCHInfo);
    QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("V100/Init")));
    QVERIFY(WriteBytes(initPath(QStringLiteral("MZ-710_1_NEW.dat")), templ));

    const QString out = path(QStringLiteral("work/t.dat"));
    Run r = run({QStringLiteral("new"), QStringLiteral("--mode"), QStringLiteral("1"),
                 QStringLiteral("-o"), out});
    QCOMPARE(r.code, 0);
    QCOMPARE(ReadBytes(out), templ);
    // Other modes have no template and keep the defaults.
    r = run({QStringLiteral("new"), QStringLiteral("--mode"), QStringLiteral("2"),
             QStringLiteral("-o"), out});
    QCOMPARE(r.code, 0);
    QCOMPARE(ReadBytes(out), NewDocumentFile(2));

    // A template put under another mode's name would give the wrong document.
    QVERIFY(WriteBytes(initPath(QStringLiteral("MZ-710_0_NEW.dat")), templ));
    const QString wrong = path(QStringLiteral("work/wrong.dat"));
    r = run({QStringLiteral("new"), QStringLiteral("-o"), wrong});
    QCOMPARE(r.code, 2);
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    QVERIFY(!QFile::exists(wrong));
}

void TestMzcli::showJson() {
    const QString file = path(QStringLiteral("work/ham.dat"));
    QCOMPARE(run({QStringLiteral("new"), QStringLiteral("--mode"), QStringLiteral("2"),
                  QStringLiteral("-o"), file})
                 .code,
             0);
    const Run r =
        run({QStringLiteral("show"), file, QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.err, QString());
    QJsonParseError error;
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8(), &error).object();
    QCOMPARE(error.error, QJsonParseError::NoError);

    // The members in the order of the radio image.
    const QStringList top = {QStringLiteral("Head"),     QStringLiteral("CHCount"),
                             QStringLiteral("Func"),     QStringLiteral("PublicCH"),
                             QStringLiteral("Key"),      QStringLiteral("DTMF"),
                             QStringLiteral("ToneTips"), QStringLiteral("CHInfo")};
    int last = -1;
    for (const QString& k : top) {
        const int at = r.out.indexOf(QLatin1Char('"') + k + QStringLiteral("\":"));
        QVERIFY2(at > last, qPrintable(k));
        last = at;
    }
    QCOMPARE(o.keys().size(), top.size());

    const QJsonObject head = o[QStringLiteral("Head")].toObject();
    QCOMPARE(head[QStringLiteral("Model")].toString(), QStringLiteral("MZ-710"));
    QCOMPARE(head[QStringLiteral("CountryMode")].toInt(), 2);
    QCOMPARE(head[QStringLiteral("Version")].toString(), QStringLiteral("V100"));
    QCOMPARE(o[QStringLiteral("CHCount")].toInt(), 10);
    const QJsonObject func = o[QStringLiteral("Func")].toObject();
    QCOMPARE(func.size(), 28);
    QCOMPARE(func[QStringLiteral("GroupValid")].toArray().size(), 10);
    QCOMPARE(func[QStringLiteral("EmgMode2")].toArray().size(), 10);
    QCOMPARE(func[QStringLiteral("Spare")].toArray().size(), 8);
    QCOMPARE(func[QStringLiteral("MaxSwr")].toInt(), 160);
    QCOMPARE(o[QStringLiteral("Key")].toObject()[QStringLiteral("KeyFun")].toArray().size(), 18);
    const QJsonObject dtmf = o[QStringLiteral("DTMF")].toObject();
    QCOMPARE(dtmf[QStringLiteral("Codes")].toArray().size(), 16);
    QCOMPARE(
        dtmf[QStringLiteral("Codes")].toArray()[0].toObject()[QStringLiteral("Code")].toString(),
        QString());
    const QJsonArray tips =
        o[QStringLiteral("ToneTips")].toObject()[QStringLiteral("Tip")].toArray();
    QCOMPARE(tips.size(), 8);
    QCOMPARE(tips[0].toObject()[QStringLiteral("Step")].toArray().size(), 14);
    QCOMPARE(tips[0]
                 .toObject()[QStringLiteral("Step")]
                 .toArray()[0]
                 .toObject()[QStringLiteral("Tone")]
                 .toInt(),
             210);

    const QStringList channelFields = {
        QStringLiteral("CHNo"),      QStringLiteral("Spare"),     QStringLiteral("Scan"),
        QStringLiteral("RxFre"),     QStringLiteral("OffSetFre"), QStringLiteral("RDCT"),
        QStringLiteral("TDCT"),      QStringLiteral("DUP"),       QStringLiteral("HI_CUT"),
        QStringLiteral("BUSY"),      QStringLiteral("NB"),        QStringLiteral("Add_Sub_5K"),
        QStringLiteral("AM_FM"),     QStringLiteral("Tx_Power"),  QStringLiteral("Public"),
        QStringLiteral("RBTone"),    QStringLiteral("DTMF_BOT"),  QStringLiteral("DTMF_EOT"),
        QStringLiteral("DTMF_Call"), QStringLiteral("TSQ"),       QStringLiteral("Reserved")};
    const QJsonArray chs = o[QStringLiteral("CHInfo")].toArray();
    QCOMPARE(chs.size(), 10);
    QStringList keys = chs[0].toObject().keys();
    QStringList expected = channelFields;
    keys.sort();
    expected.sort();
    QCOMPARE(keys, expected);
    QCOMPARE(o[QStringLiteral("PublicCH")].toObject().keys().size(), channelFields.size());
    QCOMPARE(chs[0].toObject()[QStringLiteral("RxFre")].toString(), QStringLiteral("02885000"));
    QCOMPARE(chs[1].toObject()[QStringLiteral("CHNo")].toInt(), 401);
    QCOMPARE(chs[0].toObject()[QStringLiteral("Reserved")].toArray().size(), 7);
}

void TestMzcli::showJsonListsChannelsInOrder() {
    // A full list in an order of its own, with texts that need trimming.
    Document doc;
    FillDistinct(doc);
    for (int i = 0; i < MaxChannels; ++i) {
        doc.CHInfo[i].CHNo = static_cast<i16>(MaxChannels - i);
        doc.CHInfo[i].RxFre = QStringLiteral("27%1").arg(i);
    }
    doc.RadioData.DTMF.Codes[3].Code = QStringLiteral("12*#");
    doc.CurFileName = path(QStringLiteral("work/full.dat"));
    QVERIFY(SaveDataFile(doc));

    const Run r = run({QStringLiteral("show"), doc.CurFileName, QStringLiteral("--format=json")});
    QCOMPARE(r.code, 0);
    const QJsonObject o = QJsonDocument::fromJson(r.out.toUtf8()).object();
    const QJsonArray chs = o[QStringLiteral("CHInfo")].toArray();
    QCOMPARE(chs.size(), MaxChannels);
    for (int i = 0; i < MaxChannels; ++i) {
        QCOMPARE(chs[i].toObject()[QStringLiteral("CHNo")].toInt(), MaxChannels - i);
        QCOMPARE(chs[i].toObject()[QStringLiteral("RxFre")].toString(),
                 QStringLiteral("27%1").arg(i));
    }
    QCOMPARE(chs[5].toObject()[QStringLiteral("TSQ")].toInt(), doc.CHInfo[5].TSQ);
    QCOMPARE(o[QStringLiteral("Func")].toObject()[QStringLiteral("Spare")].toArray()[7].toInt(),
             doc.RadioData.Func.Spare[7]);
    QCOMPARE(o[QStringLiteral("DTMF")]
                 .toObject()[QStringLiteral("Codes")]
                 .toArray()[3]
                 .toObject()[QStringLiteral("Code")]
                 .toString(),
             QStringLiteral("12*#"));
}

void TestMzcli::showCsvAndText() {
    const QString file = path(QStringLiteral("work/cb.dat"));
    QCOMPARE(run({QStringLiteral("new"), QStringLiteral("-o"), file}).code, 0);

    Run r = run({QStringLiteral("show"), file, QStringLiteral("--format"), QStringLiteral("csv")});
    QCOMPARE(r.code, 0);
    const QStringList lines = r.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 11);
    QVERIFY(lines[0].startsWith(QStringLiteral(
        "CH,Group,Pos,Frequency,Duplex,Offset,RxTone,TxTone,Mode,Power,Scan,Public")));
    QCOMPARE(lines[1].split(QLatin1Char(',')).size(), lines[0].split(QLatin1Char(',')).size());
    QVERIFY2(lines[1].startsWith(QStringLiteral("1,EU,1,27.18500,Off,100,Off,Off,FM,0,Add,On")),
             qPrintable(lines[1]));
    // 401 is in no group of mode 0; the MEM channels above 27.405 MHz list with "125".
    QVERIFY2(lines[2].startsWith(QStringLiteral("401,-,-,")), qPrintable(lines[2]));
    QVERIFY2(lines[3].startsWith(QStringLiteral("402,MEM,1,28.01125,")), qPrintable(lines[3]));

    r = run({QStringLiteral("show"), file});
    QCOMPARE(r.code, 0);
    QVERIFY(r.out.contains(QStringLiteral("MZ-710")));
    QVERIFY(r.out.contains(QStringLiteral("0 (CB)")));
    QVERIFY(r.out.contains(QStringLiteral("26.965 - 27.405 MHz")));
    QVERIFY(r.out.contains(QStringLiteral("V100")));
    QVERIFY(r.out.contains(
        QRegularExpression(QStringLiteral("\n1 +EU +1 +27.18500 +Off +100 +Off +Off +FM "))));
    QVERIFY(r.out.contains(QRegularExpression(QStringLiteral("\n +MaxSwr +160\n"))));
}

void TestMzcli::showRefusals_data() {
    QTest::addColumn<QByteArray>("bytes"); // empty: no file
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("says");
    const QByteArray good = NewDocumentFile(0);
    QByteArray count = good, mode = good;
    PutLe16(count, 13, 410);
    PutLe16(mode, 7, 3);
    QByteArray lower = good, version = good, other = good;
    lower.replace(0, 7, "mz-710 ");
    version.replace(9, 4, "V10 ");
    other.replace(9, 4, "V101");
    QTest::newRow("missing") << QByteArray() << QStringList() << text(9002);
    QTest::newRow("short") << good.left(25610) << QStringList() << text(9002);
    QTest::newRow("CHCount 410") << count << QStringList() << text(9002);
    QTest::newRow("model") << lower << QStringList() << text(9012);
    QTest::newRow("version text") << version << QStringList() << text(9065);
    QTest::newRow("other version") << other << QStringList() << text(9062);
    QTest::newRow("country mode 3")
        << mode << QStringList() << QStringLiteral("Country Mode Error!");
    QTest::newRow("bad format") << good
                                << QStringList{QStringLiteral("--format"), QStringLiteral("xml")}
                                << QStringLiteral("text, json or csv");
}

void TestMzcli::showRefusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, extra);
    QFETCH(QString, says);
    const QString file = path(QStringLiteral("work/in.dat"));
    if (!bytes.isEmpty()) QVERIFY(WriteBytes(file, bytes));
    const Run r = run(QStringList{QStringLiteral("show"), file} + extra);
    QCOMPARE(r.code, 2);
    QCOMPARE(r.out, QString());
    QCOMPARE(r.err.count(QLatin1Char('\n')), 1);
    QVERIFY2(r.err.contains(says), qPrintable(r.err));
    if (!bytes.isEmpty()) QCOMPARE(ReadBytes(file), bytes);

    QCOMPARE(run({QStringLiteral("show")}).code, 2);
}

void TestMzcli::fallbackTextWithoutLanguageFile() {
    const QString lang = path(QStringLiteral("V100/language"));
    const QString away = path(QStringLiteral("V100/language-away"));
    QVERIFY(QDir().rename(lang, away));
    const Run r = run({QStringLiteral("show"), path(QStringLiteral("work/none.dat"))});
    QVERIFY(QDir().rename(away, lang));
    QCOMPARE(r.code, 2);
    QVERIFY2(r.err.contains(QStringLiteral("The file could not be read or written.")),
             qPrintable(r.err));
}

void TestMzcli::templateInstallsADocument() {
    Document t;
    t.SetCountryMode(2);
    t.NewDocument();
    t.RadioData.Func.Beep = 1;
    t.CurFileName = path(QStringLiteral("work/dealer.dat"));
    QVERIFY(SaveDataFile(t));

    Run r = run({QStringLiteral("template"), t.CurFileName});
    QCOMPARE(r.code, 0);
    QCOMPARE(r.out.trimmed(), initPath(QStringLiteral("MZ-710_2_NEW.dat")));
    QCOMPARE(ReadBytes(initPath(QStringLiteral("MZ-710_2_NEW.dat"))), ReadBytes(t.CurFileName));
    r = run({QStringLiteral("template"), t.CurFileName, QStringLiteral("--factory")});
    QCOMPARE(r.code, 0);
    QVERIFY(QFile::exists(initPath(QStringLiteral("MZ-710_2.dat"))));

    const QString out = path(QStringLiteral("work/new.dat"));
    QCOMPARE(run({QStringLiteral("new"), QStringLiteral("--mode"), QStringLiteral("2"),
                  QStringLiteral("-o"), out})
                 .code,
             0);
    QCOMPARE(ReadBytes(out), ReadBytes(t.CurFileName));

    // A file the program would refuse is not installed.
    QByteArray bad = ReadBytes(t.CurFileName);
    PutLe16(bad, 7, 1);
    PutLe16(bad, 13, 411);
    QVERIFY(WriteBytes(t.CurFileName, bad));
    r = run({QStringLiteral("template"), t.CurFileName});
    QCOMPARE(r.code, 2);
    QVERIFY(!QFile::exists(initPath(QStringLiteral("MZ-710_1_NEW.dat"))));
}

QTEST_GUILESS_MAIN(TestMzcli)
#include "tst_mzcli.moc"
