#pragma once

// The prompter of the command-line tool: every message goes to stderr as one line, prefixed
// with the thing it is about (usually the file). Nobody is there to answer, so every question
// gets the answer that changes nothing (No, Cancel), and is printed without its question.

#include "core/lang/prompter.h"

class CliPrompter : public Prompter {
public:
    // What the next messages are about, for example the file name; empty for none.
    void setSubject(const QString& subject) { subject_ = subject; }
    // How many messages were printed; lets a command tell whether its failure was explained.
    int printed() const { return printed_; }

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
    Answer message(int id, Buttons buttons = Buttons::Ok, Icon icon = Icon::None,
                   const QString& detail = QString()) override;

    // The English sentence used when the language file has no text for id.
    static QString FallbackText(int id);

private:
    QString subject_;
    int printed_ = 0;
};

// A message without its closing question ("... switched on. Try again?" gives "... switched
// on."): nobody is there to answer it.
QString WithoutQuestion(const QString& text);
