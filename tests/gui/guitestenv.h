#pragma once

// What the window tests share: a private copy of the runtime tree (so settings files written
// by the tests never touch the build's) and a helper that acts on the next modal dialog.

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"
#include "support/scriptedprompter.h"
#include "support/testlanguage.h"

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
#include <memory>

// A runtime tree in a temporary folder: Version.ini, language/mysetup.ini and
// V100/language/*.ini (every staged language and the long test language, testlong.ini), with
// the per-user stores redirected into it as well. language is CurrentLanguage; with 3,
// languageFile names the file.
class TestTree {
public:
    QTemporaryDir dir;

    explicit TestTree(int language = 1, const QString& comPort = QStringLiteral("1"),
                      const QString& languageFile = QString()) {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.filePath("config"));
        BackupStore::setDefaultDir(dir.filePath(QStringLiteral("backups")));
        QDir root(dir.path());
        root.mkpath(QStringLiteral("V100/language"));
        root.mkpath(QStringLiteral("language"));
        const QDir staged(QStringLiteral(MZ_PROGDIR "/language"));
        for (const QString& f : staged.entryList({QStringLiteral("*.ini")}, QDir::Files))
            QFile::copy(staged.filePath(f), progDir() + QStringLiteral("/language/") + f);
        WriteTestLanguage(staged.filePath(QStringLiteral("english.ini")),
                          progDir() + QStringLiteral("/language"));
        QFile::copy(QStringLiteral(MZ_STAGE_DIR "/Version.ini"), dir.filePath("Version.ini"));
        QFile setup(mysetup());
        setup.open(QIODevice::WriteOnly);
        setup.write(QStringLiteral("[language]\nIsFirstRun=0\ncomPort=%1\nCurrentLanguage=%2\n")
                        .arg(comPort)
                        .arg(language)
                        .toUtf8());
        if (!languageFile.isEmpty())
            setup.write(QStringLiteral("LanguageFile=%1\n").arg(languageFile).toUtf8());
    }
    // A tree that starts in the language of a file ("german.ini").
    static std::unique_ptr<TestTree> speaking(const QString& languageFile) {
        if (languageFile == QLatin1String("english.ini")) return std::make_unique<TestTree>(1);
        if (languageFile == QLatin1String("chinese.ini")) return std::make_unique<TestTree>(2);
        return std::make_unique<TestTree>(3, QStringLiteral("1"), languageFile);
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

// Every language a window test runs in: the staged files (English first) and the long test
// language.
inline QStringList TestLanguageFiles() {
    QStringList files;
    for (const LanguageInfo& l : FindLanguages(QStringLiteral(MZ_PROGDIR "/language")))
        files << l.file;
    return files << QStringLiteral("testlong.ini");
}

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
