// The main window: start-up through the splash, its caption, menus, toolbar, tree, child
// windows, the tree panel, the stored position and the session commands.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/treesplitter.h"
#include "lang/chinesefont.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProcess>
#include <QSet>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>

namespace {
// A stand-in editor window that counts how often it was made.
struct Counter {
    int made = 0;
    frmMain::ChildFactory factory(const QString& title) {
        return [this, title] {
            ++made;
            auto* w = new QWidget;
            w->setWindowTitle(title);
            w->resize(200, 120);
            return w;
        };
    }
};

void drag(QWidget* w, int fromX, int toX) {
    const QPointF a(fromX, 5), b(toX, 5);
    QMouseEvent press(QEvent::MouseButtonPress, a, w->mapToGlobal(a), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QMouseEvent move(QEvent::MouseMove, b, w->mapToGlobal(b), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, b, w->mapToGlobal(b), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &move);
    QApplication::sendEvent(w, &release);
}
} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;
    Counter table;

    QAction* action(const char* name) { return child<QAction>(main.get(), name); }

private slots:
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
        table = Counter();
        main = std::make_unique<frmMain>(*doc, prompter);
        main->registerChildFactory(QStringLiteral("frmCommChInfo"), table.factory("table"));
        main->Load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }
    void cleanup() {
        main.reset();
        doc.reset();
        tree.reset();
    }

    void splashOpensTheMainWindowOnceOnClick() {
        QVERIFY(QFile::copy(QStringLiteral(MZ_PROGDIR "/StartE.jpg"),
                            tree->progDir() + QStringLiteral("/StartE.jpg")));
        int opened = 0;
        auto* splash = new frmSplash([&] { ++opened; });
        QPointer<frmSplash> alive(splash);
        splash->show();
        QVERIFY(!child<QLabel>(splash, "picLogo")->pixmap().isNull());
        QTest::mouseClick(child<QLabel>(splash, "picLogo"), Qt::LeftButton);
        QCOMPARE(opened, 1);
        QTRY_VERIFY(alive.isNull());
        QTest::qWait(100);
        QCOMPARE(opened, 1);
    }

    void splashWithoutPictureStillOpensByTimer() {
        App().CurLanguage = static_cast<Language>(9);
        QVERIFY(frmSplash::pictureFor(static_cast<Language>(9)).isEmpty());
        int opened = 0;
        auto* splash = new frmSplash([&] { ++opened; });
        splash->show();
        QVERIFY(child<QLabel>(splash, "picLogo")->pixmap().isNull());
        QTRY_COMPARE_WITH_TIMEOUT(opened, 1, 10000);
    }

    void startUpOpensTheChannelTableAndShowsTheDocument() {
        QCOMPARE(table.made, 1);
        QVERIFY(main->ChildForm(QStringLiteral("frmCommChInfo")));
        QCOMPARE(doc->CurFileName, QStringLiteral("new.dat"));
        QCOMPARE(child<QLabel>(main.get(), "Label1")->text(), QStringLiteral("MZ-710:CB"));
        QCOMPARE(child<QLabel>(main.get(), "Panel2")->text(),
                 QStringLiteral("MZ-710[CB:26.965 - 27.405 MHz]"));
        QCOMPARE(child<QLabel>(main.get(), "Panel3")->text(),
                 LoadLangText(12008) + QStringLiteral("1"));
        QVERIFY(!child<QLabel>(main.get(), "Panel4")->text().isEmpty());
        QVERIFY(!child<QLabel>(main.get(), "Panel5")->text().isEmpty());
    }

    void captionOfTheDefaultDocument() {
        // While the start panel says that no document is open, the title names no file.
        QVERIFY(main->startPanelShown());
        QCOMPARE(main->windowTitle(),
                 LoadLangText(12000) + QStringLiteral("[MZ-710:CB:26.965 - 27.405 MHz]"));
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
        QCOMPARE(main->windowTitle(), LoadLangText(12000) +
                                          QStringLiteral("[MZ-710:CB:26.965 - 27.405 MHz][") +
                                          LoadLangText(12009) + QStringLiteral(":new.dat]"));
        QVERIFY(!LoadLangText(12000).isEmpty());
        // Every band shows itself; the file name loses its folder.
        doc->SetCountryMode(2);
        doc->CurFileName = QStringLiteral("/home/user/radios/Radio1.dat");
        doc->ToFileCopy(); // as after a save: no change mark
        main->ShowMainTxt();
        QVERIFY(main->windowTitle().endsWith(QStringLiteral("[MZ-710:HAM:28.000 - 29.700 MHz][") +
                                             LoadLangText(12009) + QStringLiteral(":Radio1.dat]")));
        QCOMPARE(main->findChild<QTreeWidget*>("TreeView1")->topLevelItem(0)->text(0),
                 QStringLiteral("MZ-710:HAM"));
    }

    void menusCarryTheirTextsShortcutsAndVisibility() {
        const struct {
            const char* name;
            int text;
            const char* shortcut;
        } shown[] = {{"mnuFileNew", 10001, "Ctrl+N"},
                     {"mnuFileOpen", 10002, "Ctrl+O"},
                     {"mnuFileSave", 10003, "Ctrl+S"},
                     {"mnuFileSaveAs", 10004, "Ctrl+Shift+S"},
                     {"mnuFilePrint", 10005, "Ctrl+Shift+P"},
                     {"mnuFileExportPdf", 10950, ""},
                     {"mnuFileExit", 10006, "Ctrl+Q"},
                     {"mnuModelInfo", 10101, ""},
                     {"mnuChannelInfo", 10201, ""},
                     {"mnuOptFeature", 10202, ""},
                     {"mnuToneTips", 10221, ""},
                     {"MnuDTMF", 10204, ""},
                     {"MnuKey", 10208, ""},
                     {"MnuLocalInfo", 10207, ""},
                     {"mnuReadFromRadio", 10301, "Ctrl+R"},
                     {"mnuWriteToRadio", 10302, "Ctrl+W"},
                     {"MnuProPassWord", 10303, "Ctrl+P"},
                     {"mnuComm", 10401, ""},
                     {"mnuLanguage", 10402, ""},
                     {"MnuInit", 10403, ""},
                     {"mnuTreeView", 10501, ""},
                     {"mnuViewToolbar", 10502, ""},
                     {"mnuViewStatusBar", 10503, ""},
                     {"mnuWindowCascade", 10601, ""},
                     {"mnuCloseAll", 10602, ""},
                     {"mnuHelpTopic", 10701, "F1"},
                     {"mnuHelpAbout", 10702, ""}};
        for (const auto& m : shown) {
            QAction* a = action(m.name);
            QVERIFY2(a, m.name);
            QVERIFY2(a->isVisible(), m.name);
            QCOMPARE(a->text(), LoadLangText(m.text));
            QCOMPARE(a->shortcut(), QKeySequence(QLatin1String(m.shortcut)));
        }
        for (const char* hidden :
             {"mnuFileEOpen", "mnuGroupName", "mnuResetInit", "MnuRadioFre", "MnuScan", "MnuAlert",
              "MnuTestFre", "mnuEmbeddedMsg", "MnuCHHabits", "mnuWindowTileHorizontal",
              "mnuWindowTileVertical", "mnuWindowArrangeIcons"})
            QVERIFY2(!action(hidden)->isVisible(), hidden);
        QCOMPARE(action("mnuWindowArrangeIcons")->text(), QStringLiteral("&Arrange Icons"));
        // The Channel menu keeps its place; it works only on an active channel table.
        QVERIFY(child<QMenu>(main.get(), "MnuCHEdit")->menuAction()->isVisible());
        QVERIFY(!child<QMenu>(main.get(), "MnuCHEdit")->menuAction()->isEnabled());
        QCOMPARE(child<QMenu>(main.get(), "MnuCHEdit")->title(), LoadLangText(10800));
        for (const char* checked : {"mnuTreeView", "mnuViewToolbar", "mnuViewStatusBar"})
            QVERIFY(action(checked)->isChecked());

        QStringList titles;
        for (QAction* a : main->menuBar()->actions())
            if (a->isVisible()) titles << a->text();
        QCOMPARE(titles,
                 (QStringList{LoadLangText(10000), LoadLangText(10100), LoadLangText(10200),
                              LoadLangText(10800), LoadLangText(10300), LoadLangText(10400),
                              LoadLangText(10500), LoadLangText(10600), LoadLangText(10700)}));
    }

    void toolbarButtonsInOrderWithTheirTips() {
        auto* bar = child<QToolBar>(main.get(), "tbToolBar");
        QStringList order;
        for (QAction* a : bar->actions())
            order << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
        QCOMPARE(order.join(' '),
                 QStringLiteral("NewFile OpenFile SaveFile | Print | ReadRadio CommSet "
                                "WriteRadio | BtnCHCut BtnCHCopy BtnCHPaste | BtnCHInsert "
                                "BtnCHDelete BtnCHMoveUp BtnCHMoveDown | About"));
        // Positions 11 to 19 are always there, and disabled without an active channel table.
        const QList<QAction*> all = bar->actions();
        for (int i = 10; i <= 18; ++i) {
            QVERIFY(all[i]->isVisible());
            QVERIFY(all[i]->isSeparator() || !all[i]->isEnabled());
        }
        main->ShowCHInfo(true);
        QVERIFY(child<QMenu>(main.get(), "MnuCHEdit")->menuAction()->isEnabled());
        main->ShowCHInfo(false);
        QVERIFY(!child<QMenu>(main.get(), "MnuCHEdit")->menuAction()->isEnabled());
        QVERIFY(all[12]->isVisible());

        // A tooltip names the command and its shortcut; the button is named after the command,
        // and the toolbar's own name has no access-key mark.
        QCOMPARE(action("ReadRadio")->toolTip(), LoadLangText(11004) + QStringLiteral(" (Ctrl+R)"));
        QCOMPARE(action("BtnCHMoveDown")->toolTip(),
                 LoadLangText(11016) + QStringLiteral(" (Alt+Down)"));
        QCOMPARE(action("About")->toolTip(), LoadLangText(11007));
        for (QAction* a : all) {
            if (a->isSeparator()) continue;
            QWidget* button = bar->widgetForAction(a);
            QVERIFY2(button && !button->accessibleName().isEmpty(), qPrintable(a->objectName()));
            QVERIFY2(a->toolTip().startsWith(button->accessibleName()),
                     qPrintable(a->objectName()));
        }
        QCOMPARE(bar->accessibleName(), QStringLiteral("Toolbar"));

        // Cut, Delete and Paste, and Move Up/Down and Read/Write, have pictures of their own.
        const char* distinct[] = {"BtnCHCut",      "BtnCHDelete", "BtnCHPaste", "BtnCHMoveUp",
                                  "BtnCHMoveDown", "ReadRadio",   "WriteRadio"};
        QSet<QByteArray> pictures;
        for (const char* name : distinct) {
            const QImage img = action(name)->icon().pixmap(16, 16).toImage().convertToFormat(
                QImage::Format_ARGB32);
            pictures.insert(
                QByteArray(reinterpret_cast<const char*>(img.constBits()), img.sizeInBytes()));
        }
        QCOMPARE(pictures.size(), int(std::size(distinct)));
    }

    void treeNodesAndTheirWindows() {
        auto* tv = child<QTreeWidget>(main.get(), "TreeView1");
        QCOMPARE(tv->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tv->topLevelItem(0);
        QVERIFY(root->isExpanded());
        QStringList keys, texts;
        for (int i = 0; i < root->childCount(); ++i) {
            keys << root->child(i)->data(0, Qt::UserRole).toString();
            texts << root->child(i)->text(0);
        }
        QCOMPARE(keys, (QStringList{"N1", "N2", "N4", "N12", "N8", "N7"}));
        QCOMPARE(texts,
                 (QStringList{LoadLangText(12001), LoadLangText(12002), LoadLangText(12004),
                              LoadLangText(12014), LoadLangText(12010), LoadLangText(12007)}));

        Counter keysWin;
        main->registerChildFactory(QStringLiteral("FrmKey"), keysWin.factory("keys"));
        emit tv->itemClicked(root->child(4), 0);
        QCOMPARE(keysWin.made, 1);
        QVERIFY(main->ChildForm(QStringLiteral("FrmKey")));
        // A node whose window is not built yet opens nothing.
        emit tv->itemClicked(root->child(1), 0);
        QVERIFY(!main->ChildForm(QStringLiteral("FrmOptFeatures")));
        emit tv->itemClicked(root, 0);
        QCOMPARE(main->mdiArea()->subWindowList().size(), 2);
    }

    void oneInstancePerWindowAndCloseAll() {
        QWidget* first = main->ChildForm(QStringLiteral("frmCommChInfo"));
        QVERIFY(first);
        Counter keysWin;
        main->registerChildFactory(QStringLiteral("FrmKey"), keysWin.factory("keys"));
        action("MnuKey")->trigger();
        QCOMPARE(main->mdiArea()->activeSubWindow()->widget()->objectName(),
                 QStringLiteral("FrmKey"));
        // Opening the table again brings the open one to the front.
        action("mnuChannelInfo")->trigger();
        QCOMPARE(table.made, 1);
        QCOMPARE(main->mdiArea()->activeSubWindow()->widget(), first);
        action("MnuKey")->trigger();
        QCOMPARE(keysWin.made, 1);

        action("mnuCloseAll")->trigger();
        QVERIFY(!main->ChildForm(QStringLiteral("frmCommChInfo")));
        QVERIFY(!main->ChildForm(QStringLiteral("FrmKey")));
        QTRY_COMPARE(main->mdiArea()->subWindowList().size(), 0);
        action("MnuKey")->trigger();
        QCOMPARE(keysWin.made, 2);
        main->CloseFormsNamed(QStringLiteral("FrmKey"));
        QVERIFY(!main->ChildForm(QStringLiteral("FrmKey")));
    }

    void treePanelClosesAndKeepsItsMinimumWidth() {
        auto* panel = child<QWidget>(main.get(), "Picture1");
        auto* splitter = child<TreeSplitter>(main.get(), "CommandMove");
        const int w = panel->width();
        drag(splitter, 2, 42);
        QCOMPARE(panel->width(), w + 40);
        QVERIFY(!splitter->moveTree());
        // Narrower than 300 twips: nothing changes.
        const int tooFar = w + 40 - main->minTreeWidth() + 5;
        drag(splitter, 2, 2 - tooFar);
        QCOMPARE(panel->width(), w + 40);
        drag(splitter, 2, -38);
        QCOMPARE(panel->width(), w);
        QCOMPARE(main->minTreeWidth(), qRound(300 * main->logicalDpiX() / 1440.0));

        child<QAction>(main.get(), "TB_CLOSE")->trigger();
        QVERIFY(!panel->isVisible());
        QVERIFY(!action("mnuTreeView")->isChecked());
        action("mnuTreeView")->trigger();
        QVERIFY(panel->isVisible());
        QVERIFY(action("mnuTreeView")->isChecked());
        action("mnuViewStatusBar")->trigger();
        QVERIFY(!main->statusBar()->isVisible());
        QVERIFY(!action("mnuViewStatusBar")->isChecked());
    }

    void windowPositionComesFromAndGoesToTheStore() {
        // Defaults first; a stored size is used at the next start.
        QCOMPARE(LoadMainWindowTwips(), QRect(1000, 1000, 12500, 9500));
        main->resize(main->twipsToPixelsX(9000), main->twipsToPixelsY(7000));
        QVERIFY(main->close());
        const QRect stored = LoadMainWindowTwips();
        QVERIFY(qAbs(stored.width() - 9000) <= 30);
        QVERIFY(qAbs(stored.height() - 7000) <= 30);

        frmMain again(*doc, prompter);
        again.Load();
        QCOMPARE(again.size(), QSize(again.twipsToPixelsX(stored.width()),
                                     again.twipsToPixelsY(stored.height())));
    }

    void minimisedWindowLeavesTheStoreAlone() {
        SaveMainWindowTwips(QRect(1, 2, 3000, 4000));
        main->showMinimized();
        QTRY_VERIFY(main->isMinimized());
        QVERIFY(main->close());
        QCOMPARE(LoadMainWindowTwips(), QRect(1, 2, 3000, 4000));
    }

    void sessionCommandsAndTheirLock() {
        QList<int> started;
        main->setSessionStarter([&](CommKind mode) { started << int(mode); });
        action("mnuReadFromRadio")->trigger();
        QCOMPARE(started, QList<int>{1});
        action("mnuWriteToRadio")->trigger();
        // The write starts after a short delay that lets the editors' commits settle.
        QCOMPARE(started, QList<int>{1});
        QTRY_COMPARE(started, (QList<int>{1, 2}));
        action("MnuLocalInfo")->trigger();
        QCOMPARE(started, (QList<int>{1, 2, 3}));

        main->setSessionRunning(true);
        for (const char* name :
             {"mnuReadFromRadio", "mnuWriteToRadio", "MnuLocalInfo", "ReadRadio", "WriteRadio"})
            QVERIFY2(!action(name)->isEnabled(), name);
        QVERIFY(action("MnuProPassWord")->isEnabled());
        main->mnuReadFromRadio();
        main->ReadRMGDataFromRadio();
        main->mnuWriteToRadio();
        QTest::qWait(200);
        QCOMPARE(started.size(), 3);
        main->setSessionRunning(false);
        QVERIFY(action("ReadRadio")->isEnabled());
        action("ReadRadio")->trigger();
        QCOMPARE(started.size(), 4);
    }

    void missingChineseFontIsToldOnce() {
        SetChineseFontCheck([] { return false; });
        // English needs no such font.
        main->Change_Language();
        QVERIFY(main->statusMessage().isEmpty());
        // Chinese: one warning, in English, since its Chinese text could not be read.
        App().UseLanguage(Language::Chinese);
        main->CheckLanguage();
        const QString warning = main->statusMessage();
        QCOMPARE(warning,
                 LoadLangTextFrom(tree->progDir() + QStringLiteral("/language/english.ini"), 9813));
        QVERIFY(warning.contains(QStringLiteral("fonts-wqy-microhei")));
        main->showStatusMessage(QStringLiteral("later"));
        main->Change_Language();
        QCOMPARE(main->statusMessage(), QStringLiteral("later"));
        SetChineseFontCheck({});
    }

    // --help and --version answer without a display (a package build makes its man page so).
    void helpAndVersionNeedNoDisplay() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QLatin1String(v));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        for (const char* option : {"--version", "--help"}) {
            QProcess p;
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(MZ_PROGDIR "/mzprog"), {QLatin1String(option)});
            QVERIFY(p.waitForFinished(30000));
            QCOMPARE(p.exitStatus(), QProcess::NormalExit);
            QCOMPARE(p.exitCode(), 0);
            QVERIFY2(p.readAllStandardOutput().contains("mzprog"), option);
        }
    }

    void theScriptsInstallAChineseFont() {
        // fonts-wqy-microhei comes with tools/common.sh; the font database must see it.
        QVERIFY(ChineseFontInstalled());
    }

    void resizeStopsNoTimer() {
        // Timers of the window keep running through any resize.
        auto* clock = main->findChild<QTimer*>("ClockTimer");
        QVERIFY(clock && clock->isActive());
        main->resize(main->width() - 50, main->height() - 300);
        main->resize(main->width() + 80, main->height() + 400);
        QVERIFY(clock->isActive());
    }
};

MZ_TEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
