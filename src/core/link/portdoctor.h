#pragma once

// What stands between the user and a serial port, checked one thing at a time, each with the
// one line that fixes it: the device exists, the user may read and write it, no other program
// holds it, no braille driver or modem manager takes the cable, its chip has a driver.

#include "portdetails.h"

#include <QList>
#include <QString>
#include <QStringList>

// Where the checks look; tests replace every folder with one of their own.
struct DoctorRoots {
    SystemRoots system = SystemRoots::fromEnvironment();
    QString proc = QStringLiteral("/proc");
    QString udevData = QStringLiteral("/run/udev/data");
    QStringList udevRules = {QStringLiteral("/usr/lib/udev/rules.d"),
                             QStringLiteral("/lib/udev/rules.d"),
                             QStringLiteral("/etc/udev/rules.d")};
};

struct DoctorFinding {
    enum class Level { Ok, Warning, Problem };
    Level level = Level::Ok;
    QString text; // what was found
    QString fix;  // the one line that mends it; empty for Ok
};

struct DoctorReport {
    SerialPortDetails port;
    QList<DoctorFinding> findings;
    // A problem that keeps the port from being opened at all (missing, no access, held).
    bool portUsable = true;
};

// Why an existing path is no serial port (a folder, a regular file, a device that is no terminal,
// this session's own terminal /dev/tty), with the fix on the second line; empty when it is a
// terminal device, when that cannot be told (no access, held exclusively), or when nothing is
// there (CheckPort tells that).
QStringList NotASerialPort(const QString& path);

// Checks the port given by any of its names.
DoctorReport CheckPort(const QString& port, const DoctorRoots& roots = DoctorRoots());
