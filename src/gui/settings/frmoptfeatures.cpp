#include "frmoptfeatures.h"
#include "common/numberedit.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "core/model/settingsforms.h"
#include "lang/enterfocus.h"
#include "settingsform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {
const SettingsField& workGroupField() {
    return OptionFields().at(1);
}
} // namespace

FrmOptFeatures::FrmOptFeatures(Document& doc, QWidget* parent) : SettingsWindow(parent), doc_(doc) {
    setObjectName(QStringLiteral("FrmOptFeatures"));
    buildControls();
    setCaptions();
    reload();

    // The window is the context of every connection, so none outlives it.
    connect(&doc_, &Document::groupSettingsChanged, this, &FrmOptFeatures::showLists);
    connect(&doc_, &Document::publicChannelChanged, this, &FrmOptFeatures::showLists);
    connect(&doc_, &Document::dtmfCodesChanged, this, &FrmOptFeatures::showLists);
    connect(&doc_, &Document::toneTipsChanged, this, &FrmOptFeatures::ShowRBOpt);
    connect(&doc_, &Document::rogerBeepsRechecked, this, &FrmOptFeatures::ShowRBOpt);
    connect(&doc_, &Document::documentReplaced, this, &FrmOptFeatures::reload);
}

FrmOptFeatures::~FrmOptFeatures() {
    detachFromDocument(this, doc_);
}

void FrmOptFeatures::buildControls() {
    auto* frames = new QHBoxLayout;
    body()->addLayout(frames);

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName(QStringLiteral("Frame1"));
    auto* grid1 = new QGridLayout(frame1);
    options_ = new SettingsForm(doc_, this);
    options_->addRows(OptionFields(), grid1);
    // Mode 0 picks the working group by country plan, in the place of Combo1(1).
    auto* plans = new QHBoxLayout;
    for (int i = 0; i < 2; ++i) {
        combo3_[i] = new QComboBox(frame1);
        combo3_[i]->setObjectName(QStringLiteral("Combo3_%1").arg(i));
        combo3_[i]->addItems(i == 0 ? CountryPlanItems() : CountryPlanPairItems());
        // Each variant says which plan it is.
        if (i == 1)
            for (int k = 0; k < combo3_[i]->count(); ++k)
                combo3_[i]->setItemData(k, CountryPlanPairNote(k), Qt::ToolTipRole);
        EnterMovesFocus::install(combo3_[i]);
        plans->addWidget(combo3_[i]);
        connect(combo3_[i], &QComboBox::activated, this, [this, i] { combo3Click(i); });
    }
    plans->addStretch(1);
    grid1->addLayout(plans, 1, 1);
    setTabOrder(options_->list(QStringLiteral("Combo1_0")), combo3_[0]);
    setTabOrder(combo3_[0], combo3_[1]);
    setTabOrder(combo3_[1], options_->list(QStringLiteral("Combo1_2")));
    grid1->setRowStretch(grid1->rowCount(), 1);
    frames->addWidget(frame1);

    auto* frame3 = new QGroupBox(this);
    frame3->setObjectName(QStringLiteral("Frame3"));
    auto* grid3 = new QGridLayout(frame3);
    public_ = new SettingsForm(doc_, this);
    public_->addRows(PublicChannelFields(), grid3);
    int row = grid3->rowCount();
    labelOffset_ = new QLabel(frame3);
    labelOffset_->setObjectName(QStringLiteral("Label2"));
    labelOffset_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    text2_ = new NumberEdit(NumberEdit::Accepts::Digits, frame3);
    text2_->setObjectName(QStringLiteral("Text2"));
    labelOffset_->setBuddy(text2_);
    grid3->addWidget(labelOffset_, row, 0);
    grid3->addWidget(text2_, row++, 1);

    check1_ = new QCheckBox(frame3);
    check1_->setObjectName(QStringLiteral("Check1"));
    EnterMovesFocus::install(check1_);
    label4_ = new QLabel(frame3);
    label4_->setObjectName(QStringLiteral("Label4"));
    text1_ = new NumberEdit(NumberEdit::Accepts::Frequency, frame3);
    text1_->setObjectName(QStringLiteral("Text1"));
    text1_->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
    label4_->setBuddy(text1_);
    auto* swr = new QHBoxLayout;
    swr->addWidget(check1_);
    swr->addStretch(1);
    swr->addWidget(label4_);
    swr->addWidget(text1_);
    grid3->addLayout(swr, row++, 0, 1, 2);
    grid3->setRowStretch(row, 1);
    frames->addWidget(frame3, 0, Qt::AlignTop);

    // The offset is stored with every change, as the user types; the box shows the clamped
    // value once the user leaves it.
    connect(text2_, &QLineEdit::textEdited, this, [this] { SaveOptFeat(200); });
    connect(text2_, &NumberEdit::enterPressed, this, [this] { focusNextChild(); });
    connect(text2_, &NumberEdit::focusLeft, this, [this] {
        // Stored at every key; what the typing came to is said once the box is left.
        const QString stored = QString::number(doc_.RadioData.PublicCH.OffSetFre);
        tellMoved(labelOffset_->text(), text2_->text(), stored, 5, 1000, 0);
        text2_->setText(stored);
    });
    connect(text1_, &NumberEdit::enterPressed, this, [this] { focusNextChild(); });
    connect(text1_, &NumberEdit::focusLeft, this, [this] {
        if (text1_->isModified()) SaveOptFeat(400);
    });
    connect(check1_, &QCheckBox::clicked, this, [this] { SaveOptFeat(300); });
}

