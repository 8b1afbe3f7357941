#include "memorymap.h"
#include "../model/fixedtext.h"
#include "../model/helpers.h"

#include <algorithm>

namespace {
using std::uint8_t;

uint8_t lo(int v) {
    return static_cast<uint8_t>(v & 0xFF);
}

// The value of the leading hexadecimal digits of a text, 0 when it has none; a pair such as
// "2X" reads as 2, the way the radio's own tools read a damaged frequency.
int hexValue(const QString& t) {
    int v = 0;
    for (const QChar c : t) {
        const int d = QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
        if (d < 0) break;
        v = v * 16 + d;
    }
    return v;
}

QString hex2(uint8_t b) {
    return QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
}

const QString AllF = QStringLiteral("FFFFFFFF");

void setBit(MemBuf& mem, int byte, int bit) {
    mem[byte] |= static_cast<uint8_t>(1u << bit);
}
bool bit(const MemBuf& mem, int byte, int bit) {
    return (mem[byte] >> bit) & 1;
}

void toneToBytes(int tone, uint8_t& ctcss, uint8_t& dcs, int& type) {
    ctcss = dcs = 0;
    type = 0;
    if (tone >= 1 && tone <= 38) {
        type = 1;
        ctcss = lo(tone - 1);
    } else if (tone >= 39) {
        type = 2;
        dcs = lo(tone - 39);
    }
}

i16 toneFromBytes(int type, uint8_t ctcss, uint8_t dcs) {
    if (type == 1) return static_cast<i16>(ctcss + 1);
    if (type == 2) return static_cast<i16>(dcs + 39);
    return 0;
}

// Where the present and scan bits of a channel live; false for the VFO channel, which has none.
bool bitmapPlace(int chNo, int& presentByte, int& scanByte, int& bitNo) {
    if (chNo >= 1 && chNo <= 400) {
        presentByte = memaddr::PresentBits + (chNo - 1) / 8;
        scanByte = memaddr::ScanBits + (chNo - 1) / 8;
        bitNo = (chNo - 1) % 8;
        return true;
    }
    if (chNo >= 402 && chNo <= 409) {
        presentByte = memaddr::MemPresentBits;
        scanByte = memaddr::MemScanBits;
        bitNo = chNo - 402;
        return true;
    }
    return false;
}
} // namespace

int ChannelAddress(int chNo) {
    if (chNo >= 1 && chNo <= 400) return (chNo - 1) * 16;
    if (chNo == 401) return memaddr::VfoChannel;
    if (chNo >= 402 && chNo <= 409) return memaddr::MemChannels + (chNo - 402) * 16;
    return -1;
}

void PackChannel(const CHInfoRec& ch, uint8_t* out, int from) {
    uint8_t b[16] = {};
    const QString rx = TrimBlanks(ch.RxFre.text());
    if (rx == AllF) {
        b[0] = b[1] = b[2] = 0xFF;
    } else {
        // Digits 2..7 of the eight: d1 (hundreds of MHz) and d8 (10 Hz) are not kept.
        QString t = rx;
        if (t.size() % 2) t += QLatin1Char('0');
        if (t.size() < 7) t = QString(7 - t.size(), QLatin1Char('0')) + t;
        t = t.left(7).mid(1);
        b[2] = lo(hexValue(t.mid(0, 2)));
        b[1] = lo(hexValue(t.mid(2, 2)));
        b[0] = lo(hexValue(t.mid(4, 2)));
    }
    const auto offset = static_cast<std::uint16_t>(ch.OffSetFre);
    b[3] = lo(offset);
    b[4] = lo(offset >> 8);
    int rxType = 0, txType = 0;
    toneToBytes(ch.RDCT, b[5], b[6], rxType);
    toneToBytes(ch.TDCT, b[7], b[8], txType);
    b[9] = 0;
    b[10] = lo((ch.DUP & 3) | (ch.TSQ & 1) << 2 | rxType << 4 | txType << 6);
    b[11] = lo((ch.BUSY & 1) | (ch.HI_CUT & 1) << 1 | (ch.NB & 1) << 2 | (ch.Add_Sub_5K & 1) << 3 |
               (ch.AM_FM & 1) << 4 | (ch.Tx_Power & 3) << 5 | (ch.Public & 1) << 7);
    b[12] = lo(ch.RBTone);
    b[13] = lo(ch.DTMF_BOT);
    b[14] = lo(ch.DTMF_EOT);
    b[15] = lo(ch.DTMF_Call);
    std::copy(b + from, b + 16, out + from);
}

