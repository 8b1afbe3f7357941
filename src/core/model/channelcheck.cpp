#include "channelcheck.h"
#include "../lang/langtext.h"
#include "helpers.h"

#include <QStringList>

#include <algorithm>
#include <bitset>

namespace {
// The texts with an English fallback, so that a language file without them still says what
// is wrong.
QString text(int id, const char* english) {
    const QString t = LoadLangText(id);
    return t.isEmpty() ? QString::fromLatin1(english) : t;
}
} // namespace

bool IsPlausibleRxFre(const QString& stored) {
    if (stored.isEmpty()) return true;
    if (stored.size() != 8) return false;
    return std::all_of(stored.begin(), stored.end(), [](QChar c) {
        return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
               (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
    });
}

bool IsHoldableRxFre(const QString& stored) {
    if (stored.size() != 8 ||
        !std::all_of(stored.begin(), stored.end(), [](QChar c) { return c.isDigit(); }))
        return true; // not a frequency of digits: IsPlausibleRxFre judges it
    // The radio keeps six digits, tens of MHz to 100 Hz: a hundreds digit or a 10 Hz digit
    // would be lost on the way (99999999 reaches the radio as 99.99990 MHz). Every value in
    // between is one a read can give, 0 MHz of a blank radio's VFO included, so it stays.
    return stored.front() == QLatin1Char('0') && stored.back() == QLatin1Char('0');
}

bool IsPlausibleOffset(int kHz) {
    // -1 is the erased memory's 0xFFFF, which a read of a blank radio hands on as it is.
    return kHz == -1 || (kHz >= 0 && kHz <= 1000 && kHz % 5 == 0);
}

namespace {
const char* unholdableField(const CHInfoRec& c, int& value, bool withScan) {
    // The widest value each field's bits in the radio's channel record keep: one bit, two bits
    // (DUP, Tx_Power), a byte (the tone tip and DTMF code numbers), and a tone number, which
    // the radio keeps as a type and a byte (1 + 255 CTCSS slots would overlap DCS; 39 + 255
    // is the last DCS slot).
    struct Limit {
        const char* name;
        i16 CHInfoRec::*field;
        int max;
    };
    static constexpr Limit limits[] = {
        {"Scan", &CHInfoRec::Scan, 1},
        {"RDCT", &CHInfoRec::RDCT, 39 + 255},
        {"TDCT", &CHInfoRec::TDCT, 39 + 255},
        {"DUP", &CHInfoRec::DUP, 3},
        {"HI_CUT", &CHInfoRec::HI_CUT, 1},
        {"BUSY", &CHInfoRec::BUSY, 1},
        {"NB", &CHInfoRec::NB, 1},
        {"Add_Sub_5K", &CHInfoRec::Add_Sub_5K, 1},
        {"AM_FM", &CHInfoRec::AM_FM, 1},
        {"Tx_Power", &CHInfoRec::Tx_Power, 3},
        {"Public", &CHInfoRec::Public, 1},
        {"RBTone", &CHInfoRec::RBTone, 255},
        {"DTMF_BOT", &CHInfoRec::DTMF_BOT, 255},
        {"DTMF_EOT", &CHInfoRec::DTMF_EOT, 255},
        {"DTMF_Call", &CHInfoRec::DTMF_Call, 255},
        {"TSQ", &CHInfoRec::TSQ, 1},
    };
    for (const Limit& l : limits) {
        if (!withScan && l.field == &CHInfoRec::Scan) continue;
        const int v = c.*l.field;
        if (v < 0 || v > l.max) {
            value = v;
            return l.name;
        }
    }
    return nullptr;
}
} // namespace

const char* UnholdableField(const CHInfoRec& c, int& value) {
    return unholdableField(c, value, true);
}

QList<DamagedChannel> DamagedChannels(const RadioDataRec& data, const ChannelList& channels) {
    QList<DamagedChannel> out;
    std::bitset<MaxChannels + 1> seen;
    const int count = std::clamp<int>(data.CHCount, 0, MaxChannels);
    for (int i = 0; i < count; ++i) {
        const CHInfoRec& c = channels[i];
        const QString rx = c.RxFre.text();
        // A NUL cuts the text short, so an all-NUL frequency would read as "no frequency" and
        // pack as 0 MHz; no program writes NULs there.
        const bool nul = c.RxFre.raw().contains('\0');
        const QString shownRx = nul ? QString::fromLatin1(c.RxFre.raw()) : rx;
        using F = DamagedChannel::Fault;
        if (c.CHNo < 1 || c.CHNo > MaxChannels)
            out.append({i + 1, F::Number, c.CHNo, rx});
        else if (seen[c.CHNo])
            out.append({i + 1, F::Repeated, c.CHNo, rx});
        else if (nul || !IsPlausibleRxFre(rx))
            out.append({i + 1, F::Frequency, c.CHNo, shownRx});
        else if (!IsHoldableRxFre(rx))
            out.append({i + 1, F::Band, c.CHNo, rx});
        else if (!IsPlausibleOffset(c.OffSetFre))
            out.append({i + 1, F::Offset, c.CHNo, rx, c.OffSetFre});
        else if (int v = 0; const char* field = UnholdableField(c, v))
            out.append({i + 1, F::Value, c.CHNo, rx, 0, field, v});
        if (c.CHNo >= 1 && c.CHNo <= MaxChannels) seen.set(c.CHNo);
    }
    // The public channel goes to the radio without its number, frequency and scan bit (the
    // radio keeps none for it), so only the fields it sends are judged.
    const CHInfoRec& p = data.PublicCH;
    using F = DamagedChannel::Fault;
    if (!IsPlausibleOffset(p.OffSetFre))
        out.append({0, F::Offset, 0, {}, p.OffSetFre, "OffSetFre", p.OffSetFre});
    else if (int v = 0; const char* field = unholdableField(p, v, false))
        out.append({0, F::Value, 0, {}, 0, field, v});
    return out;
}

QString DamagedChannelsText(const QList<DamagedChannel>& damaged) {
    // A message box with hundreds of lines helps nobody; the first few say what is wrong.
    constexpr int Listed = 8;
    QStringList parts;
    for (const DamagedChannel& d : damaged.mid(0, Listed)) {
        if (d.entry == 0) {
            parts << text(27322, "the public channel has %1 = %2, which the radio cannot hold")
                         .arg(QString::fromLatin1(d.field))
                         .arg(d.value);
            continue;
        }
        switch (d.fault) {
        case DamagedChannel::Fault::Number:
            parts << text(9853, "entry %1 has the channel number %2, which is not 1 to 409")
                         .arg(d.entry)
                         .arg(d.chNo);
            break;
        case DamagedChannel::Fault::Repeated:
            parts << text(9854, "entry %1 repeats the channel number %2").arg(d.entry).arg(d.chNo);
            break;
        case DamagedChannel::Fault::Frequency:
            parts << text(9855, "entry %1 (channel %2) has the frequency \"%3\", which is not "
                                "8 digits")
                         .arg(d.entry)
                         .arg(d.chNo)
                         .arg(EscapeBytes(d.rxFre.toLatin1()));
            break;
        case DamagedChannel::Fault::Band:
            parts << text(9870, "entry %1 (channel %2) has the frequency %3 MHz, which the radio "
                                "cannot hold (it keeps 0 to 99.9999 MHz in 100 Hz steps)")
                         .arg(d.entry)
                         .arg(d.chNo)
                         .arg(d.rxFre.left(3) + QLatin1Char('.') + d.rxFre.mid(3));
            break;
        case DamagedChannel::Fault::Offset:
            parts << text(9871, "entry %1 (channel %2) has the offset %3 kHz, which is not on the "
                                "radio's list (5 to 1000 kHz in steps of 5 kHz)")
                         .arg(d.entry)
                         .arg(d.chNo)
                         .arg(d.offset);
            break;
        case DamagedChannel::Fault::Value:
            parts << text(27320, "entry %1 (channel %2) has %3 = %4, which the radio cannot hold")
                         .arg(d.entry)
                         .arg(d.chNo)
                         .arg(QString::fromLatin1(d.field))
                         .arg(d.value);
            break;
        }
    }
    if (damaged.size() > Listed) parts << text(9857, "and %1 more").arg(damaged.size() - Listed);
    return parts.join(QStringLiteral("; "));
}

QString RefusedWriteText() {
    return text(9856, "The data holds damaged channel records; nothing was written to the radio.");
}
