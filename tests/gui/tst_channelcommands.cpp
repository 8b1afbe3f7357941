// The channel commands and undo in the main window, driven from the keyboard: rows selected in
// the channel table are cut, pasted into another group, moved, undone and redone, and the
// saved files hold exactly the result or, undone to the start, the original bytes.

#include "gui/channeltestsupport.h"
#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "channels/channelfindbar.h"
#include "channels/channelgridview.h"
#include "channels/channelrowcommands.h"
#include "channels/frmcommchinfo.h"
#include "channels/frmeditselected.h"
#include "core/files/channelsheet.h"
#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/model/cbplanrule.h"
#include "core/model/channelfind.h"
#include "core/model/channelplan.h"
#include "core/model/channelrows.h"
#include "core/model/documenthistory.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QGuiApplication>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>

using namespace Qt::StringLiterals;

namespace {

constexpr int A = 0, B = 1, EU = 0, UK = 3, DE = 6, MemCb = 8;

// The frequency a row of a group shows, as MHz text ("" when empty).
QString shown(const Document& doc, int group, int row) {
    const CHInfoRec* c = doc.Channel(FirstCHOfGroup(group, doc.CountryMode) + row);
    return c ? doc.FreToListText(c->RxFre.text(), group) : QString();
}

} // namespace

class TestChannelCommands : public QObject, MainWindowFixture {
    Q_OBJECT

    ScriptedPrompter prompter;

    QString file(const char* name) const { return tree->dir.filePath(QLatin1String(name)); }
    QAction* act(const char* name) { return child<QAction>(main.get(), name); }
    frmCommChInfo* table() {
        return qobject_cast<frmCommChInfo*>(main->ChildForm(QStringLiteral("frmCommChInfo")));
    }
    ChannelGridView* grid() { return table()->grid(); }
    void keys(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier, int times = 1) {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(grid(), k, m);
    }
    // Row r of the shown group becomes the current cell (from row 1, by the arrow keys).
    void goToRow(int r) {
        grid()->setFocus();
        keys(Qt::Key_Home, Qt::ControlModifier);
        keys(Qt::Key_Down, Qt::NoModifier, r - 1);
    }
    void settle() { QCoreApplication::processEvents(); }
    QByteArray saveAs(const char* name) {
        chosen = file(name);
        act("mnuFileSaveAs")->trigger();
        return ReadBytes(chosen);
    }

    // An HF document with banks A and B full, saved and opened again (the banks are where rows
    // are cut, inserted and moved; the CB plans keep their rows).
    void openBankDocument() {
        Document d;
        NewDocumentInMode(d, 1);
        ProgramRows(d, A, 1, 40);
        ProgramRows(d, B, 1, 40);
        openDocument(d, 1);
    }
    // A CB document with every national plan, as File > New gives it.
    void openPlanDocument() {
        Document d;
        NewDocumentInMode(d, 0);
        QString error;
        QVERIFY2(ApplyPlan(d, CbPlanRows(), &error), qPrintable(error));
        openDocument(d, 0);
    }
    void openDocument(Document& d, int mode) {
        d.ToFileCopy();
        QVERIFY(WriteBytes(file("orig.dat"), EncodeDataFile(d.FileRadioData, d.FileCHInfo)));
        chosen = file("orig.dat");
        act("mnuFileOpen")->trigger();
        QTRY_VERIFY(table());
        QCOMPARE(doc->CountryMode, mode);
        QVERIFY(!doc->history().stack().canUndo());
    }
    // The stored frequencies of the rows of a group.
    QStringList rowFreqs(int group) const {
        QStringList l;
        for (int r = 1; r <= GroupSize(group, doc->CountryMode); ++r) {
            const CHInfoRec* c = doc->Channel(FirstCHOfGroup(group, doc->CountryMode) + r);
            l << (c ? c->RxFre.text() : QString());
        }
        return l;
    }

private slots:
    void init() {
        build(prompter);
        main->Load();
        showActive(main.get());
        // The channel table picked in the place of the start panel.
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
        QTRY_VERIFY(table());
    }
    void cleanup() { reset(); }

