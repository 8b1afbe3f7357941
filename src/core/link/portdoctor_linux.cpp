#include "portaccess.h"
#include "portdoctor.h"
#include "portholders.h"
#include "portnames.h"

#include "../lang/langtext.h"
#include "../lang/regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>
#endif

namespace {
using Level = DoctorFinding::Level;

QByteArray readSmall(const QString& path, qint64 limit = 1 << 20) {
    QByteArray bytes; // stays empty when it is no regular file
    ReadRegularBytes(path, limit, bytes);
    return bytes;
}

bool processRunning(const QString& procRoot, const QString& comm) {
    const QDir proc(procRoot);
    for (const QString& entry : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool numeric = false;
        entry.toLongLong(&numeric);
        if (numeric && readSmall(proc.filePath(entry) + QStringLiteral("/comm"), 64).trimmed() ==
                           comm.toUtf8())
            return true;
    }
    return false;
}

// brltty's udev rules name the USB serial chips it claims as ENV{PRODUCT}=="1a86/7523/*".
bool brlttyClaims(const DoctorRoots& roots, const SerialPortDetails& port) {
    const QString product =
        QStringLiteral("%1/%2/").arg(port.vendorId, 0, 16).arg(port.productId, 0, 16);
    for (const QString& dir : roots.udevRules)
        for (const QFileInfo& f :
             QDir(dir).entryInfoList({QStringLiteral("*brltty*.rules")}, QDir::Files))
            if (QString::fromUtf8(readSmall(f.absoluteFilePath())).contains(product)) return true;
    return false;
}

// udev's record of the device: the environment it gave it (ID_MM_DEVICE_IGNORE ...).
QString udevRecord(const DoctorRoots& roots, const QString& device) {
#ifdef Q_OS_UNIX
    struct stat st {};
    if (::stat(QFile::encodeName(device).constData(), &st) != 0 || !S_ISCHR(st.st_mode))
        return QString();
    return QString::fromUtf8(readSmall(
        roots.udevData + QStringLiteral("/c%1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev))));
#else
    Q_UNUSED(roots);
    Q_UNUSED(device);
    return QString();
#endif
}

void add(DoctorReport& r, Level level, const QString& text, const QString& fix = QString()) {
    r.findings.append({level, text, fix});
}

// The findings and their fixes are texts 22910 to 22931 of the language file; English stands in
// when a language file lacks them (mzcli without an installed language).
QString text(int id, const char* fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}
} // namespace

QStringList NotASerialPort(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) != 0) return {};
    const QString fix = text(27310, "Name the port the cable is plugged into (mzcli ports).");
    if (S_ISDIR(st.st_mode))
        return {text(27306, "%1 is no serial port: it is a folder.").arg(path), fix};
    if (!S_ISCHR(st.st_mode))
        return {text(27307, "%1 is no serial port: it is a file.").arg(path), fix};
    // The controlling terminal of whoever runs the check.
    if (major(st.st_rdev) == 5 && minor(st.st_rdev) == 0)
        return {text(27309, "%1 is the terminal of this session, not a serial port.").arg(path),
                fix};
    // Opening without waiting for a carrier and without becoming its controlling process; a
    // device that cannot be opened is told by the checks that follow.
    const int fd = ::open(name.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return {};
    const bool terminal = ::isatty(fd) == 1;
    ::close(fd);
    if (!terminal)
        return {text(27308, "%1 is no serial port: it is a device of another kind.").arg(path),
                fix};
#else
    Q_UNUSED(path);
#endif
    return {};
}

DoctorReport CheckPort(const QString& port, const DoctorRoots& roots) {
    DoctorReport r;
    r.port = PortDetailsFor(port, roots.system);
    const QString path = r.port.path;

    // Chips plugged in that have no port: the driver refused them, or none is loaded.
    for (const SerialPortDetails& chip : UnboundUsbSerialChips(roots.system)) {
        const QString ids = chip.usbIds();
        if (chip.vendorId == 0x067b)
            add(r, Level::Problem,
                text(22910, "A %1 cable (%2) is plugged in, but the driver refused its chip: the "
                            "kernel marks this PL2303 as unsupported or counterfeit.")
                    .arg(chip.chipFamily, ids),
                text(22911, "Use a cable with another chip (WCH CH340, FTDI, Silicon Labs "
                            "CP210x), or a genuine Prolific one."));
        else
            add(r, Level::Problem,
                text(22912, "A %1 cable (%2) is plugged in, but no driver took it.")
                    .arg(chip.chipFamily, ids),
                text(22913, "Load its driver (for example \"sudo modprobe ch341\", \"ftdi_sio\", "
                            "\"pl2303\" or \"cp210x\") or update the kernel."));
    }

    const QFileInfo fi(path);
    if (!fi.exists()) {
        r.portUsable = false;
        if (path.contains(QLatin1String("/serial/by-id/")))
            add(r, Level::Problem,
                text(22914, "The cable %1 is not plugged in.").arg(fi.fileName()),
                text(22915, "Plug it in, or choose the port it has now (mzcli ports)."));
        else
            add(r, Level::Problem, text(22916, "%1 does not exist.").arg(path),
                text(22917, "Plug the cable in, or name a port that exists (mzcli ports)."));
        return r;
    }
    // What is known of it: the USB cable, its driver.
    QStringList known;
    if (r.port.isUsb()) known << r.port.summary();
    if (!r.port.driver.isEmpty()) known << text(22920, "driver %1").arg(r.port.driver);
    add(r, Level::Ok,
        known.isEmpty()
            ? text(22918, "%1 exists.").arg(path)
            : text(22919, "%1 exists: %2.").arg(path, known.join(QStringLiteral(", "))));

#ifdef Q_OS_UNIX
    if (::access(QFile::encodeName(path).constData(), R_OK | W_OK) != 0 && errno == EACCES) {
        r.portUsable = false;
        DeviceAccess access;
        const QString advice =
            ReadDeviceAccess(path, access)
                ? PermissionAdvice(access)
                : text(22921, "Ask the administrator for access to %1.").arg(path);
        add(r, Level::Problem, text(22922, "You may not read and write %1.").arg(path), advice);
    } else {
        add(r, Level::Ok, text(22923, "You may read and write it."));
    }
#endif

    const QList<PortHolder> holders = PortHolders(path, roots.proc);
    if (!holders.isEmpty()) {
        r.portUsable = false;
        QStringList names;
        for (const PortHolder& h : holders)
            names << QStringLiteral("%1 (PID %2)").arg(h.name).arg(h.pid);
        add(r, Level::Problem,
            text(22924, "The port is in use by %1.").arg(names.join(QStringLiteral(", "))),
            text(22925, "Close that program, or end it with \"kill %1\".")
                .arg(holders.first().pid));
    } else {
        add(r, Level::Ok, text(22926, "No other program holds it."));
    }

    if (r.port.isUsb() && brlttyClaims(roots, r.port))
        add(r, Level::Problem,
            text(22927, "The braille display driver brltty claims USB serial adapters with this "
                        "chip and takes the cable away from other programs."),
            text(22928, "Without a braille display: \"sudo apt-get remove brltty\"; with one: "
                        "disable its rule for %1:%2 in /etc/udev/rules.d.")
                .arg(SerialPortDetails::hexId(r.port.vendorId),
                     SerialPortDetails::hexId(r.port.productId)));

    if (r.port.isUsb() && processRunning(roots.proc, QStringLiteral("ModemManager"))) {
        if (udevRecord(roots, path).contains(QLatin1String("ID_MM_DEVICE_IGNORE=1")))
            add(r, Level::Ok, text(22929, "ModemManager is told to leave the cable alone."));
        else
            add(r, Level::Warning,
                text(22930, "ModemManager is running and may probe the cable with modem "
                            "commands for half a minute after it is plugged in."),
                text(22931, "Install the cable rule 60-mzprog.rules (see the README) and plug the "
                            "cable in again, or \"sudo systemctl stop ModemManager\"."));
    }
    return r;
}
