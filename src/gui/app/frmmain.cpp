#include "frmmain.h"
#include "channelcsvcommands.h"
#include "channels/channeleditstate.h"
#include "channels/channelrowcommands.h"
#include "common/frmhelp.h"
#include "common/guiprompter.h"
#include "common/screenplace.h"
#include "common/twips.h"
#include "core/model/documenthistory.h"
#include "frmabout.h"
#include "printcommands.h"
#include "startpanel.h"
#include "statusline.h"
#include "treesplitter.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"
#include "core/lang/prompter.h"
#include "core/link/session.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "lang/chinesefont.h"
#include "lang/frmsetlanguage.h"
#include "lang/qttranslations.h"
#include "link/frmpassword.h"
#include "link/frmsetcomm.h"
#include "link/virtualradioprocess.h"
#include "model/frmmodelinfo.h"
#include "model/frmnewmode.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QUrl>
#include <QWindow>
#include <algorithm>

namespace {
const QString kChannelTable = QStringLiteral("frmCommChInfo");

// On X11 a child window's own Close answers Ctrl+W as well as Ctrl+F4. Ctrl+W is Write to
// Radio here; with both in one window neither would fire ("Ambiguous shortcut overload"), so
// the child window keeps Ctrl+F4 only.
void releaseCtrlW(QMdiSubWindow* sw) {
    const QKeySequence ctrlW(Qt::CTRL | Qt::Key_W);
    QList<QAction*> actions = sw->actions();
    if (QMenu* m = sw->systemMenu()) actions += m->actions();
    for (QAction* a : actions) {
        QList<QKeySequence> keys = a->shortcuts();
        if (keys.removeAll(ctrlW) > 0) a->setShortcuts(keys);
    }
}

QString fileFilter() {
    return LoadLangText(9001) + QStringLiteral(" (*.dat)");
}
} // namespace

frmMain::frmMain(Document& doc, Prompter& prompter, QWidget* parent)
    : QMainWindow(parent), doc_(doc), prompter_(prompter), commands_(doc, *this, prompter) {
    setObjectName(QStringLiteral("frmMain"));
    buildMenus();
    buildToolBar();
    buildTreePanel();
    buildStatusBar();
    channelCsv_ = new ChannelCsvCommands(doc_, prompter_, this);
    connect(channelCsv_, &ChannelCsvCommands::status, this,
            [this](const QString& text) { showStatusMessage(text); });
    print_ = new PrintCommands(doc_, prompter_, this);
    connect(print_, &PrintCommands::status, this,
            [this](const QString& text) { showStatusMessage(text); });
    connect(this, &frmMain::closing, print_, &PrintCommands::closePreview);
    connectCommands();
    connectStartPanel();
    installDialogHelpKey();
    buildRecordExtras();
    buildBatchWrite();
    buildEditCommands();

    clock_ = new QTimer(this);
    clock_->setObjectName(QStringLiteral("ClockTimer"));
    clock_->setInterval(1000);
    connect(clock_, &QTimer::timeout, this, &frmMain::updateClock);
    clock_->start();
    updateClock();

    // The write starts 100 ms after the command, once the editors' commits have settled.
    WaitSaveDataTimer_ = new QTimer(this);
    WaitSaveDataTimer_->setObjectName(QStringLiteral("WaitSaveDataTimer"));
    WaitSaveDataTimer_->setSingleShot(true);
    WaitSaveDataTimer_->setInterval(100);
    connect(WaitSaveDataTimer_, &QTimer::timeout, this, [this] { startSession(CommKind::Write); });

    // Whatever replaces the document (a read, an opened file) shows in the caption.
    connect(&doc_, &Document::stateChanged, this, &frmMain::ShowMainTxt);
    // A value a channel window stored moved from what was typed is said here.
    connect(&ChannelEditState::of(doc_), &ChannelEditState::statusNote, this,
            [this](const QString& text) { showStatusMessage(text); });
    connect(&doc_, &Document::documentReplaced, this, &frmMain::ShowMainTxt);
    // A document opened, read, started or imported is the one to work on.
    connect(&doc_, &Document::documentReplaced, this, &frmMain::hideStartPanel);
    // The reports and failures the message boxes told stay in Window > Messages.
    if (auto* boxes = dynamic_cast<GuiPrompter*>(&prompter_))
        boxes->setRecorder([this](const QString& text) { recordMessage(text); });
}

