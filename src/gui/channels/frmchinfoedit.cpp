#include "frmchinfoedit.h"
#include "channeleditstate.h"
#include "channellists.h"
#include "common/numberedit.h"
#include "common/subwindow.h"
#include "common/twips.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/model/channelrules.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "core/model/settingsforms.h"
#include "frm_mem_freq.h"
#include "lang/captions.h"
#include "lang/enterfocus.h"
#include "typedvalue.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>

using namespace channels;

FrmCHInfoEdit::FrmCHInfoEdit(Document& doc, QWidget* parent)
    : QWidget(parent), doc_(doc), st_(ChannelEditState::of(doc)) {
    setObjectName(QStringLiteral("FrmCHInfoEdit"));
    setAttribute(Qt::WA_DeleteOnClose);
    buildControls();
    commandHelp_->hide();
    layoutForMode();
    fillLists();
    setCaptions();
    st_.CHEditOpen = true;
    SetGridEditData(true);

    connect(&doc_, &Document::channelChanged, this, [this] { SetGridEditData(true); });
    connect(&doc_, &Document::dtmfCodesChanged, this, [this] {
        fillDtmfLists();
        SetGridEditData(true);
    });
    connect(&doc_, &Document::toneTipsChanged, this, &FrmCHInfoEdit::ShowRB);
    connect(&doc_, &Document::rogerBeepsRechecked, this, &FrmCHInfoEdit::ShowRB);
    connect(&doc_, &Document::documentReplaced, this, &FrmCHInfoEdit::reload);
    connect(&st_, &ChannelEditState::tableGroupChanged, this, [this] { SetGridEditData(true); });
    connect(&st_, &ChannelEditState::channelRequested, this, &FrmCHInfoEdit::showChannelRequested);
}

FrmCHInfoEdit::~FrmCHInfoEdit() {
    detachFromDocument(this, doc_);
    st_.CHEditOpen = false;
}

