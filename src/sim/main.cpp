// mzsim: a virtual MZ-710 on a pseudo-terminal, for tests, demonstrations and trying the
// program without a radio.

#include "ptyline.h"
#include "simoptions.h"
#include "simradio.h"

#include "core/app/buildinfo.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

void onSignal(int) {
    const char c = 1;
    [[maybe_unused]] const ssize_t r = ::write(signalPipe[1], &c, 1);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (app.arguments().mid(1) == QStringList{QStringLiteral("--version")}) {
        QTextStream(stdout) << ProgramVersionLine(QStringLiteral("mzsim")) << "\n";
        return 0;
    }
    QString error;
    const auto options = ParseSimOptions(app.arguments().mid(1), &error);
    if (!options) {
        if (error.isEmpty()) {
            QTextStream(stdout) << SimUsage();
            return 0;
        }
        QTextStream(stderr) << "mzsim: " << error << "\n" << SimUsage();
        return 2;
    }

    PtyLine line;
    SimRadio radio(*options, line);
    if (!radio.load(&error)) {
        QTextStream(stderr) << "mzsim: " << error << "\n";
        return 2;
    }
    if (!line.open(options->link, &error)) {
        QTextStream(stderr) << "mzsim: " << error << "\n";
        return 1;
    }

    // Leave cleanly on Ctrl+C or kill, so that the symlink goes away.
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
        auto* n = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(n, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    }
    QObject::connect(&radio, &SimRadio::finished, &app, [] { QCoreApplication::quit(); });

    QTextStream out(stdout);
    out << line.devicePath() << Qt::endl;
    return app.exec();
}
