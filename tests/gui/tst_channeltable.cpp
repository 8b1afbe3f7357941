// The channel table window: which cells may be edited, creating and deleting channels by
// typing, the editors' key filters, the group settings and the country selector.

#include "channels/channeleditstate.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmcommchinfo.h"
#include "channeltestsupport.h"
#include "common/numberedit.h"
#include "support/testmain.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

class TestChannelTable : public QObject {
    Q_OBJECT

    Document doc_;
    ScriptedPrompter prompter_;

    void newDoc(int mode) {
        NewDocumentInMode(doc_, mode);
        prompter_.reset();
        doc_.setPrompter(&prompter_);
    }

    static void setCell(frmCommChInfo& t, int row, int col) {
        t.grid()->setCurrentIndex(t.tableModel()->index(row - 1, col));
    }
    static QString cell(frmCommChInfo& t, int row, int col) {
        return t.tableModel()->cellText(row, col);
    }

private slots:
    void initTestCase() { UseStagedLanguage(1); }

    void layoutAndTexts() {
        newDoc(1);
        frmCommChInfo t(doc_);
        auto* model = t.tableModel();
        QCOMPARE(model->columnCount(), 8);
        QCOMPARE(model->rowCount(), 40);
        QVERIFY(t.grid()->isColumnHidden(3));
        QVERIFY(t.grid()->isColumnHidden(4));
        QCOMPARE(model->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(),
                 LoadLangText(14002));
        QCOMPARE(model->data(model->index(4, 0), Qt::DisplayRole).toString(), QStringLiteral("5"));
        QCOMPARE(model->data(model->index(4, 0), Qt::ForegroundRole).value<QColor>(),
                 QColor(0, 0, 255));
        QCOMPARE(cell(t, 5, 7), QStringLiteral(">>"));
        QCOMPARE(model->data(model->index(4, 7), Qt::ForegroundRole).value<QColor>(),
                 QColor(255, 0, 0));
        QCOMPARE(model->data(model->index(4, 7), Qt::BackgroundRole).value<QColor>(),
                 QColor(220, 220, 220));
        // Row 1 of group "A" is channel 1 of a new document.
        QCOMPARE(cell(t, 1, 1), doc_.FreToShown(doc_.CHInfo[0].RxFre.text()));
        QCOMPARE(cell(t, 1, 2), QStringLiteral("On"));
        QCOMPARE(cell(t, 1, 6), QStringLiteral("Add"));
        QVERIFY(cell(t, 2, 1).isEmpty());
        QVERIFY(Ctl<QWidget>(&t, "CommandHelp")->isHidden());
        QCOMPARE(Ctl<QPushButton>(&t, "CommandClose")->text(), LoadLangText(9023));

        // The caption names the group and the current row.
        setCell(t, 7, 2);
        QVERIFY(t.windowTitle().startsWith(LoadLangText(14012)));
        QVERIFY(t.windowTitle().contains(QStringLiteral(" A --- ")));
        QVERIFY(t.windowTitle().endsWith(QStringLiteral(" 7]")));
        QCOMPARE(doc_.CurRow, 7);
        // The fixed column never becomes the current cell.
        t.grid()->setFocus();
        QTest::keyClick(t.grid(), Qt::Key_Left);
        QTest::keyClick(t.grid(), Qt::Key_Left);
        QCOMPARE(t.grid()->currentIndex().column(), 1);
    }

    void modeZeroRefusesFrequencyAndEmptyRows() {
        newDoc(0);
        ProgramRows(doc_, 0, 2, 5);
        frmCommChInfo t(doc_);
        showActive(&t);
        QSignalSpy dialog(&t, &frmCommChInfo::requestEditDialog);

        setCell(t, 2, 1);
        t.EnterGridEdit();
        QVERIFY(!t.grid()->isEditing());
        QVERIFY(!Ctl<QLineEdit>(&t, "Text1"));
        // Typing on a frequency cell starts nothing either.
        typeKeys(QStringLiteral("27"));
        QVERIFY(!t.grid()->isEditing());

        // Empty row 10: only the ">>" cell reacts.
        for (int col : {2, 5, 6}) {
            setCell(t, 10, col);
            t.EnterGridEdit();
            QVERIFY(!t.grid()->isEditing());
        }
        setCell(t, 10, 7);
        t.EnterGridEdit();
        QCOMPARE(dialog.count(), 1);

        // A programmed row: the Public cell opens its list.
        setCell(t, 2, 2);
        t.EnterGridEdit();
        QVERIFY(t.grid()->isEditing());
        QVERIFY(Ctl(&t, "Combo1"));
        QCOMPARE(doc_.chCount(), 14);
    }

