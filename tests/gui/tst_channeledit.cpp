// The channel edit dialog and the memory frequency dialog, alone and together with the
// channel table, down to the keyboard-only editing session and the data file it leaves.

#include "channels/channeleditstate.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frm_mem_freq.h"
#include "channels/frmchinfoedit.h"
#include "channels/frmcommchinfo.h"
#include "channeltestsupport.h"
#include "core/files/datafile.h"
#include "core/model/channelplan.h"
#include "support/testmain.h"

#include <QFile>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

class TestChannelEdit : public QObject {
    Q_OBJECT

    Document doc_;
    ScriptedPrompter prompter_;

    void newDoc(int mode) {
        NewDocumentInMode(doc_, mode);
        prompter_.reset();
        doc_.setPrompter(&prompter_);
    }

    static QComboBox* field(QWidget* w, int i) {
        return w->findChild<QComboBox*>(QStringLiteral("Combo2_%1").arg(i));
    }
    static QStringList items(QComboBox* c) {
        QStringList l;
        for (int i = 0; i < c->count(); ++i)
            l << c->itemText(i);
        return l;
    }
    // Presses Tab until the named control has the focus (at most a round of the window).
    static bool tabTo(const char* name) {
        for (int i = 0; i < 60; ++i) {
            QWidget* f = QApplication::focusWidget();
            if (f && f->objectName() == QLatin1String(name)) return true;
            QTest::keyClick(f, Qt::Key_Tab);
        }
        return false;
    }
    // Runs f on the modal dialog once it is up.
    template <class F> static void onModal(F f) {
        QTimer::singleShot(0, [f] {
            QTRY_VERIFY(QApplication::activeModalWidget());
            f(QApplication::activeModalWidget());
        });
    }

private slots:
    void initTestCase() { UseStagedLanguage(1); }

    void showsChannelAndLists() {
        newDoc(1);
        ChannelEditState::of(doc_).CurGroup = 0;
        ChannelEditState::of(doc_).CurCH = 1;
        FrmCHInfoEdit d(doc_);
        QVERIFY(ChannelEditState::of(doc_).CHEditOpen);
        QCOMPARE(d.windowTitle(), LoadLangText(15000));
        QCOMPARE(Ctl(&d, "Combo4")->currentText(), QStringLiteral("A"));
        QCOMPARE(Ctl(&d, "Combo1")->count(), 40);
        QCOMPARE(Ctl<QLineEdit>(&d, "Text1")->text(),
                 doc_.FreToShown(doc_.Channel(1)->RxFre.text()));
        QCOMPARE(Ctl<QLineEdit>(&d, "Text2")->text(), QStringLiteral("100"));
        QVERIFY(Ctl<QWidget>(&d, "Command1")->isHidden());
        QVERIFY(Ctl<QWidget>(&d, "Combo2_7")->isHidden());
        QVERIFY(!Ctl<QWidget>(&d, "Combo2_9")->isHidden());
        QCOMPARE(field(&d, 14)->count(), 143);
        QCOMPARE(field(&d, 15)->itemText(38), QStringLiteral("250.3 Hz"));
        QCOMPARE(field(&d, 15)->itemText(142), QStringLiteral("D754N"));
        QCOMPARE(items(field(&d, 9)),
                 (QStringList{LoadLangText(15044), LoadLangText(15045), LoadLangText(15046)}));
        // Tone tips 1 to 5 of a new document are usable.
        QCOMPARE(items(field(&d, 10)), (QStringList{LoadLangText(15030), "1", "2", "3", "4", "5"}));
        QCOMPARE(items(field(&d, 11)), QStringList{LoadLangText(14013)});

        // Group "VFO" has no Scan field; an empty slot disables every field.
        choose(Ctl(&d, "Combo4"), QStringLiteral("VFO"));
        QVERIFY(field(&d, 3)->isHidden());
        choose(Ctl(&d, "Combo4"), QStringLiteral("B"));
        QVERIFY(!field(&d, 3)->isHidden());
        QVERIFY(Ctl<QLineEdit>(&d, "Text1")->text().isEmpty());
        QVERIFY(Ctl<QLineEdit>(&d, "Text1")->isEnabled());
        QVERIFY(!Ctl<QLineEdit>(&d, "Text2")->isEnabled());
        for (int i = 0; i < 16; ++i)
            QVERIFY(!field(&d, i)->isEnabled());
        // Choosing a group in the dialog moves CurGroup; the channel starts at 1.
        QCOMPARE(ChannelEditState::of(doc_).CurGroup, 1);
        QCOMPARE(ChannelEditState::of(doc_).CurCH, 1);
    }

