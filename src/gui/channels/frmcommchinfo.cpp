#include "frmcommchinfo.h"
#include "channelcelldelegate.h"
#include "channeleditstate.h"
#include "channelfindbar.h"
#include "channelgridview.h"
#include "channellists.h"
#include "channeltablemodel.h"
#include "common/numberedit.h"
#include "common/subwindow.h"
#include "common/twips.h"
#include "common/windowteardown.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/model/channeledit.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/documenthistory.h"
#include "core/model/settingsforms.h"

#include "lang/captions.h"
#include "lang/enterfocus.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

using namespace channels;

namespace {
constexpr int GridColumnTwips[ChannelTableModel::Columns] = {740, 1800, 1100, 0,
                                                             0,   1200, 1100, 1400};

QComboBox* newList(QWidget* parent, const QString& name, int minTwips) {
    auto* c = new QComboBox(parent);
    c->setObjectName(name);
    c->setMinimumWidth(twipsToPixelsX(parent, minTwips));
    c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return c;
}

QLabel* newLabel(QWidget* parent, const QString& name) {
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    return l;
}

// A label 50 twips left of its control.
QHBoxLayout* pair(QWidget* owner, QLabel* label, QWidget* control, QWidget* extra = nullptr) {
    auto* h = new QHBoxLayout;
    h->setSpacing(twipsToPixelsX(owner, 50));
    if (label) h->addWidget(label);
    h->addWidget(control);
    if (extra) h->addWidget(extra);
    return h;
}
} // namespace

