#include "portdoctor.h"
#include "windoctor.h"

#include <windows.h>

// A COM port is a name in the device namespace, not a file a user could give by mistake: what
// is not a port is told by opening it (CheckPort).
QStringList NotASerialPort(const QString&) {
    return {};
}

DoctorReport CheckPort(const QString& port, const DoctorRoots&) {
    WinPortOpen open;
    const QString name = QStringLiteral("\\\\.\\") + port.trimmed();
    // Opened as the session opens it: exclusively. A port another program holds says so here.
    HANDLE h =
        ::CreateFileW(reinterpret_cast<const wchar_t*>(name.utf16()), GENERIC_READ | GENERIC_WRITE,
                      0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        open.error = ::GetLastError();
    } else {
        open.opened = true;
        ::CloseHandle(h);
    }
    return DiagnoseWinPort(port, WinSerialDevices(), open);
}
