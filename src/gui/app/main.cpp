#include "childwindows.h"
#include "common/guiprompter.h"
#include "frmmain.h"
#include "frmsplash.h"

#include "core/app/appstate.h"
#include "core/app/buildinfo.h"
#include "core/app/startup.h"
#include "core/lang/languages.h"
#include "core/model/document.h"
#include "lang/qttranslations.h"
#include "link/sessioncontroller.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QTimer>
#include <memory>

namespace {
// mzprog FILE.dat opens the file (the file manager passes it the same way).
void describeOptions(QCommandLineParser& parser) {
    QCoreApplication::setApplicationName(QStringLiteral("mzprog"));
    QCoreApplication::setApplicationVersion(
        ProgramVersionLine(QString()).mid(1)); // "1.0.0 (git 0123456789ab)"
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("A .dat file to open."),
                                 QStringLiteral("[FILE.dat]"));
}

// --help and --version print and end; they need no display, so they are answered before the
// windowing system is touched (a package build runs them for its man page, without one).
bool asksOnlyForText(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if (a == "--") break;
        if (a == "-h" || a == "--help" || a == "-?" || a == "--help-all" || a == "-v" ||
            a == "--version")
            return true;
    }
    return false;
}
} // namespace

int main(int argc, char** argv) {
    if (asksOnlyForText(argc, argv)) {
        QCoreApplication text(argc, argv);
        QCommandLineParser parser;
        describeOptions(parser);
        parser.process(text); // prints and exits
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.mzprog.mzprog"));
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    const QString startFile = files.isEmpty() ? QString() : files.constFirst();

    Document doc;
    // A first start speaks the language the environment asks for (LANG=de_DE.UTF-8: German).
    StartUp(doc, QCoreApplication::applicationDirPath(), EnvironmentLocale());
    QApplication::setWindowIcon(QIcon::fromTheme(
        QStringLiteral("mzprog"), QIcon(App().ProgramDir + QStringLiteral("/mzprog.png"))));
    ApplyQtTranslations();

    GuiPrompter prompter;
    doc.setPrompter(&prompter);

    std::unique_ptr<frmMain> mainWindow;
    // Declared after the window so that it goes first: it detaches itself from the window.
    std::unique_ptr<SessionController> sessions;
    auto* splash = new frmSplash([&] {
        mainWindow = std::make_unique<frmMain>(doc, prompter);
        prompter.setParent(mainWindow.get());
        RegisterChildWindows(*mainWindow);
        sessions = std::make_unique<SessionController>(*mainWindow);
        mainWindow->Load();
        mainWindow->show();
        // Once the window is up, so that a refusal has a window to appear over.
        if (!startFile.isEmpty())
            QTimer::singleShot(0, mainWindow.get(),
                               [w = mainWindow.get(), startFile] { w->OpenStartFile(startFile); });
    });
    splash->show();
    const int rc = app.exec();
    doc.setPrompter(nullptr);
    return rc;
}
