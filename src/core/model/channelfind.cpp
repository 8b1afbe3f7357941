#include "channelfind.h"
#include "channelrules.h"
#include "country.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"
#include "tones.h"

#include <QRegularExpression>

#include <optional>

namespace {

// The tone index a query names: a CTCSS frequency in Hz or a DCS code with "D" (and an
// optional polarity "N").
std::optional<int> toneOf(const QString& q) {
    static const QRegularExpression dcs(QStringLiteral("^D(\\d{3})N?$"),
                                        QRegularExpression::CaseInsensitiveOption);
    if (const auto m = dcs.match(q); m.hasMatch()) return dcsToneOf(m.captured(1).toInt());
    const auto hz = ParseNumber(q);
    if (!hz || !q.contains(QLatin1Char('.'))) return std::nullopt;
    return ctcssToneOf(*hz);
}

// The frequency a query names in MHz: as written with a dot, in kHz without one.
std::optional<double> mhzOf(const QString& q) {
    const auto v = ParseNumber(q);
    if (!v) return std::nullopt;
    if (q.contains(QLatin1Char('.'))) return *v;
    return *v / 1000.0;
}

} // namespace

QList<ChannelHit> FindChannels(const Document& doc, const QString& query) {
    QList<ChannelHit> hits;
    const QString q = query.simplified();
    if (q.isEmpty()) return hits;
    const int mode = doc.CountryMode;

    // A slot: a group name and a row.
    static const QRegularExpression slot(QStringLiteral("^(\\S+)\\s+(\\d+)$"));
    if (const auto m = slot.match(q); m.hasMatch()) {
        for (int g = 0; g < GroupCount(mode); ++g) {
            if (GroupName(g, mode).compare(m.captured(1), Qt::CaseInsensitive) != 0) continue;
            const int row = m.captured(2).toInt();
            if (row >= 1 && row <= GroupSize(g, mode)) hits.append({g, row});
        }
        return hits;
    }

    const auto mhz = mhzOf(q);
    const auto tone = toneOf(q);
    if (!mhz && !tone) return hits;
    for (int g = 0; g < GroupCount(mode); ++g) {
        const int base = FirstCHOfGroup(g, mode);
        for (int r = 1; r <= GroupSize(g, mode); ++r) {
            const CHInfoRec* c = doc.Channel(base + r);
            if (!c) continue;
            bool match = false;
            if (mhz) {
                // What the table shows, and what the radio stores where the two differ.
                const QString stored = c->RxFre.text();
                const auto listed = ParseNumber(FreToListText(stored, g, mode, doc.FreLow));
                const auto shown = ParseNumber(FreToShown(stored, doc.FreLow));
                match = (listed && sameMhz(*listed, *mhz)) || (shown && sameMhz(*shown, *mhz));
            }
            if (!match && tone) match = c->RDCT == *tone || c->TDCT == *tone;
            if (match) hits.append({g, r});
        }
    }
    return hits;
}
