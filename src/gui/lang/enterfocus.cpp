#include "enterfocus.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

void EnterMovesFocus::install(QWidget* w) {
    w->installEventFilter(new EnterMovesFocus(w));
    // An editable list takes its keys through its own text box.
    if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
        combo->lineEdit()->installEventFilter(new EnterMovesFocus(combo->lineEdit()));
}

bool EnterMovesFocus::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() != QEvent::KeyPress) return QObject::eventFilter(watched, e);
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() != Qt::Key_Return && k->key() != Qt::Key_Enter)
        return QObject::eventFilter(watched, e);
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QCoreApplication::sendEvent(watched, &tab);
    return true;
}
