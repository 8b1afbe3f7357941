#pragma once

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <array>

// A text of exactly N single-byte characters, as the radio image keeps it: a shorter value is
// padded with spaces on the right, a longer one is cut. Only ASCII ever goes in (model names,
// versions, digits, DTMF symbols), so Latin-1 is a safe single-byte mapping.
template <int N> struct FixedText {
    std::array<char, N> b{};

    static constexpr int Size = N;

    void assign(const QByteArray& v) {
        for (int i = 0; i < N; ++i)
            b[i] = i < v.size() ? v[i] : ' ';
    }
    void assign(const QString& v) { assign(v.toLatin1()); }
    FixedText& operator=(const QString& v) {
        assign(v);
        return *this;
    }
    FixedText& operator=(const char* v) {
        assign(QByteArray(v));
        return *this;
    }

    QByteArray raw() const { return QByteArray(b.data(), N); }
    // The stored value as a display or comparison text: trailing spaces removed, then cut
    // before the first NUL.
    QString text() const;

    bool operator==(const FixedText&) const = default;
};

QString TrimFixed(const QByteArray& text);
QString TrimFixed(const QString& text);

template <int N> QString FixedText<N>::text() const {
    return TrimFixed(raw());
}
