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
    // Sends a control line (off, on, mode N, corrupt-memory ADDR|none). For off and on it waits
    // until mzsim tells the change and returns that line ("off", "on 0123457"); empty when none
    // came.
    QString control(const QByteArray& line) {
        process.write(line + '\n');
        process.waitForBytesWritten(5000);
        return line == "off" || line == "on" ? waitForLine(QString::fromLatin1(line)) : QString();
    }
    // The next line mzsim prints that starts with prefix (lines before it are skipped).
    QString waitForLine(const QString& prefix, int timeoutMs = 10000) {
        for (;;) {
            while (process.canReadLine()) {
                const QString l = QString::fromLocal8Bit(process.readLine()).trimmed();
                if (l.startsWith(prefix)) return l;
            }
            if (!process.waitForReadyRead(timeoutMs)) return QString();
        }
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
