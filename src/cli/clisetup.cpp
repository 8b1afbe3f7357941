#include "clisetup.h"
#include "cliprompter.h"
#include "command.h"
#include "core/app/appstate.h"
#include "core/app/startup.h"
#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/files/savedatafile.h"
#include "core/lang/langtext.h"
#include "core/lang/languages.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QCommandLineParser>
#include <QCoreApplication>

void CliStartUp(Document& doc) {
    AppState& a = App();
    a.ProgramDir = QCoreApplication::applicationDirPath();
    a.ProgramRoot = ProgramRootOf(a.ProgramDir);
    LoadVersionTable(doc);
    doc.InitRequested = false;
    // The language of the environment, not the window's choice: a script's output must not
    // change because someone switched the window's language.
    InitLanguageDefaults(doc, EnvironmentLocale());
    doc.InitDir = a.ProgramDir;
    a.AppTitle = LoadLangText(12000);
}

bool OpenCheckedDocument(Document& doc, CliPrompter& prompter, const QString& path,
                         DamagedChannelsPolicy policy) {
    doc.setPrompter(&prompter);
    prompter.setSubject(path);
    return OpenDataFile(doc, path, policy) == OpenResult::Opened;
}

bool WriteOutputFile(const QString& path, const QByteArray& bytes) {
    QString error;
    if (WriteFileAtomically(path, bytes, &error)) {
        WrittenOutputFiles().append(path);
        return true;
    }
    // The sentence names the file and the system's reason.
    CliError(error);
    return false;
}

QStringList& WrittenOutputFiles() {
    static QStringList files;
    return files;
}

bool WriteDocumentFile(Document& doc, const QString& path) {
    RadioDataRec data = doc.RadioData;
    doc.FillFileHead(data.Head);
    return WriteOutputFile(path, EncodeDataFile(data, doc.CHInfo));
}

bool ParseCliArgs(QCommandLineParser& parser, const QStringList& args) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    if (!parser.parse(QStringList{QStringLiteral("mzcli")} + args)) {
        CliError(parser.errorText());
        return false;
    }
    return true;
}

bool ParseCountryMode(const QString& text, int& mode) {
    bool ok = false;
    const int m = text.trimmed().toInt(&ok);
    if (!ok || !IsValidMode(m)) return false;
    mode = m;
    return true;
}
