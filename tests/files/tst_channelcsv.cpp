// The channel CSV codec: the RFC 4180 reader, the export column by column (and as the format's
// own reader understands it, checked by an independent script), the round trip in every
// country mode, a file written by other people's conventions, and refused files.

#include "core/files/channelcsv.h"
#include "core/files/csvtable.h"
#include "core/model/channeledit.h"
#include "core/model/country.h"
#include "core/model/documentdiff.h"
#include "core/model/frequency.h"
#include "core/model/helpers.h"
#include "core/model/tones.h"
#include "support/documentbuilders.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// A national plan as an initial-data file gives it to a CB document: EU and UK (the UK plan
// stored 125 Hz below the frequencies it is listed with).
void addPlan(Document& d) {
    for (int r = 1; r <= 40; ++r) {
        if (d.FindChannel(r) < 0) d.AddChannel(r, FormatFre(26.965 + 0.01 * (r - 1)));
        if (d.FindChannel(120 + r) < 0) d.AddChannel(120 + r, FormatFre(27.601 + 0.01 * (r - 1)));
    }
}

void defineDtmfCodes(Document& d) {
    for (int k : {0, 1, 4, 9}) {
        d.RadioData.DTMF.Codes[k].Code = u"12#"_s;
        d.RadioData.DTMF.Codes[k].Len = 3;
    }
}

Document* newDocument(int mode) {
    auto* d = new Document;
    d->SetCountryMode(mode);
    d->NewDocument();
    if (mode == 0) addPlan(*d);
    defineDtmfCodes(*d);
    return d;
}

// Gives channels every kind of value through the rules of typing, so that an import into a
// document of the same mode must take them all.
void varyChannels(Document& d) {
    const int mode = d.CountryMode;
    const int steps = static_cast<int>(std::lround((d.FreHigh - d.FreLow) / 0.005));
    auto onRaster = [&](int n) { return FormatFre(d.FreLow + 0.005 * ((n * 37) % steps)); };
    auto must = [](const EditResult& r, int n, int id) {
        QVERIFY2(r.outcome != EditOutcome::Refused,
                 qPrintable(u"channel %1 field %2: %3"_s.arg(n).arg(id).arg(r.reason.text())));
    };
    if (mode != 0) {
        for (int g = 0; g < 10; ++g)
            for (int k : {1, 2, 7, 20, 40})
                must(EditChannelField(d, 40 * g + k, FldRxFre, onRaster(40 * g + k)), 40 * g + k,
                     1);
        for (int n = ChVfo; n <= ChMemFirst + 7; ++n)
            must(EditChannelField(d, n, FldRxFre, onRaster(n)), n, 1);
    } else {
        // MEM channels take plan channels, a UK one among them.
        const char* mem[] = {"27.62125", "26.985", "27.70125", "27.355"};
        for (int i = 0; i < 4; ++i)
            must(EditChannelField(d, ChMemFirst + i, FldRxFre, QString::fromLatin1(mem[i])),
                 ChMemFirst + i, 1);
    }
    for (int i = 0; i < d.chCount(); ++i) {
        const int n = d.CHInfo[i].CHNo;
        int group = 0, row = 0;
        if (!ChannelSlot(n, mode, group, row)) continue; // the CB mode's VFO channel
        auto set = [&](int id, int v) {
            must(EditChannelField(d, n, id, QString::number(v)), n, id);
        };
        set(FldPublic, 0);
        if (!IsFixFM(row, group, mode)) set(FldAM_FM, (n / 11) % 2);
        if (mode != 0) {
            set(FldTx_Power, n % (d.Channel(n)->AM_FM ? 2 : 3));
            set(FldDUP, n % 3);
            set(FldOffSetFre, 5 * (n % 200 + 1));
        }
        set(FldTSQ, (n / 17) % 2);
        if (n != ChVfo) set(FldScan, n % 2);
        set(FldHI_CUT, (n / 2) % 2);
        set(FldBUSY, (n / 3) % 2);
        set(FldNB, (n / 5) % 2);
        set(FldAdd_Sub_5K, (n / 7) % 2);
        set(FldRBTone, n % 6);
        set(FldDTMF_BOT, QList<int>{0, 1, 2, 5, 10}.at(n % 5));
        set(FldDTMF_EOT, QList<int>{0, 1, 2, 5, 10}.at((n + 1) % 5));
        set(FldDTMF_Call, QList<int>{0, 1, 2, 5, 10}.at((n + 3) % 5));
        set(FldRDCT, (n * 7) % 143);
        set(FldTDCT, (n * 11) % 143);
        set(FldPublic, (n / 13) % 2);
    }
}

QList<CsvRecord> records(const QByteArray& csv) {
    const CsvTable t = ReadCsv(csv);
    return t.records;
}