frmMain::~frmMain() {
    // The child windows die after this body, and what they store on their way out must not
    // reach a main window whose members are gone.
    disconnect(&doc_, nullptr, this, nullptr);
    if (auto* boxes = dynamic_cast<GuiPrompter*>(&prompter_)) boxes->setRecorder(nullptr);
    if (titleTimer_) disconnect(&doc_, nullptr, titleTimer_, nullptr);
    disconnect(&doc_.history(), nullptr, this, nullptr);
    disconnect(mdi_, nullptr, this, nullptr);
    if (rowCommands_) {
        disconnect(&doc_, nullptr, rowCommands_, nullptr);
        disconnect(rowCommands_, nullptr, this, nullptr);
    }
}

void frmMain::Load() {
    if (loaded_) return;
    loaded_ = true;
    restoreGeometryTwips();
    SetLanguageTexts();
    LoadTree();
    commands_.LoadNewDoc2();
    ShowCHInfo(false);
    // The document built here is none the user chose: the panel shows the ways to one.
    showStartPanel();
}

bool frmMain::eventFilter(QObject* watched, QEvent* e) {
    // The area for the child windows is laid out only when the window shows, and shrinks with
    // it: the child windows follow it.
    if (watched == mdi_->viewport() && e->type() == QEvent::Resize) {
        fitSubWindows();
        // The area may grow after a window took its room (the main window grows for a longer
        // language): the window takes the new room too.
        useRoomInSubWindows();
    }
    return QMainWindow::eventFilter(watched, e);
}

void frmMain::showEvent(QShowEvent* e) {
    Load();
    QMainWindow::showEvent(e);
    // A window manager that placed the client area where the frame was meant to go leaves the
    // title bar above the screen, where the window cannot be moved: once the frame is known
    // (it arrives after the window is mapped), the frame is put back into the work area.
    if (!frameChecked_) {
        frameChecked_ = true;
        QTimer::singleShot(0, this, &frmMain::keepFrameOnScreen);
        QTimer::singleShot(300, this, &frmMain::keepFrameOnScreen);
    }
}

void frmMain::keepFrameOnScreen() {
    ::keepFrameOnScreen(this);
}

QAction* frmMain::action(const char* name) const {
    return actions_.value(QLatin1String(name));
}

QMenu* frmMain::menu(const char* name) const {
    return menus_.value(QLatin1String(name));
}

