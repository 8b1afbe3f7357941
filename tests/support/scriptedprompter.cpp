#include "support/scriptedprompter.h"

#include "core/lang/langtext.h"

#include <QTest>

Prompter::Answer ScriptedPrompter::ask(const QString& text, Buttons buttons, Icon icon) {
    asked.append({text, buttons, icon});
    if (onAsk) onAsk();
    for (const Expected& e : expected_)
        if (e.id ? isMessage(text, e.id) : text.contains(e.part)) return e.answer;
    if (!answers.isEmpty()) return answers.takeFirst();
    if (any_) return *any_;
    unexpected << text;
    QTest::qFail(qPrintable(QStringLiteral("unexpected message: \"%1\"").arg(text)), __FILE__,
                 __LINE__);
    return safeAnswer(buttons);
}

ScriptedPrompter& ScriptedPrompter::expect(int id, Answer answer) {
    expected_.append({id, QString(), answer});
    return *this;
}

ScriptedPrompter& ScriptedPrompter::expect(const QString& part, Answer answer) {
    expected_.append({0, part, answer});
    return *this;
}

void ScriptedPrompter::reset(QList<Answer> script) {
    answers = std::move(script);
    asked.clear();
    unexpected.clear();
    expected_.clear();
    any_.reset();
}

QStringList ScriptedPrompter::texts() const {
    QStringList r;
    for (const Asked& a : asked)
        r << a.text;
    return r;
}

bool ScriptedPrompter::isMessage(const QString& text, int id) {
    const QString t = LoadLangText(id);
    return !t.isEmpty() && (text == t || text.startsWith(t + QStringLiteral("\r\n")));
}

bool ScriptedPrompter::wasMessage(int i, int id) const {
    return i >= 0 && i < asked.size() && isMessage(asked[i].text, id);
}

int ScriptedPrompter::count(int id) const {
    int n = 0;
    for (const Asked& a : asked)
        n += isMessage(a.text, id);
    return n;
}

int ScriptedPrompter::count(const QString& part) const {
    int n = 0;
    for (const Asked& a : asked)
        n += a.text.contains(part);
    return n;
}
