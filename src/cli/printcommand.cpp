// mzcli print FILE.dat -o FILE.pdf: the printed report of a document as a PDF file, in the
// language of the installation, after the same checks the program makes when it opens a file.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/fileio.h"
#include "core/files/printreport.h"
#include "core/model/document.h"

#include <QCommandLineParser>

namespace {

int runPrint(const QStringList& args) {
    QCommandLineParser p;
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 1) {
        CliError(QStringLiteral("print needs exactly one data file: mzcli print FILE.dat -o "
                                "FILE.pdf."));
        return ExitBadInput;
    }
    const QString out = p.value(QStringLiteral("o"));
    if (out.isEmpty()) {
        CliError(QStringLiteral("print needs the PDF file to write: -o FILE.pdf."));
        return ExitBadInput;
    }
    // Refuse an output that cannot be written before the input is read and laid out.
    QString why;
    if (!CheckWritableTarget(out, &why)) {
        CliError(why);
        return ExitBadInput;
    }

    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    if (!OpenCheckedDocument(doc, prompter, p.positionalArguments().first())) return ExitBadInput;
    if (!WritePdf(doc, out, &why)) {
        CliError(why);
        return ExitBadInput;
    }
    return ExitOk;
}

CliCommand reg("print", "print FILE.dat -o FILE.pdf               the printed report as a PDF file",
               CliHelp{27713, {CliOutputOption}, {CliDataFileArgument}}, runPrint,
               CliCommand::Needs::Gui);

} // namespace