void FrmOptFeatures::setCaptions() {
    setWindowTitle(LoadLangText(16000));
    findChild<QGroupBox*>(QStringLiteral("Frame1"))->setTitle(LoadLangText(16100));
    findChild<QGroupBox*>(QStringLiteral("Frame3"))->setTitle(LoadLangText(16101));
    options_->setCaptions();
    public_->setCaptions();
    labelOffset_->setText(LoadLangText(15100));
    check1_->setText(LoadLangText(15600));
    label4_->setText(LoadLangText(16049));
    text1_->setAccessibleName(LoadLangText(15600) + QLatin1Char(' ') + label4_->text());
    for (QComboBox* c : combo3_)
        c->setAccessibleName(LoadLangText(16002));
}

void FrmOptFeatures::reload() {
    const QScopedValueRollback guard(loading_, true);
    const bool cb = doc_.CountryMode == 0;
    labelOffset_->setVisible(!cb);
    text2_->setVisible(!cb);
    showLists();
    showTexts();
}

void FrmOptFeatures::showLists() {
    options_->show();
    public_->show();
    showCountryPlan();
    const QSignalBlocker block(check1_);
    check1_->setChecked(doc_.RadioData.Func.UseMaxSwr == 1);
}

void FrmOptFeatures::showTexts() {
    text2_->setText(QString::number(doc_.RadioData.PublicCH.OffSetFre));
    text2_->setModified(false);
    text1_->setText(QLocale::c().toString(doc_.RadioData.Func.MaxSwr / 10.0, 'f', 1));
    text1_->setModified(false);
}

void FrmOptFeatures::showCountryPlan() {
    const bool cb = doc_.CountryMode == 0;
    options_->list(QStringLiteral("Combo1_1"))->setVisible(!cb);
    int plan = 0, pair = -1;
    PlanOfWorkGroup(doc_.RadioData.Func.WorkGroup, &plan, &pair);
    const QSignalBlocker b0(combo3_[0]), b1(combo3_[1]);
    combo3_[0]->setVisible(cb);
    combo3_[0]->setCurrentIndex(plan);
    combo3_[1]->setCurrentIndex(pair);
    combo3_[1]->setVisible(cb && pair >= 0);
    combo3_[1]->setToolTip(CountryPlanPairNote(pair));
}

