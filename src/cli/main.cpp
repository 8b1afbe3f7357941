#include "clisetup.h"
#include "command.h"

#include "core/app/appstate.h"
#include "core/app/buildinfo.h"
#include "core/app/startup.h"
#include "core/lang/langtext.h"
#include "core/model/document.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {
void usage(QTextStream& out) {
    out << "usage: mzcli COMMAND [options]\n       mzcli --version\n\ncommands:\n";
    for (const CliCommand* c : CliCommands())
        out << "  " << c->usage << "\n";
}
} // namespace

void CliError(const QString& sentence) {
    QTextStream(stderr) << "mzcli: " << sentence << "\n";
}

namespace {
// The application a command needs, chosen from the raw arguments before Qt reads them.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    const int at = argc > 3 && qstrcmp(argv[1], "--log") == 0 ? 3 : 1;
    for (const CliCommand* c : CliCommands())
        if (at < argc && qstrcmp(argv[at], c->name) == 0 && c->needs == CliCommand::Needs::Gui) {
            // Drawing needs no display.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            // Without a login session (root, a service) the platform's start tells about its
            // stand-in runtime folder; that is no concern of the command's user, whose stderr
            // holds one sentence.
            static QtMessageHandler previous = nullptr;
            previous = qInstallMessageHandler(
                [](QtMsgType type, const QMessageLogContext& context, const QString& msg) {
                    if (msg.startsWith(QLatin1String("QStandardPaths: XDG_RUNTIME_DIR"))) return;
                    if (previous) previous(type, context, msg);
                });
            return std::make_unique<QGuiApplication>(argc, argv);
        }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Output that did not arrive is a failure: a full disk or /dev/full refuses what is printed
// only when it reaches the device, and by then the reason is gone from errno (Qt flushes the
// stream itself). Standard output therefore runs through a stream of our own that keeps the
// first reason the system gave.
int& outputError() {
    static int error = 0;
    return error;
}

#ifdef __GLIBC__
ssize_t writeOutput(void*, const char* buf, size_t size) {
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(STDOUT_FILENO, buf + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            if (outputError() == 0) outputError() = n < 0 ? errno : ENOSPC;
            return 0; // the stream marks itself failed
        }
        done += size_t(n);
    }
    return ssize_t(done);
}

int closeOutput(void*) {
    // A standard output the shell closed (">&-") that was never written to is no failure.
    if (::close(STDOUT_FILENO) != 0 && errno != EBADF) {
        if (outputError() == 0) outputError() = errno;
        return -1;
    }
    return 0;
}

void keepOutputErrors() {
    cookie_io_functions_t io{};
    io.write = writeOutput;
    io.close = closeOutput;
    FILE* out = fopencookie(nullptr, "w", io);
    if (!out) return;
    // A person reading along sees each line as it is printed, as from the standard stream.
    if (::isatty(STDOUT_FILENO) == 1) std::setvbuf(out, nullptr, _IOLBF, 0);
    stdout = out;
}
#else
void keepOutputErrors() {}
#endif

// Flushes and closes standard output; the system's reason is told when it failed, and a
// command that had succeeded exits 2 instead.
int finishStandardOutput(int code) {
    errno = 0;
    if ((std::fflush(stdout) != 0 || std::ferror(stdout)) && outputError() == 0)
        outputError() = errno != 0 ? errno : EIO;
    if (std::fclose(stdout) != 0 && outputError() == 0 && errno != EBADF) outputError() = errno;
    if (outputError() == 0) return code;
    CliError(QStringLiteral("the output could not be written: %1.")
                 .arg(QString::fromLocal8Bit(std::strerror(outputError()))));
    // The file came before the report on standard output: it is there, and a script that took
    // the failure for "nothing changed" would be wrong.
    QString written = LoadLangText(27321);
    if (written.isEmpty()) written = QStringLiteral("%1 was written all the same.");
    for (const QString& file : WrittenOutputFiles())
        CliError(written.arg(file));
    return code == ExitOk ? ExitBadInput : code;
}

// The help is in the language of the environment, as the commands speak.
int printHelp(const CliCommand& c) {
    Document doc;
    CliStartUp(doc);
    QTextStream(stdout) << CliCommandHelp(c);
    return finishStandardOutput(ExitOk);
}

int unknownCommand(const QString& name) {
    CliError(QStringLiteral("unknown command \"%1\"; run mzcli --help for the list.").arg(name));
    return ExitBadInput;
}
} // namespace

int main(int argc, char** argv) {
    keepOutputErrors();
    const std::unique_ptr<QCoreApplication> app = makeApplication(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.size() == 1 && args[0] == QLatin1String("--version")) {
        QTextStream(stdout) << ProgramVersionLine(QStringLiteral("mzcli")) << "\n";
        return finishStandardOutput(ExitOk);
    }
    if (args.isEmpty() || args[0] == QLatin1String("--help") || args[0] == QLatin1String("-h")) {
        {
            QTextStream out(stdout), err(stderr);
            usage(args.isEmpty() ? err : out);
        }
        return finishStandardOutput(args.isEmpty() ? ExitBadInput : ExitOk);
    }
    // "mzcli --log FILE COMMAND ..." is the same as "mzcli COMMAND --log FILE ...".
    if (args.size() >= 3 && args[0] == QLatin1String("--log")) args.move(2, 0);
    const QString name = args.takeFirst();
    if (name == QLatin1String("help") && args.size() == 1) {
        const CliCommand* c = FindCliCommand(args[0]);
        return c ? printHelp(*c) : unknownCommand(args[0]);
    }
    if (name == QLatin1String("help") && args.isEmpty()) {
        {
            QTextStream out(stdout);
            usage(out);
        }
        return finishStandardOutput(ExitOk);
    }
    if (const CliCommand* c = FindCliCommand(name))
        return AsksForHelp(*c, args) ? printHelp(*c) : finishStandardOutput(c->fn(args));
    return unknownCommand(name);
}
