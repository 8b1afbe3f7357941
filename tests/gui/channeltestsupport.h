#pragma once

// Shared setup of the channel window tests: the staged language files, a scripted prompter,
// documents with programmed channels, and the controls by objectName.

#include "core/app/appstate.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include <QApplication>
#include <QTest>

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QWidget>

// Answers from a script (OK when it runs out) and records every text it was shown.
class ScriptedPrompter : public Prompter {
public:
    QStringList shown;
    QList<Answer> answers;
    Answer ask(const QString& text, Buttons, Icon) override {
        shown << text;
        return answers.isEmpty() ? Answer::Ok : answers.takeFirst();
    }
};

inline void UseStagedLanguage(int language = 1) {
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().UseLanguage(static_cast<Language>(language));
}

inline void NewDocumentInMode(Document& doc, int mode) {
    doc.SetCountryMode(mode);
    doc.NewDocument();
}

// The 40 channels of the common CB plan, in MHz.
inline double CbPlanFrequency(int row) {
    static const double f[40] = {26.965, 26.975, 26.985, 27.005, 27.015, 27.025, 27.035, 27.055,
                                 27.065, 27.075, 27.085, 27.105, 27.115, 27.125, 27.135, 27.155,
                                 27.165, 27.175, 27.185, 27.205, 27.215, 27.225, 27.255, 27.235,
                                 27.245, 27.265, 27.275, 27.285, 27.295, 27.305, 27.315, 27.325,
                                 27.335, 27.345, 27.355, 27.365, 27.375, 27.385, 27.395, 27.405};
    return f[(row - 1) % 40];
}

// Adds channels for the given rows of a group (rows that exist are left alone).
inline void ProgramRows(Document& doc, int group, int firstRow, int lastRow,
                        double (*fre)(int) = CbPlanFrequency) {
    const int base = FirstCHOfGroup(group, doc.CountryMode);
    for (int r = firstRow; r <= lastRow; ++r)
        if (doc.FindChannel(base + r) < 0) doc.AddChannel(base + r, FormatFre(fre(r)));
}

template <class T = QComboBox> T* Ctl(QWidget* w, const char* name) {
    return w->findChild<T*>(QLatin1String(name));
}

// What the user does, as the channel window tests say it.
inline void showActive(QWidget* w) {
    w->show();
    w->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(w));
}
// The user picks an item of a list.
inline void choose(QComboBox* c, int index) {
    c->setCurrentIndex(index);
    emit c->activated(index);
}
inline void choose(QComboBox* c, const QString& text) {
    const int i = c->findText(text);
    QVERIFY2(i >= 0, qPrintable(text));
    choose(c, i);
}
// Key presses go where the focus is, as the user's would.
inline void key(Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), k, m);
}
inline void typeKeys(const QString& text) {
    for (QChar ch : text)
        QTest::keyClick(QApplication::focusWidget(), ch.toLatin1());
}
