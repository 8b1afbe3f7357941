// The start panel of the main window, File > New's question for the country mode, and the
// change of country mode that warns only where channels would be lost.

#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "app/startpanel.h"
#include "core/files/savedatafile.h"
#include "core/model/country.h"
#include "link/frmsetcomm.h"

#include <QAction>
#include <QComboBox>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using A = Prompter::Answer;

class TestStartPanel : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;
    QList<int> sessionsStarted; // the kinds of session the commands started

    QPushButton* button(const char* name) const {
        return child<QPushButton>(main->startPanel(), name);
    }
    void trigger(const char* name) { child<QAction>(main.get(), name)->trigger(); }
    void showActive() {
        showStarting();
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
    }
    // What a read does once the radio has answered: its image replaces the document.
    void startSessionsAsAReadWould() {
        main->setSessionStarter([this](CommKind kind) {
            sessionsStarted << int(kind);
            AdoptedImage read = doc->currentImage();
            read.data.Func.Beep = 4;
            read.title = QStringLiteral("read from the radio");
            main->CloseCurAllWindows();
            doc->adoptImage(read);
            main->documentLoaded();
        });
    }
    QString activeWindowName() const {
        QMdiSubWindow* sw = main->mdiArea()->activeSubWindow();
        return sw && sw->widget() ? sw->widget()->objectName() : QString();
    }