frmCommChInfo::frmCommChInfo(Document& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), st_(ChannelEditState::of(doc)) {
    setObjectName(QStringLiteral("frmCommChInfo"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();

    // Opening: the group lists, the grid, the texts, then the shown group.
    commandHelp_->hide();
    resize(twipsToPixelsX(this, 8200), twipsToPixelsX(this, 6900));
    fillGroupSelectors();
    InitShowGrid();
    ChangShowByLanguage();
    SetGridData();
    st_.CHInfoOpen = true;
    GridLoaded = true;
    grid_->setCurrentIndex(model_->index(0, 1));
    grid_->setFocus();

    connect(&doc_, &Document::channelChanged, this, &frmCommChInfo::reShowGrid);
    connect(&doc_, &Document::groupSettingsChanged, this, &frmCommChInfo::onGroupSettingsChanged);
    connect(&doc_, &Document::documentReplaced, this, &frmCommChInfo::onDocumentReplaced);
    connect(&st_, &ChannelEditState::dialogGroupChosen, this, &frmCommChInfo::ChangeGroup);
}

frmCommChInfo::~frmCommChInfo() {
    detachFromDocument(this, doc_);
    st_.CHInfoOpen = false;
}

void frmCommChInfo::buildControls() {
    auto* top = new QVBoxLayout(this);

    label1_ = newLabel(this, QStringLiteral("Label1"));
    combo7_ = newList(this, QStringLiteral("Combo7"), 900);
    for (int i = 0; i < 2; ++i)
        combo9_[i] = newList(this, QStringLiteral("Combo9_%1").arg(i), 800);
    FillList(combo9_[0], CountryItems());
    FillList(combo9_[1], CountryPairItems());
    // Each variant says which plan it is.
    for (int k = 0; k < combo9_[1]->count(); ++k)
        combo9_[1]->setItemData(k, CountryPlanPairNote(k), Qt::ToolTipRole);
    label3_[3] = newLabel(this, QStringLiteral("Label3_3"));
    combo8_[3] = newList(this, QStringLiteral("Combo8_3"), 1100);
    FillList(combo8_[3], GroupValidItems());
    for (int i = 0; i < 3; ++i) {
        label3_[i] = newLabel(this, QStringLiteral("Label3_%1").arg(i));
        // Three pairs share the row: a long caption wraps when the window is no wider.
        label3_[i]->setWordWrap(true);
        combo8_[i] = newList(this, QStringLiteral("Combo8_%1").arg(i), 700);
        if (i > 0) {
            combo10_[i - 1] = newList(this, QStringLiteral("Combo10_%1").arg(i - 1), 700);
            FillList(combo10_[i - 1], ModulationItems());
        }
    }

    auto* row1 = new QHBoxLayout;
    auto* groupBox = pair(this, label1_, combo7_, combo9_[0]);
    groupBox->addWidget(combo9_[1]);
    row1->addLayout(groupBox);
    row1->addStretch(1);
    row1->addLayout(pair(this, label3_[3], combo8_[3]));
    top->addLayout(row1);

    auto* row2 = new QHBoxLayout;
    row2->addLayout(pair(this, label3_[0], combo8_[0]));
    row2->addStretch(1);
    row2->addLayout(pair(this, label3_[1], combo8_[1], combo10_[0]));
    row2->addStretch(1);
    row2->addLayout(pair(this, label3_[2], combo8_[2], combo10_[1]));
    top->addLayout(row2);

    model_ = new ChannelTableModel(doc_, this);
    delegate_ = new ChannelCellDelegate(this);
    grid_ = new ChannelGridView(this);
    grid_->setModel(model_);
    grid_->setItemDelegate(delegate_);
    findBar_ = new ChannelFindBar(doc_, *this, this);
    top->addWidget(findBar_);
    top->addWidget(grid_, 1);

    auto* buttons = new QHBoxLayout;
    commandCHInfoEdit_ = new QPushButton(this);
    commandCHInfoEdit_->setObjectName(QStringLiteral("CommandCHInfoEdit"));
    commandClose_ = new QPushButton(this);
    commandClose_->setObjectName(QStringLiteral("CommandClose"));
    commandHelp_ = new QPushButton(this);
    commandHelp_->setObjectName(QStringLiteral("CommandHelp"));
    for (QPushButton* b : {commandCHInfoEdit_, commandClose_, commandHelp_})
        b->setAutoDefault(true); // Enter presses a focused button, as Space does
    buttons->addWidget(commandCHInfoEdit_);
    // A national plan group without channels (its rows take no typed frequency) offers to
    // take them from the plan.
    commandFillFromPlan_ = new QPushButton(LoadLangText(27619), this);
    commandFillFromPlan_->setObjectName(QStringLiteral("CommandFillFromPlan"));
    commandFillFromPlan_->setAutoDefault(true);
    commandFillFromPlan_->hide();
    buttons->addWidget(commandFillFromPlan_);
    connect(commandFillFromPlan_, &QPushButton::clicked, this, &frmCommChInfo::fillFromPlan);
    connect(model_, &QAbstractItemModel::modelReset, this, &frmCommChInfo::offerPlanFill);
    connect(&doc_, &Document::channelChanged, this, &frmCommChInfo::offerPlanFill);
    buttons->addStretch(1);
    buttons->addWidget(commandClose_);
    buttons->addWidget(commandHelp_);
    top->addLayout(buttons);

    connect(combo7_, &QComboBox::activated, this, &frmCommChInfo::groupChanged);
    for (int i = 0; i < 4; ++i)
        connect(combo8_[i], &QComboBox::activated, this, [this, i] { combo8Click(i); });
    for (int i = 0; i < 2; ++i) {
        connect(combo9_[i], &QComboBox::activated, this, [this, i] { combo9Click(i); });
        connect(combo10_[i], &QComboBox::activated, this, [this, i] { combo10Click(i); });
    }
    for (QComboBox* c : {combo7_, combo9_[0], combo9_[1], combo8_[0], combo8_[1], combo8_[2],
                         combo8_[3], combo10_[0], combo10_[1]})
        EnterMovesFocus::install(c);

    // A block of rows can be selected (Shift with the arrows or the mouse) for the channel
    // commands; editing works on the current cell as before.
    grid_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    connect(grid_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmCommChInfo::rowSelectionChanged);
    // Another group is shown in the radio's order; a sorted view changes what the channel
    // commands may do.
    connect(model_, &QAbstractItemModel::modelReset, grid_, &ChannelGridView::clearViewSort);
    connect(grid_, &ChannelGridView::viewSortChanged, this, &frmCommChInfo::rowSelectionChanged);
    // What a sorted view leaves to do is said once, where the commands it turns off are.
    connect(grid_, &ChannelGridView::viewSortChanged, this, [this] {
        if (grid_->viewSorted()) emit st_.statusNote(LoadLangText(27615));
    });
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmCommChInfo::rowSelectionChanged);
    connect(grid_, &QAbstractItemView::doubleClicked, this, [this] { EnterGridEdit(); });
    connect(grid_, &ChannelGridView::enterPressed, this, &frmCommChInfo::EnterGridEdit);
    connect(grid_, &ChannelGridView::keyTyped, this, &frmCommChInfo::typedInGrid);
    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmCommChInfo::cellEntered);
    // Scrolling the table ends an edit, as the editor would otherwise float over other rows.
    connect(grid_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
        if (delegate_->openEditor()) EndGridEdit();
    });

    connect(commandCHInfoEdit_, &QPushButton::clicked, this, [this] {
        SaveGridEdit();
        emit requestEditDialog();
    });
    connect(commandClose_, &QPushButton::clicked, this, &frmCommChInfo::closeWindow);
}

