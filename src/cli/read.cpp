#include "clisetup.h"
#include "command.h"
#include "linkcli.h"

#include "core/files/datafile.h"
#include "core/files/fileio.h"
#include "core/model/document.h"

namespace {
int readCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(
        args, {QStringLiteral("port"), QStringLiteral("password"), QStringLiteral("output"),
               QStringLiteral("quiet"), QStringLiteral("run-other-version"), QStringLiteral("log"),
               QStringLiteral("no-backup")});
    if (!a) return ExitBadInput;
    if (a->output.isEmpty() || !a->positional.isEmpty()) {
        CliError(QStringLiteral("usage: mzcli read --port PORT [--password PW] -o FILE.dat"));
        return ExitBadInput;
    }
    // Find out before the radio is touched whether the file can be written at all, not after
    // a read of thirteen seconds.
    QString why;
    if (!CheckWritableTarget(a->output, &why)) {
        CliError(why);
        return ExitBadInput;
    }
    Document doc;
    linkcli::SetUpLinkCli(doc);
    const int rc = linkcli::RunLinkSession(doc, CommKind::Read, *a, QStringList{"read"} + args);
    if (rc != ExitOk) return rc;
    // The session handed the radio's image to the document; only now is the file written.
    return WriteDocumentFile(doc, a->output) ? ExitOk : ExitBadInput;
}

CliCommand reg("read",
               "read  --port PORT [--password PW] [--quiet] [--log FILE] [--no-backup] -o FILE.dat",
               CliHelp{27705,
                       {CliPortOption,
                        CliPasswordOption,
                        CliQuietOption,
                        CliLogOption,
                        {"no-backup", nullptr, 27727},
                        CliRunOtherVersionOption,
                        CliOutputOption},
                       {}},
               readCommand);
} // namespace
