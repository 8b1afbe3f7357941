#pragma once

// Runs the staged mzcli as a user would: stdin closed (not a terminal), with extra environment
// variables when given.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliRun {
    int code = -1; // -1: it crashed or did not end within the time
    QString out, err;
};

inline CliRun RunMzcli(const QStringList& args, const QStringList& environment = {},
                       int timeoutMs = 60000) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // mzcli speaks the environment's language: English unless a test asks for another.
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    for (const QString& kv : environment)
        env.insert(kv.section(QLatin1Char('='), 0, 0), kv.section(QLatin1Char('='), 1));
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), args);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return r;
    }
    r.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// Starts mzcli in p and returns what it wrote to stderr once that holds text (or when it has
// said nothing for 20 s): for a test that acts while a transfer is under way.
inline QString StartMzcliUntil(QProcess& p, const QStringList& args, const QString& text) {
    p.start(QStringLiteral(MZ_PROGDIR "/mzcli"), args);
    p.closeWriteChannel();
    p.setReadChannel(QProcess::StandardError);
    QString err;
    while (!err.contains(text) && p.waitForReadyRead(20000))
        err += QString::fromUtf8(p.readAllStandardError());
    return err;
}