    void modeOneCreatesAndDeletesByTyping() {
        newDoc(1);
        frmCommChInfo t(doc_);
        showActive(&t);
        const int count = doc_.chCount();

        // Typing on an empty frequency cell starts the editor with that key.
        setCell(t, 3, 1);
        typeKeys(QStringLiteral("28.5"));
        auto* text1 = Ctl<QLineEdit>(&t, "Text1");
        QVERIFY(text1);
        QCOMPARE(text1->text(), QStringLiteral("28.5"));
        key(Qt::Key_Return);
        QTRY_COMPARE(doc_.chCount(), count + 1);
        QTRY_VERIFY(!t.grid()->isEditing());
        QCOMPARE(QApplication::focusWidget(), t.grid());
        QCOMPARE(cell(t, 3, 1), QStringLiteral("28.50000"));
        QCOMPARE(cell(t, 3, 2), QStringLiteral("On"));
        QCOMPARE(cell(t, 3, 6), QStringLiteral("Add"));
        const CHInfoRec* c = doc_.Channel(3);
        QVERIFY(c);
        QCOMPARE(c->OffSetFre, i16(100));
        QCOMPARE(c->NB, i16(1));

        // A list on an empty row stores nothing.
        setCell(t, 4, 2);
        key(Qt::Key_Return);
        QVERIFY(Ctl(&t, "Combo1"));
        key(Qt::Key_Down);
        key(Qt::Key_Return);
        QTRY_VERIFY(!t.grid()->isEditing());
        QCOMPARE(doc_.chCount(), count + 1);
        QVERIFY(cell(t, 4, 2).isEmpty());

        // Clearing the frequency of the last channel up to 400: refused, with the reason.
        doc_.DeleteChannel(doc_.FindChannel(1));
        prompter_.expect(9952);
        setCell(t, 3, 1);
        key(Qt::Key_Return);
        key(Qt::Key_Backspace);
        key(Qt::Key_Return);
        QTRY_VERIFY(!t.grid()->isEditing());
        QVERIFY(doc_.Channel(3));
        QCOMPARE(cell(t, 3, 1), QStringLiteral("28.50000"));
        QCOMPARE(prompter_.asked.size(), 1);
        prompter_.reset();
        doc_.SetCHValue(1, 1, FldRxFre, QStringLiteral("28.60000"));
        setCell(t, 3, 1);
        key(Qt::Key_Return);
        key(Qt::Key_Backspace);
        key(Qt::Key_Return);
        QTRY_VERIFY(!doc_.Channel(3));
        QVERIFY(cell(t, 3, 1).isEmpty());
        QVERIFY(prompter_.asked.isEmpty());

        // Out of the band (or not a number): one warning, and nothing is stored anywhere; the
        // empty row stays empty.
        for (const char* typed : {"35", "20", "31"}) {
            prompter_.reset();
            prompter_.expect(9021);
            const int before = doc_.chCount();
            setCell(t, 5, 1);
            typeKeys(QString::fromLatin1(typed));
            key(Qt::Key_Return);
            QTRY_VERIFY(!t.grid()->isEditing());
            QCOMPARE(prompter_.asked.size(), 1);
            QVERIFY(prompter_.asked[0].text.startsWith(LoadLangText(9021)));
            QVERIFY(!doc_.Channel(5));
            QCOMPARE(doc_.chCount(), before);
            QVERIFY(cell(t, 5, 1).isEmpty());
        }
        // In the band between two points of the raster: stored on the raster, and said.
        prompter_.reset();
        QSignalSpy said(&ChannelEditState::of(doc_), &ChannelEditState::statusNote);
        setCell(t, 6, 1);
        typeKeys(QStringLiteral("28.0099"));
        key(Qt::Key_Return);
        QTRY_VERIFY(doc_.Channel(6));
        QCOMPARE(cell(t, 6, 1), QStringLiteral("28.00500"));
        QCOMPARE(said.size(), 1);
        const QString note = said[0][0].toString();
        QVERIFY2(note.contains(u"28.0099"_s) && note.contains(u"28.00500"_s), qPrintable(note));
        QVERIFY(prompter_.asked.isEmpty());
    }

