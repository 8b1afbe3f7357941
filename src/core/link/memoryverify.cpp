#include "memoryverify.h"
#include "memorymap.h"

#include <QStringList>
#include <algorithm>
#include <vector>

namespace {
enum class When {
    Always,
    ChannelPresent, // the channel's present bit is set in what was sent (401: always)
    DtmfDigit,      // the sent byte is a code symbol, not the 0xFF padding after it
};

struct MemField {
    int address;
    std::uint8_t mask;
    int chNo;
    QString name;
    When when;
};

void channelFields(std::vector<MemField>& t, int chNo, int base, int from, const QString& prefix) {
    struct Part {
        int offset;
        std::uint8_t mask;
        const char* name;
    };
    static const Part parts[] = {
        {0, 0xFF, "RxFre"},     {1, 0xFF, "RxFre"},       {2, 0xFF, "RxFre"},
        {3, 0xFF, "OffSetFre"}, {4, 0xFF, "OffSetFre"},   {5, 0xFF, "RDCT"},
        {6, 0xFF, "RDCT"},      {7, 0xFF, "TDCT"},        {8, 0xFF, "TDCT"},
        {10, 0x03, "DUP"},      {10, 0x04, "TSQ"},        {10, 0x30, "RDCT"},
        {10, 0xC0, "TDCT"},     {11, 0x01, "BUSY"},       {11, 0x02, "HI_CUT"},
        {11, 0x04, "NB"},       {11, 0x08, "Add_Sub_5K"}, {11, 0x10, "AM_FM"},
        {11, 0x60, "Tx_Power"}, {11, 0x80, "Public"},     {12, 0xFF, "RBTone"},
        {13, 0xFF, "DTMF_BOT"}, {14, 0xFF, "DTMF_EOT"},   {15, 0xFF, "DTMF_Call"},
    };
    for (const Part& p : parts)
        if (p.offset >= from)
            t.push_back({base + p.offset, p.mask, chNo, prefix + QLatin1String(p.name),
                         chNo == 0 || chNo == 401 ? When::Always : When::ChannelPresent});
}

void add(std::vector<MemField>& t, int address, const QString& name, std::uint8_t mask = 0xFF) {
    t.push_back({address, mask, 0, name, When::Always});
}

QString indexed(const char* name, int i) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(i);
}

std::vector<MemField> buildTable() {
    using namespace memaddr;
    std::vector<MemField> t;
    for (int n = 1; n <= 409; ++n)
        channelFields(t, n, ChannelAddress(n), 0, QString());
    for (int n = 1; n <= 400; ++n) {
        const auto bit = static_cast<std::uint8_t>(1u << ((n - 1) % 8));
        t.push_back({PresentBits + (n - 1) / 8, bit, n, QStringLiteral("present"), When::Always});
        t.push_back({ScanBits + (n - 1) / 8, bit, n, QStringLiteral("Scan"), When::Always});
    }
    for (int n = 402; n <= 409; ++n) {
        const auto bit = static_cast<std::uint8_t>(1u << (n - 402));
        t.push_back({MemPresentBits, bit, n, QStringLiteral("present"), When::Always});
        t.push_back({MemScanBits, bit, n, QStringLiteral("Scan"), When::Always});
    }
    add(t, WorkGroup, QStringLiteral("WorkGroup"));
    add(t, UseMem, QStringLiteral("UseMem"), 0x01);
    for (int s = 0; s < 16; ++s)
        add(t, DtmfSlotBits + s / 8, indexed("DTMF.Codes", s + 1),
            static_cast<std::uint8_t>(1u << (s % 8)));
    add(t, MemWorkCH, QStringLiteral("MemWorkCH"));
    for (int g = 0; g < 10; ++g)
        add(t, GroupValidBits + g / 8, indexed("GroupValid", g),
            static_cast<std::uint8_t>(1u << (g % 8)));
    for (int g = 0; g < 10; ++g) {
        add(t, WorkCH + g, indexed("WorkCH", g));
        add(t, EmgCH1 + g, indexed("EmgCH1", g));
        add(t, EmgCH2 + g, indexed("EmgCH2", g));
        add(t, EmgMode1 + g, indexed("EmgMode1", g));
        add(t, EmgMode2 + g, indexed("EmgMode2", g));
    }
    channelFields(t, 0, PublicCH, 3, QStringLiteral("PublicCH."));
    const std::pair<int, const char*> options[] = {
        {Beep, "Beep"},
        {TOT, "TOT"},
        {Backlight, "Backlight"},
        {Volume, "Volume"},
        {SqlLevel, "SqlLevel"},
        {Gain, "Gain"},
        {CHDisplay, "CHDisplay"},
        {KeySet, "KeySet"},
        {ScanType, "ScanType"},
        {ScanTime, "ScanTime"},
        {SqlBack, "SqlBack"},
        {AsqBack, "AsqBack"},
        {AutoPowerOn, "AutoPowerOn"},
        {MaxSwr, "MaxSwr"},
    };
    for (const auto& [address, name] : options)
        add(t, address, QLatin1String(name));
    add(t, Asq, QStringLiteral("AsqFun"), 0x80);
    add(t, Asq, QStringLiteral("AsqValue"), 0x7F);
    add(t, MemEditSwr, QStringLiteral("MemEdit"), 0x01);
    add(t, MemEditSwr, QStringLiteral("UseMaxSwr"), 0x02);
    // Memory order of the six DTMF settings: the first digit delay comes before its time.
    const int settingOrder[6] = {1, 3, 2, 4, 5, 6};
    for (int i = 0; i < 6; ++i)
        add(t, DtmfSettings + i, indexed("DTMF.DtmfSet", settingOrder[i]));
    for (int i = 0; i < 18; ++i)
        add(t, KeyFun + i, indexed("KeyFun", i + 1));
    for (int tip = 1; tip <= 8; ++tip) {
        const int a = ToneTipAddress(tip);
        const QString p = QStringLiteral("ToneTips.Tip(%1).").arg(tip);
        add(t, a, p + QStringLiteral("Repeat"));
        add(t, a + 1, p + QStringLiteral("Pause"));
        for (int j = 0; j < 14; ++j) {
            add(t, a + 2 + j, p + indexed("Tone", j + 1));
            add(t, a + 16 + j, p + indexed("Time", j + 1));
        }
    }
    for (int s = 0; s < 16; ++s)
        for (int i = 0; i < 16; ++i)
            t.push_back(
                {DtmfCodes + 16 * s + i, 0xFF, 0, indexed("DTMF.Codes", s + 1), When::DtmfDigit});
    std::stable_sort(t.begin(), t.end(),
                     [](const MemField& a, const MemField& b) { return a.address < b.address; });
    return t;
}

