#pragma once

// What the link commands of mzcli share: their options, the terminal as prompter and password
// dialog, the progress display, and running one session to its end.

#include "core/lang/prompter.h"
#include "core/link/session.h"

#include <QString>
#include <QStringList>
#include <optional>

class Document;

namespace linkcli {

struct LinkArgs {
    QString port;
    std::optional<QString> password;
    QString output;
    QString format = QStringLiteral("text");
    std::optional<int> mode;
    bool quiet = false;
    bool runOtherVersion = false;
    QString log;              // --log FILE: the wire log of the session(s)
    bool backup = true;       // read: keep a copy in the backups folder (--no-backup)
    bool verify = true;       // write: read the radio back and compare (--verify/--no-verify)
    int count = 0;            // batch-write --count N: end after N radios (0: no limit)
    bool backupFirst = false; // batch-write --backup-first
    QStringList positional;
};

// Parses the options a command accepts (option names without "--"; "output" is also "-o").
// On error prints one sentence and returns nothing.
std::optional<LinkArgs> ParseLinkArgs(const QStringList& args, const QStringList& accepted);

// The program paths, the version table and the language; then a new document of the model.
void SetUpLinkCli(Document& doc);

// Messages go to stderr. OK/Cancel and Retry/Cancel are answered Cancel (the session ends); the
// version question is answered No unless the user allowed another version to take over. A
// question nobody waits for is not printed: only the statement before it, and what was done.
class TerminalPrompter : public Prompter {
public:
    bool runOtherVersion = false;
    Answer ask(const QString& text, Buttons buttons, Icon icon) override;
};

// The radio's password typed on the terminal without echo; nothing when stdin is not a
// terminal.
class TerminalPasswordAsker : public PasswordAsker {
public:
    std::optional<QString> askPassword(const QString& current) override;
};

// Runs one session of the given kind on --port and returns the exit code; Ctrl+C or SIGTERM end
// the session properly and give 130 or 143. The document must be
// ready (loaded for a write). When the radio's firmware belongs to another program version and
// the user allowed it, that version's mzcli runs the same command and its exit code is returned.
int RunLinkSession(Document& doc, CommKind kind, const LinkArgs& args,
                   const QStringList& commandLine);

} // namespace linkcli
