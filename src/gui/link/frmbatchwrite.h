#pragma once

// Program > Write to Several Radios: the saved document goes into radio after radio while the
// dealer only connects and switches radios; every radio gets a line in a CSV log. The result
// of each radio is shown large enough to read from a step away.

#include "core/app/batchwriter.h"

#include <QDialog>
#include <QStringList>
#include <functional>

class Document;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSpinBox;

class FrmBatchWrite : public QDialog {
    Q_OBJECT
public:
    // doc must be saved (its CurFileName is named in the log); port is the cable's port.
    FrmBatchWrite(Document& doc, const QString& port, Prompter& prompter,
                  QWidget* parent = nullptr);
    ~FrmBatchWrite() override;

    void setPassword(const QString& password) { password_ = password; }
    // Tests replace the file dialog of Browse.
    void setFileChooser(std::function<QString(const QString& preset)> chooser) {
        chooseLog_ = std::move(chooser);
    }
    BatchWriter& writer() { return writer_; }

    void startBatch();
    // The Stop button: after the current radio at the first press, at once at the second.
    void stopBatch();

protected:
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    void onPhase(BatchPhase phase);
    void onRadioDone(const BatchLogEntry& entry);
    void onFinished(const QString& error);
    void showResult(const QString& text, bool good);
    // The big line while a radio is connected: what happens and that it must stay connected.
    void showBusy(const QString& text);
    void showProgress(int percent);
    void updateButtons();

    Document& doc_;
    Prompter& prompter_;
    QString port_;
    QString password_;
    BatchWriter writer_;
    std::function<QString(const QString&)> chooseLog_;
    bool closeWhenDone_ = false; // closed while the radio's last answer was still awaited
    QString busyText_;           // the big line of the running exchange, without its percentage
    QStringList writeAgain_;     // serial numbers of the radios a write or verify failed on
    QString lastResult_;         // the result of the last radio, for the line below the big one

    QLabel* LabelDocument_;
    QComboBox* ComboPort_;
    QLineEdit* TextLog_;
    QPushButton* CommandBrowse_;
    QSpinBox* SpinCount_;
    QCheckBox* CheckBackup_;
    QLabel* LabelResult_;
    QLabel* LabelStep_;
    QProgressBar* ProgressBar1_;
    QListWidget* ListRadios_;
    QPushButton* CommandStart_;
    QPushButton* CommandStop_;
    QPushButton* CommandClose_;
};
