#include "channelgridview.h"

#include <QHeaderView>
#include <QScrollBar>

#include "core/model/helpers.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>

ChannelGridView::ChannelGridView(QWidget* parent) : QTableView(parent) {
    setObjectName(QStringLiteral("MSFlexGrid1"));
    setEditTriggers(NoEditTriggers);
    setTabKeyNavigation(false);
    setSelectionMode(SingleSelection);
    setSelectionBehavior(SelectItems);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &ChannelGridView::sortViewBy);
}

void ChannelGridView::sortViewBy(int column) {
    if (!model()) return;
    const int last = model()->columnCount() - 1;
    // The row numbers are the radio's order; the ">>" column has nothing to sort by.
    if (column <= 0 || column >= last ||
        (column == sortColumn_ && sortOrder_ == Qt::DescendingOrder)) {
        clearViewSort();
        return;
    }
    sortOrder_ = column == sortColumn_ ? Qt::DescendingOrder : Qt::AscendingOrder;
    sortColumn_ = column;
    const int rows = model()->rowCount();
    QVector<int> order(rows);
    QVector<QString> text(rows);
    for (int r = 0; r < rows; ++r) {
        order[r] = r;
        text[r] = model()->index(r, column).data().toString().trimmed();
    }
    const bool descending = sortOrder_ == Qt::DescendingOrder;
    // Numbers by value, other cells by text; empty rows stay at the end either way, and equal
    // cells keep the radio's order.
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const QString &ta = text[a], &tb = text[b];
        if (ta.isEmpty() || tb.isEmpty()) return !ta.isEmpty() && tb.isEmpty();
        const auto na = ParseNumber(ta), nb = ParseNumber(tb);
        if (na && nb) return descending ? *na > *nb : *na < *nb;
        const int c = QString::localeAwareCompare(ta, tb);
        return descending ? c > 0 : c < 0;
    });
    showOrder(order);
    horizontalHeader()->setSortIndicatorShown(true);
    horizontalHeader()->setSortIndicator(column, sortOrder_);
    emit viewSortChanged();
}

void ChannelGridView::clearViewSort() {
    const bool was = viewSorted();
    sortColumn_ = -1;
    QVector<int> order(model() ? model()->rowCount() : 0);
    for (int r = 0; r < order.size(); ++r)
        order[r] = r;
    showOrder(order);
    horizontalHeader()->setSortIndicatorShown(false);
    if (was) emit viewSortChanged();
}

void ChannelGridView::showOrder(const QVector<int>& logicalRows) {
    QHeaderView* v = verticalHeader();
    for (int visual = 0; visual < logicalRows.size(); ++visual) {
        const int from = v->visualIndex(logicalRows[visual]);
        if (from != visual) v->moveSection(from, visual);
    }
    if (currentIndex().isValid()) scrollTo(currentIndex());
}

bool ChannelGridView::openEditor(const QModelIndex& index, QEvent* event) {
    if (!index.isValid()) return false;
    scrollTo(index);
    if (!edit(index, AllEditTriggers, nullptr)) return false;
    // The view forwards a key only to editors it opened on a key trigger of its own; this
    // one was opened by the window's decision, so the key is handed over here.
    if (QWidget* editor = indexWidget(index); editor && event)
        QCoreApplication::sendEvent(editor, event);
    return true;
}

void ChannelGridView::keyPressEvent(QKeyEvent* e) {
    if (!isEditing()) {
        const bool plain = !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || e->key() == Qt::Key_F2) {
            e->accept();
            emit enterPressed();
            return;
        }
        const QString t = e->text();
        if (plain && t.size() == 1 && t.at(0).isPrint() && t.at(0) != QLatin1Char(' ')) {
            e->ignore();
            emit keyTyped(e);
            if (e->isAccepted()) return;
        }
    }
    QTableView::keyPressEvent(e);
}

QModelIndex ChannelGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    QModelIndex i = QTableView::moveCursor(action, modifiers);
    if (i.isValid() && i.column() == 0) i = model()->index(i.row(), 1);
    return i;
}

void ChannelGridView::mousePressEvent(QMouseEvent* e) {
    QTableView::mousePressEvent(e);
    const QModelIndex cur = currentIndex();
    if (cur.isValid() && cur.column() == 0) {
        const QModelIndex next = model()->index(cur.row(), 1);
        // Shift or Ctrl on the CH numbers extends the selection as in the other columns: the
        // cursor moves over without touching what the click selected.
        if (e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier))
            selectionModel()->setCurrentIndex(next, QItemSelectionModel::NoUpdate);
        else
            setCurrentIndex(next);
    }
}

QSize ChannelGridView::sizeHint() const {
    int w = verticalHeader()->isVisible() ? verticalHeader()->width() : 0;
    for (int c = 0; c < horizontalHeader()->count(); ++c)
        if (!isColumnHidden(c)) w += columnWidth(c);
    w += verticalScrollBar()->sizeHint().width() + 2 * frameWidth();
    const int rowHeight = verticalHeader()->defaultSectionSize();
    const int h = horizontalHeader()->height() + 16 * rowHeight + 2 * frameWidth();
    return QSize(w, h);
}
