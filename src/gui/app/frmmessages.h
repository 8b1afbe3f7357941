#pragma once

// Window > Messages: what the status bar and the message boxes that only tell (reports,
// failures, connection tests) said during this run, newest first, each with its time and,
// where it names a file, the folder to open. The chosen message shows whole below the list.

#include <QDateTime>
#include <QDialog>
#include <QList>
#include <QString>

class Prompter;
class QTreeWidget;
class QPlainTextEdit;
class QPushButton;

struct StatusEntry {
    QDateTime time;
    QString text;
    QString path; // a file or folder the message names; empty when none
};

class FrmMessages : public QDialog {
    Q_OBJECT
public:
    FrmMessages(const QList<StatusEntry>& entries, Prompter& prompter, QWidget* parent = nullptr);
    QTreeWidget* list() const { return list_; }

private:
    void openChosenFolder();

    Prompter& prompter_;
    QTreeWidget* list_ = nullptr;
    QPushButton* open_ = nullptr;
    QPlainTextEdit* whole_ = nullptr;
};

// Opens the folder in the desktop's file manager (creating it first, so that a folder not yet
// used opens empty rather than failing); a failure is told through the prompter.
bool openFolder(Prompter& prompter, const QString& folder);