    void pendingValueIsCommitted() {
        newDoc(1);
        frmCommChInfo t(doc_);
        showActive(&t);
        setCell(t, 1, 1);
        key(Qt::Key_Return);
        typeKeys(QStringLiteral("29"));
        QVERIFY(t.grid()->isEditing());
        t.commitEdits();
        QVERIFY(!t.grid()->isEditing());
        QCOMPARE(doc_.FreToShown(doc_.Channel(1)->RxFre.text()), QStringLiteral("29.00000"));

        // SetEditDisable drops the value; Escape too.
        key(Qt::Key_Return);
        typeKeys(QStringLiteral("28"));
        t.SetEditDisable();
        key(Qt::Key_Return);
        typeKeys(QStringLiteral("27"));
        key(Qt::Key_Escape);
        QVERIFY(!t.grid()->isEditing());
        QCOMPARE(doc_.FreToShown(doc_.Channel(1)->RxFre.text()), QStringLiteral("29.00000"));

        // Scrolling the table stores the value and ends the edit.
        key(Qt::Key_Return);
        typeKeys(QStringLiteral("28.5"));
        t.grid()->verticalScrollBar()->setValue(t.grid()->verticalScrollBar()->maximum());
        QVERIFY(!t.grid()->isEditing());
        QCOMPARE(doc_.FreToShown(doc_.Channel(1)->RxFre.text()), QStringLiteral("28.50000"));
    }

    void listEditorStoresOnEachChoice() {
        newDoc(1);
        frmCommChInfo t(doc_);
        showActive(&t);
        setCell(t, 1, 5); // TSQ
        key(Qt::Key_Return);
        auto* combo = Ctl(&t, "Combo3");
        QVERIFY(combo);
        QCOMPARE(combo->currentText(), QStringLiteral("Off"));
        QCOMPARE(doc_.Channel(1)->TSQ, i16(0)); // opening stores nothing
        key(Qt::Key_Down);
        QCOMPARE(doc_.Channel(1)->TSQ, i16(1)); // stored at once, editor still open
        QVERIFY(t.grid()->isEditing());
        QCOMPARE(cell(t, 1, 5), QStringLiteral("On"));
        key(Qt::Key_Return);
        QTRY_VERIFY(!t.grid()->isEditing());
    }