void frmMain::connectCommands() {
    auto on = [this](const char* name, auto slot) {
        connect(action(name), &QAction::triggered, this, slot);
    };
    auto open = [this](const char* name, const QString& form) {
        connect(action(name), &QAction::triggered, this, [this, form] { ShowChildForm(form); });
    };
    // A value still being typed counts before the save question of New, Open and Exit, or it
    // would be lost without being asked about.
    on("mnuFileNew", [this] {
        commitEditors({});
        commands_.FileNew();
    });
    on("mnuFileOpen", [this] {
        commitEditors({});
        commands_.FileOpen();
    });
    on("mnuFileSave", [this] {
        commitEditors({});
        commands_.FileSave();
    });
    on("mnuFileSaveAs", [this] {
        commitEditors({});
        commands_.FileSaveAs();
    });
    on("mnuFileExportChannels", [this] {
        commitEditors({});
        channelCsv_->exportChannels();
    });
    on("mnuFileImportChannels", [this] {
        commitEditors({});
        channelCsv_->importChannels();
    });
    // The report shows what is being typed, too.
    for (const char* name : {"mnuFilePrint", "Print"})
        on(name, [this] {
            commitEditors({});
            print_->preview();
        });
    on("mnuFileExportPdf", [this] {
        commitEditors({});
        print_->exportPdf();
    });
    on("mnuFileExit", [this] { close(); });
    on("mnuModelInfo", &frmMain::mnuModelInfo);
    open("mnuChannelInfo", kChannelTable);
    open("mnuOptFeature", QStringLiteral("FrmOptFeatures"));
    open("mnuToneTips", QStringLiteral("FrmToneTips"));
    open("MnuDTMF", QStringLiteral("FrmDTMF"));
    open("MnuKey", QStringLiteral("FrmKey"));
    on("MnuLocalInfo", &frmMain::MnuLocalInfo);
    on("mnuReadFromRadio", &frmMain::mnuReadFromRadio);
    on("mnuWriteToRadio", &frmMain::mnuWriteToRadio);
    on("MnuProPassWord", &frmMain::MnuProPassWord);
    on("mnuComm", &frmMain::mnuComm);
    on("mnuLanguage", &frmMain::mnuLanguage);
    on("MnuInit", [this] {
        commitEditors({});
        commands_.Init();
    });
    on("mnuTreeView", [this] { setTreeVisible(!Picture1_->isVisibleTo(this)); });
    connect(action("mnuViewToolbar"), &QAction::toggled, tbToolBar_, &QWidget::setVisible);
    connect(action("mnuViewStatusBar"), &QAction::toggled, statusBar(), &QWidget::setVisible);
    on("mnuWindowCascade", [this] { cascadeSubWindows(); });
    on("mnuWindowTileHorizontal", [this] { mdi_->tileSubWindows(); });
    on("mnuWindowTileVertical", [this] { mdi_->tileSubWindows(); });
    on("mnuCloseAll", &frmMain::CloseCurAllWindows);
    on("mnuHelpTopic", &frmMain::mnuHelpTopic);
    on("mnuHelpAbout", &frmMain::mnuHelpAbout);

    // The toolbar's New skips the 9026 confirmation, but never throws unsaved work away
    // without the 9006 question.
    on("NewFile", [this] {
        commitEditors({});
        commands_.ToolbarNew();
    });
    on("OpenFile", [this] {
        commitEditors({});
        commands_.FileOpen();
    });
    on("SaveFile", [this] {
        commitEditors({});
        commands_.FileSave();
    });
    on("ReadRadio", &frmMain::mnuReadFromRadio);
    on("CommSet", &frmMain::mnuComm);
    on("WriteRadio", &frmMain::mnuWriteToRadio);
    on("About", &frmMain::mnuHelpAbout);
}

// --- Geometry ---

int frmMain::twipsToPixelsX(int twips) const {
    return ::twipsToPixelsX(this, twips);
}
int frmMain::twipsToPixelsY(int twips) const {
    return ::twipsToPixelsY(this, twips);
}
int frmMain::pixelsToTwipsX(int px) const {
    return ::pixelsToTwipsX(this, px);
}
int frmMain::pixelsToTwipsY(int px) const {
    return ::pixelsToTwipsY(this, px);
}