const ImportRowReport* rowAtLine(const ChannelImportReport& r, int line) {
    for (const ImportRowReport& row : r.rows)
        if (row.line == line) return &row;
    return nullptr;
}

QString toneMeaning(int t) {
    if (t >= 1 && t <= CtcssCount) return u"T%1"_s.arg(CtcssHz(t), 0, 'f', 1);
    if (t > CtcssCount && t < ToneCount)
        return u"D%1N"_s.arg(DcsCode(t - CtcssCount), 3, 10, QLatin1Char('0'));
    return QString();
}

} // namespace

class TestChannelCsv : public QObject {
    Q_OBJECT
private slots:
    void readerFollowsRfc4180();
    void readerRefusals_data();
    void readerRefusals();
    void toneColumns_data();
    void toneColumns();
    void richDocumentColumnByColumn();
    void theFormatsReaderReadsEveryRow_data();
    void theFormatsReaderReadsEveryRow();
    void roundTripInEveryMode_data();
    void roundTripInEveryMode();
    void foreignFile();
    void changedValuesAreReportedAndOldMacFilesRead();
    void cbModeRules();
    void columnsNotReadAreNamed();
    void intoOneGroup();
    void importReportLines_data();
    void importReportLines();
    void malformedFilesChangeNothing_data();
    void malformedFilesChangeNothing();
};

void TestChannelCsv::readerFollowsRfc4180() {
    const QByteArray in = "\xEF\xBB\xBF"
                          "a,b,c\r\n"
                          "1,\"x,y\",\"say \"\"hi\"\"\"\r\n"
                          "\r\n"
                          "2,\"two\nlines\",\n"
                          "3,,last";
    const CsvTable t = ReadCsv(in);
    QCOMPARE(t.error, CsvError::None);
    QCOMPARE(t.records.size(), 4);
    QCOMPARE(t.records[0].fields, QStringList({u"a"_s, u"b"_s, u"c"_s}));
    QCOMPARE(t.records[1].fields, QStringList({u"1"_s, u"x,y"_s, u"say \"hi\""_s}));
    QCOMPARE(t.records[2].fields, QStringList({u"2"_s, u"two\nlines"_s, QString()}));
    QCOMPARE(t.records[2].line, 4);
    QCOMPARE(t.records[3].line, 6);
    QCOMPARE(t.records[3].fields, QStringList({u"3"_s, QString(), u"last"_s}));
    // The writer quotes what needs it, so the reader gives the same fields back.
    const QStringList fields = {u"p,q"_s, u"\"q\""_s, u"line\nbreak"_s, u"plain"_s, QString()};
    QCOMPARE(CsvLine(fields), QByteArray("\"p,q\",\"\"\"q\"\"\",\"line\nbreak\",plain,\r\n"));
    QCOMPARE(ReadCsv(CsvLine(fields)).records.first().fields, fields);
}

void TestChannelCsv::readerRefusals_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<CsvError>("error");
    QTest::newRow("empty") << QByteArray() << CsvError::Empty;
    QTest::newRow("blank lines") << QByteArray("\r\n\n  \n") << CsvError::Empty;
    QTest::newRow("nul byte") << QByteArray("Location,Frequency\n1,2\0", 23) << CsvError::Binary;
    QTest::newRow("not utf-8") << QByteArray("Location\xff\xfe,Frequency\n") << CsvError::Binary;
    QTest::newRow("open quote") << QByteArray("a,b\n1,\"never\nclosed\n") << CsvError::Unclosed;
}

void TestChannelCsv::readerRefusals() {
    QFETCH(QByteArray, bytes);
    QFETCH(CsvError, error);
    const CsvTable t = ReadCsv(bytes);
    QCOMPARE(t.error, error);
    QVERIFY(t.records.isEmpty());
    if (error == CsvError::Unclosed) QCOMPARE(t.errorLine, 2);
}