void frmCommChInfo::fillGroupSelectors() {
    const int mode = doc_.CountryMode;
    FillList(combo7_, GroupNames(mode));
    combo9_[1]->hide();
    combo7_->setVisible(mode != 0);
    combo9_[0]->setVisible(mode == 0);
    label1_->setBuddy(mode == 0 ? combo9_[0] : combo7_);
}

void frmCommChInfo::InitShowGrid() {
    InitGridRows();
    QHeaderView* h = grid_->horizontalHeader();
    h->setFixedHeight(twipsToPixelsX(this, 500));
    h->setSectionResizeMode(QHeaderView::Fixed);
    // A click on a header sorts the view (ChannelGridView::sortViewBy).
    h->setSectionsClickable(true);
    h->setHighlightSections(false);
    h->setDefaultAlignment(Qt::AlignCenter);
    for (int c = 0; c < ChannelTableModel::Columns; ++c) {
        grid_->setColumnWidth(c, twipsToPixelsX(this, GridColumnTwips[c]));
        grid_->setColumnHidden(c, GridColumnTwips[c] == 0);
    }
    QHeaderView* v = grid_->verticalHeader();
    v->hide();
    v->setSectionResizeMode(QHeaderView::Fixed);
    // Rows tall enough for a list editor placed over a cell.
    QComboBox probe;
    probe.addItems(DupItems());
    v->setDefaultSectionSize(qMax(probe.sizeHint().height(), fontMetrics().height() + 6));
    grid_->setFixedWidth(twipsToPixelsX(this, 7680));
}

void frmCommChInfo::InitGridRows() {
    SetEditDisable();
}

void frmCommChInfo::ShowRowHeads() {
    const QScopedValueRollback redraw(GridRedrawing, true);
    model_->setGroup(st_.CurGroup);
    grid_->setCurrentIndex(model_->index(0, 1));
}

void frmCommChInfo::ChangShowByLanguage() {
    findBar_->changeLanguage();
    const QScopedValueRollback redraw(GridRedrawing, true);
    label1_->setText(LoadLangText(14050));
    const int ids[4] = {14052, 14053, 14054, 14101};
    for (int i = 0; i < 4; ++i) {
        label3_[i]->setText(LoadLangText(ids[i]));
        label3_[i]->setBuddy(combo8_[i]);
    }
    combo8_[3]->setToolTip(label3_[3]->text());
    // The lists without a label of their own, and the table, named for a screen reader.
    combo9_[1]->setAccessibleName(LoadLangText(14611));
    for (int i = 0; i < 2; ++i)
        combo10_[i]->setAccessibleName(label3_[i + 1]->text() + QLatin1Char(' ') +
                                       LoadLangText(15013));
    grid_->setAccessibleName(LoadLangText(14610));
    showCaption(14050);
    model_->loadHeaderTexts();
    fitColumnsToHeader();
    commandCHInfoEdit_->setText(LoadLangText(14023));
    SetCloseHelpCaptions(this);
}

