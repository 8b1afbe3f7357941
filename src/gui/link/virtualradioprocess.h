#pragma once

#include "core/link/devicelink.h"

#include <QObject>
#include <QString>

class QProcess;

// The virtual radio: mzsim from the program directory, answering on a pseudo-terminal as the
// radio would, so that every command can be tried without a radio. Its memory lives in the
// user's data folder and starts from the demo document shipped with the program. The port
// that sessions open is a fixed link in that folder pointing at the simulator's terminal.
class VirtualRadioProcess : public QObject {
    Q_OBJECT
public:
    static VirtualRadioProcess& instance();

    static QString program();     // ProgramDir/mzsim
    static bool available();      // the simulator is installed
    static QString linkPath();    // the port name under which sessions reach it
    static QString memoryPath();  // its memory between runs
    static QString displayName(); // text 22004, "Virtual Radio (mzsim)"
    // What the shared settings file holds for it: a name, not a path, since linkPath() lies in
    // each user's own data folder.
    static QString portSetting();
    // The chosen port is the virtual radio (also the link path an older version stored).
    static bool isVirtual(const QString& portName);
    // The device a session opens for the chosen port.
    static QString sessionPort(const QString& portName);
    // The device a session opens for the port of the settings (COMn, a device path, or the
    // virtual radio's link).
    static QString settingsSessionPort();

    // Starts the simulator unless it runs; false with a reason when it cannot.
    bool ensureRunning(QString* error = nullptr);
    bool running() const;
    void stop();

private:
    VirtualRadioProcess() = default;
    ~VirtualRadioProcess() override;
    bool seedMemory(QString* error);

    QProcess* process_ = nullptr;
    DeviceLink link_;
};