void frmMain::restoreGeometryTwips() {
    const QRect t = LoadMainWindowTwips();
    QRect px(twipsToPixelsX(t.x()), twipsToPixelsY(t.y()), twipsToPixelsX(t.width()),
             twipsToPixelsY(t.height()));
    px.setWidth(std::max(px.width(), 320));
    px.setHeight(std::max(px.height(), 240));
    // A position stored on a screen that is no longer there comes back onto the main screen.
    bool onScreen = false;
    for (QScreen* s : QGuiApplication::screens())
        onScreen = onScreen || s->availableGeometry().intersects(px.adjusted(0, 0, -40, -40));
    if (!onScreen)
        if (QScreen* s = QGuiApplication::primaryScreen())
            px.moveTopLeft(s->availableGeometry().topLeft());
    // A size stored on a larger screen, or at a smaller scale, is cut to the screen the window
    // opens on, and the window with its frame kept inside it.
    QScreen* screen = QGuiApplication::screenAt(px.center());
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (screen) {
        // The frame is known once the platform window exists; before the window manager has
        // reported it, room for a title bar is kept.
        winId();
        QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        if (frame.isNull())
            frame = QMargins(0, style()->pixelMetric(QStyle::PM_TitleBarHeight), 0, 0);
        const QRect avail = screen->availableGeometry();
        QRect outer = px.marginsAdded(frame);
        outer.setWidth(std::min(outer.width(), avail.width()));
        outer.setHeight(std::min(outer.height(), avail.height()));
        if (outer.right() > avail.right()) outer.moveRight(avail.right());
        if (outer.bottom() > avail.bottom()) outer.moveBottom(avail.bottom());
        outer.moveLeft(std::max(outer.left(), avail.left()));
        outer.moveTop(std::max(outer.top(), avail.top()));
        px = QRect(outer.topLeft(), outer.marginsRemoved(frame).size());
    }
    move(px.topLeft());
    resize(px.size());
}

QRect frmMain::geometryTwips() const {
    const QPoint p = pos();
    return QRect(pixelsToTwipsX(p.x()), pixelsToTwipsY(p.y()), pixelsToTwipsX(width()),
                 pixelsToTwipsY(height()));
}

// --- Texts ---

QString frmMain::statusModelText() const {
    return TrimFixed(doc_.ModelName) + QLatin1Char('[') + ModeName(doc_.CountryMode) +
           QLatin1Char(':') + doc_.BandText + QLatin1Char(']');
}

void frmMain::ShowMainTxt() {
    const QString model = TrimFixed(doc_.ModelName);
    const QString mode = ModeName(doc_.CountryMode);
    // The band itself in every mode: the CB band says more than the word "Frequency". While
    // the start panel says that no document is open (the start-up one is untouched), the
    // title names none either.
    const bool noDocument = centralStack_ && startPanelShown() && doc_.untouchedNew();
    setWindowTitle(
        LoadLangText(12000) + QLatin1Char('[') + model + QLatin1Char(':') + mode +
        QLatin1Char(':') + doc_.BandText + QLatin1Char(']') +
        (noDocument
             ? QString()
             : QLatin1Char('[') + LoadLangText(12009) + QLatin1Char(':') + doc_.title() +
                   (doc_.IsDataChanged() ? QStringLiteral("*") : QString()) + QLatin1Char(']')) +
        (radioWarningNote_.isEmpty() ? QString() : QStringLiteral(" \u26a0 ") + radioWarningNote_));
    Label1_->setText(model + QLatin1Char(':') + mode);
    if (QTreeWidgetItem* root = TreeView1_->topLevelItem(0)) root->setText(0, Label1_->text());
    panels_[1]->setText(statusModelText());
}

void frmMain::ShowPortText() {
    const AppState& a = App();
    QString port;
    if (a.PortName.isEmpty())
        port = QStringLiteral("COM") + QString::number(a.ComPort);
    else if (VirtualRadioProcess::isVirtual(a.PortName))
        port = VirtualRadioProcess::displayName();
    else
        port = a.PortName;
    // Text 12008 ends in "COM", the number follows.
    panels_[2]->setText(a.PortName.isEmpty() ? LoadLangText(12008) + QString::number(a.ComPort)
                                             : port);
    startPanel_->setPortText(port);
}

void frmMain::Change_Language() {
    SetLanguageTexts();
    doc_.history().retranslate();
    LoadTree();
    warnMissingChineseFont();
}

void frmMain::warnMissingChineseFont() {
    if (chineseFontWarned_ || CurrentLangLocale() != QLatin1String("zh") || ChineseFontInstalled())
        return;
    chineseFontWarned_ = true;
    showStatusMessage(MissingChineseFontText());
}