void frmCommChInfo::fitColumnsToHeader() {
    // A caption of a longer language widens its column, and the table with it, rather than
    // being cut off.
    QHeaderView* h = grid_->horizontalHeader();
    const int margin = 2 * h->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, h) + 4;
    int total = 0;
    for (int c = 0; c < ChannelTableModel::Columns; ++c) {
        if (GridColumnTwips[c] == 0) continue;
        const QString caption = model_->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const int w = std::max(twipsToPixelsX(this, GridColumnTwips[c]),
                               h->fontMetrics().horizontalAdvance(caption) + margin);
        grid_->setColumnWidth(c, w);
        total += w;
    }
    const int frame = 2 * grid_->frameWidth() + grid_->verticalScrollBar()->sizeHint().width();
    grid_->setFixedWidth(std::max(twipsToPixelsX(this, 7680), total + frame));
}

void frmCommChInfo::showCaption(int textId) {
    setWindowTitle(LoadLangText(textId) + QLatin1Char(' ') +
                   GroupName(doc_.RadioData.Func.GroupSel, doc_.CountryMode) +
                   QStringLiteral(" ---  ") + QString::number(doc_.CurRow) + QLatin1Char(']'));
}

void frmCommChInfo::SetGridData() {
    SelectItemAt(combo7_, doc_.RadioData.Func.GroupSel);
    groupChanged();
    if (doc_.CountryMode == 0) syncCountrySelector();
}

void frmCommChInfo::editFunc(const std::function<void(FuncRec&)>& change) {
    FuncRec f = doc_.RadioData.Func;
    change(f);
    if (f == doc_.RadioData.Func) return;
    const QScopedValueRollback own(editingFunc_, true);
    doc_.EditFunc([&f](FuncRec& r) { r = f; });
}

void frmCommChInfo::groupChanged() {
    const int g = combo7_->currentIndex();
    if (g < 0) return;
    st_.CurGroup = g;
    editFunc([g](FuncRec& f) { f.GroupSel = static_cast<i16>(g); });
    InitGridRows();
    ShowRowHeads(); // also rebuilds every row of the group
    // The current cell is now row 1.
    doc_.CurRow = 1;
    showCaption(14012);

    const SlotKind kind = groupKind(g, doc_.CountryMode);
    const bool vfo = kind == SlotKind::Vfo;
    const bool mem = kind == SlotKind::Mem;
    label3_[0]->setVisible(!vfo);
    combo8_[0]->setVisible(!vfo);
    for (int i = 1; i <= 2; ++i) {
        label3_[i]->setVisible(!vfo && !mem);
        combo8_[i]->setVisible(!vfo && !mem);
        combo10_[i - 1]->setVisible(!vfo && !mem);
    }
    // The group-valid selector carries its label wherever it is shown: "Disable"/"Enable"
    // alone does not say what is switched.
    combo8_[3]->setVisible(!vfo && !mem && doc_.CountryMode != 0);
    label3_[3]->setVisible(combo8_[3]->isVisibleTo(this));

    ReshowByCh();
    if (st_.CurCH > model_->dataRows()) st_.CurCH = 1;
    emit st_.tableGroupChanged();
    emit rowSelectionChanged();
}

void frmCommChInfo::ChangeGroup() {
    SelectItemAt(combo7_, st_.CurGroup);
    groupChanged();
    if (doc_.CountryMode == 0) syncCountrySelector();
}

void frmCommChInfo::syncCountrySelector() {
    const QScopedValueRollback sync(GroupSyncing, true);
    const int i = combo7_->currentIndex();
    if (i == 2 || i == 3) {
        SelectItemByText(combo9_[1], combo7_->currentText());
        combo9Click(1);
        SelectItemAt(combo9_[0], 2);
    } else {
        SelectItemByText(combo9_[0], combo7_->currentText());
    }
    combo9Click(0);
}

void frmCommChInfo::combo9Click(int i) {
    if (i == 0) {
        if (combo9_[0]->currentIndex() == 2) {
            combo9_[1]->show();
            if (combo9_[1]->currentIndex() < 0) {
                SelectItemAt(combo9_[1], 0);
                combo9Click(1);
                return;
            }
        } else {
            combo9_[1]->hide();
        }
    }
    if (GroupSyncing) return;
    const QString text =
        combo9_[1]->isHidden() ? combo9_[0]->currentText() : combo9_[1]->currentText();
    SelectItemByText(combo7_, text);
    groupChanged();
}

