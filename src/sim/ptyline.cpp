#include "ptyline.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/timerfd.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>

PtyLine::PtyLine(QObject* parent) : QObject(parent) {}

PtyLine::~PtyLine() {
    for (int fd : {master_, slave_, timer_})
        if (fd >= 0) ::close(fd);
}

qint64 PtyLine::now() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

bool PtyLine::open(QString* error) {
    auto fail = [&](const char* what) {
        *error = QStringLiteral("%1 failed: %2")
                     .arg(QLatin1String(what), QString::fromLocal8Bit(strerror(errno)));
        return false;
    };
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0) return fail("posix_openpt");
    if (grantpt(master_) != 0) return fail("grantpt");
    if (unlockpt(master_) != 0) return fail("unlockpt");
    const char* name = ptsname(master_);
    if (!name) return fail("ptsname");
    device_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return fail("opening the terminal side");
    // A raw line: no echo, no translation of line ends, every byte as it is.
    termios t{};
    if (tcgetattr(slave_, &t) != 0) return fail("tcgetattr");
    cfmakeraw(&t);
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    if (tcsetattr(slave_, TCSANOW, &t) != 0) return fail("tcsetattr");
    timer_ = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer_ < 0) return fail("timerfd_create");

    readNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(readNotifier_, &QSocketNotifier::activated, this, &PtyLine::onReadable);
    writeNotifier_ = new QSocketNotifier(master_, QSocketNotifier::Write, this);
    writeNotifier_->setEnabled(false);
    connect(writeNotifier_, &QSocketNotifier::activated, this, &PtyLine::flush);
    timerNotifier_ = new QSocketNotifier(timer_, QSocketNotifier::Read, this);
    connect(timerNotifier_, &QSocketNotifier::activated, this, &PtyLine::onTimer);
    return true;
}

void PtyLine::onReadable() {
    const qint64 at = now();
    QByteArray got;
    char buf[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buf, sizeof buf);
        if (n > 0) {
            got.append(buf, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EIO) {
            // No terminal side open: should not happen while slave_ is held, but never spin on
            // it either.
            readNotifier_->setEnabled(false);
            QTimer::singleShot(100, this, [this] { readNotifier_->setEnabled(true); });
        }
        break;
    }
    if (!got.isEmpty()) emit received(got, at);
}

void PtyLine::send(const QByteArray& bytes) {
    out_ += bytes;
    flush();
}

void PtyLine::sendAt(char byte, qint64 dueNs) {
    queue_.push_back({dueNs, byte});
    if (queue_.size() == 1) arm();
}

void PtyLine::arm() {
    if (queue_.empty()) return;
    itimerspec its{};
    its.it_value.tv_sec = queue_.front().at / 1000000000;
    its.it_value.tv_nsec = queue_.front().at % 1000000000;
    if (its.it_value.tv_sec == 0 && its.it_value.tv_nsec == 0)
        its.it_value.tv_nsec = 1; // zero would disarm the timer
    timerfd_settime(timer_, TFD_TIMER_ABSTIME, &its, nullptr);
}

void PtyLine::onTimer() {
    quint64 expirations = 0;
    [[maybe_unused]] const ssize_t r = ::read(timer_, &expirations, sizeof expirations);
    const qint64 t = now();
    while (!queue_.empty() && queue_.front().at <= t) {
        out_.append(queue_.front().byte);
        queue_.pop_front();
    }
    arm();
    flush();
}

void PtyLine::flush() {
    while (!out_.isEmpty()) {
        const ssize_t n = ::write(master_, out_.constData(), size_t(out_.size()));
        if (n > 0) {
            out_.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) {
            writeNotifier_->setEnabled(true);
            return;
        }
        out_.clear(); // the line is gone; what was not written is lost, as on a real line
        break;
    }
    writeNotifier_->setEnabled(false);
    if (queue_.empty()) emit drained();
}
