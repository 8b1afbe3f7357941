// The status bar says one thing at a time, never cut off silently, and what it said stays in
// Window > Messages, where a message that names a file opens its folder; File > Open Backups
// Folder and Settings > Open Log Folder open theirs.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "app/frmmessages.h"
#include "core/app/linksettings.h"
#include "core/files/backups.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeWidget>
#include <QUrl>

class TestStatusMessages : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;
    QStringList opened; // the folders handed to the file manager

public slots:
    void openUrl(const QUrl& url) { opened << url.toLocalFile(); }

private slots:
    void init() {
        // The file manager is this test.
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "openUrl");
        opened.clear();
        build(prompter);
        show();
    }
    void cleanup() {
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
        reset();
    }

    void theNewestReplacesTheLastAndALongOneIsCutVisibly() {
        auto* line = child<QLabel>(main.get(), "StatusMessage");
        main->showStatusMessage(QStringLiteral("first"));
        main->showStatusMessage(QStringLiteral("second"));
        QCOMPARE(main->statusMessage(), QStringLiteral("second"));
        QCOMPARE(line->text(), QStringLiteral("second"));

        const QString longText = QStringLiteral("word ").repeated(400).trimmed();
        main->showStatusMessage(longText);
        QCoreApplication::processEvents();
        QCOMPARE(main->statusMessage(), longText);
        QVERIFY(line->text().endsWith(QChar(0x2026)));
        QVERIFY(line->text().size() < longText.size());
        QCOMPARE(line->toolTip(), longText);
        // The message never widens the window.
        QVERIFY(main->width() <= main->screen()->availableGeometry().width());
    }

    // A lasting warning has its own line above the status bar and is shown whole; the newest
    // message keeps the status bar, in front of any message a window said before it.
    void theLastingWarningAndTheNewestMessageAreBothRead() {
        const QString warning =
            QStringLiteral("The radio holds a partly written memory: write again before using it.");
        main->resize(1000, 600);
        main->setRadioWarning(warning);
        main->showStatusMessage(QStringLiteral("newest"));
        QCoreApplication::processEvents();
        auto* label = child<QLabel>(main.get(), "RadioWarning");
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), warning);
        QVERIFY(!main->statusBar()->isAncestorOf(label));
        QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                 qPrintable(QString::number(label->height())));
        auto* line = child<QLabel>(main.get(), "StatusMessage");
        QCOMPARE(line->text(), QStringLiteral("newest"));
        QVERIFY(line->width() >= line->fontMetrics().horizontalAdvance(QStringLiteral("newest")));
    }

    // Newest first, each with its time; a message naming a file opens that file's folder.
    void windowMessagesListsThemAndOpensTheFolder() {
        const QString file = tree->dir.filePath(QStringLiteral("backups/radio.dat"));
        // A report a message box showed is kept too, without taking the status bar.
        main->recordMessage(QStringLiteral("3 rows pasted\nA 1, Tone Squelch: kept"));
        main->showStatusMessage(QStringLiteral("older"));
        main->showStatusMessage(QStringLiteral("saved radio.dat"), file);
        QCOMPARE(main->statusMessage(), QStringLiteral("saved radio.dat"));
        bool seen = false;
        onNextModal([&](QWidget* w) {
            auto* dlg = qobject_cast<FrmMessages*>(w);
            QVERIFY(dlg);
            QTreeWidget* list = dlg->list();
            QVERIFY(!list->accessibleName().isEmpty());
            QCOMPARE(list->topLevelItemCount(), 3);
            QCOMPARE(list->topLevelItem(0)->text(1), QStringLiteral("saved radio.dat"));
            QCOMPARE(list->topLevelItem(1)->text(1), QStringLiteral("older"));
            QVERIFY(!list->topLevelItem(0)->text(0).isEmpty());
            // The list shows a report's first line; the box below it the whole report.
            list->setCurrentItem(list->topLevelItem(2));
            QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("3 rows pasted"));
            QCOMPARE(child<QPlainTextEdit>(dlg, "TextMessage")->toPlainText(),
                     QStringLiteral("3 rows pasted\nA 1, Tone Squelch: kept"));
            auto* open = child<QPushButton>(dlg, "CommandOpenFolder");
            list->setCurrentItem(list->topLevelItem(1));
            QVERIFY(!open->isEnabled());
            list->setCurrentItem(list->topLevelItem(0));
            QVERIFY(open->isEnabled());
            open->click();
            seen = true;
        });
        child<QAction>(main.get(), "mnuWindowMessages")->trigger();
        QVERIFY(seen);
        QCOMPARE(opened, QStringList{QFileInfo(file).absolutePath()});
    }

    void theBackupAndLogFoldersOpen() {
        child<QAction>(main.get(), "mnuFileBackupsFolder")->trigger();
        child<QAction>(main.get(), "mnuLogFolder")->trigger();
        QCOMPARE(opened, (QStringList{BackupStore::defaultDir(), WireLogDir()}));
        // A folder not used yet is made, so that the file manager has something to show.
        QVERIFY(QFileInfo(BackupStore::defaultDir()).isDir());
    }
};

MZ_TEST_MAIN(TestStatusMessages)
#include "tst_statusmessages.moc"
