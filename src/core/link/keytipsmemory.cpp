#include "memorymap.h"

void PackKeys(const KeyRec& keys, MemBuf& mem) {
    mem[memaddr::KeySet] = static_cast<std::uint8_t>(keys.KeySet);
    for (int i = 0; i < 18; ++i)
        mem[memaddr::KeyFun + i] = static_cast<std::uint8_t>(keys.KeyFun[i]);
}

void UnpackKeys(const MemBuf& mem, KeyRec& keys) {
    keys.KeySet = mem[memaddr::KeySet];
    for (int i = 0; i < 18; ++i)
        keys.KeyFun[i] = mem[memaddr::KeyFun + i];
}

int ToneTipAddress(int t) {
    return memaddr::ToneTips + (t - 1) / 2 * 64 + (t - 1) % 2 * 30;
}

void PackToneTips(const ToneTipsRec& tips, MemBuf& mem) {
    for (int t = 1; t <= 8; ++t) {
        const ToneTipRec& tip = tips.Tip[t - 1];
        std::uint8_t* p = mem.data() + ToneTipAddress(t);
        p[0] = static_cast<std::uint8_t>(tip.Repeat);
        p[1] = static_cast<std::uint8_t>(tip.Pause);
        for (int i = 0; i < 14; ++i) {
            p[2 + i] = static_cast<std::uint8_t>(tip.Step[i].Tone);
            p[16 + i] = static_cast<std::uint8_t>(tip.Step[i].Time);
        }
    }
}

void UnpackToneTips(const MemBuf& mem, ToneTipsRec& tips) {
    for (int t = 1; t <= 8; ++t) {
        ToneTipRec& tip = tips.Tip[t - 1];
        const std::uint8_t* p = mem.data() + ToneTipAddress(t);
        tip.Repeat = p[0];
        tip.Pause = p[1];
        for (int i = 0; i < 14; ++i) {
            tip.Step[i].Tone = p[2 + i];
            tip.Step[i].Time = p[16 + i];
        }
    }
}
