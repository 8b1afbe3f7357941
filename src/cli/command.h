#pragma once

// mzcli's sub-commands register themselves here, one file each, so that adding a command needs
// no edit of main.cpp.
//
// Exit status: 0 success, 1 the radio or the link failed, 2 bad arguments or bad input files.

#include <QCommandLineOption>
#include <QStringList>
#include <functional>

enum ExitCode { ExitOk = 0, ExitLink = 1, ExitBadInput = 2 };

// The help of a command is data it declares: its summary, options and positional arguments,
// each described by a text id so that the help speaks the user's language.
struct CliOption {
    const char* names; // "port", or "o,output" for a short and a long name
    const char* value; // the name of the option's value ("FILE"); nullptr for a switch
    int text;
};
struct CliArgument {
    const char* name;
    int text;
};
struct CliHelp {
    int summary = 0;
    QList<CliOption> options;
    QList<CliArgument> arguments;
};

// Options several commands share, defined once.
inline constexpr CliOption CliPortOption{"port", "PORT", 27723};
inline constexpr CliOption CliPasswordOption{"password", "PW", 27724};
inline constexpr CliOption CliQuietOption{"quiet", nullptr, 27725};
inline constexpr CliOption CliLogOption{"log", "FILE", 27726};
inline constexpr CliOption CliRunOtherVersionOption{"run-other-version", nullptr, 27728};
inline constexpr CliOption CliOutputOption{"o,output", "FILE", 27731};
inline constexpr CliOption CliModeOption{"mode", "0|1|2", 27733};
inline constexpr CliArgument CliDataFileArgument{"FILE.dat", 27741};

struct CliCommand {
    using Fn = std::function<int(const QStringList& args)>;
    // Gui: the command draws (a PDF) and runs in a QGuiApplication, on the "offscreen"
    // platform unless QT_QPA_PLATFORM names another.
    enum class Needs { Core, Gui };
    CliCommand(const char* name, const char* usage, CliHelp help, Fn fn, Needs needs = Needs::Core);

    const char* name;
    const char* usage; // its line in mzcli --help
    CliHelp help;
    Fn fn;
    Needs needs;
};

// The commands in the order a user meets them: the radio, files, channels, tools.
const QList<const CliCommand*>& CliCommands();
const CliCommand* FindCliCommand(const QString& name);
// The help of one command as "mzcli help CMD" and "mzcli CMD --help" print it.
QString CliCommandHelp(const CliCommand& command);
// The option as a command's parser takes it, from its one declaration.
QCommandLineOption CliParserOption(const CliOption& option);
// Whether args (those after the command's name) ask for its help: --help or -h where an
// option may stand, not as the value of an option before it.
bool AsksForHelp(const CliCommand& command, const QStringList& args);
// Prints one clear sentence to stderr.
void CliError(const QString& sentence);
