#include "regularfile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
RegularFileStatus failure(RegularFileError error, int system = 0) {
    RegularFileStatus s;
    s.error = error;
    if (system != 0) s.reason = QString::fromLocal8Bit(std::strerror(system));
    return s;
}

// A directory is told in the system's words ("Is a directory"); anything else that is not a
// regular file as such.
RegularFileStatus kindOf(const struct stat& st) {
    if (S_ISDIR(st.st_mode)) return failure(RegularFileError::System, EISDIR);
    if (!S_ISREG(st.st_mode)) return failure(RegularFileError::NotRegular);
    RegularFileStatus s;
    s.size = st.st_size;
    return s;
}
} // namespace

RegularFileStatus ReadRegularBytes(const QString& path, qint64 maxBytes, QByteArray& out) {
    out.clear();
    const QByteArray name = QFile::encodeName(path);
    struct stat st {};
    // Looked at before it is opened: opening a FIFO waits for a writer, opening a device may
    // do something to it.
    if (::stat(name.constData(), &st) != 0) return failure(RegularFileError::System, errno);
    RegularFileStatus s = kindOf(st);
    if (!s.ok()) return s;
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return failure(RegularFileError::System, errno);
    if (::fstat(fd, &st) != 0 || !(s = kindOf(st)).ok()) {
        ::close(fd);
        return s.ok() ? failure(RegularFileError::NotRegular) : s;
    }
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        s.error = RegularFileError::System;
        s.reason = f.errorString();
        return s;
    }
    out = f.read(std::max<qint64>(0, maxBytes));
    if (f.error() != QFileDevice::NoError) {
        s.error = RegularFileError::System;
        s.reason = f.errorString();
    }
    return s;
}

namespace {
// Whether path may be opened to append to: absent, or a regular file (links followed).
RegularFileStatus checkAppendTarget(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (errno == ENOENT) return {};
        return failure(RegularFileError::System, errno);
    }
    return kindOf(st);
}
} // namespace

int OpenForAppend(const QString& path, RegularFileStatus& status) {
    status = checkAppendTarget(path);
    if (!status.ok()) return -1;
    // O_NONBLOCK: a FIFO put there since the look is not waited for (it fails or is seen below).
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) {
        status = failure(RegularFileError::System, errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !(status = kindOf(st)).ok()) {
        if (status.ok()) status = failure(RegularFileError::NotRegular);
        ::close(fd);
        return -1;
    }
    // Writes to a regular file never block; the flag only served the opening.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

#else // no POSIX: Qt's own look at the file

RegularFileStatus ReadRegularBytes(const QString& path, qint64 maxBytes, QByteArray& out) {
    out.clear();
    RegularFileStatus s;
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isFile()) {
        s.error = RegularFileError::NotRegular;
        return s;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        s.error = RegularFileError::System;
        s.reason = f.errorString();
        return s;
    }
    s.size = f.size();
    out = f.read(std::max<qint64>(0, maxBytes));
    return s;
}

namespace {
RegularFileStatus checkAppendTarget(const QString& path) {
    RegularFileStatus s;
    const QFileInfo fi(path);
    if (fi.exists() && !fi.isFile()) s.error = RegularFileError::NotRegular;
    return s;
}
} // namespace

int OpenForAppend(const QString& path, RegularFileStatus& status) {
    // Without POSIX the caller opens the file itself once the look has passed.
    status = checkAppendTarget(path);
    return -1;
}

#endif