void TestChannelCsv::toneColumns_data() {
    QTest::addColumn<int>("tx");
    QTest::addColumn<int>("rx");
    // Tone, rToneFreq, cToneFreq, DtcsCode, DtcsPolarity, RxDtcsCode, CrossMode
    QTest::addColumn<QString>("cells");
    const int c885 = 8, c1000 = 12, d023 = 39, d754 = 142, c2503 = 38;
    QTest::newRow("none") << 0 << 0 << u",88.5,88.5,023,NN,023,Tone->Tone"_s;
    QTest::newRow("Tone") << c1000 << 0 << u"Tone,100.0,88.5,023,NN,023,Tone->Tone"_s;
    QTest::newRow("TSQL") << c1000 << c1000 << u"TSQL,88.5,100.0,023,NN,023,Tone->Tone"_s;
    QTest::newRow("DTCS") << d754 << d754 << u"DTCS,88.5,88.5,754,NN,754,Tone->Tone"_s;
    QTest::newRow("Tone->Tone") << c885 << c2503 << u"Cross,88.5,250.3,023,NN,023,Tone->Tone"_s;
    QTest::newRow("->Tone") << 0 << c1000 << u"Cross,88.5,100.0,023,NN,023,->Tone"_s;
    QTest::newRow("DTCS->") << d754 << 0 << u"Cross,88.5,88.5,754,NN,023,DTCS->"_s;
    QTest::newRow("Tone->DTCS") << c2503 << d754 << u"Cross,250.3,88.5,023,NN,754,Tone->DTCS"_s;
    QTest::newRow("DTCS->Tone") << d754 << c2503 << u"Cross,88.5,250.3,754,NN,023,DTCS->Tone"_s;
    QTest::newRow("->DTCS") << 0 << d754 << u"Cross,88.5,88.5,023,NN,754,->DTCS"_s;
    QTest::newRow("DTCS->DTCS") << d754 << d023 << u"Cross,88.5,88.5,754,NN,023,DTCS->DTCS"_s;
}

void TestChannelCsv::toneColumns() {
    QFETCH(int, tx);
    QFETCH(int, rx);
    QFETCH(QString, cells);
    Document doc;
    doc.SetCountryMode(2);
    doc.NewDocument();
    CHInfoRec& c = *doc.Channel(1);
    c.RxFre = u"02912500"_s;
    c.TDCT = static_cast<i16>(tx);
    c.RDCT = static_cast<i16>(rx);
    c.DUP = 2;
    c.OffSetFre = 100;
    c.Tx_Power = 2;
    c.Scan = 0;
    c.Public = 0;
    const QList<CsvRecord> rows = records(ExportChannelsCsv(doc).csv);
    QCOMPARE(rows.first().fields.join(u','), ChannelCsvColumns().join(u','));
    QCOMPARE(rows.at(1).fields.join(u','),
             u"1,A 1,29.125000,-,0.100000,"_s + cells +
                 u",FM,5.00,S,4W,Public=Off TSQ=Off Busy=Off NB=On HiCut=Off 5K=Off "
                 "RogerBeep=0 DTMF-BOT=0 DTMF-EOT=0 DTMF-Call=0,,,,"_s);
    // and back: the tones come home.
    Document back;
    back.SetCountryMode(2);
    back.NewDocument();
    const ChannelImportReport r = ImportChannelsCsv(back, ExportChannelsCsv(doc).csv);
    QCOMPARE(r.rows.first().outcome, RowOutcome::Imported);
    QCOMPARE(back.Channel(1)->TDCT, tx);
    QCOMPARE(back.Channel(1)->RDCT, rx);
}

