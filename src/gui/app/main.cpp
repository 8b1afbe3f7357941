#include "childwindows.h"
#include "frmmain.h"
#include "frmsplash.h"
#include "guiprompter.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/model/document.h"
#include "lang/qttranslations.h"
#include "link/sessioncontroller.h"

#include <QApplication>
#include <QIcon>
#include <memory>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("mzprog"));
    QApplication::setDesktopFileName(QStringLiteral("org.mzprog.mzprog"));

    Document doc;
    StartUp(doc, QCoreApplication::applicationDirPath());
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
    });
    splash->show();
    const int rc = app.exec();
    doc.setPrompter(nullptr);
    return rc;
}
