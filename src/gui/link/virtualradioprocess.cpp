#include "virtualradioprocess.h"

#include "core/app/appstate.h"
#include "core/link/portnames.h"
#include "lang/captions.h"

// What the virtual radio is the same everywhere; how it runs is the system's
// (virtualradioprocess_linux.cpp: mzsim on a pseudo-terminal; virtualradioprocess_win.cpp: in
// the program).

VirtualRadioProcess& VirtualRadioProcess::instance() {
    static VirtualRadioProcess r;
    return r;
}

VirtualRadioProcess::~VirtualRadioProcess() {
    stop();
}

QString VirtualRadioProcess::displayName() {
    return LangTextOr(22004, "Virtual Radio (mzsim)");
}

QString VirtualRadioProcess::portSetting() {
    return QStringLiteral("virtual-radio");
}

bool VirtualRadioProcess::isVirtual(const QString& portName) {
    return portName == portSetting() || (!portName.isEmpty() && portName == linkPath());
}

QString VirtualRadioProcess::sessionPort(const QString& portName) {
    return isVirtual(portName) ? linkPath() : portName;
}

QString VirtualRadioProcess::settingsSessionPort() {
    return PortFromSettings(App().ComPort, sessionPort(App().PortName));
}
