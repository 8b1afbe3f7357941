// Bytes on the serial line, both ways: the program's recognition of a radio reply (with the
// echo length, the awaited address and the password step taken from the input), the frame
// checksum, the identification fields, and the virtual radio's cutting of the program's
// frames out of whatever arrives.

#include "core/link/frames.h"
#include "core/link/virtualradio.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    // The echo is the request the program sent: at most a write block.
    const int echoLen = data[0] % (WriteBlockLen + 1);
    const int commAddr = (data[1] << 8 | data[2]) & 0x3FF0;
    const bool waitingPass = data[3] & 1;
    const QByteArray reply(reinterpret_cast<const char*>(data + 4),
                           static_cast<qsizetype>(size - 4));

    const ReplyKind kind = ClassifyReply(reply, echoLen, commAddr, waitingPass);
    // What the session then reads from a data or password block must lie inside the reply.
    if (kind == ReplyKind::DataBlock || kind == ReplyKind::PasswordBlock) {
        const int count = static_cast<unsigned char>(reply[echoLen + 3]);
        if (reply.size() != echoLen + count + 6 || !VerifyChecksum(reply, echoLen + 1))
            std::abort();
        if (kind == ReplyKind::DataBlock && count != BlockSize) std::abort();
    }
    if (kind == ReplyKind::Identification) (void)ParseIdentification(reply, echoLen);
    (void)ParseIdentification(reply, echoLen); // the session trusts the classifier; be sure

    // A frame whose checksum was just set passes the check.
    QByteArray framed = reply;
    SetChecksum(framed, echoLen + 1);
    if (framed.size() >= 2 && echoLen + 1 <= framed.size() && !VerifyChecksum(framed, echoLen + 1))
        std::abort();

    // The virtual radio takes the same bytes as frames from the program, in two pieces.
    VirtualRadio radio;
    const qsizetype cut = reply.size() / 2;
    radio.feed(reply.left(cut), 0);
    for (const auto& ex : radio.feed(reply.mid(cut), 10))
        if (ex.kind == VirtualRadio::FrameKind::Read && !ex.reply.isEmpty() &&
            !VerifyChecksum(ex.reply, 1))
            std::abort();
    return 0;
}
