// The tone-tips window: its lists, what each pick stores, that showing a tip stores nothing,
// the roger-beep references that follow the tips, the bar diagram, Save as WAV, and playback
// without an audio output (this test keeps every audio server out of reach).

#include "gui/guitestenv.h"
#include "support/testmain.h"

#include "app/childwindows.h"
#include "app/frmmain.h"
#include "channels/channeleditstate.h"
#include "channels/frmchinfoedit.h"
#include "core/sound/tippcm.h"
#include "settings/frmtonetips.h"
#include "settings/tonetipdiagram.h"
#include "settings/tonetipplayer.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTreeWidget>

class TestToneTips : public QObject {
    Q_OBJECT

    std::unique_ptr<TestTree> tree;
    std::unique_ptr<Document> doc;
    ScriptedPrompter prompter;

    static QComboBox* list(QWidget* w, const QString& name) {
        return w->findChild<QComboBox*>(name);
    }
    // The user picks an entry of a list.
    static void pick(QComboBox* c, const QString& text) {
        const int i = c->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        c->setCurrentIndex(i);
        emit c->activated(i);
    }
    ToneTipRec& tipRec(int n) { return doc->RadioData.ToneTips.Tip[n - 1]; }

private slots:
    void initTestCase() {
        // No audio server can be reached: the window must do without one.
        qputenv("PULSE_SERVER", "unix:/nonexistent/mzprog-test");
    }
    void init() {
        tree = std::make_unique<TestTree>();
        doc = std::make_unique<Document>();
        doc->setPrompter(&prompter);
        tree->startUp(*doc);
        doc->InitDir.clear();
        doc->NewDocument();
        doc->ToFileCopy();
        prompter.reset();
    }
    void cleanup() { doc.reset(); }

    void listsAndCaptions() {
        FrmToneTips w(*doc);
        QCOMPARE(w.windowTitle(), LoadLangText(29000));
        auto* tabs = child<QTabBar>(&w, "TabStrip1");
        QCOMPARE(tabs->count(), 8);
        QCOMPARE(tabs->tabText(7), LoadLangText(29001) + QStringLiteral(" 8"));
        QCOMPARE(w.CurToneTip(), 1);
        auto* repeat = list(&w, QStringLiteral("Combo1_0"));
        QCOMPARE(repeat->count(), 11);
        QCOMPARE(repeat->itemText(0), LoadLangText(29200));
        QCOMPARE(repeat->itemText(10), QStringLiteral("10"));
        auto* pause = list(&w, QStringLiteral("Combo2_0"));
        QCOMPARE(pause->count(), 256);
        QCOMPARE(pause->itemText(255), QStringLiteral("2550"));
        for (int i = 0; i < 14; ++i) {
            auto* freq = list(&w, QStringLiteral("Combo3_%1").arg(i));
            auto* time = list(&w, QStringLiteral("Combo4_%1").arg(i));
            QCOMPARE(freq->count(), 217);
            QCOMPARE(freq->itemText(0), LoadLangText(29201));
            QCOMPARE(freq->itemText(1), QStringLiteral("400"));
            QCOMPARE(freq->itemText(216), QStringLiteral("2550"));
            QCOMPARE(time->count(), 256);
            QCOMPARE(child<QLabel>(&w, qPrintable(QStringLiteral("Label5_%1").arg(i)))->text(),
                     LoadLangText(29100 + i));
            QVERIFY(!freq->accessibleName().isEmpty());
            QVERIFY(!time->accessibleName().isEmpty());
        }
        QCOMPARE(child<QPushButton>(&w, "Command1_0")->text(), LoadLangText(29006));
        QCOMPARE(child<QPushButton>(&w, "Command2_0")->text(), LoadLangText(29007));
        // Nothing plays yet: nothing to stop.
        QVERIFY(!child<QPushButton>(&w, "Command2_0")->isEnabled());
        QCOMPARE(child<QPushButton>(&w, "CommandClose")->text(), LoadLangText(9023));
        QVERIFY(!child<QPushButton>(&w, "CommandHelp")->isHidden());
        // Tip 1 of a new document: 2100 Hz and rests of 100 ms, played once.
        QCOMPARE(repeat->currentText(), QStringLiteral("1"));
        QCOMPARE(list(&w, QStringLiteral("Combo3_0"))->currentText(), QStringLiteral("2100"));
        QCOMPARE(list(&w, QStringLiteral("Combo3_1"))->currentText(), LoadLangText(29201));
        QCOMPARE(list(&w, QStringLiteral("Combo4_0"))->currentText(), QStringLiteral("100"));
    }

