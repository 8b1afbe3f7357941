#pragma once

// A Prompter for tests: records every text shown and answers from a script (the default
// button when the script is empty).

#include "core/lang/prompter.h"

#include <QList>
#include <QStringList>

class ScriptedPrompter : public Prompter {
public:
    QStringList shown;
    QList<Answer> answers;

    Answer ask(const QString& text, Buttons buttons, Icon) override {
        shown << text;
        if (!answers.isEmpty()) return answers.takeFirst();
        return SilentPrompter().ask(text, buttons, Icon::None);
    }
};
