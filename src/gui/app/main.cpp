#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/model/document.h"
#include "placeholder.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Document doc;
    StartUp(doc, QCoreApplication::applicationDirPath());
    QApplication::setApplicationName(App().AppTitle);
    StartupStateView view(doc);
    view.show();
    return app.exec();
}
