#include "clisetup.h"
#include "command.h"
#include "linkcli.h"

#include "core/files/datafile.h"
#include "core/files/fileio.h"
#include "core/link/memorymap.h"
#include "core/model/document.h"

namespace {
int unpackCommand(const QStringList& args) {
    const auto a = linkcli::ParseLinkArgs(args, {QStringLiteral("output"), QStringLiteral("mode")});
    if (!a) return ExitBadInput;
    if (a->positional.size() != 1 || a->output.isEmpty() || !a->mode) {
        CliError(QStringLiteral("usage: mzcli unpack MEM.bin --mode 0|1|2 -o FILE.dat"));
        return ExitBadInput;
    }
    const QString& path = a->positional[0];
    QByteArray bytes;
    QString why;
    // One byte more than an image, so that a longer file is told as such.
    if (!ReadRegularFile(path, MemSize + 1, bytes, &why)) {
        CliError(why);
        return ExitBadInput;
    }
    if (bytes.size() != MemSize) {
        CliError(QStringLiteral("%1 is not a radio memory image: it holds %2 bytes, an image %3.")
                     .arg(path)
                     .arg(bytes.size() > MemSize ? QStringLiteral("more than %1").arg(MemSize)
                                                 : QString::number(bytes.size()))
                     .arg(MemSize));
        return ExitBadInput;
    }
    MemBuf mem{};
    std::copy(bytes.begin(), bytes.end(), mem.begin());

    Document doc;
    linkcli::SetUpLinkCli(doc);
    doc.SetCountryMode(*a->mode);
    doc.NewDocument();
    // The same steps as after a read from a radio of that country mode.
    AdoptedImage image;
    image.data = doc.RadioData;
    image.channels = doc.CHInfo;
    UnpackMemBuf(mem, *a->mode, image.data, image.channels);
    image.state = AdoptedImage::State::Unsaved;
    doc.adoptImage(image);
    return WriteDocumentFile(doc, a->output) ? ExitOk : ExitBadInput;
}

CliCommand reg("unpack", "unpack MEM.bin --mode 0|1|2 -o FILE.dat",
               CliHelp{27722, {CliModeOption, CliOutputOption}, {{"MEM.bin", 27745}}},
               unpackCommand);
} // namespace
