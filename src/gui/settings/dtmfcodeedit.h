#pragma once

// A DTMF code box: at most 16 characters, only the DTMF symbols (digits, A-D, "*", "#"); a-d
// are raised to A-D, every other printable character is dropped, the clipboard keys do
// nothing, Enter moves the focus on. Text that arrives another way (an input method, the
// context menu's paste, a drop) is filtered the same way before it counts as typed. The box
// says what it takes in its tooltip, and a key it refuses (another character, or one too many)
// beeps and shows that hint at the box.
//
// What is typed is one change of the code, handed on (codeEdited) when the box is left or
// Enter is pressed, or when commit() is called; until then Ctrl+Z undoes the typing in the box.
// Once the box has nothing left to undo, Ctrl+Z and Ctrl+Y go to the window's Undo and Redo.

#include <QLineEdit>

class DtmfCodeEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DtmfCodeEdit(QWidget* parent = nullptr);

    // Hands on what was typed since the last time, if anything was.
    void commit();
    // Something was typed that is not handed on yet.
    bool typing() const { return typed_; }

signals:
    // The user changed the code and left the box (or pressed Enter); text is already filtered.
    void codeEdited(const QString& text);
    // A typed character was not taken: not a DTMF symbol, or the code is full.
    void refused(QChar typed);

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    void refuse(QChar typed);
    bool typed_ = false; // typed since the last commit
};
