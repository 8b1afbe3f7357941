// Channel rows as spreadsheet text: what a copy puts on the clipboard (a header and the values
// of the CSV file, read by an independent csv reader), the paste of that text into another
// group, sheets with other columns and orders, and a report that adds up.

#include "core/files/channelcsv.h"
#include "core/files/channelsheet.h"
#include "core/model/channeledit.h"
#include "core/model/channelrows.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "support/documentbuilders.h"
#include "support/testmain.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr int A = 0, B = 1, EU = 0, CE = 1;

// A bank document with rows 1..6 of A, each with values of its own (row 4 stays empty).
void bankDocument(Document& d) {
    NewDocumentInMode(d, 1);
    const int base = FirstCHOfGroup(A, 1);
    while (d.FindChannel(base + 1) >= 0)
        d.DeleteChannel(d.FindChannel(base + 1));
    for (int r : {1, 2, 3, 5, 6})
        d.AddChannel(base + r, FormatFre(28.0 + 0.01 * r));
    auto set = [&](int r, int id, int v) {
        const EditResult e = EditChannelField(d, base + r, id, QString::number(v));
        QVERIFY2(e.outcome == EditOutcome::Stored, qPrintable(e.reason.text()));
    };
    set(1, FldPublic, 0);
    set(1, FldRDCT, 12);
    set(1, FldTDCT, 12);
    set(2, FldPublic, 0);
    set(2, FldDUP, 1);
    set(2, FldOffSetFre, 600);
    set(2, FldTDCT, 50); // a DCS code on transmit only
    set(3, FldPublic, 0);
    set(3, FldAM_FM, 1);
    set(3, FldScan, 0);
    set(5, FldTSQ, 1);
}

// The text read by Python's csv module with the tab dialect, as a spreadsheet would read it.
QList<QStringList> readByPython(const QString& text) {
    QProcess p;
    p.start(u"python3"_s,
            {u"-c"_s, u"import csv, io, json, sys\n"
                      "rows = list(csv.reader(io.StringIO(sys.stdin.read(), newline=''), "
                      "dialect='excel-tab'))\n"
                      "print(json.dumps(rows))"_s});
    p.write(text.toUtf8());
    p.closeWriteChannel();
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    QList<QStringList> rows;
    for (const QJsonValue& row : QJsonDocument::fromJson(p.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue& c : row.toArray())
            cells << c.toString();
        rows << cells;
    }
    return rows;
}

QList<CHInfoRec> rowsOf(const Document& d, int group, int first, int last) {
    QList<CHInfoRec> out;
    for (int r = first; r <= last; ++r) {
        CHInfoRec c;
        if (const CHInfoRec* rec = d.Channel(FirstCHOfGroup(group, d.CountryMode) + r)) c = *rec;
        c.CHNo = 0;
        out << c;
    }
    return out;
}

int column(const QString& name) {
    return static_cast<int>(ChannelCsvColumns().indexOf(name));
}

} // namespace