    void publicOnDisablesOwnFields() {
        newDoc(1);
        ChannelEditState::of(doc_).CurGroup = 0;
        FrmCHInfoEdit d(doc_);
        const QString fre = Ctl<QLineEdit>(&d, "Text1")->text();
        choose(field(&d, 0), QStringLiteral("Off"));
        QCOMPARE(doc_.Channel(1)->Public, i16(0));
        for (int i = 0; i < 16; ++i)
            QVERIFY2(field(&d, i)->isEnabled() || i == 7, qPrintable(QString::number(i)));
        QVERIFY(Ctl<QLineEdit>(&d, "Text2")->isEnabled());

        choose(field(&d, 0), QStringLiteral("On"));
        QCOMPARE(doc_.Channel(1)->Public, i16(1));
        for (int i : {1, 4, 5, 6, 8, 9, 10, 11, 12, 13})
            QVERIFY2(!field(&d, i)->isEnabled(), qPrintable(QString::number(i)));
        for (int i : {0, 2, 3, 14, 15})
            QVERIFY2(field(&d, i)->isEnabled(), qPrintable(QString::number(i)));
        QVERIFY(!Ctl<QLineEdit>(&d, "Text2")->isEnabled());
        QCOMPARE(Ctl<QLineEdit>(&d, "Text1")->text(), fre);
        QVERIFY(Ctl<QLineEdit>(&d, "Text1")->isEnabled());
    }

    void amTrimsPowerList() {
        newDoc(1);
        doc_.SetCHValue(0, 1, FldPublic, 0);
        doc_.SetCHValue(0, 1, FldTx_Power, 2);
        ChannelEditState::of(doc_).CurGroup = 0;
        FrmCHInfoEdit d(doc_);
        QCOMPARE(field(&d, 9)->count(), 3);
        QCOMPARE(field(&d, 9)->currentIndex(), 2);
        choose(field(&d, 8), QStringLiteral("AM"));
        QCOMPARE(doc_.Channel(1)->AM_FM, i16(1));
        QCOMPARE(doc_.Channel(1)->Tx_Power, i16(1));
        QCOMPARE(field(&d, 9)->count(), 2);
        QCOMPARE(field(&d, 9)->currentIndex(), 1);
        choose(field(&d, 8), QStringLiteral("FM"));
        QCOMPARE(field(&d, 9)->count(), 3);
        QCOMPARE(doc_.Channel(1)->Tx_Power, i16(1));
        choose(field(&d, 9), 2);
        QCOMPARE(doc_.Channel(1)->Tx_Power, i16(2));
    }

    void fixedFmGroupsOfModeZero() {
        // Which rows are FM only is the rule source's (tst_channelrules); here, what the dialog
        // does with it.
        newDoc(0);
        ProgramRows(doc_, 3, 1, 2);
        ProgramRows(doc_, 6, 40, 41);
        for (int ch : {121, 280, 281}) {
            doc_.Channel(ch)->Public = 0;
            doc_.Channel(ch)->AM_FM = 1;
        }
        auto& st = ChannelEditState::of(doc_);
        st.CurGroup = 3;
        st.CurCH = 1;
        QSignalSpy changed(&doc_, &Document::channelChanged);
        FrmCHInfoEdit d(doc_);
        // Showing a channel writes nothing: the AM it holds stays, shown, not editable.
        QCOMPARE(doc_.Channel(121)->AM_FM, i16(1));
        QCOMPARE(changed.size(), 0);
        QVERIFY(!field(&d, 8)->isEnabled());
        QCOMPARE(field(&d, 8)->currentText(), QStringLiteral("AM"));
        // Mode 0: the frequency is fixed, no DUP, shift or power.
        QVERIFY(!Ctl<QLineEdit>(&d, "Text1")->isEnabled());
        QVERIFY(Ctl<QWidget>(&d, "Text2")->isHidden());
        QVERIFY(field(&d, 1)->isHidden());
        QVERIFY(field(&d, 9)->isHidden());
        QVERIFY(!Ctl<QWidget>(&d, "Combo3_0")->isHidden());
        QVERIFY(Ctl<QWidget>(&d, "Combo4")->isHidden());
        QCOMPARE(Ctl(&d, "Combo3_0")->currentText(), QStringLiteral("U"));
        QCOMPARE(Ctl(&d, "Combo3_1")->currentText(), QStringLiteral("UK"));

        choose(Ctl(&d, "Combo3_0"), QStringLiteral("DE"));
        choose(Ctl(&d, "Combo1"), QStringLiteral("40"));
        QCOMPARE(doc_.Channel(280)->AM_FM, i16(1));
        QVERIFY(field(&d, 8)->isEnabled());
        choose(Ctl(&d, "Combo1"), QStringLiteral("41"));
        QCOMPARE(doc_.Channel(281)->AM_FM, i16(1));
        QCOMPARE(changed.size(), 0);
        QVERIFY(!field(&d, 8)->isEnabled());
    }

