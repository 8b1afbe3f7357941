#pragma once

// A DTMF code box: at most 16 characters, only the DTMF symbols (digits, A-D, "*", "#"); a-d
// are raised to A-D, every other printable character is dropped, the clipboard keys do
// nothing, Enter moves the focus on. Text that arrives another way (an input method, the
// context menu's paste, a drop) is filtered the same way before it counts as typed. The box
// says what it takes in its tooltip, and a key it refuses (another character, or one too many)
// beeps and shows that hint at the box.

#include <QLineEdit>

class DtmfCodeEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DtmfCodeEdit(QWidget* parent = nullptr);

signals:
    // The user changed the code; text is already filtered.
    void codeEdited(const QString& text);
    // A typed character was not taken: not a DTMF symbol, or the code is full.
    void refused(QChar typed);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

private:
    void refuse(QChar typed);
};
