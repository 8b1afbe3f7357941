// The menus, toolbar, tree panel and status bar of frmMain, and their texts.

#include "commandicons.h"
#include "frmmain.h"
#include "startpanel.h"
#include "statusline.h"
#include "treesplitter.h"

#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "lang/captions.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <optional>
#include <vector>

namespace {

// A menu item: its object name, caption text (0: none or fixed), the menu it sits in, its
// shortcut and whether it stays hidden for the whole run. A null name is a separator.
struct MenuItem {
    const char* name;
    int text;
    const char* fixed;
    const char* shortcut;
    bool hidden;
};

struct MenuDef {
    const char* name;
    int text;
    bool hidden;
    std::vector<MenuItem> items;
};

const MenuItem Sep{nullptr, 0, nullptr, nullptr, false};

const std::vector<MenuDef>& menuTable() {
    static const std::vector<MenuDef> t = {
        {"mnuFile",
         10000,
         false,
         {{"mnuFileNew", 10001, nullptr, "Ctrl+N", false},
          {"mnuFileOpen", 10002, nullptr, "Ctrl+O", false},
          {"mnuFileEOpen", 0, nullptr, nullptr, true},
          {"mnuFileSave", 10003, nullptr, "Ctrl+S", false},
          {"mnuFileSaveAs", 10004, nullptr, "Ctrl+Shift+S", false},
          {"mnuFileBackups", 10910, nullptr, nullptr, false},
          {"mnuFileBackupsFolder", 27101, nullptr, nullptr, false},
          Sep,
          {"mnuFileExportChannels", 10900, nullptr, nullptr, false},
          {"mnuFileImportChannels", 10901, nullptr, nullptr, false},
          Sep,
          // Ctrl+P belongs to the radio password.
          {"mnuFilePrint", 10005, nullptr, "Ctrl+Shift+P", false},
          {"mnuFileExportPdf", 10950, nullptr, nullptr, false},
          Sep,
          {"mnuFileExit", 10006, nullptr, "Ctrl+Q", false}}},
        {"mnuModel", 10100, false, {{"mnuModelInfo", 10101, nullptr, nullptr, false}}},
        {"mnuEdit",
         10200,
         false,
         {{"mnuEditUndo", 10930, nullptr, nullptr, false},
          {"mnuEditRedo", 10931, nullptr, nullptr, false},
          Sep,
          {"mnuChannelInfo", 10201, nullptr, nullptr, false},
          {"mnuOptFeature", 10202, nullptr, nullptr, false},
          {"mnuToneTips", 10221, nullptr, nullptr, false},
          {"MnuDTMF", 10204, nullptr, nullptr, false},
          {"MnuKey", 10208, nullptr, nullptr, false},
          {"MnuLocalInfo", 10207, nullptr, nullptr, false},
          {"mnuGroupName", 10220, nullptr, nullptr, true},
          {"mnuResetInit", 10222, nullptr, nullptr, true},
          {"MnuRadioFre", 10203, nullptr, nullptr, true},
          {"MnuScan", 10209, nullptr, nullptr, true},
          {"MnuAlert", 10210, nullptr, nullptr, true},
          {"MnuTestFre", 10205, nullptr, nullptr, true},
          {"mnuEmbeddedMsg", 10206, nullptr, nullptr, true},
          // Finding in the channel table.
          Sep,
          {"mnuEditFind", 14989, nullptr, "Ctrl+F", false}}},
        {"MnuCHEdit",
         10800,
         false,
         {{"MnuCHCut", 10801, nullptr, "Ctrl+X", false},
          {"MnuCHCopy", 10802, nullptr, "Ctrl+C", false},
          {"MnuCHPaste", 10803, nullptr, "Ctrl+V", false},
          Sep,
          {"MnuCHInsert", 10804, nullptr, "Ins", false},
          {"MnuCHDelete", 10805, nullptr, "Del", false},
          Sep,
          {"MnuCHMoveUp", 10806, nullptr, "Alt+Up", false},
          {"MnuCHMoveDown", 10807, nullptr, "Alt+Down", false},
          {"MnuCHHabits", 10808, nullptr, nullptr, true},
          // Commands on the whole group or a series of rows.
          Sep,
          {"MnuCHEditSelected", 14997, nullptr, nullptr, false},
          {"MnuCHSortGroup", 14998, nullptr, nullptr, false},
          {"MnuCHFillFre", 14999, nullptr, nullptr, false}}},
        {"mnuProgram",
         10300,
         false,
         {{"mnuReadFromRadio", 10301, nullptr, "Ctrl+R", false},
          {"mnuWriteToRadio", 10302, nullptr, "Ctrl+W", false},
          {"MnuProPassWord", 10303, nullptr, "Ctrl+P", false}}},
        {"mnuSet",
         10400,
         false,
         {{"mnuComm", 10401, nullptr, nullptr, false},
          {"mnuLanguage", 10402, nullptr, nullptr, false},
          {"MnuInit", 10403, nullptr, nullptr, false},
          {"mnuVerifyWrite", 10913, nullptr, nullptr, false},
          {"mnuLogTraffic", 10912, nullptr, nullptr, false},
          {"mnuLogFolder", 27102, nullptr, nullptr, false}}},
        {"mnuView",
         10500,
         false,
         {{"mnuTreeView", 10501, nullptr, nullptr, false},
          {"mnuViewToolbar", 10502, nullptr, nullptr, false},
          {"mnuViewStatusBar", 10503, nullptr, nullptr, false}}},
        {"mnuWindow",
         10600,
         false,
         {{"mnuWindowCascade", 10601, nullptr, nullptr, false},
          {"mnuWindowTileHorizontal", 0, "Tile Windows &Horizontally", nullptr, true},
          {"mnuWindowTileVertical", 0, "Tile Windows &Vertically", nullptr, true},
          {"mnuWindowArrangeIcons", 0, "&Arrange Icons", nullptr, true},
          {"mnuCloseAll", 10602, nullptr, nullptr, false},
          {"mnuWindowMessages", 27100, nullptr, nullptr, false}}},
        {"mnuHelp",
         10700,
         false,
         {{"mnuHelpTopic", 10701, nullptr, "F1", false},
          {"mnuHelpAbout", 10702, nullptr, nullptr, false}}},
    };
    return t;
}

// A toolbar button: its key (object name), tooltip text, standard icon; positions 11 to 19
// belong to the channel-edit set that ShowCHInfo enables and disables. A null key is a
// separator. `command` names the menu item whose shortcut the tooltip shows; the channel
// commands draw their own `picture` (commandicons.h) instead of a standard icon.
struct ToolDef {
    const char* key;
    int tip;
    QStyle::StandardPixmap icon;
    bool channelEdit;
    const char* command = nullptr;
    std::optional<CommandPicture> picture = std::nullopt;
};

const std::vector<ToolDef>& toolTable() {
    using S = QStyle;
    static const std::vector<ToolDef> t = {
        {"NewFile", 11000, S::SP_FileIcon, false},
        {"OpenFile", 11001, S::SP_DialogOpenButton, false, "mnuFileOpen"},
        {"SaveFile", 11002, S::SP_DialogSaveButton, false, "mnuFileSave"},
        {nullptr, 0, S::SP_CustomBase, false},
        {"Print", 11003, S::SP_FileDialogDetailedView, false, "mnuFilePrint"},
        {nullptr, 0, S::SP_CustomBase, false},
        {"ReadRadio", 11004, S::SP_ArrowDown, false, "mnuReadFromRadio"},
        {"CommSet", 11005, S::SP_ComputerIcon, false},
        {"WriteRadio", 11006, S::SP_ArrowUp, false, "mnuWriteToRadio"},
        {nullptr, 0, S::SP_CustomBase, false},
        {"BtnCHCut", 11010, S::SP_CustomBase, true, "MnuCHCut", CommandPicture::Cut},
        {"BtnCHCopy", 11011, S::SP_CustomBase, true, "MnuCHCopy", CommandPicture::Copy},
        {"BtnCHPaste", 11012, S::SP_CustomBase, true, "MnuCHPaste", CommandPicture::Paste},
        {nullptr, 0, S::SP_CustomBase, true},
        {"BtnCHInsert", 11013, S::SP_CustomBase, true, "MnuCHInsert", CommandPicture::Insert},
        {"BtnCHDelete", 11014, S::SP_CustomBase, true, "MnuCHDelete", CommandPicture::Delete},
        {"BtnCHMoveUp", 11015, S::SP_CustomBase, true, "MnuCHMoveUp", CommandPicture::MoveUp},
        {"BtnCHMoveDown", 11016, S::SP_CustomBase, true, "MnuCHMoveDown", CommandPicture::MoveDown},
        {nullptr, 0, S::SP_CustomBase, true},
        {"About", 11007, S::SP_MessageBoxInformation, false},
    };
    return t;
}

struct TreeNode {
    const char* key;
    int text;
};

// The children of the root "N0", in their order.
const TreeNode treeNodes[] = {{"N1", 12001},  {"N2", 12002}, {"N4", 12004},
                              {"N12", 12014}, {"N8", 12010}, {"N7", 12007}};

} // namespace

