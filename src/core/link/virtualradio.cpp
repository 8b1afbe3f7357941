#include "virtualradio.h"
#include "frames.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr qint64 ResyncMs = 500;

int byteAt(const QByteArray& b, int i) {
    return static_cast<unsigned char>(b[i]);
}

void putText(InfoBuf& info, int from, int size, const char* text) {
    const int n = std::min<int>(size, int(std::strlen(text)));
    for (int i = 0; i < n; ++i)
        info[from + i] = static_cast<std::uint8_t>(text[i]);
}
} // namespace

VirtualRadio::VirtualRadio(const VirtualRadioConfig& c) : config(c), info(DefaultInfo(c.Mode)) {}

InfoBuf VirtualRadio::DefaultInfo(int mode) {
    InfoBuf info;
    info.fill(0xFF); // erased memory; texts end at the first 0xFF
    info[0] = static_cast<std::uint8_t>(mode & 0x0F);
    putText(info, 32, 8, "01-1-E-1");
    putText(info, 40, 4, "001A");
    putText(info, 44, 4, "0001");
    putText(info, 48, 16, "SIM00000001");
    putText(info, 64, 16, "2024-01-15");
    putText(info, 80, 16, "2024-06-01");
    putText(info, 96, 96, "Virtual radio; no repair.");
    putText(info, 192, 16, "DEMO-DEALER");
    putText(info, 208, 16, "2024-02-01");
    putText(info, 224, 16, "2024-03-01");
    putText(info, 240, 16, "mzsim");
    return info;
}

void VirtualRadio::setPassword(const QByteArray& password) {
    const int base = PassBlockAddr - InfoBase + 12;
    for (int i = 0; i < 4; ++i)
        info[base + i] = password.isEmpty()         ? 0xFF
                         : i < int(password.size()) ? static_cast<std::uint8_t>(password[i])
                                                    : 0x00;
}

QByteArray VirtualRadio::identReply() const {
    QByteArray r(16, '\0');
    r[0] = 'I';
    for (int i = 0; i < 7 && i < config.Model.size(); ++i)
        r[1 + i] = config.Model[i];
    r[8] = static_cast<char>(config.Mode);
    for (int i = 0; i < 4 && i < config.Firmware.size(); ++i)
        r[9 + i] = config.Firmware[i];
    r[13] = config.ToneSupport ? 0x01 : 0x00;
    r[14] = 0x00;
    r[15] = 0x06;
    return r;
}

QByteArray VirtualRadio::dataReply(int address, int count) const {
    const bool inMain = address >= 0 && address + count <= MemSize;
    const bool inInfo = address >= InfoBase && address + count <= InfoBase + InfoSize;
    if (!inMain && !inInfo) return QByteArray(); // no such memory: the radio stays silent
    QByteArray r;
    r.append('W');
    r.append(static_cast<char>(address >> 8));
    r.append(static_cast<char>(address & 0xFF));
    r.append(static_cast<char>(count));
    for (int i = 0; i < count; ++i)
        r.append(static_cast<char>(inMain ? memory[address + i] : info[address - InfoBase + i]));
    r.append('\0');
    r.append('\x06');
    SetChecksum(r, 1);
    return r;
}

QByteArray VirtualRadio::writeReply(const QByteArray& f, int address, int count, bool& stored) {
    stored = false;
    const QByteArray resend(1, '\x0A');
    if (byteAt(f, f.size() - 1) != 0x06 || !VerifyChecksum(f, 1)) return resend;
    // The information area is never written by the program, and nothing lies beyond memory.
    if (address < 0 || address + count > MemSize) return resend;
    if (refuseWrite && refuseWrite(address)) return resend;
    for (int i = 0; i < count; ++i)
        memory[address + i] = static_cast<std::uint8_t>(f[4 + i]);
    stored = true;
    return QByteArray(1, '\x06');
}

bool VirtualRadio::takeFrame(Exchange& ex) {
    static const QByteArray program = ProgramRequest();
    static const QByteArray end = EndRequest();
    while (!pending_.isEmpty()) {
        const int c = byteAt(pending_, 0);
        const int n = int(pending_.size());
        auto need = [&](int len) { return n < len; };
        if (c == 'P') {
            // "PROGRAM" starts a session, also in programming mode (a restart after a failure).
            if (!program.startsWith(pending_.left(7))) {
                pending_.remove(0, 1);
                continue;
            }
            if (need(7)) return false;
            ex = {FrameKind::Program, pending_.left(7), QByteArrayLiteral("LN\x06")};
            pending_.remove(0, 7);
            programming_ = true;
            return true;
        }
        if (!programming_) {
            pending_.remove(0, 1); // nothing but "PROGRAM" is heard outside programming mode
            continue;
        }
        if (c == 0x02) {
            ex = {FrameKind::Ident, pending_.left(1), identReply()};
            pending_.remove(0, 1);
            return true;
        }
        if (c == 'R') {
            if (need(4)) return false;
            const int address = byteAt(pending_, 1) * 256 + byteAt(pending_, 2);
            const int count = byteAt(pending_, 3);
            ex = {FrameKind::Read, pending_.left(4), dataReply(address, count), address};
            pending_.remove(0, 4);
            return true;
        }
        if (c == 'W') {
            if (need(4)) return false;
            const int address = byteAt(pending_, 1) * 256 + byteAt(pending_, 2);
            const int count = byteAt(pending_, 3);
            if (need(count + 6)) return false;
            const QByteArray frame = pending_.left(count + 6);
            pending_.remove(0, count + 6);
            ex = {FrameKind::Write, frame, QByteArray(), address};
            ex.reply = writeReply(frame, address, count, ex.stored);
            return true;
        }
        if (c == 'E') {
            if (!end.startsWith(pending_.left(3))) {
                pending_.remove(0, 1);
                continue;
            }
            if (need(3)) return false;
            ex = {FrameKind::End, pending_.left(3), QByteArray(1, '\x06')};
            pending_.remove(0, 3);
            programming_ = false;
            ++sessionsEnded_;
            return true;
        }
        pending_.remove(0, 1); // not the start of any frame
    }
    return false;
}

QVector<VirtualRadio::Exchange> VirtualRadio::feed(const QByteArray& bytes, qint64 nowMs) {
    if (!pending_.isEmpty() && nowMs - lastByteMs_ > ResyncMs) pending_.clear();
    if (!bytes.isEmpty()) lastByteMs_ = nowMs;
    pending_ += bytes;
    QVector<Exchange> out;
    Exchange ex;
    while (takeFrame(ex))
        out.append(ex);
    return out;
}
