#include "numberedit.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

NumberEdit::NumberEdit(Accepts accepts, QWidget* parent) : QLineEdit(parent), accepts_(accepts) {
    const QString pattern =
        accepts == Accepts::Frequency ? QStringLiteral("[0-9.]*") : QStringLiteral("[0-9]*");
    setValidator(new QRegularExpressionValidator(QRegularExpression(pattern), this));
    setAcceptDrops(false);
}

bool NumberEdit::acceptsChar(QChar ch) const {
    const char16_t c = ch.unicode();
    if (c > 127) return false;
    if (c < 32 || c == 127) return true; // control codes pass
    if (c >= '0' && c <= '9') return true;
    return accepts_ == Accepts::Frequency && c == '.';
}

void NumberEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        emit enterPressed();
        return;
    }
    if (e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Copy) ||
        e->matches(QKeySequence::Paste)) {
        e->accept();
        return;
    }
    const QString t = e->text();
    if (!t.isEmpty() && !(e->modifiers() & Qt::ControlModifier)) {
        for (QChar ch : t)
            if (!acceptsChar(ch)) {
                e->accept();
                return;
            }
    }
    QLineEdit::keyPressEvent(e);
}

void NumberEdit::inputMethodEvent(QInputMethodEvent* e) {
    for (QChar ch : e->commitString())
        if (!acceptsChar(ch)) {
            // Keep the pre-edit handling of the input method, drop the committed text.
            QInputMethodEvent stripped(e->preeditString(), e->attributes());
            QLineEdit::inputMethodEvent(&stripped);
            return;
        }
    QLineEdit::inputMethodEvent(e);
}

void NumberEdit::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (e->reason() != Qt::MouseFocusReason) {
        selectAll();
        return;
    }
    // A mouse click places the cursor after the focus event; select once it has.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
    });
}

void NumberEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (e->reason() != Qt::ActiveWindowFocusReason && e->reason() != Qt::PopupFocusReason)
        emit focusLeft();
}
