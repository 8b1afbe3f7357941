#include "linkcli.h"
#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "echooff.h"

#include "core/app/appstate.h"
#include "core/app/documenttitles.h"
#include "core/app/otherversion.h"
#include "core/app/startup.h"
#include "core/app/stopsignals.h"
#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/link/linktexts.h"
#include "core/link/serialtransport.h"
#include "core/link/wirelog.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"
#include "core/model/version.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace linkcli {

namespace {
// Options that take a value.
const QStringList ValueOptions = {QStringLiteral("port"),   QStringLiteral("password"),
                                  QStringLiteral("output"), QStringLiteral("format"),
                                  QStringLiteral("mode"),   QStringLiteral("log"),
                                  QStringLiteral("count")};

QString forTerminal(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // Messages quote the radio's own texts (its model, its version): a control byte among them
    // is shown, never sent to the terminal as an escape sequence.
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if ((u < 0x20 && u != '\n') || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

bool stdinIsTerminal() {
    return isatty(STDIN_FILENO) == 1;
}
bool stderrIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

// Progress on stderr: a bar on a terminal, a line every ten percent otherwise.
class ProgressPrinter {
public:
    ProgressPrinter(const QString& what, bool quiet) : what_(what), quiet_(quiet) {}
    void show(int percent) {
        if (quiet_ || percent < shown_) return;
        QTextStream err(stderr);
        if (stderrIsTerminal()) {
            const int filled = percent / 5;
            err << '\r' << what_ << " [" << QString(filled, QLatin1Char('#'))
                << QString(20 - filled, QLatin1Char('.')) << "] " << percent << '%';
            open_ = true;
        } else if (percent / 10 > std::max(shown_, 0) / 10) {
            err << what_ << ' ' << percent / 10 * 10 << "%\n";
        }
        shown_ = percent;
    }
    void restart() { shown_ = -1; }
    void done() {
        if (open_) QTextStream(stderr) << '\n';
        open_ = false;
    }

private:
    QString what_;
    bool quiet_;
    bool open_ = false;
    int shown_ = -1;
};
} // namespace

std::optional<LinkArgs> ParseLinkArgs(const QStringList& args, const QStringList& accepted) {
    LinkArgs a;
    for (int i = 0; i < args.size(); ++i) {
        QString arg = args[i];
        if (!arg.startsWith(QLatin1Char('-')) || arg == QLatin1String("-")) {
            a.positional << arg;
            continue;
        }
        QString name = arg == QLatin1String("-o") ? QStringLiteral("output") : arg.mid(2);
        QString value;
        bool hasValue = false;
        if (const int eq = name.indexOf(QLatin1Char('=')); eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        if (!arg.startsWith(QLatin1String("--")) && arg != QLatin1String("-o")) {
            CliError(QStringLiteral("unknown option \"%1\".").arg(arg));
            return std::nullopt;
        }
        if (!accepted.contains(name)) {
            CliError(QStringLiteral("unknown option \"%1\".").arg(arg));
            return std::nullopt;
        }
        if (ValueOptions.contains(name) && !hasValue) {
            if (i + 1 >= args.size()) {
                CliError(QStringLiteral("%1 needs a value.").arg(arg));
                return std::nullopt;
            }
            value = args[++i];
        }
        if (name == QLatin1String("port")) {
            a.port = value;
        } else if (name == QLatin1String("password")) {
            a.password = value;
        } else if (name == QLatin1String("output")) {
            a.output = value;
        } else if (name == QLatin1String("format")) {
            a.format = value;
        } else if (name == QLatin1String("mode")) {
            bool ok = false;
            const int m = QLocale::c().toInt(value, &ok);
            if (!ok || !IsValidMode(m)) {
                CliError(QStringLiteral("--mode takes 0 (CB), 1 (HF) or 2 (HAM)."));
                return std::nullopt;
            }
            a.mode = m;
        } else if (name == QLatin1String("quiet")) {
            a.quiet = true;
        } else if (name == QLatin1String("run-other-version")) {
            a.runOtherVersion = true;
        } else if (name == QLatin1String("log")) {
            a.log = value;
        } else if (name == QLatin1String("no-backup")) {
            a.backup = false;
        } else if (name == QLatin1String("verify")) {
            a.verify = true;
        } else if (name == QLatin1String("no-verify")) {
            a.verify = false;
        } else if (name == QLatin1String("count")) {
            bool ok = false;
            const int n = QLocale::c().toInt(value, &ok);
            if (!ok || n < 1) {
                CliError(QStringLiteral("--count takes a number of radios from 1 up."));
                return std::nullopt;
            }
            a.count = n;
        } else if (name == QLatin1String("backup-first")) {
            a.backupFirst = true;
        }
    }
    return a;
}

void SetUpLinkCli(Document& doc) {
    CliStartUp(doc);
    // A read starts from the built-in defaults: the radio's memory replaces them anyway.
    doc.InitDir.clear();
    doc.NewDocument();
}

Prompter::Answer TerminalPrompter::ask(const QString& text, Buttons buttons, Icon) {
    Answer answer = Answer::Ok;
    switch (buttons) {
    case Buttons::Ok:
        answer = Answer::Ok;
        break;
    case Buttons::OkCancel:
    case Buttons::RetryCancel:
        answer = Answer::Cancel;
        break;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        answer = runOtherVersion ? Answer::Yes : Answer::No;
        break;
    }
    QTextStream err(stderr);
    // Nobody answers here: a question is told as the statement before it, with what was done.
    if (buttons == Buttons::Ok) {
        err << "mzcli: " << forTerminal(text) << '\n';
    } else if (buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel) {
        err << "mzcli: " << forTerminal(WithoutQuestion(text)) << '\n';
        err << (answer == Answer::Yes
                    ? "mzcli: starting the program version that handles it "
                      "(--run-other-version).\n"
                    : "mzcli: nothing else was started; --run-other-version would start the "
                      "program version that handles it.\n");
    } else {
        err << "mzcli: " << forTerminal(WithoutQuestion(text)) << '\n';
    }
    return answer;
}

std::optional<QString> TerminalPasswordAsker::askPassword(const QString& current) {
    QTextStream err(stderr);
    if (StopSignals::instance().received() != 0) return std::nullopt;
    if (!stdinIsTerminal()) {
        // Nobody can type it here: say how it is given.
        if (current.isEmpty())
            err << "mzcli: the radio has a password and nobody can type it here; give it with "
                   "--password PW.\n";
        return std::nullopt;
    }
    err << "Radio password: " << Qt::flush;
    char buf[256];
    bool got = false;
    {
        EchoOff hidden;
        got = std::fgets(buf, sizeof buf, stdin) != nullptr;
    }
    err << '\n';
    if (!got) return std::nullopt;
    QString typed = QString::fromLocal8Bit(buf);
    while (typed.endsWith(QLatin1Char('\n')) || typed.endsWith(QLatin1Char('\r')))
        typed.chop(1);
    // The buffer held the password: do not leave it lying in memory longer than needed.
    std::fill(std::begin(buf), std::end(buf), '\0');
    return typed;
}

namespace {
// Reads the radio back after a write and compares; prints the outcome. The session's
// sessionEnded is already connected to quit loop.
bool verifyWrite(LinkSession& session, QEventLoop& loop, bool quiet) {
    ProgressPrinter progress(QStringLiteral("Verifying"), quiet);
    bool completed = false;
    QVector<MemoryDifference> differences;
    const auto onProgress = QObject::connect(&session, &LinkSession::progress, [&](int p) {
        if (p == 0) progress.restart();
        progress.show(p);
    });
    const auto onEnd = QObject::connect(&session, &LinkSession::verifyFinished,
                                        [&](bool done, const QVector<MemoryDifference>& d) {
                                            completed = done;
                                            differences = d;
                                        });
    if (session.StartVerify() && session.isRunning()) loop.exec();
    progress.done();
    QObject::disconnect(onProgress);
    QObject::disconnect(onEnd);
    if (!completed) {
        CliError(QStringLiteral("the radio could not be read back: the write is not verified."));
        return false;
    }
    if (!differences.isEmpty()) {
        CliError(QStringLiteral("the radio holds other data than was written: %1.")
                     .arg(DescribeDifferences(differences)));
        return false;
    }
    if (session.meaninglessDifferences() > 0)
        QTextStream(stderr) << "mzcli: verified; " << session.meaninglessDifferences()
                            << " bytes without meaning differ.\n";
    else
        QTextStream(stderr) << "mzcli: verified: the radio holds what was written.\n";
    return true;
}
} // namespace

int RunLinkSession(Document& doc, CommKind kind, const LinkArgs& args,
                   const QStringList& commandLine) {
    if (args.port.trimmed().isEmpty()) {
        CliError(
            QStringLiteral("--port is %1: give the device of the cable, for example "
                           "/dev/ttyUSB0, ttyUSB0 or COM1.")
                .arg(args.port.isNull() ? QStringLiteral("missing") : QStringLiteral("empty")));
        return ExitBadInput;
    }
    std::unique_ptr<WireLog> log;
    if (!args.log.isEmpty()) {
        QString why;
        log = WireLog::openFile(args.log, &why);
        if (!log) {
            CliError(QStringLiteral("the log %1 cannot be written: %2.").arg(args.log, why));
            return ExitBadInput;
        }
        // A log that fails later (a full disk) is told once; the session goes on without it.
        log->setFailureHandler([path = args.log](const QString& reason) {
            CliError(QStringLiteral("the log %1 cannot be written: %2.").arg(path, reason));
        });
        log->event(QStringLiteral("mzcli %1 on %2").arg(commandLine.value(0), args.port));
    }
    TerminalPrompter prompter;
    prompter.runOtherVersion = args.runOtherVersion;
    doc.setPrompter(&prompter);
    TerminalPasswordAsker asker;
    SerialTransport transport(args.port);
    LinkSession session(doc);
    session.setTransport(&transport);
    session.setPrompter(&prompter);
    session.setPasswordAsker(&asker);
    session.setReadApplyDelay(0);
    session.setWireLog(log.get());
    if (args.password) session.SetProgPassword(*args.password);
    // The read becomes the document the command writes out.
    QObject::connect(&session, &LinkSession::readReady,
                     [&doc, &session] { AdoptRadioRead(doc, session); });
    if (kind == CommKind::Read && args.backup) {
        // The copy is made first, before the document or any output file is touched; a copy
        // that cannot be made is told but does not stop the read.
        QObject::connect(&session, &LinkSession::readSucceeded, [&session] {
            RadioDataRec data;
            ChannelList channels;
            session.ReadImage(data, channels);
            QString why;
            const QString path =
                BackupStore().save(data, channels, QDateTime::currentDateTime(), &why);
            if (path.isEmpty())
                CliError(QStringLiteral("the backup of the radio's memory could not be saved: %1.")
                             .arg(why));
            else
                QTextStream(stderr) << "mzcli: backup saved as " << path << '\n';
        });
    }

    ProgressPrinter progress(kind == CommKind::Read    ? QStringLiteral("Reading")
                             : kind == CommKind::Write ? QStringLiteral("Writing")
                                                       : QStringLiteral("Reading information"),
                             args.quiet);
    QObject::connect(&session, &LinkSession::progress, [&](int p) {
        if (p == 0) progress.restart();
        progress.show(p);
    });
    bool ok = false;
    QString handOver;
    QEventLoop loop;
    QObject::connect(&session, &LinkSession::transferEnded, [&] { progress.done(); });
    QObject::connect(&session, &LinkSession::handOverRequested,
                     [&](const QString& v) { handOver = v; });
    QObject::connect(&session, &LinkSession::sessionEnded, [&](bool result) {
        ok = result;
        loop.quit();
    });
    // Ctrl+C or a kill ends the session as a failure would: the radio is told to leave
    // programming mode and the port closes; nothing is written.
    StopSignals& stop = StopSignals::instance();
    QObject::connect(&stop, &StopSignals::stopRequested, &session, [&] {
        if (session.isRunning()) session.AbortSession();
        loop.quit();
    });
    const bool started = stop.received() == 0 && session.Start(kind);
    if (started && session.isRunning() && stop.received() == 0) loop.exec();
    if (stop.received() != 0 && session.isRunning()) session.AbortSession();
    progress.done();
    if (ok && kind == CommKind::Write && args.verify && handOver.isEmpty() && stop.received() == 0)
        ok = verifyWrite(session, loop, args.quiet);
    doc.setPrompter(nullptr);
    if (stop.received() != 0) {
        // What the radio holds now decides what the user must do next.
        if (kind == CommKind::Write && session.writeReach() == LinkSession::WriteReach::Partly)
            CliError(QStringLiteral("interrupted. ") + LinkText(TxtPartlyWritten));
        else if (kind == CommKind::Write &&
                 session.writeReach() == LinkSession::WriteReach::Complete)
            CliError(args.verify ? LinkText(TxtWrittenCheckInterrupted)
                                 : QStringLiteral("interrupted after the write was complete."));
        else
            CliError(QStringLiteral("interrupted; the radio was told to leave programming mode "
                                    "and nothing was written."));
        return stop.exitCode();
    }
    if (!started) return ExitLink;

    if (!handOver.isEmpty()) {
        // The port is closed again; the other version can have it.
        const QString program = OtherVersionProgram(handOver);
        QProcess other;
        other.setProcessChannelMode(QProcess::ForwardedChannels);
        other.setInputChannelMode(QProcess::ForwardedInputChannel);
        if (!program.isEmpty()) other.start(program, commandLine);
        if (program.isEmpty() || !other.waitForStarted()) {
            CliError(LoadLangText(9063));
            return ExitLink;
        }
        other.waitForFinished(-1);
        return other.exitStatus() == QProcess::NormalExit ? other.exitCode() : ExitLink;
    }
    return ok ? ExitOk : ExitLink;
}

} // namespace linkcli
