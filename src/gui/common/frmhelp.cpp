#include "frmhelp.h"
#include "screenplace.h"

#include "core/app/appstate.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QTextBrowser>
#include <QTimer>
#include <QUrl>

namespace {

struct Chapter {
    const char* topic;
    int title; // text id of its name in the list
};

// The manual's chapters, in the order of a day with the radio.
const Chapter chapters[] = {
    {"index", 27001},    {"cable", 27002},   {"reading", 27003}, {"channels", 27004},
    {"settings", 27005}, {"cbplans", 27006}, {"csv", 27007},     {"writing", 27008},
    {"backups", 27009},  {"cli", 27010},     {"dealer", 27013},  {"windows", 27412},
};

struct WindowChapter {
    const char* window;
    const char* topic;
};

const WindowChapter windowChapters[] = {
    {"FrmSetComm", "cable"},       {"FrmProgress", "reading"},     {"FrmPassWord", "reading"},
    {"frmCommChInfo", "channels"}, {"FrmCHInfoEdit", "channels"},  {"Frm_Mem_Freq", "cbplans"},
    {"FrmModelInfo", "channels"},  {"FrmOptFeatures", "settings"}, {"FrmDTMF", "settings"},
    {"FrmKey", "settings"},        {"FrmToneTips", "settings"},    {"FrmRadioInfo", "settings"},
    {"FrmChannelImport", "csv"},   {"FrmBackups", "backups"},      {"FrmBatchWrite", "dealer"},
};

// F1 in any dialog: the main window's own shortcut does not reach a modal dialog.
class DialogHelpKey : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1)
            return false;
        auto* w = qobject_cast<QWidget*>(watched);
        if (!w) return false;
        auto* dialog = qobject_cast<QDialog*>(w->window());
        if (!dialog) return false;
        showHelp(dialog, FrmHelp::topicFor(dialog->objectName()));
        return true;
    }
};

} // namespace

FrmHelp::FrmHelp(QWidget* parent) : QWidget(parent, Qt::Window), language_(App().LangFile) {
    setObjectName(QStringLiteral("FrmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(LoadLangText(27000));

    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("ListTopics"));
    list_->setAccessibleName(LoadLangText(27011));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("TextHelp"));
    browser_->setAccessibleName(LoadLangText(27000));
    // Links between chapters stay inside; a web address opens in the browser.
    browser_->setOpenExternalLinks(true);

    auto* split = new QSplitter(this);
    split->addWidget(list_);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    auto* close = new QPushButton(LoadLangText(9023), this);
    close->setObjectName(QStringLiteral("CommandClose"));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* all = new QVBoxLayout(this);
    all->addWidget(split, 1);
    all->addLayout(buttons);

    fillTopics();
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < topics().size() && topics().at(row) != topic_)
            showTopic(topics().at(row));
    });
    // A link to another chapter moves the list along.
    connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        topic_ = QFileInfo(url.path()).completeBaseName();
        const int row = topics().indexOf(topic_);
        if (row >= 0 && list_->currentRow() != row) {
            const QSignalBlocker block(list_);
            list_->setCurrentRow(row);
        }
    });

    // Room for a chapter and its pictures, and never more than the screen.
    QSize want(900, 640);
    if (QScreen* s = screen()) want = want.boundedTo(s->availableGeometry().size() * 0.9);
    resize(want);
    list_->setMaximumWidth(220);
}

QStringList FrmHelp::topics() {
    QStringList out;
    for (const Chapter& c : chapters)
        out << QLatin1String(c.topic);
    return out;
}

QString FrmHelp::topicFor(const QString& windowName) {
    for (const WindowChapter& w : windowChapters)
        if (windowName == QLatin1String(w.window)) return QLatin1String(w.topic);
    return QStringLiteral("index");
}

QString FrmHelp::manualDir() {
    return QDir(App().ProgramDir).filePath(QStringLiteral("manual/") + CurrentLangLocale());
}

QString FrmHelp::chapterPath(const QString& topic) const {
    const QString file = topic + QStringLiteral(".md");
    const QString path = QDir(manualDir()).filePath(file);
    // A chapter not yet translated is read in English rather than not at all.
    if (QFile::exists(path)) return path;
    const QString english = QDir(App().ProgramDir).filePath(QStringLiteral("manual/en/") + file);
    return QFile::exists(english) ? english : path;
}

void FrmHelp::fillTopics() {
    for (const Chapter& c : chapters) {
        auto* item = new QListWidgetItem(LoadLangText(c.title), list_);
        item->setData(Qt::UserRole, QLatin1String(c.topic));
    }
}

void FrmHelp::showTopic(const QString& topic) {
    const QString wanted = topics().contains(topic) ? topic : QStringLiteral("index");
    const QString path = chapterPath(wanted);
    topic_ = wanted;
    {
        const QSignalBlocker block(list_);
        list_->setCurrentRow(topics().indexOf(wanted));
    }
    if (!QFile::exists(path)) {
        // Say where the manual was looked for, so that a broken installation can be mended.
        browser_->setPlainText(LoadLangText(27012) + QLatin1Char(' ') +
                               QDir::toNativeSeparators(path));
        return;
    }
    browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
}

FrmHelp* showHelp(QWidget* from, const QString& topic) {
    // The manual of a modal dialog is that dialog's child, or the dialog would block it.
    QWidget* owner = from ? from->window() : nullptr;
    if (owner && !qobject_cast<QDialog*>(owner)) {
        while (owner->parentWidget())
            owner = owner->parentWidget()->window();
    }
    FrmHelp* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* h = qobject_cast<FrmHelp*>(w);
        if (!h || h->parentWidget() != owner) continue;
        // A manual of the language before the last change gives way to one in the new.
        if (h->language() == App().LangFile)
            help = h;
        else
            delete h;
    }
    if (!help) help = new FrmHelp(owner);
    help->showTopic(topic);
    help->show();
    // Placed over its owner, it may reach below the screen: it is kept on it.
    keepFrameOnScreen(help);
    QTimer::singleShot(0, help, [help] { keepFrameOnScreen(help); });
    help->raise();
    help->activateWindow();
    return help;
}

void reopenHelpInLanguage() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* old = qobject_cast<FrmHelp*>(w);
        if (!old || !old->isVisible() || old->language() == App().LangFile) continue;
        // The same chapter at the same place, in the language now chosen.
        auto* help = new FrmHelp(old->parentWidget());
        help->setGeometry(old->geometry());
        help->showTopic(old->currentTopic());
        delete old;
        help->show();
    }
}

void offerHelp(QWidget* window) {
    auto* button = window->findChild<QPushButton*>(QStringLiteral("CommandHelp"));
    if (!button || button->property("helpOffered").toBool()) return;
    button->setProperty("helpOffered", true);
    button->show();
    QObject::connect(button, &QPushButton::clicked, window,
                     [window] { showHelp(window, FrmHelp::topicFor(window->objectName())); });
}

void installDialogHelpKey() {
    static DialogHelpKey* filter = nullptr;
    if (filter) return;
    filter = new DialogHelpKey(qApp);
    qApp->installEventFilter(filter);
}
