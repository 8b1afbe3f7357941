// File > Print, the toolbar's Print and File > Export PDF in the main window: the preview
// opens on the report and can be used with the keyboard, it goes when the main window goes,
// and the export writes what is being typed, or says why it could not.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "app/printcommands.h"
#include "support/pdftext.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSet>
#include <QToolButton>

using namespace Qt::StringLiterals;

class TestPrintGui : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;

    void start(int language) {
        build(prompter, language, [](Document& d) {
            d.SetCountryMode(1);
            d.NewDocument();
            d.ToFileCopy();
        });
        main->printCommands().setChooser([this] { return chosen; });
        show();
    }
    QPrintPreviewDialog* openPreview(const char* command) {
        child<QAction>(main.get(), command)->trigger();
        return main->findChild<QPrintPreviewDialog*>(QStringLiteral("dlgPrintPreview"));
    }

private slots:
    void cleanup() { reset(); }

    void previewOfTheReport_data() {
        QTest::addColumn<QByteArray>("command");
        QTest::addColumn<int>("language");
        QTest::newRow("menu") << QByteArray("mnuFilePrint") << 1;
        QTest::newRow("toolbar") << QByteArray("Print") << 1;
        QTest::newRow("menu, Chinese") << QByteArray("mnuFilePrint") << 2;
    }
    void previewOfTheReport() {
        QFETCH(QByteArray, command);
        QFETCH(int, language);
        start(language);
        QVERIFY(child<QAction>(main.get(), command.constData())->isEnabled());
        QPointer<QPrintPreviewDialog> dlg = openPreview(command.constData());
        QVERIFY(dlg);
        QTRY_VERIFY(dlg->isVisible());
        QCOMPARE(dlg->windowModality(), Qt::WindowModal);
        QVERIFY(dlg->windowTitle().startsWith(LoadLangText(9934)));
        auto* pages = dlg->findChild<QPrintPreviewWidget*>(QStringLiteral("PreviewPages"));
        QVERIFY(pages);
        QTRY_VERIFY(pages->pageCount() >= 2); // the channels, then the settings
        // A second Print brings the open preview to the front.
        QCOMPARE(openPreview(command.constData()), dlg.data());
        QCOMPARE(main->findChildren<QPrintPreviewDialog*>().size(), 1);

        // Every control says what it is, and Tab reaches the toolbar's buttons.
        const auto buttons = dlg->findChildren<QToolButton*>();
        QVERIFY(buttons.size() > 10);
        for (QToolButton* b : buttons) {
            if (!b->isVisibleTo(dlg)) continue;
            QVERIFY2(!b->accessibleName().isEmpty(), qPrintable(b->toolTip()));
            QVERIFY(b->focusPolicy() & Qt::TabFocus);
        }
        for (QWidget* w : {static_cast<QWidget*>(dlg->findChild<QLineEdit*>(u"PreviewPage"_s)),
                           static_cast<QWidget*>(dlg->findChild<QComboBox*>(u"PreviewZoom"_s)),
                           static_cast<QWidget*>(pages)}) {
            QVERIFY(w);
            QVERIFY(!w->accessibleName().isEmpty());
        }
        QAction* print = nullptr;
        for (QAction* a : dlg->findChildren<QAction*>())
            if (a->shortcut() == QKeySequence(QKeySequence::Print)) print = a;
        QVERIFY(print);

        // Tab goes round the toolbar's commands and the pages.
        QApplication::setActiveWindow(dlg);
        pages->setFocus();
        QTRY_VERIFY(pages->hasFocus() || pages->isAncestorOf(QApplication::focusWidget()));
        QSet<QWidget*> reached;
        for (int i = 0; i < 40; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            reached.insert(QApplication::focusWidget());
        }
        int tools = 0;
        for (QWidget* w : reached)
            tools += qobject_cast<QToolButton*>(w) != nullptr;
        QVERIFY2(tools > 10, qPrintable(QString::number(tools)));

        // Escape closes it.
        QTest::keyClick(dlg, Qt::Key_Escape);
        QTRY_VERIFY(!dlg);
        QVERIFY(prompter.unexpected.isEmpty());
    }

    void shortcutOpensThePreview() {
        start(1);
        QApplication::setActiveWindow(main.get());
        QTRY_COMPARE(QApplication::activeWindow(), main.get());
        QTest::keySequence(main.get(), QKeySequence(u"Ctrl+Shift+P"_s));
        QPointer<QPrintPreviewDialog> dlg =
            main->findChild<QPrintPreviewDialog*>(QStringLiteral("dlgPrintPreview"));
        QVERIFY(dlg);
        QTRY_VERIFY(dlg->isVisible());
        dlg->close();
        QTRY_VERIFY(!dlg);
    }

    void printFromThePreview() {
        if (PdfToTextProgram().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        start(1);
        QPointer<QPrintPreviewDialog> dlg = openPreview("mnuFilePrint");
        QTRY_VERIFY(dlg && dlg->isVisible());
        // A printer that writes a file stands in for a real one, and the preview prints on it
        // as it does after its print dialog.
        const QString pdf = tree->dir.filePath(QStringLiteral("printed.pdf"));
        dlg->printer()->setOutputFormat(QPrinter::PdfFormat);
        dlg->printer()->setOutputFileName(pdf);
        dlg->findChild<QPrintPreviewWidget*>()->print();
        const QString text = PdfPages(pdf).join(u'\n');
        const CHInfoRec* first = doc->Channel(1);
        QVERIFY(first);
        QVERIFY2(text.contains(doc->FreToListText(first->RxFre.text(), 0)),
                 qPrintable(text.left(300)));
        QVERIFY(text.contains(LoadLangText(16000)));
    }

    void mainWindowGoesWhileThePreviewIsOpen_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("closed") << false;
        QTest::newRow("destroyed") << true;
    }
    void mainWindowGoesWhileThePreviewIsOpen() {
        QFETCH(bool, destroy);
        start(1);
        QPointer<QPrintPreviewDialog> dlg = openPreview("mnuFilePrint");
        QTRY_VERIFY(dlg && dlg->isVisible());
        if (destroy)
            main.reset();
        else
            QVERIFY(main->close());
        QTRY_VERIFY(!dlg);
    }

    void exportTakesTheTypedValue() {
        if (PdfToTextProgram().isEmpty()) QSKIP("pdftotext (poppler-utils) is not installed");
        start(1);
        typeFrequencyWithoutEnter("28.5");

        chosen = tree->dir.filePath(QStringLiteral("typed.pdf"));
        child<QAction>(main.get(), "mnuFileExportPdf")->trigger();
        const QString text = PdfPages(chosen).join(u'\n');
        // Row 2 of group A.
        QVERIFY(
            QRegularExpression(u"^\\s*2\\s+28\\.50000\\s"_s, QRegularExpression::MultilineOption)
                .match(text)
                .hasMatch());
        QVERIFY(main->statusMessage().contains(u"typed.pdf"_s));
        QVERIFY(prompter.unexpected.isEmpty());
    }

    void exportFailureIsTold() {
        start(1);
        chosen = tree->dir.filePath(QStringLiteral("missing/report.pdf"));
        prompter.expect(9932);
        QCOMPARE(main->printCommands().exportPdf(), QString());
        QCOMPARE(prompter.texts().size(), 1);
        QVERIFY(prompter.texts().constFirst().contains(chosen));
        QVERIFY(!QFile::exists(chosen));

        chosen.clear(); // cancelled: nothing is said or written
        prompter.reset();
        child<QAction>(main.get(), "mnuFileExportPdf")->trigger();
        QVERIFY(prompter.texts().isEmpty());
    }
};

MZ_TEST_MAIN(TestPrintGui)
#include "tst_printgui.moc"
