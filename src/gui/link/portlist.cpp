#include "portlist.h"

#include "core/link/portdetails.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {
QString detailLines(const SerialPortDetails& p) {
    QStringList lines{p.path};
    const auto add = [&](const char* label, const QString& value) {
        if (!value.isEmpty()) lines << QLatin1String(label) + value;
    };
    add("", p.byIdPath);
    if (p.isUsb()) add("USB ", p.usbIds());
    add("", p.chipFamily);
    add("", p.manufacturer);
    add("", p.product);
    add("S/N ", p.serialNumber);
    add("driver ", p.driver);
    return lines.join(QLatin1Char('\n'));
}
} // namespace

QList<PortEntry> PresentPorts() {
    QList<PortEntry> r;
    for (const SerialPortDetails& p : ListSerialPorts()) {
        QString description = p.summary();
        if (!description.isEmpty() && !p.serialNumber.isEmpty())
            description += QStringLiteral(", S/N ") + p.serialNumber;
        r.append({QFileInfo(p.path).fileName(), p.path, description, p.byIdPath, detailLines(p)});
    }
    return r;
}

int ComNumberOf(const PortEntry& port) {
    static const QRegularExpression com(QStringLiteral("^COM(\\d{1,3})$"),
                                        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression ttyS(QStringLiteral("^ttyS(\\d{1,3})$"));
    if (const auto m = com.match(port.portName); m.hasMatch()) return m.captured(1).toInt();
    if (const auto m = ttyS.match(port.portName); m.hasMatch()) return m.captured(1).toInt() + 1;
    return 0;
}
