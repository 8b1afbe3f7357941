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

QList<DamagedChannel> DamagedChannels(const RadioDataRec& data, const ChannelList& channels) {
    QList<DamagedChannel> out;
    std::bitset<MaxChannels + 1> seen;
    const int count = std::clamp<int>(data.CHCount, 0, MaxChannels);
    for (int i = 0; i < count; ++i) {
        const CHInfoRec& c = channels[i];
        const QString rx = c.RxFre.text();
        if (c.CHNo < 1 || c.CHNo > MaxChannels)
            out.append({i + 1, DamagedChannel::Fault::Number, c.CHNo, rx});
        else if (seen[c.CHNo])
            out.append({i + 1, DamagedChannel::Fault::Repeated, c.CHNo, rx});
        else if (!IsPlausibleRxFre(rx))
            out.append({i + 1, DamagedChannel::Fault::Frequency, c.CHNo, rx});
        if (c.CHNo >= 1 && c.CHNo <= MaxChannels) seen.set(c.CHNo);
    }
    return out;
}

QString DamagedChannelsText(const QList<DamagedChannel>& damaged) {
    // A message box with hundreds of lines helps nobody; the first few say what is wrong.
    constexpr int Listed = 8;
    QStringList parts;
    for (const DamagedChannel& d : damaged.mid(0, Listed)) {
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
                         .arg(EscapeControls(d.rxFre));
            break;
        }
    }
    if (damaged.size() > Listed) parts << text(9857, "and %1 more").arg(damaged.size() - Listed);
    return parts.join(QStringLiteral("; "));
}

QString RefusedWriteText() {
    return text(9856, "The data holds damaged channel records; nothing was written to the radio.");
}
