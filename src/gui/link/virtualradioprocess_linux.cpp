#include "virtualradioprocess.h"

#include "core/app/appstate.h"
#include "core/link/portnames.h"
#include "lang/captions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

namespace {
QString dataDir() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

void fail(QString* error, const QString& why) {
    if (error) *error = why;
}
} // namespace

QString VirtualRadioProcess::program() {
    return App().ProgramDir + QStringLiteral("/mzsim");
}

bool VirtualRadioProcess::available() {
    return QFileInfo(program()).isExecutable();
}

QString VirtualRadioProcess::linkPath() {
    return dataDir() + QStringLiteral("/virtual-radio");
}

QString VirtualRadioProcess::memoryPath() {
    return dataDir() + QStringLiteral("/virtual-radio.bin");
}

bool VirtualRadioProcess::running() const {
    return process_ && process_->state() == QProcess::Running;
}

bool VirtualRadioProcess::seedMemory(QString* error) {
    // The first start takes the demo document as the radio's memory, packed by mzcli the
    // way a write would send it.
    const QString demo = App().ProgramDir + QStringLiteral("/demo/demo.dat");
    const QString cli = App().ProgramDir + QStringLiteral("/mzcli");
    if (!QFileInfo::exists(demo) || !QFileInfo(cli).isExecutable())
        return true; // a blank radio then
    QProcess pack;
    pack.start(cli, {QStringLiteral("pack"), demo, QStringLiteral("-o"), memoryPath()});
    if (!pack.waitForFinished(10000) || pack.exitStatus() != QProcess::NormalExit ||
        pack.exitCode() != 0) {
        pack.kill();
        fail(error, QString::fromLocal8Bit(pack.readAllStandardError()).trimmed());
        QFile::remove(memoryPath());
        return false;
    }
    return true;
}

bool VirtualRadioProcess::ensureRunning(QString* error) {
    if (running()) return true;
    if (!available()) {
        fail(error, LangTextOr(22900, "%1 is not installed.").arg(program()));
        return false;
    }
    QDir().mkpath(dataDir());
    if (!QFileInfo::exists(memoryPath()) && !seedMemory(error)) return false;

    delete process_;
    process_ = new QProcess(this);
    process_->setProcessChannelMode(QProcess::SeparateChannels);
    process_->setStandardErrorFile(QProcess::nullDevice());
    QStringList args{QStringLiteral("--save"), memoryPath()};
    if (QFileInfo::exists(memoryPath())) args << QStringLiteral("--image") << memoryPath();
    process_->start(program(), args);
    // The simulator names its terminal on its first line, at once.
    QByteArray line;
    while (!line.contains('\n') && process_->waitForReadyRead(5000))
        line += process_->readAllStandardOutput();
    const QString pty = QString::fromLocal8Bit(line.left(line.indexOf('\n'))).trimmed();
    if (pty.isEmpty() || !running()) {
        fail(error, LangTextOr(22901, "%1 did not start.").arg(program()));
        stop();
        return false;
    }
    // Nothing else it prints is of use; keep the pipe drained.
    connect(process_, &QProcess::readyReadStandardOutput, process_,
            [p = process_] { p->readAllStandardOutput(); });
    // Only a link of a virtual radio that has ended is replaced; anything else at that path
    // is someone's and stays.
    QString why;
    if (!link_.make(linkPath(), pty, &why)) {
        fail(error, why);
        stop();
        return false;
    }
    return true;
}

void VirtualRadioProcess::stop() {
    if (!process_) return;
    if (process_->state() != QProcess::NotRunning) {
        process_->terminate();
        if (!process_->waitForFinished(2000)) {
            process_->kill();
            process_->waitForFinished(2000);
        }
    }
    delete process_;
    process_ = nullptr;
    link_.remove();
}
