#include "../lang/langtext.h"
#include "devicelink.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemReason() {
    return QString::fromLocal8Bit(strerror(errno));
}

QString text(int id, const char* fallback) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromUtf8(fallback) : t;
}

QString linkTarget(const QByteArray& path) {
    char buf[4096];
    const ssize_t n = ::readlink(path.constData(), buf, sizeof buf - 1);
    return n < 0 ? QString() : QString::fromLocal8Bit(buf, int(n));
}
} // namespace

bool IsStalePtyLink(const QString& path) {
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(p.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    const QString target = linkTarget(p);
    // A terminal of /dev/pts exists exactly as long as some process holds its master side.
    if (!target.startsWith(QLatin1String("/dev/pts/"))) return false;
    struct stat t {};
    return ::stat(p.constData(), &t) != 0 && errno == ENOENT;
}

bool DeviceLink::make(const QString& path, const QString& target, QString* why) {
    remove();
    const QByteArray p = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(p.constData(), &st) == 0) {
        if (!IsStalePtyLink(path)) {
            *why = S_ISLNK(st.st_mode)
                       ? text(27301, "%1 is a link to %2, which is in use or is no terminal; "
                                     "it is left as it is.")
                             .arg(path, linkTarget(p))
                       : text(27300, "%1 exists and is not a link to a virtual radio; it is "
                                     "left as it is.")
                             .arg(path);
            return false;
        }
        if (::unlink(p.constData()) != 0 && errno != ENOENT) {
            *why = text(27302, "Cannot create the link %1: %2.").arg(path, systemReason());
            return false;
        }
    } else if (errno != ENOENT) {
        *why = text(27302, "Cannot create the link %1: %2.").arg(path, systemReason());
        return false;
    }
    // symlink() never replaces: whatever appeared meanwhile stays.
    if (::symlink(QFile::encodeName(target).constData(), p.constData()) != 0) {
        *why = text(27302, "Cannot create the link %1: %2.").arg(path, systemReason());
        return false;
    }
    if (::lstat(p.constData(), &st) != 0) {
        *why = text(27302, "Cannot create the link %1: %2.").arg(path, systemReason());
        return false;
    }
    path_ = path;
    target_ = target;
    device_ = st.st_dev;
    inode_ = st.st_ino;
    return true;
}

void DeviceLink::remove() {
    if (path_.isEmpty()) return;
    const QByteArray p = QFile::encodeName(path_);
    struct stat st {};
    if (::lstat(p.constData(), &st) == 0 && S_ISLNK(st.st_mode) && st.st_dev == device_ &&
        st.st_ino == inode_ && linkTarget(p) == target_)
        ::unlink(p.constData());
    path_.clear();
}