void frmMain::buildMenus() {
    for (const MenuDef& m : menuTable()) {
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(QLatin1String(m.name));
        menu->menuAction()->setObjectName(QLatin1String(m.name) + QStringLiteral("Action"));
        menu->menuAction()->setVisible(!m.hidden);
        menus_.insert(QLatin1String(m.name), menu);
        for (const MenuItem& it : m.items) {
            if (!it.name) {
                menu->addSeparator();
                continue;
            }
            QAction* a = menu->addAction(it.fixed ? QString::fromLatin1(it.fixed) : QString());
            a->setObjectName(QLatin1String(it.name));
            if (it.shortcut) a->setShortcut(QKeySequence(QLatin1String(it.shortcut)));
            a->setVisible(!it.hidden);
            actions_.insert(QLatin1String(it.name), a);
        }
    }
    for (const char* name : {"mnuTreeView", "mnuViewToolbar", "mnuViewStatusBar"}) {
        action(name)->setCheckable(true);
        action(name)->setChecked(true);
    }
    QMenu* windows = menu("mnuWindow");
    windows->addSeparator()->setObjectName(QStringLiteral("mnuWindowListSeparator"));
    connect(windows, &QMenu::aboutToShow, this, &frmMain::fillWindowMenu);
}

void frmMain::buildToolBar() {
    tbToolBar_ = addToolBar(QString());
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    for (const ToolDef& t : toolTable()) {
        const QIcon icon = t.picture ? commandIcon(*t.picture) : style()->standardIcon(t.icon);
        QAction* a = t.key ? tbToolBar_->addAction(icon, QString()) : tbToolBar_->addSeparator();
        if (t.key) {
            a->setObjectName(QLatin1String(t.key));
            actions_.insert(QLatin1String(t.key), a);
        }
        if (t.channelEdit) a->setProperty("channelEdit", true);
    }
}

