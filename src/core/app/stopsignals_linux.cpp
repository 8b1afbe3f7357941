#include "stopsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int pipeFds[2] = {-1, -1};
volatile std::sig_atomic_t firstSignal = 0;

void onStopSignal(int signo) {
    if (firstSignal != 0) {
        // Asked twice: whatever is hanging, the user wants out now.
        std::signal(signo, SIG_DFL);
        std::raise(signo);
        return;
    }
    firstSignal = signo;
    const char c = static_cast<char>(signo);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &c, 1);
}
} // namespace

StopSignals::StopSignals() {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &StopSignals::onPipe);
    struct sigaction sa {};
    sa.sa_handler = onStopSignal;
    sigemptyset(&sa.sa_mask);
    // No SA_RESTART: a blocking read of the terminal (the password) returns at once.
    sa.sa_flags = 0;
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        ::sigaction(s, &sa, nullptr);
}

int StopSignals::received() const {
    return firstSignal;
}

void StopSignals::onPipe() {
    char c = 0;
    while (::read(pipeFds[0], &c, 1) == 1) {
    }
    if (firstSignal != 0) emit stopRequested(firstSignal);
}