void FrmCHInfoEdit::buildControls() {
    auto* top = new QVBoxLayout(this);
    frame1_ = new QGroupBox(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    frame1_->installEventFilter(this);
    // On a low screen (or a large scale) the fields scroll and the Close button stays in view.
    scroll_ = new QScrollArea(this);
    scroll_->setObjectName(QStringLiteral("Frame1Scroll"));
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setWidgetResizable(true);
    scroll_->setWidget(frame1_);
    top->addWidget(scroll_, 1);

    auto newLabel = [this](const QString& name) {
        auto* l = new QLabel(frame1_);
        l->setObjectName(name);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        return l;
    };
    auto newList = [this](const QString& name) {
        auto* c = new QComboBox(frame1_);
        c->setObjectName(name);
        c->setMinimumWidth(twipsToPixelsX(this, 2400));
        EnterMovesFocus::install(c);
        return c;
    };

    // One column of label and control pairs; the rows of hidden controls collapse, which is
    // what the shorter frame of country mode 0 allows for.
    auto* grid = new QGridLayout(frame1_);
    grid->setHorizontalSpacing(twipsToPixelsX(this, 100));
    grid->setVerticalSpacing(2);
    grid->setColumnStretch(1, 1);
    int row = 0;
    auto addRow = [&](QLabel* label, QWidget* control, QLayout* box = nullptr) {
        grid->addWidget(label, row, 0, Qt::AlignVCenter);
        if (box)
            grid->addLayout(box, row, 1);
        else
            grid->addWidget(control, row, 1, Qt::AlignVCenter);
        ++row;
    };

    label4_ = newLabel(QStringLiteral("Label4"));
    combo4_ = newList(QStringLiteral("Combo4"));
    for (int i = 0; i < 2; ++i) {
        combo3_[i] = newList(QStringLiteral("Combo3_%1").arg(i));
        combo3_[i]->setMinimumWidth(twipsToPixelsX(this, 800));
    }
    FillList(combo3_[0], CountryItems());
    FillList(combo3_[1], CountryPairItems());
    auto* groupBox = new QHBoxLayout;
    groupBox->setSpacing(twipsToPixelsX(this, 50));
    groupBox->addWidget(combo4_, 1);
    groupBox->addWidget(combo3_[0], 1);
    groupBox->addWidget(combo3_[1], 1);
    addRow(label4_, nullptr, groupBox);
    label1_ = newLabel(QStringLiteral("Label1"));
    combo1_ = newList(QStringLiteral("Combo1"));
    addRow(label1_, combo1_);

    label2_[0] = newLabel(QStringLiteral("Label2_0"));
    text1_ = new NumberEdit(NumberEdit::Accepts::Frequency, frame1_);
    text1_->setObjectName(QStringLiteral("Text1"));
    // A labelled button, not a bare ">": it opens the list of the plan channels.
    command1_ = new QPushButton(frame1_);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setAutoDefault(true);
    auto* freBox = new QHBoxLayout;
    freBox->addWidget(text1_);
    freBox->addWidget(command1_);
    freBox->addStretch(1);
    addRow(label2_[0], nullptr, freBox);
    label2_[1] = newLabel(QStringLiteral("Label2_1"));
    text2_ = new NumberEdit(NumberEdit::Accepts::Digits, frame1_);
    text2_->setObjectName(QStringLiteral("Text2"));
    text2_->setFixedWidth(twipsToPixelsX(this, 1815));
    grid->addWidget(label2_[1], row, 0, Qt::AlignVCenter);
    grid->addWidget(text2_, row++, 1, Qt::AlignLeft | Qt::AlignVCenter);
    for (int i = 0; i < 16; ++i) {
        label3_[i] = newLabel(QStringLiteral("Label3_%1").arg(i));
        combo2_[i] = newList(QStringLiteral("Combo2_%1").arg(i));
        addRow(label3_[i], combo2_[i]);
        connect(combo2_[i], &QComboBox::activated, this, [this, i] { combo2Click(i); });
    }
    grid->setRowStretch(row, 1);
    // Each label names its control for a screen reader (label4_ names the group list of the
    // mode, fillLists).
    label1_->setBuddy(combo1_);
    label2_[0]->setBuddy(text1_);
    label2_[1]->setBuddy(text2_);
    for (int i = 0; i < 16; ++i)
        label3_[i]->setBuddy(combo2_[i]);

    combo5_ = new QComboBox(frame1_);
    combo5_->setObjectName(QStringLiteral("Combo5"));
    combo5_->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    commandClose_ = new QPushButton(this);
    commandClose_->setObjectName(QStringLiteral("CommandClose"));
    commandHelp_ = new QPushButton(this);
    commandHelp_->setObjectName(QStringLiteral("CommandHelp"));
    for (QPushButton* b : {commandClose_, commandHelp_}) {
        b->setAutoDefault(true);
        buttons->addWidget(b);
    }
    top->addLayout(buttons);

    connect(combo4_, &QComboBox::activated, this, &FrmCHInfoEdit::combo4Click);
    for (int i = 0; i < 2; ++i)
        connect(combo3_[i], &QComboBox::activated, this, [this, i] { combo3Click(i); });
    connect(combo1_, &QComboBox::activated, this, &FrmCHInfoEdit::combo1Click);
    connect(text1_, &NumberEdit::enterPressed, this, &FrmCHInfoEdit::text1Enter);
    connect(text1_, &NumberEdit::focusLeft, this, [this] {
        if (text1_->isModified()) saveText1();
    });
    connect(text2_, &NumberEdit::enterPressed, this, &FrmCHInfoEdit::text2Enter);
    connect(text2_, &NumberEdit::focusLeft, this, [this] {
        if (text2_->isModified()) saveText2();
    });
    connect(command1_, &QPushButton::clicked, this, &FrmCHInfoEdit::command1Click);
    connect(commandClose_, &QPushButton::clicked, this, &FrmCHInfoEdit::closeWindow);
    // Escape closes the dialog as its Close button does (what was typed is kept).
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this, this,
                                 &FrmCHInfoEdit::closeWindow, Qt::WidgetWithChildrenShortcut);
    escape->setObjectName(QStringLiteral("ShortcutEscape"));
}

void FrmCHInfoEdit::layoutForMode() {
    const bool cb = doc_.CountryMode == 0;
    label3_[7]->hide();
    combo2_[7]->hide();
    for (QWidget* w : {static_cast<QWidget*>(label3_[9]), static_cast<QWidget*>(combo2_[9]),
                       static_cast<QWidget*>(label3_[1]), static_cast<QWidget*>(combo2_[1]),
                       static_cast<QWidget*>(label2_[1]), static_cast<QWidget*>(text2_)})
        w->setVisible(!cb);
    frame1_->setMinimumHeight(twipsToPixelsX(this, cb ? 5535 : 6615));
    // Window height less the title bar, which the frame around a child window adds; never less
    // than the fields and the button need. The main window shrinks it into its area, and the
    // fields scroll then.
    const QMargins m = layout()->contentsMargins();
    const int needed = frame1_->sizeHint().height() + layout()->spacing() +
                       commandClose_->sizeHint().height() + m.top() + m.bottom();
    const int wide = frame1_->sizeHint().width() + m.left() + m.right() +
                     scroll_->verticalScrollBar()->sizeHint().width();
    resize(wide, std::max(needed, twipsToPixelsX(this, cb ? 7645 - 420 : 8725 - 420)));
}

