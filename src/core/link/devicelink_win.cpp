#include "devicelink.h"

// Windows has no pseudo-terminals: its virtual radio answers inside the program, so there is no
// link to make and nothing at a path is ever touched.

bool DeviceLink::make(const QString& path, const QString&, QString* why) {
    if (why) *why = path;
    return false;
}

void DeviceLink::remove() {}

bool IsStalePtyLink(const QString&) {
    return false;
}