    // Each pick goes into the tip of the selected tab at once.
    void picksStore() {
        FrmToneTips w(*doc);
        child<QTabBar>(&w, "TabStrip1")->setCurrentIndex(5);
        QCOMPARE(w.CurToneTip(), 6);
        QSignalSpy changed(doc.get(), &Document::toneTipsChanged);
        struct Row {
            const char* list;
            QString entry;
            std::function<int(const ToneTipRec&)> field;
            int stored;
        };
        const Row rows[] = {
            {"Combo3_0", QStringLiteral("400"), [](auto& t) { return t.Step[0].Tone; }, 40},
            {"Combo3_13", QStringLiteral("2550"), [](auto& t) { return t.Step[13].Tone; }, 255},
            {"Combo3_0", LoadLangText(29201), [](auto& t) { return t.Step[0].Tone; }, 0},
            {"Combo3_2", QStringLiteral("1230"), [](auto& t) { return t.Step[2].Tone; }, 123},
            {"Combo4_2", QStringLiteral("2550"), [](auto& t) { return t.Step[2].Time; }, 255},
            {"Combo2_0", QStringLiteral("200"), [](auto& t) { return t.Pause; }, 20},
            {"Combo1_0", QStringLiteral("10"), [](auto& t) { return t.Repeat; }, 10},
            {"Combo1_0", LoadLangText(29200), [](auto& t) { return t.Repeat; }, 0},
        };
        for (const Row& r : rows) {
            pick(list(&w, QLatin1String(r.list)), r.entry);
            QCOMPARE(r.field(tipRec(6)), r.stored);
        }
        QCOMPARE(changed.size(), int(std::size(rows)));
        // The other tips are untouched.
        QCOMPARE(tipRec(5), doc->FileRadioData.ToneTips.Tip[4]);
        QCOMPARE(tipRec(7), doc->FileRadioData.ToneTips.Tip[6]);
        // The diagram shows the tip as stored.
        QCOMPARE(child<ToneTipDiagram>(&w, "Picture1_0")->tip(), tipRec(6));
    }

    // Keyboard only: Tab into the lists and arrow keys pick.
    void keyboardPicks() {
        FrmToneTips w(*doc);
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* time = list(&w, QStringLiteral("Combo4_1"));
        time->setFocus();
        QTest::keyClick(time, Qt::Key_Down);
        QCOMPARE(tipRec(1).Step[1].Time, 11);
        QTest::keyClick(time, Qt::Key_Return); // Enter moves on, like Tab
        QCOMPARE(QApplication::focusWidget(), list(&w, QStringLiteral("Combo3_2")));
    }