void FrmCHInfoEdit::fillLists() {
    const QScopedValueRollback busy(DialogBusy, true);
    FillList(combo4_, GroupNames(doc_.CountryMode));
    combo3_[1]->hide();
    combo4_->setVisible(doc_.CountryMode != 0);
    combo3_[0]->setVisible(doc_.CountryMode == 0);
    label4_->setBuddy(doc_.CountryMode == 0 ? combo3_[0] : combo4_);
    for (int i = 0; i < 16; ++i)
        if (const QStringList items = fixedItemsOfCombo2(i); !items.isEmpty())
            FillList(combo2_[i], items);
    fillDtmfLists();
    QStringList rb{LoadLangText(15030)};
    for (int n = 1; n <= 8; ++n)
        rb << QString::number(n);
    FillList(combo5_, rb);
}

void FrmCHInfoEdit::fillDtmfLists() {
    const QScopedValueRollback busy(DialogBusy, true);
    const QStringList items = DtmfCodeItems(doc_);
    for (int i = 11; i <= 13; ++i) {
        const QString previous = combo2_[i]->currentText();
        FillList(combo2_[i], items);
        SelectItemByText(combo2_[i], previous);
    }
}

void FrmCHInfoEdit::fillPowerList(int amFm, int power) {
    FillList(combo2_[9], PowerListItems(amFm));
    SelectItemAt(combo2_[9], amFm == 1 && power > 1 ? 1 : power);
}

void FrmCHInfoEdit::setCaptions() {
    setWindowTitle(LoadLangText(15000));
    label4_->setText(LoadLangText(15029));
    label1_->setText(LoadLangText(15001));
    label2_[0]->setText(LoadLangText(15002));
    label2_[1]->setText(LoadLangText(15100));
    for (int i = 0; i < 16; ++i)
        label3_[i]->setText(LoadLangText(15005 + i));
    combo3_[1]->setAccessibleName(LoadLangText(14611));
    // The button picks the frequency from the national plans.
    command1_->setText(LoadLangText(27613));
    command1_->setToolTip(LoadLangText(14606));
    SetCloseHelpCaptions(this);
    // Close has its own access key here: the dialog is worked from the keyboard.
    commandClose_->setText(LoadLangText(27612));
}

int FrmCHInfoEdit::shownGroup() const {
    return combo4_->currentIndex();
}
int FrmCHInfoEdit::shownRow() const {
    return combo1_->currentIndex() + 1;
}

QStringList FrmCHInfoEdit::fixedItemsOfCombo2(int i) {
    switch (i) {
    case 1:
        return DupItems();
    case 3:
        return ScanItems();
    case 8:
        return ModulationItems();
    case 0:
    case 2:
    case 4:
    case 5:
    case 6:
    case 7:
        return OffOnItems();
    case 14:
    case 15:
        return ToneItems();
    default:
        return {};
    }
}

void FrmCHInfoEdit::ChangShowCHs(int group) {
    QStringList items;
    for (int n = 1; n <= GroupSize(group, doc_.CountryMode); ++n)
        items << QString::number(n);
    FillList(combo1_, items);
}

void FrmCHInfoEdit::syncCountrySelector() {
    const int i = combo4_->currentIndex();
    if (i == 2 || i == 3) {
        SelectItemByText(combo3_[1], combo4_->currentText());
        SelectItemAt(combo3_[0], 2);
    } else {
        SelectItemByText(combo3_[0], combo4_->currentText());
    }
    combo3Click(0);
}

