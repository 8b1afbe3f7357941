// Takes the screenshots of docs/screenshots on a running X server (tools/screenshots.sh
// starts one with a window manager): the main window in English and Chinese (with its start
// panel and with the channel table), the serial port dialog in both languages, the progress
// window during a read from the virtual radio, the tone-tips window, the channel table's
// context menu and the print preview in both languages; the main window in every further
// language found.
//
//   mzshots PROGRAM_DIR OUTPUT_DIR [--all]
//
// --all adds the other dialogs (About, model information, language, password, channel import),
// for checking.

#include "app/childwindows.h"
#include "app/frmabout.h"
#include "app/frmbackups.h"
#include "app/frmmain.h"
#include "app/printcommands.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmchannelimport.h"
#include "channels/frmcommchinfo.h"
#include "common/frmhelp.h"
#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/files/backups.h"
#include "core/files/datafile.h"
#include "core/lang/languages.h"
#include "core/lang/prompter.h"
#include "core/link/session.h"
#include "core/model/document.h"
#include "lang/frmsetlanguage.h"
#include "lang/qttranslations.h"
#include "link/frmpassword.h"
#include "link/frmsetcomm.h"
#include "link/sessioncontroller.h"
#include "model/frmmodelinfo.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QEventLoop>
#include <QGuiApplication>
#include <QIcon>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTemporaryDir>
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

// A real read from the virtual radio holding the demo memory, paced like a 9600-baud line,
// with the progress window shot part of the way through.
bool shootRead(frmMain& main, const QString& file) {
    QTemporaryDir tmp;
    const QString memory = tmp.filePath(QStringLiteral("memory.bin"));
    QProcess pack;
    pack.start(App().ProgramDir + QStringLiteral("/mzcli"),
               {QStringLiteral("pack"), App().ProgramDir + QStringLiteral("/demo/demo.dat"),
                QStringLiteral("-o"), memory});
    if (!pack.waitForFinished(10000) || pack.exitCode() != 0) {
        QTextStream(stderr) << "FAILED to pack the demo memory\n";
        return false;
    }
    QProcess sim;
    sim.start(
        App().ProgramDir + QStringLiteral("/mzsim"),
        {QStringLiteral("--baud"), QStringLiteral("9600"), QStringLiteral("--image"), memory});
    while (sim.waitForReadyRead(5000) && !sim.canReadLine()) {
    }
    const QString port = QString::fromLocal8Bit(sim.readLine()).trimmed();
    if (port.isEmpty()) {
        QTextStream(stderr) << "FAILED to start mzsim\n";
        return false;
    }
    App().PortName = port;

    bool ok = false;
    bool shot = false;
    SessionController sessions(main);
    QObject::connect(&sessions.session(), &LinkSession::progress, &main, [&](int percent) {
        if (shot || percent < 40) return;
        shot = true;
        // Out of the session's own call: the window is shot while the read goes on.
        QTimer::singleShot(0, &main, [&] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                w->move(main.geometry().center() - w->rect().center());
                ok = shoot(w, file, 12);
            }
        });
    });
    sessions.start(CommKind::Read);
    // The read data reaches the document and the channel table opens.
    wait(800);
    sim.terminate();
    sim.waitForFinished(3000);
    App().PortName.clear();
    return ok;
}

// The main window with the tone-tips window open on tip 4, filling most of the child area.
bool shootToneTips(frmMain& main, const QString& file) {
    const QRect old = main.geometry();
    main.setGeometry(40, 30, 1000, 740);
    QWidget* w = main.ShowChildForm(QStringLiteral("FrmToneTips"));
    if (!w) return false;
    if (auto* tabs = w->findChild<QTabBar*>(QStringLiteral("TabStrip1"))) tabs->setCurrentIndex(3);
    for (QMdiSubWindow* sub : main.mdiArea()->subWindowList())
        if (sub->widget() == w) {
            sub->move(10, 10);
            sub->resize(main.mdiArea()->width() - 20, main.mdiArea()->height() - 20);
        }
    wait(300);
    const bool ok = shoot(&main, file);
    main.CloseFormsNamed(QStringLiteral("FrmToneTips"));
    main.setGeometry(old);
    return ok;
}

// Settings > Serial Port with two USB cables listed and the connection test of the virtual
// radio's port (the session's port) answered.
bool shootPort(frmMain& main, const QString& file) {
    FrmSetComm::setPortLister([] {
        return QList<PortEntry>{
            {"ttyUSB0", "/dev/ttyUSB0", "FTDI FT232R (0403:6001), S/N A10K1234",
             "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K1234-if00-port0", QString()},
            {"ttyUSB1", "/dev/ttyUSB1", "WCH CH340 (1a86:7523)", QString(), QString()}};
    });
    FrmSetComm port(&main);
    port.show();
    port.move(main.geometry().center() - port.rect().center());
    if (auto* list = port.findChild<QListWidget*>(QStringLiteral("ListPorts")))
        list->setCurrentRow(list->count() - 1); // the virtual radio
    if (auto* test = port.findChild<QPushButton*>(QStringLiteral("CommandTest"))) test->click();
    wait(1500);
    port.adjustSize();
    const bool ok = shoot(&port, file, 12);
    FrmSetComm::setPortLister(nullptr);
    return ok;
}

// File > Print: the preview of the report, on its first page.
bool shootPreview(frmMain& main, const QString& file) {
    QPrintPreviewDialog* dlg = main.printCommands().preview();
    wait(800);
    const bool ok = shoot(dlg, file);
    dlg->close();
    wait(200);
    return ok;
}