void TestChannelCsv::richDocumentColumnByColumn() {
    Document doc;
    FillRichDocument(doc, 1);
    const QList<CsvRecord> rows = records(ExportChannelsCsv(doc).csv);
    QCOMPARE(rows.size(), doc.chCount() + 1);
    const QStringList& h = rows.first().fields;
    QCOMPARE(h.join(u','),
             u"Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,"
             "DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,"
             "RPT2CALL,DVCODE"_s);
    auto col = [&](const CsvRecord& r, const char* name) {
        return r.fields.at(h.indexOf(QLatin1String(name)));
    };
    int last = 0;
    for (int k = 1; k < rows.size(); ++k) {
        const CsvRecord& r = rows.at(k);
        QCOMPARE(r.fields.size(), 21);
        const int n = col(r, "Location").toInt();
        QVERIFY2(n > last, "rows are sorted by channel number");
        last = n;
        const CHInfoRec& c = *doc.Channel(n);
        const QString name = n == 401 ? u"VFO"_s
                             : n > 401
                                 ? u"MEM %1"_s.arg(n - 401)
                                 : u"%1 %2"_s.arg(QChar(u'A' + (n - 1) / 40)).arg((n - 1) % 40 + 1);
        QCOMPARE(col(r, "Name"), name);
        const QString stored = c.RxFre.text();
        QCOMPARE(col(r, "Frequency"),
                 u"%1.%2"_s.arg(stored.left(3).toInt()).arg(stored.mid(3) + u"0"_s));
        QCOMPARE(col(r, "Duplex"), QStringList({QString(), u"+"_s, u"-"_s}).at(c.DUP));
        QCOMPARE(col(r, "Offset"),
                 c.DUP ? u"%1.%2"_s.arg(c.OffSetFre / 1000)
                             .arg(c.OffSetFre % 1000 * 1000, 6, 10, QLatin1Char('0'))
                       : u"0.000000"_s);
        for (const char* tone : {"rToneFreq", "cToneFreq"})
            QVERIFY(ParseNumber(col(r, tone)).has_value());
        for (const char* code : {"DtcsCode", "RxDtcsCode"})
            QCOMPARE(col(r, code).size(), 3);
        QCOMPARE(col(r, "DtcsPolarity"), u"NN"_s);
        QVERIFY(!col(r, "CrossMode").isEmpty());
        QCOMPARE(col(r, "Mode"), c.AM_FM ? u"AM"_s : u"FM"_s);
        QCOMPARE(col(r, "TStep"), u"5.00"_s);
        QCOMPARE(col(r, "Skip"), c.Scan ? QString() : u"S"_s);
        QCOMPARE(col(r, "Power"), QStringList({u"1W"_s, u"2W"_s, u"4W"_s}).at(c.Tx_Power));
        const QString comment = col(r, "Comment");
        for (const auto& [key, v] : {std::pair{"Public=", c.Public},
                                     {"TSQ=", c.TSQ},
                                     {"Busy=", c.BUSY},
                                     {"NB=", c.NB},
                                     {"HiCut=", c.HI_CUT},
                                     {"5K=", c.Add_Sub_5K}})
            QVERIFY2(comment.contains(QLatin1String(key) + (v ? u"On"_s : u"Off"_s)),
                     qPrintable(comment));
        QVERIFY(
            comment.contains(u"RogerBeep=%1 DTMF-BOT=%2 DTMF-EOT=%3 DTMF-Call=%4"_s.arg(c.RBTone)
                                 .arg(c.DTMF_BOT)
                                 .arg(c.DTMF_EOT)
                                 .arg(c.DTMF_Call)));
        QCOMPARE(comment.contains(u"Shift=%1"_s.arg(c.OffSetFre)), c.DUP == 0);
        for (const char* dv : {"URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"})
            QVERIFY(col(r, dv).isEmpty());
    }
    // A UK channel lists its real frequency.
    Document cb;
    cb.SetCountryMode(0);
    cb.NewDocument();
    addPlan(cb);
    const QList<CsvRecord> cbRows = records(ExportChannelsCsv(cb).csv);
    bool sawUk = false;
    for (const CsvRecord& r : cbRows)
        if (r.fields.at(0) == u"121"_s) {
            QCOMPARE(r.fields.at(1), u"UK 1"_s);
            QCOMPARE(r.fields.at(2), u"27.601250"_s);
            sawUk = true;
        }
    QVERIFY(sawUk);
}

void TestChannelCsv::theFormatsReaderReadsEveryRow_data() {
    QTest::addColumn<int>("mode");
    for (int m = 0; m < 3; ++m)
        QTest::addRow("mode %d", m) << m;
}

void TestChannelCsv::theFormatsReaderReadsEveryRow() {
    QFETCH(int, mode);
    Document doc;
    FillRichDocument(doc, mode);
    if (mode == 0) addPlan(doc);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"rich.csv"_s);
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(ExportChannelsCsv(doc).csv);
    f.close();
    QProcess py;
    py.start(u"python3"_s, {QStringLiteral(MZ_SOURCE_DIR "/tests/cli/csvreadercheck.py"), path});
    QVERIFY2(py.waitForFinished(30000), "python3 did not run");
    QCOMPARE(py.exitCode(), 0);
    const QJsonObject out = QJsonDocument::fromJson(py.readAllStandardOutput()).object();
    QCOMPARE(out.value(u"dropped"_s).toArray(), QJsonArray());
    const QJsonArray rows = out.value(u"rows"_s).toArray();
    QCOMPARE(rows.size(), doc.chCount());
    for (const QJsonValue& v : rows) {
        const QJsonObject r = v.toObject();
        const int n = r.value(u"loc"_s).toInt();
        const CHInfoRec& c = *doc.Channel(n);
        int group = -1, row = 0;
        ChannelSlot(n, mode, group, row);
        // What the channel holds, in that reader's terms, from the record.
        const double mhz = *ParseNumber(FreToListText(c.RxFre.text(), group, mode, doc.FreLow));
        const QString what = u"channel %1"_s.arg(n);
        QVERIFY2(std::llround(mhz * 1e6) ==
                     static_cast<long long>(r.value(u"freq_hz"_s).toDouble()),
                 qPrintable(what));
        QCOMPARE(r.value(u"duplex"_s).toString(),
                 QStringList({QString(), u"+"_s, u"-"_s}).at(c.DUP));
        QCOMPARE(r.value(u"offset_hz"_s).toInt(), c.DUP ? c.OffSetFre * 1000 : 0);
        QCOMPARE(r.value(u"tx"_s).toString(), toneMeaning(c.TDCT));
        QCOMPARE(r.value(u"rx"_s).toString(), toneMeaning(c.RDCT));
        QCOMPARE(r.value(u"mode"_s).toString(), c.AM_FM ? u"AM"_s : u"FM"_s);
        QCOMPARE(r.value(u"skip"_s).toString(), c.Scan ? QString() : u"S"_s);
    }
}