QString UnpackRxFre(const uint8_t* in) {
    return QLatin1Char('0') + hex2(in[2]) + hex2(in[1]) + hex2(in[0]) + QLatin1Char('0');
}

void UnpackChannelFields(const uint8_t* in, CHInfoRec& ch) {
    ch.OffSetFre = static_cast<i16>(in[3] | in[4] << 8);
    ch.RDCT = toneFromBytes((in[10] >> 4) & 3, in[5], in[6]);
    ch.TDCT = toneFromBytes((in[10] >> 6) & 3, in[7], in[8]);
    ch.DUP = in[10] & 3;
    ch.TSQ = (in[10] >> 2) & 1;
    ch.BUSY = in[11] & 1;
    ch.HI_CUT = (in[11] >> 1) & 1;
    ch.NB = (in[11] >> 2) & 1;
    ch.Add_Sub_5K = (in[11] >> 3) & 1;
    ch.AM_FM = (in[11] >> 4) & 1;
    ch.Tx_Power = (in[11] >> 5) & 3;
    ch.Public = (in[11] >> 7) & 1;
    ch.RBTone = in[12];
    ch.DTMF_BOT = in[13];
    ch.DTMF_EOT = in[14];
    ch.DTMF_Call = in[15];
}

void PackMemBuf(const RadioDataRec& data, const ChannelList& channels, MemBuf& mem) {
    std::fill(mem.begin() + memaddr::PresentBits, mem.begin() + 0x1980, 0);
    std::fill(mem.begin(), mem.begin() + memaddr::PresentBits, 0);
    mem[memaddr::MemPresentBits] = mem[memaddr::MemScanBits] = 0;

    const int count = std::clamp<int>(data.CHCount, 0, MaxChannels);
    for (int i = 0; i < count; ++i) {
        const CHInfoRec& ch = channels[i];
        const int address = ChannelAddress(ch.CHNo);
        if (address < 0) continue; // a number no slot of the radio holds
        const QString rx = TrimBlanks(ch.RxFre.text());
        int presentByte = 0, scanByte = 0, bitNo = 0;
        if (!rx.isEmpty() && rx != AllF && bitmapPlace(ch.CHNo, presentByte, scanByte, bitNo)) {
            setBit(mem, presentByte, bitNo);
            if (ch.Scan == 1) setBit(mem, scanByte, bitNo);
        }
        PackChannel(ch, mem.data() + address);
    }

    const FuncRec& f = data.Func;
    mem[memaddr::WorkGroup] = lo(f.WorkGroup);
    mem[memaddr::UseMem] = lo(f.UseMem & 1);
    mem[memaddr::MemWorkCH] = lo(f.MemWorkCH);
    mem[memaddr::GroupValidBits] = mem[memaddr::GroupValidBits + 1] = 0;
    for (int g = 0; g < 10; ++g)
        if (f.GroupValid[g]) setBit(mem, memaddr::GroupValidBits + g / 8, g % 8);
    for (int g = 0; g < 10; ++g) {
        mem[memaddr::WorkCH + g] = lo(f.WorkCH[g]);
        mem[memaddr::EmgCH1 + g] = lo(f.EmgCH1[g]);
        mem[memaddr::EmgCH2 + g] = lo(f.EmgCH2[g]);
        mem[memaddr::EmgMode1 + g] = f.EmgMode1[g];
        mem[memaddr::EmgMode2 + g] = f.EmgMode2[g];
    }
    PackChannel(data.PublicCH, mem.data() + memaddr::PublicCH, 3);
    mem[memaddr::Beep] = lo(f.Beep);
    mem[memaddr::TOT] = lo(f.TOT);
    mem[memaddr::Backlight] = lo(f.Backlight);
    mem[memaddr::Volume] = lo(f.Volume);
    mem[memaddr::SqlLevel] = lo(f.SqlLevel);
    mem[memaddr::Asq] = lo((f.AsqFun & 1) << 7 | (f.AsqValue & 0x7F));
    mem[memaddr::Gain] = lo(f.Gain);
    mem[memaddr::CHDisplay] = lo(f.CHDisplay);
    mem[memaddr::ScanType] = lo(f.ScanType);
    mem[memaddr::ScanTime] = lo(f.ScanTime);
    mem[memaddr::SqlBack] = lo(f.SqlBack);
    mem[memaddr::AsqBack] = lo(f.AsqBack);
    mem[memaddr::AutoPowerOn] = lo(f.AutoPowerOn);
    mem[memaddr::MaxSwr] = lo(f.MaxSwr);
    mem[memaddr::MemEditSwr] = lo((f.MemEdit & 1) | (f.UseMaxSwr & 1) << 1);

    PackDtmf(data.DTMF, mem);
    PackKeys(data.Key, mem);
    PackToneTips(data.ToneTips, mem);
}

