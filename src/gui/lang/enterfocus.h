#pragma once

#include <QObject>

class QWidget;

// Enter in a list or text box moves the focus to the next control, as Tab would, and the key
// goes no further (it would otherwise press the dialog's default button).
class EnterMovesFocus : public QObject {
public:
    static void install(QWidget* w);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    using QObject::QObject;
};