    void rogerBeepAndDtmfLists() {
        newDoc(1);
        doc_.SetCHValue(0, 1, FldPublic, 0);
        doc_.SetCHValue(0, 1, FldRBTone, QStringLiteral("3"));
        doc_.EditDtmf([](DTMFRec& r) {
            r.Codes[1].Len = 3;
            r.Codes[1].Code = QStringLiteral("123");
            r.Codes[4].Len = 1;
            r.Codes[4].Code = QStringLiteral("5");
        });
        doc_.SetCHValue(0, 1, FldDTMF_Call, QStringLiteral("5"));
        ChannelEditState::of(doc_).CurGroup = 0;
        FrmCHInfoEdit d(doc_);
        QCOMPARE(field(&d, 10)->currentText(), QStringLiteral("3"));
        QCOMPARE(items(field(&d, 13)), (QStringList{LoadLangText(14013), "2", "5"}));
        QCOMPARE(field(&d, 13)->currentText(), QStringLiteral("5"));
        QCOMPARE(field(&d, 11)->currentIndex(), 0);
        choose(field(&d, 11), QStringLiteral("2"));
        QCOMPARE(doc_.Channel(1)->DTMF_BOT, i16(2));
        choose(field(&d, 11), 0);
        QCOMPARE(doc_.Channel(1)->DTMF_BOT, i16(0));

        // A tone tip that is no longer usable leaves the list; a channel still naming it
        // shows text 15030.
        doc_.EditToneTips([](ToneTipsRec& t) { t.Tip[2].Repeat = 0; });
        QCOMPARE(items(field(&d, 10)), (QStringList{LoadLangText(15030), "1", "2", "4", "5"}));
        QCOMPARE(field(&d, 10)->currentIndex(), 0);
        choose(field(&d, 10), QStringLiteral("4"));
        QCOMPARE(doc_.Channel(1)->RBTone, i16(4));

        // Emptying DTMF code 5 removes it from the lists and from the channel.
        doc_.EditDtmf([](DTMFRec& r) { r.Codes[4].Len = 0; });
        doc_.ReplaceDtmfRef(5, 0);
        QCOMPARE(items(field(&d, 13)), (QStringList{LoadLangText(14013), "2"}));
        QCOMPARE(field(&d, 13)->currentIndex(), 0);
    }

