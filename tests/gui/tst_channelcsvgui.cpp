// File > Export channels... and File > Import channels... in the main window: the file
// written, the report shown before anything changes, Cancel and OK, the selected group as the
// target, and a refused file.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/channelcsvcommands.h"
#include "app/childwindows.h"
#include "app/frmmain.h"
#include "core/files/channelcsv.h"
#include "core/model/documentdiff.h"

#include <QAction>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>

using namespace Qt::StringLiterals;

class TestChannelCsvGui : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    QString chosen;

    void trigger(const char* name) { child<QAction>(main.get(), name)->trigger(); }
    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }
    void writeFile(const char* name, const QByteArray& bytes) {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The document as it is now, for comparing later.
    std::unique_ptr<Document> snapshot() const {
        auto d = std::make_unique<Document>();
        CopyDocumentImage(*doc, *d);
        return d;
    }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->channelCsv().setChooser([this](bool) { return chosen; });
        main->Load();
        main->show();
        doc->SetCountryMode(1);
        doc->NewDocument();
        doc->ToFileCopy();
        prompter.reset();
    }
    void cleanup() {
        main.reset();
        doc.reset();
        tree.reset();
    }

    void menuEntries() {
        for (auto [name, id] :
             {std::pair{"mnuFileExportChannels", 10900}, {"mnuFileImportChannels", 10901}}) {
            QAction* a = child<QAction>(main.get(), name);
            QVERIFY(a);
            QCOMPARE(a->text(), LoadLangText(id));
            QVERIFY(a->isVisible() && a->isEnabled());
        }
    }

    void exportWritesTheChannels() {
        chosen = file("out.csv");
        trigger("mnuFileExportChannels");
        QFile f(chosen);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), ExportChannelsCsv(*doc).csv);
        // A target that cannot be written is told, not ignored.
        chosen = file("no/such/folder/out.csv");
        prompter.expect(9757);
        trigger("mnuFileExportChannels");
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9757)));
    }

    void cancelLeavesTheDocumentAlone() {
        writeFile("in.csv", "Location,Frequency,Tone,rToneFreq\n5,28.0,Tone,88.5\n6,99,,\n");
        chosen = file("in.csv");
        const auto before = snapshot();
        QSignalSpy replaced(doc.get(), &Document::documentReplaced);
        QString report;
        onNextModal([&](QWidget* dlg) {
            report = child<QPlainTextEdit>(dlg, "TextReport")->toPlainText();
            QVERIFY(child<QPushButton>(dlg, "CommandCancel"));
            child<QPushButton>(dlg, "CommandCancel")->click();
        });
        trigger("mnuFileImportChannels");
        QVERIFY2(report.contains(u"Line 2, A 5: imported"_s), qPrintable(report));
        QVERIFY2(report.contains(u"Line 3, A 6: skipped"_s), qPrintable(report));
        QCOMPARE(replaced.size(), 0);
        QVERIFY(DiffDocuments(*before, *doc).isEmpty());
        QVERIFY(!doc->IsDataChanged());
    }

    void okTakesTheImportInOneStep() {
        writeFile("in.csv", "Location,Frequency,Tone,rToneFreq\n5,28.0,Tone,88.5\n");
        chosen = file("in.csv");
        QSignalSpy replaced(doc.get(), &Document::documentReplaced);
        onNextModal([](QWidget* dlg) { child<QPushButton>(dlg, "CommandOK")->click(); });
        trigger("mnuFileImportChannels");
        QCOMPARE(replaced.size(), 1);
        QVERIFY(doc->Channel(5));
        QCOMPARE(doc->Channel(5)->TDCT, 8);
        QVERIFY(doc->IsDataChanged());
    }

    void intoTheSelectedGroupAndRow() {
        main->ShowChildForm(u"frmCommChInfo"_s);
        auto* group = child<QComboBox>(main.get(), "Combo7");
        QVERIFY(group);
        group->setCurrentIndex(1); // "B"
        emit group->activated(1);
        auto* table = main->findChild<QTableView*>();
        QVERIFY(table);
        table->setCurrentIndex(table->model()->index(6, 1)); // row 7
        QCOMPARE(doc->CurRow, 7);
        writeFile("in.csv", "Location,Frequency\n1,28.0\n2,28.1\n");
        chosen = file("in.csv");
        QString report;
        onNextModal([&](QWidget* dlg) {
            auto* target = child<QComboBox>(dlg, "ComboTarget");
            QCOMPARE(target->count(), 2);
            target->setCurrentIndex(1);
            report = child<QPlainTextEdit>(dlg, "TextReport")->toPlainText();
            child<QPushButton>(dlg, "CommandOK")->click();
        });
        trigger("mnuFileImportChannels");
        QVERIFY2(report.contains(u"B 7: imported"_s) && report.contains(u"B 8: imported"_s),
                 qPrintable(report));
        QCOMPARE(doc->Channel(47)->RxFre.text(), u"02800000"_s);
        QCOMPARE(doc->Channel(48)->RxFre.text(), u"02810000"_s);
        QVERIFY(!doc->Channel(2));
    }

    void aFileThatIsNoChannelListIsRefused() {
        writeFile("picture.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0", 10));
        chosen = file("picture.csv");
        const auto before = snapshot();
        prompter.expect(9750);
        trigger("mnuFileImportChannels");
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9750)));
        // The file, the line and the bytes that are no text, escaped.
        QVERIFY2(prompter.asked[0].text.contains(chosen + u", line 1: "_s) &&
                     prompter.asked[0].text.contains(u"no text: \\x89PNG."_s),
                 qPrintable(prompter.asked[0].text));
        QVERIFY(DiffDocuments(*before, *doc).isEmpty());
        // Choosing no file does nothing at all.
        chosen.clear();
        trigger("mnuFileImportChannels");
        QCOMPARE(prompter.asked.size(), 1);
    }
};

MZ_TEST_MAIN(TestChannelCsvGui)
#include "tst_channelcsvgui.moc"
