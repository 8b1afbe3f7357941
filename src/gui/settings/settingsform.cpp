#include "settingsform.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "lang/enterfocus.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace {
// The item of a row with notes, without its note.
constexpr int ItemRole = Qt::UserRole + 1;

QStringList itemsOf(const QComboBox* box) {
    QStringList l;
    for (int i = 0; i < box->count(); ++i)
        l << box->itemText(i);
    return l;
}

// The list of a row with notes. Closed, it is as wide as a list of its items without their
// notes would be, so that the window fits a small screen whatever the language says; it shows
// an entry whole where the layout gives it the room, else the item alone (the tooltip tells
// the note then).
class NotedList : public QComboBox {
public:
    using QComboBox::QComboBox;

    // The sizes a list of the items alone asks for.
    void fitItems(const QStringList& items) {
        QComboBox probe;
        probe.setFont(font());
        probe.addItems(items);
        hint_ = probe.sizeHint();
        minimum_ = probe.minimumSizeHint();
        updateGeometry();
    }
    QSize sizeHint() const override { return hint_.isValid() ? hint_ : QComboBox::sizeHint(); }
    QSize minimumSizeHint() const override {
        return minimum_.isValid() ? minimum_ : QComboBox::minimumSizeHint();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        painter.setPen(palette().color(QPalette::Text));
        QStyleOptionComboBox opt;
        initStyleOption(&opt);
        painter.drawComplexControl(QStyle::CC_ComboBox, opt);
        const QRect field =
            style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, this);
        if (fontMetrics().horizontalAdvance(opt.currentText) > field.width() - 4)
            opt.currentText = itemData(currentIndex(), ItemRole).toString();
        painter.drawControl(QStyle::CE_ComboBoxLabel, opt);
    }

private:
    QSize hint_;
    QSize minimum_;
};
} // namespace

SettingsForm::SettingsForm(Document& doc, QWidget* owner)
    : QObject(owner), doc_(doc), owner_(owner) {}

QComboBox* SettingsForm::addRow(const SettingsField& field, QGridLayout* grid, int row,
                                int column) {
    QWidget* parent = grid->parentWidget() ? grid->parentWidget() : owner_;
    auto* label = new QLabel(parent);
    label->setObjectName(field.labelName);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QComboBox* box = field.note ? new NotedList(parent) : new QComboBox(parent);
    box->setObjectName(field.name);
    box->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    label->setBuddy(box);
    EnterMovesFocus::install(box);
    grid->addWidget(label, row, 2 * column);
    grid->addWidget(box, row, 2 * column + 1);
    rows_.push_back({&field, label, box, {}});
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

QStringList SettingsForm::withNotes(const Row& row, const QStringList& items) {
    if (!row.field->note) return items;
    QStringList shown = items;
    for (int i = 0; i < shown.size(); ++i)
        if (const QString n = row.field->note(i); !n.isEmpty())
            shown[i] += QStringLiteral(" \u2014 ") + n;
    return shown;
}

void SettingsForm::fitNotedList(const Row& row, const QStringList& items) {
    if (auto* noted = dynamic_cast<NotedList*>(row.box)) noted->fitItems(items);
    // Open, the list shows every entry whole, however narrow the closed list is.
    QComboBox* box = row.box;
    const QFontMetrics fm(box->view()->font());
    int widest = 0;
    for (int i = 0; i < box->count(); ++i)
        widest = qMax(widest, fm.horizontalAdvance(box->itemText(i)));
    box->view()->setMinimumWidth(widest + 2 * box->view()->frameWidth() +
                                 box->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                                 fm.averageCharWidth() * 2);
}

void SettingsForm::show() {
    const QScopedValueRollback guard(showing_, true);
    for (Row& r : rows_) {
        const bool hidden = r.field->hiddenInMode(doc_.CountryMode);
        r.label->setHidden(hidden);
        r.box->setHidden(hidden);
        const QStringList items = r.field->items(doc_);
        const QSignalBlocker block(r.box);
        // A list whose items are unchanged is not rebuilt: that keeps an open popup and the
        // keyboard position of the user's list intact.
        const QStringList shown = withNotes(r, items);
        if (itemsOf(r.box) != shown) {
            r.box->clear();
            r.box->addItems(shown);
            if (r.field->note) {
                for (int i = 0; i < items.size(); ++i) {
                    r.box->setItemData(i, r.field->note(i), Qt::ToolTipRole);
                    r.box->setItemData(i, items.at(i), ItemRole);
                }
                fitNotedList(r, items);
            }
        }
        r.items = items;
        r.box->setCurrentIndex(r.field->shownIndex(doc_, items));
        showNote(r);
    }
}

void SettingsForm::showNote(const Row& row) {
    // The closed list may show only the start of the entry: its tooltip says what it means.
    if (row.field->note)
        row.box->setToolTip(row.box->itemData(row.box->currentIndex(), Qt::ToolTipRole).toString());
}

void SettingsForm::picked(const Row& row, int index) {
    if (showing_) return;
    showNote(row);
    row.field->pick(doc_, row.items, index);
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
