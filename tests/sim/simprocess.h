#pragma once

// mzsim started by a test: the device path is the first line it prints.

#include <QProcess>
#include <QString>
#include <QStringList>

class SimProcess {
public:
    QProcess process;
    QString device;

    bool start(const QStringList& args) {
        process.setProgram(QStringLiteral(MZ_PROGDIR "/mzsim"));
        process.setArguments(args);
        process.start();
        if (!process.waitForStarted(5000)) return false;
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000)) return false;
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return device.startsWith(QLatin1Char('/'));
    }
    void kill() {
        process.kill();
        process.waitForFinished(5000);
    }
    ~SimProcess() {
        if (process.state() != QProcess::NotRunning) {
            process.terminate();
            if (!process.waitForFinished(3000)) kill();
        }
    }
};
