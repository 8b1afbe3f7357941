#include "frmdtmf.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/dtmfcodes.h"
#include "core/model/settingsforms.h"
#include "dtmfcodeedit.h"
#include "lang/enterfocus.h"
#include "settingsform.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>

FrmDTMF::FrmDTMF(Document& doc, QWidget* parent) : SettingsWindow(parent), doc_(doc) {
    setObjectName(QStringLiteral("FrmDTMF"));
    buildControls();
    setCaptions();
    reload();
    connect(&doc_, &Document::dtmfCodesChanged, this, &FrmDTMF::showRecord);
    connect(&doc_, &Document::documentReplaced, this, &FrmDTMF::reload);
}

FrmDTMF::~FrmDTMF() {
    detachFromDocument(this, doc_);
}

void FrmDTMF::buildControls() {
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("SSTab1"));
    EnterMovesFocus::install(tabs_->tabBar());
    body()->addWidget(tabs_);

    auto* settings = new QWidget(tabs_);
    auto* grid = new QGridLayout(settings);
    form_ = new SettingsForm(doc_, this);
    form_->addRows(DtmfSettingFields(), grid);
    check1_ = new QCheckBox(settings);
    check1_->setObjectName(QStringLiteral("Check1"));
    EnterMovesFocus::install(check1_);
    grid->addWidget(check1_, grid->rowCount(), 1);
    grid->setRowStretch(grid->rowCount(), 1);
    tabs_->addTab(settings, QString());
    connect(check1_, &QCheckBox::clicked, this,
            [this](bool on) { doc_.EditDtmf([&](DTMFRec& r) { r.DtmfSet[5] = on ? 1 : 0; }); });

    // The sixteen codes in two columns: 1..8 left, 9..16 right.
    auto* codes = new QWidget(tabs_);
    auto* codeGrid = new QGridLayout(codes);
    for (int s = 0; s < 16; ++s) {
        auto* label = new QLabel(QString::number(s + 1), codes);
        label->setObjectName(QStringLiteral("Label4_%1").arg(s));
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        codes_[s] = new DtmfCodeEdit(codes);
        codes_[s]->setObjectName(QStringLiteral("Text2_%1").arg(s));
        codes_[s]->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('D')) * 18);
        label->setBuddy(codes_[s]);
        codeGrid->addWidget(label, s % 8, (s / 8) * 2);
        codeGrid->addWidget(codes_[s], s % 8, (s / 8) * 2 + 1);
        connect(codes_[s], &DtmfCodeEdit::codeEdited, this, [this, s](const QString& text) {
            if (text != ShownDtmfCode(doc_.RadioData.DTMF.Codes[s]))
                StoreDtmfCode(doc_, s + 1, text);
        });
    }
    codeGrid->setRowStretch(8, 1);
    tabs_->addTab(codes, QString());
    tabs_->addTab(new QWidget(tabs_), QString());
    tabs_->setTabEnabled(2, false);
    tabs_->setTabToolTip(2, LoadLangText(9704));
}

void FrmDTMF::setCaptions() {
    setWindowTitle(LoadLangText(18000));
    for (int t = 0; t < 3; ++t)
        tabs_->setTabText(t, LoadLangText(18002 + t));
    form_->setCaptions();
    check1_->setText(LoadLangText(18030));
    for (int s = 0; s < 16; ++s)
        codes_[s]->setAccessibleName(LoadLangText(9703).arg(s + 1));
}

void FrmDTMF::commitEdits() {
    for (DtmfCodeEdit* box : codes_)
        box->commit();
}

void FrmDTMF::closeEvent(QCloseEvent* e) {
    commitEdits();
    SettingsWindow::closeEvent(e);
}

void FrmDTMF::reload() {
    RepairDtmfForShow(doc_); // announces a repair, which shows the record
    showRecord();
}

void FrmDTMF::showRecord() {
    form_->show();
    const DTMFRec& d = doc_.RadioData.DTMF;
    {
        const QSignalBlocker block(check1_);
        check1_->setChecked(d.DtmfSet[5] == 1);
    }
    for (int s = 0; s < 16; ++s) {
        // A box being typed in keeps what is typed; an undo redraws even the focused box.
        const QString shown = ShownDtmfCode(d.Codes[s]);
        if (codes_[s]->text() != shown && !codes_[s]->typing()) codes_[s]->setText(shown);
    }
}
