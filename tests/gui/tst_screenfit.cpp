// Every window opens inside a 1366 x 768 screen, and every button of it can be seen. CTest runs
// this program on such an offscreen screen at the scale factors 1, 1.25 and 2.

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/frmsplash.h"
#include "app/startpanel.h"
#include "channels/frm_mem_freq.h"
#include "core/app/startup.h"
#include "lang/frmsetlanguage.h"
#include "link/frmpassword.h"
#include "link/frmprogress.h"
#include "link/frmsetcomm.h"
#include "model/frmmodelinfo.h"
#include "model/frmnewmode.h"

#include <QAbstractButton>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

namespace {
QRect available() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

QString describe(const QRect& r) {
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// Every shown button of w lies inside area (in the coordinates of areaOwner).
QStringList hiddenButtons(QWidget* w, QWidget* areaOwner, const QRect& area) {
    QStringList out;
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>()) {
        if (!b->isVisibleTo(w) || b->objectName().isEmpty() ||
            b->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QRect r(b->mapTo(areaOwner, QPoint(0, 0)), b->size());
        if (!area.contains(r))
            out << QStringLiteral("%1 at %2 outside %3")
                       .arg(b->objectName(), describe(r), describe(area));
    }
    return out;
}
} // namespace

class TestScreenFit : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;
    std::unique_ptr<frmMain> main;

    void openMain() {
        main = std::make_unique<frmMain>(*doc, prompter);
        RegisterChildWindows(*main);
        main->Load();
        main->show();
        QVERIFY(QTest::qWaitForWindowExposed(main.get()));
    }

    void useLanguage(const QString& file) {
        tree = TestTree::speaking(file);
        tree->startUp(*doc);
    }

    void checkTopLevel(QWidget* w) {
        w->show();
        QVERIFY(QTest::qWaitForWindowExposed(w));
        QCoreApplication::processEvents();
        const QRect g = w->frameGeometry();
        QVERIFY2(available().contains(g), qPrintable(w->objectName() + QLatin1Char(' ') +
                                                     describe(g) + " on " + describe(available())));
        const QStringList hidden = hiddenButtons(w, w, w->rect());
        QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(QLatin1Char('\n'))));
    }

