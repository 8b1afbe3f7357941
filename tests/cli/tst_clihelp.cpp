// Every mzcli command's help: "mzcli help CMD", "CMD --help" and "CMD -h" agree and exit 0, in
// every language each row is described, and each option the help names is one the command's
// parser accepts.

#include "support/clirun.h"
#include "support/testmain.h"

#include <QRegularExpression>
#include <QTest>

class TestCliHelp : public QObject {
    Q_OBJECT
private slots:
    void everyCommandHasItsHelp();
};

namespace {
// The commands as mzcli --help lists them: the lines indented by exactly two spaces.
QStringList listedCommands() {
    const CliRun r = RunMzcli({QStringLiteral("--help")});
    QStringList names;
    static const QRegularExpression command(QStringLiteral("^  ([a-z-]+)\\b"));
    for (const QString& line : r.out.split(QLatin1Char('\n')))
        if (const auto m = command.match(line); m.hasMatch()) names << m.captured(1);
    return names;
}

// The rows below a heading of the help ("options:"), up to the next empty line.
QStringList rowsUnder(const QString& help, const QString& heading) {
    const QStringList lines = help.split(QLatin1Char('\n'));
    const qsizetype at = lines.indexOf(heading);
    QStringList rows;
    for (qsizetype i = at + 1; at >= 0 && i < lines.size() && !lines[i].isEmpty(); ++i)
        rows << lines[i];
    return rows;
}
} // namespace

void TestCliHelp::everyCommandHasItsHelp() {
    const QStringList commands = listedCommands();
    QVERIFY(commands.size() >= 18);
    QCOMPARE(commands.first(), QStringLiteral("read"));
    static const QRegularExpression twoSpaces(QStringLiteral("\\s{2,}"));
    for (const QString& cmd : commands) {
        const CliRun help = RunMzcli({QStringLiteral("help"), cmd});
        QCOMPARE(help.code, 0);
        QVERIFY2(help.out.startsWith(cmd + QStringLiteral(" - ")), qPrintable(help.out));
        QVERIFY2(help.err.isEmpty(), qPrintable(help.err));
        for (const char* flag : {"--help", "-h"}) {
            const CliRun r = RunMzcli({cmd, QLatin1String(flag)});
            QCOMPARE(r.code, 0);
            QCOMPARE(r.out, help.out);
        }

        // A text missing from a language file leaves a row without its description.
        for (const char* locale : {"C.UTF-8", "zh_CN.UTF-8"}) {
            const CliRun r = RunMzcli({QStringLiteral("help"), cmd},
                                      {QStringLiteral("LC_ALL=") + QLatin1String(locale)});
            QCOMPARE(r.code, 0);
            QVERIFY2(!r.out.section(QLatin1Char('\n'), 0, 0).endsWith(QStringLiteral(" - ")),
                     qPrintable(cmd + QLatin1Char(' ') + QLatin1String(locale)));
            const QStringList headings =
                r.out.split(QLatin1Char('\n'))
                    .filter(QRegularExpression(QStringLiteral("^\\S.*[:：]$")));
            for (const QString& heading : headings)
                for (const QString& row : rowsUnder(r.out, heading))
                    QVERIFY2(row.trimmed().split(twoSpaces).size() == 2,
                             qPrintable(cmd + QStringLiteral(": ") + row));
        }

        // Each option the help names is known to the command's parser. Its value (when it
        // takes one) is a path no command can use, so nothing is ever written or opened.
        const QStringList options = rowsUnder(help.out, QStringLiteral("options:"));
        if (options.isEmpty())
            QVERIFY2(!help.out.contains(QStringLiteral("[options]")), qPrintable(cmd));
        static const QRegularExpression option(QStringLiteral("--([a-z-]+)( [^ ]+)?  "));
        for (const QString& row : options) {
            const auto m = option.match(row);
            QVERIFY2(m.hasMatch(), qPrintable(row));
            QStringList args{cmd, QStringLiteral("--") + m.captured(1)};
            if (!m.captured(2).isEmpty()) args << QStringLiteral("/nonexistent-mzcli-test/x");
            const CliRun r = RunMzcli(args);
            QVERIFY2(r.code != 0 || cmd == QLatin1String("ports"), qPrintable(args.join(' ')));
            QVERIFY2(!r.err.contains(QStringLiteral("nknown option")),
                     qPrintable(args.join(QLatin1Char(' ')) + QStringLiteral(": ") + r.err));
        }
    }
    // A command that does not exist has no help.
    QCOMPARE(RunMzcli({QStringLiteral("help"), QStringLiteral("nope")}).code, 2);
}

MZ_TEST_GUILESS_MAIN(TestCliHelp)
#include "tst_clihelp.moc"
