#include "windoctor.h"
#include "linktexts.h"
#include "portdetails.h"

#include "../lang/langtext.h"

#include <QStringList>

namespace {
using Level = DoctorFinding::Level;

QString text(int id, const char* fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}

void add(DoctorReport& r, Level level, const QString& text, const QString& fix = QString()) {
    r.findings.append({level, text, fix});
}

QString chipOf(const WinSerialDevice& d) {
    const QString family = ChipFamily(d.vendorId, d.productId, d.revision);
    return family.isEmpty() ? d.friendlyName : family;
}

QString idsOf(const WinSerialDevice& d) {
    return SerialPortDetails::hexId(d.vendorId) + QLatin1Char(':') +
           SerialPortDetails::hexId(d.productId);
}

// Windows' answers when a COM port does not open (winerror.h).
constexpr unsigned long AccessDenied = 5, FileNotFound = 2, PathNotFound = 3, SharingViolation = 32;
} // namespace

DoctorReport DiagnoseWinPort(const QString& port, const QList<WinSerialDevice>& devices,
                             const WinPortOpen& open) {
    DoctorReport r;
    const QString name = port.trimmed().toUpper();
    r.port.path = name;

    // Cables plugged in whose driver is missing or refused them: they have no COM port.
    for (const WinSerialDevice& d : devices) {
        if (d.problem == 0 || d.vendorId == 0 ||
            ChipFamily(d.vendorId, d.productId, d.revision).isEmpty())
            continue;
        if (d.vendorId == 0x067b && d.problem == WinProblemFailedStart)
            add(r, Level::Problem,
                text(27400, "A %1 cable (%2) is plugged in, but Windows stopped it (code 10): "
                            "the Prolific driver does not take this chip as genuine, or no "
                            "longer supports it (\"phased out\").")
                    .arg(chipOf(d), idsOf(d)),
                text(27401, "Use a cable with another chip (WCH CH340, FTDI, Silicon Labs "
                            "CP210x), or a genuine Prolific one."));
        else if (d.problem == WinProblemNoDriver)
            add(r, Level::Problem,
                text(27402, "A %1 cable (%2) is plugged in, but Windows has no driver for it "
                            "(code 28).")
                    .arg(chipOf(d), idsOf(d)),
                text(27403, "Install the driver from the chip's maker (CH340: WCH; PL2303: "
                            "Prolific; FTDI: the VCP driver; CP210x: Silicon Labs) and plug "
                            "the cable in again."));
        else if (d.comName.isEmpty() || d.comName.compare(name, Qt::CaseInsensitive) == 0)
            add(r, Level::Problem,
                text(27404, "Windows reports a problem with %1 (%2, code %3).")
                    .arg(chipOf(d), idsOf(d))
                    .arg(d.problem),
                text(27405, "Open Device Manager, look at the cable under Ports (COM & LPT), "
                            "and reinstall its driver or plug it into another USB socket."));
    }

    const WinSerialDevice* dev = nullptr;
    for (const WinSerialDevice& d : devices)
        if (!d.comName.isEmpty() && d.comName.compare(name, Qt::CaseInsensitive) == 0) dev = &d;
    const bool missing = !open.opened && (open.error == FileNotFound || open.error == PathNotFound);
    if (missing) {
        r.portUsable = false;
        add(r, Level::Problem, text(22916, "%1 does not exist.").arg(name),
            text(22917, "Plug the cable in, or name a port that exists (mzcli ports)."));
        return r;
    }
    QStringList known;
    if (dev) {
        r.port.vendorId = dev->vendorId;
        r.port.productId = dev->productId;
        r.port.bcdDevice = dev->revision;
        r.port.serialNumber = dev->serialNumber;
        r.port.manufacturer = dev->manufacturer;
        r.port.product = dev->friendlyName;
        r.port.driver = dev->service;
        r.port.chipFamily = ChipFamily(dev->vendorId, dev->productId, dev->revision);
        if (r.port.isUsb()) known << r.port.summary();
        if (!dev->service.isEmpty()) known << text(22920, "driver %1").arg(dev->service);
    }
    add(r, Level::Ok,
        known.isEmpty()
            ? text(22918, "%1 exists.").arg(name)
            : text(22919, "%1 exists: %2.").arg(name, known.join(QStringLiteral(", "))));

    if (!open.opened) {
        r.portUsable = false;
        if (open.error == AccessDenied || open.error == SharingViolation)
            add(r, Level::Problem, text(27406, "%1 is used by another program.").arg(name),
                text(27407, "Close the program that has it (a terminal, another programming "
                            "program, a second window of this one) and try again."));
        else
            add(r, Level::Problem,
                LinkText(TxtOpenFailed).arg(name, QStringLiteral("error %1").arg(open.error)),
                text(27405, "Open Device Manager, look at the cable under Ports (COM & LPT), "
                            "and reinstall its driver or plug it into another USB socket."));
        return r;
    }
    add(r, Level::Ok, text(27408, "It opens, and no other program holds it."));

    if (dev && dev->latencyTimer > 1)
        add(r, Level::Warning,
            text(27409, "The FTDI latency timer of %1 is %2 ms: every answer of the radio "
                        "waits that long.")
                .arg(name)
                .arg(dev->latencyTimer),
            text(27410, "Device Manager > Ports (COM & LPT) > %1 > Properties > Port Settings > "
                        "Advanced: set Latency Timer (msec) to 1.")
                .arg(name));
    else if (dev && dev->latencyTimer == 1)
        add(r, Level::Ok, text(27411, "The FTDI latency timer is 1 ms."));
    return r;
}