private slots:
    void initTestCase() {
        // The screen the tests run on: 1366 x 768 device pixels at the scale CTest chose.
        QScreen* s = QGuiApplication::primaryScreen();
        const QSize device = s->geometry().size() * s->devicePixelRatio();
        qInfo("screen %dx%d logical, scale %.2f", s->geometry().width(), s->geometry().height(),
              s->devicePixelRatio());
        if (qEnvironmentVariableIsSet("MZ_SCREEN_1366")) QCOMPARE(device, QSize(1366, 768));
    }

    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        prompter.reset();
    }
    void cleanup() {
        main.reset();
        doc.reset();
        tree.reset();
    }

    void mainWindowFitsWhateverWasStored_data() {
        QTest::addColumn<QRect>("twips");
        QTest::newRow("default") << QRect(1000, 1000, 12500, 9500);
        QTest::newRow("from a larger screen") << QRect(20000, 15000, 30000, 20000);
        QTest::newRow("too large") << QRect(0, 0, 40000, 30000);
        QTest::newRow("title bar above the screen") << QRect(1000, -3000, 12500, 9500);
    }
    void mainWindowFitsWhateverWasStored() {
        QFETCH(QRect, twips);
        SaveMainWindowTwips(twips);
        openMain();
        checkTopLevel(main.get());
    }

    // In every language: German and French run longer than English.
    void childWindowsFitTheirArea_data() {
        QTest::addColumn<QString>("language");
        QTest::addColumn<int>("mode");
        for (const QString& file : TestLanguageFiles())
            for (int mode = 0; mode < 3; ++mode)
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(file).arg(mode)))
                    << file << mode;
    }
    void childWindowsFitTheirArea() {
        QFETCH(QString, language);
        QFETCH(int, mode);
        useLanguage(language);
        doc->SetCountryMode(mode);
        openMain();
        main->CloseCurAllWindows();
        QCoreApplication::processEvents();
        const QStringList names = main->childFormNames();
        QVERIFY(names.contains(QStringLiteral("FrmCHInfoEdit")));
        for (const QString& name : names) {
            QVERIFY2(main->ShowChildForm(name), qPrintable(name));
            QCoreApplication::processEvents();
        }
        QWidget* area = main->mdiArea()->viewport();
        for (QMdiSubWindow* sw : main->mdiArea()->subWindowList()) {
            if (sw->isHidden()) continue;
            const QString name = sw->widget()->objectName();
            QVERIFY2(area->rect().contains(sw->geometry()),
                     qPrintable(name + QLatin1Char(' ') + describe(sw->geometry()) + " in " +
                                describe(area->rect())));
            // Seen through its own window: a button cut off by the window's edge is hidden.
            const QRect inside = sw->contentsRect();
            const QStringList hidden = hiddenButtons(sw->widget(), sw, inside);
            QVERIFY2(hidden.isEmpty(), qPrintable(name + ": " + hidden.join(QLatin1Char('\n'))));
        }
        // The channel edit dialog takes the height the area has before its fields scroll.
        QWidget* edit = main->ChildForm(QStringLiteral("FrmCHInfoEdit"));
        auto* host = qobject_cast<QMdiSubWindow*>(edit->parentWidget());
        auto* scroll = edit->findChild<QScrollArea*>(QStringLiteral("Frame1Scroll"));
        QTRY_VERIFY2(!scroll->verticalScrollBar()->isVisible() || host->height() == area->height(),
                     qPrintable(describe(host->geometry()) + " in " + describe(area->rect())));
    }

    void startPanelIsSeenWhole_data() {
        QTest::addColumn<QString>("language");
        for (const QString& file : TestLanguageFiles())
            QTest::newRow(qPrintable(file)) << file;
    }
    // At the window's first size on a screen of 1366 x 768 up to the scale 1.25, every button
    // and sentence of the start panel shows without scrolling; on a smaller screen each button
    // scrolls into view as the keyboard reaches it.
    void startPanelIsSeenWhole() {
        QFETCH(QString, language);
        useLanguage(language);
        openMain();
        QVERIFY(main->startPanelShown());
        main->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(main.get()));
        QWidget* view = main->startPanel()->viewport();
        auto inView = [view](QWidget* w) {
            return view->rect().contains(QRect(w->mapTo(view, QPoint(0, 0)), w->size()));
        };
        if (available().height() >= 600) {
            QStringList cut = hiddenButtons(main->startPanel(), view, view->rect());
            for (QLabel* l : main->startPanel()->findChildren<QLabel*>())
                if (!inView(l)) cut << l->objectName();
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QLatin1Char('\n'))));
        }
        for (QPushButton* b : main->startPanel()->buttons()) {
            QTRY_COMPARE(QApplication::focusWidget(), b);
            QVERIFY2(inView(b), qPrintable(b->objectName()));
            QTest::keyClick(b, Qt::Key_Tab);
        }
    }

    void dialogsFitTheScreen_data() { startPanelIsSeenWhole_data(); }
    void dialogsFitTheScreen() {
        QFETCH(QString, language);
        useLanguage(language);
        openMain();
        FrmSetComm::setPortLister([] { return QList<PortEntry>(); });
        const QList<std::function<QWidget*()>> dialogs = {
            [this] { return new FrmSetComm(main.get()); },
            [this] { return new FrmSetLanguage(main.get()); },
            [this] { return new FrmModelInfo(*doc, prompter, main.get()); },
            [this] { return new FrmNewMode(0, main.get()); },
            [this] { return new FrmPassWord(QString(), main.get()); },
            [this] { return new FrmProgress(CommKind::Read, main.get()); },
            [this] { return new FrmProgress(CommKind::Write, main.get()); },
            [this] { return new frmAbout(main.get()); },
            [this] { return new Frm_Mem_Freq(*doc, QStringLiteral("27.00500"), main.get()); },
            [] { return new frmSplash([] {}); },
        };
        for (const auto& make : dialogs) {
            std::unique_ptr<QWidget> w(make());
            checkTopLevel(w.get());
            if (QTest::currentTestFailed()) return;
        }
    }
};

MZ_TEST_MAIN(TestScreenFit)
#include "tst_screenfit.moc"
