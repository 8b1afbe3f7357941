// A radio memory image as read from a radio: the unpacker that turns it into the document's
// records, with the radio's country mode taken from the input. What it unpacks must pack and
// unpack again to the same records.

#include "core/link/memorymap.h"
#include "core/model/recordcodec.h"

#include <algorithm>
#include <cstdlib>

namespace {

struct Image {
    RadioDataRec data;
    ChannelList channels{};
};

Image unpack(const MemBuf& mem, int mode) {
    Image im;
    UnpackMemBuf(mem, mode, im.data, im.channels);
    UnpackDtmf(mem, im.data.DTMF);
    UnpackKeys(mem, im.data.Key);
    UnpackToneTips(mem, im.data.ToneTips);
    return im;
}

MemBuf pack(const Image& im) {
    MemBuf mem{};
    PackMemBuf(im.data, im.channels, mem);
    PackDtmf(im.data.DTMF, mem);
    PackKeys(im.data.Key, mem);
    PackToneTips(im.data.ToneTips, mem);
    return mem;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int mode = data[0] % 3;
    MemBuf mem{};
    std::copy_n(data + 1, std::min(size - 1, mem.size()), mem.begin());

    const Image first = unpack(mem, mode);
    if (first.data.CHCount < 0 || first.data.CHCount > MaxChannels) std::abort();
    // Unpacking is lossy (bits the records do not keep), but once through it the image is
    // stable: packing the records and unpacking again changes nothing.
    const MemBuf packed = pack(first);
    const Image second = unpack(packed, mode);
    if (pack(second) != packed) std::abort();
    return 0;
}
