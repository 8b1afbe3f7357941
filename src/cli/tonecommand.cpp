// mzcli tone FILE.dat --tip N -o FILE.wav: the sound of one tone tip as a 16-bit mono WAV
// file, the same samples the program plays.

#include "cliprompter.h"
#include "clisetup.h"
#include "command.h"
#include "core/model/document.h"
#include "core/sound/tippcm.h"

#include <QCommandLineParser>
#include <QSaveFile>
#include <QTextStream>

namespace {

int runTone(const QStringList& args) {
    QCommandLineParser p;
    p.addOption({QStringLiteral("tip"), QStringLiteral("Tone tip 1 to 8."), QStringLiteral("N")});
    p.addOption(CliParserOption(CliOutputOption));
    if (!ParseCliArgs(p, args)) return ExitBadInput;
    const QStringList files = p.positionalArguments();
    const QString out = p.value(QStringLiteral("output"));
    if (files.size() != 1 || out.isEmpty() || !p.isSet(QStringLiteral("tip"))) {
        CliError(QStringLiteral("usage: mzcli tone FILE.dat --tip N -o FILE.wav"));
        return ExitBadInput;
    }
    bool ok = false;
    const int n = p.value(QStringLiteral("tip")).trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 8) {
        CliError(QStringLiteral("--tip takes a tone tip number from 1 to 8, not \"%1\".")
                     .arg(p.value(QStringLiteral("tip"))));
        return ExitBadInput;
    }

    Document doc;
    CliStartUp(doc);
    CliPrompter prompter;
    if (!OpenCheckedDocument(doc, prompter, files[0])) return ExitBadInput;
    const ToneTipRec& tip = doc.RadioData.ToneTips.Tip[n - 1];
    if (!sound::TipPlays(tip))
        QTextStream(stderr) << QStringLiteral("mzcli: tone tip %1 is off or has no notes; the "
                                              "WAV file holds no sound.\n")
                                   .arg(n);

    QSaveFile file(out);
    QString error;
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
    } else if (!sound::WriteTipWav(tip, file, &error)) {
        file.cancelWriting();
    } else if (!file.commit()) {
        error = file.errorString();
    } else {
        return ExitOk;
    }
    CliError(QStringLiteral("cannot write %1: %2.").arg(out, error));
    return ExitBadInput;
}

CliCommand reg("tone", "tone FILE.dat --tip N -o FILE.wav        one tone tip as a WAV file",
               CliHelp{27720, {{"tip", "N", 27739}, CliOutputOption}, {CliDataFileArgument}},
               runTone);

} // namespace
