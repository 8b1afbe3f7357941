#include "stopsignals.h"

#include <QMetaObject>
#include <atomic>
#include <csignal>
#include <windows.h>

// Windows tells a console program of Ctrl+C, Ctrl+Break, a closed console window, a logoff and
// a shutdown through a handler that runs on a thread of its own. The handler notes the request
// under the number the same request has on Linux (so the exit status is 130 for Ctrl+C, as
// there) and hands it to the event loop.

namespace {
std::atomic<int> firstSignal{0};

int signalFor(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        return SIGINT;
    case CTRL_CLOSE_EVENT:
        return 1; // SIGHUP on Linux: the terminal went away
    default:
        return SIGTERM; // logoff, shutdown
    }
}

BOOL WINAPI onConsoleEvent(DWORD event) {
    int expected = 0;
    if (!firstSignal.compare_exchange_strong(expected, signalFor(event))) {
        // Asked twice: whatever is hanging, the user wants out now (the default handler ends
        // the process).
        return FALSE;
    }
    StopSignals& s = StopSignals::instance();
    QMetaObject::invokeMethod(
        &s, [&s] { emit s.stopRequested(firstSignal.load()); }, Qt::QueuedConnection);
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        // Windows ends the process as soon as this handler returns from these: give the
        // session the few seconds Windows allows to tell the radio to leave programming mode;
        // the program's own exit ends this wait.
        ::Sleep(4500);
    }
    return TRUE;
}
} // namespace

StopSignals::StopSignals() {
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

int StopSignals::received() const {
    return firstSignal.load();
}

void StopSignals::onPipe() {}
