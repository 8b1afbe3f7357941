#pragma once

// The channel edit dialog FrmCHInfoEdit: every field of one channel, chosen by group and
// channel number inside the dialog. Modeless, one instance; every change is stored at once
// through Document::SetCHValue with the field ids of the channel value setter, and the dialog
// redraws from the Document's signals. The dialog and the channel table follow each other's
// group through ChannelEditState; the dialog opens on the table's CurGroup/CurCH.
//
// Controls (objectName; a control array element "Name(i)" is named "Name_i"):
//   Frame1        the frame around the fields
//   Label4, Combo4        group (country modes 1 and 2)
//   Combo3_0, Combo3_1    country selector of mode 0 ("U" in Combo3_0 shows Combo3_1)
//   Label1, Combo1        channel number within the group
//   Label2_0, Text1, Command1   receive frequency; ">" (group "MEM" of mode 0) opens
//                               Frm_Mem_Freq
//   Label2_1, Text2       OffSetFre
//   Label3_i, Combo2_i    i = 0 Public, 1 DUP, 2 TSQ, 3 Scan, 4 HI_CUT, 5 BUSY, 6 NB,
//                         7 Add_Sub_5K (never shown), 8 AM_FM, 9 Tx_Power, 10 RBTone,
//                         11 DTMF_BOT, 12 DTMF_EOT, 13 DTMF_Call, 14 RDCT, 15 TDCT;
//                         Combo2_i edits field id i + 2 (i < 2) or i + 3
//   Combo5        hidden: the roger-beep choice by stored index
//   CommandClose, CommandHelp (the manual's chapter; shown by the main window)
//
// Hooks for the main window: commitEdits() stores a value still being typed in Text1/Text2
// (called before a save, a read or a write). CommandClose closes the enclosing QMdiSubWindow
// when there is one, else the dialog; the dialog deletes itself when closed
// (WA_DeleteOnClose) and stores a pending Text1/Text2 value first. The main window shows it
// when frmCommChInfo::requestEditDialog() asks, or brings the open one to the front.

#include <QStringList>
#include <QWidget>
#include <array>

class ChannelEditState;
class Document;
class NumberEdit;
class QComboBox;
class QGroupBox;
class QScrollArea;
class QLabel;
class QPushButton;

class FrmCHInfoEdit : public QWidget {
    Q_OBJECT
public:
    explicit FrmCHInfoEdit(Document& doc, QWidget* parent = nullptr);
    ~FrmCHInfoEdit() override;

    // Shows the selected channel. fromTable: the table's group or a stored value changed;
    // otherwise the dialog's own group or channel choice changed.
    void SetGridEditData(bool fromTable);
    // Rebuilds the roger-beep list (only usable tone tips) for the shown channel.
    void ShowRB();
    // Fills Combo1 with "1" .. the group's size.
    void ChangShowCHs(int group);
    // Enables each field as the rule source allows it for the shown channel: a Public channel
    // has none of the fields the public channel gives it, an FM-only row no AM, an empty slot
    // only its frequency.
    void EnablePub();
    // Stores a value still being typed in Text1 or Text2.
    Q_INVOKABLE void commitEdits();
    // Makes the window as tall as its fields need where the main window's area has the room,
    // moving it up when it must, before its fields scroll. The main window asks it again
    // after it has arranged its windows.
    Q_INVOKABLE void useTheRoomThereIs();

    // Field id edited by Combo2(i).
    static int FieldOfCombo2(int i) { return i < 2 ? i + 2 : i + 3; }
    // The items of Combo2(i) that do not follow the document; empty for the lists filled from
    // the document (power, roger beep, DTMF codes).
    static QStringList fixedItemsOfCombo2(int i);

protected:
    void closeEvent(QCloseEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

private:
    void buildControls();
    void layoutForMode();
    void fillLists();
    void fillDtmfLists();
    void fillPowerList(int amFm, int power);
    void setCaptions();
    void syncCountrySelector();
    void showChannelRequested();
    void reload();

    void combo4Click();
    void combo3Click(int i);
    void combo1Click();
    void combo2Click(int i);
    void text1Enter();
    void saveText1();
    void text2Enter();
    void saveText2();
    void command1Click();
    void closeWindow();

    int shownGroup() const;
    int shownRow() const;

    Document& doc_;
    ChannelEditState& st_;
    QGroupBox* frame1_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    bool placed_ = false;
    QLabel* label4_ = nullptr;
    QComboBox* combo4_ = nullptr;
    std::array<QComboBox*, 2> combo3_{};
    QLabel* label1_ = nullptr;
    QComboBox* combo1_ = nullptr;
    std::array<QLabel*, 2> label2_{};
    NumberEdit* text1_ = nullptr;
    QPushButton* command1_ = nullptr;
    NumberEdit* text2_ = nullptr;
    std::array<QLabel*, 16> label3_{};
    std::array<QComboBox*, 16> combo2_{};
    QComboBox* combo5_ = nullptr;
    QPushButton* commandClose_ = nullptr;
    QPushButton* commandHelp_ = nullptr;

    // Controls are being filled by code: their handlers do nothing.
    bool DialogBusy = false;
    bool saving_ = false;
};
