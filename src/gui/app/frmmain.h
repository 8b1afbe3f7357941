#pragma once

// frmMain: the one top-level window. A multiple-document frame around the editor windows,
// with the menus, the toolbar, the navigation tree and the status bar, and the document
// commands' side that needs a window (file dialogs, closing and opening child windows).

#include "core/app/documentcommands.h"
#include "core/link/commkind.h"
#include "frmmessages.h"
#include "link/sessionwindow.h"

#include <QHash>
#include <QMainWindow>
#include <functional>

class ChannelCsvCommands;
class ChannelRowCommands;
class frmCommChInfo;
class Document;
class LinkSession;
class PrintCommands;
class Prompter;
class QAction;
class QFrame;
class QLabel;
class StatusLine;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QTimer;
class QStackedWidget;
class QToolBar;
class QTreeWidget;
class StartPanel;
class QTreeWidgetItem;
class TreeSplitter;

class frmMain : public QMainWindow, public DocumentShell, public SessionWindow {
    Q_OBJECT
public:
    using ChildFactory = std::function<QWidget*()>;
    // save = false for the open dialog; an empty result means cancelled.
    using FileChooser = std::function<QString(bool save, const QString& preset)>;

    frmMain(Document& doc, Prompter& prompter, QWidget* parent = nullptr);
    ~frmMain() override;

    // Loading the window: position and size from the per-user store, the texts, the tree
    // and the first document. Runs once; showing the window runs it when nobody did.
    void Load();

    Document& document() const override { return doc_; }
    Prompter& prompter() const override { return prompter_; }
    DocumentCommands& commands() { return commands_; }
    // File > Export channels... and Import channels...
    ChannelCsvCommands& channelCsv() const { return *channelCsv_; }
    // File > Print, the toolbar's Print and File > Export PDF.
    PrintCommands& printCommands() const { return *print_; }
    QMdiArea* mdiArea() const { return mdi_; }
    // The start panel stands in the place of the child windows from the window's loading until
    // a document is opened, read or started, or a child window is picked.
    StartPanel* startPanel() const { return startPanel_; }
    bool startPanelShown() const;
    void showStartPanel();
    void hideStartPanel();
    // The channel commands (Channel menu, toolbar, the table's context menu).
    ChannelRowCommands& rowCommands() const { return *rowCommands_; }
    // The channel table when it is the current child window.
    frmCommChInfo* activeChannelTable() const;
    // A new channel table offers the channel commands in its context menu.
    void attachChannelTable(frmCommChInfo* table);

    // --- Child windows, by their object name ---
    // How to make a window; without a factory, opening that window does nothing.
    void registerChildFactory(const QString& name, ChildFactory factory);
    QStringList childFormNames() const { return factories_.keys(); }
    // Brings the open window to the front, or makes it, shows it and cascades.
    QWidget* ShowChildForm(const QString& name) override;
    QWidget* ChildForm(const QString& name) const;
    void CloseFormsNamed(const QString& name);
    // Cascade, then every child window shrunk into the area that holds it.
    void cascadeSubWindows();
    void fitSubWindows(const QSize& grownArea = QSize());
    void useRoomInSubWindows();
    // Grows the main window (within its screen) so that its area holds every child window at
    // its minimum size; returns how much the area grows.
    QSize growForSubWindows(const QSize& area);
    void CloseCurAllWindows() override;

    // --- Texts ---
    void ShowMainTxt();
    void Change_Language();
    void LoadTree();
    // Shows or hides the channel-edit menu and its toolbar buttons together.
    void ShowCHInfo(bool show);
    // After a language change: every text again, child windows closed, channel table
    // reopened. Runs on activation; does nothing while the texts are current.
    void CheckLanguage();
    // The status panel of the serial port, after the port dialog.
    void ShowPortText();
    // A short notice at the left of the status bar (a backup saved, the radio verified).
    // The newest message replaces the last in the status bar and joins Window > Messages;
    // path is a file or folder it names, opened from there.
    void showStatusMessage(const QString& text, const QString& path = {}) override;
    // Keeps a message in Window > Messages without showing it in the status bar (a message box
    // said it already).
    void recordMessage(const QString& text, const QString& path = {});
    void showMessages();
    QString statusMessage() const;
    void setRadioWarning(const QString& text, const QString& titleNote = {}) override;
    QString radioWarning() const { return radioWarningNote_; }

    // --- Link ---
    // --- SessionWindow: the session commands (Read, Write, radio information) ---
    QWidget* sessionParent() override { return this; }
    void setSessionStarter(SessionStarter starter) override {
        sessionStarter_ = std::move(starter);
    }
    void whenClosing(QObject* context, std::function<void()> f) override;
    // Read, write and radio-information read are refused while any session runs: a second
    // one would reset the first.
    void setSessionRunning(bool running) override;
    bool sessionRunning() const { return sessionRunning_; }
    // The programming password typed for this run (memory only, never stored). Once a link
    // session is attached it holds the one copy, so that the password command and the
    // session's own dialog change the same text.
    QString progPassword() const;
    void setProgPassword(const QString& typed);
    void setLinkSession(LinkSession* session) override;