void frmCommChInfo::ReshowByCh() {
    if (reshowing_) return;
    const QScopedValueRollback guard(reshowing_, true);
    const int g = st_.CurGroup;
    const int mode = doc_.CountryMode;
    const SlotKind kind = groupKind(g, mode);
    if (kind == SlotKind::Vfo || kind == SlotKind::NoGroup) return;
    QStringList positions;
    for (int p : doc_.GroupPositions(g, mode))
        positions << QString::number(p);
    const FuncRec& f = doc_.RadioData.Func;
    if (kind == SlotKind::Mem) {
        FillList(combo8_[0], positions);
        if (!positions.isEmpty()) SelectItemByText(combo8_[0], QString::number(f.MemWorkCH + 1));
        return;
    }
    if (g >= 10) return;
    // Showing stores nothing: the selectors show what the document holds.
    SelectItemAt(combo8_[3], f.GroupValid[g]);
    const i16* stored[3] = {&f.WorkCH[g], &f.EmgCH1[g], &f.EmgCH2[g]};
    for (int i = 0; i < 3; ++i) {
        FillList(combo8_[i], positions);
        // A stored row that holds no channel shows no choice, rather than another row's.
        const int at = combo8_[i]->findText(QString::number(*stored[i] + 1), Qt::MatchExactly);
        const QSignalBlocker quiet(combo8_[i]);
        combo8_[i]->setCurrentIndex(at);
    }
    SelectItemAt(combo10_[0], f.EmgMode1[g]);
    SelectItemAt(combo10_[1], f.EmgMode2[g]);
    SetEmgModeEnable(g, 0);
    SetEmgModeEnable(g, 1);
}

void frmCommChInfo::combo8Click(int i) {
    const int g = st_.CurGroup;
    if (i == 3 && GroupSyncing) return;
    static constexpr GroupSetting settings[4] = {GroupSetting::WorkCh, GroupSetting::EmgCh1,
                                                 GroupSetting::EmgCh2, GroupSetting::Valid};
    const int value = i == 3 ? combo8_[3]->currentIndex() : ListNumber(combo8_[i], 1) - 1;
    // The rule source stores it with what follows; the selectors then show what it stored.
    setGroupSetting(doc_, g, settings[i], value);
}

void frmCommChInfo::combo10Click(int i) {
    const GroupSetting s = i == 0 ? GroupSetting::EmgMode1 : GroupSetting::EmgMode2;
    setGroupSetting(doc_, st_.CurGroup, s, qMax(0, combo10_[i]->currentIndex()));
}

void frmCommChInfo::SetEmgModeEnable(int group, int which) {
    // An emergency channel on an FM-only row is sent in FM: its modulation is not chosen.
    const GroupSetting s = which == 0 ? GroupSetting::EmgMode1 : GroupSetting::EmgMode2;
    const FieldAccess a = groupSettingAccess(doc_, group, s);
    combo10_[which]->setEnabled(a.editable());
    combo10_[which]->setToolTip(a.editable() ? QString() : a.why.text());
}

void frmCommChInfo::onGroupSettingsChanged() {
    if (!editingFunc_ && GridLoaded) ReshowByCh();
}

void frmCommChInfo::onDocumentReplaced() {
    SetEditDisable();
    GridLoaded = false;
    fillGroupSelectors();
    ChangShowByLanguage();
    SetGridData();
    GridLoaded = true;
    // After an undo or redo the rows the step changed are selected and in view.
    if (const DocumentImage* before = doc_.history().shownBefore()) {
        const int mode = doc_.CountryMode, g = shownGroup();
        const int base = FirstCHOfGroup(g, mode);
        auto recordIn = [](const RadioDataRec& data, const ChannelList& list,
                           int chNo) -> const CHInfoRec* {
            for (int i = 0; i < std::clamp<int>(data.CHCount, 0, MaxChannels); ++i)
                if (list[i].CHNo == chNo) return &list[i];
            return nullptr;
        };
        int first = 0, last = 0;
        for (int r = 1; r <= GroupSize(g, mode); ++r) {
            const CHInfoRec* was = recordIn(before->data, before->channels, base + r);
            const CHInfoRec* now = doc_.Channel(base + r);
            if ((was == nullptr) == (now == nullptr) && (!was || *was == *now)) continue;
            if (!first) first = r;
            last = r;
        }
        if (first) selectRows(first, last);
    }
}

