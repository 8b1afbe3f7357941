// mzcli show FILE.dat [--format text|json|csv]: prints a document after the same checks the
// program makes when it opens a file. A file whose only fault is damaged channel records is
// printed all the same, with those records marked, so that one can see what is wrong with it;
// the exit status is still 2.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/opendatafile.h"
#include "core/model/channelcheck.h"
#include "core/model/document.h"
#include "documentprint.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

int runShow(const QStringList& args) {
    QCommandLineParser p;
    p.addOption({QStringLiteral("format"), QStringLiteral("text, json or csv."),
                 QStringLiteral("FORMAT"), QStringLiteral("text")});
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 1) {
        CliError(QStringLiteral("show needs exactly one data file: mzcli show FILE.dat."));
        return ExitBadInput;
    }
    const QString format = p.value(QStringLiteral("format"));
    if (format != QLatin1String("text") && format != QLatin1String("json") &&
        format != QLatin1String("csv")) {
        CliError(QStringLiteral("the format must be text, json or csv, not \"%1\".").arg(format));
        return ExitBadInput;
    }
    const QString path = p.positionalArguments().first();

    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    if (!OpenCheckedDocument(doc, prompter, path, DamagedChannelsPolicy::Keep)) return ExitBadInput;
    const bool damaged = !DamagedChannels(doc.RadioData, doc.CHInfo).isEmpty();

    QTextStream out(stdout);
    if (format == QLatin1String("json"))
        out << DocumentJson(doc);
    else if (format == QLatin1String("csv"))
        out << DocumentCsv(doc);
    else
        out << DocumentText(doc);
    return damaged ? ExitBadInput : ExitOk;
}

CliCommand reg("show", "show FILE.dat [--format text|json|csv]   print a document",
               CliHelp{27710, {{"format", "text|json|csv", 27732}}, {CliDataFileArgument}},
               runShow);

} // namespace
