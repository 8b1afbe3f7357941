// frmMain's Program > Write to Several Radios: the menu item and what it does before the batch
// window opens.

#include "frmmain.h"

#include "core/lang/langtext.h"
#include "core/model/document.h"
#include "link/frmbatchwrite.h"
#include "link/virtualradioprocess.h"

#include <QAction>
#include <QDialog>
#include <QMenu>

void frmMain::buildBatchWrite() {
    // After Write to Radio; its text follows the language whenever the menu opens.
    QMenu* program = menu("mnuProgram");
    auto* several = new QAction(LoadLangText(26000), this);
    several->setObjectName(QStringLiteral("mnuWriteSeveral"));
    actions_.insert(several->objectName(), several);
    const QList<QAction*> items = program->actions();
    const qsizetype at = items.indexOf(action("mnuWriteToRadio"));
    program->insertAction(at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr, several);
    connect(program, &QMenu::aboutToShow, several,
            [several] { several->setText(LoadLangText(26000)); });
    connect(several, &QAction::triggered, this, &frmMain::mnuWriteSeveral);
}

void frmMain::mnuWriteSeveral() {
    if (sessionRunning_ || WaitSaveDataTimer_->isActive()) return;
    commitEditors({QStringLiteral("frmCommChInfo"), QStringLiteral("FrmCHInfoEdit"),
                   QStringLiteral("FrmOptFeatures"), QStringLiteral("FrmDTMF"),
                   QStringLiteral("FrmRadioInfo")});
    // The log names the file of what every radio gets: it is saved first.
    if (doc_.IsNewFile || doc_.IsDataChanged()) {
        // The Save dialog's title says why the batch saves first.
        saveDialogTitle_ = LoadLangText(27608);
        const bool saved = commands_.FileSave();
        saveDialogTitle_.clear();
        if (!saved) return;
    }
    if (!virtualRadioReady()) return;
    auto* window =
        new FrmBatchWrite(doc_, VirtualRadioProcess::settingsSessionPort(), prompter_, this);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setPassword(progPassword());
    // No other session while radios are being written.
    setSessionRunning(true);
    connect(window, &QDialog::finished, this, [this] { setSessionRunning(false); });
    window->open();
}
