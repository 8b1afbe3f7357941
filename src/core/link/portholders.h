#pragma once

// Which other programs hold a device open, as far as /proc tells (another user's processes
// are visible to an administrator only).

#include <QList>
#include <QString>

struct PortHolder {
    qint64 pid = 0;
    QString name; // the program's name (its comm)
};

// The processes other than this one with an open descriptor on the device (any of its names).
QList<PortHolder> PortHolders(const QString& devicePath,
                              const QString& procRoot = QStringLiteral("/proc"));