    // A tip read from a radio may hold what no list entry stands for. Showing it (at opening,
    // switching tabs, after any change) stores nothing; a pick stores the entry.
    void showingStoresNothing() {
        tipRec(3).Step[0].Tone = 30;  // 300 Hz, below the list
        tipRec(3).Step[1].Tone = 300; // beyond the list
        tipRec(3).Step[1].Time = 7;
        tipRec(3).Step[2].Time = 300; // beyond the list
        tipRec(3).Repeat = 12;
        tipRec(3).Pause = 400;
        doc->ToFileCopy();
        const ToneTipsRec before = doc->RadioData.ToneTips;
        FrmToneTips w(*doc);
        auto* tabs = child<QTabBar>(&w, "TabStrip1");
        tabs->setCurrentIndex(2);
        QCOMPARE(list(&w, QStringLiteral("Combo1_0"))->currentIndex(), 0);
        QCOMPARE(list(&w, QStringLiteral("Combo2_0"))->currentIndex(), 0);
        QCOMPARE(list(&w, QStringLiteral("Combo3_0"))->currentText(), LoadLangText(29201));
        QCOMPARE(list(&w, QStringLiteral("Combo3_1"))->currentText(), LoadLangText(29201));
        QCOMPARE(list(&w, QStringLiteral("Combo4_2"))->currentIndex(), 0);
        tabs->setCurrentIndex(0);
        tabs->setCurrentIndex(2);
        // Another note changes; the others stay as they were.
        pick(list(&w, QStringLiteral("Combo4_5")), QStringLiteral("50"));
        QCOMPARE(tipRec(3).Step[0].Tone, 30);
        QCOMPARE(tipRec(3).Repeat, 12);
        QCOMPARE(tipRec(3).Pause, 400);
        QCOMPARE(tipRec(3).Step[5].Time, 5);
        tipRec(3).Step[5].Time = before.Tip[2].Step[5].Time;
        QCOMPARE(doc->RadioData.ToneTips, before);
        QVERIFY(!doc->IsDataChanged());
        // Picking the entry that is shown stores it.
        pick(list(&w, QStringLiteral("Combo3_0")), LoadLangText(29201));
        QCOMPARE(tipRec(3).Step[0].Tone, 0);
        pick(list(&w, QStringLiteral("Combo1_0")), LoadLangText(29200));
        QCOMPARE(tipRec(3).Repeat, 0);
    }

    // A tip that goes out of use is no longer anybody's roger beep; the channel edit dialog
    // offers a tip only while it is in use.
    void rogerBeepsFollow() {
        doc->SetCountryMode(1);
        doc->NewDocument();
        CHInfoRec* ch = doc->Channel(1);
        QVERIFY(ch);
        ch->RBTone = 2;
        doc->RadioData.PublicCH.RBTone = 2;
        doc->Channel(401)->RBTone = 3;
        ChannelEditState::of(*doc).CurGroup = 0;
        ChannelEditState::of(*doc).CurCH = 1;
        FrmCHInfoEdit edit(*doc);
        auto* rb = list(&edit, QStringLiteral("Combo2_10"));
        auto offered = [rb] {
            QStringList l;
            for (int i = 1; i < rb->count(); ++i)
                l << rb->itemText(i);
            return l;
        };
        QVERIFY(offered().contains(QStringLiteral("2")));
        FrmToneTips w(*doc);
        child<QTabBar>(&w, "TabStrip1")->setCurrentIndex(1);
        QSignalSpy rechecked(doc.get(), &Document::rogerBeepsRechecked);
        pick(list(&w, QStringLiteral("Combo1_0")), LoadLangText(29200));
        QCOMPARE(rechecked.size(), 1);
        QCOMPARE(ch->RBTone, 0);
        QCOMPARE(doc->RadioData.PublicCH.RBTone, 0);
        QCOMPARE(doc->Channel(401)->RBTone, 3);
        QVERIFY(!offered().contains(QStringLiteral("2")));
        // In use again: offered again.
        pick(list(&w, QStringLiteral("Combo1_0")), QStringLiteral("2"));
        QVERIFY(offered().contains(QStringLiteral("2")));
        // A tip whose notes all last 0 is not in use either.
        child<QTabBar>(&w, "TabStrip1")->setCurrentIndex(2);
        for (int i = 0; i < 14; ++i)
            pick(list(&w, QStringLiteral("Combo4_%1").arg(i)), QStringLiteral("0"));
        QCOMPARE(doc->Channel(401)->RBTone, 0);
        QVERIFY(!offered().contains(QStringLiteral("3")));
        QCOMPARE(child<ToneTipDiagram>(&w, "Picture1_0")->bars().size(), 0);
    }

