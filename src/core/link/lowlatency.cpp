#include "lowlatency.h"

#if defined(Q_OS_LINUX) || defined(__linux__)
#include <linux/serial.h>
#include <sys/ioctl.h>

LowLatency RequestLowLatency(int fd) {
    if (fd < 0) return LowLatency::NotAsked;
    serial_struct ss{};
    if (::ioctl(fd, TIOCGSERIAL, &ss) != 0) return LowLatency::Refused;
    if (ss.flags & ASYNC_LOW_LATENCY) return LowLatency::AlreadyOn;
    ss.flags |= ASYNC_LOW_LATENCY;
    return ::ioctl(fd, TIOCSSERIAL, &ss) == 0 ? LowLatency::TurnedOn : LowLatency::Refused;
}

void RestoreLatency(int fd, LowLatency state) {
    if (fd < 0 || state != LowLatency::TurnedOn) return;
    serial_struct ss{};
    if (::ioctl(fd, TIOCGSERIAL, &ss) != 0) return;
    ss.flags &= ~ASYNC_LOW_LATENCY;
    ::ioctl(fd, TIOCSSERIAL, &ss);
}
#else
LowLatency RequestLowLatency(int fd) {
    return fd < 0 ? LowLatency::NotAsked : LowLatency::Refused;
}

void RestoreLatency(int, LowLatency) {}
#endif
