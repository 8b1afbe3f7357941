#pragma once

// What the window tests share: a private copy of the runtime tree (so settings files written
// by the tests never touch the build's), a prompter that answers from a script and records
// what it was asked, and a helper that acts on the next modal dialog.

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

struct Asked {
    QString text;
    Prompter::Buttons buttons;
    Prompter::Icon icon;
};

class ScriptedPrompter : public Prompter {
public:
    QList<Answer> answers;
    QList<Asked> asked;
    bool exhausted = false;

    Answer ask(const QString& text, Buttons buttons, Icon icon) override {
        asked.append({text, buttons, icon});
        if (answers.isEmpty()) {
            exhausted = true;
            return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
        }
        return answers.takeFirst();
    }
    void reset(QList<Answer> script = {}) {
        answers = std::move(script);
        asked.clear();
        exhausted = false;
    }
    QStringList texts() const {
        QStringList r;
        for (const Asked& a : asked)
            r << a.text;
        return r;
    }
};

// A runtime tree in a temporary folder: Version.ini, language/mysetup.ini and
// V100/language/*.ini, with the per-user stores redirected into it as well.
class TestTree {
public:
    QTemporaryDir dir;

    explicit TestTree(int language = 1, const QString& comPort = QStringLiteral("1")) {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        BackupStore::setDefaultDir(dir.filePath(QStringLiteral("backups")));
        QDir root(dir.path());
        root.mkpath(QStringLiteral("V100/language"));
        root.mkpath(QStringLiteral("language"));
        for (const char* f : {"english.ini", "chinese.ini"})
            QFile::copy(QStringLiteral(MZ_PROGDIR "/language/") + QLatin1String(f),
                        progDir() + QStringLiteral("/language/") + QLatin1String(f));
        QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"), dir.filePath("Version.ini"));
        QFile setup(mysetup());
        setup.open(QIODevice::WriteOnly);
        setup.write(QStringLiteral("[language]\nIsFirstRun=0\ncomPort=%1\nCurrentLanguage=%2\n")
                        .arg(comPort)
                        .arg(language)
                        .toUtf8());
    }
    QString progDir() const { return dir.filePath(QStringLiteral("V100")); }
    QString mysetup() const { return dir.filePath(QStringLiteral("language/mysetup.ini")); }
    QString setupText() const {
        QFile f(mysetup());
        f.open(QIODevice::ReadOnly);
        return QString::fromUtf8(f.readAll());
    }
    void startUp(Document& doc) const {
        App() = AppState();
        StartUp(doc, progDir(), QLocale(QLocale::English, QLocale::UnitedStates));
    }
};

// Runs action on the next modal dialog once it is up (polled from the event loop, as a user
// would act on it). A dialog that the action left open (a failed check returns early) is
// closed, so that a failure never hangs the test.
inline void onNextModal(std::function<void(QWidget*)> action, int triesLeft = 200) {
    QTimer::singleShot(10, [action = std::move(action), triesLeft]() mutable {
        if (QWidget* w = QApplication::activeModalWidget()) {
            QPointer<QWidget> dialog(w);
            action(w);
            if (dialog && dialog->isVisible() && QApplication::activeModalWidget() == dialog)
                QMetaObject::invokeMethod(dialog, "reject");
            return;
        }
        if (triesLeft > 0) onNextModal(std::move(action), triesLeft - 1);
    });
}

template <class T> T* child(QObject* parent, const char* name) {
    T* c = parent->findChild<T*>(QLatin1String(name));
    if (!c) qWarning("no child %s", name);
    return c;
}
