#include "command.h"
#include "linkcli.h"

#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

namespace {
QString jsonString(const QString& s) {
    // A one-element array is the simplest way to have Qt escape a string for JSON.
    const QByteArray a = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(a.mid(1, a.size() - 2));
}

int infoCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(args, {QStringLiteral("port"), QStringLiteral("format"),
                                                 QStringLiteral("quiet"), QStringLiteral("log")});
    if (!a) return ExitBadInput;
    if (!a->positional.isEmpty() ||
        (a->format != QLatin1String("text") && a->format != QLatin1String("json"))) {
        CliError(QStringLiteral("usage: mzcli info --port PORT [--format text|json]"));
        return ExitBadInput;
    }
    Document doc;
    linkcli::SetUpLinkCli(doc);
    const int rc = linkcli::RunLinkSession(doc, CommKind::Info, *a, QStringList{"info"} + args);
    if (rc != ExitOk) return rc;

    const RadioInfoRec& r = doc.RadioInfo;
    const QList<QPair<const char*, QString>> texts = {
        {"BatchNo", r.BatchNo.text()},
        {"CustomerCode", r.CustomerCode.text()},
        {"InfoCode", r.InfoCode},
        {"SerialNo", r.SerialNo.text()},
        {"FactoryDate", r.FactoryDate.text()},
        {"RepairDate", r.RepairDate.text()},
        {"RepairNote", r.RepairNote.text()},
        {"DealerCode", r.DealerCode.text()},
        {"StockInDate", r.StockInDate.text()},
        {"SaleDate", r.SaleDate.text()},
        {"Handler", r.Handler.text()},
    };
    QTextStream out(stdout);
    if (a->format == QLatin1String("json")) {
        out << "{\"InfoMode\":" << r.InfoMode;
        for (const auto& [name, value] : texts)
            out << ",\"" << name << "\":" << jsonString(value);
        out << "}\n";
    } else {
        out << "InfoMode: " << r.InfoMode << " (" << ModeName(r.InfoMode) << ", "
            << BandTextOf(r.InfoMode) << ")\n";
        for (const auto& [name, value] : texts)
            out << name << ": " << EscapeControls(value) << '\n'; // the radio's own texts
    }
    return ExitOk;
}

CliCommand reg("info", "info  --port PORT [--format text|json] [--quiet] [--log FILE]",
               CliHelp{
                   27707,
                   {CliPortOption, {"format", "text|json", 27732}, CliQuietOption, CliLogOption},
                   {}},
               infoCommand);
} // namespace
