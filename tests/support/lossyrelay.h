#pragma once

// A noisy cable between the program and mzsim: a pseudo-terminal of its own that the program
// opens as its port, relaying every byte to and from mzsim's terminal, and losing or damaging
// bytes at seeded rates in each direction. It runs in the event loop of whoever holds it.

#include <QFile>
#include <QSocketNotifier>
#include <QString>

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <random>
#include <termios.h>
#include <unistd.h>

class LossyRelay {
public:
    struct Faults {
        double loss = 0; // a byte vanishes
        double flip = 0; // one bit of a byte turns
    };
    Faults toRadio, fromRadio;
    int lost = 0, flipped = 0;

    LossyRelay(Faults toRadioFaults, Faults fromRadioFaults, quint32 seed)
        : toRadio(toRadioFaults), fromRadio(fromRadioFaults), rng_(seed) {}
    ~LossyRelay() {
        for (int fd : {master_, slave_, radio_})
            if (fd >= 0) ::close(fd);
    }

    // Opens the program's end and connects it to the radio's terminal.
    bool open(const QString& radioDevice) {
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
        device_ = QString::fromLocal8Bit(ptsname(master_));
        // Held open so that the relay never sees a hang-up between sessions.
        slave_ = ::open(QFile::encodeName(device_).constData(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        radio_ = ::open(QFile::encodeName(radioDevice).constData(),
                        O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (slave_ < 0 || radio_ < 0 || !makeRaw(slave_) || !makeRaw(radio_)) return false;
        fromProgram_ = std::make_unique<QSocketNotifier>(master_, QSocketNotifier::Read);
        QObject::connect(fromProgram_.get(), &QSocketNotifier::activated,
                         [this] { pass(master_, radio_, toRadio); });
        fromRadio_ = std::make_unique<QSocketNotifier>(radio_, QSocketNotifier::Read);
        QObject::connect(fromRadio_.get(), &QSocketNotifier::activated,
                         [this] { pass(radio_, master_, fromRadio); });
        return true;
    }
    // The port the program opens.
    QString device() const { return device_; }

private:
    static bool makeRaw(int fd) {
        termios t{};
        if (tcgetattr(fd, &t) != 0) return false;
        cfmakeraw(&t);
        return tcsetattr(fd, TCSANOW, &t) == 0;
    }
    bool chance(double p) {
        return p > 0 && std::uniform_real_distribution<double>(0, 1)(rng_) < p;
    }
    void pass(int from, int to, const Faults& faults) {
        char buf[512];
        const ssize_t n = ::read(from, buf, sizeof buf);
        if (n <= 0) return;
        QByteArray out;
        for (ssize_t i = 0; i < n; ++i) {
            char c = buf[i];
            if (chance(faults.loss)) {
                ++lost;
                continue;
            }
            if (chance(faults.flip)) {
                ++flipped;
                c = static_cast<char>(c ^ (1 << std::uniform_int_distribution<int>(0, 7)(rng_)));
            }
            out.append(c);
        }
        for (qsizetype done = 0; done < out.size();) {
            const ssize_t w = ::write(to, out.constData() + done, size_t(out.size() - done));
            if (w > 0)
                done += w;
            else if (w < 0 && errno != EAGAIN && errno != EINTR)
                break;
        }
    }

    std::mt19937 rng_;
    int master_ = -1, slave_ = -1, radio_ = -1;
    QString device_;
    std::unique_ptr<QSocketNotifier> fromProgram_, fromRadio_;
};