void FrmCHInfoEdit::SetGridEditData(bool fromTable) {
    // The table following this dialog's group calls back while the dialog is still busy
    // showing it; the outer call finishes the display.
    if (DialogBusy) return;
    const QScopedValueRollback busy(DialogBusy, true);
    const int mode = doc_.CountryMode;
    if (fromTable) {
        if (combo4_->currentIndex() != st_.CurGroup) {
            SelectItemAt(combo4_, st_.CurGroup);
            if (mode == 0) syncCountrySelector();
            ChangShowCHs(combo4_->currentIndex());
            SelectItemByText(combo1_, QString::number(st_.CurCH));
        }
    } else {
        if (combo4_->currentIndex() != st_.CurGroup) {
            st_.CurGroup = combo4_->currentIndex();
            emit st_.dialogGroupChosen();
            ChangShowCHs(st_.CurGroup);
        }
        if (combo1_->currentIndex() < 0) SelectItemAt(combo1_, 0);
        st_.CurCH = combo1_->currentIndex() + 1;
    }

    const int group = shownGroup();
    const int row = shownRow();
    const ChannelSlotRef slot = slotAt(doc_, group, row);
    const bool scan = fieldAccess(doc_, slot, FldScan).state != FieldState::Hidden;
    label3_[3]->setVisible(scan);
    combo2_[3]->setVisible(scan);
    text1_->setFixedWidth(twipsToPixelsX(this, slot.kind == SlotKind::Mem ? 1560 : 1815));

    // The frequency is typed, picked through the ">" button, or fixed.
    const FieldState fre = fieldAccess(doc_, slot, FldRxFre).state;
    CHInfoRec* rec = doc_.Channel(slot.chNo);
    command1_->setVisible(fre == FieldState::Pick);
    text1_->setEnabled(fre == FieldState::Editable);
    if (rec) {
        text1_->setText(doc_.FreToListText(rec->RxFre.text(), group));
        text2_->setText(QString::number(rec->OffSetFre));
        SelectItemAt(combo2_[0], rec->Public);
        SelectItemAt(combo2_[3], rec->Scan);
        SelectItemAt(combo2_[1], rec->DUP);
        SelectItemAt(combo2_[2], rec->TSQ);
        SelectItemAt(combo2_[4], rec->HI_CUT);
        SelectItemAt(combo2_[5], rec->BUSY);
        SelectItemAt(combo2_[6], rec->NB);
        SelectItemAt(combo2_[7], rec->Add_Sub_5K);
        SelectItemAt(combo2_[8], rec->AM_FM);
        fillPowerList(rec->AM_FM, rec->Tx_Power);
        ShowRB();
        SelectItemByText(combo2_[11], QString::number(rec->DTMF_BOT));
        SelectItemByText(combo2_[12], QString::number(rec->DTMF_EOT));
        SelectItemByText(combo2_[13], QString::number(rec->DTMF_Call));
        SelectItemAt(combo2_[14], rec->RDCT);
        SelectItemAt(combo2_[15], rec->TDCT);
    } else {
        text1_->clear();
    }
    EnablePub();
    text1_->setModified(false);
    text2_->setModified(false);
}

void FrmCHInfoEdit::EnablePub() {
    const ChannelSlotRef slot = slotAt(doc_, shownGroup(), shownRow());
    for (int i = 0; i < 16; ++i)
        combo2_[i]->setEnabled(fieldAccess(doc_, slot, FieldOfCombo2(i)).editable());
    text2_->setEnabled(fieldAccess(doc_, slot, FldOffSetFre).editable());
}

void FrmCHInfoEdit::ShowRB() {
    const CHInfoRec* rec =
        doc_.Channel(FirstCHOfGroup(shownGroup(), doc_.CountryMode) + shownRow());
    if (!rec) return;
    const QScopedValueRollback busy(DialogBusy, true);
    SelectItemAt(combo5_, rec->RBTone);
    // Off, then the tone tips the rule source offers (the usable ones).
    QStringList items{LoadLangText(15030)};
    const QStringList offered =
        offeredValues(doc_, slotAt(doc_, shownGroup(), shownRow()), FldRBTone);
    for (const QString& n : offered)
        if (n != QLatin1String("0")) items << n;
    FillList(combo2_[10], items);
    SelectItemByText(combo2_[10], combo5_->currentText());
}

void FrmCHInfoEdit::showChannelRequested() {
    {
        const QScopedValueRollback busy(DialogBusy, true);
        if (combo4_->currentIndex() == st_.CurGroup)
            SelectItemByText(combo1_, QString::number(st_.CurCH));
    }
    SetGridEditData(true);
}

void FrmCHInfoEdit::reload() {
    layoutForMode();
    fillLists(); // leaves Combo4 without a selection, so the group is chosen afresh
    SetGridEditData(true);
}

void FrmCHInfoEdit::combo4Click() {
    if (!DialogBusy && combo4_->currentIndex() != st_.CurGroup) SetGridEditData(false);
}