void UnpackMemBuf(const MemBuf& mem, int radioCountryMode, RadioDataRec& data,
                  ChannelList& channels) {
    int count = 0;
    for (int s = 0; s < MaxChannels; ++s) {
        const int n = s + 1;
        // Channels 361..400 belong to no CB group and are not taken over. The VFO channel 401 is
        // always read: every write sends it, and leaving it out of the document would make the
        // next write clear the radio's VFO frequency.
        if (radioCountryMode == 0 && s >= 360 && s < 400) continue;
        int presentByte = 0, scanByte = 0, bitNo = 0;
        bool present = true, scan = false;
        if (bitmapPlace(n, presentByte, scanByte, bitNo)) {
            present = bit(mem, presentByte, bitNo);
            scan = bit(mem, scanByte, bitNo);
        }
        if (!present) continue;
        const uint8_t* in = mem.data() + ChannelAddress(n);
        CHInfoRec& ch = channels[count++];
        const auto reserved = ch.Reserved;
        ch = CHInfoRec{};
        ch.Reserved = reserved;
        ch.CHNo = static_cast<i16>(n);
        ch.Spare = 0;
        ch.Scan = scan ? 1 : 0;
        ch.RxFre = UnpackRxFre(in);
        UnpackChannelFields(in, ch);
    }
    data.CHCount = static_cast<i16>(count);
    data.Head.CountryMode = static_cast<i16>(radioCountryMode);

    FuncRec& f = data.Func;
    f.WorkGroup = mem[memaddr::WorkGroup];
    f.UseMem = mem[memaddr::UseMem] & 1;
    f.MemWorkCH = mem[memaddr::MemWorkCH];
    for (int g = 0; g < 10; ++g) {
        f.GroupValid[g] = bit(mem, memaddr::GroupValidBits + g / 8, g % 8) ? 1 : 0;
        f.WorkCH[g] = mem[memaddr::WorkCH + g];
        f.EmgCH1[g] = mem[memaddr::EmgCH1 + g];
        f.EmgCH2[g] = mem[memaddr::EmgCH2 + g];
        f.EmgMode1[g] = mem[memaddr::EmgMode1 + g];
        f.EmgMode2[g] = mem[memaddr::EmgMode2 + g];
    }
    f.Beep = mem[memaddr::Beep];
    f.TOT = mem[memaddr::TOT];
    f.Backlight = mem[memaddr::Backlight];
    f.Volume = mem[memaddr::Volume];
    f.SqlLevel = mem[memaddr::SqlLevel];
    f.AsqFun = (mem[memaddr::Asq] >> 7) & 1;
    f.AsqValue = mem[memaddr::Asq] & 0x7F;
    f.Gain = mem[memaddr::Gain];
    f.CHDisplay = mem[memaddr::CHDisplay];
    f.ScanType = mem[memaddr::ScanType];
    f.ScanTime = mem[memaddr::ScanTime];
    f.SqlBack = mem[memaddr::SqlBack];
    f.AsqBack = mem[memaddr::AsqBack];
    f.AutoPowerOn = mem[memaddr::AutoPowerOn];
    f.MaxSwr = mem[memaddr::MaxSwr];
    f.MemEdit = mem[memaddr::MemEditSwr] & 1;
    f.UseMaxSwr = (mem[memaddr::MemEditSwr] >> 1) & 1;
    UnpackChannelFields(mem.data() + memaddr::PublicCH, data.PublicCH);

    UnpackDtmf(mem, data.DTMF);
    UnpackKeys(mem, data.Key);
    UnpackToneTips(mem, data.ToneTips);
}