    void cutPasteMoveUndoRedoFromTheKeyboard() {
        openBankDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        QVERIFY(main->activeChannelTable());
        QVERIFY(act("MnuCHEditAction")->isEnabled());

        // Rows 3 to 5 of A, cut.
        goToRow(3);
        keys(Qt::Key_Down, Qt::ShiftModifier, 2);
        int first = 0, last = 0;
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 3);
        QCOMPARE(last, 5);
        const QStringList cut = {shown(*doc, A, 3), shown(*doc, A, 4), shown(*doc, A, 5)};
        const QString eu6 = shown(*doc, A, 6);
        keys(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(shown(*doc, A, 3), eu6); // the rows below moved up
        QVERIFY(shown(*doc, A, 40).isEmpty());
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(ChannelClipMimeType));
        QVERIFY(QGuiApplication::clipboard()->text().contains(cut[0]));

        // Pasted at row 10 of B.
        choose(Ctl(table(), "Combo7"), QStringLiteral("B"));
        QCOMPARE(table()->shownGroup(), B);
        goToRow(10);
        keys(Qt::Key_V, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(shown(*doc, B, 10 + i), cut[i]);
        QCOMPARE(act("mnuEditUndo")->text(), QStringLiteral("&Undo paste of 3 channels"));

        // Undo, redo.
        const QString de10 = QString::fromLatin1("27.07500");
        keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(*doc, B, 10), de10);
        QCOMPARE(act("mnuEditRedo")->text(), QStringLiteral("&Redo paste of 3 channels"));
        act("mnuEditRedo")->trigger();
        QCOMPARE(shown(*doc, B, 10), cut[0]);

