#include "channelgridview.h"

#include <QHeaderView>
#include <QScrollBar>

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
    if (cur.isValid() && cur.column() == 0) setCurrentIndex(model()->index(cur.row(), 1));
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