void FrmOptFeatures::ShowRBOpt() {
    public_->show();
}

void FrmOptFeatures::combo3Click(int i) {
    if (loading_) return;
    if (i == 0) {
        const bool uk = combo3_[0]->currentIndex() == PlanUK;
        combo3_[1]->setVisible(uk);
        if (uk && combo3_[1]->currentIndex() < 0) combo3_[1]->setCurrentIndex(0);
    }
    combo3_[1]->setToolTip(CountryPlanPairNote(combo3_[1]->currentIndex()));
    SaveOptFeat(1);
}

void FrmOptFeatures::SaveOptFeat(int id) {
    if (loading_) return;
    if (id == 1 && doc_.CountryMode == 0) {
        const int pair = combo3_[1]->isVisibleTo(this) ? combo3_[1]->currentIndex() : -1;
        workGroupField().set(doc_, WorkGroupOfPlan(combo3_[0]->currentIndex(), pair));
        return;
    }
    if (id >= 0 && id <= 16) {
        QComboBox* box = options_->list(QStringLiteral("Combo1_%1").arg(id));
        emit box->activated(box->currentIndex());
    } else if (id > 100 && id <= 113) {
        if (QComboBox* box = public_->list(QStringLiteral("Combo2_%1").arg(id - 100)))
            emit box->activated(box->currentIndex());
    } else if (id == 200) {
        text2_->setModified(false);
        const int offset = ClampNumberText(text2_->text(), 5, 1000, 5, 5);
        doc_.EditPublic([&](CHInfoRec& p) { p.OffSetFre = static_cast<i16>(offset); });
    } else if (id == 300) {
        const int on = check1_->isChecked() ? 1 : 0;
        doc_.EditFunc([&](FuncRec& f) { f.UseMaxSwr = static_cast<i16>(on); });
    } else if (id == 400) {
        const QString typed = text1_->text();
        text1_->setText(ClampSwrText(typed));
        text1_->setModified(false);
        tellMoved(text1_->accessibleName(), typed, text1_->text(), 7, 20, 1);
        const int swr = static_cast<int>(RoundEven(*ParseNumber(text1_->text()) * 10));
        if (swr != doc_.RadioData.Func.MaxSwr)
            doc_.EditFunc([&](FuncRec& f) { f.MaxSwr = static_cast<i16>(swr); });
    }
}

void FrmOptFeatures::tellMoved(const QString& label, const QString& typed,
                               const QString& stored, double low, double high, int decimals) {
    // Only a number beyond a limit is said; a value rounded to the box's step is not news.
    const auto v = ParseNumber(typed);
    if (!v || (*v >= low && *v <= high)) {
        lastMoved_.clear();
        return;
    }
    QString name = label;
    name.remove(QLatin1Char('&'));
    const QLocale c = QLocale::c();
    const QString said = LoadLangText(27201).arg(
        name, typed.trimmed(), stored,
        LoadLangText(27616).arg(c.toString(low, 'f', decimals), c.toString(high, 'f', decimals)));
    // Enter and the focus leaving store the same box twice: it is said once.
    if (said == lastMoved_) return;
    lastMoved_ = said;
    emit statusNote(said);
}

QString FrmOptFeatures::ClampSwrText(const QString& text) {
    const auto v = ParseNumber(text);
    const double swr = !v ? 20.0 : *v < 7 ? 7.0 : *v > 20 ? 20.0 : *v;
    return QLocale::c().toString(swr, 'f', 1);
}

void FrmOptFeatures::commitEdits() {
    if (text1_->isModified()) SaveOptFeat(400);
    if (text2_->isModified()) SaveOptFeat(200);
}

void FrmOptFeatures::closeEvent(QCloseEvent* e) {
    commitEdits();
    e->accept();
}
