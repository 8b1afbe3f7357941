#pragma once

// The text boxes of the channel windows that take a frequency or a number. Their key filter
// lets digits through (and "." for a frequency), discards every other printable character,
// every character above code 127 and the clipboard keys (cut, copy, paste), and passes
// Backspace and the other control keys. Enter is consumed and reported as enterPressed().
// A validator refuses the same characters when they arrive by pasting with the mouse or by an
// input method.

#include <QLineEdit>

class NumberEdit : public QLineEdit {
    Q_OBJECT
public:
    enum class Accepts { Frequency, Digits };
    explicit NumberEdit(Accepts accepts, QWidget* parent = nullptr);

    // Whether the key filter lets ch through as typed text.
    bool acceptsChar(QChar ch) const;

signals:
    void enterPressed();
    // The focus moved to another control of the application (not to a message box or another
    // program): the value is to be validated.
    void focusLeft();

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    Accepts accepts_;
};
