#include "../model/helpers.h"
#include "memorymap.h"

#include <algorithm>

namespace {
// Memory order of the six settings: the first digit delay (DtmfSet(3)) comes before the first
// digit time (DtmfSet(2)).
constexpr int SettingOrder[6] = {0, 2, 1, 3, 4, 5};

int hexDigit(QChar c) {
    return QStringLiteral("0123456789ABCDEF").indexOf(c.toUpper());
}

int usedLength(int len) {
    return len >= 1 && len <= 16 ? len : 0;
}
} // namespace

void PackDtmf(const DTMFRec& dtmf, MemBuf& mem) {
    for (int i = 0; i < 6; ++i)
        mem[memaddr::DtmfSettings + i] = static_cast<std::uint8_t>(dtmf.DtmfSet[SettingOrder[i]]);
    mem[memaddr::DtmfSlotBits] = mem[memaddr::DtmfSlotBits + 1] = 0;
    for (int s = 0; s < 16; ++s) {
        const int len = usedLength(dtmf.Codes[s].Len);
        if (len > 0) mem[memaddr::DtmfSlotBits + s / 8] |= static_cast<std::uint8_t>(1u << (s % 8));
        QString code = DtmfToStored(dtmf.Codes[s].Code.text().trimmed());
        if (code.size() < len) code += QString(len - code.size(), QLatin1Char('0'));
        for (int i = 0; i < 16; ++i)
            mem[memaddr::DtmfCodes + 16 * s + i] =
                i < len ? static_cast<std::uint8_t>(std::max(0, hexDigit(code[i]))) : 0xFF;
    }
}

void UnpackDtmf(const MemBuf& mem, DTMFRec& dtmf) {
    for (int i = 0; i < 6; ++i)
        dtmf.DtmfSet[SettingOrder[i]] = mem[memaddr::DtmfSettings + i];
    for (int s = 0; s < 16; ++s) {
        DTMFCodeRec& c = dtmf.Codes[s];
        if (!((mem[memaddr::DtmfSlotBits + s / 8] >> (s % 8)) & 1)) {
            c.Len = 0;
            continue;
        }
        QString code;
        for (int i = 0; i < 16; ++i) {
            const int v = mem[memaddr::DtmfCodes + 16 * s + i];
            if (v >= 0x10) break;
            code += QStringLiteral("0123456789ABCDEF")[v];
        }
        code = DtmfToShown(code);
        c.Code = code;
        c.Len = static_cast<i16>(code.size());
    }
}