    void publicChannelHasNoShiftAndVfoNoScan() {
        newDoc(1);
        frmCommChInfo t(doc_);
        setCell(t, 1, 3);
        t.EnterGridEdit();
        QVERIFY(!t.grid()->isEditing()); // Public "On"
        setCell(t, 1, 5);
        t.EnterGridEdit();
        QVERIFY(t.grid()->isEditing());
        t.SetEditDisable();
        doc_.SetCHValue(0, 1, FldPublic, 0);
        setCell(t, 1, 3);
        t.EnterGridEdit();
        QVERIFY(Ctl(&t, "Combo2"));
        t.SetEditDisable();
        setCell(t, 1, 4);
        t.EnterGridEdit();
        QVERIFY(Ctl<QLineEdit>(&t, "Text2"));
        t.SetEditDisable();

        // Group "VFO": no group settings, and Scan cannot be edited.
        choose(Ctl(&t, "Combo7"), QStringLiteral("VFO"));
        QCOMPARE(t.tableModel()->rowCount(), 1);
        for (const char* name :
             {"Combo8_0", "Combo8_1", "Combo8_2", "Combo8_3", "Combo10_0", "Combo10_1", "Label3_0"})
            QVERIFY2(Ctl<QWidget>(&t, name)->isHidden(), name);
        setCell(t, 1, 6);
        t.EnterGridEdit();
        QVERIFY(!t.grid()->isEditing());

        // Group "MEM": only the working channel.
        choose(Ctl(&t, "Combo7"), QStringLiteral("MEM"));
        QVERIFY(!Ctl<QWidget>(&t, "Combo8_0")->isHidden());
        QVERIFY(!Ctl<QWidget>(&t, "Label3_0")->isHidden());
        for (const char* name : {"Combo8_1", "Combo8_2", "Combo8_3", "Combo10_0", "Label3_3"})
            QVERIFY2(Ctl<QWidget>(&t, name)->isHidden(), name);
        QCOMPARE(Ctl(&t, "Combo8_0")->count(), 8);
        QCOMPARE(Ctl(&t, "Combo8_0")->currentText(),
                 QString::number(doc_.RadioData.Func.MemWorkCH + 1));
        choose(Ctl(&t, "Combo8_0"), QStringLiteral("5"));
        QCOMPARE(doc_.RadioData.Func.MemWorkCH, i16(4));
    }

