#include "dtmfcodeedit.h"
#include "core/lang/langtext.h"
#include "core/model/dtmfcodes.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QToolTip>
#include <algorithm>

DtmfCodeEdit::DtmfCodeEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(DtmfCodeMax);
    setToolTip(LoadLangText(9702));
    setAccessibleDescription(toolTip());
    connect(this, &QLineEdit::textEdited, this, [this](const QString& t) {
        const QString clean = FilterDtmfText(t);
        if (clean != t) {
            const int pos = cursorPosition() - int(t.size() - clean.size());
            setText(clean);
            setCursorPosition(std::max(0, pos));
        }
        typed_ = true;
    });
    connect(this, &QLineEdit::editingFinished, this, &DtmfCodeEdit::commit);
}

void DtmfCodeEdit::commit() {
    if (!typed_) return;
    typed_ = false;
    const QString t = text();
    emit codeEdited(t);
    // The typing is a step of the document now: the box's own undo starts afresh, so that
    // the next Ctrl+Z reaches the document.
    const int pos = cursorPosition();
    setText(t);
    setCursorPosition(pos);
}

bool DtmfCodeEdit::event(QEvent* e) {
    // With nothing of its own to undo or redo, the box leaves Ctrl+Z and Ctrl+Y to the window.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if ((k->matches(QKeySequence::Undo) && !isUndoAvailable()) ||
            (k->matches(QKeySequence::Redo) && !isRedoAvailable())) {
            e->ignore();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void DtmfCodeEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        commit();
        focusNextChild();
        return;
    }
    if (e->matches(QKeySequence::Cut) || e->matches(QKeySequence::Copy) ||
        e->matches(QKeySequence::Paste)) {
        e->accept();
        return;
    }
    const QString t = e->text();
    if (t.size() == 1 && !(e->modifiers() & Qt::ControlModifier) && t.at(0).unicode() >= 32 &&
        t.at(0).unicode() != 127) {
        const QChar mapped = DtmfCodeChar(t.at(0));
        e->accept();
        if (mapped.isNull() || (text().size() >= maxLength() && !hasSelectedText())) {
            refuse(t.at(0));
            return;
        }
        if (mapped != t.at(0)) {
            // a-d enter as A-D.
            QKeyEvent upper(e->type(), e->key(), e->modifiers(), QString(mapped));
            QLineEdit::keyPressEvent(&upper);
            return;
        }
    }
    QLineEdit::keyPressEvent(e);
}

void DtmfCodeEdit::refuse(QChar typed) {
    QApplication::beep();
    QToolTip::showText(mapToGlobal(QPoint(0, height())), toolTip(), this);
    emit refused(typed);
}

void DtmfCodeEdit::inputMethodEvent(QInputMethodEvent* e) {
    const QString clean = FilterDtmfText(e->commitString());
    if (clean == e->commitString()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent filtered(e->preeditString(), e->attributes());
    filtered.setCommitString(clean, e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&filtered);
}