    void offsetAndFrequencyTexts() {
        newDoc(1);
        doc_.SetCHValue(0, 1, FldPublic, 0);
        ChannelEditState::of(doc_).CurGroup = 0;
        FrmCHInfoEdit d(doc_);
        showActive(&d);
        auto* text2 = Ctl<QLineEdit>(&d, "Text2");
        text2->setFocus();
        typeKeys(QStringLiteral("1003"));
        key(Qt::Key_Return);
        QCOMPARE(doc_.Channel(1)->OffSetFre, i16(1000));
        QVERIFY(!text2->hasFocus()); // Enter moves on
        QCOMPARE(text2->text(), QStringLiteral("1000"));
        // An emptied shift is put back when the focus leaves.
        text2->setFocus();
        key(Qt::Key_Backspace);
        QVERIFY(text2->text().isEmpty());
        Ctl<QLineEdit>(&d, "Text1")->setFocus();
        QCOMPARE(text2->text(), QStringLiteral("1000"));
        QCOMPARE(doc_.Channel(1)->OffSetFre, i16(1000));

        // Text1: typed, stored when the focus leaves; snapped to the 5 kHz grid.
        auto* text1 = Ctl<QLineEdit>(&d, "Text1");
        typeKeys(QStringLiteral("28.0123"));
        field(&d, 0)->setFocus();
        QCOMPARE(doc_.FreToShown(doc_.Channel(1)->RxFre.text()), QStringLiteral("28.01000"));
        QCOMPARE(text1->text(), QStringLiteral("28.01000"));
        QVERIFY(prompter_.asked.isEmpty());
        // A value still being typed is stored by commitEdits (before a save).
        text1->setFocus();
        typeKeys(QStringLiteral("29"));
        d.commitEdits();
        QCOMPARE(doc_.FreToShown(doc_.Channel(1)->RxFre.text()), QStringLiteral("29.00000"));

        // An empty slot takes a frequency and becomes a channel.
        choose(Ctl(&d, "Combo1"), QStringLiteral("6"));
        QVERIFY(!field(&d, 0)->isEnabled());
        text1->setFocus();
        typeKeys(QStringLiteral("28.3"));
        key(Qt::Key_Return);
        QVERIFY(doc_.Channel(6));
        QVERIFY(field(&d, 0)->isEnabled());
        QCOMPARE(field(&d, 0)->currentText(), QStringLiteral("On"));

        // Out of the band: warned, and the channel keeps its frequency.
        prompter_.expect(9021);
        text1->setFocus();
        text1->selectAll();
        typeKeys(QStringLiteral("31"));
        key(Qt::Key_Return);
        QCOMPARE(prompter_.asked.size(), 1);
        QCOMPARE(doc_.FreToShown(doc_.Channel(6)->RxFre.text()), QStringLiteral("28.30000"));
        QCOMPARE(text1->text(), QStringLiteral("28.30000"));
    }

    void dialogAndTableFollowEachOther() {
        newDoc(1);
        frmCommChInfo t(doc_);
        QPointer<FrmCHInfoEdit> d = new FrmCHInfoEdit(doc_);
        QCOMPARE(Ctl(d, "Combo4")->currentIndex(), 0);

        choose(Ctl(d, "Combo4"), QStringLiteral("C"));
        QCOMPARE(t.tableModel()->group(), 2);
        QCOMPARE(Ctl(&t, "Combo7")->currentText(), QStringLiteral("C"));
        QCOMPARE(doc_.RadioData.Func.GroupSel, i16(2));

        choose(Ctl(&t, "Combo7"), QStringLiteral("D"));
        QCOMPARE(Ctl(d, "Combo4")->currentText(), QStringLiteral("D"));

        // A change made in the dialog shows in the table at once, and the other way round.
        choose(Ctl(d, "Combo1"), QStringLiteral("2"));
        QTest::keyClicks(Ctl<QLineEdit>(d, "Text1"), QStringLiteral("28.2"));
        d->commitEdits();
        QCOMPARE(t.tableModel()->cellText(2, 1), QStringLiteral("28.20000"));
        doc_.SetCHValue(3, 2, FldPublic, 0);
        QCOMPARE(field(d, 0)->currentText(), QStringLiteral("Off"));
        QCOMPARE(t.tableModel()->cellText(2, 2), QStringLiteral("Off"));

        // The ">>" cell of a row shows that row in the open dialog.
        QSignalSpy open(&t, &frmCommChInfo::requestEditDialog);
        t.grid()->setCurrentIndex(t.tableModel()->index(4, ChannelTableModel::EditCol));
        t.EnterGridEdit();
        QCOMPARE(open.count(), 1);
        QCOMPARE(Ctl(d, "Combo1")->currentText(), QStringLiteral("5"));

        Ctl<QPushButton>(d, "CommandClose")->click();
        QTRY_VERIFY(!d);
        QVERIFY(!ChannelEditState::of(doc_).CHEditOpen);
    }