void FrmCHInfoEdit::combo3Click(int i) {
    if (i == 0) {
        if (combo3_[0]->currentIndex() == 2) {
            combo3_[1]->show();
            if (combo3_[1]->currentIndex() < 0) {
                SelectItemAt(combo3_[1], 0);
                combo3Click(1);
                return;
            }
        } else {
            combo3_[1]->hide();
        }
    }
    if (DialogBusy) return;
    const QString text =
        combo3_[1]->isHidden() ? combo3_[0]->currentText() : combo3_[1]->currentText();
    SelectItemByText(combo4_, text);
    combo4Click();
}

void FrmCHInfoEdit::combo1Click() {
    if (!DialogBusy) SetGridEditData(false);
}

void FrmCHInfoEdit::combo2Click(int i) {
    if (DialogBusy) return;
    const int id = FieldOfCombo2(i);
    // The tone-tip and DTMF lists show numbers after "Off"; the others are list positions.
    QString value = QString::number(combo2_[i]->currentIndex());
    if (i >= 10 && i <= 13) {
        const QString t = combo2_[i]->currentText();
        value = IsNumeric(t) ? t : QStringLiteral("0");
    }
    if (!storeTypedValue(doc_, shownGroup(), shownRow(), id, value)) SetGridEditData(false);
}

void FrmCHInfoEdit::saveText1() {
    if (DialogBusy || saving_) return;
    const QScopedValueRollback guard(saving_, true);
    text1_->setModified(false);
    // A refused value leaves the stored one; the dialog shows it again.
    if (!storeTypedValue(doc_, shownGroup(), shownRow(), FldRxFre, text1_->text()))
        SetGridEditData(false);
}

void FrmCHInfoEdit::text1Enter() {
    saveText1();
    focusNextChild();
}

void FrmCHInfoEdit::saveText2() {
    if (DialogBusy || saving_) return;
    const QScopedValueRollback guard(saving_, true);
    text2_->setModified(false);
    // A refused value leaves the stored one; the dialog shows it again.
    if (!IsNumeric(text2_->text()) ||
        !storeTypedValue(doc_, shownGroup(), shownRow(), FldOffSetFre, text2_->text()))
        SetGridEditData(false);
}

void FrmCHInfoEdit::text2Enter() {
    saveText2();
    focusNextChild();
}

void FrmCHInfoEdit::command1Click() {
    // Only where the frequency is picked from the plans (a MEM channel of the CB mode).
    const ChannelSlotRef slot = slotAt(doc_, shownGroup(), shownRow());
    if (fieldAccess(doc_, slot, FldRxFre).state != FieldState::Pick) return;
    Frm_Mem_Freq dlg(doc_, text1_->text(), this);
    // Cancel stores nothing: saving the unchanged text would still move a memory channel
    // that holds no national-plan frequency onto the nearest one.
    if (dlg.exec() != QDialog::Accepted) return;
    text1_->setText(dlg.frequencyText());
    saveText1();
}

void FrmCHInfoEdit::commitEdits() {
    if (text1_->isModified()) saveText1();
    if (text2_->isModified()) saveText2();
}

void FrmCHInfoEdit::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    if (placed_) return;
    placed_ = true;
    // After the main window has placed the new window (it cascades its children).
    QTimer::singleShot(0, this, &FrmCHInfoEdit::useTheRoomThereIs);
}

void FrmCHInfoEdit::useTheRoomThereIs() {
    auto* host = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!host || !host->mdiArea() || host->isMaximized() || host->isMinimized()) return;
    const QRect area = host->mdiArea()->viewport()->rect();
    const int missing = frame1_->sizeHint().height() - scroll_->viewport()->height();
    if (missing <= 0) return;
    const int wanted = std::min(host->height() + missing, area.height());
    QRect g = host->geometry();
    g.setHeight(wanted);
    if (g.bottom() > area.bottom()) g.moveBottom(area.bottom());
    g.moveTop(std::max(g.top(), area.top()));
    host->setGeometry(g);
}

bool FrmCHInfoEdit::eventFilter(QObject* watched, QEvent* e) {
    if (watched == frame1_ && e->type() == QEvent::MouseButtonPress && text1_->hasFocus()) {
        text1Enter();
        return false;
    }
    return QWidget::eventFilter(watched, e);
}

void FrmCHInfoEdit::mousePressEvent(QMouseEvent* e) {
    if (text1_->hasFocus()) text1Enter(); // a click on the background acts as Enter in Text1
    QWidget::mousePressEvent(e);
}

void FrmCHInfoEdit::closeEvent(QCloseEvent* e) {
    commitEdits();
    st_.CHEditOpen = false;
    e->accept();
}

void FrmCHInfoEdit::closeWindow() {
    closeHostWindow(this);
}
