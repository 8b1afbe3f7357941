#pragma once

// How core procedures tell or ask the user. The GUI answers with message boxes titled with
// the application title, the command-line tool prints to stderr or answers from its options,
// tests script the answers.

#include <QString>

class Prompter {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
    enum class Icon { None, Critical, Question, Warning, Information };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~Prompter() = default;

    // Shows text and returns the button chosen.
    virtual Answer ask(const QString& text, Buttons buttons, Icon icon) = 0;

    // The answer that changes nothing: OK for a statement, No for Yes/No, Cancel otherwise.
    // It stands for a box closed without a button, or a question nobody can answer.
    static Answer safeAnswer(Buttons buttons);

    // A message by text identifier, optionally followed by a detail on its own line. Virtual so
    // that a prompter without a reader (the command-line tool) can stand in for a missing text.
    virtual Answer message(int id, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                           const QString& detail = QString());
    // A plain fixed text with an OK button.
    void plain(const QString& text) { ask(text, Buttons::Ok, Icon::None); }
    // A question with a check box below it (the write confirmation's "verify"): *checked is
    // the box's state before and after. A prompter that shows no boxes leaves it as it is.
    virtual Answer askWithCheck(const QString& text, Buttons buttons, Icon icon,
                                const QString& checkText, bool* checked) {
        (void)checkText;
        (void)checked;
        return ask(text, buttons, icon);
    }
};

// Answers every question with the first button (OK, Yes, Retry) and shows nothing; the
// Document uses it until somebody installs a real one.
class SilentPrompter : public Prompter {
public:
    Answer ask(const QString&, Buttons buttons, Icon) override;
};