    void memoryFrequencyPreselection() {
        newDoc(0);
        // "CE" added before "EU": both plans list the same frequencies, the first found wins.
        ProgramRows(doc_, 1, 1, 40);
        ProgramRows(doc_, 0, 2, 40);
        ProgramRows(doc_, 6, 1, 80);
        {
            Frm_Mem_Freq m(doc_, QStringLiteral("27.00500"));
            QCOMPARE(m.bandItem(), 2); // "CE"
            QCOMPARE(m.channelIndex(), 3);
            QCOMPARE(Ctl(&m, "Combo1_0")->currentText(), QStringLiteral("CE"));
            QCOMPARE(Ctl(&m, "Combo1_1")->currentText(), QStringLiteral("4"));
            QCOMPARE(m.frequencyText(), QStringLiteral("27.00500"));
            QCOMPARE(Ctl<QPushButton>(&m, "CommandOK")->text(), LoadLangText(9017));

            choose(Ctl(&m, "Combo1_0"), QStringLiteral("DE"));
            choose(Ctl(&m, "Combo1_1"), QStringLiteral("70"));
            QCOMPARE(m.frequencyText(), FormatFre(CbPlanFrequency(70)));
            choose(Ctl(&m, "Combo1_0"), QStringLiteral("EU"));
            QCOMPARE(Ctl(&m, "Combo1_1")->count(), 40);
            QCOMPARE(Ctl(&m, "Combo1_1")->currentText(), QStringLiteral("1"));
            QCOMPARE(m.channelIndex(), 0);
            QCOMPARE(m.frequencyText(), doc_.FreToShown(doc_.Channel(1)->RxFre.text()));

            ProgramRows(doc_, 3, 3, 3);
            choose(Ctl(&m, "Combo1_0"), QStringLiteral("UK"));
            choose(Ctl(&m, "Combo1_1"), QStringLiteral("3"));
            QVERIFY(m.frequencyText().endsWith(QStringLiteral("125")));

            choose(Ctl(&m, "Combo1_0"), QStringLiteral("Off"));
            QCOMPARE(Ctl(&m, "Combo1_1")->count(), 0);
            QVERIFY(m.frequencyText().isEmpty());
        }
        Frm_Mem_Freq empty(doc_, QString());
        QCOMPARE(empty.bandItem(), 0);
        QCOMPARE(Ctl(&empty, "Combo1_0")->currentText(), QStringLiteral("Off"));
        QCOMPARE(Ctl(&empty, "Combo1_1")->count(), 0);
        QVERIFY(empty.frequencyText().isEmpty());
    }

    void memoryChannelThroughButton() {
        newDoc(0);
        ProgramRows(doc_, 0, 2, 40);
        auto& st = ChannelEditState::of(doc_);
        st.CurGroup = 8; // "MEM"
        st.CurCH = 2;
        FrmCHInfoEdit d(doc_);
        showActive(&d);
        auto* more = Ctl<QPushButton>(&d, "Command1");
        QVERIFY(!more->isHidden());
        QVERIFY(!Ctl<QLineEdit>(&d, "Text1")->isEnabled());

        onModal([](QWidget* m) {
            choose(Ctl(m, "Combo1_0"), QStringLiteral("EU"));
            choose(Ctl(m, "Combo1_1"), QStringLiteral("5"));
            Ctl<QPushButton>(m, "CommandOK")->click();
        });
        more->click();
        QCOMPARE(doc_.FreToShown(doc_.Channel(403)->RxFre.text()), QStringLiteral("27.01500"));
        QCOMPARE(Ctl<QLineEdit>(&d, "Text1")->text(), QStringLiteral("27.01500"));

        // Cancel stores nothing, not even the nearest plan frequency of the unchanged text.
        const QString before = doc_.Channel(404)->RxFre.text();
        choose(Ctl(&d, "Combo1"), QStringLiteral("3"));
        onModal([](QWidget* m) { Ctl<QPushButton>(m, "CommandCancel")->click(); });
        more->click();
        QCOMPARE(doc_.Channel(404)->RxFre.text(), before);

        // "Off" deletes the memory channel ...
        onModal([](QWidget* m) {
            choose(Ctl(m, "Combo1_0"), QStringLiteral("Off"));
            Ctl<QPushButton>(m, "CommandOK")->click();
        });
        more->click();
        QVERIFY(!doc_.Channel(404));
        // ... unless it is the last one.
        for (int ch = 402; ch <= 409; ++ch)
            if (ch != 403 && doc_.FindChannel(ch) >= 0) doc_.DeleteChannel(doc_.FindChannel(ch));
        choose(Ctl(&d, "Combo1"), QStringLiteral("2"));
        onModal([](QWidget* m) {
            choose(Ctl(m, "Combo1_0"), QStringLiteral("Off"));
            Ctl<QPushButton>(m, "CommandOK")->click();
        });
        prompter_.expect(9951); // the MEM group keeps at least one channel: said, not silent
        more->click();
        QVERIFY(doc_.Channel(403));
        QCOMPARE(prompter_.asked.size(), 1);
    }

