#pragma once

// File > Print (a print preview of the report, printed from there), the toolbar's Print button
// and File > Export PDF: thin callers of the printed report of the core, with the dialogs and
// the messages.

#include <QObject>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <functional>

class Document;
class Prompter;
class QWidget;

class PrintCommands : public QObject {
    Q_OBJECT
public:
    // The PDF file to write; an empty result means cancelled.
    using Chooser = std::function<QString()>;

    PrintCommands(Document& doc, Prompter& prompter, QWidget* window);

    // Tests replace the save dialog.
    void setChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    // Opens the print preview of the report (or brings the open one to the front). It blocks
    // the main window while it is open, so the report cannot go stale.
    QPrintPreviewDialog* preview();
    QPrintPreviewDialog* openPreview() const { return preview_; }
    // Closes an open preview (the main window is closing).
    void closePreview();
    // Returns the file written, or an empty text.
    QString exportPdf();

signals:
    void status(const QString& text);

private:
    QString choose();

    Document& doc_;
    Prompter& prompter_;
    QWidget* window_;
    Chooser chooser_;
    QPointer<QPrintPreviewDialog> preview_;
};
