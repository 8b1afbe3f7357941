#include "settingsform.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "lang/enterfocus.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSignalBlocker>

namespace {
QStringList itemsOf(const QComboBox* box) {
    QStringList l;
    for (int i = 0; i < box->count(); ++i)
        l << box->itemText(i);
    return l;
}
} // namespace

SettingsForm::SettingsForm(Document& doc, QWidget* owner)
    : QObject(owner), doc_(doc), owner_(owner) {}

QComboBox* SettingsForm::addRow(const SettingsField& field, QGridLayout* grid, int row,
                                int column) {
    QWidget* parent = grid->parentWidget() ? grid->parentWidget() : owner_;
    auto* label = new QLabel(parent);
    label->setObjectName(field.labelName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto* box = new QComboBox(parent);
    box->setObjectName(field.name);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    label->setBuddy(box);
    EnterMovesFocus::install(box);
    grid->addWidget(label, row, 2 * column);
    grid->addWidget(box, row, 2 * column + 1);
    rows_.push_back({&field, label, box});
    const std::size_t i = rows_.size() - 1;
    connect(box, &QComboBox::activated, this, [this, i](int index) { picked(rows_[i], index); });
    return box;
}

void SettingsForm::addRows(const std::vector<SettingsField>& fields, QGridLayout* grid,
                           int firstRow) {
    for (const SettingsField& f : fields)
        addRow(f, grid, firstRow++);
}

void SettingsForm::setCaptions() {
    for (const Row& r : rows_) {
        if (r.field->label != 0) r.label->setText(LoadLangText(r.field->label));
        r.box->setAccessibleName(r.label->text());
    }
}

void SettingsForm::show() {
    const QScopedValueRollback guard(showing_, true);
    for (const Row& r : rows_) {
        const bool hidden = r.field->hiddenInMode(doc_.CountryMode);
        r.label->setHidden(hidden);
        r.box->setHidden(hidden);
        const QStringList items = r.field->items(doc_);
        const QSignalBlocker block(r.box);
        // A list whose items are unchanged is not rebuilt: that keeps an open popup and the
        // keyboard position of the user's list intact.
        if (itemsOf(r.box) != items) {
            r.box->clear();
            r.box->addItems(items);
        }
        r.box->setCurrentIndex(r.field->shownIndex(doc_, items));
    }
}

void SettingsForm::picked(const Row& row, int index) {
    if (showing_) return;
    row.field->pick(doc_, itemsOf(row.box), index);
    emit stored(row.field->name);
}

QComboBox* SettingsForm::list(const QString& name) const {
    for (const Row& r : rows_)
        if (r.field->name == name) return r.box;
    return nullptr;
}

QLabel* SettingsForm::label(const QString& name) const {
    for (const Row& r : rows_)
        if (r.field->name == name) return r.label;
    return nullptr;
}