    // On the shipped plans: the dialog shows the frequency of the plan channel it selects from
    // the moment it opens, follows every band and channel, and OK stores what it showed.
    void memoryFrequencyOnThePlans() {
        newDoc(0);
        QFile csv(QStringLiteral(MZ_SOURCE_DIR "/data/channelplans/cb.csv"));
        QVERIFY(csv.open(QIODevice::ReadOnly));
        QString error;
        const auto plan = ParsePlanTable(csv.readAll(), 0, &error);
        QVERIFY2(plan && ApplyPlan(doc_, *plan, &error), qPrintable(error));
        auto listed = [this](int chNo) {
            const CHInfoRec* c = doc_.Channel(chNo);
            return c ? doc_.FreToListText(c->RxFre.text(), GroupOfChannel(chNo, 0)) : QString();
        };
        {
            // A memory channel left on a 28 MHz frequency: the nearest plan channel is UK 40,
            // and that is the frequency shown, not the old one.
            Frm_Mem_Freq m(doc_, QStringLiteral("28.01125"));
            QCOMPARE(Ctl(&m, "Combo1_0")->currentText(), QStringLiteral("UK"));
            QCOMPARE(Ctl(&m, "Combo1_1")->currentText(), QStringLiteral("40"));
            QCOMPARE(m.frequencyText(), QStringLiteral("27.99125"));
            auto* ok = Ctl<QPushButton>(&m, "CommandOK");
            for (int b = 1; b <= 8; ++b) {
                choose(Ctl(&m, "Combo1_0"), b);
                for (int k = 0; k < GroupSize(b - 1, 0); ++k) {
                    choose(Ctl(&m, "Combo1_1"), k);
                    const QString want = listed(FirstCHOfGroup(b - 1, 0) + k + 1);
                    QCOMPARE(m.frequencyText(), want);
                    // A row without a channel has nothing to store.
                    QCOMPARE(ok->isEnabled(), !want.isEmpty());
                }
            }
            // From "IN" 40 to "I2" the row stays 40, which has no channel in "I2".
            choose(Ctl(&m, "Combo1_0"), QStringLiteral("I2"));
            QCOMPARE(Ctl(&m, "Combo1_1")->currentText(), QStringLiteral("40"));
            QVERIFY(m.frequencyText().isEmpty());
            QVERIFY(!ok->isEnabled());
            choose(Ctl(&m, "Combo1_0"), QStringLiteral("Off"));
            QVERIFY(m.frequencyText().isEmpty());
            QVERIFY(ok->isEnabled());
        }

        auto& st = ChannelEditState::of(doc_);
        st.CurGroup = 8;
        st.CurCH = 3;
        FrmCHInfoEdit d(doc_);
        showActive(&d);
        auto* more = Ctl<QPushButton>(&d, "Command1");
        struct Pick {
            const char* band;
            const char* channel;
        };
        for (const Pick& p : {Pick{"UK", "3"}, Pick{"PL", "1"}, Pick{"DE", "41"}, Pick{"I2", "24"},
                              Pick{"EU", "23"}, Pick{"IN", "40"}}) {
            QString shown;
            onModal([&shown, p](QWidget* m) {
                choose(Ctl(m, "Combo1_0"), QString::fromLatin1(p.band));
                choose(Ctl(m, "Combo1_1"), QString::fromLatin1(p.channel));
                shown = Ctl<QLineEdit>(m, "Text1")->text();
                Ctl<QPushButton>(m, "CommandOK")->click();
            });
            more->click();
            QVERIFY(!shown.isEmpty());
            QCOMPARE(doc_.FreToListText(doc_.Channel(404)->RxFre.text(), 8), shown);
            QCOMPARE(Ctl<QLineEdit>(&d, "Text1")->text(), shown);
            // Opened again, it shows the same frequency.
            QString again;
            onModal([&again](QWidget* m) {
                again = Ctl<QLineEdit>(m, "Text1")->text();
                Ctl<QPushButton>(m, "CommandCancel")->click();
            });
            more->click();
            QCOMPARE(again, shown);
        }
    }

