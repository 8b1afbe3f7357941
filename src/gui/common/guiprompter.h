#pragma once

#include "core/lang/prompter.h"

#include <QStringList>
#include <functional>
class QWidget;

// Answers the core's questions with a message box titled with the application title.
class GuiPrompter : public Prompter {
public:
    explicit GuiPrompter(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    // Gets the text of every box that only tells (an OK box: a report, a failure), so that the
    // main window's list of messages keeps it after the box is gone.
    void setRecorder(std::function<void(const QString&)> recorder) {
        recorder_ = std::move(recorder);
    }

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    // The few questions that carry a title of their own (the country-mode warning).
    Answer askTitled(const QString& title, const QString& text, Buttons buttons, Icon icon);
    Answer askWithCheck(const QString& text, Buttons buttons, Icon icon, const QString& checkText,
                        bool* checked) override;

    // A text of more lines than this is shown as its first ListHeadLines lines above a
    // scrolling list of the rest.
    static constexpr int LongTextLines = 25;
    static constexpr int ListHeadLines = 2;

private:
    Answer runList(QWidget* parent, const QString& title, const QStringList& lines,
                   Buttons buttons);
    Answer run(const QString& title, const QString& text, Buttons buttons, Icon icon,
               const QString& checkText, bool* checked);
    QWidget* parent_;
    std::function<void(const QString&)> recorder_;
};
