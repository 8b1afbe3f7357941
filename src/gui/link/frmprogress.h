#pragma once

#include "core/link/commkind.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// The progress window of a read or a write. The session shows it modally, starts the
// transfer when it reports loaded(), feeds it the block addresses, and closes it with
// Finish(). Its Cancel button (and Escape) only ask the session to stop: the window closes
// when the session has ended.
class FrmProgress : public QDialog {
    Q_OBJECT
public:
    // commMode 1 read, 2 write: the caption is text 9026 + commMode.
    explicit FrmProgress(CommKind commMode, QWidget* parent = nullptr);

    void SetProgressValue(int percent);
    // Called after each block read is stored and before each write block is sent: the shown
    // percentage only grows, by whole steps.
    void ShowProgress(int commAddr, int commEndAddr);
    // The same for a percentage the session has worked out already.
    void ShowPercent(int percent);
    // A restart after a failure: back to 0 %.
    void ResetProgress();
    int LastPercent() const { return lastPercent_; }
    // Closes the window (the session has ended).
    void Finish();

signals:
    // The window is up: the session sends its first request now.
    void loaded();
    // The user asked to stop the transfer.
    void cancelRequested();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;

private:
    QProgressBar* ProgressBar1_;
    QLabel* Label1_;
    QLabel* Label2_;
    QPushButton* CommandCancel_;
    int lastPercent_ = 0;
    bool loadedOnce_ = false;
    bool finishing_ = false;
};
