#pragma once

#include "portlist.h"

#include <QDialog>
#include <functional>

class ConnectionTest;
class Prompter;
class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QListWidget;
class QRadioButton;
class QTimer;

// The serial port dialog. The sixteen buttons COM1..COM16 stand for the numbered ports and
// are enabled when that port is present; below them every present port is listed by its
// device name and the cable behind it (USB cables have no COM number here), with the virtual
// radio when it is installed, and any device path can be typed. The list is refreshed every
// second. A USB cable is stored by its stable name, so that it is found again after a
// re-plug. Test Connection asks the radio on the chosen port who it is.
class FrmSetComm : public QDialog {
    Q_OBJECT
signals:
    // The result of a connection test as shown, for the main window's list of messages.
    void testFinished(const QString& text);

public:
    using PortLister = std::function<QList<PortEntry>()>;

    explicit FrmSetComm(QWidget* parent = nullptr);
    ~FrmSetComm() override;

    // Asks whether a typed device path that does not exist is meant (OK); without one it is
    // taken as typed.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }

    // Tests list ports of their own; nullptr restores the system's list.
    static void setPortLister(PortLister lister);

    // One tick of ReCommTimer: the availability again, the choice kept.
    void RefreshPorts();
    // The port the dialog shows chosen, as a session would be given it; empty for none.
    QString chosenPort() const;

private:
    void ComputeAvailability();
    void fillPortList(const QList<PortEntry>& ports);
    void selectCurrentChoice();
    void clearButtons();
    void CommandOK_Click();
    void CommandTest_Click();
    void showTestResult(const QString& text);
    int checkedButton() const;

    QRadioButton* Option1_[16] = {};
    QButtonGroup* group_;
    QListWidget* ListPorts_;
    QLineEdit* TextPath_;
    QTimer* ReCommTimer_;
    QPushButton* CommandTest_;
    QLabel* LabelTestResult_;
    ConnectionTest* test_;
    Prompter* prompter_ = nullptr;
    QString testNotes_; // warnings of the port check, shown with the radio's answer
    QList<PortEntry> shownPorts_;
    bool syncing_ = false;
};
