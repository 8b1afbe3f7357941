// The channel commands and undo in the main window, driven from the keyboard: rows selected in
// the channel table are cut, pasted into another group, moved, undone and redone, and the
// saved files hold exactly the result or, undone to the start, the original bytes.

#include "gui/channeltestsupport.h"
#include "gui/mainwindowfixture.h"
#include "support/testmain.h"

#include "channels/channelgridview.h"
#include "channels/frmcommchinfo.h"
#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/model/channelrows.h"
#include "core/model/documenthistory.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>

namespace {

constexpr int EU = 0, DE = 6;

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

    // A CB document with the EU and DE plans' first 40 rows, saved and opened again.
    void openCbDocument() {
        Document d;
        NewDocumentInMode(d, 0);
        ProgramRows(d, EU, 1, 40);
        ProgramRows(d, DE, 1, 40);
        d.ToFileCopy();
        QVERIFY(WriteBytes(file("orig.dat"), EncodeDataFile(d.FileRadioData, d.FileCHInfo)));
        chosen = file("orig.dat");
        act("mnuFileOpen")->trigger();
        QTRY_VERIFY(table());
        QCOMPARE(doc->CountryMode, 0);
        QVERIFY(!doc->history().stack().canUndo());
    }

private slots:
    void init() {
        build(prompter);
        main->Load();
        showActive(main.get());
        QTRY_VERIFY(table());
    }
    void cleanup() { reset(); }

    void cutPasteMoveUndoRedoFromTheKeyboard() {
        openCbDocument();
        const QByteArray original = ReadBytes(file("orig.dat"));
        QVERIFY(main->activeChannelTable());
        QVERIFY(act("MnuCHEditAction")->isEnabled());

        // Rows 3 to 5 of EU, cut.
        goToRow(3);
        keys(Qt::Key_Down, Qt::ShiftModifier, 2);
        int first = 0, last = 0;
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 3);
        QCOMPARE(last, 5);
        const QStringList cut = {shown(*doc, EU, 3), shown(*doc, EU, 4), shown(*doc, EU, 5)};
        const QString eu6 = shown(*doc, EU, 6);
        keys(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(shown(*doc, EU, 3), eu6); // the rows below moved up
        QVERIFY(shown(*doc, EU, 40).isEmpty());
        QVERIFY(QGuiApplication::clipboard()->mimeData()->hasFormat(ChannelClipMimeType));
        QVERIFY(QGuiApplication::clipboard()->text().contains(cut[0]));

        // Pasted at row 10 of DE.
        choose(Ctl(table(), "Combo9_0"), QStringLiteral("DE"));
        QCOMPARE(table()->shownGroup(), DE);
        goToRow(10);
        keys(Qt::Key_V, Qt::ControlModifier);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(shown(*doc, DE, 10 + i), cut[i]);
        QCOMPARE(act("mnuEditUndo")->text(), QStringLiteral("&Undo paste of 3 channels"));

        // Undo, redo.
        const QString de10 = QString::fromLatin1("27.07500");
        keys(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(shown(*doc, DE, 10), de10);
        QCOMPARE(act("mnuEditRedo")->text(), QStringLiteral("&Redo paste of 3 channels"));
        act("mnuEditRedo")->trigger();
        QCOMPARE(shown(*doc, DE, 10), cut[0]);

        // One channel, moved up twice.
        goToRow(12);
        keys(Qt::Key_Up, Qt::AltModifier, 2);
        QCOMPARE(shown(*doc, DE, 10), cut[2]);
        QCOMPARE(shown(*doc, DE, 11), cut[0]);
        QCOMPARE(shown(*doc, DE, 12), cut[1]);
        QVERIFY(table()->selectedRows(&first, &last));
        QCOMPARE(first, 10); // the selection went with the channel

        // The saved file holds exactly what the same commands give.
        Document expected;
        QCOMPARE(OpenDataFile(expected, file("orig.dat")), OpenResult::Opened);
        const ChannelClip clip = CopyRows(expected, EU, 3, 5);
        QVERIFY(!DeleteRows(expected, EU, 3, 5).refused());
        QVERIFY(!PasteRows(expected, DE, 10, clip).refused());
        QVERIFY(!MoveRows(expected, DE, 12, 12, -1).refused());
        QVERIFY(!MoveRows(expected, DE, 11, 11, -1).refused());
        expected.RadioData.Func.GroupSel = DE;
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
        openCbDocument();
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
        openCbDocument();
        goToRow(1);
        settle();
        QVERIFY(!act("MnuCHMoveUp")->isEnabled());
        QVERIFY(act("MnuCHMoveDown")->isEnabled());
        QVERIFY(act("BtnCHMoveDown")->isVisible());
        QVERIFY(act("BtnCHMoveDown")->isEnabled());
        // EU's last row is programmed: an insert would push it out.
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
        QCOMPARE(offered.size(), 7);
        QCOMPARE(offered.constFirst(), QStringLiteral("MnuCHCut"));
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
        prompter.expect(QStringLiteral("A 6, RxFre: 28.2025 MHz is off the 5 kHz raster of the "
                                       "band; set to 28.20000 MHz"));
        keys(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(shown(*doc, 0, 5), QStringLiteral("28.10000"));
        QCOMPARE(shown(*doc, 0, 6), QStringLiteral("28.20000")); // on the 5 kHz raster
        QCOMPARE(doc->Channel(FirstCHOfGroup(0, 1) + 5)->Public, i16(0));
        // And back out as text.
        goToRow(5);
        keys(Qt::Key_Down, Qt::ShiftModifier);
        keys(Qt::Key_C, Qt::ControlModifier);
        const QStringList lines = QGuiApplication::clipboard()->text().split(QLatin1Char('\n'));
        QVERIFY(lines.value(0).startsWith(QStringLiteral("28.10000\t0\t")));
        QVERIFY(lines.value(1).startsWith(QStringLiteral("28.20000\t")));
    }

    void everyEditorsEditIsOneUndoStep() {
        openCbDocument();
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
