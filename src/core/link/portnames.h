#pragma once

// Serial port names as the user gives them, and why a port could not be opened.

#include <QSerialPort>
#include <QString>
#include <QStringList>

// A device path stays as it is; "COMn" becomes /dev/ttyS<n-1> off Windows; another bare name
// is taken as given when such a file exists, else looked up under /dev ("ttyUSB0" gives
// /dev/ttyUSB0). Blanks around the name are dropped.
QString PortDevicePath(const QString& port);
// The port of the shell settings: the device path when one was chosen, else COMn.
QString PortFromSettings(int comPort, const QString& portName);
// Serial devices present: the ports the system lists plus the USB and by-id nodes.
QStringList PresentPortPaths();
// One sentence for a port that would not open: for "permission denied" the group that owns the
// device and the command that adds the user to it; for "busy" that another program holds it;
// for "not found" the ports that exist.
QString DescribeOpenFailure(const QString& devicePath, QSerialPort::SerialPortError error,
                            const QString& errorString);
