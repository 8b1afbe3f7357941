#pragma once

// The document commands (New, Open, Save, Save As, initialisation, the exit sequence) with
// their questions, apart from any window: what they need from the main window comes through
// DocumentShell, what they ask the user through the Prompter.

#include <QObject>
#include <QRect>
#include <QString>

class Document;
class Prompter;
class QTimer;

class DocumentShell {
public:
    virtual ~DocumentShell() = default;
    // File dialogs with the filter of text 9001 + " (*.dat)"; an empty result means cancelled.
    virtual QString chooseOpenFile() = 0;
    virtual QString chooseSaveFile(const QString& preset) = 0;
    // The country mode of a new document (0 CB, 1 HF, 2 HAM), with current chosen at first;
    // -1 when cancelled.
    virtual int chooseNewMode(int current) = 0;
    // CloseCurAllWindows.
    virtual void closeAllChildWindows() = 0;
    // After a new or opened document: rebuild the texts, open the channel table, refresh the
    // title and status (ShowMainTxt), cascade the child windows.
    virtual void documentLoaded() = 0;
    // ShowMainTxt after a save.
    virtual void refreshTitle() = 0;
    // Another program version took the file over: end this program through the normal exit
    // sequence (which still asks 9006 when the document has changed).
    virtual void requestExit() = 0;
};

class DocumentCommands : public QObject {
    Q_OBJECT
public:
    DocumentCommands(Document& doc, DocumentShell& shell, Prompter& prompter,
                     QObject* parent = nullptr);

    // File > New: 9006 when changed, then 9026, then LoadNewDoc. A document with no channels
    // of its own (Document::untouchedNew) asks for the country mode of the new one instead of
    // 9026: nothing is lost, and the mode is what there is to decide.
    void FileNew();
    // A new document in a country mode (the start panel): 9006 when changed, then LoadNewDoc
    // for that mode.
    void NewInMode(int mode);
    // The toolbar's New: 9006 when changed (so no work is lost unasked), no 9026.
    void ToolbarNew();
    void LoadNewDoc();  // closes the child windows, builds the new document 100 ms later
    void LoadNewDoc2(); // at once, without questions (main window load)
    void FileOpen();    // 9006 when changed, then the open dialog
    // AskOpenFile after the dialog: close the child windows, open with every check.
    bool OpenFile(const QString& path);
    // A file named directly (the recent-files list): 9006 when changed, then OpenFile.
    bool FileOpenPath(const QString& path);
    // A backup: 9006 when changed, then opened with every check as an unnamed document titled
    // as the backup it is, so that Save asks for a name and the backup is never overwritten.
    bool OpenAsNewDocument(const QString& path);
    bool FileSave(); // false when cancelled or failed
    bool FileSaveAs();
    void Init(); // initialisation: New from the factory initial-data file
    // The exit sequence. twips is the window's geometry to store (ignored when minimised).
    // Returns false when the user cancelled at 9006: the program keeps running.
    bool ExitSequence(bool minimised, const QRect& twips);
    // 9006 with Yes/No/Cancel when the document changed; false on Cancel (or a failed save).
    // Whatever replaces the document asks it first (New, Open, Exit, a read from the radio).
    bool askSaveChanges();

signals:
    // Emitted when LoadNewDoc's delayed step has built the new document.
    void newDocumentBuilt();

private:
    // The shell shows the document just built or opened, and undo starts from there.
    void showLoaded();
    // LoadNewDoc, the new document in that country mode.
    void loadNewDocInMode(int mode);
    // OpenFile; with a title the document stays unnamed under it.
    bool openChecked(const QString& path, const QString& untitled);

    void newDocTick();

    Document& doc_;
    DocumentShell& shell_;
    Prompter& prompter_;
    QTimer* newDocTimer_; // NewDocTimer: one tick, 100 ms after LoadNewDoc
    int newMode_ = -1;    // the country mode the tick sets first; -1: the document's own
};
