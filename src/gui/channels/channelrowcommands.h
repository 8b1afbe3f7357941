#pragma once

// The channel commands of the main window's Channel menu, its toolbar buttons and the channel
// table's context menu: cut, copy, paste, insert, delete, move up and move down on the rows
// selected in the active channel table. Each command is one undo step; what a paste adjusted
// or skipped, and why a command was refused, is told through the Prompter.
//
// The clipboard holds copied rows twice: as the exact records (a private type, for pasting in
// this program) and as tab-separated text (for spreadsheets); text from a spreadsheet pastes
// through the rules of typing.

#include <QObject>
#include <functional>

class Document;
class Prompter;
class QAction;
class frmCommChInfo;
struct ChannelClip;
struct FieldValue;
struct RowCommandReport;
struct StepCaption;

class ChannelRowCommands : public QObject {
    Q_OBJECT
public:
    enum class Command {
        Cut,
        Copy,
        Paste,
        Insert,
        Delete,
        MoveUp,
        MoveDown,
        SortGroup,
        FillFrequencies,
        EditSelected
    };
    // The channel table the commands act on: the active child window when it is the table.
    using TableFinder = std::function<frmCommChInfo*()>;

    ChannelRowCommands(Document& doc, Prompter& prompter, TableFinder table, QObject* parent);

    // Whether the command can act on the active table's selection now.
    bool canRun(Command c) const;
    // Why a command is off where a person would not guess it (a sorted view); empty otherwise.
    QString whyNot(Command c) const;
    void run(Command c);
    // Sort Group and Fill Frequencies with what their questions asked (run asks them first).
    void sortGroup(bool descending);
    void fillFrequencies(double startMhz, double stepKhz);
    // Edit Selected Channels with the values its dialog collected.
    void editSelected(const QList<FieldValue>& values);
    // Offers the actions in the table's context menu and follows its selection.
    void attach(frmCommChInfo* table, const QList<QAction*>& actions);

signals:
    // What canRun answers may have changed.
    void stateChanged();

private:
    void putOnClipboard(const ChannelClip& clip) const;
    ChannelClip copyAsShown(const frmCommChInfo& table) const;
    // Whether the clipboard holds channels, looked at once each time it changes: the state of
    // the commands is asked for after every edit, and a foreign clipboard is a round trip.
    void checkClipboard();
    RowCommandReport paste(int group, int at, int* rows);
    void tell(const RowCommandReport& r, const StepCaption& caption) const;
    // Runs a command that changes the shown group as one undo step and tells what it did.
    void runStep(const StepCaption& caption, int selFirst, int selLast,
                 const std::function<RowCommandReport(int group)>& command);

    Document& doc_;
    Prompter& prompter_;
    TableFinder table_;
    bool clipboardHasChannels_ = false;
};
