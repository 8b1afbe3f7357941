#pragma once

// mzcli's sub-commands register themselves here, one file each, so that adding a command needs
// no edit of main.cpp.
//
// Exit status: 0 success, 1 the radio or the link failed, 2 bad arguments or bad input files.

#include <QStringList>
#include <functional>

enum ExitCode { ExitOk = 0, ExitLink = 1, ExitBadInput = 2 };

struct CliCommand {
    using Fn = std::function<int(const QStringList& args)>;
    // Gui: the command draws (a PDF) and runs in a QGuiApplication, on the "offscreen"
    // platform unless QT_QPA_PLATFORM names another.
    enum class Needs { Core, Gui };
    CliCommand(const char* name, const char* usage, Fn fn, Needs needs = Needs::Core);

    const char* name;
    const char* usage;
    Fn fn;
    Needs needs;
};

const QList<const CliCommand*>& CliCommands();
// Prints one clear sentence to stderr.
void CliError(const QString& sentence);