void frmCommChInfo::reShowGrid(int chNo) {
    model_->reShowGrid(chNo);
}

void frmCommChInfo::SetEditDisable() {
    delegate_->closeOpenEditor();
}

bool frmCommChInfo::cellRefused(int row, int col) const {
    if (row < 1 || col < 1 || row > model_->dataRows()) return true;
    if (col == ChannelTableModel::EditCol) return false;
    // The columns are the field ids 1 to 6.
    const ChannelSlotRef slot = slotAt(doc_, st_.CurGroup, row);
    const FieldAccess access = fieldAccess(doc_, slot, col);
    if (access.editable()) return false;
    // An empty row whose frequency is typed still opens its lists: a choice there stores
    // nothing, as only a frequency creates a channel. Where the frequency is not typed (the
    // CB mode), an empty row offers only its ">>" cell.
    return !(access.state == FieldState::Disabled && !doc_.Channel(slot.chNo) &&
             fieldAccess(doc_, slot, FldRxFre).editable());
}

void frmCommChInfo::EnterGridEdit() {
    const QModelIndex cur = grid_->currentIndex();
    if (!cur.isValid() || grid_->isEditing()) return;
    const int row = cur.row() + 1, col = cur.column();
    if (cellRefused(row, col)) return;
    st_.CurCol = col;
    st_.CurCH = row;
    if (col == ChannelTableModel::EditCol) {
        emit st_.channelRequested();
        emit requestEditDialog();
        return;
    }
    grid_->openEditor(cur);
}

void frmCommChInfo::typedInGrid(QKeyEvent* e) {
    // Typing a digit (or ".") on a frequency or shift cell starts editing it with that key,
    // as in a spreadsheet; the cell's refusal rules apply as for Enter.
    const QModelIndex cur = grid_->currentIndex();
    if (!cur.isValid()) return;
    const int row = cur.row() + 1, col = cur.column();
    if (col != 1 && col != 4) return;
    const QChar ch = e->text().at(0);
    if (!ch.isDigit() && !(col == 1 && ch == QLatin1Char('.'))) return;
    if (cellRefused(row, col)) {
        // A number typed where it cannot go is not swallowed silently: the status bar says why
        // (a plan row keeps its plan frequency).
        const FieldAccess access = fieldAccess(doc_, slotAt(doc_, st_.CurGroup, row), col);
        if (access.why.id) {
            QString why = access.why.text();
            if (!why.isEmpty()) why[0] = why[0].toUpper();
            emit st_.statusNote(why);
        }
        e->accept();
        return;
    }
    st_.CurCol = col;
    st_.CurCH = row;
    e->accept();
    grid_->openEditor(cur, e);
}

void frmCommChInfo::SaveGridEdit() {
    delegate_->commitOpenEditor();
}

void frmCommChInfo::EndGridEdit() {
    delegate_->commitAndCloseOpenEditor();
}

bool frmCommChInfo::selectedRows(int* first, int* last) const {
    int lo = 0, hi = 0;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes()) {
        const int r = i.row() + 1;
        if (lo == 0 || r < lo) lo = r;
        if (r > hi) hi = r;
    }
    if (lo == 0) {
        const QModelIndex cur = grid_->currentIndex();
        if (!cur.isValid()) return false;
        lo = hi = cur.row() + 1;
    }
    *first = lo;
    *last = hi;
    return true;
}

void frmCommChInfo::offerPlanFill() {
    const int group = shownGroup();
    const int mode = doc_.CountryMode;
    bool empty = groupKind(group, mode) == SlotKind::PlanRow;
    for (int row = 1; empty && row <= GroupSize(group, mode); ++row)
        empty = !doc_.Channel(FirstCHOfGroup(group, mode) + row);
    commandFillFromPlan_->setVisible(empty);
}

void frmCommChInfo::fillFromPlan() {
    const int group = shownGroup();
    const int mode = doc_.CountryMode;
    if (groupKind(group, mode) != SlotKind::PlanRow) return;
    // Each row takes its plan frequency through the rule of typing it: one undo step.
    doc_.history().flush();
    for (int row = 1; row <= GroupSize(group, mode); ++row) {
        const ChannelSlotRef slot = slotAt(doc_, group, row);
        const QString plan = planFrequency(doc_, slot);
        if (plan.isEmpty() || doc_.Channel(slot.chNo)) continue;
        EditChannelField(doc_, slot.chNo, FldRxFre, doc_.FreToListText(plan, group),
                         ValueSource::Typed);
    }
    doc_.history().commit({{27620, {GroupName(group, mode)}}, {}});
    offerPlanFill();
}

