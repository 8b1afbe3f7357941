#include "channelcelldelegate.h"
#include "channellists.h"
#include "common/numberedit.h"
#include "core/model/helpers.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QScopedValueRollback>

namespace {
// The list of a column edited by a list; empty for the others.
QStringList listOfColumn(int col) {
    switch (col) {
    case 2:
    case 5:
        return channels::OffOnItems();
    case 3:
        return channels::DupItems();
    case 6:
        return channels::ScanItems();
    default:
        return {};
    }
}
QString comboName(int col) {
    switch (col) {
    case 2:
        return QStringLiteral("Combo1");
    case 3:
        return QStringLiteral("Combo2");
    case 5:
        return QStringLiteral("Combo3");
    default:
        return QStringLiteral("Combo4");
    }
}
} // namespace

ChannelCellDelegate::ChannelCellDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QWidget* ChannelCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const {
    const int col = index.column();
    QWidget* w = nullptr;
    if (col == 1 || col == 4) {
        auto* e = new NumberEdit(
            col == 1 ? NumberEdit::Accepts::Frequency : NumberEdit::Accepts::Digits, parent);
        e->setObjectName(col == 1 ? QStringLiteral("Text1") : QStringLiteral("Text2"));
        e->setAlignment(Qt::AlignCenter);
        e->setFrame(false);
        w = e;
    } else if (const QStringList items = listOfColumn(col); !items.isEmpty()) {
        auto* c = new QComboBox(parent);
        c->setObjectName(comboName(col));
        c->addItems(items);
        auto* self = const_cast<ChannelCellDelegate*>(this);
        connect(c, &QComboBox::activated, self, [self, c] { emit self->commitData(c); });
        w = c;
    }
    editor_ = w;
    return w;
}

void ChannelCellDelegate::destroyEditor(QWidget* editor, const QModelIndex& index) const {
    if (editor_ == editor) editor_ = nullptr;
    QStyledItemDelegate::destroyEditor(editor, index);
}

void ChannelCellDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::DisplayRole).toString();
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        QString t = text;
        if (index.column() == 4) {
            // The cell as the grid held it: cut at a NUL, trailing blanks removed.
            const int nul = t.indexOf(QChar(0));
            if (nul >= 0) t.truncate(nul);
            while (t.endsWith(QLatin1Char(' ')))
                t.chop(1);
        }
        e->setText(t);
    } else if (auto* c = qobject_cast<QComboBox*>(editor)) {
        channels::SelectItemByText(c, text);
    }
}

void ChannelCellDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                       const QModelIndex& index) const {
    QVariant value;
    if (auto* e = qobject_cast<QLineEdit*>(editor)) {
        // As typed: the rule source judges it and says what it made of it.
        value = e->text();
    } else if (auto* c = qobject_cast<QComboBox*>(editor)) {
        value = c->currentIndex();
    } else {
        return;
    }
    model->setData(index, value, Qt::EditRole);
}

void ChannelCellDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                               const QModelIndex&) const {
    editor->setGeometry(option.rect);
}

void ChannelCellDelegate::commitOpenEditor() {
    if (editor_ && !committing_) {
        const QScopedValueRollback guard(committing_, true);
        emit commitData(editor_);
    }
}

void ChannelCellDelegate::commitAndCloseOpenEditor() {
    if (!editor_) return;
    QPointer<QWidget> e = editor_;
    commitOpenEditor();
    if (e) emit closeEditor(e, NoHint);
}

void ChannelCellDelegate::closeOpenEditor() {
    if (editor_) emit closeEditor(editor_, RevertModelCache);
}

bool ChannelCellDelegate::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (!editor) return false;
    if (event->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(event);
        switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            // Stored at once, not through the queued commit of the base class.
            if (editor == editor_) commitAndCloseOpenEditor();
            return true;
        default:
            break;
        }
    }
    // While a value is being stored a message box may take the focus; the store in progress
    // decides, the focus change must not store a second time.
    if (committing_ && event->type() == QEvent::FocusOut) return false;
    return QStyledItemDelegate::eventFilter(object, event);
}