    // A file named on the command line or by the file manager (a path or a file: URL), opened
    // with every check of File > Open. False when it was refused.
    bool OpenStartFile(const QString& argument);
    // Where the file dialogs start for the current file name: its folder, or the user's
    // documents folder for an unnamed document. The file name is kept.
    static QString fileDialogStart(const QString& current);
    // Tests replace the file dialogs.
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // --- DocumentShell ---
    QString chooseOpenFile() override;
    QString chooseSaveFile(const QString& preset) override;
    int chooseNewMode(int current) override;
    void closeAllChildWindows() override { CloseCurAllWindows(); }
    void documentLoaded() override;
    void refreshTitle() override { ShowMainTxt(); }
    void requestExit() override;

    // Pixels for a length in twips, and back (1440 twips to the inch).
    int twipsToPixelsX(int twips) const;
    int twipsToPixelsY(int twips) const;
    int pixelsToTwipsX(int px) const;
    int pixelsToTwipsY(int px) const;
    // The geometry that the exit sequence stores, in twips.
    QRect geometryTwips() const;
    // The narrowest the tree panel may be dragged (300 twips).
    int minTreeWidth() const { return twipsToPixelsX(300); }

signals:
    // The exit sequence has been accepted and the window is about to close.
    void closing();

public slots:
    void mnuReadFromRadio();
    void mnuWriteToRadio();
    void ReadRMGDataFromRadio();
    // Program > Write to Several Radios: saves the document, then opens the batch window.
    void mnuWriteSeveral();
    void MnuProPassWord();

protected:
    void closeEvent(QCloseEvent* e) override;
    void changeEvent(QEvent* e) override;
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QAction* action(const char* name) const;
    QMenu* menu(const char* name) const;
    void buildMenus();
    void buildToolBar();
    void buildTreePanel();
    void buildStatusBar();
    void connectStartPanel();
    void connectCommands();
    void SetLanguageTexts();
    // Once a run, in the status bar: Chinese is chosen and no font can show it.
    void warnMissingChineseFont();
    void restoreGeometryTwips();
    // Moves the window so that its title bar lies in the work area of a screen that exists; runs
    // once the window manager has put its frame around the shown window.
    void keepFrameOnScreen();
    void updateClock();
    void fillWindowMenu();
    void treeNodeClicked(QTreeWidgetItem* item);
    void moveTree(int dx);
    void setTreeVisible(bool visible);
    void MnuLocalInfo();
    void mnuModelInfo();
    void mnuComm();
    void mnuLanguage();
    void mnuHelpTopic();
    void mnuHelpAbout();
    // The open editors commit what is still being typed.
    void commitEditors(const QStringList& names);
    // The virtual radio, when it is the chosen port, is started if need be; false (told) when
    // it cannot start.
    bool virtualRadioReady();
    void startSession(CommKind commMode);
    QMdiSubWindow* subWindowNamed(const QString& name) const;
    QString statusModelText() const;
    // Recent files, File > Backups, the link settings and the change mark in the title
    // (mainrecords.cpp).
    void buildRecordExtras();
    // Undo and redo, and the channel commands (mainedit.cpp).
    void buildEditCommands();
    void updateUndoActions();
    void updateChannelActions();
    void fillRecentMenu();
    void rememberRecent();
    void mnuBackups();
    // Program > Write to Several Radios (mainbatch.cpp).
    void buildBatchWrite();

    Document& doc_;
    Prompter& prompter_;
    DocumentCommands commands_;
    bool loaded_ = false;
    bool sessionRunning_ = false;
    bool chineseFontWarned_ = false;
    QString progPassword_;
    LinkSession* session_ = nullptr;
    FileChooser fileChooser_;
    bool frameChecked_ = false; // the frame was checked against the screens once
    QString saveDialogTitle_;   // why a command saves before it runs; empty: the usual title
    SessionStarter sessionStarter_;
    ChannelCsvCommands* channelCsv_ = nullptr;
    PrintCommands* print_ = nullptr;
    ChannelRowCommands* rowCommands_ = nullptr;
    QHash<QString, ChildFactory> factories_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;

    QMdiArea* mdi_ = nullptr;
    QStackedWidget* centralStack_ = nullptr; // the start panel or the child windows
    StartPanel* startPanel_ = nullptr;
    QToolBar* tbToolBar_ = nullptr;
    QFrame* Picture1_ = nullptr;
    QLabel* Label1_ = nullptr;
    QToolBar* Toolbar1_ = nullptr;
    QTreeWidget* TreeView1_ = nullptr;
    TreeSplitter* CommandMove_ = nullptr;
    QLabel* panels_[5] = {};
    QTimer* clock_ = nullptr;
    QTimer* WaitSaveDataTimer_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    StatusLine* statusMessage_ = nullptr;
    // What the radio was left as, when it must not be used (a partly written memory).
    QLabel* radioWarning_ = nullptr;
    QString radioWarningNote_;
    QList<StatusEntry> messages_;  // what the status bar said, oldest first
    QTimer* titleTimer_ = nullptr; // gathers a burst of edits into one title refresh
};
