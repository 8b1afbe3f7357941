#pragma once

#include "core/lang/prompter.h"

class QWidget;

// Answers the core's questions with a message box titled with the application title.
class GuiPrompter : public Prompter {
public:
    explicit GuiPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    // The few questions that carry a title of their own (the country-mode warning).
    Answer askTitled(const QString& title, const QString& text, Buttons buttons, Icon icon);
    Answer askWithCheck(const QString& text, Buttons buttons, Icon icon, const QString& checkText,
                        bool* checked) override;

private:
    Answer run(const QString& title, const QString& text, Buttons buttons, Icon icon,
               const QString& checkText, bool* checked);
    QWidget* parent_;
};
