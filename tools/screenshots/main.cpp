// Takes the screenshots of docs/screenshots on a running X server (tools/screenshots.sh
// starts one with a window manager): the main window in English and Chinese, the serial port
// dialog and the progress window.
//
//   mzshots PROGRAM_DIR OUTPUT_DIR [--all]
//
// --all adds the other dialogs (About, model information, language, password), for checking.

#include "app/childwindows.h"
#include "app/frmabout.h"
#include "app/frmmain.h"
#include "app/guiprompter.h"
#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/model/document.h"
#include "lang/frmsetlanguage.h"
#include "lang/qttranslations.h"
#include "link/frmpassword.h"
#include "link/frmprogress.h"
#include "link/frmsetcomm.h"
#include "model/frmmodelinfo.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QScreen>
#include <QTextStream>
#include <QTimer>

namespace {
void wait(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The window with its frame, as the window manager drew it.
bool shoot(QWidget* w, const QString& file, int margin = 0) {
    w->raise();
    w->activateWindow();
    wait(600);
    const QRect r = w->frameGeometry().adjusted(-margin, -margin, margin, margin);
    const QPixmap p =
        QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    const bool ok = !p.isNull() && p.save(file);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << file << "\n";
    return ok;
}

void setLanguage(int lang) {
    App().CurLanguage = lang;
    App().LangFile = lang == 2 ? QStringLiteral("chinese.ini") : QStringLiteral("english.ini");
    ApplyQtTranslations();
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) {
        QTextStream(stderr) << "usage: mzshots PROGRAM_DIR OUTPUT_DIR [--all]\n";
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    Document doc;
    StartUp(doc, QString::fromLocal8Bit(argv[1]), QLocale(QLocale::English));
    QApplication::setWindowIcon(QIcon(App().ProgramDir + QStringLiteral("/mzprog.png")));
    setLanguage(1);
    App().ShownLanguage = 1;
    GuiPrompter prompter;
    doc.setPrompter(&prompter);

    frmMain main(doc, prompter);
    RegisterChildWindows(main);
    main.Load();
    main.setGeometry(60, 60, 900, 620);
    main.show();
    wait(800);
    bool ok = shoot(&main, out + QStringLiteral("/main-en.png"));

    {
        FrmSetComm port(&main);
        port.show();
        port.move(main.geometry().center() - port.rect().center());
        ok = shoot(&port, out + QStringLiteral("/port-en.png"), 12) && ok;
    }
    {
        FrmProgress progress(1, &main);
        progress.show();
        progress.move(main.geometry().center() - progress.rect().center());
        wait(100);
        progress.ShowProgress(0x0C80, 7423);
        ok = shoot(&progress, out + QStringLiteral("/progress-en.png"), 12) && ok;
        progress.Finish();
    }

    if (argc > 3 && QByteArray(argv[3]) == "--all") {
        auto dialog = [&](QDialog* d, const char* name) {
            d->show();
            d->move(main.geometry().center() - d->rect().center());
            ok = shoot(d, out + QLatin1Char('/') + QLatin1String(name), 12) && ok;
            delete d;
        };
        dialog(new frmAbout(&main), "about.png");
        dialog(new FrmModelInfo(doc, prompter, &main), "model.png");
        dialog(new FrmSetLanguage(&main), "language.png");
        dialog(new FrmPassWord(QStringLiteral("ab"), &main), "password.png");
    }

    setLanguage(2);
    main.CheckLanguage();
    wait(300);
    ok = shoot(&main, out + QStringLiteral("/main-zh.png")) && ok;
    return ok ? 0 : 1;
}
