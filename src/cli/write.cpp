#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "linkcli.h"

#include "core/model/document.h"

namespace {
int writeCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(
        args, {QStringLiteral("port"), QStringLiteral("password"), QStringLiteral("quiet"),
               QStringLiteral("run-other-version"), QStringLiteral("log"), QStringLiteral("verify"),
               QStringLiteral("no-verify")});
    if (!a) return ExitBadInput;
    if (a->positional.size() != 1) {
        CliError(QStringLiteral("usage: mzcli write --port PORT [--password PW] FILE.dat"));
        return ExitBadInput;
    }
    Document doc;
    linkcli::SetUpLinkCli(doc);
    CliPrompter prompter;
    if (!OpenCheckedDocument(doc, prompter, a->positional[0])) return ExitBadInput;
    return linkcli::RunLinkSession(doc, CommKind::Write, *a, QStringList{"write"} + args);
}

CliCommand reg("write",
               "write --port PORT [--password PW] [--quiet] [--log FILE] [--verify|--no-verify] "
               "FILE.dat",
               CliHelp{27706,
                       {CliPortOption,
                        CliPasswordOption,
                        CliQuietOption,
                        CliLogOption,
                        {"verify", nullptr, 27729},
                        {"no-verify", nullptr, 27730},
                        CliRunOtherVersionOption},
                       {CliDataFileArgument}},
               writeCommand);
} // namespace
