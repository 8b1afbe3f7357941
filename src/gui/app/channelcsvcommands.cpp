#include "channelcsvcommands.h"

#include "channels/channeleditstate.h"
#include "channels/frmchannelimport.h"
#include "core/files/channelcsv.h"
#include "core/files/fileio.h"
#include "core/files/savedatafile.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/model/document.h"

#include <QFileDialog>
#include <QFileInfo>

ChannelCsvCommands::ChannelCsvCommands(Document& doc, Prompter& prompter, QWidget* window)
    : QObject(window), doc_(doc), prompter_(prompter), window_(window) {}

QString ChannelCsvCommands::choose(bool save) {
    if (chooser_) return chooser_(save);
    const QString filter = LoadLangText(14935) + QStringLiteral(" (*.csv)");
    QString preset;
    if (!doc_.IsNewFile) {
        const QFileInfo dat(doc_.CurFileName);
        preset = dat.dir().filePath(dat.completeBaseName() + QStringLiteral(".csv"));
    }
    if (!save)
        return QFileDialog::getOpenFileName(window_, LoadLangText(14931), QFileInfo(preset).path(),
                                            filter);
    QFileDialog dlg(window_, LoadLangText(14941), preset, filter);
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setDefaultSuffix(QStringLiteral("csv"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().constFirst();
}

QString ChannelCsvCommands::exportChannels() {
    const QString path = choose(true);
    if (path.isEmpty()) return QString();
    const ChannelCsvExport e = ExportChannelsCsv(doc_);
    QString error;
    if (!WriteFileAtomically(path, e.csv, &error)) {
        prompter_.message(9757, Prompter::Buttons::Ok, Prompter::Icon::Critical,
                          path + QStringLiteral("\n") + error);
        return QString();
    }
    emit status(LoadLangText(14942).arg(e.csv.count('\n') - 1).arg(QFileInfo(path).fileName()));
    return path;
}

bool ChannelCsvCommands::importChannels() {
    const QString path = choose(false);
    if (path.isEmpty()) return false;
    QByteArray csv;
    QString why;
    if (!ReadInputFile(path, InputKind::ChannelList, csv, &why)) {
        prompter_.message(9756, Prompter::Buttons::Ok, Prompter::Icon::Critical, why);
        return false;
    }
    // The selected group and row of the channel table are the other target.
    const ChannelEditState& st = ChannelEditState::of(doc_);
    FrmChannelImport dlg(doc_, csv, st.CurGroup, doc_.CurRow, window_);
    if (dlg.report().refused()) {
        prompter_.message(9750, Prompter::Buttons::Ok, Prompter::Icon::Warning,
                          dlg.report().refusalText(path));
        return false;
    }
    if (dlg.exec() != QDialog::Accepted) return false;
    // The report stays readable in Window > Messages after its window is gone.
    QStringList lines = dlg.report().lines();
    if (!lines.isEmpty()) lines.prepend(lines.takeLast()); // the totals first
    emit status(lines.join(QLatin1Char('\n')));
    return true;
}
