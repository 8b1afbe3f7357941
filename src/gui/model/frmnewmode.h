#pragma once

#include <QDialog>

class QRadioButton;

// File > New on a document with no channels of its own: the country mode of the new document,
// the current one chosen at first. The band of each mode stands beside it.
class FrmNewMode : public QDialog {
    Q_OBJECT
public:
    explicit FrmNewMode(int current, QWidget* parent = nullptr);
    int chosenMode() const;

    // The mode chosen, or -1 when the dialog was cancelled.
    static int Ask(int current, QWidget* parent);

private:
    QRadioButton* modes_[3];
};