void frmMain::buildTreePanel() {
    auto* central = new QWidget(this);
    // The tree and the windows side by side; below them, a lasting warning when there is one.
    auto* column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto* row = new QHBoxLayout;
    column->addLayout(row, 1);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    Picture1_ = new QFrame(central);
    Picture1_->setObjectName(QStringLiteral("Picture1"));
    Picture1_->setFixedWidth(twipsToPixelsX(3000));
    auto* frame = new QVBoxLayout(Picture1_);
    frame->setContentsMargins(2, 2, 0, 2);
    frame->setSpacing(2);

    auto* header = new QFrame(Picture1_);
    header->setObjectName(QStringLiteral("Frame1"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(4, 0, 0, 0);
    Label1_ = new QLabel(header);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Toolbar1_ = new QToolBar(header);
    Toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1_->setIconSize(QSize(12, 12));
    QAction* closeTree =
        Toolbar1_->addAction(style()->standardIcon(QStyle::SP_TitleBarCloseButton), QString());
    closeTree->setObjectName(QStringLiteral("TB_CLOSE"));
    connect(closeTree, &QAction::triggered, this, [this] { setTreeVisible(false); });
    headerRow->addWidget(Label1_, 1);
    headerRow->addWidget(Toolbar1_);
    frame->addWidget(header);

    TreeView1_ = new QTreeWidget(Picture1_);
    TreeView1_->setObjectName(QStringLiteral("TreeView1"));
    TreeView1_->setHeaderHidden(true);
    TreeView1_->setRootIsDecorated(true);
    connect(TreeView1_, &QTreeWidget::itemClicked, this, &frmMain::treeNodeClicked);
    connect(TreeView1_, &QTreeWidget::itemActivated, this, &frmMain::treeNodeClicked);
    frame->addWidget(TreeView1_, 1);

    CommandMove_ = new TreeSplitter(central);
    connect(CommandMove_, &TreeSplitter::dragged, this, &frmMain::moveTree);

    centralStack_ = new QStackedWidget(central);
    centralStack_->setObjectName(QStringLiteral("CentralStack"));
    mdi_ = new QMdiArea(centralStack_);
    mdi_->setObjectName(QStringLiteral("MDIClient"));
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->viewport()->installEventFilter(this);
    startPanel_ = new StartPanel(centralStack_);
    centralStack_->addWidget(mdi_);
    centralStack_->addWidget(startPanel_);
    centralStack_->setCurrentWidget(mdi_);

    row->addWidget(Picture1_);
    row->addWidget(CommandMove_);
    row->addWidget(centralStack_, 1);
    setCentralWidget(central);
}

void frmMain::buildStatusBar() {
    QStatusBar* sb = statusBar();
    sb->setObjectName(QStringLiteral("sbStatusBar"));
    for (int i = 0; i < 5; ++i) {
        panels_[i] = new QLabel(sb);
        panels_[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        panels_[i]->setFrameShape(QFrame::StyledPanel);
        panels_[i]->setContentsMargins(4, 0, 4, 0);
        // The model and the port panels take the room; the fixed, date and time panels
        // keep their natural width.
        sb->addPermanentWidget(panels_[i], i == 1 || i == 2 ? 1 : 0);
    }
    panels_[0]->setText(QStringLiteral("mzprog ") + Document::DataVersionText());
}

void frmMain::SetLanguageTexts() {
    // The file dialog's filter is built from text 9001 each time a dialog opens.
    ShowPortText();
    panels_[1]->setText(statusModelText());
    if (statusMessage_) statusMessage_->setAccessibleName(LoadLangText(9743));
    ShowMainTxt();
    for (const MenuDef& m : menuTable()) {
        menu(m.name)->setTitle(LoadLangText(m.text));
        for (const MenuItem& it : m.items)
            if (it.name && it.text) action(it.name)->setText(LoadLangText(it.text));
    }
    for (const ToolDef& t : toolTable()) {
        if (!t.key) continue;
        // The tooltip names the command and its shortcut; a reader of the screen hears the name.
        const QString name = LoadLangText(t.tip);
        QString tip = name;
        if (t.command && !action(t.command)->shortcut().isEmpty())
            tip += QStringLiteral(" (%1)").arg(
                action(t.command)->shortcut().toString(QKeySequence::NativeText));
        action(t.key)->setToolTip(tip);
        if (QWidget* button = tbToolBar_->widgetForAction(action(t.key)))
            button->setAccessibleName(name);
    }
    tbToolBar_->setWindowTitle(withoutAccessKey(LoadLangText(10502)));
    tbToolBar_->setAccessibleName(tbToolBar_->windowTitle());
    // The tree panel: its list of windows, the button that hides it and the edge that widens
    // it, named for a screen reader.
    TreeView1_->setAccessibleName(LoadLangText(9740));
    if (auto* hide = Toolbar1_->findChild<QAction*>(QStringLiteral("TB_CLOSE")))
        hide->setText(LoadLangText(9741));
    CommandMove_->setAccessibleName(LoadLangText(9742));
    if (recentMenu_) recentMenu_->setTitle(LoadLangText(10911));
    startPanel_->retranslate();
    // The undo items carry the name of their step.
    if (rowCommands_) updateUndoActions();
}

void frmMain::LoadTree() {
    TreeView1_->clear();
    auto* root = new QTreeWidgetItem(TreeView1_, QStringList(Label1_->text()));
    root->setData(0, Qt::UserRole, QStringLiteral("N0"));
    root->setIcon(0, style()->standardIcon(QStyle::SP_ComputerIcon));
    for (const TreeNode& n : treeNodes) {
        auto* item = new QTreeWidgetItem(root, QStringList(LoadLangText(n.text)));
        item->setData(0, Qt::UserRole, QLatin1String(n.key));
        item->setIcon(0, style()->standardIcon(QStyle::SP_FileIcon));
    }
    root->setExpanded(true);
}

void frmMain::ShowCHInfo(bool show) {
    // The Channel menu and its buttons stay in their places, so that nothing else moves when
    // another window becomes active; they work only on the active channel table.
    menu("MnuCHEdit")->menuAction()->setEnabled(show);
    for (QAction* a : tbToolBar_->actions())
        if (a->property("channelEdit").toBool() && !show) a->setEnabled(false);
}