void TestChannelCsv::roundTripInEveryMode_data() {
    QTest::addColumn<int>("mode");
    for (int m = 0; m < 3; ++m)
        QTest::addRow("%s", qPrintable(ModeName(m))) << m;
}

void TestChannelCsv::roundTripInEveryMode() {
    QFETCH(int, mode);
    std::unique_ptr<Document> source(newDocument(mode));
    varyChannels(*source);
    if (QTest::currentTestFailed()) return;
    const QByteArray csv = ExportChannelsCsv(*source).csv;

    std::unique_ptr<Document> target(newDocument(mode));
    // The same radio-wide settings; the channels come from the file.
    target->RadioData.Func = source->RadioData.Func;
    target->RadioData.PublicCH = source->RadioData.PublicCH;
    target->RadioData.Key = source->RadioData.Key;
    target->RadioData.DTMF = source->RadioData.DTMF;
    target->RadioData.ToneTips = source->RadioData.ToneTips;
    const ChannelImportReport r = ImportChannelsCsv(*target, csv);
    QVERIFY2(!r.refused(), qPrintable(r.refusal.text()));
    QStringList notImported;
    for (const QString& line : r.lines())
        if (!line.endsWith(TextNote{14900, {}}.text())) notImported << line;
    QVERIFY2(r.count(RowOutcome::Imported) == source->chCount(),
             qPrintable(notImported.join(u'\n')));
    const QStringList diff = DiffDocuments(*source, *target);
    QVERIFY2(diff.isEmpty(), qPrintable(diff.join(u'\n')));
}

void TestChannelCsv::foreignFile() {
    // Rows in another order, only some columns, 6.25 kHz steps, other bands.
    const QByteArray csv =
        "Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
        "RxDtcsCode,CrossMode,Mode,Power\n"
        "12,29.620000,-,0.100000,Tone,88.5,88.5,023,NN,023,Tone->Tone,FM,50W\n" // line 2
        "3,28.400000,,0.000000,TSQL,88.5,100.0,023,NN,023,Tone->Tone,FM,5.0W\n"
        "5,28.500000,,0.000000,DTCS,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "7,28.600000,,0.000000,Cross,88.5,250.3,754,NN,023,DTCS->Tone,FM,1W\n"
        "8,28.610000,,0.000000,Cross,88.5,88.5,023,NN,025,->DTCS,AM,4W\n" // line 6
        "9,28.006250,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "10,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "11,27.185000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "13,28.300000,,0.000000,Tone,69.3,88.5,023,NN,023,Tone->Tone,FM,1W\n" // line 10
        "14,28.310000,+,0.0025,,88.5,88.5,023,NN,023,Tone->Tone,NFM,1W\n"
        "abc,28.320000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "16,28.330000,,0.000000,DTCS,88.5,88.5,023,RN,023,Tone->Tone,FM,1W\n"
        "17,28.340000,split,28.9,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n"
        "3,28.350000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,1W\n" // line 15
        "18,28.360000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,USB,1W\n"
        "19,28.370000,,0.000000,Cross,88.5,88.5,023,NN,023,Tone->Tone,FM,High\n";
    Document doc;
    doc.SetCountryMode(2);
    doc.NewDocument();
    const ChannelImportReport r = ImportChannelsCsv(doc, csv);
    QVERIFY(!r.refused());
    QCOMPARE(r.rows.size(), 16);

    struct Expect {
        int line;
        RowOutcome outcome;
        int reason; // the first note
    };
    const Expect expect[] = {
        {2, RowOutcome::Adjusted, 14976}, {3, RowOutcome::Adjusted, 14976},
        {4, RowOutcome::Imported, 0},     {5, RowOutcome::Imported, 0},
        {6, RowOutcome::Adjusted, 14940}, {7, RowOutcome::Adjusted, 14936},
        {8, RowOutcome::Skipped, 14910},  {9, RowOutcome::Skipped, 14910},
        {10, RowOutcome::Skipped, 14915}, {11, RowOutcome::Adjusted, 14939},
        {12, RowOutcome::Skipped, 14905}, {13, RowOutcome::Skipped, 14917},
        {14, RowOutcome::Skipped, 14913}, {15, RowOutcome::Skipped, 14908},
        {16, RowOutcome::Skipped, 14918}, {17, RowOutcome::Imported, 0},
    };
    for (const Expect& e : expect) {
        const ImportRowReport* row = rowAtLine(r, e.line);
        QVERIFY2(row, qPrintable(u"line %1"_s.arg(e.line)));
        QVERIFY2(row->outcome == e.outcome, qPrintable(r.lines().join(u'\n')));
        if (e.reason) QCOMPARE(row->notes.first().id, e.reason);
    }
    QCOMPARE(r.count(RowOutcome::Skipped), 8);

    auto ch = [&](int n) { return doc.Channel(n); };
    QCOMPARE(ch(12)->TDCT, 8);
    QCOMPARE(ch(12)->RDCT, 0);
    QCOMPARE(ch(12)->DUP, 2);
    QCOMPARE(ch(12)->OffSetFre, 100);
    QCOMPARE(ch(12)->Tx_Power, 2); // 50 W: the highest level
    QCOMPARE(ch(12)->Public, 0);   // the row's own shift counts
    QCOMPARE(ch(3)->TDCT, 12);
    QCOMPARE(ch(3)->RDCT, 12);
    QCOMPARE(ch(3)->RxFre.text(), u"02840000"_s);
    QCOMPARE(ch(5)->TDCT, 39);
    QCOMPARE(ch(5)->RDCT, 39);
    QCOMPARE(ch(7)->TDCT, 142);
    QCOMPARE(ch(7)->RDCT, 38);
    QCOMPARE(ch(8)->TDCT, 0);
    QCOMPARE(ch(8)->RDCT, 40);
    QCOMPARE(ch(8)->AM_FM, 1);
    QCOMPARE(ch(8)->Tx_Power, 1); // AM has two levels
    QCOMPARE(ch(9)->RxFre.text(), u"02800500"_s);
    // 2.5 kHz is below the smallest shift: refused (not moved), the channel keeps its own.
    QCOMPARE(ch(14)->OffSetFre, 100);
    QVERIFY(std::any_of(rowAtLine(r, 11)->notes.begin(), rowAtLine(r, 11)->notes.end(),
                        [](const TextNote& n) { return n.id == 14926; }));
    QCOMPARE(ch(19)->Tx_Power, 2); // a level name is understood too
    QCOMPARE(ch(19)->RDCT, 8);     // Cross without a mode: Tone->Tone
    for (int n : {10, 11, 13, 16, 17, 18})
        QVERIFY2(!ch(n), qPrintable(u"channel %1 was made"_s.arg(n)));
    QCOMPARE(r.lines().size(), 17); // one per row and the totals

    // Cell values in the report can neither steer the terminal nor fill in placeholders.
    const ChannelImportReport odd = ImportChannelsCsv(doc, "Location,Frequency\n%2\x1b[2J,28\n");
    QCOMPARE(odd.rows.size(), 1);
    QVERIFY2(odd.lines().first().contains(u"%2?[2J"_s), qPrintable(odd.lines().first()));
    QVERIFY(!odd.lines().first().contains(QChar(0x1b)));
}