    void diagram() {
        ToneTipDiagram d;
        ToneTipRec t;
        t.Step[0] = {256, 10}; // full height
        t.Step[1] = {128, 30}; // half height, three times as wide
        t.Step[2] = {200, 0};  // no bar
        t.Step[3] = {64, 20};
        t.Repeat = 1;
        d.setTip(t);
        for (const QSize size : {QSize(400, 200), QSize(900, 500)}) {
            d.resize(size);
            const QRectF area = d.plotArea();
            const auto bars = d.bars();
            QCOMPARE(bars.size(), 3);
            QCOMPARE(bars[0].note, 1);
            QCOMPARE(bars[2].note, 4);
            QCOMPARE(bars[0].colour, QColor(Qt::red));
            QCOMPARE(bars[1].colour, QColor(Qt::blue));
            QCOMPARE(bars[2].colour, QColor(Qt::blue)); // note 4 is even
            QCOMPARE(bars[0].rect.left(), area.left());
            QCOMPARE(bars[2].rect.right(), area.right());
            QCOMPARE(bars[1].rect.width(), 3 * bars[0].rect.width());
            QCOMPARE(bars[0].rect.height(), area.height());
            QCOMPARE(bars[1].rect.height(), area.height() / 2);
            QCOMPARE(bars[2].rect.height(), area.height() / 4);
            for (const auto& b : bars)
                QCOMPARE(b.rect.bottom(), area.bottom());
            // The time axis: from 0 to the tip's 600 ms, in steps of 1, 2 or 5 × 10^n ms.
            const auto ticks = d.ticks();
            QVERIFY(ticks.size() >= 3);
            QCOMPARE(ticks.first().first, 0);
            QCOMPARE(ticks.first().second, area.left());
            const int step = ticks[1].first;
            QVERIFY(QList<int>({10, 20, 50, 100, 200, 500}).contains(step));
            QCOMPARE(ticks.last().first, 600 / step * step);
        }
        // Drawn at twice the pixel density: the bars keep their colours to their edges.
        d.resize(400, 200);
        QImage img(d.size() * 2, QImage::Format_RGB32);
        img.setDevicePixelRatio(2);
        d.render(&img);
        const auto bars = d.bars();
        auto at = [&](QPointF p) { return img.pixelColor((p * 2).toPoint()); };
        QCOMPARE(at(bars[0].rect.center()), QColor(Qt::red));
        QCOMPARE(at(bars[1].rect.center()), QColor(Qt::blue));
        QCOMPARE(at(bars[1].rect.topRight() + QPointF(-0.5, 0.5)), QColor(Qt::blue));
        QCOMPARE(at(bars[1].rect.topRight() + QPointF(0.5, -0.5)), d.palette().base().color());
        // Nothing to draw when no note lasts.
        d.setTip(ToneTipRec{});
        QVERIFY(d.bars().isEmpty());
        QVERIFY(d.ticks().isEmpty());
    }