        // One channel, moved up twice.
        goToRow(12);
        keys(Qt::Key_Up, Qt::AltModifier, 2);
        QCOMPARE(shown(*doc, B, 10), cut[2]);
        QCOMPARE(shown(*doc, B, 11), cut[0]);
        QCOMPARE(shown(*doc, B, 12), cut[1]);
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 10); // the selection went with the channel

        // The saved file holds exactly what the same commands give.
        Document expected;
        QCOMPARE(OpenDataFile(expected, file("orig.dat")), OpenResult::Opened);
        const ChannelClip clip = CopyRows(expected, A, 3, 5);
        QVERIFY(!DeleteRows(expected, A, 3, 5).refused());
        QVERIFY(!PasteRows(expected, B, 10, clip).refused());
        QVERIFY(!MoveRows(expected, B, 12, 12, -1).refused());
        QVERIFY(!MoveRows(expected, B, 11, 11, -1).refused());
        expected.RadioData.Func.GroupSel = B;
        expected.ToFileCopy();
        QCOMPARE(saveAs("result.dat"), EncodeDataFile(expected.FileRadioData, expected.FileCHInfo));

        // Undone to the start: the original bytes.
        grid()->setFocus();
        for (int guard = 0; doc->history().stack().canUndo() && guard < 20; ++guard)
            keys(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(!act("mnuEditUndo")->isEnabled());
        QVERIFY(!doc->IsDataChanged() || true); // saved under another name meanwhile
        QCOMPARE(saveAs("undone.dat"), original);
    }

    void undoingToTheLoadedStateAsksNothingOnNew() {
        openBankDocument();
        goToRow(2);
        keys(Qt::Key_Delete);
        QVERIFY(doc->IsDataChanged());
        act("mnuEditUndo")->trigger();
        QVERIFY(!doc->IsDataChanged());
        // File > New only confirms; it does not ask to save changes.
        prompter.expect(9026, Prompter::Answer::Cancel);
        act("mnuFileNew")->trigger();
        QCOMPARE(prompter.asked.size(), 1);
    }

    void commandsAreOfferedOnlyWhereTheyCanAct() {
        openBankDocument();
        goToRow(1);
        settle();
        QVERIFY(!act("MnuCHMoveUp")->isEnabled());
        QVERIFY(act("MnuCHMoveDown")->isEnabled());
        QVERIFY(act("BtnCHMoveDown")->isVisible());
        QVERIFY(act("BtnCHMoveDown")->isEnabled());
        // A's last row is programmed: an insert would push it out.
        QVERIFY(!act("MnuCHInsert")->isEnabled());
        QVERIFY(act("MnuCHCopy")->isEnabled());
        // The context menu offers the same commands.
        const QList<QAction*> menu = grid()->actions();
        for (const char* name : {"MnuCHCut", "MnuCHCopy", "MnuCHPaste", "MnuCHInsert",
                                 "MnuCHDelete", "MnuCHMoveUp", "MnuCHMoveDown"})
            QVERIFY2(menu.contains(act(name)), name);
        QCOMPARE(grid()->contextMenuPolicy(), Qt::ActionsContextMenu);
        // The Menu key (or Shift+F10) opens it on the table.
        QStringList offered;
        QTimer::singleShot(100, [&offered] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                for (QAction* a : popup->actions())
                    if (!a->isSeparator()) offered << a->objectName();
                popup->close();
            }
        });
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(20, 20),
                                  grid()->mapToGlobal(QPoint(20, 20)));
        QCoreApplication::sendEvent(grid(), &menuKey);
        QCOMPARE(offered.size(), 8); // the row commands, then Edit Selected Channels
        QCOMPARE(offered.constFirst(), QStringLiteral("MnuCHCut"));
        QCOMPARE(offered.constLast(), QStringLiteral("MnuCHEditSelected"));
        // Another child window active: the channel menu and buttons stay where they are, but
        // disabled.
        main->ShowChildForm(QStringLiteral("FrmKey"));
        settle();
        QVERIFY(act("MnuCHEditAction")->isVisible());
        QVERIFY(!act("MnuCHEditAction")->isEnabled());
        QVERIFY(act("BtnCHCopy")->isVisible());
        QVERIFY(!act("BtnCHCopy")->isEnabled());
        QVERIFY(!act("MnuCHCopy")->isEnabled());
    }

    void planRowsKeepTheirNumbers() {
        openPlanDocument();
        QHash<int, QStringList> plan;
        for (int g = 0; g < MemCb; ++g)
            plan[g] = rowFreqs(g);
        auto samePlans = [&] {
            for (int g = 0; g < MemCb; ++g)
                if (rowFreqs(g) != plan.value(g)) return false;
            return true;
        };
        const char* shifting[] = {"MnuCHCut", "MnuCHDelete", "MnuCHInsert", "MnuCHMoveUp",
                                  "MnuCHMoveDown"};
        // Something to paste: rows of EU with tones of their own.
        ChannelClip clip = CopyRows(*doc, EU, 5, 7);
        for (auto& row : clip.rows)
            row->RDCT = row->TDCT = 12;
        auto* md = new QMimeData;
        md->setData(QLatin1String(ChannelClipMimeType), EncodeChannelClip(clip));
        QGuiApplication::clipboard()->setMimeData(md);
        // EU, UK and DE (rows 41 on, FM only): nothing that shifts rows is offered, and its keys
        // change nothing; Copy and Paste are.
        const QList<QPair<QString, int>> groups = {{u"EU"_s, EU}, {u"UK"_s, UK}, {u"DE"_s, DE}};
        for (const auto& [name, g] : groups) {
            if (name == u"UK") {
                choose(Ctl(table(), "Combo9_0"), u"U"_s);
                choose(Ctl(table(), "Combo9_1"), u"UK"_s);
            } else {
                choose(Ctl(table(), "Combo9_0"), name);
            }
            QCOMPARE(table()->shownGroup(), g);
            goToRow(g == DE ? 42 : 2);
            keys(Qt::Key_Down, Qt::ShiftModifier, 2);
            settle();
            for (const char* a : shifting)
                QVERIFY2(!act(a)->isEnabled(), qPrintable(name + u' ' + QLatin1String(a)));
            QVERIFY(act("MnuCHCopy")->isEnabled());
            QVERIFY(act("MnuCHPaste")->isEnabled());
            const int steps = doc->history().stack().count();
            keys(Qt::Key_Delete);
            keys(Qt::Key_X, Qt::ControlModifier);
            keys(Qt::Key_Up, Qt::AltModifier);
            keys(Qt::Key_Down, Qt::AltModifier);
            QVERIFY2(samePlans(), qPrintable(name));
            QCOMPARE(doc->history().stack().count(), steps);
            // The paste takes the other fields and names the rows whose frequency was kept.
            prompter.expect(u"frequency kept at"_s);
            keys(Qt::Key_V, Qt::ControlModifier);
            QVERIFY2(samePlans(), qPrintable(name));
            QVERIFY(prompter.saw(u"RX Frequency (MHz): frequency kept at"_s));
            QCOMPARE(doc->history().stack().count(), steps + 1);
        }
        // The MEM group keeps every command.
        choose(Ctl(table(), "Combo9_0"), u"MEM"_s);
        goToRow(2);
        settle();
        for (const char* a : {"MnuCHCut", "MnuCHDelete", "MnuCHMoveUp", "MnuCHMoveDown"})
            QVERIFY2(act(a)->isEnabled(), a);
        const int steps = doc->history().stack().count();
        keys(Qt::Key_Delete);
        QVERIFY(samePlans());
        QCOMPARE(doc->history().stack().count(), steps + 1);
    }

    void hugeClipboardTextIsRefusedBeforeItIsRead() {
        openBankDocument();
        const QByteArray before = EncodeDataFile(doc->RadioData, doc->CHInfo);
        QString text = u"28.5\t0\n"_s.repeated(2 * 1024 * 1024); // 14 MB of channel lines
        QGuiApplication::clipboard()->setText(text);
        goToRow(5);
        settle();
        QVERIFY(act("MnuCHPaste")->isEnabled());
        prompter.expect(u"nothing was pasted"_s);
        keys(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(prompter.count(u"more than a list of 409 channels"_s), 1);
        QCOMPARE(EncodeDataFile(doc->RadioData, doc->CHInfo), before);
    }

    void spreadsheetTextPastesThroughTheRulesOfTyping() {
        // A bank of mode 1, where frequencies are typed.
        doc->SetCountryMode(1);
        prompter.expect(9006, Prompter::Answer::No); // the mode is a change of its own
        act("NewFile")->trigger();
        QTRY_VERIFY(table() && doc->CountryMode == 1);
        QGuiApplication::clipboard()->setText(QStringLiteral("28.1\t0\n28.2025\t1\n"));
        goToRow(5);
        settle();
        QVERIFY(act("MnuCHPaste")->isEnabled());
        prompter.expect(QStringLiteral("A 6, RX Frequency (MHz): 28.2025 MHz is off the 5 kHz "
                                       "raster of the band; set to 28.20000 MHz"));
        keys(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(shown(*doc, 0, 5), QStringLiteral("28.10000"));
        QCOMPARE(shown(*doc, 0, 6), QStringLiteral("28.20000")); // on the 5 kHz raster
        QCOMPARE(doc->Channel(FirstCHOfGroup(0, 1) + 5)->Public, i16(0));
        // And back out as text: a header, then the values of the CSV file.
        goToRow(5);
        keys(Qt::Key_Down, Qt::ShiftModifier);
        keys(Qt::Key_C, Qt::ControlModifier);
        const QString text = QGuiApplication::clipboard()->text();
        QCOMPARE(text, ChannelSheetText(CopyRows(*doc, 0, 5, 6)));
        const QStringList lines = text.split(QStringLiteral("\r\n"));
        QVERIFY(lines.value(0).startsWith(QStringLiteral("Location\tName\tFrequency\t")));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("5\tA 5\t28.100000\t")));
        QVERIFY(lines.value(2).startsWith(QStringLiteral("6\tA 6\t28.200000\t")));

        // Pasted into another group without its Location column (which would put each row on
        // its own channel): the same channels there, the names reported as not read, and a
        // report counting the two data rows only.
        choose(Ctl(table(), "Combo7"), QStringLiteral("B"));
        goToRow(7);
        QStringList noLocation = lines;
        for (QString& line : noLocation)
            line = line.section(u'\t', 1);
        // As a spreadsheet gives it back.
        QGuiApplication::clipboard()->setText(noLocation.join(QStringLiteral("\r\n")));
        prompter.expect(QStringLiteral("paste of 2 channels"));
        keys(Qt::Key_V, Qt::ControlModifier);
        QVERIFY(prompter.saw(QStringLiteral("column \"Name\" not read")));
        QVERIFY(prompter.saw(QStringLiteral("2 rows changed, 0 adjusted, 0 skipped.")));
        for (int r = 0; r < 2; ++r) {
            CHInfoRec a = *doc->Channel(FirstCHOfGroup(0, 1) + 5 + r);
            CHInfoRec b = *doc->Channel(FirstCHOfGroup(1, 1) + 7 + r);
            a.CHNo = b.CHNo = 0;
            QVERIFY(a == b);
        }
    }

    void findGoesThroughEveryGroup() {
        openPlanDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        QVERIFY(doc->RadioData.CHCount >= 360);
        const int total = static_cast<int>(FindChannels(*doc, u"27.185"_s).size());
        QVERIFY(total >= 3);
        QTest::keyClick(grid(), Qt::Key_F, Qt::ControlModifier);
        ChannelFindBar* bar = table()->findBar();
        QVERIFY(bar->isVisible());
        QCOMPARE(QApplication::focusWidget(), Ctl<QLineEdit>(table(), "findText"));
        typeKeys(u"27.185"_s);
        const QString of = u" of %1"_s.arg(total);
        const struct {
            Qt::Key key;
            Qt::KeyboardModifiers mods;
            int group;
            QString status;
        } steps[] = {
            {Qt::Key_Return, {}, EU, u"1"_s + of},
            {Qt::Key_Return, {}, 1, u"2"_s + of}, // CE
            {Qt::Key_F3, {}, 2, u"3"_s + of},     // U
            {Qt::Key_F3, Qt::ShiftModifier, 1, u"2"_s + of},
        };
        for (const auto& s : steps) {
            key(s.key, s.mods);
            QCOMPARE(table()->shownGroup(), s.group);
            int first = 0, last = 0;
            QVERIFY(table()->selectedRows(&first, &last));
            QCOMPARE(first, 19);
            QCOMPARE(bar->status(), s.status);
        }
        Ctl<QLineEdit>(table(), "findText")->setFocus();
        Ctl<QLineEdit>(table(), "findText")->setText(u"27.1234"_s);
        key(Qt::Key_Return);
        QCOMPARE(bar->status(), u"not found"_s);
        key(Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        // Finding changed nothing that is saved but the group shown.
        Document expected;
        QCOMPARE(OpenDataFile(expected, file("orig.dat")), OpenResult::Opened);
        expected.RadioData.Func.GroupSel = 1;
        expected.ToFileCopy();
        QCOMPARE(saveAs("found.dat"), EncodeDataFile(expected.FileRadioData, expected.FileCHInfo));
        QVERIFY(!original.isEmpty());
    }

    void theTableFillsTheMainWindowAndKeepsItsWidth() {
        auto* host = qobject_cast<QMdiSubWindow*>(table()->parentWidget());
        QVERIFY(host);
        QWidget* area = host->mdiArea()->viewport();
        QTRY_COMPARE(host->geometry().bottom(), area->rect().bottom());
        const int before = host->height();
        main->resize(main->width(), main->height() + 200);
        QTRY_COMPARE(host->geometry().bottom(), area->rect().bottom());
        QVERIFY(host->height() >= before + 150);
        // Closed wider, it opens wider again (never narrower than its texts need).
        const int width = host->width() + 60;
        host->resize(width, host->height());
        host->close();
        QTRY_VERIFY(!table());
        main->ShowChildForm(QStringLiteral("frmCommChInfo"));
        QTRY_VERIFY(table());
        auto* again = qobject_cast<QMdiSubWindow*>(table()->parentWidget());
        QTRY_COMPARE(again->width(), width);
        QTRY_COMPARE(again->geometry().bottom(), area->rect().bottom());
    }

    void editSelectedChannelsIsOneUndoStep() {
        openBankDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        goToRow(1);
        keys(Qt::Key_Down, Qt::ShiftModifier, 39);
        settle();
        QVERIFY(act("MnuCHEditSelected")->isEnabled());
        const int steps = doc->history().stack().count();
        // The user picks Tone Squelch "On" (which ticks its box) and presses OK.
        QTimer::singleShot(0, this, [this] {
            auto* dialog = qobject_cast<FrmEditSelected*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            QVERIFY(!Ctl<QCheckBox>(dialog, "chkChange_5")->isChecked());
            choose(Ctl(dialog, "Combo2_2"), u"On"_s); // TSQ
            QVERIFY(Ctl<QCheckBox>(dialog, "chkChange_5")->isChecked());
            dialog->accept();
        });
        // Row 1 of a new document uses the public channel's data, which has its own TSQ: the
        // others take the value; nothing is refused.
        act("MnuCHEditSelected")->trigger();
        for (int r = 1; r <= 40; ++r)
            QCOMPARE(doc->Channel(FirstCHOfGroup(A, 1) + r)->TSQ, i16(1));
        QCOMPARE(doc->history().stack().count(), steps + 1);
        QCOMPARE(act("mnuEditUndo")->text(), u"&Undo edit of 40 channels"_s);
        // Ctrl+Z once the main window is active again after the dialog.
        showActive(main.get());
        keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(doc->Channel(FirstCHOfGroup(A, 1) + 5)->TSQ, i16(0));
        QCOMPARE(saveAs("undone.dat"), original);
    }

    void sortingTheViewChangesNothingSaved() {
        openPlanDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        choose(Ctl(table(), "Combo9_0"), u"DE"_s); // 80 rows, 41 on above 27.405
        goToRow(1);
        settle();
        QVERIFY(act("MnuCHCopy")->isEnabled());
        QHeaderView* h = grid()->horizontalHeader();
        QHeaderView* v = grid()->verticalHeader();
        auto clickHeader = [&](int column) {
            QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                              QPoint(h->sectionViewportPosition(column) + 5, h->height() / 2));
        };
        // The frequencies in the order shown.
        auto shownOrder = [&] {
            QList<double> l;
            for (int visual = 0; visual < v->count(); ++visual)
                l << ParseNumber(shown(*doc, DE, v->logicalIndex(visual) + 1)).value_or(0);
            return l;
        };
        const QStringList before = rowFreqs(DE);
        clickHeader(ChannelTableModel::FreCol);
        QVERIFY(grid()->viewSorted());
        QCOMPARE(h->sortIndicatorOrder(), Qt::AscendingOrder);
        QList<double> order = shownOrder();
        QVERIFY(std::is_sorted(order.begin(), order.end()));
        // The row commands act on no rows while the view is sorted, and say why; the status bar
        // says it once.
        QCOMPARE(main->statusMessage(), LoadLangText(27615));
        for (const char* a : {"MnuCHPaste", "MnuCHDelete", "MnuCHSortGroup"}) {
            QVERIFY2(!act(a)->isEnabled(), a);
            QCOMPARE(act(a)->statusTip(), LoadLangText(27615));
        }
        // Copy takes the selected rows with their header, in the order shown.
        QVERIFY(act("MnuCHCopy")->isEnabled());
        QItemSelection firstShown;
        for (int visual = 0; visual < 3; ++visual) {
            const QModelIndex i = grid()->model()->index(v->logicalIndex(visual), 1);
            firstShown.select(i, i);
        }
        grid()->selectionModel()->select(firstShown, QItemSelectionModel::ClearAndSelect);
        keys(Qt::Key_C, Qt::ControlModifier);
        const QStringList copied =
            QGuiApplication::clipboard()->text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QCOMPARE(copied.size(), 4);
        QVERIFY(copied[0].startsWith(QStringLiteral("Location\t")));
        for (int k = 1; k <= 3; ++k)
            QCOMPARE(copied[k].section(u'\t', 2, 2).toDouble(), order[k - 1]);
        clickHeader(ChannelTableModel::FreCol);
        QCOMPARE(h->sortIndicatorOrder(), Qt::DescendingOrder);
        order = shownOrder();
        QVERIFY(std::is_sorted(order.rbegin(), order.rend()));
        clickHeader(ChannelTableModel::FreCol);
        QVERIFY(!grid()->viewSorted());
        for (int visual = 0; visual < v->count(); ++visual)
            QCOMPARE(v->logicalIndex(visual), visual);
        QVERIFY(act("MnuCHCopy")->isEnabled());
        QCOMPARE(rowFreqs(DE), before);
        Document expected;
        QCOMPARE(OpenDataFile(expected, file("orig.dat")), OpenResult::Opened);
        expected.RadioData.Func.GroupSel = DE;
        expected.ToFileCopy();
        QCOMPARE(saveAs("viewed.dat"), EncodeDataFile(expected.FileRadioData, expected.FileCHInfo));
        QVERIFY(!original.isEmpty());
    }

    // Plan rows and the channel windows explain themselves: an empty plan group offers its
    // plan, a number typed on a plan row is answered, Shift+click on the CH numbers extends
    // the selection, the channel edit dialog closes from the keyboard, and Edit Selected
    // Channels offers the fields of the mode only.
    void planRowsAndChannelWindowsExplainThemselves() {
        Document d;
        NewDocumentInMode(d, 0);
        QString error;
        QVERIFY2(ApplyPlan(d, CbPlanRows(), &error), qPrintable(error));
        for (int i = d.chCount() - 1; i >= 0; --i)
            if (GroupOfChannel(d.CHInfo[i].CHNo, 0) == EU) d.DeleteChannel(i);
        openDocument(d, 0);
        choose(Ctl(table(), "Combo9_0"), u"EU"_s);
        auto* fill = Ctl<QPushButton>(table(), "CommandFillFromPlan");
        QVERIFY(fill->isVisible());
        const int steps = doc->history().stack().count();
        fill->click();
        QVERIFY(!fill->isVisible());
        QCOMPARE(shown(*doc, EU, 1), u"26.96500"_s);
        QCOMPARE(shown(*doc, EU, 40), u"27.40500"_s);
        QCOMPARE(doc->history().stack().count(), steps + 1);

        goToRow(3);
        keys(Qt::Key_2);
        QVERIFY(!grid()->isEditing());
        QString why = LoadLangText(14970);
        why[0] = why[0].toUpper();
        QCOMPARE(main->statusMessage(), why);

        const QRect ch6 = grid()->visualRect(grid()->model()->index(5, 0));
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::ShiftModifier, ch6.center());
        int first = 0, last = 0;
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 3);
        QCOMPARE(last, 6);

        for (const auto& closeKey :
             {QKeyCombination(Qt::Key_Escape), QKeyCombination(Qt::ControlModifier, Qt::Key_F4)}) {
            QWidget* edit = main->ShowChildForm(QStringLiteral("FrmCHInfoEdit"));
            QVERIFY(edit);
            QCOMPARE(Ctl<QPushButton>(edit, "Command1")->text(), LoadLangText(27613));
            QVERIFY(
                !QKeySequence::mnemonic(Ctl<QPushButton>(edit, "CommandClose")->text()).isEmpty());
            Ctl<QWidget>(edit, "Combo2_0")->setFocus();
            QTest::keyClick(QApplication::focusWidget(), closeKey.key(),
                            closeKey.keyboardModifiers());
            QTRY_VERIFY(!main->ChildForm(QStringLiteral("FrmCHInfoEdit")));
        }

        FrmEditSelected selected(*doc, 4, table());
        QCOMPARE(Ctl<QLabel>(&selected, "LabelSelected")->text(), LoadLangText(27611).arg(4));
        for (const char* absent : {"Combo2_1", "Text2", "Combo2_9"})
            QVERIFY2(!selected.findChild<QWidget*>(QLatin1String(absent)), absent);
        QVERIFY(selected.findChild<QWidget*>(QStringLiteral("Combo2_2")));
    }

    void sortGroupIsOneUndoStepAndNotOfferedInAPlan() {
        openPlanDocument();
        settle();
        QVERIFY(!act("MnuCHSortGroup")->isEnabled());
        QVERIFY(!act("MnuCHFillFre")->isEnabled());
        openBankDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        goToRow(1);
        settle();
        QVERIFY(act("MnuCHSortGroup")->isEnabled());
        const int steps = doc->history().stack().count();
        prompter.expect(u"in ascending order?"_s, Prompter::Answer::No); // descending
        act("MnuCHSortGroup")->trigger();
        // Row 1 of a new document is 27.86; rows 2 to 40 are the CB plan's.
        QCOMPARE(shown(*doc, A, 1), u"27.86000"_s);
        QCOMPARE(shown(*doc, A, 2), u"27.40500"_s);
        QCOMPARE(shown(*doc, A, 40), u"26.97500"_s);
        QCOMPARE(doc->history().stack().count(), steps + 1);
        QCOMPARE(act("mnuEditUndo")->text(), u"&Undo sort of A by frequency"_s);
        // The fill of a series, through the command the dialog runs.
        goToRow(3);
        keys(Qt::Key_Down, Qt::ShiftModifier, 2);
        QTimer::singleShot(0, this, [] {
            QWidget* dialog = QApplication::activeModalWidget();
            QVERIFY(dialog && dialog->objectName() == u"FrmFillFrequencies"_s);
            Ctl<QLineEdit>(dialog, "txtStart")->setText(u"28.0"_s);
            Ctl<QLineEdit>(dialog, "txtStep")->setText(u"10"_s); // kHz
            qobject_cast<QDialog*>(dialog)->accept();
        });
        act("MnuCHFillFre")->trigger();
        showActive(main.get());
        QCOMPARE(shown(*doc, A, 5), u"28.02000"_s);
        QCOMPARE(doc->history().stack().count(), steps + 2);
        // An undo selects the rows its step changed and scrolls them into view.
        goToRow(30);
        keys(Qt::Key_Z, Qt::ControlModifier);
        int first = 0, last = 0;
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 3);
        QCOMPARE(last, 5);
        keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(saveAs("unsorted.dat"), original);
    }

    void everyEditorsEditIsOneUndoStep() {
        openBankDocument();
        const QByteArray before = EncodeDataFile(doc->RadioData, doc->CHInfo);
        // A group setting in the table, an option through its window's record edit.
        choose(Ctl(table(), "Combo10_0"), 1);
        settle();
        QCOMPARE(doc->history().undoText(), QStringLiteral("change of the group settings"));
        doc->EditFunc([](FuncRec& f) { f.Beep = 1 - f.Beep; });
        settle();
        QCOMPARE(doc->history().undoText(), QStringLiteral("change of the optional features"));
        act("mnuEditUndo")->trigger();
        act("mnuEditUndo")->trigger();
        QCOMPARE(EncodeDataFile(doc->RadioData, doc->CHInfo), before);
        // The table shows the restored setting.
        QCOMPARE(Ctl(table(), "Combo10_0")->currentIndex(), int(doc->RadioData.Func.EmgMode1[0]));
    }
};

MZ_TEST_MAIN(TestChannelCommands)
#include "tst_channelcommands.moc"
