#pragma once

#include <QDialog>

class QComboBox;

// The language dialog: every language file found, by its own name. OK stores the choice; the
// main window rebuilds its texts when it is activated again.
class FrmSetLanguage : public QDialog {
    Q_OBJECT
public:
    explicit FrmSetLanguage(QWidget* parent = nullptr);

private:
    void CommandOK_Click();

    QComboBox* Combo1_;
};