void frmMain::CheckLanguage() {
    AppState& a = App();
    if (a.LangFile == a.ShownLangFile) return;
    a.ShownLangFile = a.LangFile;
    ApplyQtTranslations();
    // The last message was said in the language before; the messages window keeps it.
    statusMessage_->setMessage(QString());
    Change_Language();
    reopenHelpInLanguage();
    // The same document in another language: the start panel stays where it was.
    const bool panel = startPanelShown();
    CloseCurAllWindows();
    ShowChildForm(kChannelTable);
    if (panel) showStartPanel();
}

void frmMain::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) CheckLanguage();
}

void frmMain::updateClock() {
    const QDateTime now = QDateTime::currentDateTime();
    panels_[3]->setText(now.toString(QStringLiteral("yyyy-MM-dd")));
    panels_[4]->setText(now.toString(QStringLiteral("HH:mm:ss")));
}

// --- Tree panel ---

void frmMain::setTreeVisible(bool visible) {
    Picture1_->setVisible(visible);
    CommandMove_->setVisible(visible);
    action("mnuTreeView")->setChecked(visible);
}

void frmMain::moveTree(int dx) {
    const int w = Picture1_->width() + dx;
    const int inner = centralWidget()->width();
    if (w < minTreeWidth() || w > inner) return;
    Picture1_->setFixedWidth(w);
}

void frmMain::treeNodeClicked(QTreeWidgetItem* item) {
    if (!item) return;
    const QString key = item->data(0, Qt::UserRole).toString();
    if (key == QLatin1String("N1"))
        ShowChildForm(kChannelTable);
    else if (key == QLatin1String("N2"))
        ShowChildForm(QStringLiteral("FrmOptFeatures"));
    else if (key == QLatin1String("N4"))
        ShowChildForm(QStringLiteral("FrmDTMF"));
    else if (key == QLatin1String("N12"))
        ShowChildForm(QStringLiteral("FrmToneTips"));
    else if (key == QLatin1String("N8"))
        ShowChildForm(QStringLiteral("FrmKey"));
    else if (key == QLatin1String("N7"))
        MnuLocalInfo();
}

// --- Child windows ---

void frmMain::registerChildFactory(const QString& name, ChildFactory factory) {
    factories_.insert(name, std::move(factory));
}

QMdiSubWindow* frmMain::subWindowNamed(const QString& name) const {
    // A closed window waits for deletion hidden; it no longer counts as open.
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (!sw->isHidden() && sw->widget() && sw->widget()->objectName() == name) return sw;
    return nullptr;
}

QWidget* frmMain::ChildForm(const QString& name) const {
    QMdiSubWindow* sw = subWindowNamed(name);
    return sw ? sw->widget() : nullptr;
}

bool frmMain::startPanelShown() const {
    return centralStack_->currentWidget() == startPanel_;
}

void frmMain::showStartPanel() {
    centralStack_->setCurrentWidget(startPanel_);
    startPanel_->focusFirst();
    ShowMainTxt();
}

void frmMain::hideStartPanel() {
    if (!startPanelShown()) return;
    centralStack_->setCurrentWidget(mdi_);
    if (QMdiSubWindow* sw = mdi_->activeSubWindow()) sw->widget()->setFocus();
    ShowMainTxt();
}

void frmMain::connectStartPanel() {
    connect(startPanel_, &StartPanel::portRequested, this, &frmMain::mnuComm);
    connect(startPanel_, &StartPanel::readRequested, this, &frmMain::mnuReadFromRadio);
    connect(startPanel_, &StartPanel::openRequested, this, [this] {
        commitEditors({});
        commands_.FileOpen();
    });
    connect(startPanel_, &StartPanel::newRequested, this, [this](int mode) {
        commitEditors({});
        commands_.NewInMode(mode);
    });
}

