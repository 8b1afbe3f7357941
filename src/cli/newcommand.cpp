// mzcli new [--mode 0|1|2] -o FILE.dat: a new document as the program builds it (the defaults,
// then the template file of the installation when there is one), saved to FILE.dat.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/datafile.h"
#include "core/files/savedatafile.h"
#include "core/model/document.h"

#include <QCommandLineParser>

namespace {

int runNew(const QStringList& args) {
    QCommandLineParser p;
    p.addOption({QStringLiteral("mode"), QStringLiteral("Country mode 0 (CB), 1 (HF) or 2 (HAM)."),
                 QStringLiteral("N"), QStringLiteral("0")});
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (!p.positionalArguments().isEmpty()) {
        CliError(
            QStringLiteral("new takes no file argument; give the output file with -o FILE.dat."));
        return ExitBadInput;
    }
    int mode = 0;
    if (!ParseCountryMode(p.value(QStringLiteral("mode")), mode)) {
        CliError(QStringLiteral("the country mode must be 0, 1 or 2, not \"%1\".")
                     .arg(p.value(QStringLiteral("mode"))));
        return ExitBadInput;
    }
    const QString out = p.value(QStringLiteral("output"));
    if (out.isEmpty()) {
        CliError(QStringLiteral("give the output file with -o FILE.dat."));
        return ExitBadInput;
    }

    Document doc;
    CliPrompter prompter;
    doc.setPrompter(&prompter);
    CliStartUp(doc);
    const QString model = doc.ModelName;
    doc.SetCountryMode(mode);
    const QString templ = InitFilePath(doc, true);
    NewDocumentWithInitFile(doc);
    // A template is loaded as it stands; one that holds another mode or model was put under
    // the wrong name and would give a document other than the one asked for.
    if (doc.CountryMode != mode || doc.ModelName != model) {
        CliError(QStringLiteral("the template %1 holds model %2 mode %3, not %4 mode %5; "
                                "nothing was written.")
                     .arg(templ, doc.ModelName)
                     .arg(doc.CountryMode)
                     .arg(model)
                     .arg(mode));
        return ExitBadInput;
    }
    doc.CurFileName = out;
    prompter.setSubject(out);
    return SaveDataFile(doc) ? ExitOk : ExitBadInput;
}

CliCommand
    reg("new",
        "new [--mode 0|1|2] -o FILE.dat           new document (defaults, then the template file "
        "if present)",
        CliHelp{27709, {CliModeOption, CliOutputOption}, {}}, runNew);

} // namespace
