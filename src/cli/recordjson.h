#pragma once

// JSON of the radio-image records with their own field names, in field order (QJsonObject
// would sort the keys). Fixed texts are written after TrimFixed.

#include "core/model/records.h"

#include <QString>

namespace recordjson {

QString quote(const QString& text);

struct Writer {
    QString out;
    bool first = true;

    template <class T> void operator()(const char* name, const T& v) {
        if (!first) out += QLatin1Char(',');
        first = false;
        out += QLatin1Char('"') + QLatin1String(name) + QStringLiteral("\":");
        put(v);
    }
    void put(i16 v) { out += QString::number(v); }
    void put(u8 v) { out += QString::number(v); }
    template <int N> void put(const FixedText<N>& t) { out += quote(t.text()); }
    template <class E, std::size_t N> void put(const std::array<E, N>& a) {
        out += QLatin1Char('[');
        for (std::size_t i = 0; i < N; ++i) {
            if (i) out += QLatin1Char(',');
            put(a[i]);
        }
        out += QLatin1Char(']');
    }
    template <class R> void put(const R& r) {
        const bool outer = first;
        first = true;
        out += QLatin1Char('{');
        R::visit(r, *this);
        out += QLatin1Char('}');
        first = outer;
    }
};

// One record, or one field value, as compact JSON.
template <class T> QString toJson(const T& v) {
    Writer w;
    w.put(v);
    return w.out;
}

} // namespace recordjson
