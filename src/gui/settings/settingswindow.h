#pragma once

// What the radio-wide settings windows share: the Close button and the Help button (the
// manual's chapter of the window) below the window's contents, and closing the child window
// that holds the window.

#include <QWidget>

class QBoxLayout;
class QPushButton;

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    explicit SettingsWindow(QWidget* parent = nullptr);

protected:
    // The window's contents go here, above the buttons.
    QBoxLayout* body() const { return body_; }
    // The row of CommandClose and CommandHelp; a window may add buttons of its own.
    QBoxLayout* buttons() const { return buttons_; }
    // Closes the enclosing child window when there is one, else this window.
    void closeWindow();

private:
    QBoxLayout* body_;
    QBoxLayout* buttons_;
};
