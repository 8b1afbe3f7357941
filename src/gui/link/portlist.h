#pragma once

#include <QList>
#include <QString>

// A serial port present on this computer.
struct PortEntry {
    QString portName;       // "ttyUSB0", "ttyS2", "COM3"
    QString systemLocation; // "/dev/ttyUSB0"
    QString description;
};

QList<PortEntry> PresentPorts();
// The COM number a port stands for: COMn on Windows, /dev/ttyS<n-1> elsewhere; 0 when it is
// no numbered port.
int ComNumberOf(const PortEntry& port);
