#pragma once

// Shared by the channel window tests: the controls by objectName and what the user does.
// (The staged language, the prompter and the document builders are in tests/support.)

#include "core/app/appstate.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "support/documentbuilders.h"
#include "support/scriptedprompter.h"
#include <QApplication>
#include <QTest>

#include <QComboBox>
#include <QLineEdit>
#include <QList>
#include <QStringList>
#include <QWidget>

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
