#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "linkcli.h"

#include "core/link/memorymap.h"
#include "core/model/document.h"

namespace {
int packCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(args, {QStringLiteral("output")});
    if (!a) return ExitBadInput;
    if (a->positional.size() != 1 || a->output.isEmpty()) {
        CliError(QStringLiteral("usage: mzcli pack FILE.dat -o MEM.bin"));
        return ExitBadInput;
    }
    Document doc;
    linkcli::SetUpLinkCli(doc);
    CliPrompter prompter;
    if (!OpenCheckedDocument(doc, prompter, a->positional[0])) return ExitBadInput;
    // Exactly what a write sends: the image packed into an all-zero memory.
    MemBuf mem{};
    PackMemBuf(doc.RadioData, doc.CHInfo, mem);
    const QByteArray bytes(reinterpret_cast<const char*>(mem.data()), MemSize);
    return WriteOutputFile(a->output, bytes) ? ExitOk : ExitBadInput;
}

CliCommand reg("pack", "pack FILE.dat -o MEM.bin",
               CliHelp{27721, {CliOutputOption}, {CliDataFileArgument}}, packCommand);
} // namespace
