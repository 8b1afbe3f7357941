#include "frmfillfrequencies.h"

#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>

FrmFillFrequencies::FrmFillFrequencies(const Document& doc, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmFillFrequencies"));
    setWindowTitle(LoadLangText(14990));
    auto* form = new QFormLayout(this);
    start_ = new QLineEdit(FormatFre(doc.FreLow), this);
    start_->setObjectName(QStringLiteral("txtStart"));
    step_ = new QLineEdit(QStringLiteral("10"), this);
    step_->setObjectName(QStringLiteral("txtStep"));
    auto* number = new QDoubleValidator(this);
    number->setLocale(QLocale::c());
    start_->setValidator(number);
    step_->setValidator(number);
    form->addRow(LoadLangText(14992), start_);
    form->addRow(LoadLangText(14993), step_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto valid = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(ParseNumber(start_->text()).has_value() &&
                         ParseNumber(step_->text()).has_value());
    };
    connect(start_, &QLineEdit::textChanged, this, valid);
    connect(step_, &QLineEdit::textChanged, this, valid);
}

double FrmFillFrequencies::start() const {
    return ParseNumber(start_->text()).value_or(0);
}

double FrmFillFrequencies::stepKhz() const {
    return ParseNumber(step_->text()).value_or(0);
}