QWidget* frmMain::ShowChildForm(const QString& name) {
    // A window picked is where the work goes on.
    hideStartPanel();
    if (QMdiSubWindow* sw = subWindowNamed(name)) {
        if (sw->isMinimized()) sw->showNormal();
        mdi_->setActiveSubWindow(sw);
        sw->raise();
        return sw->widget();
    }
    const auto it = factories_.constFind(name);
    if (it == factories_.constEnd() || !*it) return nullptr;
    QWidget* w = (*it)();
    if (!w) return nullptr;
    w->setObjectName(name);
    w->setAttribute(Qt::WA_DeleteOnClose);
    offerHelp(w);
    QMdiSubWindow* sw = mdi_->addSubWindow(w);
    sw->setAttribute(Qt::WA_DeleteOnClose);
    sw->setWindowIcon(windowIcon());
    releaseCtrlW(sw);
    w->show();
    cascadeSubWindows();
    mdi_->setActiveSubWindow(sw);
    return w;
}

void frmMain::cascadeSubWindows() {
    mdi_->cascadeSubWindows();
    const QSize area = mdi_->viewport()->size();
    fitSubWindows(area + growForSubWindows(area));
    useRoomInSubWindows();
}

void frmMain::useRoomInSubWindows() {
    // A window whose content would scroll may take the room the arrangement left below it.
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (QWidget* w = sw->widget();
            w && w->metaObject()->indexOfMethod("useTheRoomThereIs()") >= 0)
            QMetaObject::invokeMethod(w, "useTheRoomThereIs", Qt::DirectConnection);
}

void frmMain::fitSubWindows(const QSize& grownArea) {
    // A child window narrower than its texts would cut them off: it grows to what they need.
    // A child window taller or wider than the area that holds it would hide its lower or right
    // part (its Close button) under the status bar: it is shrunk into the area, and the
    // windows scroll their content instead.
    // The area a grown main window is about to give its children (the system may tell the new
    // size later).
    QRect area = mdi_->viewport()->rect();
    area.setSize(area.size().expandedTo(grownArea));
    if (area.width() < 50 || area.height() < 50) return;
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (sw->isHidden() || sw->isMinimized() || sw->isMaximized()) continue;
        QRect g = sw->geometry();
        // First as large as its texts need (a longer language than the one its size was made
        // for), then into the area.
        g.setSize(g.size().expandedTo(sw->minimumSizeHint()));
        g.setWidth(std::min(g.width(), area.width()));
        g.setHeight(std::min(g.height(), area.height()));
        if (g.right() > area.right()) g.moveRight(area.right());
        if (g.bottom() > area.bottom()) g.moveBottom(area.bottom());
        g.moveLeft(std::max(g.left(), area.left()));
        g.moveTop(std::max(g.top(), area.top()));
        if (g != sw->geometry()) sw->setGeometry(g);
    }
}

QSize frmMain::growForSubWindows(const QSize& area) {
    // A language with longer words needs wider windows than the size stored for the main
    // window leaves room for: the main window grows as far as the screen allows.
    if (isMaximized() || isFullScreen() || !isVisible()) return QSize();
    QSize need;
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (!sw->isHidden() && !sw->isMinimized() && !sw->isMaximized())
            need = need.expandedTo(sw->minimumSizeHint());
    QSize grow = (need - area).expandedTo(QSize(0, 0));
    const QScreen* s = screen();
    if (grow.isNull() || !s) return QSize();
    const QRect avail = s->availableGeometry();
    const QSize frame = frameGeometry().size() - size();
    grow = grow.boundedTo(avail.size() - frame - size()).expandedTo(QSize(0, 0));
    if (grow.isNull()) return QSize();
    QRect g = geometry();
    g.setSize(g.size() + grow);
    // Moved back onto the screen when it grew past its right or lower edge.
    g.moveRight(std::min(g.right(), avail.right() - (frame.width() - (g.x() - x()))));
    g.moveBottom(std::min(g.bottom(), avail.bottom() - (frame.height() - (g.y() - y()))));
    setGeometry(g);
    return grow;
}

