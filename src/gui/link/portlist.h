#pragma once

#include <QList>
#include <QString>

// A serial port present on this computer.
struct PortEntry {
    QString portName;       // "ttyUSB0", "ttyS2", "COM3"
    QString systemLocation; // "/dev/ttyUSB0"
    QString description;    // the cable: "FTDI FT232R (0403:6001)", or the product's name
    // The name to store for it: its /dev/serial/by-id/ link when it has one, so that the same
    // cable is found again after a re-plug gives it another ttyUSB number. Empty: the path.
    QString stableName = QString();
    // Every detail the system gives (ids, maker, serial number, driver), one per line.
    QString details = QString();

    QString storedName() const { return stableName.isEmpty() ? systemLocation : stableName; }
};

QList<PortEntry> PresentPorts();
// The COM number a port stands for: COMn on Windows, /dev/ttyS<n-1> elsewhere; 0 when it is
// no numbered port.
int ComNumberOf(const PortEntry& port);
