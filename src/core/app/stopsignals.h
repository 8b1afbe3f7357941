#pragma once

// Ctrl+C (SIGINT), SIGTERM and SIGHUP as a Qt signal on the event loop, so that a running
// session can end properly (the radio told to leave programming mode, the port closed) instead
// of the process dying in the middle of a transfer. The handler itself only writes the signal
// number into a pipe, the one thing a signal handler may safely do; a second signal of the
// same kind ends the process at once, for the case that ending properly hangs.

#include <QObject>

class QSocketNotifier;

class StopSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers once per process; later calls return the same object.
    static StopSignals& instance();

    // The first stop signal received, 0 while none came.
    int received() const;
    // The exit status of a program ended by that signal: 128 + its number (130, 143).
    int exitCode() const { return 128 + received(); }

signals:
    void stopRequested(int signalNumber);

private:
    StopSignals();
    void onPipe();

    QSocketNotifier* notifier_ = nullptr;
};
