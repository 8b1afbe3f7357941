#include "documentcommands.h"
#include "../files/datafile.h"
#include "../lang/langtext.h"
#include "../model/document.h"
#include "../model/helpers.h"
#include "prompter.h"
#include "startup.h"

#include <QFile>
#include <QSaveFile>
#include <QTimer>

// A plain version of the document commands: load and save without the version hand-over.

namespace {
using B = Prompter::Buttons;
using I = Prompter::Icon;
using A = Prompter::Answer;

bool saveTo(Document& doc, const QString& path) {
    doc.ToFileCopy();
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    f.write(EncodeDataFile(doc.FileRadioData, doc.FileCHInfo));
    return f.commit();
}
} // namespace

DocumentCommands::DocumentCommands(Document& doc, DocumentShell& shell, Prompter& prompter,
                                   QObject* parent)
    : QObject(parent), doc_(doc), shell_(shell), prompter_(prompter) {}

bool DocumentCommands::askSaveChanges() {
    if (!doc_.IsDataChanged()) return true;
    switch (prompter_.message(9006, B::YesNoCancel, I::Warning)) {
    case A::Yes:
        return FileSave();
    case A::No:
        return true;
    default:
        return false;
    }
}

void DocumentCommands::FileNew() {
    if (askSaveChanges() && prompter_.message(9026, B::OkCancel, I::Warning) == A::Ok) {
        LoadNewDoc();
        return;
    }
    doc_.InitRequested = 0;
}

void DocumentCommands::LoadNewDoc() {
    shell_.closeAllChildWindows();
    // The closed windows go away with the event loop; the new document follows them.
    QTimer::singleShot(100, this, [this] {
        doc_.NewDocument();
        shell_.documentLoaded();
        doc_.InitRequested = 0;
        emit newDocumentBuilt();
    });
}

void DocumentCommands::LoadNewDoc2() {
    doc_.NewDocument();
    shell_.documentLoaded();
}

void DocumentCommands::FileOpen() {
    if (!askSaveChanges()) return;
    const QString path = shell_.chooseOpenFile();
    if (!path.isEmpty()) OpenFile(path);
}

bool DocumentCommands::OpenFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly) || f.size() < DataFileSize) {
        prompter_.message(9002, B::Ok, I::Critical);
        return false;
    }
    RadioDataRec data;
    ChannelList channels{};
    DecodeDataFile(f.read(DataFileSize), data, channels);
    if (data.Head.Model.text() != TrimFixed(doc_.ModelName)) {
        prompter_.message(9012, B::Ok, I::Critical);
        return false;
    }
    shell_.closeAllChildWindows();
    if (!LoadDataFile(doc_, path)) {
        prompter_.message(9002, B::Ok, I::Critical);
        return false;
    }
    doc_.CurFileName = path;
    doc_.IsNewFile = 0;
    doc_.NotifyStateChanged();
    shell_.documentLoaded();
    return true;
}

bool DocumentCommands::FileSave() {
    if (doc_.IsNewFile) return FileSaveAs();
    const QString text =
        LoadLangText(9007) + QLatin1Char('"') + FileTitle(doc_.CurFileName) + QLatin1Char('"');
    if (prompter_.ask(text, B::OkCancel, I::Question) != A::Ok) return false;
    if (!saveTo(doc_, doc_.CurFileName)) {
        prompter_.message(9002, B::Ok, I::Critical);
        return false;
    }
    doc_.IsNewFile = 0;
    shell_.refreshTitle();
    return true;
}

bool DocumentCommands::FileSaveAs() {
    const QString path = shell_.chooseSaveFile(doc_.CurFileName);
    if (path.isEmpty()) return false;
    doc_.CurFileName = path;
    if (!saveTo(doc_, path)) {
        prompter_.message(9002, B::Ok, I::Critical);
        return false;
    }
    doc_.IsNewFile = 0;
    doc_.NotifyStateChanged();
    shell_.refreshTitle();
    return true;
}

void DocumentCommands::Init() {
    doc_.InitRequested = -1;
    FileNew();
}

bool DocumentCommands::ExitSequence(bool minimised, const QRect& twips) {
    if (!minimised) SaveMainWindowTwips(twips);
    if (!askSaveChanges()) return false;
    WriteSettingBytes();
    return true;
}