void frmMain::CloseFormsNamed(const QString& name) {
    while (QMdiSubWindow* sw = subWindowNamed(name))
        if (!sw->close()) break;
}

void frmMain::CloseCurAllWindows() {
    for (QMdiSubWindow* sw : mdi_->subWindowList())
        if (!sw->isHidden()) sw->close();
}

void frmMain::fillWindowMenu() {
    QMenu* m = menu("mnuWindow");
    for (QAction* a : m->actions())
        if (a->property("windowEntry").toBool()) m->removeAction(a), a->deleteLater();
    int n = 0;
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        if (sw->isHidden()) continue;
        QAction* a = m->addAction(QStringLiteral("&%1 %2").arg(++n).arg(sw->windowTitle()));
        a->setProperty("windowEntry", true);
        a->setCheckable(true);
        a->setChecked(sw == mdi_->activeSubWindow());
        connect(a, &QAction::triggered, this, [this, sw] { mdi_->setActiveSubWindow(sw); });
    }
}

void frmMain::commitEditors(const QStringList& names) {
    // Editors offer a commitEdits() slot that stores a value still being typed.
    for (QMdiSubWindow* sw : mdi_->subWindowList()) {
        QWidget* w = sw->widget();
        if (!w || sw->isHidden() || (!names.isEmpty() && !names.contains(w->objectName())))
            continue;
        if (w->metaObject()->indexOfMethod("commitEdits()") >= 0)
            QMetaObject::invokeMethod(w, "commitEdits", Qt::DirectConnection);
    }
}

// --- DocumentShell ---

bool frmMain::OpenStartFile(const QString& argument) {
    const QUrl url(argument);
    const QString path = url.isLocalFile() ? url.toLocalFile() : argument;
    if (path.isEmpty()) return false;
    return commands_.OpenFile(QFileInfo(path).absoluteFilePath());
}

QString frmMain::fileDialogStart(const QString& current) {
    // A named document's own folder; an unnamed one starts in the user's documents
    // folder, never in whatever folder the program was started from.
    const QFileInfo fi(current);
    if (fi.isAbsolute() && fi.dir().exists()) return fi.absoluteFilePath();
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty() || !QDir(docs).exists()) docs = QDir::homePath();
    return QDir(docs).filePath(fi.fileName().isEmpty() ? Document::unnamedFileName()
                                                       : fi.fileName());
}

QString frmMain::chooseOpenFile() {
    if (fileChooser_) return fileChooser_(false, QString());
    return QFileDialog::getOpenFileName(
        this, QString(), QFileInfo(fileDialogStart(doc_.CurFileName)).path(), fileFilter());
}

int frmMain::chooseNewMode(int current) {
    return FrmNewMode::Ask(current, this);
}

QString frmMain::chooseSaveFile(const QString& preset) {
    if (fileChooser_) return fileChooser_(true, preset);
    QFileDialog dlg(this, saveDialogTitle_, QString(), fileFilter());
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("dat"));
    const QString start = fileDialogStart(preset);
    dlg.setDirectory(QFileInfo(start).path());
    dlg.selectFile(QFileInfo(start).fileName());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().constFirst();
}

void frmMain::documentLoaded() {
    Change_Language();
    ShowChildForm(kChannelTable);
    ShowMainTxt();
    cascadeSubWindows();
}

void frmMain::requestExit() {
    QTimer::singleShot(0, this, &QWidget::close);
}

void frmMain::closeEvent(QCloseEvent* e) {
    commitEditors({});
    if (!commands_.ExitSequence(isMinimized(), geometryTwips())) {
        e->ignore();
        return;
    }
    // A session's port closes before the virtual radio behind it goes away.
    emit closing();
    VirtualRadioProcess::instance().stop();
    e->accept();
}

// --- Dialogs ---

void frmMain::mnuModelInfo() {
    FrmModelInfo dlg(doc_, prompter_, this);
    if (dlg.exec() == QDialog::Accepted && dlg.modeChanged()) commands_.LoadNewDoc();
}

