// mzcli doctor --port PORT: checks the port one thing at a time, each with its fix, then asks
// the radio only who it is. Exit 0: the radio answered; 1: the port is fine but the radio did
// not answer; 2: the port cannot be used.

#include "command.h"
#include "linkcli.h"

#include "core/link/connectiontest.h"
#include "core/link/portdoctor.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

namespace {
const char* mark(DoctorFinding::Level level) {
    switch (level) {
    case DoctorFinding::Level::Ok:
        return "ok     ";
    case DoctorFinding::Level::Warning:
        return "warning";
    case DoctorFinding::Level::Problem:
        return "problem";
    }
    return "";
}

int doctorCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(args, {QStringLiteral("port")});
    if (!a) return ExitBadInput;
    if (!a->positional.isEmpty() || a->port.trimmed().isEmpty()) {
        CliError(QStringLiteral("usage: mzcli doctor --port PORT"));
        return ExitBadInput;
    }
    QTextStream out(stdout);
    // A folder, a file or a device of another kind is no port at all: a script must not take
    // it for a radio that is switched off, and its holders are nobody's business here.
    const QString path = PortDetailsFor(a->port).path;
    const QStringList noPort = NotASerialPort(path);
    if (!noPort.isEmpty()) {
        out << mark(DoctorFinding::Level::Problem) << "  " << noPort.first() << '\n'
            << "         fix: " << noPort.last() << '\n';
        out.flush();
        CliError(QStringLiteral("%1 cannot be used; see the problems above.").arg(path));
        return ExitBadInput;
    }
    const DoctorReport report = CheckPort(a->port);
    for (const DoctorFinding& f : report.findings) {
        out << mark(f.level) << "  " << f.text << '\n';
        if (!f.fix.isEmpty()) out << "         fix: " << f.fix << '\n';
    }
    out.flush();
    if (!report.portUsable) {
        CliError(
            QStringLiteral("%1 cannot be used; see the problems above.").arg(report.port.path));
        return ExitBadInput;
    }

    // The program's paths and language, for the texts of the test.
    Document doc;
    linkcli::SetUpLinkCli(doc);
    ConnectionTest test;
    QEventLoop loop;
    bool ok = false;
    QString result;
    QObject::connect(&test, &ConnectionTest::finished, &loop,
                     [&](bool answered, const QString& text) {
                         ok = answered;
                         result = text;
                         loop.quit();
                     });
    test.start(a->port);
    if (test.running()) {
        // The test ends by itself within about a second; this only guards the command against a
        // line that neither answers nor times out.
        QTimer::singleShot(10000, &loop, [&] {
            test.abort();
            result = QStringLiteral("The test did not end; the port may hang.");
            loop.quit();
        });
        loop.exec();
    }
    if (test.lowLatency()) out << "ok       The adapter answers with low latency.\n";
    // The answer quotes the radio's model and version: escaped, never run by the terminal.
    out << (ok ? "ok       " : "problem  ") << EscapeControls(result) << '\n';
    out.flush();
    return ok ? ExitOk : ExitLink;
}

CliCommand reg("doctor",
               "doctor --port PORT                       check a port and ask the radio who it is",
               CliHelp{27719, {CliPortOption}, {}}, doctorCommand);
} // namespace