// The channel table with rows 3 to 5 selected and its context menu open over them.
bool shootChannelMenu(frmMain& main, const QString& file) {
    auto* table = qobject_cast<frmCommChInfo*>(main.ShowChildForm(QStringLiteral("frmCommChInfo")));
    if (!table) return false;
    table->selectRows(3, 5);
    wait(300);
    ChannelGridView* grid = table->grid();
    const QPoint at = grid->visualRect(table->tableModel()->index(3, 1)).center();
    bool ok = false;
    QTimer::singleShot(600, &main, [&] {
        QWidget* popup = QApplication::activePopupWidget();
        if (!popup) return;
        const QRect r = main.frameGeometry().united(popup->frameGeometry());
        const QPixmap p =
            QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height());
        ok = !p.isNull() && p.save(file);
        QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << file << "\n";
        popup->close();
    });
    QContextMenuEvent e(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(grid->viewport(), &e);
    return ok;
}

// The manual at the chapter on the cable, as F1 in the serial port window opens it.
bool shootHelp(frmMain& main, const QString& file) {
    FrmHelp* help = showHelp(&main, QStringLiteral("cable"));
    help->setGeometry(main.geometry().adjusted(40, 30, 0, 0));
    const bool ok = shoot(help, file);
    help->close();
    return ok;
}

void setLanguage(int lang) {
    App().UseLanguage(static_cast<Language>(lang));
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
    App().ShownLangFile = App().LangFile;
    // The read answers its own questions (OK to start, OK to the closing message).
    SilentPrompter prompter;
    doc.setPrompter(&prompter);

    frmMain main(doc, prompter);
    RegisterChildWindows(main);
    main.Load();
    main.setGeometry(60, 60, 900, 620);
    main.show();
    wait(800);
    // The start panel, then the channel table picked in its place.
    bool ok = shoot(&main, out + QStringLiteral("/start-en.png"));
    main.ShowChildForm(QStringLiteral("frmCommChInfo"));
    wait(300);
    ok = shoot(&main, out + QStringLiteral("/main-en.png")) && ok;

    ok = shootPort(main, out + QStringLiteral("/port-en.png")) && ok;
    ok = shootRead(main, out + QStringLiteral("/progress-en.png")) && ok;
    ok = shootToneTips(main, out + QStringLiteral("/tonetips-en.png")) && ok;
    ok = shootChannelMenu(main, out + QStringLiteral("/channel-menu-en.png")) && ok;
    {
        // File > Backups with three reads of the demo radio kept.
        QTemporaryDir tmp;
        BackupStore store(tmp.path());
        Document demo;
        demo.setPrompter(&prompter);
        LoadDataFile(demo, App().ProgramDir + QStringLiteral("/demo/demo.dat"));
        demo.FillFileHead(demo.RadioData.Head);
        const QDateTime t = QDateTime::currentDateTime();
        for (int i = 3; i >= 1; --i)
            store.save(demo.RadioData, demo.CHInfo, t.addSecs(-86400LL * i * 3 - 600 * i));
        FrmBackups backups(tmp.path(), &main);
        backups.show();
        backups.move(main.geometry().center() - backups.rect().center());
        ok = shoot(&backups, out + QStringLiteral("/backups-en.png"), 12) && ok;
    }
    ok = shootPreview(main, out + QStringLiteral("/print-preview-en.png")) && ok;
    ok = shootHelp(main, out + QStringLiteral("/help-en.png")) && ok;

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
        // A channel file from elsewhere, as the import shows its report before anything
        // changes.
        const QByteArray csv = "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq\n"
                               "402,Club,27.185,,0,Tone,88.5,88.5\n"
                               "403,Repeater,29.62,-,0.1,TSQL,88.5,100.0\n"
                               "404,Local,27.205,,0,,88.5,88.5\n";
        dialog(new FrmChannelImport(doc, csv, 8, 1, &main), "import.png");
    }

    setLanguage(2);
    main.CheckLanguage();
    wait(300);
    ok = shoot(&main, out + QStringLiteral("/main-zh.png")) && ok;
    main.showStartPanel();
    wait(300);
    ok = shoot(&main, out + QStringLiteral("/start-zh.png")) && ok;
    main.hideStartPanel();
    ok = shootToneTips(main, out + QStringLiteral("/tonetips-zh.png")) && ok;
    ok = shootChannelMenu(main, out + QStringLiteral("/channel-menu-zh.png")) && ok;
    ok = shootPort(main, out + QStringLiteral("/port-zh.png")) && ok;
    ok = shootPreview(main, out + QStringLiteral("/print-preview-zh.png")) && ok;
    ok = shootHelp(main, out + QStringLiteral("/help-zh.png")) && ok;

    // The main window with its channel table in every further language found, named by the
    // language's code (main-de.png).
    for (const LanguageInfo& l : FindLanguages(App().langDir())) {
        if (l.file == LangFileName(Language::English) ||
            l.file == LangFileName(Language::Chinese) || l.locale.isEmpty())
            continue;
        App().UseLanguageFileNamed(l.file);
        ApplyQtTranslations();
        main.CheckLanguage();
        wait(300);
        ok = shoot(&main, out + QStringLiteral("/main-%1.png").arg(l.locale)) && ok;
    }
    return ok ? 0 : 1;
}
