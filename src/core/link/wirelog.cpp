#include "wirelog.h"
#include "../lang/regularfile.h"
#include "membuf.h"

#include <QDateTime>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <unistd.h>
#else
#include <io.h>
#endif

namespace {
const char Hex[] = "0123456789ABCDEF";

// Data bytes 12..15 of the password block hold the password.
constexpr int PasswordFrom = 12;
constexpr int PasswordTo = 15;
} // namespace

bool IsPasswordBlockReply(const QByteArray& reply, int echoLen) {
    return reply.size() >= echoLen + 3 && quint8(reply[echoLen]) == 0x57 &&
           quint8(reply[echoLen + 1]) == (PassBlockAddr >> 8) &&
           quint8(reply[echoLen + 2]) == (PassBlockAddr & 0xFF);
}

WireLog::WireLog(QIODevice* out) : out_(out) {
    clock_.start();
    const QDateTime now = QDateTime::currentDateTime();
    startMsOfDay_ = now.time().msecsSinceStartOfDay();
    if (out_)
        out_->write("# mzprog wire log, " +
                    now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz t")).toUtf8() + '\n');
    // (A failure of this first line shows at the first flush, when a handler is set.)
}

std::unique_ptr<WireLog> WireLog::openFile(const QString& path, QString* error) {
    // The outputs' rule: a regular file or a new one. A FIFO would hold the session until
    // someone reads it, a device would take the log somewhere nobody looks.
    RegularFileStatus status;
    const int fd = OpenForAppend(path, status);
    auto file = std::make_unique<QFile>(path);
    const bool opened =
        fd >= 0
            ? file->open(fd, QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text,
                         QFileDevice::AutoCloseHandle)
            : status.ok() && file->open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    if (!opened) {
        if (fd >= 0) ::close(fd);
        if (error)
            *error = status.error == RegularFileError::NotRegular
                         ? QStringLiteral("it is not a regular file")
                     : !status.ok() ? status.reason
                                    : file->errorString();
        return nullptr;
    }
    std::unique_ptr<WireLog> log(new WireLog(file.get()));
    log->file_ = std::move(file);
    log->path_ = path;
    return log;
}

WireLog::~WireLog() {
    flush();
}

QString WireLog::path() const {
    return file_ ? QFileInfo(path_).absoluteFilePath() : QString();
}

void WireLog::setFailureHandler(std::function<void(const QString&)> handler) {
    onFailure_ = std::move(handler);
}

void WireLog::write(const QByteArray& line) {
    if (!out_ || failed_) return;
    if (out_->write(line) != line.size()) fail();
}

void WireLog::fail() {
    // Told once; the session the log describes goes on without it.
    if (failed_) return;
    failed_ = true;
    const QString reason = out_ ? out_->errorString() : QString();
    if (onFailure_) onFailure_(reason);
}

void WireLog::stamp(QByteArray& line) const {
    // Time of day, hh:mm:ss.zzz, without going through the slow date formatting each time.
    const qint64 ms = (startMsOfDay_ + clock_.elapsed()) % (24LL * 3600 * 1000);
    const int v[4] = {int(ms / 3600000), int(ms / 60000 % 60), int(ms / 1000 % 60), int(ms % 1000)};
    char buf[13] = {char('0' + v[0] / 10),
                    char('0' + v[0] % 10),
                    ':',
                    char('0' + v[1] / 10),
                    char('0' + v[1] % 10),
                    ':',
                    char('0' + v[2] / 10),
                    char('0' + v[2] % 10),
                    '.',
                    char('0' + v[3] / 100),
                    char('0' + v[3] / 10 % 10),
                    char('0' + v[3] % 10),
                    ' '};
    line.append(buf, 13);
}

void WireLog::frameLine(const char* direction, const QByteArray& bytes, int echoLen) {
    if (!out_) return;
    const bool secret = echoLen >= 0 && IsPasswordBlockReply(bytes, echoLen);
    const int count = secret && bytes.size() > echoLen + 3 ? quint8(bytes[echoLen + 3]) : 0;
    QByteArray line;
    line.reserve(16 + bytes.size() * 3 + 4);
    stamp(line);
    line.append(direction);
    for (int i = 0; i < bytes.size(); ++i) {
        line.append(i > 0 && i == echoLen ? " | " : " ");
        const int data = i - echoLen - 4; // position among the data bytes of a data block
        if (secret && ((data >= PasswordFrom && data <= PasswordTo) || data == count)) {
            line.append("**");
            continue;
        }
        const auto b = quint8(bytes[i]);
        line.append(Hex[b >> 4]);
        line.append(Hex[b & 15]);
    }
    line.append('\n');
    write(line);
}

void WireLog::sent(const QByteArray& frame) {
    frameLine("TX", frame, -1);
}

void WireLog::received(const QByteArray& reply, int echoLen) {
    frameLine("RX", reply, echoLen);
}

void WireLog::event(const QString& text) {
    if (!out_) return;
    QByteArray line;
    stamp(line);
    line.append("-- ");
    line.append(text.toUtf8());
    line.append('\n');
    write(line);
    flush();
}

void WireLog::flush() {
    if (failed_) return;
    if (auto* f = qobject_cast<QFile*>(out_); f && !f->flush()) fail();
}
