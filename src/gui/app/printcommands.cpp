#include "printcommands.h"

#include "core/files/printreport.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QRegularExpression>
#include <QScreen>
#include <QStandardPaths>
#include <QTextDocument>
#include <QToolBar>
#include <QToolButton>

namespace {

// A menu caption as a window title: without its mnemonic ("&P", "(&P)") and without "...".
QString captionOf(int menuText) {
    QString t = LoadLangText(menuText);
    t.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    t.remove(QLatin1Char('&'));
    if (t.endsWith(QLatin1String("..."))) t.chop(3);
    return t.trimmed();
}

// Qt's preview offers its commands on a toolbar whose buttons take no keyboard focus; here
// Tab reaches every one of them, each says what it does, and Ctrl+P prints.
void makeKeyboardFriendly(QPrintPreviewDialog* dlg) {
    for (QToolBar* bar : dlg->findChildren<QToolBar*>()) {
        bar->setObjectName(QStringLiteral("PreviewToolBar"));
        bar->setAccessibleName(LoadLangText(9934));
        const QList<QAction*> actions = bar->actions();
        for (QAction* a : actions) {
            auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(a));
            if (!button) continue;
            button->setFocusPolicy(Qt::TabFocus);
            button->setAccessibleName(a->text());
            if (button->toolTip().isEmpty()) button->setToolTip(a->text());
        }
        // Print is the last command of the preview's toolbar.
        if (!actions.isEmpty() && !actions.last()->isSeparator())
            actions.last()->setShortcut(QKeySequence::Print);
    }
    for (QComboBox* zoom : dlg->findChildren<QComboBox*>()) {
        zoom->setObjectName(QStringLiteral("PreviewZoom"));
        zoom->setAccessibleName(LoadLangText(9936));
    }
    for (QLineEdit* edit : dlg->findChildren<QLineEdit*>()) {
        if (qobject_cast<QComboBox*>(edit->parentWidget())) continue; // the zoom's own editor
        edit->setObjectName(QStringLiteral("PreviewPage"));
        edit->setAccessibleName(LoadLangText(9935));
    }
    for (QPrintPreviewWidget* pages : dlg->findChildren<QPrintPreviewWidget*>()) {
        pages->setObjectName(QStringLiteral("PreviewPages"));
        pages->setAccessibleName(LoadLangText(9937));
    }
}

} // namespace

PrintCommands::PrintCommands(Document& doc, Prompter& prompter, QWidget* window)
    : QObject(window), doc_(doc), prompter_(prompter), window_(window) {}

QPrintPreviewDialog* PrintCommands::preview() {
    // A closed preview is only deleted later; Print right after closing opens a new one.
    if (preview_ && preview_->isVisible()) {
        preview_->raise();
        preview_->activateWindow();
        return preview_;
    }
    auto* dlg = new QPrintPreviewDialog(window_);
    dlg->setObjectName(QStringLiteral("dlgPrintPreview"));
    dlg->setAttribute(Qt::WA_DeleteOnClose);
    dlg->setWindowModality(Qt::WindowModal);
    dlg->setWindowTitle(LoadLangText(9934) + QStringLiteral(" - ") + doc_.title());
    dlg->setAccessibleName(LoadLangText(9934));
    QPrinter* printer = dlg->printer();
    printer->setPageLayout(ReportPageLayout());
    printer->setDocName(doc_.title());

    // The report is built once, in the language of the moment; the preview paints it again
    // for every change of its page setup, and once more to print. It dies with the dialog.
    QTextDocument* report = BuildPrintReport(doc_).release();
    report->setParent(dlg);
    connect(dlg, &QPrintPreviewDialog::paintRequested, report,
            [report](QPrinter* p) { PrintReport(*report, p); });
    makeKeyboardFriendly(dlg);

    // Most of the screen: a landscape page wants the width.
    if (const QScreen* screen = window_ ? window_->screen() : QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dlg->resize(area.width() * 9 / 10, area.height() * 9 / 10);
    }
    preview_ = dlg;
    dlg->show();
    return dlg;
}

void PrintCommands::closePreview() {
    if (preview_) preview_->close();
}

QString PrintCommands::choose() {
    if (chooser_) return chooser_();
    QString preset;
    if (doc_.IsNewFile) {
        preset = QDir(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation))
                     .filePath(QStringLiteral("new.pdf"));
    } else {
        const QFileInfo dat(doc_.CurFileName);
        preset = dat.dir().filePath(dat.completeBaseName() + QStringLiteral(".pdf"));
    }
    QFileDialog dlg(window_, captionOf(10950), preset, QStringLiteral("PDF (*.pdf)"));
    dlg.setObjectName(QStringLiteral("dlgExportPdf"));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("pdf"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().constFirst();
}

QString PrintCommands::exportPdf() {
    const QString path = choose();
    if (path.isEmpty()) return QString();
    QString error;
    if (!WritePdf(doc_, path, &error)) {
        prompter_.message(9932, Prompter::Buttons::Ok, Prompter::Icon::Critical, error);
        return QString();
    }
    emit status(LoadLangText(9933).arg(QFileInfo(path).fileName()));
    return path;
}
