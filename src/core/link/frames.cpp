#include "frames.h"
#include "../model/helpers.h"

namespace {
QByteArray addressed(char command, int address, int count) {
    QByteArray f;
    f.reserve(4 + count + 2);
    f.append(command);
    f.append(static_cast<char>((address >> 8) & 0xFF));
    f.append(static_cast<char>(address & 0xFF));
    f.append(static_cast<char>(count & 0xFF));
    return f;
}

int byteAt(const QByteArray& b, int i) {
    return static_cast<unsigned char>(b[i]);
}

int checksumOf(const QByteArray& frame, int from) {
    int sum = 0;
    for (int i = from; i <= frame.size() - 3; ++i)
        sum += byteAt(frame, i);
    return sum & 0xFF;
}

// Text bytes up to the first 0x00.
QString textUpToNul(const QByteArray& reply, int start, int len) {
    QByteArray t = reply.mid(start, len);
    const int nul = t.indexOf('\0');
    if (nul >= 0) t.truncate(nul);
    return QString::fromLatin1(t);
}

} // namespace

QByteArray ProgramRequest() {
    return QByteArrayLiteral("PROGRAM");
}
QByteArray IdentRequest() {
    return QByteArray(1, '\x02');
}
QByteArray ReadRequest(int address, int count) {
    return addressed('R', address, count);
}
QByteArray EndRequest() {
    return QByteArrayLiteral("END");
}

QByteArray WriteBlockFrame(const MemBuf& mem, int address) {
    QByteArray f = addressed('W', address, BlockSize);
    for (int i = 0; i < BlockSize; ++i) {
        const int a = address + i;
        f.append(static_cast<char>(a >= 0 && a < MemSize ? mem[a] : 0));
    }
    f.append('\0');
    f.append('\x06');
    SetChecksum(f, 1);
    return f;
}

void SetChecksum(QByteArray& frame, int from) {
    if (frame.size() < 2) return;
    frame[frame.size() - 2] = static_cast<char>(checksumOf(frame, from));
}

bool VerifyChecksum(const QByteArray& frame, int from) {
    if (frame.size() < 2) return false;
    return checksumOf(frame, from) == byteAt(frame, frame.size() - 2);
}

ReplyKind ClassifyReply(const QByteArray& r, int e, int commAddr, bool waitingPassBlock,
                        int blockSize) {
    const int n = r.size();
    auto at = [&](int i) { return i >= 0 && i < n ? byteAt(r, i) : -1; };
    if (n == e + 1 && at(e) == 0x06) return ReplyKind::Acknowledge;
    if (n == e + 1 && at(e) == 0x0A) return ReplyKind::Resend;
    if (n == e + 3 && at(e) == 0x4C && at(e + 1) == 0x4E && at(e + 2) == 0x06)
        return ReplyKind::ProgramAccepted;
    if (n == e + 16 && at(e) == 0x49 && at(n - 1) == 0x06) return ReplyKind::Identification;
    if (at(e) == 0x57 && n >= e + 22) {
        const int address = at(e + 1) * 256 + at(e + 2);
        const int count = at(e + 3);
        const bool framed = n == e + count + 6 && at(n - 1) == 0x06 && VerifyChecksum(r, e + 1);
        if (framed && address == PassBlockAddr && waitingPassBlock) return ReplyKind::PasswordBlock;
        if (framed && count == blockSize && address == commAddr) return ReplyKind::DataBlock;
    }
    return ReplyKind::Ignored;
}

RadioIdentity ParseIdentification(const QByteArray& reply, int e) {
    RadioIdentity id;
    id.ModelName = TrimBlanks(textUpToNul(reply, e + 1, 7));
    id.CountryMode = e + 8 < reply.size() ? byteAt(reply, e + 8) : 0;
    id.Version = textUpToNul(reply, e + 9, 4);
    id.ToneSupport = e + 13 < reply.size() ? (byteAt(reply, e + 13) & 1) : 0;
    return id;
}

QString HexAddress(int address) {
    return QStringLiteral("0x%1").arg(
        QString::number(address, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}
