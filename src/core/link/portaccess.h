#pragma once

// Why a serial device refuses the user, and what the user can do about it.

#include <QString>

// What the operating system says about a device node and the user.
struct DeviceAccess {
    QString path;                 // as the user gave it
    QString kernelName;           // the node's own name ("ttyUSB0"), for a udev rule
    QString owner;                // user that owns the node
    QString group;                // group that owns the node
    unsigned mode = 0;            // permission bits (0660)
    QString user;                 // who runs the program
    bool userInGroup = false;     // the user is listed in the node's group ...
    bool sessionHasGroup = false; // ... and this login session already carries it
};

// Reads the node and the user; false when the node cannot be examined.
bool ReadDeviceAccess(const QString& devicePath, DeviceAccess& out);

// One message for a device the user may not open. A group is named only when its members may
// read and write the node and it is not the administrators' group: joining "root" is never
// advised. Otherwise the owner and mode are shown with a udev rule that hands the device to
// the dialout group.
QString PermissionAdvice(const DeviceAccess& a);
