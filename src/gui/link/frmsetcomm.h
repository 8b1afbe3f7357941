#pragma once

#include "portlist.h"

#include <QDialog>
#include <functional>

class QButtonGroup;
class QLineEdit;
class QListWidget;
class QRadioButton;
class QTimer;

// The serial port dialog. The sixteen buttons COM1..COM16 stand for the numbered ports and
// are enabled when that port is present; below them every present port is listed by its
// device name (USB cables have no COM number here), with the virtual radio when it is
// installed, and any device path can be typed. The list is refreshed every second.
class FrmSetComm : public QDialog {
    Q_OBJECT
public:
    using PortLister = std::function<QList<PortEntry>()>;

    explicit FrmSetComm(QWidget* parent = nullptr);
    ~FrmSetComm() override;

    // Tests list ports of their own; nullptr restores the system's list.
    static void setPortLister(PortLister lister);

    // One tick of ReCommTimer: the availability again, the choice kept.
    void RefreshPorts();

private:
    void ComputeAvailability();
    void fillPortList(const QList<PortEntry>& ports);
    void selectCurrentChoice();
    void clearButtons();
    void CommandOK_Click();
    int checkedButton() const;

    QRadioButton* Option1_[16] = {};
    QButtonGroup* group_;
    QListWidget* ListPorts_;
    QLineEdit* TextPath_;
    QTimer* ReCommTimer_;
    QList<PortEntry> shownPorts_;
    bool syncing_ = false;
};