void TestChannelCsv::changedValuesAreReportedAndOldMacFilesRead() {
    // Lines ended by CR alone (old Mac files) are lines, not one long header.
    const CsvTable t = ReadCsv("a,b\r1,2\r3,\"x\"\r");
    QCOMPARE(t.error, CsvError::None);
    QCOMPARE(t.records.size(), 3);
    QCOMPARE(t.records[2].fields, QStringList({u"3"_s, u"x"_s}));
    QCOMPARE(t.records[2].line, 3);

    // A value the radio has no place for is moved and reported as adjusted, never as imported.
    Document doc;
    doc.SetCountryMode(1);
    doc.NewDocument();
    const QByteArray csv = "Location,Frequency,Power\r"
                           "2,28.5,-1W\r"
                           "3,28.6,1e9W\r"
                           "4,27.999999999,4W\r"
                           "5,28.7,2W\r";
    const ChannelImportReport r = ImportChannelsCsv(doc, csv);
    QVERIFY(!r.refused());
    QCOMPARE(r.rows.size(), 4);
    const QList<QPair<RowOutcome, int>> expect = {{RowOutcome::Adjusted, 14976},
                                                  {RowOutcome::Adjusted, 14976},
                                                  {RowOutcome::Adjusted, 14936},
                                                  {RowOutcome::Imported, 0}};
    for (int i = 0; i < expect.size(); ++i) {
        QVERIFY2(r.rows[i].outcome == expect[i].first, qPrintable(r.lines().join(u'\n')));
        if (expect[i].second) QCOMPARE(r.rows[i].notes.first().id, expect[i].second);
    }
    QCOMPARE(doc.Channel(2)->Tx_Power, 0);
    QCOMPARE(doc.Channel(3)->Tx_Power, 2);
    QCOMPARE(doc.Channel(4)->RxFre.text(), u"02800000"_s);
    QCOMPARE(doc.Channel(5)->Tx_Power, 1);
    QCOMPARE(r.count(RowOutcome::Imported), 1);
}

