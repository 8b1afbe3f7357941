// mzcli ports: the serial ports of this computer and the cable behind each.

#include "command.h"

#include "core/link/portdetails.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

namespace {
QJsonObject toJson(const SerialPortDetails& p) {
    QJsonObject o{{QStringLiteral("path"), p.path},
                  {QStringLiteral("byId"), p.byIdPath},
                  {QStringLiteral("driver"), p.driver},
                  {QStringLiteral("chipFamily"), p.chipFamily},
                  {QStringLiteral("manufacturer"), p.manufacturer},
                  {QStringLiteral("product"), p.product},
                  {QStringLiteral("serialNumber"), p.serialNumber}};
    o.insert(QStringLiteral("vendorId"),
             p.isUsb() ? QJsonValue(SerialPortDetails::hexId(p.vendorId)) : QJsonValue());
    o.insert(QStringLiteral("productId"),
             p.isUsb() ? QJsonValue(SerialPortDetails::hexId(p.productId)) : QJsonValue());
    return o;
}

void printText(QTextStream& out, const SerialPortDetails& p) {
    out << p.path << '\n';
    const auto line = [&](const char* label, const QString& value) {
        if (!value.isEmpty()) out << "  " << label << value << '\n';
    };
    line("stable name:  ", p.byIdPath);
    if (p.isUsb()) line("USB ids:      ", p.usbIds());
    line("chip:         ", p.chipFamily);
    line("manufacturer: ", p.manufacturer);
    line("product:      ", p.product);
    line("serial:       ", p.serialNumber);
    line("driver:       ", p.driver);
}

int portsCommand(const QStringList& args) {
    QString format = QStringLiteral("text");
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--format") && i + 1 < args.size()) {
            format = args[++i];
        } else {
            CliError(QStringLiteral("usage: mzcli ports [--format text|json]"));
            return ExitBadInput;
        }
    }
    if (format != QLatin1String("text") && format != QLatin1String("json")) {
        CliError(QStringLiteral("--format takes text or json, not \"%1\".").arg(format));
        return ExitBadInput;
    }
    const QList<SerialPortDetails> ports = ListSerialPorts();
    QTextStream out(stdout);
    if (format == QLatin1String("json")) {
        QJsonArray a;
        for (const SerialPortDetails& p : ports)
            a.append(toJson(p));
        out << QJsonDocument(a).toJson(QJsonDocument::Indented);
    } else if (ports.isEmpty()) {
        out << "No serial port was found. Plug the cable in; a virtual radio (mzsim) prints its "
               "own port.\n";
    } else {
        for (const SerialPortDetails& p : ports)
            printText(out, p);
    }
    out.flush();
    return out.status() == QTextStream::Ok ? ExitOk : ExitBadInput;
}

CliCommand reg("ports", "ports [--format text|json]               serial ports and their cables",
               CliHelp{27718, {{"format", "text|json", 27732}}, {}}, portsCommand);
} // namespace
