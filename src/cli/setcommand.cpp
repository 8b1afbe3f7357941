// mzcli set FILE.dat CH FIELD=VALUE ... [-o OUT.dat]: changes channel fields with the rules of
// the channel windows, all or nothing.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/model/channeledit.h"
#include "core/model/country.h"
#include "core/model/document.h"

#include <QCommandLineParser>
#include <QTextStream>

namespace {

int runSet(const QStringList& args) {
    QCommandLineParser p;
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    const QStringList pos = p.positionalArguments();
    if (pos.size() < 3) {
        CliError(QStringLiteral("set needs a data file, a channel number and at least one "
                                "FIELD=VALUE: mzcli set FILE.dat 7 DUP=1."));
        return ExitBadInput;
    }
    bool ok = false;
    const int chNo = pos.at(1).toInt(&ok);
    if (!ok || chNo < 1 || chNo > MaxChannels) {
        CliError(QStringLiteral("the channel number must be 1 to 409, not \"%1\".").arg(pos.at(1)));
        return ExitBadInput;
    }
    const QString path = pos.first();
    Document doc;
    CliPrompter prompter;
    CliStartUp(doc);
    if (!OpenCheckedDocument(doc, prompter, path)) return ExitBadInput;

    QTextStream out(stdout);
    const QString where =
        QStringLiteral("channel %1 (%2)").arg(chNo).arg(ChannelSlotName(chNo, doc.CountryMode));
    for (int i = 2; i < pos.size(); ++i) {
        const QString& a = pos.at(i);
        const int eq = a.indexOf(QLatin1Char('='));
        const int id = eq > 0 ? ChannelFieldIndex(a.left(eq)) : 0;
        if (id == 0) {
            CliError(QStringLiteral("\"%1\" is not FIELD=VALUE with one of the fields %2; nothing "
                                    "was written.")
                         .arg(a, ChannelFieldNames().join(QStringLiteral(", "))));
            return ExitBadInput;
        }
        const EditResult r = EditChannelField(doc, chNo, id, a.mid(eq + 1));
        const QString field = ChannelFieldName(id);
        if (r.outcome == EditOutcome::Refused) {
            CliError(QStringLiteral("%1 %2=%3 refused: %4; nothing was written.")
                         .arg(where, field, a.mid(eq + 1), r.reason.text()));
            return ExitBadInput;
        }
        out << where << ' ' << field << ": "
            << (r.before.isEmpty() ? QStringLiteral("-") : r.before) << " -> "
            << (r.after.isEmpty() ? QStringLiteral("-") : r.after);
        if (r.outcome == EditOutcome::Adjusted) out << " (" << r.reason.text() << ')';
        out << '\n';
    }
    out.flush();
    const QString target =
        p.isSet(QStringLiteral("output")) ? p.value(QStringLiteral("output")) : path;
    return WriteDocumentFile(doc, target) ? ExitOk : ExitBadInput;
}

CliCommand reg("set",
               "set FILE.dat CH FIELD=VALUE ... [-o OUT.dat]\n"
               "                                           change channel fields as the windows do",
               CliHelp{27714,
                       {CliOutputOption},
                       {CliDataFileArgument, {"CH", 27747}, {"FIELD=VALUE...", 27748}}},
               runSet);

} // namespace
