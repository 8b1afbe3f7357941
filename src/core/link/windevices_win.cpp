#include "windoctor.h"

#include <QRegularExpression>
#include <QSerialPortInfo>
#include <windows.h>
// (after windows.h)
#include <cfgmgr32.h>
#include <setupapi.h>

namespace {
QString property(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD which) {
    wchar_t buf[1024] = {};
    DWORD type = 0;
    if (!::SetupDiGetDeviceRegistryPropertyW(set, &dev, which, &type, reinterpret_cast<BYTE*>(buf),
                                             sizeof buf - 2, nullptr))
        return QString();
    return QString::fromWCharArray(buf); // a list (REG_MULTI_SZ) gives its first entry
}

// The device's own settings: the COM name its port driver took, an FTDI latency timer.
void readDeviceKey(HDEVINFO set, SP_DEVINFO_DATA& dev, WinSerialDevice& d) {
    HKEY key = ::SetupDiOpenDevRegKey(set, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (key == INVALID_HANDLE_VALUE) return;
    wchar_t name[64] = {};
    DWORD size = sizeof name - 2, type = 0;
    if (::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(name),
                           &size) == ERROR_SUCCESS &&
        type == REG_SZ)
        d.comName = QString::fromWCharArray(name);
    DWORD latency = 0;
    size = sizeof latency;
    if (::RegQueryValueExW(key, L"LatencyTimer", nullptr, &type, reinterpret_cast<BYTE*>(&latency),
                           &size) == ERROR_SUCCESS &&
        type == REG_DWORD)
        d.latencyTimer = int(latency);
    ::RegCloseKey(key);
}
} // namespace

QList<WinSerialDevice> WinSerialDevices() {
    QList<WinSerialDevice> devices;
    HDEVINFO set =
        ::SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES | DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return devices;
    static const QRegularExpression ids(
        QStringLiteral("VID_([0-9A-F]{4})[&+]PID_([0-9A-F]{4})(?:&REV_([0-9A-F]{4}))?"),
        QRegularExpression::CaseInsensitiveOption);
    SP_DEVINFO_DATA dev{};
    dev.cbSize = sizeof dev;
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &dev); ++i) {
        WinSerialDevice d;
        const QString hardwareId = property(set, dev, SPDRP_HARDWAREID);
        const bool port = property(set, dev, SPDRP_CLASS) == QLatin1String("Ports");
        if (const auto m = ids.match(hardwareId); m.hasMatch()) {
            d.vendorId = quint16(m.captured(1).toUInt(nullptr, 16));
            d.productId = quint16(m.captured(2).toUInt(nullptr, 16));
            d.revision = quint16(m.captured(3).toUInt(nullptr, 16));
        }
        if (!port && d.vendorId == 0) continue;
        d.friendlyName = property(set, dev, SPDRP_FRIENDLYNAME);
        if (d.friendlyName.isEmpty()) d.friendlyName = property(set, dev, SPDRP_DEVICEDESC);
        d.manufacturer = property(set, dev, SPDRP_MFG);
        d.service = property(set, dev, SPDRP_SERVICE);
        ULONG status = 0, problem = 0;
        if (::CM_Get_DevNode_Status(&status, &problem, dev.DevInst, 0) == CR_SUCCESS &&
            (status & DN_HAS_PROBLEM))
            d.problem = unsigned(problem);
        if (port) readDeviceKey(set, dev, d);
        devices.append(d);
    }
    ::SetupDiDestroyDeviceInfoList(set);
    // The serial number of a USB cable, as the serial port library reads it.
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        for (WinSerialDevice& d : devices)
            if (d.comName.compare(info.portName(), Qt::CaseInsensitive) == 0)
                d.serialNumber = info.serialNumber();
    return devices;
}