private slots:
    void initTestCase() {
        FrmSetComm::setPortLister([] { return QList<PortEntry>(); });
    }
    void init() { sessionsStarted.clear(); }
    void cleanup() { reset(); }

    void panelGoesOnceThereIsADocumentToWorkOn_data() {
        QTest::addColumn<QString>("act");    // a panel button, or the tree node picked
        QTest::addColumn<bool>("stays");     // the panel is still shown afterwards
        QTest::addColumn<int>("mode");       // the document's country mode afterwards
        QTest::addColumn<QString>("window"); // the active child window afterwards
        QTest::newRow("port, then closed") << u"CommandPort"_s << true << 0 << u""_s;
        QTest::newRow("read") << u"CommandRead"_s << false << 0 << u"frmCommChInfo"_s;
        QTest::newRow("open") << u"CommandOpen"_s << false << 0 << u"frmCommChInfo"_s;
        QTest::newRow("open, cancelled") << u"CommandOpen cancelled"_s << true << 0 << u""_s;
        QTest::newRow("new CB") << u"CommandNew0"_s << false << 0 << u"frmCommChInfo"_s;
        QTest::newRow("new HF") << u"CommandNew1"_s << false << 1 << u"frmCommChInfo"_s;
        QTest::newRow("new HAM") << u"CommandNew2"_s << false << 2 << u"frmCommChInfo"_s;
        QTest::newRow("a window picked") << u"tree N2"_s << false << 0 << u"FrmOptFeatures"_s;
    }
    void panelGoesOnceThereIsADocumentToWorkOn() {
        QFETCH(QString, act);
        QFETCH(bool, stays);
        QFETCH(int, mode);
        QFETCH(QString, window);
        build(prompter);
        startSessionsAsAReadWould();
        showActive();
        QVERIFY(main->startPanelShown());
        QVERIFY(!main->mdiArea()->isVisible());
        // The start-up document is there behind the panel, with its channel table.
        QVERIFY(doc->untouchedNew());
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        QTRY_COMPARE(QApplication::focusWidget(), button("CommandPort"));

        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        if (act.startsWith(u"CommandOpen")) {
            Document saved;
            saved.NewDocument();
            saved.CurFileName = tree->dir.filePath(QStringLiteral("saved.dat"));
            QVERIFY(SaveDataFile(saved));
            chosen = act.endsWith(u"cancelled") ? QString() : saved.CurFileName;
            button("CommandOpen")->click();
        } else if (act == u"CommandPort") {
            bool seen = false;
            onNextModal([&seen](QWidget* dlg) {
                seen = dlg->objectName() == QLatin1String("FrmSetComm");
                QMetaObject::invokeMethod(dlg, "reject");
            });
            button("CommandPort")->click();
            QVERIFY(seen);
        } else if (act.startsWith(u"tree ")) {
            auto* tv = child<QTreeWidget>(main.get(), "TreeView1");
            QTreeWidgetItem* root = tv->topLevelItem(0);
            for (int i = 0; i < root->childCount(); ++i)
                if (root->child(i)->data(0, Qt::UserRole).toString() == act.mid(5))
                    emit tv->itemActivated(root->child(i), 0);
        } else {
            button(qPrintable(act))->click();
        }
        if (act.startsWith(u"CommandNew")) QTRY_COMPARE(built.size(), 1);
        QCOMPARE(sessionsStarted,
                 act == u"CommandRead" ? QList<int>{int(CommKind::Read)} : QList<int>{});
        QVERIFY(prompter.asked.isEmpty());

        QCOMPARE(main->startPanelShown(), stays);
        QCOMPARE(main->mdiArea()->isVisible(), !stays);
        QCOMPARE(doc->CountryMode, mode);
        QVERIFY(main->windowTitle().contains(ModeName(mode) + u':' + BandTextOf(mode)));
        if (!stays) {
            QCOMPARE(activeWindowName(), window);
            // The work goes on in the window that now shows, not on a hidden button.
            QVERIFY(main->mdiArea()->isAncestorOf(QApplication::focusWidget()));
        }
    }

    void panelIsNamedAndWorkedFromTheKeyboard_data() {
        QTest::addColumn<int>("language");
        QTest::newRow("English") << 1;
        QTest::newRow("Chinese") << 2;
    }
    void panelIsNamedAndWorkedFromTheKeyboard() {
        QFETCH(int, language);
        build(prompter, language);
        showActive();
        QTRY_COMPARE(QApplication::focusWidget(), button("CommandPort"));
        const QList<QPushButton*> buttons = main->startPanel()->buttons();
        QCOMPARE(buttons.size(), 6);
        // Tab goes through the buttons in the order of the steps; each has a name to be read.
        for (int i = 0; i < buttons.size(); ++i) {
            QCOMPARE(QApplication::focusWidget(), buttons[i]);
            QVERIFY2(!buttons[i]->accessibleName().isEmpty(), qPrintable(buttons[i]->objectName()));
            QVERIFY(!buttons[i]->accessibleName().contains(u'&'));
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(button("CommandNew2")->accessibleName(), LoadLangText(12919).arg(u"HAM"_s));
        QVERIFY(!main->startPanel()->accessibleName().isEmpty());
        // The access keys of the panel lead to one button each, none of them a menu's.
        QList<QKeySequence> menuKeys;
        for (QAction* a : main->menuBar()->actions())
            if (a->isVisible()) menuKeys << QKeySequence::mnemonic(a->text());
        QList<QKeySequence> panelKeys;
        for (const char* name : {"CommandPort", "CommandRead", "CommandOpen"})
            panelKeys << QKeySequence::mnemonic(button(name)->text());
        panelKeys << QKeySequence::mnemonic(
            child<QLabel>(main->startPanel(), "LabelStepNew")->text());
        for (const QKeySequence& k : panelKeys) {
            QVERIFY(!k.isEmpty());
            QVERIFY2(!menuKeys.contains(k), qPrintable(k.toString()));
            QCOMPARE(panelKeys.count(k), 1);
        }
        // Alt and the key of the new-document sentence lead to its first button; Space there
        // starts a new CB document.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_N, Qt::AltModifier);
        QTRY_COMPARE(QApplication::focusWidget(), button("CommandNew0"));
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QTRY_COMPARE(built.size(), 1);
        QVERIFY(!main->startPanelShown());
        // A language changed meanwhile keeps the panel where it was, in the new language.
        reset();
        build(prompter, 1);
        showActive();
        App().UseLanguage(language == 1 ? Language::Chinese : Language::English);
        main->CheckLanguage();
        QVERIFY(main->startPanelShown());
        QCOMPARE(button("CommandRead")->text(), LoadLangText(12915));
    }

    void fileNewAsksTheModeOfTheStartUpDocument() {
        build(prompter);
        show(); // the channel table picked, nothing edited
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        // Cancel: nothing changes.
        QString title;
        onNextModal([&title](QWidget* dlg) {
            title = dlg->windowTitle();
            QVERIFY(child<QRadioButton>(dlg, "OptionMode0")->isChecked());
            QMetaObject::invokeMethod(dlg, "reject");
        });
        trigger("mnuFileNew");
        QCOMPARE(title, LoadLangText(12922));
        QTest::qWait(200);
        QCOMPARE(built.size(), 0);
        QVERIFY(channelTable());
        // HAM chosen from the keyboard: a new HAM document, without the confirmation 9026.
        onNextModal([](QWidget* dlg) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::AltModifier);
            QTRY_VERIFY(child<QRadioButton>(dlg, "OptionMode2")->isChecked());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        trigger("mnuFileNew");
        QTRY_COMPARE(built.size(), 1);
        QCOMPARE(doc->CountryMode, 2);
        QVERIFY(prompter.asked.isEmpty());
        QVERIFY(channelTable());
        // The new document has no channels of its own either: New asks again, at HAM.
        onNextModal([](QWidget* dlg) {
            QVERIFY(child<QRadioButton>(dlg, "OptionMode2")->isChecked());
            QMetaObject::invokeMethod(dlg, "reject");
        });
        trigger("mnuFileNew");
        QCOMPARE(doc->CountryMode, 2);
    }

    void modeChangeWarnsWhereChannelsWouldBeLost_data() {
        QTest::addColumn<QString>("document");
        QTest::addColumn<bool>("warns");
        QTest::newRow("new") << u"new"_s << false;
        QTest::newRow("new, another group shown") << u"group"_s << false;
        QTest::newRow("new, edited") << u"edited"_s << true;
        QTest::newRow("read from the radio") << u"read"_s << true;
    }
    void modeChangeWarnsWhereChannelsWouldBeLost() {
        QFETCH(QString, document);
        QFETCH(bool, warns);
        build(prompter);
        startSessionsAsAReadWould();
        show();
        if (document == u"group") {
            auto* groups = child<QComboBox>(channelTable(), "Combo7");
            groups->setCurrentIndex(3);
            emit groups->activated(3);
            QCOMPARE(doc->RadioData.Func.GroupSel, i16(3));
        } else if (document == u"edited") {
            doc->EditKeys([](KeyRec& k) { k.KeySet = 1; });
        } else if (document == u"read") {
            trigger("mnuReadFromRadio");
            QCOMPARE(sessionsStarted, QList<int>{int(CommKind::Read)});
        }
        QSignalSpy built(&main->commands(), &DocumentCommands::newDocumentBuilt);
        // The warning, where it comes, is cancelled: the document stays as it was.
        prompter.reset({A::Cancel});
        onNextModal([](QWidget* dlg) {
            auto* mode = child<QComboBox>(dlg, "Combo3");
            mode->setCurrentIndex(1);
            emit mode->activated(1);
            child<QPushButton>(dlg, "CommandOK")->click();
        });
        trigger("mnuModelInfo");
        QCOMPARE(prompter.texts(), warns ? QStringList{LoadLangText(9016)} : QStringList{});
        QTRY_COMPARE(built.size(), warns ? 0 : 1);
        QCOMPARE(doc->CountryMode, warns ? 0 : 1);
    }
};

MZ_TEST_MAIN(TestStartPanel)
#include "tst_startpanel.moc"
