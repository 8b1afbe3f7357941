#include "documentcommands.h"
#include "../files/datafile.h"
#include "../files/opendatafile.h"
#include "../files/savedatafile.h"
#include "../lang/langtext.h"
#include "../lang/prompter.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/documenthistory.h"
#include "../model/helpers.h"
#include "documenttitles.h"
#include "otherversion.h"
#include "startup.h"

#include <QTimer>

using B = Prompter::Buttons;
using I = Prompter::Icon;
using A = Prompter::Answer;

DocumentCommands::DocumentCommands(Document& doc, DocumentShell& shell, Prompter& prompter,
                                   QObject* parent)
    : QObject(parent), doc_(doc), shell_(shell), prompter_(prompter),
      newDocTimer_(new QTimer(this)) {
    newDocTimer_->setObjectName(QStringLiteral("NewDocTimer"));
    newDocTimer_->setSingleShot(true);
    newDocTimer_->setInterval(100);
    connect(newDocTimer_, &QTimer::timeout, this, &DocumentCommands::newDocTick);
}

bool DocumentCommands::askSaveChanges() {
    if (!doc_.IsDataChanged()) return true;
    switch (prompter_.message(9006, B::YesNoCancel, I::Warning)) {
    case A::Yes:
        // A save that fails or is cancelled stops the command like Cancel would: going on
        // would throw away the changes the user just asked to keep.
        return FileSave();
    case A::No:
        return true;
    default:
        return false;
    }
}

void DocumentCommands::showLoaded() {
    shell_.documentLoaded();
    // After the windows redrew: what they settled is where undo stops.
    doc_.history().clear();
}

void DocumentCommands::FileNew() {
    if (askSaveChanges()) {
        // The initialisation replaces the document by the factory data whatever it holds.
        if (!doc_.InitRequested && doc_.untouchedNew()) {
            const int mode = shell_.chooseNewMode(doc_.CountryMode);
            if (IsValidMode(mode)) {
                loadNewDocInMode(mode);
                return;
            }
        } else if (prompter_.message(9026, B::OkCancel, I::Warning) == A::Ok) {
            LoadNewDoc();
            return;
        }
    }
    // The initialisation command ends here too; a later New must use the template again.
    doc_.InitRequested = false;
}

void DocumentCommands::NewInMode(int mode) {
    if (IsValidMode(mode) && askSaveChanges()) loadNewDocInMode(mode);
}

void DocumentCommands::loadNewDocInMode(int mode) {
    // The mode is set on the tick, once the windows are gone: a value one of them stores on
    // its way out belongs to the old document in its own mode.
    newMode_ = mode;
    LoadNewDoc();
}

void DocumentCommands::ToolbarNew() {
    if (askSaveChanges()) LoadNewDoc();
}

void DocumentCommands::LoadNewDoc() {
    shell_.closeAllChildWindows();
    // The closed windows are unloaded by the event loop; the new document is built once they
    // are gone, so none of them writes into it on its way out.
    newDocTimer_->start();
}

void DocumentCommands::newDocTick() {
    newDocTimer_->stop();
    // As the model information window does: the mode first, then the new document, which
    // takes that mode's band and template.
    if (IsValidMode(newMode_)) doc_.SetCountryMode(newMode_);
    newMode_ = -1;
    NewDocumentWithInitFile(doc_);
    showLoaded();
    doc_.InitRequested = false;
    emit newDocumentBuilt();
}

void DocumentCommands::LoadNewDoc2() {
    NewDocumentWithInitFile(doc_);
    showLoaded();
}

void DocumentCommands::FileOpen() {
    if (!askSaveChanges()) return;
    const QString path = shell_.chooseOpenFile();
    if (path.isEmpty()) return;
    OpenFile(path);
}

bool DocumentCommands::OpenFile(const QString& path) {
    return openChecked(path, QString());
}

bool DocumentCommands::openChecked(const QString& path, const QString& untitled) {
    // Every check runs before anything is closed: a refused file leaves the document and its
    // windows as they were.
    CheckedDataFile file;
    switch (ReadCheckedDataFile(doc_, path, file)) {
    case OpenResult::Opened:
        break;
    case OpenResult::OtherVersion:
        // When nothing could be started the user keeps working here: ending the program would
        // lose whatever has not been saved.
        if (RunOtherVersion(file.otherVersion, prompter_, {path})) shell_.requestExit();
        return false;
    case OpenResult::Refused:
        return false;
    }
    // The child windows go before the document is replaced, so that none of them writes a
    // value of the old document into the opened one on its way out.
    shell_.closeAllChildWindows();
    ApplyDataFile(doc_, path, file, untitled);
    showLoaded();
    return true;
}

bool DocumentCommands::FileOpenPath(const QString& path) {
    return askSaveChanges() && OpenFile(path);
}

bool DocumentCommands::OpenAsNewDocument(const QString& path) {
    // The file stays as it is: the document is titled as the backup it is, and saving asks
    // for a name of its own.
    return askSaveChanges() && openChecked(path, BackupTitle(path));
}

bool DocumentCommands::FileSave() {
    if (doc_.IsNewFile) return FileSaveAs();
    const QString text =
        LoadLangText(9007) + QLatin1Char('"') + FileTitle(doc_.CurFileName) + QLatin1Char('"');
    if (prompter_.ask(text, B::OkCancel, I::Question) != A::Ok) return false;
    if (!SaveDataFile(doc_)) return false;
    shell_.refreshTitle();
    return true;
}

bool DocumentCommands::FileSaveAs() {
    const QString path = shell_.chooseSaveFile(doc_.CurFileName);
    if (path.isEmpty()) return false;
    // A name is only taken over once the file is written: after a failure the title and a
    // later Save still refer to the document's own file.
    const QString oldName = doc_.CurFileName;
    doc_.CurFileName = path;
    if (!SaveDataFile(doc_)) {
        doc_.CurFileName = oldName;
        return false;
    }
    shell_.refreshTitle();
    return true;
}

void DocumentCommands::Init() {
    doc_.InitRequested = true;
    FileNew();
}

bool DocumentCommands::ExitSequence(bool minimised, const QRect& twips) {
    if (!minimised) SaveMainWindowTwips(twips);
    if (!askSaveChanges()) return false;
    // A record that cannot be written is not worth a message at exit.
    WriteSettingBytes();
    return true;
}
