// The printed report read back from its PDF: every channel of every group in use on a line of
// its own under its group's caption (repeated on each page), the settings, keys and DTMF
// codes, in English and in Chinese.

#include "core/files/printreport.h"
#include "core/model/settingsforms.h"
#include "core/model/tones.h"
#include "support/documentbuilders.h"
#include "support/pdftext.h"
#include "support/richdocument.h"
#include "support/testmain.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

class TestPrintReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

    QStringList pdfOf(const Document& doc, const QString& name) {
        const QString path = dir_.filePath(name);
        QString error;
        if (!WritePdf(doc, path, &error)) {
            qWarning() << error;
            return {};
        }
        return PdfPages(path);
    }

private slots:
    void init() {
        if (PdfToTextProgram().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
    }
    void cleanup() { UseStagedLanguage(Language::English); }

    void everyChannelUnderItsGroup_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("language");
        for (int language : {1, 2})
            for (int mode : {0, 1, 2})
                QTest::addRow("mode %d, %s", mode, language == 1 ? "English" : "Chinese")
                    << mode << language;
    }
    void everyChannelUnderItsGroup() {
        QFETCH(int, mode);
        QFETCH(int, language);
        UseStagedLanguage(language);
        Document doc;
        FillRichDocument(doc, mode);
        // Full groups run over pages.
        for (int g = 0; g < 3; ++g)
            ProgramRows(doc, g, 1, GroupSize(g, mode));
        doc.CurFileName = QStringLiteral("/somewhere/rich.dat");
        const QStringList pages =
            pdfOf(doc, QStringLiteral("rich%1%2.pdf").arg(mode).arg(language));
        QVERIFY(pages.size() > 2);

        // The channels as the channel window lists them: group by group, row by row.
        QHash<QString, QString> expected; // "group row" -> "row frequency"
        for (int g = 0; g < GroupCount(mode); ++g)
            for (int row = 1; row <= GroupSize(g, mode); ++row)
                if (const CHInfoRec* c = doc.Channel(FirstCHOfGroup(g, mode) + row))
                    expected.insert(GroupName(g, mode) + u' ' + QString::number(row),
                                    QStringLiteral("%1 %2").arg(row).arg(
                                        doc.FreToListText(c->RxFre.text(), g)));
        QVERIFY(expected.size() > 40);

        const QRegularExpression rowLine(QStringLiteral("^\\s*(\\d+)\\s+(\\d+\\.\\d+)\\s"),
                                         QRegularExpression::MultilineOption);
        const QRegularExpression caption(QRegularExpression::escape(LoadLangText(14050)) +
                                         QStringLiteral(":\\s*(\\S+)"));
        QHash<QString, QString> found;
        for (const QString& page : pages) {
            for (auto m = rowLine.globalMatch(page); m.hasNext();) {
                const QRegularExpressionMatch r = m.next();
                // The caption above the row, on the same page, names the row's group.
                const QString before = page.left(r.capturedStart());
                QRegularExpressionMatch last;
                for (auto c = caption.globalMatch(before); c.hasNext();)
                    last = c.next();
                QVERIFY2(last.hasMatch(), qPrintable("no caption above " + r.captured(0)));
                const QString slot = last.captured(1) + u' ' + r.captured(1);
                QVERIFY2(!found.contains(slot), qPrintable(slot));
                found.insert(slot, r.captured(1) + u' ' + r.captured(2));
            }
        }
        QCOMPARE(found, expected);

        const QString all = pages.join(QLatin1Char('\n'));
        // Labels and values of the settings, keys and DTMF codes.
        for (int id : {12000, 16000, 16003, 16101, 25000, 25007, 18000, 18003, 18005, 15600})
            QVERIFY2(all.contains(LoadLangText(id)), qPrintable(LoadLangText(id)));
        for (const char* value : {"NULL", "DIM", "0123456789ABCD*#", "55#", "rich.dat"})
            QVERIFY2(all.contains(QLatin1String(value)), value);
        // A ligature would hide "Off" from a search in the PDF.
        QVERIFY(!all.contains(QChar(0xFB00)));
        QVERIFY(all.contains(QStringLiteral("Off")));
        if (language == 2) QVERIFY(all.contains(QStringLiteral("信道")));
    }

    // Tones read as a person says them, and a changed document says it is not saved.
    void tonesInWordsAndTheUnsavedMark() {
        Document doc;
        NewDocumentInMode(doc, 1);
        ProgramRows(doc, 0, 1, 1);
        doc.CHInfo[0].Public = 0;
        doc.CHInfo[0].RDCT = 8;                      // CTCSS 88.5 Hz
        doc.CHInfo[0].TDCT = CtcssCount + 1;         // DCS 023
        doc.RadioData.PublicCH.RDCT = ToneCount - 1; // DCS 754, in Optional Features
        doc.CurFileName = QStringLiteral("/somewhere/tones.dat");
        doc.ToFileCopy();
        QString text = BuildPrintReport(doc)->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("88.5 Hz")), qPrintable(text.left(2000)));
        QVERIFY(text.contains(QStringLiteral("D023N")));
        QVERIFY(!text.contains(QStringLiteral("C_0")));
        QVERIFY(!text.contains(QStringLiteral("D_0")));
        QVERIFY(text.contains(QStringLiteral("D754N")));
        QVERIFY(!text.contains(QStringLiteral("D_1")));
        QVERIFY(!text.contains(LoadLangText(9705)));
        doc.CHInfo[0].Scan = doc.CHInfo[0].Scan ? 0 : 1;
        QVERIFY(doc.IsDataChanged());
        text = BuildPrintReport(doc)->toPlainText();
        QVERIFY(text.contains(QStringLiteral("tones.dat ") + LoadLangText(9705)));
    }

    // Each column of a channel table says something of its own: no name twice, and no column
    // that holds what another holds on every row of a group (a channel number beside the row
    // number repeats it in the first group).
    void noColumnRepeatsAnother_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("language");
        for (int mode : {0, 1, 2})
            QTest::addRow("mode %d", mode) << mode << 1;
        QTest::addRow("mode 1, Chinese") << 1 << 2;
    }
    void noColumnRepeatsAnother() {
        QFETCH(int, mode);
        QFETCH(int, language);
        UseStagedLanguage(language);
        Document doc;
        FillRichDocument(doc, mode);
        const std::unique_ptr<QTextDocument> report = BuildPrintReport(doc);
        const auto cell = [](QTextTable* t, int r, int c) {
            const QTextTableCell x = t->cellAt(r, c);
            QTextCursor from = x.firstCursorPosition();
            from.setPosition(x.lastCursorPosition().position(), QTextCursor::KeepAnchor);
            return from.selectedText().trimmed();
        };
        int tables = 0;
        for (QTextFrame* f : report->rootFrame()->childFrames()) {
            auto* t = qobject_cast<QTextTable*>(f);
            // The channel tables: a caption, then the column names from CH on.
            if (!t || t->format().headerRowCount() != 2 || cell(t, 1, 0) != LoadLangText(14001))
                continue;
            ++tables;
            QStringList heads;
            QList<QStringList> columns(t->columns()); // the group's rows, column by column
            for (int c = 0; c < t->columns(); ++c) {
                heads << cell(t, 1, c);
                for (int r = 2; r < t->rows(); ++r)
                    columns[c] << cell(t, r, c);
            }
            QVERIFY(heads.size() >= 10);
            for (int a = 0; a < heads.size(); ++a)
                for (int b = a + 1; b < heads.size(); ++b) {
                    const QString pair = cell(t, 0, 0).section(u' ', 0, 1) + QStringLiteral(": ") +
                                         heads.at(a) + QStringLiteral(" / ") + heads.at(b);
                    QVERIFY2(heads.at(a) != heads.at(b), qPrintable(pair));
                    // A group of a few rows may hold one value twice by chance, not on all.
                    if (columns.at(a).size() >= 5)
                        QVERIFY2(columns.at(a) != columns.at(b), qPrintable(pair));
                }
        }
        QVERIFY(tables >= 5);
    }

    void tablesRepeatTheirCaptionOnEveryPage() {
        Document doc;
        FillRichDocument(doc, 1);
        const std::unique_ptr<QTextDocument> report = BuildPrintReport(doc);
        QList<QTextTable*> tables;
        for (QTextFrame* f : report->rootFrame()->childFrames())
            if (auto* t = qobject_cast<QTextTable*>(f)) tables << t;
        // The title block, then groups A to J, VFO and MEM, the options, keys, DTMF settings
        // and codes, each with its caption (and column names) as header rows.
        QCOMPARE(tables.size(), 1 + 12 + 4);
        for (QTextTable* t : tables.mid(1))
            QVERIFY(t->format().headerRowCount() >= 1);
        QCOMPARE(tables.at(1)->format().headerRowCount(), 2);
    }

    void failuresNameTheFile() {
        Document doc;
        doc.NewDocument();
        QString error;
        const QString missing = dir_.filePath(QStringLiteral("missing/report.pdf"));
        QVERIFY(!WritePdf(doc, missing, &error));
        QVERIFY2(error.contains(missing), qPrintable(error));
        QVERIFY(!QFile::exists(missing));

        QVERIFY(QDir(dir_.path()).mkpath(QStringLiteral("folder.pdf")));
        QVERIFY(!WritePdf(doc, dir_.filePath(QStringLiteral("folder.pdf")), &error));
        QVERIFY2(error.contains(QStringLiteral("folder.pdf")), qPrintable(error));
        QVERIFY(QFileInfo(dir_.filePath(QStringLiteral("folder.pdf"))).isDir());
    }
};

MZ_TEST_MAIN(TestPrintReport)
#include "tst_printreport.moc"
