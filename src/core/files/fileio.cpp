#include "fileio.h"
#include "../lang/regularfile.h"
#include "filetexts.h"
#include "savedatafile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

QString FileFailure(const QString& path, const QString& reason) {
    return QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
}

QString NotRegularFile(const QString& path) {
    return FileText(TxtNotRegular).arg(QDir::toNativeSeparators(path));
}

namespace {

// The sentence for a failed look at or read of path.
QString statusSentence(const QString& path, const RegularFileStatus& status) {
    switch (status.error) {
    case RegularFileError::None:
        return QString();
    case RegularFileError::NotRegular:
        return NotRegularFile(path);
    case RegularFileError::System:
        break;
    }
    return FileFailure(path, status.reason);
}

qint64 inputLimit(InputKind kind) {
    constexpr qint64 MB = 1024 * 1024;
    switch (kind) {
    case InputKind::ChannelList:
        return 4 * MB; // 409 channels take a few hundred kilobytes
    case InputKind::PlanTable:
        return 4 * MB; // a plan is a few hundred rows
    }
    return 0;
}

} // namespace

bool ReadRegularFile(const QString& path, qint64 limit, QByteArray& out, QString* why) {
    const RegularFileStatus status = ReadRegularBytes(path, limit, out);
    if (!status.ok() && why) *why = statusSentence(path, status);
    return status.ok();
}

bool ReadInputFile(const QString& path, InputKind kind, QByteArray& out, QString* why) {
    const qint64 limit = inputLimit(kind);
    // One byte more than allowed, so that a file that grew since it was looked at is seen too.
    const RegularFileStatus status = ReadRegularBytes(path, limit + 1, out);
    if (!status.ok()) {
        if (why) *why = statusSentence(path, status);
        return false;
    }
    const qint64 size = std::max<qint64>(status.size, out.size());
    if (size <= limit) return true;
    out.clear();
    if (why) {
        const FileTextId id =
            kind == InputKind::ChannelList ? TxtTooLargeChannelList : TxtTooLargePlanTable;
        // Whole megabytes, rounded up: a file just over the limit never reads as the limit.
        const qint64 mb = (size + 1024 * 1024 - 1) / (1024 * 1024);
        *why = FileText(id).arg(QDir::toNativeSeparators(path)).arg(mb).arg(limit / (1024 * 1024));
    }
    return false;
}

QString WriteTargetOf(const QString& path) {
    QFileInfo fi(path);
    // A loop of links ends here as a link, which the writers then refuse as not regular.
    for (int depth = 0; depth < 40 && fi.isSymLink(); ++depth)
        fi.setFile(fi.symLinkTarget());
    return fi.filePath();
}

#ifdef Q_OS_UNIX

namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

// Whether what lies at target may be replaced: nothing, or a regular file the user may write.
bool replaceable(const QString& path, const QByteArray& target, mode_t* mode, QString* why) {
    struct stat st {};
    if (::lstat(target.constData(), &st) != 0) {
        if (errno == ENOENT) return true;
        if (why) *why = FileFailure(path, reasonOf(errno));
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        if (why) *why = FileFailure(path, reasonOf(EISDIR));
        return false;
    }
    if (!S_ISREG(st.st_mode)) {
        if (why) *why = NotRegularFile(path);
        return false;
    }
    // A file the user has made read-only is not replaced behind their back.
    if (::access(target.constData(), W_OK) != 0) {
        if (why) *why = FileFailure(path, reasonOf(errno));
        return false;
    }
    if (mode) *mode = st.st_mode & 07777;
    return true;
}

// A new file beside target, which it will replace; -1 with *why set on failure.
int createBeside(const QString& path, const QString& target, QByteArray& tempName, QString* why) {
    const QFileInfo fi(target);
    tempName = QFile::encodeName(fi.absolutePath() + QStringLiteral("/.") + fi.fileName() +
                                 QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(tempName.data(), O_CLOEXEC);
    if (fd < 0 && why) *why = FileFailure(path, reasonOf(errno));
    return fd;
}

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qint64 left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, size_t(left));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (n == 0) errno = ENOSPC;
            return false;
        }
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

bool CheckWritableTarget(const QString& path, QString* why) {
    const QString target = WriteTargetOf(path);
    if (!replaceable(path, QFile::encodeName(target), nullptr, why)) return false;
    // The folder must take a new file: the only sure test is to make one.
    QByteArray temp;
    const int fd = createBeside(path, target, temp, why);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(temp.constData());
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QString target = WriteTargetOf(path);
    const QByteArray targetName = QFile::encodeName(target);
    const mode_t mask = ::umask(0);
    ::umask(mask);
    mode_t mode = 0666 & ~mask;
    if (!replaceable(path, targetName, &mode, error)) return false;

    QByteArray temp;
    const int fd = createBeside(path, target, temp, error);
    if (fd < 0) return false;
    bool ok = writeAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    // What lies at the target may have changed while the file was written.
    if (ok && !replaceable(path, targetName, nullptr, error)) {
        ::unlink(temp.constData());
        return false;
    }
    if (ok && ::rename(temp.constData(), targetName.constData()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temp.constData());
        if (error) *error = FileFailure(path, reasonOf(saved));
    }
    return ok;
}

#else // no POSIX: Qt's own checks and QSaveFile

bool CheckWritableTarget(const QString& path, QString* why) {
    const QFileInfo fi(WriteTargetOf(path));
    if (fi.exists() && !fi.isFile()) {
        if (why) *why = NotRegularFile(path);
        return false;
    }
    if (!QFileInfo(fi.absolutePath()).isWritable()) {
        if (why) *why = FileFailure(path, QStringLiteral("Permission denied"));
        return false;
    }
    return true;
}

bool WriteFileAtomically(const QString& path, const QByteArray& bytes, QString* error) {
    const QString target = WriteTargetOf(path);
    if (QFileInfo(target).exists() && !QFileInfo(target).isFile()) {
        if (error) *error = NotRegularFile(path);
        return false;
    }
    QSaveFile f(target);
    f.setDirectWriteFallback(false);
    QString reason;
    bool ok = f.open(QIODevice::WriteOnly);
    if (ok && f.write(bytes) != bytes.size()) {
        reason = f.errorString(); // cancelWriting would replace it with its own words
        f.cancelWriting();
        ok = false;
    }
    ok = ok && f.commit();
    if (!ok && error) *error = FileFailure(path, reason.isEmpty() ? f.errorString() : reason);
    return ok;
}

#endif