    void numberEditKeyFilter() {
        NumberEdit fre(NumberEdit::Accepts::Frequency);
        NumberEdit digits(NumberEdit::Accepts::Digits);
        QApplication::clipboard()->setText(QStringLiteral("27.5"));
        QTest::keyClicks(&fre, QStringLiteral("2a7.x5 -"));
        QCOMPARE(fre.text(), QStringLiteral("27.5"));
        QTest::keyClick(&fre, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(&fre, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(fre.text(), QStringLiteral("27.5"));
        QTest::keyClick(&fre, Qt::Key_Backspace);
        QCOMPARE(fre.text(), QStringLiteral("27."));
        // A character above code 127, typed or committed by an input method.
        QKeyEvent umlaut(QEvent::KeyPress, Qt::Key_Adiaeresis, Qt::NoModifier,
                         QString(QChar(0xE4)));
        QApplication::sendEvent(&fre, &umlaut);
        QInputMethodEvent im;
        im.setCommitString(QString::fromUtf8("二七"));
        QApplication::sendEvent(&fre, &im);
        QCOMPARE(fre.text(), QStringLiteral("27."));

        QTest::keyClicks(&digits, QStringLiteral("1.5"));
        QCOMPARE(digits.text(), QStringLiteral("15"));
        QSignalSpy enter(&digits, &NumberEdit::enterPressed);
        QTest::keyClick(&digits, Qt::Key_Return);
        QCOMPARE(enter.count(), 1);
    }

    void groupValidSelectorRules() {
        newDoc(1);
        frmCommChInfo t(doc_);
        auto* valid = Ctl(&t, "Combo8_3");
        QVERIFY(!valid->isHidden());
        QCOMPARE(valid->currentIndex(), 1); // group A holds channel 1 and is valid
        // The selector says what it switches.
        QVERIFY(!Ctl<QWidget>(&t, "Label3_3")->isHidden());
        QCOMPARE(Ctl<QLabel>(&t, "Label3_3")->text(), LoadLangText(14101));
        QCOMPARE(valid->itemText(1), QStringLiteral("Enable"));

        // The only valid group cannot be disabled.
        choose(valid, 0);
        QCOMPARE(doc_.RadioData.Func.GroupValid[0], i16(1));
        QCOMPARE(valid->currentIndex(), 1);

        // A group without channels cannot be enabled.
        choose(Ctl(&t, "Combo7"), QStringLiteral("B"));
        QCOMPARE(valid->currentIndex(), 0);
        choose(valid, 1);
        QCOMPARE(doc_.RadioData.Func.GroupValid[1], i16(0));
        QCOMPARE(valid->currentIndex(), 0);

        // With a channel it can; then group A may be disabled.
        doc_.SetCHValue(1, 4, FldRxFre, QStringLiteral("28.3"));
        choose(valid, 1);
        QCOMPARE(doc_.RadioData.Func.GroupValid[1], i16(1));
        choose(Ctl(&t, "Combo7"), QStringLiteral("A"));
        choose(valid, 0);
        QCOMPARE(doc_.RadioData.Func.GroupValid[0], i16(0));

        // Deleting the last channel of the valid group B: the group loses its flag and the
        // group of the first remaining channel becomes valid.
        choose(Ctl(&t, "Combo7"), QStringLiteral("B"));
        doc_.SetCHValue(1, 4, FldRxFre, QString());
        QCOMPARE(doc_.RadioData.Func.GroupValid[1], i16(0));
        QCOMPARE(doc_.RadioData.Func.GroupValid[0], i16(1));
        QCOMPARE(valid->currentIndex(), 0);
    }

    void groupSettingsFollowProgrammedRows() {
        newDoc(1);
        ProgramRows(doc_, 2, 3, 6, [](int r) { return 28.0 + 0.01 * r; });
        doc_.EditFunc([](FuncRec& f) {
            f.WorkCH[2] = 4;  // row 5, programmed
            f.EmgCH1[2] = 20; // row 21, not programmed
            f.EmgMode2[2] = 1;
        });
        frmCommChInfo t(doc_);
        choose(Ctl(&t, "Combo7"), QStringLiteral("C"));
        QCOMPARE(Ctl(&t, "Combo8_0")->count(), 4);
        QCOMPARE(Ctl(&t, "Combo8_0")->currentText(), QStringLiteral("5"));
        // A setting whose row is not programmed shows no choice; showing stores nothing.
        QCOMPARE(Ctl(&t, "Combo8_1")->currentIndex(), -1);
        QCOMPARE(doc_.RadioData.Func.EmgCH1[2], i16(20));
        QCOMPARE(Ctl(&t, "Combo10_1")->currentText(), QStringLiteral("AM"));
        choose(Ctl(&t, "Combo8_2"), QStringLiteral("6"));
        QCOMPARE(doc_.RadioData.Func.EmgCH2[2], i16(5));
        choose(Ctl(&t, "Combo10_0"), 1);
        QCOMPARE(doc_.RadioData.Func.EmgMode1[2], u8(1));

        // Deleting the working channel's row re-selects a programmed row at once.
        doc_.SetCHValue(2, 5, FldRxFre, QString());
        QCOMPARE(Ctl(&t, "Combo8_0")->count(), 3);
        QCOMPARE(Ctl(&t, "Combo8_0")->currentText(), QStringLiteral("3"));
        QCOMPARE(doc_.RadioData.Func.WorkCH[2], i16(2));
    }

    void emergencyModeEnableRules() {
        newDoc(0);
        ProgramRows(doc_, 6, 1, 80);
        ProgramRows(doc_, 3, 1, 40);
        doc_.EditFunc([](FuncRec& f) {
            f.EmgMode1[6] = 1;
            f.EmgMode2[6] = 1;
        });
        frmCommChInfo t(doc_);
        QVERIFY(Ctl(&t, "Combo8_3")->isHidden()); // no group-valid selector in mode 0
        QVERIFY(Ctl<QWidget>(&t, "Label3_3")->isHidden());
        choose(Ctl(&t, "Combo9_0"), QStringLiteral("DE"));
        QCOMPARE(t.tableModel()->rowCount(), 80);
        auto* mode1 = Ctl(&t, "Combo10_0");
        QVERIFY(mode1->isEnabled());
        QCOMPARE(mode1->currentText(), QStringLiteral("AM"));

        choose(Ctl(&t, "Combo8_1"), QStringLiteral("41"));
        QCOMPARE(doc_.RadioData.Func.EmgCH1[6], i16(40));
        QVERIFY(!mode1->isEnabled());
        QCOMPARE(mode1->currentText(), QStringLiteral("FM"));
        QCOMPARE(doc_.RadioData.Func.EmgMode1[6], u8(0));
        choose(Ctl(&t, "Combo8_1"), QStringLiteral("40"));
        QVERIFY(mode1->isEnabled());
        QCOMPARE(doc_.RadioData.Func.EmgMode2[6], u8(1)); // the other one is untouched

        // "UK" and "CE": always FM.
        doc_.EditFunc([](FuncRec& f) { f.EmgMode2[3] = 1; });
        choose(Ctl(&t, "Combo9_0"), QStringLiteral("U"));
        choose(Ctl(&t, "Combo9_1"), QStringLiteral("UK"));
        QVERIFY(!Ctl(&t, "Combo10_0")->isEnabled());
        QVERIFY(!Ctl(&t, "Combo10_1")->isEnabled());
        // Showing a group stores nothing: the value read stays as it is.
        QCOMPARE(doc_.RadioData.Func.EmgMode2[3], u8(1));
        choose(Ctl(&t, "Combo9_0"), QStringLiteral("CE"));
        QVERIFY(!Ctl(&t, "Combo10_1")->isEnabled());
        choose(Ctl(&t, "Combo9_0"), QStringLiteral("EU"));
        QVERIFY(Ctl(&t, "Combo10_1")->isEnabled());
    }

    void lookingAtAnotherGroupIsNoEdit() {
        // The group shown is kept in the file (GroupSel), but choosing it is no edit.
        newDoc(1);
        doc_.ToFileCopy();
        frmCommChInfo t(doc_);
        choose(Ctl(&t, "Combo7"), QStringLiteral("C"));
        QCOMPARE(doc_.RadioData.Func.GroupSel, i16(2));
        QVERIFY(!doc_.IsDataChanged());
    }

    void countrySelectorWithUkPair() {
        newDoc(0);
        frmCommChInfo t(doc_);
        auto* combo7 = Ctl(&t, "Combo7");
        auto* plans = Ctl(&t, "Combo9_0");
        auto* pair = Ctl(&t, "Combo9_1");
        QVERIFY(combo7->isHidden());
        QVERIFY(!plans->isHidden());
        QVERIFY(pair->isHidden());
        QCOMPARE(plans->findText(QStringLiteral("UK")), -1);

        choose(plans, QStringLiteral("U"));
        QVERIFY(!pair->isHidden());
        QCOMPARE(pair->currentText(), QStringLiteral("U"));
        QCOMPARE(combo7->currentText(), QStringLiteral("U"));
        QCOMPARE(doc_.RadioData.Func.GroupSel, i16(2));

        choose(pair, QStringLiteral("UK"));
        QCOMPARE(combo7->currentIndex(), 3);
        QCOMPARE(doc_.RadioData.Func.GroupSel, i16(3));
        QVERIFY(t.windowTitle().contains(QStringLiteral(" UK --- ")));

        choose(plans, QStringLiteral("PL"));
        QVERIFY(pair->isHidden());
        QCOMPARE(combo7->currentText(), QStringLiteral("PL"));

        // Code selecting "UK" (the edit dialog does, through CurGroup) sets both selectors.
        ChannelEditState::of(doc_).CurGroup = 3;
        t.ChangeGroup();
        QCOMPARE(plans->currentText(), QStringLiteral("U"));
        QVERIFY(!pair->isHidden());
        QCOMPARE(pair->currentText(), QStringLiteral("UK"));
        QCOMPARE(t.tableModel()->group(), 3);

        // The "UK" channels list their frequencies ending in 125.
        ProgramRows(doc_, 3, 3, 3);
        t.reShowGrid(123);
        QVERIFY(t.tableModel()->cellText(3, 1).endsWith(QStringLiteral("125")));
    }

    void reopensOnStoredGroup() {
        newDoc(1);
        doc_.EditFunc([](FuncRec& f) { f.GroupSel = 4; });
        frmCommChInfo t(doc_);
        QCOMPARE(Ctl(&t, "Combo7")->currentText(), QStringLiteral("E"));
        QCOMPARE(t.tableModel()->group(), 4);
        // A new document puts the table back on its stored group.
        doc_.NewDocument();
        QCOMPARE(t.tableModel()->group(), 0);
        QCOMPARE(Ctl(&t, "Combo7")->currentIndex(), 0);
    }
};

MZ_TEST_MAIN(TestChannelTable)
#include "tst_channeltable.moc"
