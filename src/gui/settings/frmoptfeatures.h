#pragma once

// FrmOptFeatures: the radio-wide options (FuncRec) and the public channel (PublicCH). Every
// change is stored at once; there is no OK or Cancel.
//
// Controls (objectName; the element Name(i) of a control array is "Name_i"):
//   Frame1                 the options: Label1_d / Combo1_d, d = 0..16 (rows of settingsforms.h)
//   Combo3_0, Combo3_1     country plan of mode 0, in the place of Combo1_1 (WorkGroup);
//                          Combo3_1 ("EI", "UK") shows while "UK" is picked in Combo3_0
//   Frame3                 the public channel: Label3_j / Combo2_j, j = 1, 2, 4..13;
//                          Label2 / Text2 (OffSetFre, hidden in mode 0);
//                          Check1 (UseMaxSwr), Label4 "Max" (16049), Text1 (MaxSwr / 10)
//   CommandClose, CommandHelp (the manual's chapter)
//
// The lists redraw from the Document's signals (options, public channel, DTMF codes, tone
// tips, a replaced document); the text boxes show the record when the window opens, when
// they lose the focus and when the document is replaced. commitEdits() stores a value still
// being typed (the main window calls it before a save or a write).

#include "settingswindow.h"

class Document;
class NumberEdit;
class QCheckBox;
class QComboBox;
class QLabel;
class SettingsForm;

class FrmOptFeatures : public SettingsWindow {
    Q_OBJECT
public:
    explicit FrmOptFeatures(Document& doc, QWidget* parent = nullptr);
    ~FrmOptFeatures() override;

    // Redraws the roger-beep list from PublicCH.RBTone (after the tone tips change).
    void ShowRBOpt();
    // Stores one control: 0..16 Combo1(id), 100 + j Combo2(j), 200 Text2, 300 Check1, and
    // 400 Text1 (the maximum SWR, stored when it loses the focus).
    void SaveOptFeat(int id);
    Q_INVOKABLE void commitEdits();

    // The maximum-SWR text as it is shown after leaving the box: below 7 is 7.0, above 20 is
    // 20.0, a text that is no number is 20.0; formatted "#0.0".
    static QString ClampSwrText(const QString& text);

signals:
    // A typed value was moved to its limit: the sentence for the main window's status bar.
    void statusNote(const QString& text);

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    // Says in the status bar that a number typed beyond low..high was moved to its limit.
    void tellMoved(const QString& label, const QString& typed, const QString& stored, double low,
                   double high, int decimals);
    QString lastMoved_; // the last sentence of tellMoved
    void buildControls();
    void setCaptions();
    void reload();
    void showLists();
    void showTexts();
    void showCountryPlan();
    void combo3Click(int i);

    Document& doc_;
    SettingsForm* options_ = nullptr;
    SettingsForm* public_ = nullptr;
    QComboBox* combo3_[2] = {};
    QLabel* labelOffset_ = nullptr;
    NumberEdit* text2_ = nullptr;
    QCheckBox* check1_ = nullptr;
    QLabel* label4_ = nullptr;
    NumberEdit* text1_ = nullptr;
    bool loading_ = false;
};
