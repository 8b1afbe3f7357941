#include "command.h"

#include "core/app/appstate.h"
#include "core/app/startup.h"

#include <QCoreApplication>
#include <QTextStream>

namespace {
QList<const CliCommand*>& registry() {
    static QList<const CliCommand*> r;
    return r;
}

void usage(QTextStream& out) {
    out << "usage: mzcli COMMAND [options]\n\ncommands:\n";
    for (const CliCommand* c : CliCommands())
        out << "  " << c->usage << "\n";
}
} // namespace

CliCommand::CliCommand(const char* n, const char* u, Fn f) : name(n), usage(u), fn(std::move(f)) {
    registry().append(this);
}

const QList<const CliCommand*>& CliCommands() {
    return registry();
}

void CliError(const QString& sentence) {
    QTextStream(stderr) << "mzcli: " << sentence << "\n";
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    QTextStream out(stdout), err(stderr);
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        usage(args.isEmpty() ? err : out);
        return args.isEmpty() ? ExitBadInput : ExitOk;
    }
    // "mzcli --log FILE COMMAND ..." is the same as "mzcli COMMAND --log FILE ...".
    if (args.size() >= 3 && args[0] == QLatin1String("--log")) args.move(2, 0);
    const QString name = args.takeFirst();
    for (const CliCommand* c : CliCommands())
        if (name == QLatin1String(c->name)) return c->fn(args);
    CliError(QStringLiteral("unknown command \"%1\"; run mzcli --help for the list.").arg(name));
    return ExitBadInput;
}