class TestChannelSheet : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(); }

    void copiedRowsAreReadableByASpreadsheetAndPasteBack() {
        Document d;
        bankDocument(d);
        const QString text = ChannelSheetText(CopyRows(d, A, 1, 6));
        const QList<QStringList> rows = readByPython(text);
        QCOMPARE(rows.size(), 7);
        QCOMPARE(rows[0], ChannelCsvColumns());
        // Readable values, the same as the CSV export writes.
        const QStringList r1 = rows[1], r2 = rows[2], r3 = rows[3];
        QCOMPARE(r1[column(u"Name"_s)], u"A 1"_s);
        QCOMPARE(r1[column(u"Frequency"_s)], u"28.010000"_s);
        QCOMPARE(r1[column(u"Tone"_s)], u"TSQL"_s);
        QCOMPARE(r2[column(u"Duplex"_s)], u"+"_s);
        QCOMPARE(r2[column(u"Offset"_s)], u"0.600000"_s);
        QCOMPARE(r2[column(u"Tone"_s)], u"Cross"_s);
        QCOMPARE(r3[column(u"Mode"_s)], u"AM"_s);
        QCOMPARE(r3[column(u"Skip"_s)], u"S"_s);
        QCOMPARE(r3[column(u"Power"_s)], u"1W"_s);
        QCOMPARE(rows[4][column(u"Frequency"_s)], QString()); // the empty row
        const QByteArray exported = ExportChannelsCsv(d).csv;
        QVERIFY(exported.contains(r1.join(u',').toUtf8()));

        // Pasted back into A with the cursor anywhere: the Location column puts every row on
        // its own channel, which it leaves as it was.
        const auto a = rowsOf(d, A, 1, 6);
        const SheetPasteReport same = PasteChannelSheet(d, A, 30, text);
        QCOMPARE(same.rows.adjusted() + same.rows.skipped(), 0);
        QCOMPARE(rowsOf(d, A, 1, 6), a);

        // Without its Location column, pasted into B at row 11: the same channels there.
        QStringList lines = text.split(u'\n');
        for (QString& line : lines)
            line = line.section(u'\t', 1);
        ProgramRows(d, B, 14, 14); // the empty row empties its target
        const SheetPasteReport rep = PasteChannelSheet(d, B, 11, lines.join(u'\n'));
        QVERIFY(!rep.rows.refused());
        QCOMPARE(rep.dataRows, 6);
        QCOMPARE(rep.rows.adjusted() + rep.rows.skipped(), 0);
        QCOMPARE(rep.rows.changedRows, 6);
        QCOMPARE(rowsOf(d, B, 11, 16), rowsOf(d, A, 1, 6));
        // The Name column is the slot the row came from; the radio keeps no names.
        QCOMPARE(rep.rows.remarks.size(), 1);
        QVERIFY(rep.rows.lines().first().contains(u"\"Name\" not read"_s));
    }

    void sheetsAreReadByColumnName() {
        struct Case {
            const char* name;
            QString text;
            QStringList frequencies; // rows 1.. of B afterwards (stored form)
            int changed, adjusted, skipped;
            QStringList reportHas;
        };
        const QList<Case> cases = {
            {"name and frequency, in that order",
             u"Name\tFrequency\r\nFirst\t28.5\r\nSecond\t28.6025\r\nThird\tx\r\nFourth\t28.7\r\n"_s,
             {u"02850000"_s, u"02860000"_s, QString(), u"02870000"_s},
             2,
             1,
             1,
             {u"\"Name\" not read"_s, u"B 2"_s, u"off the 5 kHz raster"_s, u"B 3"_s,
              u"\"x\" is not a number"_s}},
            {"unknown column, any order, any case",
             u"mode\tColour\tfrequency\tSKIP\nAM\tred\t28.1\tS\n"_s,
             {u"02810000"_s},
             1,
             0,
             0,
             {u"\"Colour\" not read: no such channel column"_s}},
            {"no header: the export's column order",
             u"7\tA 7\t28.3\t\t0.000000\t\t88.5\t88.5\t023\tNN\t023\tTone->Tone\tFM\n"_s,
             {u"02830000"_s},
             1,
             0,
             0,
             {}},
        };
        for (const Case& c : cases) {
            Document d;
            NewDocumentInMode(d, 1);
            const SheetPasteReport rep = PasteChannelSheet(d, B, 1, c.text);
            QVERIFY2(!rep.rows.refused(), c.name);
            QCOMPARE(rep.rows.changedRows, c.changed);
            QCOMPARE(rep.rows.adjusted(), c.adjusted);
            QCOMPARE(rep.rows.skipped(), c.skipped);
            // The report adds up to the data rows.
            QCOMPARE(rep.rows.changedRows + rep.rows.adjusted() + rep.rows.skipped(), rep.dataRows);
            for (int r = 1; r <= c.frequencies.size(); ++r) {
                const CHInfoRec* ch = d.Channel(FirstCHOfGroup(B, 1) + r);
                QCOMPARE(ch ? ch->RxFre.text() : QString(), c.frequencies[r - 1]);
            }
            const QString lines = rep.rows.lines().join(u'\n');
            for (const QString& s : c.reportHas)
                QVERIFY2(lines.contains(s), qPrintable(QLatin1String(c.name) + u": "_s + lines));
        }
        // The mode and skip columns were read by name, in another order.
        Document d;
        NewDocumentInMode(d, 1);
        PasteChannelSheet(d, B, 1, cases[1].text);
        const CHInfoRec* ch = d.Channel(FirstCHOfGroup(B, 1) + 1);
        QVERIFY(ch);
        QCOMPARE(ch->AM_FM, i16(1));
        QCOMPARE(ch->Scan, i16(0));
    }

    void planRowsKeepTheirFrequencies() {
        Document d;
        NewDocumentInMode(d, 0);
        ProgramRows(d, EU, 1, 40);
        ProgramRows(d, CE, 1, 40);
        d.Channel(FirstCHOfGroup(EU, 0) + 19)->TSQ = 1;
        const QString ce19 = d.Channel(FirstCHOfGroup(CE, 0) + 19)->RxFre.text();
        const SheetPasteReport rep =
            PasteChannelSheet(d, CE, 19, ChannelSheetText(CopyRows(d, EU, 19, 19)));
        QVERIFY(!rep.rows.refused());
        QCOMPARE(d.Channel(FirstCHOfGroup(CE, 0) + 19)->RxFre.text(), ce19);
        QCOMPARE(d.Channel(FirstCHOfGroup(CE, 0) + 19)->TSQ, i16(1));
        QCOMPARE(rep.rows.changedRows + rep.rows.adjusted() + rep.rows.skipped(), 1);
        // Empty rows: a programmed plan row is kept and named, an empty one stays empty.
        const int ce40 = FirstCHOfGroup(CE, 0) + 40;
        d.DeleteChannel(d.FindChannel(ce40));
        const QString empties = u"Location\tName\tFrequency\n79\tCE 39\t\n80\tCE 40\t\n"_s;
        const SheetPasteReport kept = PasteChannelSheet(d, CE, 1, empties);
        QCOMPARE(kept.rows.skipped(), 1);
        QCOMPARE(kept.rows.changedRows, 1);
        QVERIFY(kept.rows.lines().join(u'\n').contains(u"CE 39: kept"_s));
        QVERIFY(d.Channel(FirstCHOfGroup(CE, 0) + 39));
        QVERIFY(!d.Channel(ce40));
    }

    void planGroupPasteHonoursLocation() {
        // Rows land on the plan channel their Location names, else the one with their
        // frequency, whatever row the cursor is on; the plan keeps its frequencies.
        Document d;
        NewDocumentInMode(d, 0);
        ProgramRows(d, EU, 1, 40);
        const auto before = rowsOf(d, EU, 5, 8);
        const QString text = u"Location\tFrequency\tTone\trToneFreq\n"
                             "19\t27.185\tTone\t88.5\n"
                             "9\t27.065\tTone\t88.5\n"
                             "\t27.0\tTone\t88.5\n"
                             "\t26.5\t\t\n"
                             "\t27.205\tTSQL\t100.0\n"_s;
        const SheetPasteReport rep = PasteChannelSheet(d, EU, 5, text);
        QVERIFY(!rep.rows.refused());
        const int base = FirstCHOfGroup(EU, 0);
        QCOMPARE(d.Channel(base + 19)->TDCT, i16(8)); // 88.5 Hz
        QCOMPARE(d.Channel(base + 19)->RxFre.text(), u"02718500"_s);
        QCOMPARE(d.Channel(base + 9)->TDCT, i16(8));
        // TSQL with only rToneFreq: cToneFreq's default both ways, and the report says so.
        QCOMPARE(d.Channel(base + 20)->TDCT, i16(8));
        QCOMPARE(d.Channel(base + 20)->RDCT, i16(8));
        QVERIFY(rowsOf(d, EU, 5, 8) == before); // the cursor's rows are untouched
        QCOMPARE(rep.rows.skipped(), 2);
        QCOMPARE(rep.rows.changedRows + rep.rows.adjusted() + rep.rows.skipped(), rep.dataRows);
        const QString lines = rep.rows.lines().join(u'\n');
        QVERIFY2(lines.contains(u"27.0 MHz is not a channel of the EU plan"_s), qPrintable(lines));
        QVERIFY2(lines.contains(u"26.5 MHz"_s), qPrintable(lines));
        QVERIFY2(lines.contains(u"88.5 Hz"_s), qPrintable(lines));
    }

    void bankPastePlacesByLocationOnlyWithItsHeader() {
        const struct {
            const char* name;
            QString text;
            QStringList frequencies; // rows 1..5 of B afterwards
            int skipped;
            const char* reportHas;
        } cases[] = {
            {"Location in the header: by number",
             u"Location\tFrequency\n45\t28.5\n3\t28.6\n"_s,
             {QString(), QString(), QString(), QString(), u"02850000"_s},
             1,
             "Location 3"},
            {"no Location: from the cursor on",
             u"Frequency\tMode\n28.5\tFM\n28.6\tFM\n"_s,
             {QString(), u"02850000"_s, u"02860000"_s, QString(), QString()},
             0,
             ""},
            {"a column named twice",
             u"Frequency\tFrequency\n28.5\t29.0\n"_s,
             {QString(), u"02850000"_s, QString(), QString(), QString()},
             0,
             "\"Frequency\" is given twice"},
            {"out of the band: skipped, not moved to the edge",
             u"Frequency\n31\n"_s,
             {QString(), QString(), QString(), QString(), QString()},
             1,
             "outside the band"},
        };
        for (const auto& c : cases) {
            Document d;
            NewDocumentInMode(d, 1);
            const SheetPasteReport rep = PasteChannelSheet(d, B, 2, c.text);
            QVERIFY2(!rep.rows.refused(), c.name);
            for (int r = 1; r <= 5; ++r) {
                const CHInfoRec* ch = d.Channel(FirstCHOfGroup(B, 1) + r);
                QCOMPARE(ch ? ch->RxFre.text() : QString(), c.frequencies[r - 1]);
            }
            QCOMPARE(rep.rows.skipped(), c.skipped);
            const QString lines = rep.rows.lines().join(u'\n');
            QVERIFY2(lines.contains(QLatin1String(c.reportHas)), qPrintable(lines));
        }
    }

    void whatIsNoSheetIsRefused() {
        Document d;
        NewDocumentInMode(d, 1);
        QVERIFY(LooksLikeChannelSheet(u"Name\tFrequency\nEU 19\t27.185\n"_s));
        QVERIFY(!LooksLikeChannelSheet(u"Dear friends,\nhello\n"_s));
        QVERIFY(PasteChannelSheet(d, B, 1, u"Frequency\tName\n"_s).rows.refused());
        QVERIFY(PasteChannelSheet(d, B, 1, QString(MaxChannelTextChars + 1, u'1')).rows.refused());
    }
};

MZ_TEST_GUILESS_MAIN(TestChannelSheet)
#include "tst_channelsheet.moc"
