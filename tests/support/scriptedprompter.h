#pragma once

// The prompter of every test: answers from a script and records what it was asked. It is
// strict: a message that nothing scripted fails the running test with the message's text, so
// an unexpected warning never passes unnoticed.
//
// A message is answered by, in this order:
//   1. a standing expectation: expect(id or text part, answer) allows that message any number
//      of times (it takes nothing from the queue);
//   2. the queue `answers`, first to last;
//   3. allowAny(answer), for the few tests that do not care what they are told.
// Otherwise the test fails and the cautious button (OK, No, Cancel) is returned.

#include "core/lang/prompter.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ScriptedPrompter : public Prompter {
public:
    struct Asked {
        QString text;
        Buttons buttons;
        Icon icon;
    };
    QList<Answer> answers;       // taken in order
    QList<Asked> asked;          // every message, in order
    QStringList unexpected;      // messages nothing scripted (each one has failed the test)
    std::function<void()> onAsk; // runs as each message is shown, before it is answered

    Answer ask(const QString& text, Buttons buttons, Icon icon) override;

    // Allows the message with this text id (alone or followed by a detail line), answered so.
    ScriptedPrompter& expect(int id, Answer answer = Answer::Ok);
    // Allows any message containing part, answered so.
    ScriptedPrompter& expect(const QString& part, Answer answer = Answer::Ok);
    // Answers anything not otherwise scripted; only for tests that truly do not care.
    void allowAny(Answer answer) { any_ = answer; }

    // Clears what was asked, the queue and the expectations, and queues script.
    void reset(QList<Answer> script = {});

    QStringList texts() const;
    // Whether message i was the text with this id, alone or followed by a detail line.
    bool wasMessage(int i, int id) const;
    bool saw(int id) const { return count(id) > 0; }
    bool saw(const QString& part) const { return count(part) > 0; }
    int count(int id) const;
    int count(const QString& part) const;

    // Whether text is the text with this id, alone or followed by a detail line.
    static bool isMessage(const QString& text, int id);

private:
    struct Expected {
        int id = 0;
        QString part;
        Answer answer;
    };
    QList<Expected> expected_;
    std::optional<Answer> any_;
};
