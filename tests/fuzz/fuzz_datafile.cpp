// A .dat file from anywhere: the decoder, the checks made when a file is opened, and what the
// program does next with an opened file (the change check, the group counts, packing it for a
// write to the radio).

#include "core/files/datafile.h"
#include "core/files/opendatafile.h"
#include "core/lang/prompter.h"
#include "core/link/memorymap.h"
#include "core/model/country.h"
#include "core/model/document.h"

#include <cstdlib>

namespace {

// Answers every question with its first button, so that a file of another data version
// takes the "open it with the other version" path too (which only reports that version).
class YesPrompter : public Prompter {
public:
    Answer ask(const QString& text, Buttons buttons, Icon) override {
        return SilentPrompter().ask(text, buttons, Icon::None);
    }
    Answer message(int, Buttons b, Icon i, const QString&) override { return ask({}, b, i); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));

    // Decoding is byte for byte: encoding what was decoded gives the file back.
    RadioDataRec rec;
    ChannelList channels{};
    if (DecodeDataFile(bytes, rec, channels) &&
        EncodeDataFile(rec, channels) != bytes.left(DataFileSize))
        std::abort();

    YesPrompter prompter;
    Document doc;
    doc.setPrompter(&prompter);
    // Keep: damaged channel records are told and opened all the same, as a command that only
    // shows a file does, so that what follows sees them too.
    CheckedDataFile file;
    const OpenResult result =
        CheckDataBytes(doc, QStringLiteral("fuzz.dat"), bytes, file, DamagedChannelsPolicy::Keep);
    if (result == OpenResult::OtherVersion && file.otherVersion.isEmpty()) std::abort();
    if (result != OpenResult::Opened) return 0;
    ApplyDataFile(doc, QStringLiteral("fuzz.dat"), file);

    (void)doc.IsDataChanged();
    const int mode = doc.CountryMode;
    for (int g = 0; g < SettingGroupCount(mode); ++g) {
        (void)doc.CountCHInGroup(g, mode);
        (void)doc.CountCHOutsideGroup(g, mode);
        (void)doc.GroupPositions(g, mode);
    }
    doc.EnsureValidGroup(mode);
    doc.RecheckRBTones();
    for (int i = 0; i < doc.chCount(); ++i)
        (void)doc.FreToShown(doc.CHInfo[i].RxFre.text());
    MemBuf mem{};
    PackMemBuf(doc.RadioData, doc.CHInfo, mem);
    PackDtmf(doc.RadioData.DTMF, mem);
    PackKeys(doc.RadioData.Key, mem);
    PackToneTips(doc.RadioData.ToneTips, mem);
    return 0;
}
