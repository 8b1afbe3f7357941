#include "treesplitter.h"

#include <QMouseEvent>

TreeSplitter::TreeSplitter(QWidget* parent) : QPushButton(parent) {
    setObjectName(QStringLiteral("CommandMove"));
    setCursor(Qt::SizeHorCursor);
    setFocusPolicy(Qt::NoFocus);
    setFlat(true);
    setFixedWidth(5);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void TreeSplitter::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    moveTree_ = true;
    pressX_ = qRound(e->position().x());
}

void TreeSplitter::mouseMoveEvent(QMouseEvent* e) {
    // Measured from where the button was grabbed: the button follows the panel's edge, so
    // the grabbed point stays under the pointer.
    if (moveTree_)
        if (const int dx = qRound(e->position().x()) - pressX_; dx != 0) emit dragged(dx);
}

void TreeSplitter::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) moveTree_ = false;
}
