#pragma once

// The records of the radio image. They hold only 16-bit integers, bytes and fixed texts; the
// byte layout (.dat files) comes from visiting the fields in declaration order, see
// recordcodec.h. Arrays that the radio's documentation numbers from 1 (KeyFun, DtmfSet, Codes,
// Tip, Step, Spare, Reserved) are stored 0-based: element k of the documentation is [k - 1].

#include "fixedtext.h"

#include <array>
#include <cstdint>

using i16 = std::int16_t;
using u8 = std::uint8_t;

struct FileHeadRec {
    FixedText<7> Model;
    i16 CountryMode = 0;
    FixedText<4> Version;

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("Model", s.Model);
        v("CountryMode", s.CountryMode);
        v("Version", s.Version);
    }
    bool operator==(const FileHeadRec&) const = default;
};

// Field indexes by which the channel windows and SetCHField address a channel field.
enum ChField : int {
    FldRxFre = 1,
    FldPublic = 2,
    FldDUP = 3,
    FldOffSetFre = 4,
    FldTSQ = 5,
    FldScan = 6,
    FldHI_CUT = 7,
    FldBUSY = 8,
    FldNB = 9,
    FldAdd_Sub_5K = 10,
    FldAM_FM = 11,
    FldTx_Power = 12,
    FldRBTone = 13,
    FldDTMF_BOT = 14,
    FldDTMF_EOT = 15,
    FldDTMF_Call = 16,
    FldRDCT = 17,
    FldTDCT = 18,
};

struct CHInfoRec {
    i16 CHNo = 0;
    i16 Spare = 0;
    i16 Scan = 0;
    FixedText<8> RxFre;
    i16 OffSetFre = 0;
    i16 RDCT = 0;
    i16 TDCT = 0;
    i16 DUP = 0;
    i16 HI_CUT = 0;
    i16 BUSY = 0;
    i16 NB = 0;
    i16 Add_Sub_5K = 0;
    i16 AM_FM = 0;
    i16 Tx_Power = 0;
    i16 Public = 0;
    i16 RBTone = 0;
    i16 DTMF_BOT = 0;
    i16 DTMF_EOT = 0;
    i16 DTMF_Call = 0;
    i16 TSQ = 0;
    std::array<i16, 7> Reserved{};

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("CHNo", s.CHNo);
        v("Spare", s.Spare);
        v("Scan", s.Scan);
        v("RxFre", s.RxFre);
        v("OffSetFre", s.OffSetFre);
        v("RDCT", s.RDCT);
        v("TDCT", s.TDCT);
        v("DUP", s.DUP);
        v("HI_CUT", s.HI_CUT);
        v("BUSY", s.BUSY);
        v("NB", s.NB);
        v("Add_Sub_5K", s.Add_Sub_5K);
        v("AM_FM", s.AM_FM);
        v("Tx_Power", s.Tx_Power);
        v("Public", s.Public);
        v("RBTone", s.RBTone);
        v("DTMF_BOT", s.DTMF_BOT);
        v("DTMF_EOT", s.DTMF_EOT);
        v("DTMF_Call", s.DTMF_Call);
        v("TSQ", s.TSQ);
        v("Reserved", s.Reserved);
    }
    bool operator==(const CHInfoRec&) const = default;

    // The value of a field by its field index (0 for an unknown index; not for RxFre).
    int field(int index) const;
    // The field itself by its field index; nullptr for an unknown index and for RxFre.
    i16* fieldRef(int index);
};

