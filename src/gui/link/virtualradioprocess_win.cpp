#include "virtualradioprocess.h"

#include "core/app/appstate.h"
#include "core/link/inprocessradio.h"
#include "lang/captions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

// Windows has no pseudo-terminals: the virtual radio answers inside the program (the serial
// transport hands the port "virtual-radio" to it), with its memory in the user's local data
// folder.

namespace {
QString dataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/mzprog");
}
bool started = false;
} // namespace

QString VirtualRadioProcess::program() {
    return App().ProgramDir + QStringLiteral("/mzprog.exe");
}

bool VirtualRadioProcess::available() {
    return true;
}

QString VirtualRadioProcess::linkPath() {
    return InProcessRadio::portName();
}

QString VirtualRadioProcess::memoryPath() {
    return dataDir() + QStringLiteral("/virtual-radio.bin");
}

bool VirtualRadioProcess::running() const {
    return started;
}

bool VirtualRadioProcess::seedMemory(QString* error) {
    // The first start takes the demo document as the radio's memory, packed by mzcli the
    // way a write would send it.
    const QString demo = App().ProgramDir + QStringLiteral("/demo/demo.dat");
    const QString cli = App().ProgramDir + QStringLiteral("/mzcli.exe");
    if (!QFileInfo::exists(demo) || !QFileInfo::exists(cli)) return true; // a blank radio then
    QProcess pack;
    pack.start(cli, {QStringLiteral("pack"), demo, QStringLiteral("-o"), memoryPath()});
    if (!pack.waitForFinished(10000) || pack.exitStatus() != QProcess::NormalExit ||
        pack.exitCode() != 0) {
        pack.kill();
        if (error) *error = QString::fromLocal8Bit(pack.readAllStandardError()).trimmed();
        QFile::remove(memoryPath());
        return false;
    }
    return true;
}

bool VirtualRadioProcess::ensureRunning(QString* error) {
    if (started) return true;
    QDir().mkpath(dataDir());
    if (!QFileInfo::exists(memoryPath()) && !seedMemory(error)) return false;
    InProcessRadio::setMemoryFile(memoryPath());
    started = true;
    return true;
}

void VirtualRadioProcess::stop() {
    started = false;
}
