// The radio-wide settings windows on their own: rows hidden per country mode, the text boxes'
// rules, the lists that follow the document, the country-plan pair, the DTMF code boxes, the
// key lists, the read-only radio information; opening any of them changes nothing.

#include "channels/channeleditstate.h"
#include "channels/frmchinfoedit.h"
#include "channeltestsupport.h"
#include "core/model/documenthistory.h"
#include "core/model/settingsforms.h"
#include "settings/dtmfcodeedit.h"
#include "settings/frmdtmf.h"
#include "settings/frmkey.h"
#include "settings/frmoptfeatures.h"
#include "settings/frmradioinfo.h"
#include "support/testmain.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>

using namespace Qt::StringLiterals;

namespace {
QStringList items(QComboBox* c) {
    QStringList l;
    for (int i = 0; i < c->count(); ++i)
        l << c->itemText(i);
    return l;
}
// The user types text into a box, replacing what it held, and leaves it with Tab.
void typeInto(QLineEdit* box, const QString& text) {
    box->setFocus();
    QVERIFY(box->hasFocus());
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    typeKeys(text);
    key(Qt::Key_Tab);
}
} // namespace

class TestSettingsWindows : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { UseStagedLanguage(1); }

    void openingChangesNothingAndHidesRowsPerMode() {
        for (int mode : {0, 1, 2}) {
            Document doc;
            NewDocumentInMode(doc, mode);
            // Values no list shows must survive opening too.
            doc.RadioData.Func.Volume = 99;
            doc.RadioData.Key.KeyFun[0] = 0;
            doc.RadioData.DTMF.DtmfSet[0] = 55;
            doc.RadioData.DTMF.Codes[0].Code = QStringLiteral("12345");
            doc.RadioData.DTMF.Codes[0].Len = 3;
            doc.ToFileCopy();
            const RadioDataRec before = doc.RadioData;
            FrmOptFeatures opt(doc);
            FrmDTMF dtmf(doc);
            FrmKey keys(doc);
            FrmRadioInfo info(doc);
            for (QWidget* w : {static_cast<QWidget*>(&opt), static_cast<QWidget*>(&dtmf),
                               static_cast<QWidget*>(&keys), static_cast<QWidget*>(&info)})
                w->show();
            QVERIFY(!doc.IsDataChanged());
            QVERIFY(doc.RadioData == before);
            QCOMPARE(Ctl<QLineEdit>(&dtmf, "Text2_0")->text(), QStringLiteral("123"));

            const bool cb = mode == 0;
            QVERIFY(!Ctl(&opt, "Combo1_7")->isVisible());
            QVERIFY(!Ctl<QLabel>(&opt, "Label1_7")->isVisible());
            QCOMPARE(Ctl(&opt, "Combo1_9")->isVisible(), !cb);
            QCOMPARE(Ctl(&opt, "Combo1_1")->isVisible(), !cb);
            QCOMPARE(Ctl(&opt, "Combo3_0")->isVisible(), cb);
            QVERIFY(!Ctl(&opt, "Combo3_1")->isVisible());
            QCOMPARE(Ctl<QLineEdit>(&opt, "Text2")->isVisible(), !cb);
            QCOMPARE(Ctl<QLabel>(&opt, "Label2")->isVisible(), !cb);
            // Neither the offset direction nor the power of the public channel in the CB mode.
            for (const char* name : {"Combo2_1", "Label3_1", "Combo2_9", "Label3_9"})
                QVERIFY2(Ctl<QWidget>(&opt, name)->isVisible() == !cb, name);
            // Help opens the manual.
            QVERIFY(Ctl<QPushButton>(&opt, "CommandHelp")->isVisible());
            QCOMPARE(Ctl<QPushButton>(&opt, "CommandHelp")->text(), LoadLangText(9025));
            QCOMPARE(Ctl<QPushButton>(&opt, "CommandClose")->text(), LoadLangText(9023));
        }
    }

    void offsetAndMaximumSwrBoxes() {
        Document doc;
        NewDocumentInMode(doc, 1);
        FrmOptFeatures w(doc);
        showActive(&w);
        auto* text2 = Ctl<QLineEdit>(&w, "Text2");
        auto* text1 = Ctl<QLineEdit>(&w, "Text1");
        QCOMPARE(text1->text(), QStringLiteral("16.0"));
        // A number moved to a limit is said (in the status bar), a rounded one is not.
        QSignalSpy said(&w, &FrmOptFeatures::statusNote);
        const struct {
            const char* typed;
            int offset;
            bool told;
        } offsets[] = {{"1003", 1000, true},
                       {"7", 5, false},
                       {"2", 5, true},
                       {"x35", 35, false},
                       {"", 5, false}};
        for (const auto& c : offsets) {
            said.clear();
            typeInto(text2, QString::fromLatin1(c.typed));
            QCOMPARE(doc.RadioData.PublicCH.OffSetFre, i16(c.offset));
            QCOMPARE(text2->text(), QString::number(c.offset));
            QCOMPARE(said.size(), c.told ? 1 : 0);
        }
        const struct {
            const char* typed;
            const char* shown;
            int stored;
            bool told;
        } swr[] = {{"6.5", "7.0", 70, true},   {"16.26", "16.3", 163, false},
                   {"99", "20.0", 200, true},  {"", "20.0", 200, false},
                   {"9.a5", "9.5", 95, false}, {"12", "12.0", 120, false}};
        for (const auto& c : swr) {
            said.clear();
            typeInto(text1, QString::fromLatin1(c.typed));
            QCOMPARE(text1->text(), QString::fromLatin1(c.shown));
            QCOMPARE(doc.RadioData.Func.MaxSwr, i16(c.stored));
            QCOMPARE(said.size(), c.told ? 1 : 0);
            if (c.told) QVERIFY(said[0][0].toString().contains(QStringLiteral("20.0")));
        }
        // Entering a box selects its whole text; Enter moves on.
        text1->setFocus();
        QVERIFY(text1->hasSelectedText());
        QCOMPARE(text1->selectedText(), text1->text());
        key(Qt::Key_Return);
        QVERIFY(!text1->hasFocus());

        auto* check = Ctl<QCheckBox>(&w, "Check1");
        check->click();
        QCOMPARE(doc.RadioData.Func.UseMaxSwr, i16(0));
        check->click();
        QCOMPARE(doc.RadioData.Func.UseMaxSwr, i16(1));
    }

    void modulationAndPowerList() {
        Document doc;
        NewDocumentInMode(doc, 1);
        FrmOptFeatures w(doc);
        auto* power = Ctl(&w, "Combo2_9");
        choose(power, 2);
        QCOMPARE(doc.RadioData.PublicCH.Tx_Power, i16(2));
        choose(Ctl(&w, "Combo2_8"), QStringLiteral("AM"));
        QCOMPARE(doc.RadioData.PublicCH.AM_FM, i16(1));
        QCOMPARE(doc.RadioData.PublicCH.Tx_Power, i16(1));
        QCOMPARE(items(power), (QStringList{LoadLangText(15044), LoadLangText(15045)}));
        QCOMPARE(power->currentIndex(), 1);
        choose(Ctl(&w, "Combo2_8"), QStringLiteral("FM"));
        QCOMPARE(power->count(), 3);
        QCOMPARE(power->currentIndex(), 1);
        QCOMPARE(doc.RadioData.PublicCH.Tx_Power, i16(1));
    }

    void countryPlanPairOfModeZero() {
        // The window is open when the document changes to mode 0: it redraws for that mode.
        Document doc;
        NewDocumentInMode(doc, 1);
        FrmOptFeatures w(doc);
        w.show();
        QVERIFY(Ctl(&w, "Combo1_1")->isVisible());
        doc.RadioData.Func.WorkGroup = 2; // "U"
        NewDocumentInMode(doc, 0);
        QVERIFY(!Ctl(&w, "Combo1_1")->isVisible());
        QVERIFY(!Ctl<QLineEdit>(&w, "Text2")->isVisible());
        doc.RadioData.Func.WorkGroup = 2;
        emit doc.groupSettingsChanged();
        auto* plan = Ctl(&w, "Combo3_0");
        auto* pair = Ctl(&w, "Combo3_1");
        QCOMPARE(plan->currentText(), QStringLiteral("U"));
        QVERIFY(pair->isVisible());
        QCOMPARE(pair->currentText(), QStringLiteral("U"));
        QCOMPARE(pair->toolTip(), CountryPlanPairNote(0));

        choose(pair, QStringLiteral("UK"));
        QCOMPARE(doc.RadioData.Func.WorkGroup, i16(3));
        choose(plan, QStringLiteral("DE"));
        QCOMPARE(doc.RadioData.Func.WorkGroup, i16(6));
        QVERIFY(!pair->isVisible());
        choose(plan, QStringLiteral("U"));
        QVERIFY(pair->isVisible());
        QCOMPARE(pair->currentText(), QStringLiteral("U"));
        QCOMPARE(doc.RadioData.Func.WorkGroup, i16(2));
        choose(plan, QStringLiteral("EU"));
        QCOMPARE(doc.RadioData.Func.WorkGroup, i16(0));
    }

    void rogerBeepListFollowsTheToneTips() {
        Document doc;
        NewDocumentInMode(doc, 1);
        doc.RadioData.PublicCH.RBTone = 3;
        FrmOptFeatures w(doc);
        auto* rb = Ctl(&w, "Combo2_10");
        QCOMPARE(rb->currentText(), QStringLiteral("3"));
        // The tone tips window switches tip 3 off and rechecks the roger beeps.
        doc.EditToneTips([](ToneTipsRec& t) { t.Tip[2].Repeat = 0; });
        doc.RecheckRBTones();
        QCOMPARE(items(rb), (QStringList{LoadLangText(15030), "1", "2", "4", "5"}));
        QCOMPARE(rb->currentIndex(), 0);
        QCOMPARE(doc.RadioData.PublicCH.RBTone, i16(0));
        choose(rb, QStringLiteral("5"));
        QCOMPARE(doc.RadioData.PublicCH.RBTone, i16(5));
    }

    void dtmfCodeBoxes() {
        Document doc;
        NewDocumentInMode(doc, 1);
        ProgramRows(doc, 0, 1, 3, [](int r) { return 28.0 + 0.01 * r; });
        doc.RadioData.DTMF.Codes[1].Code = QStringLiteral("12");
        doc.RadioData.DTMF.Codes[1].Len = 2;
        doc.RadioData.DTMF.Codes[6].Code = QStringLiteral("7");
        doc.RadioData.DTMF.Codes[6].Len = 1;
        for (int i = 0; i < doc.chCount(); ++i)
            doc.CHInfo[i].DTMF_Call = 2;
        doc.RadioData.PublicCH.DTMF_Call = 2;
        doc.ToFileCopy();
        ChannelEditState::of(doc).CurGroup = 0;
        ChannelEditState::of(doc).CurCH = 1;

        FrmCHInfoEdit edit(doc);
        FrmOptFeatures opt(doc);
        FrmDTMF w(doc);
        showActive(&w);
        QVERIFY(!doc.IsDataChanged());
        const QStringList codeList{LoadLangText(14013), "2", "7"};
        QCOMPARE(items(Ctl(&opt, "Combo2_13")), codeList);
        QCOMPARE(Ctl(&opt, "Combo2_13")->currentText(), QStringLiteral("2"));
        QCOMPARE(items(Ctl(&edit, "Combo2_13")), codeList);

        auto* tabs = Ctl<QTabWidget>(&w, "SSTab1");
        QVERIFY(tabs->isTabEnabled(1));
        QVERIFY(!tabs->isTabEnabled(2));
        // The disabled tab says why.
        QCOMPARE(tabs->tabBar()->tabToolTip(2), LoadLangText(9704));
        tabs->setCurrentIndex(1);
        auto* box = Ctl<QLineEdit>(&w, "Text2_1");
        // The box says what it takes, and is named after its code.
        QCOMPARE(box->toolTip(), LoadLangText(9702));
        QCOMPARE(box->accessibleName(), LoadLangText(9703).arg(2));
        QStringList refused;
        connect(qobject_cast<DtmfCodeEdit*>(box), &DtmfCodeEdit::refused, this,
                [&](QChar c) { refused << QString(c); });
        box->setFocus();
        QVERIFY(box->hasFocus());
        key(Qt::Key_End);
        doc.history().setRecording(true);
        typeKeys(QStringLiteral("x!b*#d"));
        QCOMPARE(box->text(), QStringLiteral("12B*#D"));
        // The typing is stored when the box is left or Enter is pressed; until then Ctrl+Z
        // undoes it in the box, and only then reaches the document.
        QCOMPARE(doc.RadioData.DTMF.Codes[1].Code.text(), QStringLiteral("12"));
        QKeyEvent undoKey(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(box, &undoKey);
        QVERIFY(undoKey.isAccepted()); // the box's own undo
        key(Qt::Key_Return);
        QCOMPARE(doc.RadioData.DTMF.Codes[1].Code.text(), QStringLiteral("12B*#D"));
        QCOMPARE(doc.RadioData.DTMF.Codes[1].Len, i16(6));
        doc.history().flush();
        QCOMPARE(doc.history().stack().count(), 1);
        QKeyEvent undoAgain(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
        QCoreApplication::sendEvent(box, &undoAgain);
        QVERIFY(!undoAgain.isAccepted()); // left to the window's Undo
        // Which takes the step back, shown in the box that still has the focus.
        box->setFocus();
        doc.history().undo();
        QCOMPARE(box->text(), QStringLiteral("12"));
        doc.history().redo();
        QCOMPARE(box->text(), QStringLiteral("12B*#D"));
        // What is not taken is told, not dropped silently: the wrong keys, and one too many.
        QCOMPARE(refused, (QStringList{"x", "!"}));
        box->setFocus();
        key(Qt::Key_End);
        typeKeys(QStringLiteral("1234567890123"));
        QCOMPARE(box->text().size(), 16);
        Ctl<QLineEdit>(&w, "Text2_0")->setFocus(); // leaving the box stores
        QCOMPARE(doc.RadioData.DTMF.Codes[1].Len, i16(16));
        // The typing is one step, however many keys it took.
        doc.history().flush();
        QCOMPARE(doc.history().stack().count(), 2);
        box->setFocus();
        QCOMPARE(refused, (QStringList{"x", "!", "1", "2", "3"}));
        // Clipboard keys do nothing.
        key(Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(box->text().size(), 16);

        // Emptying the code in use: every reference goes, and the other windows' lists follow.
        box->selectAll();
        key(Qt::Key_Backspace);
        w.commitEdits();
        QCOMPARE(doc.RadioData.DTMF.Codes[1].Len, i16(0));
        for (int i = 0; i < doc.chCount(); ++i)
            QCOMPARE(doc.CHInfo[i].DTMF_Call, i16(0));
        QCOMPARE(doc.RadioData.PublicCH.DTMF_Call, i16(0));
        const QStringList after{LoadLangText(14013), "7"};
        QCOMPARE(items(Ctl(&opt, "Combo2_13")), after);
        QCOMPARE(Ctl(&opt, "Combo2_13")->currentIndex(), 0);
        QCOMPARE(items(Ctl(&edit, "Combo2_13")), after);
        QCOMPARE(Ctl(&edit, "Combo2_13")->currentIndex(), 0);
        // A new code appears in the lists once it is entered.
        auto* box9 = Ctl<QLineEdit>(&w, "Text2_8");
        box9->setFocus();
        typeKeys(QStringLiteral("9"));
        key(Qt::Key_Return);
        QCOMPARE(items(Ctl(&opt, "Combo2_11")), (QStringList{LoadLangText(14013), "7", "9"}));
    }

    void dtmfSettingsAndRepairs() {
        Document doc;
        NewDocumentInMode(doc, 1);
        doc.RadioData.DTMF.DtmfSet = {7, 3, 12, 5, 17, 3};
        doc.RadioData.DTMF.Codes[3].Len = 20;
        FrmDTMF w(doc);
        QCOMPARE(Ctl(&w, "Combo1_0")->currentText(), QStringLiteral("70"));
        QCOMPARE(Ctl(&w, "Combo1_1")->currentText(), QStringLiteral("300"));
        QCOMPARE(Ctl(&w, "Combo1_2")->currentText(), QStringLiteral("1200"));
        QCOMPARE(Ctl(&w, "Combo1_3")->currentText(), QStringLiteral("500"));
        QCOMPARE(Ctl(&w, "Combo1_4")->currentText(), LoadLangText(18040));
        // Only the two repairs are stored; the D-key value 17 stays until a pick.
        QCOMPARE(doc.RadioData.DTMF.DtmfSet[5], i16(0));
        QCOMPARE(doc.RadioData.DTMF.Codes[3].Len, i16(0));
        QCOMPARE(doc.RadioData.DTMF.DtmfSet[4], i16(17));
        QVERIFY(!Ctl<QCheckBox>(&w, "Check1")->isChecked());

        choose(Ctl(&w, "Combo1_4"), QStringLiteral("16s"));
        QCOMPARE(doc.RadioData.DTMF.DtmfSet[4], i16(16));
        choose(Ctl(&w, "Combo1_1"), QStringLiteral("1000"));
        QCOMPARE(doc.RadioData.DTMF.DtmfSet[1], i16(10));
        Ctl<QCheckBox>(&w, "Check1")->click();
        QCOMPARE(doc.RadioData.DTMF.DtmfSet[5], i16(1));
    }

    void keyLists() {
        Document doc;
        NewDocumentInMode(doc, 2);
        doc.RadioData.Key.KeyFun[3] = 25;
        doc.ToFileCopy();
        FrmKey w(doc);
        QVERIFY(!doc.IsDataChanged());
        // Each function shows its fixed name and what it does; the position stays code - 1.
        QCOMPARE(Ctl(&w, "Combo1_3")->currentText(), u"MOD \u2014 modulation AM/FM"_s);
        QCOMPARE(Ctl(&w, "Combo2")->currentText(), QStringLiteral("1&2&3"));
        QCOMPARE(Ctl<QGroupBox>(&w, "Frame1_2")->title(), LoadLangText(25008) + " 3");
        QCOMPARE(Ctl<QLabel>(&w, "Label2_17")->text(), QStringLiteral("P6"));
        QComboBox* p6 = Ctl(&w, "Combo1_17");
        QCOMPARE(p6->count(), 20);
        for (int code = 1; code <= 20; ++code) {
            const QString meaning = LoadLangText(25100 + code);
            QVERIFY(!meaning.isEmpty());
            QCOMPARE(p6->itemText(code - 1),
                     KeyFunctionNames().at(code - 1) + u" \u2014 "_s + meaning);
            QCOMPARE(p6->itemData(code - 1, Qt::ToolTipRole).toString(), meaning);
        }
        QCOMPARE(p6->itemText(19), u"NULL \u2014 no function"_s);
        // Named for a screen reader by mode and key; the mode list by its label.
        QCOMPARE(Ctl(&w, "Combo1_0")->accessibleName(), u"Key mode 1, P1"_s);
        QCOMPARE(p6->accessibleName(), u"Key mode 3, P6"_s);
        QCOMPARE(Ctl(&w, "Combo2")->accessibleName(), LoadLangText(25007));
        // Closed, a list asks for less room than its entries; open, it shows them whole.
        int widest = 0;
        for (int i = 0; i < p6->count(); ++i)
            widest = qMax(widest, p6->view()->fontMetrics().horizontalAdvance(p6->itemText(i)));
        QVERIFY(p6->view()->minimumWidth() >= widest);
        QVERIFY(p6->sizeHint().width() < widest);
        QCOMPARE(p6->toolTip(), LoadLangText(25101 + doc.RadioData.Key.KeyFun[17] - 1));
        choose(p6, u"NULL \u2014 no function"_s);
        QCOMPARE(doc.RadioData.Key.KeyFun[17], i16(20));
        QCOMPARE(p6->toolTip(), LoadLangText(25120));
        choose(Ctl(&w, "Combo2"), QStringLiteral("2&3"));
        QCOMPARE(doc.RadioData.Key.KeySet, i16(2));
        QCOMPARE(doc.RadioData.Key.KeyFun[3], i16(25));
        choose(Ctl(&w, "Combo1_3"), 0);
        QCOMPARE(doc.RadioData.Key.KeyFun[3], i16(1));
    }

    void radioInformationOnlyDisplays() {
        Document doc;
        NewDocumentInMode(doc, 2);
        doc.RadioInfo.SerialNo = QStringLiteral("ABCDEFGHIJKLMNOP");
        doc.RadioInfo.RepairNote = QStringLiteral("new antenna socket");
        doc.RadioInfo.DealerCode = QStringLiteral("D-77");
        const RadioInfoRec before = doc.RadioInfo;
        FrmRadioInfo w(doc);
        showActive(&w);
        auto* serial = Ctl<QLineEdit>(&w, "Text1_1");
        QCOMPARE(serial->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        QVERIFY(serial->isReadOnly());
        QCOMPARE(Ctl<QPlainTextEdit>(&w, "Text1_4")->toPlainText(),
                 QStringLiteral("new antenna socket"));
        QCOMPARE(Ctl<QLineEdit>(&w, "Text1_8")->text(), QStringLiteral("D-77"));
        // Model, mode and band are read-only fields as the others: no list to announce.
        QCOMPARE(Ctl<QLineEdit>(&w, "Combo3")->text(), QStringLiteral("HAM"));
        QCOMPARE(Ctl<QLineEdit>(&w, "Combo1_1")->text(), QStringLiteral("28.000 - 29.700 MHz"));
        QCOMPARE(Ctl<QLineEdit>(&w, "Combo1_0")->text(), QStringLiteral("MZ-710"));
        QVERIFY(w.findChildren<QComboBox*>().isEmpty());
        for (const char* name : {"Combo3", "Combo1_1", "Combo1_0"})
            QVERIFY(Ctl<QLineEdit>(&w, name)->isReadOnly());
        QCOMPARE(Ctl<QLineEdit>(&w, "Text1_6")->text(), before.BatchNo.text());

        serial->setFocus();
        typeKeys(QStringLiteral("zz"));
        QCOMPARE(serial->text(), QStringLiteral("ABCDEFGHIJKLMNOP"));
        auto* mode = Ctl<QLineEdit>(&w, "Combo3");
        mode->setFocus();
        typeKeys(QStringLiteral("x"));
        QCOMPARE(mode->text(), QStringLiteral("HAM"));

        Ctl<QPushButton>(&w, "CommandCopy")->click();
        const QString copied = QApplication::clipboard()->text();
        QVERIFY(copied.contains(QStringLiteral("ABCDEFGHIJKLMNOP")));
        QVERIFY(copied.contains(QStringLiteral("D-77")));
        QCOMPARE(doc.RadioInfo.SerialNo, before.SerialNo);
    }

    void enterMovesTheFocusOn() {
        Document doc;
        NewDocumentInMode(doc, 1);
        FrmOptFeatures w(doc);
        showActive(&w);
        auto* first = Ctl(&w, "Combo1_0");
        first->setFocus();
        key(Qt::Key_Return);
        QVERIFY(!first->hasFocus());
        QCOMPARE(doc.RadioData.Func.UseMem, i16(0));
    }
};

MZ_TEST_MAIN(TestSettingsWindows)
#include "tst_settingswindows.moc"
