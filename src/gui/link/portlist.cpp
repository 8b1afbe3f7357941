#include "portlist.h"

#include <QRegularExpression>
#include <QSerialPortInfo>

QList<PortEntry> PresentPorts() {
    QList<PortEntry> r;
    for (const QSerialPortInfo& p : QSerialPortInfo::availablePorts())
        r.append({p.portName(), p.systemLocation(), p.description()});
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
