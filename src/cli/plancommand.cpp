// mzcli plan TABLE.csv [--mode N] -o FILE.dat: builds a channel plan table into a data file:
// the defaults of a new document of that mode (never an installed template), then every row
// of the table. The build makes the shipped initial-data files this way.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/fileio.h"
#include "core/files/savedatafile.h"
#include "core/model/channelplan.h"
#include "core/model/document.h"

#include <QCommandLineParser>

namespace {

int runPlan(const QStringList& args) {
    QCommandLineParser p;
    p.addOption({QStringLiteral("mode"), QStringLiteral("Country mode 0 (CB), 1 (HF) or 2 (HAM)."),
                 QStringLiteral("N"), QStringLiteral("0")});
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 1) {
        CliError(QStringLiteral("plan needs exactly one table: mzcli plan TABLE.csv -o FILE.dat."));
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

    const QString table = p.positionalArguments().first();
    QByteArray text;
    QString error;
    if (!ReadInputFile(table, InputKind::PlanTable, text, &error)) {
        CliError(error);
        return ExitBadInput;
    }
    const auto rows = ParsePlanTable(text, mode, &error);
    if (!rows) {
        CliError(QStringLiteral("%1, %2 Nothing was written.").arg(table, error));
        return ExitBadInput;
    }

    Document doc;
    CliPrompter prompter;
    doc.setPrompter(&prompter);
    prompter.setSubject(table);
    CliStartUp(doc);
    doc.SetCountryMode(mode);
    doc.NewDocument();
    if (!ApplyPlan(doc, *rows, &error)) {
        CliError(QStringLiteral("%1, %2 Nothing was written.").arg(table, error));
        return ExitBadInput;
    }
    doc.CurFileName = out;
    prompter.setSubject(out);
    return SaveDataFile(doc) ? ExitOk : ExitBadInput;
}

CliCommand
    reg("plan",
        "plan TABLE.csv [--mode 0|1|2] -o FILE.dat a channel plan table built into a data file",
        CliHelp{27717, {CliModeOption, CliOutputOption}, {{"TABLE.csv", 27746}}}, runPlan);

} // namespace
