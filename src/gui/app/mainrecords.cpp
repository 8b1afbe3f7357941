// frmMain's part in keeping the user's work safe: the recent-files list, File > Backups, the
// link settings of the Settings menu, the change mark in the title and the status notice.

#include "frmbackups.h"
#include "frmmain.h"
#include "frmmessages.h"
#include "statusline.h"

#include "core/app/linksettings.h"
#include "core/app/recentfiles.h"
#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"

#include <QAction>
#include <QBoxLayout>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QStatusBar>
#include <QTimer>

void frmMain::buildRecordExtras() {
    // The recent files follow Backups..., before the separator above Exit.
    QMenu* file = menu("mnuFile");
    recentMenu_ = new QMenu(file);
    recentMenu_->setObjectName(QStringLiteral("mnuFileRecent"));
    recentMenu_->menuAction()->setObjectName(QStringLiteral("mnuFileRecentAction"));
    const QList<QAction*> items = file->actions();
    const int at = int(items.indexOf(action("mnuFileBackups")));
    file->insertMenu(at + 1 < items.size() ? items[at + 1] : nullptr, recentMenu_);
    connect(file, &QMenu::aboutToShow, this, &frmMain::fillRecentMenu);
    fillRecentMenu();
    connect(action("mnuFileBackups"), &QAction::triggered, this, &frmMain::mnuBackups);

    QAction* verify = action("mnuVerifyWrite");
    verify->setCheckable(true);
    verify->setChecked(linkSettings().VerifyAfterWrite);
    connect(verify, &QAction::toggled, this, [](bool on) {
        linkSettings().VerifyAfterWrite = on;
        WriteLinkSettings();
    });
    QAction* log = action("mnuLogTraffic");
    log->setCheckable(true);
    log->setChecked(linkSettings().LogSerialTraffic);
    connect(log, &QAction::toggled, this, [](bool on) {
        linkSettings().LogSerialTraffic = on;
        WriteLinkSettings();
    });
    // The write confirmation's check box changes the same setting.
    connect(menu("mnuSet"), &QMenu::aboutToShow, this, [this] {
        action("mnuVerifyWrite")->setChecked(linkSettings().VerifyAfterWrite);
        action("mnuLogTraffic")->setChecked(linkSettings().LogSerialTraffic);
    });

    statusMessage_ = new StatusLine(statusBar());
    statusMessage_->setObjectName(QStringLiteral("StatusMessage"));
    statusMessage_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusBar()->addWidget(statusMessage_, 2);
    // A warning that holds until the radio is written again has a line of its own above the
    // status bar, across the window and wrapped, so that it is read whole and the status bar
    // keeps its room for the newest message.
    radioWarning_ = new QLabel(centralWidget());
    radioWarning_->setObjectName(QStringLiteral("RadioWarning"));
    radioWarning_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    radioWarning_->setWordWrap(true);
    radioWarning_->setMargin(4);
    radioWarning_->setStyleSheet(QStringLiteral("QLabel { color: #b00000; font-weight: bold; }"));
    radioWarning_->hide();
    if (auto* column = qobject_cast<QBoxLayout*>(centralWidget()->layout()))
        column->addWidget(radioWarning_);
    connect(action("mnuWindowMessages"), &QAction::triggered, this, &frmMain::showMessages);
    connect(action("mnuFileBackupsFolder"), &QAction::triggered, this,
            [this] { openFolder(prompter_, BackupStore::defaultDir()); });
    connect(action("mnuLogFolder"), &QAction::triggered, this,
            [this] { openFolder(prompter_, WireLogDir()); });

    // Every edit may change whether the document differs from its file; a burst of them (a
    // whole group refreshed) redraws the title once.
    titleTimer_ = new QTimer(this);
    titleTimer_->setSingleShot(true);
    titleTimer_->setInterval(0);
    connect(titleTimer_, &QTimer::timeout, this, &frmMain::ShowMainTxt);
    const auto later = [this] { titleTimer_->start(); };
    connect(&doc_, &Document::channelChanged, titleTimer_, later);
    connect(&doc_, &Document::groupSettingsChanged, titleTimer_, later);
    connect(&doc_, &Document::publicChannelChanged, titleTimer_, later);
    connect(&doc_, &Document::keysChanged, titleTimer_, later);
    connect(&doc_, &Document::toneTipsChanged, titleTimer_, later);
    connect(&doc_, &Document::dtmfCodesChanged, titleTimer_, later);
    connect(&doc_, &Document::rogerBeepsRechecked, titleTimer_, later);
    // A document that now has a file of its own (opened or saved) joins the recent files.
    connect(&doc_, &Document::stateChanged, this, &frmMain::rememberRecent);
}

void frmMain::rememberRecent() {
    if (doc_.IsNewFile) return;
    const QFileInfo f(doc_.CurFileName);
    // A backup opened from File > Backups is a new document; its file belongs to the store.
    if (!f.isFile() || f.absolutePath() == QFileInfo(BackupStore::defaultDir()).absoluteFilePath())
        return;
    const QStringList now = RecentFiles::load();
    if (now.value(0) != f.absoluteFilePath()) RecentFiles::add(f.absoluteFilePath());
}

void frmMain::fillRecentMenu() {
    recentMenu_->clear();
    const QStringList files = RecentFiles::load();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        // &1 .. &8 choose an entry from the keyboard.
        QAction* a = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QDir::toNativeSeparators(path)));
        a->setObjectName(QStringLiteral("mnuFileRecent%1").arg(i + 1));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] {
            commitEditors({});
            if (!QFileInfo(path).isFile()) {
                RecentFiles::remove(path);
                prompter_.message(9002, Prompter::Buttons::Ok, Prompter::Icon::Critical, path);
                return;
            }
            commands_.FileOpenPath(path);
        });
    }
    recentMenu_->menuAction()->setEnabled(!files.isEmpty());
}

void frmMain::mnuBackups() {
    commitEditors({});
    FrmBackups dlg(BackupStore::defaultDir(), this);
    if (dlg.exec() != QDialog::Accepted || dlg.chosenPath().isEmpty()) return;
    commands_.OpenAsNewDocument(dlg.chosenPath());
}

void frmMain::showStatusMessage(const QString& text, const QString& path) {
    statusMessage_->setMessage(text);
    recordMessage(text, path);
}

void frmMain::recordMessage(const QString& text, const QString& path) {
    // Every message stays readable in Window > Messages; the newest few hundred are plenty.
    messages_.append({QDateTime::currentDateTime(), text, path});
    if (messages_.size() > 500) messages_.removeFirst();
}

void frmMain::setRadioWarning(const QString& text, const QString& titleNote) {
    radioWarning_->setText(text);
    radioWarning_->setToolTip(text);
    radioWarning_->setAccessibleName(text);
    radioWarning_->setVisible(!text.isEmpty());
    if (!text.isEmpty()) recordMessage(text);
    radioWarningNote_ = text.isEmpty() ? QString() : titleNote.isEmpty() ? text : titleNote;
    ShowMainTxt();
}

QString frmMain::statusMessage() const {
    return statusMessage_ ? statusMessage_->message() : QString();
}

void frmMain::showMessages() {
    FrmMessages dlg(messages_, prompter_, this);
    dlg.exec();
}
