// mzcli template FILE.dat [--factory]: installs a document as the initial-data file of this
// installation. New documents of the file's model and country mode then start from it (or,
// with --factory, the initialisation command does).

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/files/savedatafile.h"
#include "core/model/document.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace {

int runTemplate(const QStringList& args) {
    QCommandLineParser p;
    p.addOption(
        {QStringLiteral("factory"),
         QStringLiteral("Install as the factory file used by the initialisation command.")});
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 1) {
        CliError(QStringLiteral("template needs exactly one data file: mzcli template FILE.dat."));
        return ExitBadInput;
    }
    const QString path = p.positionalArguments().first();

    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    // The same checks as opening the file in the program: a template that the program would
    // refuse must not be installed.
    if (!OpenCheckedDocument(doc, prompter, path)) return ExitBadInput;

    const QString target = InitFilePath(doc, !p.isSet(QStringLiteral("factory")));
    if (!QDir().mkpath(QFileInfo(target).absolutePath())) {
        CliError(
            QStringLiteral("cannot create the folder %1.").arg(QFileInfo(target).absolutePath()));
        return ExitBadInput;
    }
    // Written through the save path, so the template carries this program's version.
    doc.CurFileName = target;
    prompter.setSubject(target);
    if (!SaveDataFile(doc)) return ExitBadInput;
    QTextStream(stdout) << target << "\n";
    return ExitOk;
}

CliCommand
    reg("template",
        "template FILE.dat [--factory]            install a document as the initial-data file",
        CliHelp{27712, {{"factory", nullptr, 27740}}, {CliDataFileArgument}}, runTemplate);

} // namespace