void TestChannelCsv::cbModeRules() {
    Document doc;
    doc.SetCountryMode(0);
    doc.NewDocument();
    addPlan(doc);
    const QByteArray csv = "Location,Frequency,Mode,Comment\n"
                           "121,27.601250,AM,\n" // UK 1: listed frequency, FM only
                           "2,26.975000,FM,\n"   // EU 2 as planned
                           "3,27.500000,FM,\n"   // EU 3 holds another frequency
                           "41,27.000000,FM,\n"  // CE 1 is not programmed
                           "380,27.000000,FM,\n" // no group in CB mode
                           "402,27.62125,FM,RogerBeep=7 DTMF-BOT=3\n" // MEM 1
                           "403,28.01125,FM,\n"                       // MEM 2: no plan channel
                           "404,28.5,FM,\n"; // MEM 3: no plan channel either
    const ChannelImportReport r = ImportChannelsCsv(doc, csv);
    QVERIFY2(rowAtLine(r, 2)->outcome == RowOutcome::Adjusted, qPrintable(r.lines().join(u'\n')));
    QCOMPARE(rowAtLine(r, 2)->notes.first().id, 14923);
    QCOMPARE(doc.Channel(121)->AM_FM, 0);
    QCOMPARE(doc.Channel(121)->RxFre.text(), u"02760100"_s);
    QCOMPARE(rowAtLine(r, 3)->outcome, RowOutcome::Imported);
    QCOMPARE(rowAtLine(r, 4)->notes.first().id, 14911);
    QCOMPARE(rowAtLine(r, 5)->notes.first().id, 14912);
    QCOMPARE(rowAtLine(r, 6)->notes.first().id, 14906);
    QVERIFY(!doc.Channel(41));
    // A MEM channel takes a plan channel's frequency (UK 3 as listed); references to tone tips
    // and codes the document lacks become Off.
    const ImportRowReport* mem = rowAtLine(r, 7);
    QCOMPARE(mem->outcome, RowOutcome::Adjusted);
    QCOMPARE(doc.Channel(402)->RxFre.text(), u"02762100"_s); // UK 3
    QCOMPARE(doc.Channel(402)->RBTone, 0);
    QCOMPARE(doc.Channel(402)->DTMF_BOT, 0);
    QList<int> ids;
    for (const TextNote& n : mem->notes)
        ids << n.id;
    QVERIFY2(ids.contains(14924) && ids.contains(14925), qPrintable(r.lines().join(u'\n')));
    // What no plan channel has is refused, near the plans or far from them.
    for (int line : {8, 9}) {
        QCOMPARE(rowAtLine(r, line)->outcome, RowOutcome::Skipped);
        QCOMPARE(rowAtLine(r, line)->notes.first().id, 14972);
    }
}

void TestChannelCsv::columnsNotReadAreNamed() {
    // A column named twice and one that is no channel column are told before the rows; only
    // the first of two columns with one name is read.
    UseStagedLanguage();
    Document doc;
    doc.SetCountryMode(1);
    doc.NewDocument();
    const ChannelImportReport r =
        ImportChannelsCsv(doc, "Location,Frequency,Frequency,Colour\n5,28.5,29.0,red\n");
    const QStringList lines = r.lines();
    QVERIFY2(lines.value(0).contains(u"\"Frequency\" is given twice"_s),
             qPrintable(lines.join('\n')));
    QVERIFY2(lines.value(1).contains(u"\"Colour\" not read"_s), qPrintable(lines.join('\n')));
    QCOMPARE(doc.Channel(5)->RxFre.text(), u"02850000"_s);
}

void TestChannelCsv::intoOneGroup() {
    Document doc;
    doc.SetCountryMode(1);
    doc.NewDocument();
    const QByteArray csv = "Location,Name,Frequency\n"
                           "1,x,28.000000\n"
                           "1,y,28.100000\n"
                           "1,z,28.200000\n";
    ChannelImportOptions o;
    o.group = 1; // "B"
    o.startRow = 39;
    const ChannelImportReport r = ImportChannelsCsv(doc, csv, o);
    QCOMPARE(r.rows.size(), 3);
    QCOMPARE(r.rows[0].where, u"B 39"_s);
    QCOMPARE(doc.Channel(79)->RxFre.text(), u"02800000"_s);
    QCOMPARE(doc.Channel(80)->RxFre.text(), u"02810000"_s);
    QCOMPARE(r.rows[2].outcome, RowOutcome::Skipped);
    QCOMPARE(r.rows[2].notes.first().id, 14907);
    // Without the group the Location column is needed, with it not.
    const QByteArray noLocation = "Frequency\n28.0\n";
    QCOMPARE(ImportChannelsCsv(doc, noLocation).refusal.id, 9753);
    QVERIFY(!ImportChannelsCsv(doc, noLocation, o).refused());
}

