#include "frmprogress.h"

#include "core/lang/langtext.h"
#include "core/model/helpers.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

FrmProgress::FrmProgress(CommKind commMode, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("FrmProgress"));
    setWindowTitle(LoadLangText(9026 + int(commMode)));
    setModal(true);
    Label1_ = new QLabel(LoadLangText(9029), this);
    Label1_->setObjectName(QStringLiteral("Label1"));
    Label1_->setWordWrap(true);
    Label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label2_ = new QLabel(this);
    Label2_->setObjectName(QStringLiteral("Label2"));
    Label2_->setMinimumWidth(Label2_->fontMetrics().horizontalAdvance(QStringLiteral("100%")) + 4);
    ProgressBar1_ = new QProgressBar(this);
    ProgressBar1_->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1_->setRange(0, 100);
    ProgressBar1_->setTextVisible(false);

    // Label1 ends just left of Label2, above the bar.
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    row->addWidget(Label1_, 1);
    row->addWidget(Label2_);
    CommandCancel_ = new QPushButton(LoadLangText(9018), this);
    CommandCancel_->setObjectName(QStringLiteral("CommandCancel"));
    CommandCancel_->setAutoDefault(false);
    connect(CommandCancel_, &QPushButton::clicked, this, &FrmProgress::cancelRequested);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(CommandCancel_, QDialogButtonBox::RejectRole);
    auto* l = new QVBoxLayout(this);
    l->addLayout(row);
    l->addWidget(ProgressBar1_);
    l->addWidget(buttons);
    // Wide enough for the explanation on one line, where that is reasonable.
    const int textWidth = Label1_->fontMetrics().horizontalAdvance(Label1_->text());
    setMinimumWidth(std::clamp(textWidth + Label2_->minimumWidth() + 60, 380, 640));
    ResetProgress();
}

void FrmProgress::SetProgressValue(int percent) {
    ProgressBar1_->setValue(std::clamp(percent, 0, 100));
}

void FrmProgress::ShowProgress(int commAddr, int commEndAddr) {
    if (commEndAddr <= 0) return;
    ShowPercent(static_cast<int>(RoundEven(commAddr * 100.0 / commEndAddr)));
}

void FrmProgress::ShowPercent(int percent) {
    if (percent - lastPercent_ < 1) return;
    lastPercent_ = percent;
    if (isVisible()) {
        SetProgressValue(percent);
        Label2_->setText(QString::number(percent) + QLatin1Char('%'));
    }
}

void FrmProgress::ResetProgress() {
    lastPercent_ = 0;
    SetProgressValue(0);
    Label2_->setText(QStringLiteral("0%"));
}

void FrmProgress::Finish() {
    finishing_ = true;
    done(QDialog::Accepted);
}

void FrmProgress::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    if (loadedOnce_) return;
    loadedOnce_ = true;
    // Queued: the session's first request goes out once the window is on screen and its
    // modal loop runs.
    QTimer::singleShot(0, this, &FrmProgress::loaded);
}

void FrmProgress::closeEvent(QCloseEvent* e) {
    if (finishing_)
        QDialog::closeEvent(e);
    else
        e->ignore();
}

void FrmProgress::reject() {
    // Escape asks like Cancel does; only the session closes the window.
    if (finishing_)
        QDialog::reject();
    else
        emit cancelRequested();
}
