#pragma once

#include <QDialog>

class Document;
class Prompter;
class QComboBox;

// The model information window: model, country mode and band. The one place where the
// country mode changes; a change discards the document, so it is confirmed first (unless the
// document is a new one nobody touched) and the caller then starts a new document
// (modeChanged()).
class FrmModelInfo : public QDialog {
    Q_OBJECT
public:
    FrmModelInfo(Document& doc, Prompter& prompter, QWidget* parent = nullptr);
    // True after OK confirmed a different mode: the document state is already set to it.
    bool modeChanged() const { return modeChanged_; }

private:
    void CommandOK_Click();

    Document& doc_;
    Prompter& prompter_;
    QComboBox* Combo1_;
    QComboBox* Combo2_;
    QComboBox* Combo3_;
    bool loading_ = true;
    bool modeChanged_ = false;
};
