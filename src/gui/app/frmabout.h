#pragma once

#include <QDialog>

// The About window: the program's identity, modal.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget* parent = nullptr);
};
