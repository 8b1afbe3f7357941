#pragma once

// The checks of a COM port on Windows, as a rule over what the system told: the device list
// of SetupAPI and the configuration manager (windevices_win.cpp), and what opening the port
// answered. Kept apart from the system calls so that a table of answers can test it.

#include "portdoctor.h"

#include <QList>
#include <QString>

struct WinSerialDevice {
    QString comName;      // "COM7"; empty for a device without a port (no driver, or stopped)
    QString friendlyName; // "USB-SERIAL CH340 (COM7)"
    quint16 vendorId = 0; // 0: not a USB device
    quint16 productId = 0;
    quint16 revision = 0; // REV_xxxx of the hardware id (bcdDevice)
    QString serialNumber;
    QString manufacturer;
    QString service;       // the driver: CH341SER_A64, Ser2pl64, FTSER2K, silabser, usbser
    unsigned problem = 0;  // the configuration manager's problem code; 0 when none
    int latencyTimer = -1; // an FTDI driver's latency timer in ms; -1 when it has none
};

struct WinPortOpen {
    bool opened = false;
    unsigned long error = 0; // GetLastError() when it did not open
};

// The problem codes the checks name (Device Manager shows them as "Code N").
enum : unsigned {
    WinProblemFailedStart = 10, // the driver refused the device
    WinProblemDisabled = 22,    // the user disabled it
    WinProblemNoDriver = 28,    // no driver installed
};

DoctorReport DiagnoseWinPort(const QString& port, const QList<WinSerialDevice>& devices,
                             const WinPortOpen& open);

// The system's devices (SetupAPI); empty off Windows.
QList<WinSerialDevice> WinSerialDevices();
