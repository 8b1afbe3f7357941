#pragma once

// The channel import dialog: the import is first made on a copy of the document, and its
// report (every row imported, adjusted or skipped, and why) is shown. OK puts the copy's
// channels into the document in one step; Cancel, or closing the window, changes nothing.
// The rows go to their Location, or into consecutive rows of the group and row selected in
// the channel table.

#include "core/files/channelcsv.h"
#include "core/model/document.h"

#include <QByteArray>
#include <QDialog>

class QComboBox;
class QLabel;
class QPlainTextEdit;

class FrmChannelImport : public QDialog {
    Q_OBJECT
public:
    // group and row: the selected group and row for the second kind of target, or -1 for none.
    FrmChannelImport(Document& doc, const QByteArray& csv, int group, int row,
                     QWidget* parent = nullptr);

    // The file as a whole was refused (not a channel CSV); the dialog is then not shown.
    const ChannelImportReport& report() const { return report_; }

private:
    void runImport();
    void apply();

    Document& doc_;
    QByteArray csv_;
    int group_;
    int row_;
    Document copy_;
    ChannelImportReport report_;
    QComboBox* ComboTarget_ = nullptr;
    QPlainTextEdit* TextReport_ = nullptr;
};