void TestChannelCsv::importReportLines_data() {
    QTest::addColumn<QByteArray>("row"); // one row under the header below
    QTest::addColumn<int>("group");      // -1: to its Location; else from row 3 of it
    QTest::addColumn<RowOutcome>("outcome");
    QTest::addColumn<QString>("line"); // the report's line of the row, in English
    using O = RowOutcome;
    const QString dropped = u"(dropped: the radio keeps no channel names)"_s;
    QTest::newRow("empty row") << QByteArray(",,,,") << -1 << O::Empty
                               << u"Line 2: empty row, skipped"_s;
    QTest::newRow("blank cells") << QByteArray(" , ,\t, ,") << -1 << O::Empty
                                 << u"Line 2: empty row, skipped"_s;
    QTest::newRow("empty row at its place")
        << QByteArray("5,,,,") << -1 << O::Empty << u"Line 2, A 5: empty row, skipped"_s;
    QTest::newRow("only a name") << QByteArray("5,Home,,,") << -1 << O::Empty
                                 << u"Line 2, A 5: empty row, skipped"_s;
    QTest::newRow("empty row in a group")
        << QByteArray(",,,,") << 1 << O::Empty << u"Line 2, B 3: empty row, skipped"_s;
    QTest::newRow("the export's label is no name")
        << QByteArray("7,a 7,28.100000,FM,") << -1 << O::Imported << u"Line 2, A 7: imported"_s;
    QTest::newRow("the label of the Location, into a group")
        << QByteArray("7,A 7,28.100000,FM,") << 1 << O::Imported << u"Line 2, B 3: imported"_s;
    QTest::newRow("name dropped") << QByteArray("7,Home,28.100000,FM,") << -1 << O::Adjusted
                                  << u"Line 2, A 7: adjusted: Name: \"Home\" "_s + dropped;
    QTest::newRow("long name dropped, value adjusted")
        << QByteArray("7,Repeater Hill North 2,28.00625,NFM,") << -1 << O::Adjusted
        << u"Line 2, A 7: adjusted: Frequency: 28.006250 -> 28.00500 (lowered to the 5 kHz "
           "raster of the band); Mode: NFM -> FM (the radio's FM is narrow FM); Name: "
           "\"Repeater Hill North 2\" "_s +
               dropped;
    QTest::newRow("control characters in a name")
        << QByteArray("7,\x1b[2JX,28.1,FM,") << -1 << O::Adjusted
        << u"Line 2, A 7: adjusted: Name: \"?[2JX\" "_s + dropped;
    QTest::newRow("a skipped row says nothing of its name")
        << QByteArray("7,Home,146.52,FM,") << -1 << O::Skipped
        << u"Line 2, A 7: skipped: 146.52 MHz is outside the band 28.000 - 29.700 MHz"_s;
}

void TestChannelCsv::importReportLines() {
    QFETCH(QByteArray, row);
    QFETCH(int, group);
    QFETCH(RowOutcome, outcome);
    QFETCH(QString, line);
    UseStagedLanguage();
    Document doc;
    NewDocumentInMode(doc, 2);
    const auto before = doc.CHInfo;
    ChannelImportOptions o;
    if (group >= 0) {
        o.group = group;
        o.startRow = 3;
    }
    const ChannelImportReport r =
        ImportChannelsCsv(doc, "Location,Name,Frequency,Mode,Comment\n" + row + "\n", o);
    QVERIFY(!r.refused());
    QCOMPARE(r.rows.size(), 1);
    QCOMPARE(r.rows.first().outcome, outcome);
    const QStringList lines = r.lines();
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.first(), line);
    // An empty or skipped row changes nothing, and counts as skipped.
    if (outcome == RowOutcome::Empty || outcome == RowOutcome::Skipped) {
        QVERIFY(doc.CHInfo == before);
        QVERIFY2(lines.last().endsWith(u"1 skipped."_s), qPrintable(lines.last()));
    }
    UseStagedLanguage(Language::English);
}

void TestChannelCsv::malformedFilesChangeNothing_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("refusal");
    QTest::newRow("empty") << QByteArray() << 9751;
    QTest::newRow("binary") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16) << 9096;
    QTest::newRow("other columns") << QByteArray("Name,Freq\nA,28.0\n") << 9753;
    QTest::newRow("no frequency column") << QByteArray("Location,Name\n1,A\n") << 9753;
    QTest::newRow("open quote") << QByteArray("Location,Frequency\n1,\"28.0\n") << 9754;
}

void TestChannelCsv::malformedFilesChangeNothing() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, refusal);
    Document doc, before;
    for (Document* d : {&doc, &before}) {
        d->SetCountryMode(1);
        d->NewDocument();
    }
    const ChannelImportReport r = ImportChannelsCsv(doc, bytes);
    QCOMPARE(r.refusal.id, refusal);
    QVERIFY(r.rows.isEmpty());
    QVERIFY(DiffDocuments(before, doc).isEmpty());
}

MZ_TEST_GUILESS_MAIN(TestChannelCsv)
#include "tst_channelcsv.moc"
