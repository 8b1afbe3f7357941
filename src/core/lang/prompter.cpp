#include "prompter.h"
#include "langtext.h"

Prompter::Answer Prompter::message(int id, Buttons buttons, Icon icon, const QString& detail) {
    QString text = LoadLangText(id);
    if (!detail.isEmpty()) text += text.isEmpty() ? detail : QStringLiteral("\r\n") + detail;
    return ask(text, buttons, icon);
}

Prompter::Answer Prompter::safeAnswer(Buttons buttons) {
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::YesNo:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Prompter::Answer SilentPrompter::ask(const QString&, Buttons buttons, Icon) {
    switch (buttons) {
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::Yes;
    case Buttons::RetryCancel:
        return Answer::Retry;
    default:
        return Answer::Ok;
    }
}