const std::vector<MemField>& table() {
    static const std::vector<MemField> t = buildTable();
    return t;
}

bool channelPresent(const MemBuf& mem, int chNo) {
    if (chNo >= 1 && chNo <= 400)
        return (mem[memaddr::PresentBits + (chNo - 1) / 8] >> ((chNo - 1) % 8)) & 1;
    if (chNo >= 402 && chNo <= 409) return (mem[memaddr::MemPresentBits] >> (chNo - 402)) & 1;
    return true;
}
} // namespace

QVector<MemoryDifference> CompareMemory(const MemBuf& sent, const MemBuf& got) {
    QVector<MemoryDifference> out;
    for (const MemField& f : table()) {
        if (((sent[f.address] ^ got[f.address]) & f.mask) == 0) continue;
        if (f.when == When::ChannelPresent && !channelPresent(sent, f.chNo)) continue;
        if (f.when == When::DtmfDigit && sent[f.address] == 0xFF) continue;
        // One entry per field: RxFre spans three bytes, a tone two; the entries of a field lie
        // close together in address order.
        bool seen = false;
        for (int i = int(out.size()) - 1; i >= 0 && i >= int(out.size()) - 40 && !seen; --i)
            seen = out[i].chNo == f.chNo && out[i].field == f.name;
        if (!seen) out.push_back({f.address, f.chNo, f.name, sent[f.address], got[f.address]});
    }
    return out;
}

int CountMeaninglessDifferences(const MemBuf& sent, const MemBuf& got) {
    // The bits of each byte that carry meaning in what was sent.
    std::vector<std::uint8_t> meaning(sent.size(), 0);
    for (const MemField& f : table()) {
        if (f.when == When::ChannelPresent && !channelPresent(sent, f.chNo)) continue;
        if (f.when == When::DtmfDigit && sent[f.address] == 0xFF) continue;
        meaning[f.address] |= f.mask;
    }
    int n = 0;
    for (std::size_t a = 0; a < sent.size(); ++a)
        if (sent[a] != got[a] && ((sent[a] ^ got[a]) & meaning[a]) == 0) ++n;
    return n;
}

QString DescribeDifferences(const QVector<MemoryDifference>& differences,
                            const QString& channelWord) {
    // Channels first, ascending, each with its fields; then the radio-wide fields.
    QStringList parts;
    for (const int ch : DifferingChannels(differences)) {
        QStringList fields;
        for (const MemoryDifference& d : differences)
            if (d.chNo == ch && !fields.contains(d.field)) fields << d.field;
        parts << channelWord.arg(ch) + QStringLiteral(": ") + fields.join(QStringLiteral(", "));
    }
    for (const MemoryDifference& d : differences)
        if (d.chNo == 0 && !parts.contains(d.field)) parts << d.field;
    return parts.join(QStringLiteral("; "));
}

QVector<int> DifferingChannels(const QVector<MemoryDifference>& differences) {
    QVector<int> out;
    for (const MemoryDifference& d : differences)
        if (d.chNo > 0 && !out.contains(d.chNo)) out << d.chNo;
    std::sort(out.begin(), out.end());
    return out;
}
