// The table of mzcli's commands and the help each one declares.

#include "command.h"

#include "core/lang/langtext.h"

#include <QTextStream>
#include <algorithm>

namespace {
// The order of mzcli --help: reading and writing the radio, files, channels, then the tools.
// A command missing here is listed last.
const char* const CommandOrder[] = {
    "read",  "write",  "info",   "batch-write",          //
    "new",   "show",   "diff",   "template",    "print", //
    "set",   "export", "import", "plan",                 //
    "ports", "doctor", "tone",   "pack",        "unpack",
};

int rank(const CliCommand* c) {
    const auto* end = std::end(CommandOrder);
    return int(std::find_if(std::begin(CommandOrder), end,
                            [c](const char* n) { return qstrcmp(n, c->name) == 0; }) -
               std::begin(CommandOrder));
}

QList<const CliCommand*>& registry() {
    static QList<const CliCommand*> r;
    return r;
}

QString optionNames(const CliOption& o) {
    const QStringList names = QString::fromLatin1(o.names).split(QLatin1Char(','));
    QString text = names.size() > 1
                       ? QStringLiteral("-") + names[0] + QStringLiteral(", --") + names[1]
                       : QStringLiteral("    --") + names[0];
    if (o.value) text += QLatin1Char(' ') + QLatin1String(o.value);
    return text;
}

void writeTable(QTextStream& out, const QList<QPair<QString, QString>>& rows) {
    qsizetype width = 0;
    for (const auto& row : rows)
        width = std::max(width, row.first.size());
    for (const auto& [left, right] : rows)
        out << "  " << left.leftJustified(width) << "  " << right << '\n';
}
} // namespace

CliCommand::CliCommand(const char* n, const char* u, CliHelp h, Fn f, Needs needs)
    : name(n), usage(u), help(std::move(h)), fn(std::move(f)), needs(needs) {
    QList<const CliCommand*>& r = registry();
    r.insert(std::upper_bound(
                 r.begin(), r.end(), this,
                 [](const CliCommand* a, const CliCommand* b) { return rank(a) < rank(b); }),
             this);
}

const QList<const CliCommand*>& CliCommands() {
    return registry();
}

const CliCommand* FindCliCommand(const QString& name) {
    for (const CliCommand* c : CliCommands())
        if (name == QLatin1String(c->name)) return c;
    return nullptr;
}

QString CliCommandHelp(const CliCommand& c) {
    QString synopsis = QStringLiteral("mzcli ") + QLatin1String(c.name);
    if (!c.help.options.isEmpty()) synopsis += QStringLiteral(" [options]");
    for (const CliArgument& a : c.help.arguments)
        synopsis += QLatin1Char(' ') + QLatin1String(a.name);

    QString text;
    QTextStream out(&text);
    out << c.name << " - " << LoadLangText(c.help.summary) << "\n\n"
        << LoadLangText(27700).arg(synopsis) << '\n';
    if (!c.help.options.isEmpty()) {
        QList<QPair<QString, QString>> rows;
        for (const CliOption& o : c.help.options)
            rows.append({optionNames(o), LoadLangText(o.text)});
        out << '\n' << LoadLangText(27701) << '\n';
        writeTable(out, rows);
    }
    if (!c.help.arguments.isEmpty()) {
        QList<QPair<QString, QString>> rows;
        for (const CliArgument& a : c.help.arguments)
            rows.append({QLatin1String(a.name), LoadLangText(a.text)});
        out << '\n' << LoadLangText(27702) << '\n';
        writeTable(out, rows);
    }
    out.flush();
    return text;
}

QCommandLineOption CliParserOption(const CliOption& o) {
    QCommandLineOption option(QString::fromLatin1(o.names).split(QLatin1Char(',')),
                              LoadLangText(o.text));
    if (o.value) option.setValueName(QLatin1String(o.value));
    return option;
}

bool AsksForHelp(const CliCommand& c, const QStringList& args) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--")) return false;
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) return true;
        // The value after an option that takes one is no option of its own ("--password -h").
        for (const CliOption& o : c.help.options) {
            if (!o.value) continue;
            const QStringList names = QString::fromLatin1(o.names).split(QLatin1Char(','));
            for (const QString& n : names)
                if (arg == (n.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + n) ++i;
        }
    }
    return false;
}
