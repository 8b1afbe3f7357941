#pragma once

// FrmRadioInfo: the radio's identity and service record (RadioInfo of the Document), as the
// radio-information read left it. It only displays: every box is a read-only text field
// (model, country mode and band too, so that a screen reader announces no list that cannot be
// used) whose text can be selected, and "Copy" puts the whole record on the clipboard as text.
// Nothing in it is ever stored.
//
// Controls (objectName): Label1_0 / Combo1_0 model, Label1_14 / Combo3 country mode,
// Label1_1 / Combo1_1 band, Label1_d / Text1_i for the fields of radioinfofields.h (Text1_4,
// the repair note, has several lines), Frame1 the dealer information (Text1_6 .. Text1_11),
// CommandCopy, CommandClose, CommandHelp (the manual's chapter).

#include "settingswindow.h"

#include <QHash>

class Document;
class QGridLayout;
class QLineEdit;

class FrmRadioInfo : public SettingsWindow {
    Q_OBJECT
public:
    explicit FrmRadioInfo(Document& doc, QWidget* parent = nullptr);
    ~FrmRadioInfo() override;

    // Redraws the window from the record.
    void ShowByData();
    // The record as text on the clipboard.
    void copyToClipboard();

private:
    QLineEdit* addShown(const char* name, int labelText, QGridLayout* grid, int row,
                        const char* labelName);

    Document& doc_;
    QLineEdit* model_ = nullptr;
    QLineEdit* mode_ = nullptr;
    QLineEdit* band_ = nullptr;
    QHash<QString, QWidget*> boxes_;
};
