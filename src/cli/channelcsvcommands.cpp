// mzcli export and import: a document's channels as a CSV file in the column format radio
// owners exchange, and such a file read back into a document.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/files/channelcsv.h"
#include "core/files/fileio.h"
#include "core/model/country.h"
#include "core/model/document.h"

#include <QCommandLineParser>
#include <QFile>
#include <QTextStream>

namespace {

int runExport(const QStringList& args) {
    QCommandLineParser p;
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 1) {
        CliError(QStringLiteral("export needs exactly one data file: mzcli export FILE.dat -o "
                                "FILE.csv."));
        return ExitBadInput;
    }
    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    if (!OpenCheckedDocument(doc, prompter, p.positionalArguments().first())) return ExitBadInput;
    const ChannelCsvExport e = ExportChannelsCsv(doc);
    for (const QString& s : e.skipped)
        CliError(QStringLiteral("channel %1 was left out.").arg(s));
    const QString out = p.value(QStringLiteral("output"));
    if (out.isEmpty()) {
        QFile stdOut;
        if (!stdOut.open(stdout, QIODevice::WriteOnly) || stdOut.write(e.csv) != e.csv.size())
            return ExitBadInput;
        return ExitOk;
    }
    return WriteOutputFile(out, e.csv) ? ExitOk : ExitBadInput;
}

// A group by its name in the document's mode ("A", "EU", "MEM") or by its number.
bool parseGroup(const QString& text, int mode, int& group) {
    for (int g = 0; g < GroupCount(mode); ++g)
        if (text.compare(GroupName(g, mode), Qt::CaseInsensitive) == 0) {
            group = g;
            return true;
        }
    bool ok = false;
    const int g = text.toInt(&ok);
    if (!ok || g < 0 || g >= GroupCount(mode)) return false;
    group = g;
    return true;
}

int runImport(const QStringList& args) {
    QCommandLineParser p;
    p.addOption(CliParserOption(CliOutputOption));
    p.addOption({QStringLiteral("group"),
                 QStringLiteral("Put the rows into consecutive rows of this group."),
                 QStringLiteral("G")});
    p.addOption({QStringLiteral("start"), QStringLiteral("The first row used in the group."),
                 QStringLiteral("N"), QStringLiteral("1")});
    p.addOption({QStringLiteral("partial"),
                 QStringLiteral("Write the document even when some rows were skipped.")});
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    if (p.positionalArguments().size() != 2) {
        CliError(QStringLiteral("import needs a data file and a CSV file: mzcli import FILE.dat "
                                "FILE.csv -o OUT.dat."));
        return ExitBadInput;
    }
    const QString out = p.value(QStringLiteral("output"));
    if (out.isEmpty()) {
        CliError(QStringLiteral("give the output file with -o OUT.dat."));
        return ExitBadInput;
    }
    const QString csvPath = p.positionalArguments().at(1);

    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    if (!OpenCheckedDocument(doc, prompter, p.positionalArguments().first())) return ExitBadInput;

    ChannelImportOptions options;
    if (p.isSet(QStringLiteral("group"))) {
        if (!parseGroup(p.value(QStringLiteral("group")), doc.CountryMode, options.group)) {
            CliError(QStringLiteral("there is no group \"%1\" in %2 mode; the groups are %3.")
                         .arg(p.value(QStringLiteral("group")), ModeName(doc.CountryMode),
                              GroupNames(doc.CountryMode).join(QStringLiteral(", "))));
            return ExitBadInput;
        }
        bool ok = false;
        options.startRow = p.value(QStringLiteral("start")).toInt(&ok);
        if (!ok || options.startRow < 1 ||
            options.startRow > GroupSize(options.group, doc.CountryMode)) {
            CliError(QStringLiteral("the start row must be 1 to %1 in group %2.")
                         .arg(GroupSize(options.group, doc.CountryMode))
                         .arg(GroupName(options.group, doc.CountryMode)));
            return ExitBadInput;
        }
    } else if (p.isSet(QStringLiteral("start"))) {
        CliError(QStringLiteral("--start needs --group."));
        return ExitBadInput;
    }

    QByteArray csv;
    QString why;
    if (!ReadInputFile(csvPath, InputKind::ChannelList, csv, &why)) {
        CliError(why);
        return ExitBadInput;
    }
    const ChannelImportReport report = ImportChannelsCsv(doc, csv, options);
    if (report.refused()) {
        prompter.setSubject(csvPath);
        prompter.message(9750, Prompter::Buttons::Ok, Prompter::Icon::Critical,
                         report.refusalText(csvPath));
        return ExitBadInput;
    }
    QTextStream(stdout) << report.lines().join(QLatin1Char('\n')) << '\n';
    // An empty row asks for nothing, so passing it over loses nothing.
    if (report.count(RowOutcome::Skipped) > 0 && !p.isSet(QStringLiteral("partial"))) {
        CliError(QStringLiteral("some rows were skipped; nothing was written (give --partial to "
                                "write the others)."));
        return ExitBadInput;
    }
    return WriteDocumentFile(doc, out) ? ExitOk : ExitBadInput;
}

CliCommand regExport("export", "export FILE.dat [-o FILE.csv]            channels as a CSV file",
                     CliHelp{27715, {CliOutputOption}, {CliDataFileArgument}}, runExport);
CliCommand regImport("import",
                     "import FILE.dat FILE.csv -o OUT.dat [--group G --start N] [--partial]\n"
                     "                                           channels from a CSV file",
                     CliHelp{27716,
                             {CliOutputOption,
                              {"group", "G", 27736},
                              {"start", "N", 27737},
                              {"partial", nullptr, 27738}},
                             {CliDataFileArgument, {"FILE.csv", 27744}}},
                     runImport);

} // namespace
