// mzsim: a virtual MZ-710 on a pseudo-terminal, for tests, demonstrations and trying the
// program without a radio.

#include "ptyline.h"
#include "simoptions.h"
#include "simradio.h"

#include "core/app/buildinfo.h"
#include "core/link/devicelink.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {
int signalPipe[2] = {-1, -1};

// The byte written to the pipe says which signal came.
constexpr char QuitByte = 1, PowerByte = 2;

void onSignal(int sig) {
    const char c = sig == SIGUSR1 ? PowerByte : QuitByte;
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
    if (!line.open(&error)) {
        QTextStream(stderr) << "mzsim: " << error << "\n";
        return 1;
    }
    // Made only where nothing of anyone else's is, and removed at the end only while it is
    // still the link made here.
    DeviceLink link;
    if (!options->link.isEmpty() && !link.make(options->link, line.devicePath(), &error)) {
        QTextStream(stderr) << "mzsim: " << error << "\n";
        return 2;
    }

    // Leave cleanly on Ctrl+C or kill, so that the symlink goes away.
    if (pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) == 0) {
        std::signal(SIGINT, onSignal);
        std::signal(SIGTERM, onSignal);
        std::signal(SIGHUP, onSignal);
        std::signal(SIGUSR1, onSignal);
        auto* n = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, &app);
        QObject::connect(n, &QSocketNotifier::activated, &app, [&radio] {
            char c = 0;
            while (::read(signalPipe[0], &c, 1) == 1) {
                if (c == PowerByte)
                    radio.togglePower();
                else
                    QCoreApplication::quit();
            }
        });
    }

    // Control lines on stdin switch the radio off and on (mzsim --help); at the end of the
    // input the notifier stops, since a closed stdin would wake it for ever.
    auto* controls = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
    QByteArray pendingInput;
    QObject::connect(controls, &QSocketNotifier::activated, &app, [&, controls] {
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            controls->setEnabled(false);
            return;
        }
        pendingInput.append(buf, int(n));
        for (int nl = pendingInput.indexOf('\n'); nl >= 0; nl = pendingInput.indexOf('\n')) {
            const QString line = QString::fromLocal8Bit(pendingInput.left(nl));
            pendingInput.remove(0, nl + 1);
            QString why;
            if (!radio.control(line, &why)) QTextStream(stderr) << "mzsim: " << why << '\n';
        }
    });
    QObject::connect(&radio, &SimRadio::finished, &app, [] { QCoreApplication::quit(); });

    QTextStream out(stdout);
    QObject::connect(&radio, &SimRadio::powerChanged, &app,
                     [&out](const QString& text) { out << text << Qt::endl; });
    out << line.devicePath() << Qt::endl;
    return app.exec();
}