QList<int> frmCommChInfo::selectedRowsAsShown() const {
    QList<int> rows;
    for (const QModelIndex& i : grid_->selectionModel()->selectedIndexes())
        if (!rows.contains(i.row() + 1)) rows << i.row() + 1;
    if (rows.isEmpty() && grid_->currentIndex().isValid()) rows << grid_->currentIndex().row() + 1;
    const QHeaderView* v = grid_->verticalHeader();
    std::sort(rows.begin(), rows.end(),
              [v](int a, int b) { return v->visualIndex(a - 1) < v->visualIndex(b - 1); });
    return rows;
}

void frmCommChInfo::selectRows(int first, int last) {
    const int rows = model_->rowCount();
    first = std::clamp(first, 1, std::max(rows, 1));
    last = std::clamp(last, first, std::max(rows, 1));
    if (rows == 0) return;
    QItemSelectionModel* sel = grid_->selectionModel();
    sel->setCurrentIndex(model_->index(first - 1, ChannelTableModel::FreCol),
                         QItemSelectionModel::NoUpdate);
    sel->select(QItemSelection(model_->index(first - 1, ChannelTableModel::FreCol),
                               model_->index(last - 1, ChannelTableModel::EditCol - 1)),
                QItemSelectionModel::ClearAndSelect);
    grid_->scrollTo(model_->index(first - 1, ChannelTableModel::FreCol));
}

int frmCommChInfo::shownGroup() const {
    return model_->group();
}

void frmCommChInfo::showGroup(int g) {
    if (g == shownGroup()) return;
    EndGridEdit();
    st_.CurGroup = g;
    ChangeGroup();
}

void frmCommChInfo::commitEdits() {
    EndGridEdit();
}

void frmCommChInfo::cellEntered(const QModelIndex& current) {
    if (GridRedrawing || !GridLoaded || !current.isValid()) return;
    doc_.CurRow = current.row() + 1;
    showCaption(14012);
}

void frmCommChInfo::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    auto* host = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (hostWatched_ || !host || !host->mdiArea()) return;
    hostWatched_ = true;
    host->mdiArea()->viewport()->installEventFilter(this);
    const QSize kept = LoadChildWindowTwips(objectName());
    // After the main window has placed the new window (it cascades its children).
    QTimer::singleShot(0, this, [this, kept] {
        auto* host = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (!host) return;
        // A size kept from a language with shorter words still shows the texts of this one.
        if (kept.isValid())
            host->resize(
                QSize(twipsToPixelsX(this, kept.width()), twipsToPixelsY(this, kept.height()))
                    .expandedTo(host->minimumSizeHint()));
        fillHostHeight();
    });
}

bool frmCommChInfo::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Resize) {
        auto* host = qobject_cast<QMdiSubWindow*>(parentWidget());
        if (host && host->mdiArea() && watched == host->mdiArea()->viewport()) fillHostHeight();
    }
    return QWidget::eventFilter(watched, e);
}

void frmCommChInfo::fillHostHeight() {
    auto* host = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!host || !host->mdiArea() || host->isMaximized() || host->isMinimized()) return;
    const QRect area = host->mdiArea()->viewport()->rect();
    // From where the window stands down to the area's bottom: as many rows as fit.
    const int height = area.bottom() - host->y() + 1;
    if (height > host->minimumSizeHint().height() && height != host->height())
        host->resize(host->width(), height);
}

void frmCommChInfo::closeEvent(QCloseEvent* e) {
    if (auto* host = qobject_cast<QMdiSubWindow*>(parentWidget()))
        SaveChildWindowTwips(objectName(), QSize(pixelsToTwipsX(this, host->width()),
                                                 pixelsToTwipsY(this, host->height())));
    commitEdits();
    st_.CHInfoOpen = false;
    e->accept();
}

void frmCommChInfo::closeWindow() {
    closeHostWindow(this);
}
