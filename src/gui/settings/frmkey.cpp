#include "frmkey.h"
#include "common/windowteardown.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/settingsforms.h"
#include "settingsform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>

FrmKey::FrmKey(Document& doc, QWidget* parent) : SettingsWindow(parent), doc_(doc) {
    setObjectName(QStringLiteral("FrmKey"));
    setWindowTitle(LoadLangText(25000));
    form_ = new SettingsForm(doc_, this);
    const std::vector<SettingsField>& rows = KeyFields();

    auto* top = new QWidget(this);
    auto* topGrid = new QGridLayout(top);
    topGrid->setContentsMargins(0, 0, 0, 0);
    form_->addRow(rows.front(), topGrid, 0);
    topGrid->setColumnStretch(2, 1);
    body()->addWidget(top);

    auto* frames = new QHBoxLayout;
    for (int m = 0; m < 3; ++m) {
        auto* frame =
            new QGroupBox(LoadLangText(25008) + QLatin1Char(' ') + QString::number(m + 1), this);
        frame->setObjectName(QStringLiteral("Frame1_%1").arg(m));
        auto* grid = new QGridLayout(frame);
        for (int n = 0; n < 6; ++n) {
            const int i = 6 * m + n;
            QComboBox* box = form_->addRow(rows.at(i + 1), grid, n % 3, n / 3);
            form_->label(box->objectName())->setText(QStringLiteral("P%1").arg(n + 1));
        }
        frames->addWidget(frame);
    }
    body()->addLayout(frames);

    form_->setCaptions();
    // The same key name stands in each frame: the mode tells them apart for a screen reader
    // ("Key mode 1, P1"). The list of key modes is named by its label.
    for (int i = 0; i < 18; ++i)
        form_->list(QStringLiteral("Combo1_%1").arg(i))
            ->setAccessibleName(
                LoadLangText(25121).arg(i / 6 + 1).arg(QStringLiteral("P%1").arg(i % 6 + 1)));
    form_->list(QStringLiteral("Combo2"))->setAccessibleName(LoadLangText(25007));
    // Each function shows with what it does ("MOD — modulation AM/FM", texts 25101 to 25120).
    form_->show();

    connect(&doc_, &Document::keysChanged, form_, &SettingsForm::show);
    connect(&doc_, &Document::documentReplaced, form_, &SettingsForm::show);
}

FrmKey::~FrmKey() {
    detachFromDocument(this, doc_);
}
