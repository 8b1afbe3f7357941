#pragma once

// FrmDTMF: the DTMF record (DTMFRec). Every change is stored at once, a code when its box is
// left or Enter is pressed (one undo step for the typing); there is no OK or Cancel.
//
// Controls (objectName; the element Name(i) of a control array is "Name_i"):
//   SSTab1         tab 0 the settings, tab 1 the codes, tab 2 (empty, unavailable)
//   Label1_k / Combo1_k, k = 0..4   DtmfSet(k + 1) (rows of settingsforms.h)
//   Check1         DtmfSet(6), the DTMF display
//   Label4_s / Text2_s, s = 0..15   the code of slot s + 1 (DtmfCodeEdit)
//   CommandClose, CommandHelp (the manual's chapter)
//
// Opening the window repairs what it cannot show (a display setting above 1, a code length
// above 16); nothing else is stored until the user changes a control. Emptying a code clears
// every reference to it, and the code lists of the other windows follow through the
// Document's dtmfCodesChanged signal.

#include "settingswindow.h"

#include <array>

class Document;
class DtmfCodeEdit;
class QCheckBox;
class QTabWidget;
class SettingsForm;

class FrmDTMF : public SettingsWindow {
    Q_OBJECT
public:
    explicit FrmDTMF(Document& doc, QWidget* parent = nullptr);
    ~FrmDTMF() override;

public slots:
    // Stores a code still being typed.
    void commitEdits();

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    void buildControls();
    void setCaptions();
    void showRecord();
    void reload();

    Document& doc_;
    QTabWidget* tabs_ = nullptr;
    SettingsForm* form_ = nullptr;
    QCheckBox* check1_ = nullptr;
    std::array<DtmfCodeEdit*, 16> codes_{};
};