    // A person picks a group, moves to a cell, types a frequency, presses Enter, changes the
    // public flag, opens the full dialog with ">>", changes the tone, closes it, and sees
    // every change in the table; the saved file holds exactly those changes. Keyboard only.
    void keyboardOnlySession() {
        newDoc(1);
        const QByteArray before = EncodeDataFile(doc_.RadioData, doc_.CHInfo);
        const int count = doc_.chCount();

        frmCommChInfo t(doc_);
        QPointer<FrmCHInfoEdit> dialog;
        // What the main window does with the request (ShowChildForm).
        connect(&t, &frmCommChInfo::requestEditDialog, this, [&] {
            if (!dialog) dialog = new FrmCHInfoEdit(doc_);
            dialog->show();
            dialog->activateWindow();
        });
        showActive(&t);
        QCOMPARE(QApplication::focusWidget(), t.grid());

        QVERIFY(tabTo("Combo7"));
        key(Qt::Key_Down); // group "B"
        QCOMPARE(t.tableModel()->group(), 1);
        QVERIFY(tabTo("MSFlexGrid1"));
        key(Qt::Key_Down);
        key(Qt::Key_Down); // row 3, frequency column
        typeKeys(QStringLiteral("28.5"));
        key(Qt::Key_Return);
        QTRY_COMPARE(t.tableModel()->cellText(3, 1), QStringLiteral("28.50000"));
        key(Qt::Key_Right); // Public
        key(Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Combo1"));
        key(Qt::Key_Up); // "Off"
        key(Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), t.grid());
        QCOMPARE(t.tableModel()->cellText(3, 2), QStringLiteral("Off"));
        for (int i = 0; i < 3; ++i)
            key(Qt::Key_Right); // TSQ, Scan, ">>"
        QCOMPARE(t.grid()->currentIndex().column(), ChannelTableModel::EditCol);
        key(Qt::Key_Return);
        QVERIFY(dialog);
        QVERIFY(QTest::qWaitForWindowActive(dialog));
        QCOMPARE(Ctl(dialog, "Combo4")->currentText(), QStringLiteral("B"));
        QCOMPARE(Ctl(dialog, "Combo1")->currentText(), QStringLiteral("3"));
        QVERIFY(tabTo("Combo2_15"));
        for (int i = 0; i < 12; ++i)
            key(Qt::Key_Down); // TDCT "100.0 Hz"
        QVERIFY(tabTo("CommandClose"));
        key(Qt::Key_Return);
        QTRY_VERIFY(!dialog);

        const int ch = 43;
        const CHInfoRec* c = doc_.Channel(ch);
        QVERIFY(c);
        QCOMPARE(c->TDCT, i16(12));
        QCOMPARE(t.tableModel()->cellText(3, 1), QStringLiteral("28.50000"));
        QCOMPARE(t.tableModel()->cellText(3, 2), QStringLiteral("Off"));

        // The saved file: the old image plus exactly these changes.
        RadioDataRec data;
        ChannelList channels{};
        QVERIFY(DecodeDataFile(before, data, channels));
        data.CHCount = static_cast<i16>(count + 1);
        data.Func.GroupSel = 1;
        // The group's working and emergency channels name its only programmed row.
        data.Func.WorkCH[1] = data.Func.EmgCH1[1] = data.Func.EmgCH2[1] = 2;
        CHInfoRec expected = channels[count];
        expected.CHNo = ch;
        expected.Spare = 0;
        expected.Scan = 1;
        expected.RxFre = QStringLiteral("02850000");
        expected.OffSetFre = 100;
        expected.RDCT = expected.DUP = expected.HI_CUT = expected.BUSY = 0;
        expected.Add_Sub_5K = expected.AM_FM = expected.Tx_Power = expected.RBTone = 0;
        expected.DTMF_BOT = expected.DTMF_EOT = expected.DTMF_Call = expected.TSQ = 0;
        expected.NB = 1;
        expected.Public = 0;
        expected.TDCT = 12;
        channels[count] = expected;
        QCOMPARE(EncodeDataFile(doc_.RadioData, doc_.CHInfo), EncodeDataFile(data, channels));
        QVERIFY(prompter_.asked.isEmpty());
    }
};

MZ_TEST_MAIN(TestChannelEdit)
#include "tst_channeledit.moc"
