// The manual inside the program: Help > Help Topics and F1 open it at the chapter of the window
// being worked in, in the program's language, and every chapter, picture and link it names is
// shipped.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "common/frmhelp.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBrowser>

namespace {
// The manual of the one help window that is open, or null.
FrmHelp* openHelp() {
    FrmHelp* found = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<FrmHelp*>(w); h && h->isVisible()) {
            if (found) qWarning("more than one help window");
            found = h;
        }
    return found;
}

void closeHelpWindows() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<FrmHelp*>(w)) delete w;
}
} // namespace

class TestHelpManual : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;

    void start(int language) {
        build(prompter, language);
        // The manual lies next to the program, as the build stages it.
        QVERIFY(QFile::link(QStringLiteral(MZ_PROGDIR "/manual"),
                            tree->progDir() + QStringLiteral("/manual")));
        show();
    }

private slots:
    void cleanup() {
        closeHelpWindows();
        reset();
    }

    // Every chapter exists in both languages, starts with its title, and every picture and
    // chapter it points to is shipped with it.
    void chaptersPicturesAndLinksAreShipped_data() {
        QTest::addColumn<QString>("lang");
        QTest::newRow("en") << QStringLiteral("en");
        QTest::newRow("zh") << QStringLiteral("zh");
    }
    void chaptersPicturesAndLinksAreShipped() {
        QFETCH(QString, lang);
        const QDir dir(QStringLiteral(MZ_PROGDIR "/manual/") + lang);
        const QRegularExpression target(QStringLiteral(R"(\]\(([^)\s]+)\))"));
        for (const QString& topic : FrmHelp::topics()) {
            QFile f(dir.filePath(topic + QStringLiteral(".md")));
            QVERIFY2(f.open(QIODevice::ReadOnly), qPrintable(f.fileName()));
            const QString text = QString::fromUtf8(f.readAll());
            QVERIFY2(text.startsWith(QLatin1String("# ")), qPrintable(f.fileName()));
            for (const auto& m : target.globalMatch(text)) {
                const QString to = m.captured(1);
                if (to.endsWith(QLatin1String(".md")))
                    QVERIFY2(FrmHelp::topics().contains(to.chopped(3)),
                             qPrintable(f.fileName() + QStringLiteral(" links ") + to));
                else
                    QVERIFY2(QFile::exists(dir.filePath(to)),
                             qPrintable(f.fileName() + QStringLiteral(" shows ") + to));
            }
        }
    }

    // Help Topics is offered with F1; About keeps its menu item and toolbar button.
    void helpTopicsHasF1AndAboutStays() {
        start(1);
        auto* topics = child<QAction>(main.get(), "mnuHelpTopic");
        QVERIFY(topics && topics->isVisible());
        QCOMPARE(topics->shortcut(), QKeySequence(Qt::Key_F1));
        auto* about = child<QAction>(main.get(), "mnuHelpAbout");
        QVERIFY(about && about->isVisible());
        QVERIFY(about->shortcut().isEmpty());
        QVERIFY(child<QAction>(main.get(), "About")->isVisible());
    }

    // F1 and each window's Help button open the chapter of that window, in the program's
    // language; without a window the manual opens at its start.
    void eachWindowOpensItsChapter_data() {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("topic");
        QTest::addColumn<QString>("heading"); // the chapter's title as the reader sees it
        QTest::newRow("no window") << 1 << QString() << "index"
                                   << "Welcome";
        QTest::newRow("channels") << 1 << "frmCommChInfo"
                                  << "channels"
                                  << "Editing channels";
        QTest::newRow("edit dialog") << 1 << "FrmCHInfoEdit"
                                     << "channels"
                                     << "Editing channels";
        QTest::newRow("options") << 1 << "FrmOptFeatures"
                                 << "settings"
                                 << "Radio settings";
        QTest::newRow("DTMF") << 1 << "FrmDTMF"
                              << "settings"
                              << "Radio settings";
        QTest::newRow("keys") << 1 << "FrmKey"
                              << "settings"
                              << "Radio settings";
        QTest::newRow("tone tips") << 1 << "FrmToneTips"
                                   << "settings"
                                   << "Radio settings";
        QTest::newRow("channels zh") << 2 << "frmCommChInfo"
                                     << "channels"
                                     << "编辑信道";
        QTest::newRow("DTMF zh") << 2 << "FrmDTMF"
                                 << "settings"
                                 << "电台设置";
    }
    void eachWindowOpensItsChapter() {
        QFETCH(int, language);
        QFETCH(QString, window);
        QFETCH(QString, topic);
        QFETCH(QString, heading);
        start(language);
        main->CloseCurAllWindows();
        QWidget* w = window.isEmpty() ? nullptr : main->ShowChildForm(window);
        QVERIFY(window.isEmpty() || w);

        QTest::keyClick(w ? w : static_cast<QWidget*>(main.get()), Qt::Key_F1);
        FrmHelp* help = openHelp();
        QVERIFY(help);
        QCOMPARE(help->currentTopic(), topic);
        QVERIFY2(help->browser()->toPlainText().startsWith(heading),
                 qPrintable(help->browser()->toPlainText().left(80)));
        // The list of chapters marks the one shown, named in the program's language.
        auto* list = child<QListWidget>(help, "ListTopics");
        QCOMPARE(list->currentRow(), FrmHelp::topics().indexOf(topic));
        QCOMPARE(list->currentItem()->text(),
                 LoadLangText(27001 + FrmHelp::topics().indexOf(topic)));
        closeHelpWindows();

        if (!w) return;
        auto* button = child<QPushButton>(w, "CommandHelp");
        QVERIFY(button && button->isVisibleTo(w));
        QCOMPARE(button->text(), LoadLangText(9025));
        button->click();
        QVERIFY(openHelp());
        QCOMPARE(openHelp()->currentTopic(), topic);
    }

    // A link to another chapter moves the list of chapters along, and choosing a chapter in the
    // list shows it.
    void linksAndListAgree() {
        start(1);
        FrmHelp* help = showHelp(main.get(), QStringLiteral("index"));
        help->browser()->setSource(QUrl(QStringLiteral("cable.md")));
        QCOMPARE(help->currentTopic(), QStringLiteral("cable"));
        auto* list = child<QListWidget>(help, "ListTopics");
        QCOMPARE(list->currentRow(), FrmHelp::topics().indexOf(QStringLiteral("cable")));
        list->setCurrentRow(FrmHelp::topics().indexOf(QStringLiteral("cli")));
        QCOMPARE(help->currentTopic(), QStringLiteral("cli"));
        QVERIFY(help->browser()->toPlainText().startsWith(QLatin1String("The command line")));
        // A second request reuses the open window.
        QCOMPARE(showHelp(main.get(), QStringLiteral("csv")), help);
        QCOMPARE(help->currentTopic(), QStringLiteral("csv"));
    }

    // After a change of language the manual opens in the new one.
    void theManualFollowsTheLanguage() {
        start(1);
        QPointer<FrmHelp> english = showHelp(main.get(), QStringLiteral("cable"));
        QCOMPARE(english->windowTitle(), LoadLangText(27000));
        App().UseLanguage(Language::Chinese);
        FrmHelp* chinese = showHelp(main.get(), QStringLiteral("cable"));
        QVERIFY(!english);
        QCOMPARE(chinese->windowTitle(), QStringLiteral("帮助主题"));
        QCOMPARE(child<QListWidget>(chinese, "ListTopics")->currentItem()->text(),
                 QStringLiteral("连接编程线"));
        QVERIFY(chinese->browser()->toPlainText().startsWith(QStringLiteral("连接编程线")));
    }

    // F1 in a modal dialog opens that dialog's chapter in a window the dialog does not block.
    void f1InAModalDialog() {
        start(1);
        bool seen = false;
        onNextModal([&](QWidget* dialog) {
            QCOMPARE(dialog->objectName(), QStringLiteral("FrmSetComm"));
            QTRY_VERIFY(dialog->isActiveWindow());
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : dialog,
                            Qt::Key_F1);
            FrmHelp* help = dialog->findChild<FrmHelp*>();
            QVERIFY(help && help->isVisible());
            QCOMPARE(help->currentTopic(), QStringLiteral("cable"));
            // A window that a modal dialog owns is not blocked by it.
            QCOMPARE(help->parentWidget(), dialog);
            seen = true;
        });
        child<QAction>(main.get(), "mnuComm")->trigger();
        QVERIFY(seen);
    }

    // A manual that is not installed says where it was looked for.
    void aMissingManualSaysWhere() {
        start(1);
        QFile::remove(tree->progDir() + QStringLiteral("/manual"));
        FrmHelp* help = showHelp(main.get(), QStringLiteral("cable"));
        const QString text = help->browser()->toPlainText();
        QVERIFY2(text.startsWith(LoadLangText(27012)), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("cable.md")));
    }
};

MZ_TEST_MAIN(TestHelpManual)
#include "tst_helpmanual.moc"
