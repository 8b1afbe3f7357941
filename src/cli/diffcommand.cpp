// mzcli diff A.dat B.dat: the differences field by field; exit 0 when there are none, 1 when
// there are.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/model/document.h"
#include "core/model/documentdiff.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

int runDiff(const QStringList& args) {
    QCommandLineParser p;
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    const QStringList pos = p.positionalArguments();
    if (pos.size() != 2) {
        CliError(QStringLiteral("diff needs two data files: mzcli diff A.dat B.dat."));
        return ExitBadInput;
    }
    Document a, b;
    CliPrompter prompter;
    CliStartUp(a);
    CliStartUp(b);
    if (!OpenCheckedDocument(a, prompter, pos.at(0)) ||
        !OpenCheckedDocument(b, prompter, pos.at(1)))
        return ExitBadInput;
    const QStringList d = DiffDocuments(a, b);
    QTextStream out(stdout);
    for (const QString& line : d)
        out << line << '\n';
    return d.isEmpty() ? ExitOk : 1;
}

CliCommand reg("diff", "diff A.dat B.dat                         differences field by field",
               CliHelp{27711, {}, {{"A.dat", 27742}, {"B.dat", 27743}}}, runDiff);

} // namespace