    void saveAsWav() {
        FrmToneTips w(*doc);
        const QString path = tree->dir.filePath(QStringLiteral("tip1"));
        QString preset;
        w.setFileChooser([&](const QString& p) {
            preset = p;
            return path;
        });
        child<QPushButton>(&w, "CommandSaveWav")->click();
        QVERIFY(preset.endsWith(QStringLiteral("tip1.wav")));
        QFile f(path + QStringLiteral(".wav"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.size(), 44 + sound::TipSampleCount(tipRec(1)) * 2);
        QCOMPARE(f.read(4), QByteArray("RIFF"));
        QVERIFY(prompter.asked.isEmpty());
        // A folder that does not exist: the user is told, nothing is left behind.
        prompter.expect(9720);
        QVERIFY(!w.saveWavTo(tree->dir.filePath(QStringLiteral("no/such/t.wav"))));
        QCOMPARE(prompter.asked.size(), 1);
        QVERIFY(prompter.asked[0].text.startsWith(LoadLangText(9720)));
        QVERIFY(!QFile::exists(tree->dir.filePath(QStringLiteral("no/such/t.wav"))));
    }

    // Without an audio output Play is off, says why, and the main window's status bar says so
    // too, as one message among the others. The menu item and the tree node open the one window.
    void noOutputInMainWindow() {
        QVERIFY(ToneTipPlayer::outputDevice().isNull());
        frmMain main(*doc, prompter);
        RegisterChildWindows(main);
        main.Load();
        main.show();
        QVERIFY(QTest::qWaitForWindowExposed(&main));
        main.findChild<QAction*>(QStringLiteral("mnuToneTips"))->trigger();
        QWidget* w = main.ChildForm(QStringLiteral("FrmToneTips"));
        QVERIFY(w);
        auto* play = child<QPushButton>(w, "Command1_0");
        QVERIFY(!play->isEnabled());
        QCOMPARE(play->toolTip(), LoadLangText(29902));
        // Said as the newest message, which a later one replaces, and kept in Window > Messages.
        QCOMPARE(main.statusMessage(), LoadLangText(29902));
        main.showStatusMessage(QStringLiteral("later"));
        QCOMPARE(main.statusMessage(), QStringLiteral("later"));
        QVERIFY(!main.statusBar()->findChild<QLabel*>(QStringLiteral("ToneTipsStatus")));
        QVERIFY(child<QPushButton>(w, "CommandSaveWav")->isEnabled());
        auto* treeView = main.findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
        const auto nodes = treeView->findItems(LoadLangText(12014), Qt::MatchRecursive);
        QCOMPARE(nodes.size(), 1);
        emit treeView->itemClicked(nodes[0], 0);
        QCOMPARE(main.ChildForm(QStringLiteral("FrmToneTips")), w);
        int open = 0;
        for (QMdiSubWindow* sub : main.mdiArea()->subWindowList())
            open += sub->widget()->objectName() == QLatin1String("FrmToneTips");
        QCOMPARE(open, 1);
        QPointer<QWidget> alive(w);
        child<QPushButton>(w, "CommandClose")->click();
        QTRY_VERIFY(!alive);
        QVERIFY(!main.statusBar()->findChild<QLabel*>(QStringLiteral("ToneTipsStatus")));
    }

    // The player without sound: it keeps the tip's timing, ends by itself, Stop ends it at
    // once, and a second Play replaces the first.
    void silentPlayback() {
        ToneTipPlayer player;
        player.setSilent(true);
        QSignalSpy finished(&player, &ToneTipPlayer::finished);
        ToneTipRec off = tipRec(1);
        off.Repeat = 0;
        QVERIFY(!player.play(off));
        QVERIFY(!player.isPlaying());

        const ToneTipRec& tip = tipRec(3); // 7 notes of 30 ms
        QVERIFY(player.play(tip));
        QVERIFY(player.isPlaying());
        QVERIFY(!player.isAudible());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.size(), 1);
        QVERIFY(!player.isPlaying());

        ToneTipRec longTip = tip;
        longTip.Repeat = 10;
        longTip.Pause = 255;
        QVERIFY(player.play(longTip));
        QVERIFY(player.play(longTip));
        QTest::qWait(50);
        player.stop();
        QVERIFY(!player.isPlaying());
        QTest::qWait(100);
        QCOMPARE(finished.size(), 1);
    }

    // Closing the window while a tip plays ends the sound with it.
    void closeWhilePlaying() {
        auto* w = new FrmToneTips(*doc);
        QPointer<FrmToneTips> alive(w);
        w->player().setSilent(true);
        tipRec(1).Repeat = 10;
        QVERIFY(w->player().play(tipRec(1)));
        QPointer<ToneTipPlayer> player(&w->player());
        w->show();
        w->close();
        QTRY_VERIFY(!alive);
        QVERIFY(!player);
    }
};

MZ_TEST_MAIN(TestToneTips)
#include "tst_tonetips.moc"
