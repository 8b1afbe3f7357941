#include "portaccess.h"
#include "../lang/langtext.h"
#include "linktexts.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#endif

namespace {
// Texts added for the permission advice; English stands in when a language file lacks them.
constexpr int TxtNoGroupAccess = 9811; // %1 device, %2 owner, %3 group, %4 mode
constexpr int TxtRelogin = 9812;       // %1 device, %2 group
constexpr int TxtJoinDialout = 9814;   // %1 user

QString text(int id, const char* fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}

#ifdef Q_OS_UNIX
QString currentUser() {
    const QString env = qEnvironmentVariable("USER");
    if (!env.isEmpty()) return env;
    if (const passwd* pw = getpwuid(getuid())) return QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("$USER");
}

bool listedInGroup(const QString& user, gid_t gid) {
    const QByteArray name = user.toLocal8Bit();
    const passwd* pw = getpwnam(name.constData());
    if (!pw) return false;
    if (pw->pw_gid == gid) return true;
    int count = 64;
    std::vector<gid_t> groups(count);
    if (getgrouplist(name.constData(), pw->pw_gid, groups.data(), &count) < 0) {
        groups.resize(count);
        if (getgrouplist(name.constData(), pw->pw_gid, groups.data(), &count) < 0) return false;
    }
    for (int i = 0; i < count; ++i)
        if (groups[i] == gid) return true;
    return false;
}

bool sessionCarries(gid_t gid) {
    if (getegid() == gid) return true;
    const int n = getgroups(0, nullptr);
    if (n <= 0) return false;
    std::vector<gid_t> groups(n);
    const int got = getgroups(n, groups.data());
    for (int i = 0; i < got; ++i)
        if (groups[i] == gid) return true;
    return false;
}
#endif
} // namespace

bool ReadDeviceAccess(const QString& devicePath, DeviceAccess& out) {
    out = DeviceAccess();
    out.path = devicePath;
#ifdef Q_OS_UNIX
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    struct stat st {};
    if (real.isEmpty() || ::stat(QFile::encodeName(real).constData(), &st) != 0) return false;
    out.kernelName = QFileInfo(real).fileName();
    out.mode = st.st_mode & 07777;
    if (const passwd* pw = getpwuid(st.st_uid))
        out.owner = QString::fromLocal8Bit(pw->pw_name);
    else
        out.owner = QString::number(st.st_uid);
    if (const group* gr = getgrgid(st.st_gid))
        out.group = QString::fromLocal8Bit(gr->gr_name);
    else
        out.group = QString::number(st.st_gid);
    out.user = currentUser();
    out.userInGroup = listedInGroup(out.user, st.st_gid);
    out.sessionHasGroup = sessionCarries(st.st_gid);
    return true;
#else
    return false;
#endif
}

QString PermissionAdvice(const DeviceAccess& a) {
    const bool groupReadWrite = (a.mode & 0060) == 0060;
    const bool adminGroup = a.group == QLatin1String("root") || a.group == QLatin1String("0") ||
                            a.group == QLatin1String("wheel") || a.group == QLatin1String("sudo");
    if (groupReadWrite && !adminGroup && !a.group.isEmpty()) {
        if (a.userInGroup && !a.sessionHasGroup)
            return text(TxtRelogin, "You are a member of the group \"%2\" that may use %1, but "
                                    "this login session began before you joined it. Log out "
                                    "and in again.")
                .arg(a.path, a.group);
        return LinkText(TxtPermission).arg(a.path, a.group, a.user);
    }
    const QString name = a.kernelName.isEmpty() ? QFileInfo(a.path).fileName() : a.kernelName;
    const QString rule =
        QStringLiteral("KERNEL==\"%1\", GROUP=\"dialout\", MODE=\"0660\"").arg(name);
    const QString mode = QStringLiteral("%1").arg(a.mode, 4, 8, QLatin1Char('0'));
    return text(TxtNoGroupAccess,
                "You may not use %1: it belongs to %2:%3 with mode %4, so no group of users may "
                "read and write it. Ask the administrator to hand it to the dialout group with a "
                "udev rule, for example in /etc/udev/rules.d/50-mzprog.rules:")
               .arg(a.path, a.owner, a.group, mode) +
           QStringLiteral("\n") + rule + QStringLiteral("\n") +
           text(TxtJoinDialout,
                "Then add yourself with \"sudo usermod -aG dialout %1\" and log out and in again.")
               .arg(a.user);
}