struct FuncRec {
    i16 GroupSel = 0;
    i16 UseMem = 0;
    i16 WorkGroup = 0;
    i16 MemWorkCH = 0;
    std::array<i16, 10> GroupValid{};
    std::array<i16, 10> WorkCH{};
    std::array<i16, 10> EmgCH1{};
    std::array<i16, 10> EmgCH2{};
    i16 Beep = 0;
    i16 TOT = 0;
    i16 Backlight = 0;
    i16 Volume = 0;
    i16 SqlLevel = 0;
    i16 AsqFun = 0;
    i16 AsqValue = 0;
    i16 Gain = 0;
    i16 CHDisplay = 0;
    i16 ScanType = 0;
    i16 ScanTime = 0;
    i16 SqlBack = 0;
    i16 AsqBack = 0;
    i16 AutoPowerOn = 0;
    i16 MemEdit = 0;
    i16 UseMaxSwr = 0;
    i16 MaxSwr = 0;
    std::array<u8, 10> EmgMode1{};
    std::array<u8, 10> EmgMode2{};
    std::array<i16, 8> Spare{};

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("GroupSel", s.GroupSel);
        v("UseMem", s.UseMem);
        v("WorkGroup", s.WorkGroup);
        v("MemWorkCH", s.MemWorkCH);
        v("GroupValid", s.GroupValid);
        v("WorkCH", s.WorkCH);
        v("EmgCH1", s.EmgCH1);
        v("EmgCH2", s.EmgCH2);
        v("Beep", s.Beep);
        v("TOT", s.TOT);
        v("Backlight", s.Backlight);
        v("Volume", s.Volume);
        v("SqlLevel", s.SqlLevel);
        v("AsqFun", s.AsqFun);
        v("AsqValue", s.AsqValue);
        v("Gain", s.Gain);
        v("CHDisplay", s.CHDisplay);
        v("ScanType", s.ScanType);
        v("ScanTime", s.ScanTime);
        v("SqlBack", s.SqlBack);
        v("AsqBack", s.AsqBack);
        v("AutoPowerOn", s.AutoPowerOn);
        v("MemEdit", s.MemEdit);
        v("UseMaxSwr", s.UseMaxSwr);
        v("MaxSwr", s.MaxSwr);
        v("EmgMode1", s.EmgMode1);
        v("EmgMode2", s.EmgMode2);
        v("Spare", s.Spare);
    }
    bool operator==(const FuncRec&) const = default;
};

struct KeyRec {
    i16 KeySet = 0;
    std::array<i16, 18> KeyFun{}; // KeyFun(1..18)

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("KeySet", s.KeySet);
        v("KeyFun", s.KeyFun);
    }
    bool operator==(const KeyRec&) const = default;
};

struct DTMFCodeRec {
    i16 Len = 0;
    FixedText<16> Code;

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("Len", s.Len);
        v("Code", s.Code);
    }
    bool operator==(const DTMFCodeRec&) const = default;
};

struct DTMFRec {
    std::array<i16, 6> DtmfSet{};        // DtmfSet(1..6)
    std::array<DTMFCodeRec, 16> Codes{}; // Codes(1..16)
    std::array<i16, 10> Spare{};

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("DtmfSet", s.DtmfSet);
        v("Codes", s.Codes);
        v("Spare", s.Spare);
    }
    bool operator==(const DTMFRec&) const = default;
};

struct ToneStepRec {
    i16 Tone = 0;
    i16 Time = 0;

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("Tone", s.Tone);
        v("Time", s.Time);
    }
    bool operator==(const ToneStepRec&) const = default;
};

struct ToneTipRec {
    std::array<ToneStepRec, 14> Step{};
    i16 Repeat = 0;
    i16 Pause = 0;

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("Step", s.Step);
        v("Repeat", s.Repeat);
        v("Pause", s.Pause);
    }
    bool operator==(const ToneTipRec&) const = default;
};

struct ToneTipsRec {
    std::array<ToneTipRec, 8> Tip{};

    template <class S, class V> static constexpr void visit(S& s, V& v) { v("Tip", s.Tip); }
    bool operator==(const ToneTipsRec&) const = default;
};

struct RadioDataRec {
    FileHeadRec Head;
    i16 CHCount = 0;
    FuncRec Func;
    CHInfoRec PublicCH;
    KeyRec Key;
    DTMFRec DTMF;
    ToneTipsRec ToneTips;

    template <class S, class V> static constexpr void visit(S& s, V& v) {
        v("Head", s.Head);
        v("CHCount", s.CHCount);
        v("Func", s.Func);
        v("PublicCH", s.PublicCH);
        v("Key", s.Key);
        v("DTMF", s.DTMF);
        v("ToneTips", s.ToneTips);
    }
    bool operator==(const RadioDataRec&) const = default;
};

constexpr int MaxChannels = 409;
using ChannelList = std::array<CHInfoRec, MaxChannels>;
