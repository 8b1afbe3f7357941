// The channel clipboard: the private format (another program may put anything under its MIME
// type) and the tab-separated text, pasted into documents of the CB and the HF mode.

#include "core/model/cbplanrule.h"
#include "core/model/channelrows.h"
#include "core/model/country.h"
#include "core/model/document.h"

#include <QSet>
#include <cstdlib>

namespace {

struct Base {
    RadioDataRec data;
    ChannelList channels;
};

// A new document of the mode, with the national plans in the CB mode; built once.
const Base& base(int mode) {
    static Base bases[2];
    static bool built[2] = {false, false};
    const int k = mode == 0 ? 0 : 1;
    if (!built[k]) {
        Document d;
        d.SetCountryMode(mode);
        d.NewDocument();
        if (mode == 0) ApplyPlan(d, CbPlanRows(), nullptr);
        bases[k] = {d.RadioData, d.CHInfo};
        built[k] = true;
    }
    return bases[k];
}

// What every command must leave: a count in range and every channel number once.
void check(const Document& d) {
    if (d.RadioData.CHCount < 0 || d.RadioData.CHCount > MaxChannels) std::abort();
    QSet<int> seen;
    for (int i = 0; i < d.RadioData.CHCount; ++i) {
        const int n = d.CHInfo[i].CHNo;
        if (n < 1 || n > MaxChannels || seen.contains(n)) std::abort();
        seen.insert(n);
    }
}

template <class Base> void adopt(Document& d, const Base& b) {
    AdoptedImage image;
    image.data = b.data;
    image.channels = b.channels;
    d.adoptImage(image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto clip = DecodeChannelClip(bytes);
    if (clip) {
        // What is accepted is exactly what it encodes back to.
        if (EncodeChannelClip(*clip) != bytes) std::abort();
        for (int mode : {0, 1}) {
            Document d;
            adopt(d, base(mode));
            const int group = clip->group % GroupCount(mode);
            PasteRows(d, group, clip->firstRow, *clip);
            check(d);
            PasteRowsText(d, group, 1, ChannelClipToText(d, *clip));
            check(d);
        }
    } else if (size > 0 && data[0] % 2 == 0) {
        // Any text as the clipboard's plain text, into the mode the first byte picks.
        Document d;
        const int mode = data[0] % 4 == 0 ? 0 : 1;
        adopt(d, base(mode));
        const int group = (size > 1 ? data[1] : 0) % GroupCount(mode);
        PasteRowsText(d, group, 1, QString::fromUtf8(bytes.mid(2)));
        check(d);
    }
    return 0;
}
