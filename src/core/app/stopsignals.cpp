#include "stopsignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {
int pipeFds[2] = {-1, -1};
volatile std::sig_atomic_t firstSignal = 0;

#ifdef Q_OS_UNIX
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
#endif
} // namespace

StopSignals& StopSignals::instance() {
    static StopSignals* s = new StopSignals; // lives as long as the process
    return *s;
}

StopSignals::StopSignals() {
#ifdef Q_OS_UNIX
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
#endif
}

int StopSignals::received() const {
    return firstSignal;
}

void StopSignals::onPipe() {
#ifdef Q_OS_UNIX
    char c = 0;
    while (::read(pipeFds[0], &c, 1) == 1) {
    }
#endif
    if (firstSignal != 0) emit stopRequested(firstSignal);
}
