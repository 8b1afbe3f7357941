#pragma once

// A document that uses every part of the radio's memory with values away from the defaults:
// channels in every group of the HF mode, the VFO and MEM channels, every option, DTMF codes,
// keys and tone tips.

#include "core/link/memorymap.h"
#include "core/model/document.h"

#include <QByteArray>
#include <QString>

inline void FillRichDocument(Document& doc, int mode = 1) {
    doc.SetCountryMode(mode);
    doc.NewDocument();
    // Entries beyond the new document's ten are added by hand so that each field varies.
    auto fre = [](int n) {
        // 8 stored digits: 3 for the MHz, 5 for the fraction in 10 Hz; the first and the last
        // digit are 0 because the radio keeps neither.
        const int khz = 26965 + (n * 37) % 3000;
        return QStringLiteral("%1%2")
            .arg(khz / 1000, 3, 10, QLatin1Char('0'))
            .arg(khz % 1000 * 100, 5, 10, QLatin1Char('0'));
    };
    auto set = [&](CHInfoRec& c, int n) {
        c.Scan = static_cast<i16>(n % 2);
        c.RxFre = fre(n);
        // Offsets of the radio's list (0 to 1000 kHz in 5 kHz steps), both bytes varying.
        c.OffSetFre = static_cast<i16>(5 * ((n * 97) % 201));
        c.RDCT = static_cast<i16>((n * 7) % 143);
        c.TDCT = static_cast<i16>((n * 11) % 143);
        c.DUP = static_cast<i16>(n % 3);
        c.HI_CUT = static_cast<i16>((n / 2) % 2);
        c.BUSY = static_cast<i16>((n / 3) % 2);
        c.NB = static_cast<i16>((n / 5) % 2);
        c.Add_Sub_5K = static_cast<i16>((n / 7) % 2);
        c.AM_FM = static_cast<i16>((n / 11) % 2);
        c.Tx_Power = static_cast<i16>(n % 3);
        c.Public = static_cast<i16>((n / 13) % 2);
        c.RBTone = static_cast<i16>(n % 9);
        c.DTMF_BOT = static_cast<i16>(n % 17);
        c.DTMF_EOT = static_cast<i16>((n + 5) % 17);
        c.DTMF_Call = static_cast<i16>((n + 9) % 17);
        c.TSQ = static_cast<i16>((n / 17) % 2);
    };
    for (int i = 0; i < doc.RadioData.CHCount; ++i)
        set(doc.CHInfo[i], doc.CHInfo[i].CHNo);
    for (int g = 0; g < 10; ++g)
        for (int k : {1, 2, 7, 20, 33, 40}) {
            const int n = 40 * g + k;
            if (n == 1 || (mode == 0 && n > 360)) continue;
            CHInfoRec& c = doc.CHInfo[doc.RadioData.CHCount++];
            c = CHInfoRec{};
            c.CHNo = static_cast<i16>(n);
            set(c, n);
        }

    FuncRec& f = doc.RadioData.Func;
    f.UseMem = 1;
    f.WorkGroup = 3;
    f.MemWorkCH = 5;
    for (int g = 0; g < 10; ++g) {
        f.GroupValid[g] = static_cast<i16>(g % 3 != 1);
        f.WorkCH[g] = static_cast<i16>(g * 3 + 2);
        f.EmgCH1[g] = static_cast<i16>(g + 10);
        f.EmgCH2[g] = static_cast<i16>(40 - g);
        f.EmgMode1[g] = static_cast<u8>(g % 4);
        f.EmgMode2[g] = static_cast<u8>((g + 1) % 4);
    }
    f.Beep = 1;
    f.TOT = 9;
    f.Backlight = 2;
    f.Volume = 7;
    f.SqlLevel = 8;
    f.AsqFun = 1;
    f.AsqValue = 5;
    f.Gain = 1;
    f.CHDisplay = 2;
    f.ScanType = 1;
    f.ScanTime = 4;
    f.SqlBack = 0;
    f.AsqBack = 0;
    f.AutoPowerOn = 1;
    f.MemEdit = 1;
    f.UseMaxSwr = 0;
    f.MaxSwr = 25;

    CHInfoRec& p = doc.RadioData.PublicCH;
    p.OffSetFre = 1000;
    p.RDCT = 12;
    p.TDCT = 100;
    p.DUP = 2;
    p.HI_CUT = p.BUSY = p.NB = p.Add_Sub_5K = p.AM_FM = p.Public = p.TSQ = 1;
    p.Tx_Power = 2;
    p.RBTone = 3;
    p.DTMF_BOT = 1;
    p.DTMF_EOT = 2;
    p.DTMF_Call = 16;

    doc.RadioData.Key.KeySet = 2;
    for (int i = 0; i < 18; ++i)
        doc.RadioData.Key.KeyFun[i] = static_cast<i16>(20 - i);

    DTMFRec& d = doc.RadioData.DTMF;
    d.DtmfSet = {7, 3, 12, 5, 16, 0};
    const char* codes[] = {"123", "*#0", "", "ABCD", "0123456789ABCD*#", "9", "", "55#"};
    for (int s = 0; s < 16; ++s) {
        const QString code = QString::fromLatin1(codes[s % 8]);
        d.Codes[s].Code = code;
        d.Codes[s].Len = static_cast<i16>(code.size());
    }

    for (int t = 0; t < 8; ++t) {
        ToneTipRec& tip = doc.RadioData.ToneTips.Tip[t];
        tip.Repeat = static_cast<i16>(t + 1);
        tip.Pause = static_cast<i16>(t * 30);
        for (int i = 0; i < 14; ++i) {
            tip.Step[i].Tone = static_cast<i16>((40 + t * 20 + i * 13) % 256);
            tip.Step[i].Time = static_cast<i16>((t * 14 + i) % 200);
        }
    }
}

// The radio's memory image of a document, as a write sends it.
inline MemBuf PackedImage(const Document& doc) {
    MemBuf m{};
    PackMemBuf(doc.RadioData, doc.CHInfo, m);
    return m;
}
inline QByteArray PackedBytes(const Document& doc) {
    const MemBuf m = PackedImage(doc);
    return QByteArray(reinterpret_cast<const char*>(m.data()), int(m.size()));
}
