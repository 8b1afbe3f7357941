#include "documentdiff.h"
#include "channeledit.h"
#include "document.h"
#include "frequency.h"
#include "helpers.h"

#include <QList>
#include <QMap>
#include <QPair>

#include <cstring>

namespace {

using Fields = QList<QPair<QString, QString>>;

// Lists the fields of a record as "path" and value. Arrays that are numbered from 1 in the
// radio's documentation are shown that way; the per-group arrays count groups from 0.
struct Flatten {
    Fields out;
    QString prefix;

    static bool skipped(const char* name) {
        return !std::strcmp(name, "Spare") || !std::strcmp(name, "Reserved");
    }
    static int base(const char* name) {
        for (const char* n : {"KeyFun", "DtmfSet", "Codes", "Tip", "Step"})
            if (!std::strcmp(name, n)) return 1;
        return 0;
    }
    template <class T> void operator()(const char* name, const T& v) {
        if (skipped(name)) return;
        put(prefix + QLatin1String(name), name, v);
    }
    void put(const QString& path, const char*, i16 v) { out.append({path, QString::number(v)}); }
    void put(const QString& path, const char*, u8 v) { out.append({path, QString::number(v)}); }
    template <int N> void put(const QString& path, const char*, const FixedText<N>& t) {
        out.append({path, QLatin1Char('"') + t.text() + QLatin1Char('"')});
    }
    template <class E, std::size_t N>
    void put(const QString& path, const char* name, const std::array<E, N>& a) {
        for (std::size_t i = 0; i < N; ++i)
            put(QStringLiteral("%1[%2]").arg(path).arg(i + base(name)), name, a[i]);
    }
    template <class R> void put(const QString& path, const char*, const R& r) {
        Flatten inner;
        inner.prefix = path + QLatin1Char('.');
        R::visit(r, inner);
        out += inner.out;
    }
};

template <class R> Fields fieldsOf(const R& r, const QString& prefix) {
    Flatten f;
    f.prefix = prefix;
    R::visit(r, f);
    return f.out;
}

void compare(const Fields& a, const Fields& b, QStringList& out) {
    for (int i = 0; i < a.size() && i < b.size(); ++i)
        if (a.at(i).second != b.at(i).second)
            out << QStringLiteral("%1: %2 -> %3")
                       .arg(a.at(i).first, a.at(i).second, b.at(i).second);
}

Fields channelFields(const Document& doc, const CHInfoRec& c, const QString& prefix) {
    Fields f = fieldsOf(c, prefix);
    f.removeIf([&](const QPair<QString, QString>& p) {
        return p.first == prefix + QStringLiteral("CHNo");
    });
    for (auto& p : f)
        if (p.first == prefix + QStringLiteral("RxFre")) {
            const QString stored = c.RxFre.text();
            p.second = IsNumeric(stored) ? FreToShown(stored, doc.FreLow) : p.second;
        }
    return f;
}

QMap<int, const CHInfoRec*> channelsOf(const Document& d) {
    QMap<int, const CHInfoRec*> m;
    for (int i = 0; i < std::clamp<int>(d.chCount(), 0, MaxChannels); ++i)
        if (!m.contains(d.CHInfo[i].CHNo)) m.insert(d.CHInfo[i].CHNo, &d.CHInfo[i]);
    return m;
}

} // namespace

QStringList DiffDocuments(const Document& a, const Document& b) {
    QStringList out;
    if (a.ModelName != b.ModelName)
        out << QStringLiteral("Head.Model: \"%1\" -> \"%2\"").arg(a.ModelName, b.ModelName);
    if (a.CountryMode != b.CountryMode)
        out << QStringLiteral("Head.CountryMode: %1 -> %2").arg(a.CountryMode).arg(b.CountryMode);

    const auto ca = channelsOf(a), cb = channelsOf(b);
    QList<int> numbers = ca.keys();
    for (int n : cb.keys())
        if (!ca.contains(n)) numbers << n;
    std::sort(numbers.begin(), numbers.end());
    for (int n : numbers) {
        const QString name =
            QStringLiteral("Channel %1 (%2)").arg(n).arg(ChannelSlotName(n, a.CountryMode));
        if (!cb.contains(n)) {
            out << name + QStringLiteral(": only in the first document");
        } else if (!ca.contains(n)) {
            out << name + QStringLiteral(": only in the second document");
        } else {
            const QString prefix = name + QLatin1Char(' ');
            compare(channelFields(a, *ca.value(n), prefix), channelFields(b, *cb.value(n), prefix),
                    out);
        }
    }

    const RadioDataRec& ra = a.RadioData;
    const RadioDataRec& rb = b.RadioData;
    compare(fieldsOf(ra.Func, QStringLiteral("Func.")), fieldsOf(rb.Func, QStringLiteral("Func.")),
            out);
    // The public channel's number, scan flag and frequency are never used.
    auto publicFields = [](const CHInfoRec& c) {
        Fields f = fieldsOf(c, QStringLiteral("PublicCH."));
        f.removeIf([](const QPair<QString, QString>& p) {
            return p.first == QLatin1String("PublicCH.CHNo") ||
                   p.first == QLatin1String("PublicCH.Scan") ||
                   p.first == QLatin1String("PublicCH.RxFre");
        });
        return f;
    };
    compare(publicFields(ra.PublicCH), publicFields(rb.PublicCH), out);
    compare(fieldsOf(ra.Key, QStringLiteral("Key.")), fieldsOf(rb.Key, QStringLiteral("Key.")),
            out);
    compare(fieldsOf(ra.DTMF, QStringLiteral("DTMF.")), fieldsOf(rb.DTMF, QStringLiteral("DTMF.")),
            out);
    compare(fieldsOf(ra.ToneTips, QStringLiteral("ToneTips.")),
            fieldsOf(rb.ToneTips, QStringLiteral("ToneTips.")), out);
    return out;
}