void frmMain::mnuComm() {
    FrmSetComm dlg(this);
    dlg.setPrompter(&prompter_);
    connect(&dlg, &FrmSetComm::testFinished, this,
            [this](const QString& text) { recordMessage(text); });
    dlg.exec();
    ShowPortText();
}

void frmMain::mnuLanguage() {
    FrmSetLanguage dlg(this);
    dlg.exec();
    // The window is active again now; activation may not be reported for a modal dialog's
    // parent on every platform.
    CheckLanguage();
}

void frmMain::mnuHelpTopic() {
    // F1 opens the chapter of the window being worked in: a modal dialog, or the active child
    // window.
    if (QWidget* modal = QApplication::activeModalWidget()) {
        showHelp(modal, FrmHelp::topicFor(modal->objectName()));
        return;
    }
    QMdiSubWindow* sw = mdi_->activeSubWindow();
    const QString name = sw && sw->widget() ? sw->widget()->objectName() : QString();
    showHelp(this, FrmHelp::topicFor(name));
}

void frmMain::mnuHelpAbout() {
    frmAbout dlg(this);
    dlg.exec();
}

void frmMain::MnuProPassWord() {
    QString typed = progPassword();
    if (FrmPassWord::Ask(typed, this)) setProgPassword(typed);
}

QString frmMain::progPassword() const {
    return session_ ? session_->ProgPassword() : progPassword_;
}

void frmMain::setProgPassword(const QString& typed) {
    if (session_)
        session_->SetProgPassword(typed);
    else
        progPassword_ = FrmPassWord::CleanPassword(typed);
}

void frmMain::whenClosing(QObject* context, std::function<void()> f) {
    connect(this, &frmMain::closing, context, std::move(f));
}

void frmMain::setLinkSession(LinkSession* session) {
    const QString typed = progPassword();
    session_ = session;
    progPassword_.clear();
    setProgPassword(typed);
}

// --- Sessions ---

void frmMain::setSessionRunning(bool running) {
    sessionRunning_ = running;
    for (const char* name :
         {"mnuReadFromRadio", "mnuWriteToRadio", "MnuLocalInfo", "ReadRadio", "WriteRadio"})
        action(name)->setEnabled(!running);
}

bool frmMain::virtualRadioReady() {
    // The virtual radio runs only while somebody uses it.
    if (!VirtualRadioProcess::isVirtual(App().PortName)) return true;
    QString error;
    if (VirtualRadioProcess::instance().ensureRunning(&error)) return true;
    prompter_.message(9003, Prompter::Buttons::Ok, Prompter::Icon::Critical, error);
    return false;
}

void frmMain::startSession(CommKind commMode) {
    if (sessionRunning_ || !virtualRadioReady()) return;
    if (sessionStarter_) sessionStarter_(commMode);
}

void frmMain::mnuReadFromRadio() {
    if (sessionRunning_) return;
    commitEditors({kChannelTable});
    // The read replaces the document: unsaved edits are offered to be saved first, as New,
    // Open and Exit offer; Cancel leaves everything as it was.
    if (!commands_.askSaveChanges()) return;
    startSession(CommKind::Read);
}

void frmMain::mnuWriteToRadio() {
    if (sessionRunning_ || WaitSaveDataTimer_->isActive()) return;
    commitEditors({kChannelTable, QStringLiteral("FrmCHInfoEdit"), QStringLiteral("FrmOptFeatures"),
                   QStringLiteral("FrmDTMF"), QStringLiteral("FrmRadioInfo")});
    WaitSaveDataTimer_->start();
}

void frmMain::ReadRMGDataFromRadio() {
    if (sessionRunning_) return;
    startSession(CommKind::Info);
}

void frmMain::MnuLocalInfo() {
    if (sessionRunning_) return;
    CloseFormsNamed(QStringLiteral("FrmRadioInfo"));
    ReadRMGDataFromRadio();
}
