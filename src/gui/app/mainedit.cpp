// Edit > Undo and Redo, and the channel commands (Channel menu, its toolbar buttons and the
// channel table's context menu) of frmMain.

#include "channels/channelfindbar.h"
#include "channels/channelrowcommands.h"
#include "channels/frmcommchinfo.h"
#include "frmmain.h"

#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/documenthistory.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace {

using Command = ChannelRowCommands::Command;

// The menu item and the toolbar button of each channel command.
struct ChannelCommandDef {
    const char* menuItem;
    const char* button;
    Command command;
};

const ChannelCommandDef channelCommands[] = {
    {"MnuCHCut", "BtnCHCut", Command::Cut},
    {"MnuCHCopy", "BtnCHCopy", Command::Copy},
    {"MnuCHPaste", "BtnCHPaste", Command::Paste},
    {"MnuCHInsert", "BtnCHInsert", Command::Insert},
    {"MnuCHDelete", "BtnCHDelete", Command::Delete},
    {"MnuCHMoveUp", "BtnCHMoveUp", Command::MoveUp},
    {"MnuCHMoveDown", "BtnCHMoveDown", Command::MoveDown},
};

// The group commands of the Channel menu, without toolbar buttons.
const ChannelCommandDef groupCommands[] = {
    {"MnuCHEditSelected", nullptr, Command::EditSelected},
    {"MnuCHSortGroup", nullptr, Command::SortGroup},
    {"MnuCHFillFre", nullptr, Command::FillFrequencies},
};

// "&Undo paste of 3 channels", or "&Undo" when there is nothing to undo.
QString stepActionText(int plain, int withStep, const QString& step) {
    if (step.isEmpty()) return LoadLangText(plain);
    return LoadLangText(withStep).replace(QLatin1String("%1"), step);
}

} // namespace

void frmMain::buildEditCommands() {
    DocumentHistory& history = doc_.history();
    history.setRecording(true);

    QAction* undo = action("mnuEditUndo");
    QAction* redo = action("mnuEditRedo");
    undo->setShortcuts(QKeySequence::Undo);
    redo->setShortcuts(QKeySequence::Redo);
    connect(undo, &QAction::triggered, this, [this] {
        commitEditors({});
        doc_.history().undo();
    });
    connect(redo, &QAction::triggered, this, [this] {
        commitEditors({});
        doc_.history().redo();
    });
    connect(&history, &DocumentHistory::changed, this, &frmMain::updateUndoActions);
    // The edits typed just before the menu opens are a step already when it shows.
    connect(menu("mnuEdit"), &QMenu::aboutToShow, &history, &DocumentHistory::flush);

    rowCommands_ = new ChannelRowCommands(
        doc_, prompter_, [this] { return activeChannelTable(); }, this);
    for (const ChannelCommandDef& d : channelCommands) {
        const Command c = d.command;
        for (const char* name : {d.menuItem, d.button})
            connect(action(name), &QAction::triggered, this, [this, c] { rowCommands_->run(c); });
    }
    for (const ChannelCommandDef& d : groupCommands) {
        const Command c = d.command;
        connect(action(d.menuItem), &QAction::triggered, this, [this, c] { rowCommands_->run(c); });
    }
    connect(action("mnuEditFind"), &QAction::triggered, this, [this] {
        if (frmCommChInfo* t = activeChannelTable()) t->findBar()->open();
    });
    connect(rowCommands_, &ChannelRowCommands::stateChanged, this, &frmMain::updateChannelActions);
    connect(mdi_, &QMdiArea::subWindowActivated, this, &frmMain::updateChannelActions);
    updateUndoActions();
    updateChannelActions();
}

void frmMain::updateUndoActions() {
    DocumentHistory& history = doc_.history();
    const QString undoStep = history.undoText();
    const QString redoStep = history.redoText();
    action("mnuEditUndo")->setText(stepActionText(10930, 10932, undoStep));
    action("mnuEditRedo")->setText(stepActionText(10931, 10933, redoStep));
    action("mnuEditUndo")->setEnabled(!undoStep.isEmpty());
    action("mnuEditRedo")->setEnabled(!redoStep.isEmpty());
}

frmCommChInfo* frmMain::activeChannelTable() const {
    // The current child window, even while a message box has the focus.
    QMdiSubWindow* sw = mdi_->currentSubWindow();
    return sw ? qobject_cast<frmCommChInfo*>(sw->widget()) : nullptr;
}

void frmMain::updateChannelActions() {
    ShowCHInfo(activeChannelTable() != nullptr);
    // A command that is off for a reason one would not guess says it on hover.
    const auto tell = [](QAction* a, const QString& why) {
        a->setStatusTip(why);
        const bool shown = a->property("whyShown").toBool();
        if (!why.isEmpty()) {
            if (!shown) a->setProperty("plainToolTip", a->toolTip());
            a->setProperty("whyShown", true);
            a->setToolTip(why);
        } else if (shown) {
            a->setProperty("whyShown", false);
            a->setToolTip(a->property("plainToolTip").toString());
        }
    };
    for (const ChannelCommandDef& d : channelCommands) {
        const bool can = rowCommands_->canRun(d.command);
        const QString why = can ? QString() : rowCommands_->whyNot(d.command);
        action(d.menuItem)->setEnabled(can);
        action(d.button)->setEnabled(can);
        tell(action(d.menuItem), why);
        tell(action(d.button), why);
    }
    for (const ChannelCommandDef& d : groupCommands) {
        const bool can = rowCommands_->canRun(d.command);
        action(d.menuItem)->setEnabled(can);
        tell(action(d.menuItem), can ? QString() : rowCommands_->whyNot(d.command));
    }
    action("mnuEditFind")->setEnabled(activeChannelTable() != nullptr);
}

void frmMain::attachChannelTable(frmCommChInfo* table) {
    QList<QAction*> menuActions;
    for (const ChannelCommandDef& d : channelCommands) {
        menuActions << action(d.menuItem);
        // Separators as in the menu: after Paste and after Delete.
        if (d.command == Command::Paste || d.command == Command::Delete) {
            auto* sep = new QAction(table);
            sep->setSeparator(true);
            menuActions << sep;
        }
    }
    // Edit Selected Channels in the context menu too, after the row commands.
    auto* sep = new QAction(table);
    sep->setSeparator(true);
    menuActions << sep << action("MnuCHEditSelected");
    rowCommands_->attach(table, menuActions);
}
