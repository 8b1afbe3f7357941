// mzcli batch-write: one document into radio after radio, each logged by its serial number.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "linkcli.h"

#include "core/app/batchwriter.h"
#include "core/app/stopsignals.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTextStream>

namespace {
const char* const Usage = "batch-write FILE.dat --port PORT --log LOG.csv [--count N] "
                          "[--backup-first] [--password PW] [--quiet]";

QString modeText(int mode) {
    return mode < 0            ? QStringLiteral("?")
           : IsValidMode(mode) ? ModeName(mode)
                               : QString::number(mode);
}

int batchWriteCommand(const QStringList& args) {
    const auto a =
        linkcli::ParseLinkArgs(args, {QStringLiteral("port"), QStringLiteral("log"),
                                      QStringLiteral("count"), QStringLiteral("backup-first"),
                                      QStringLiteral("password"), QStringLiteral("quiet")});
    if (!a) return ExitBadInput;
    if (a->positional.size() != 1) {
        CliError(QStringLiteral("usage: mzcli %1").arg(QLatin1String(Usage)));
        return ExitBadInput;
    }
    if (a->port.trimmed().isEmpty()) {
        CliError(QStringLiteral("--port is missing: give the device of the cable, for example "
                                "/dev/ttyUSB0."));
        return ExitBadInput;
    }
    if (a->log.isEmpty()) {
        CliError(QStringLiteral("--log is missing: give the CSV file that records every radio."));
        return ExitBadInput;
    }
    Document doc;
    linkcli::SetUpLinkCli(doc);
    CliPrompter prompter;
    if (!OpenCheckedDocument(doc, prompter, a->positional[0])) return ExitBadInput;

    BatchWriter writer(doc);
    BatchSettings settings;
    settings.port = a->port;
    settings.logPath = a->log;
    settings.documentPath = QFileInfo(a->positional[0]).absoluteFilePath();
    settings.count = a->count;
    settings.backupFirst = a->backupFirst;
    settings.password = a->password;

    QTextStream out(stdout);
    QTextStream err(stderr);
    QEventLoop loop;
    QString failure;
    QObject::connect(&writer, &BatchWriter::phaseChanged, [&](BatchPhase phase) {
        if (a->quiet) return;
        if (phase == BatchPhase::WaitingForRadio)
            err << "mzcli: connect the next radio to " << a->port << " and switch it on.\n";
        else if (phase == BatchPhase::WaitingForRemoval && writer.running())
            err << "mzcli: switch the radio off or disconnect it.\n";
        err.flush();
    });
    // One line per radio on stdout, as in the log.
    QObject::connect(&writer, &BatchWriter::radioDone, [&](const BatchLogEntry& e) {
        // The serial number and the model are the radio's own texts: escaped, never run.
        out << "radio " << (e.serialNo.isEmpty() ? QStringLiteral("?") : EscapeControls(e.serialNo))
            << " (" << EscapeControls(e.model) << ", " << modeText(e.countryMode)
            << "): " << EscapeControls(e.resultText()) << '\n';
        out.flush();
    });
    QObject::connect(&writer, &BatchWriter::finished, [&](const QString& error) {
        failure = error;
        loop.quit();
    });
    // Ctrl+C or a kill ends the batch as it ends a write: a radio in the middle of an exchange
    // is told to leave programming mode, and it is logged as failed.
    StopSignals& stop = StopSignals::instance();
    QObject::connect(&stop, &StopSignals::stopRequested, &writer, [&] { writer.stopNow(); });

    QString why;
    if (stop.received() == 0) {
        if (!writer.start(settings, &why)) {
            CliError(why + QLatin1Char('.'));
            return ExitBadInput;
        }
        if (writer.running()) loop.exec();
    }
    if (!a->quiet)
        err << "mzcli: " << writer.handled() << " radio(s) handled, " << writer.verified()
            << " verified; the log is " << a->log << ".\n";
    if (stop.received() != 0) {
        CliError(QStringLiteral("interrupted; a radio in the middle of an exchange was told to "
                                "leave programming mode."));
        return stop.exitCode();
    }
    if (!failure.isEmpty()) {
        CliError(failure + QLatin1Char('.'));
        // A log that takes no more lines is a file refused, not a radio that failed.
        return writer.logFailed() ? ExitBadInput : ExitLink;
    }
    return writer.notVerified() == 0 ? ExitOk : ExitLink;
}

CliCommand reg("batch-write", Usage,
               CliHelp{27708,
                       {CliPortOption,
                        {"log", "LOG.csv", 27749},
                        {"count", "N", 27734},
                        {"backup-first", nullptr, 27735},
                        CliPasswordOption,
                        CliQuietOption},
                       {CliDataFileArgument}},
               batchWriteCommand);
} // namespace
