#pragma once

// Measuring 16-bit mono sound for the tone tests: how strong one frequency is in a stretch
// (Goertzel), the frequency from the zero crossings, and where the sound is.

#include <QByteArray>
#include <QVector>
#include <QtEndian>
#include <cmath>
#include <numbers>

namespace pcm {

inline QVector<qint16> Samples(const QByteArray& bytes) {
    QVector<qint16> s(bytes.size() / 2);
    for (qsizetype i = 0; i < s.size(); ++i)
        s[i] = qFromLittleEndian<qint16>(bytes.constData() + 2 * i);
    return s;
}

// Power of frequency hz in samples [from, from + n), normalised to the stretch's length: a
// full-scale sine gives 0.25 at its own frequency.
inline double Goertzel(const QVector<qint16>& s, qsizetype from, qsizetype n, double hz, int rate) {
    const double w = 2.0 * std::numbers::pi * hz / rate;
    const double c = 2.0 * std::cos(w);
    double s1 = 0, s2 = 0;
    for (qsizetype k = from; k < from + n; ++k) {
        const double s0 = s[k] / 32768.0 + c * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return (s1 * s1 + s2 * s2 - c * s1 * s2) / (static_cast<double>(n) * n);
}

// Frequency from the sign changes in [from, from + n): the time from the first to the last
// crossing (interpolated between samples) holds one half period per crossing after the
// first. 0 when there are fewer than three crossings.
inline double ZeroCrossingHz(const QVector<qint16>& s, qsizetype from, qsizetype n, int rate) {
    double firstAt = 0, lastAt = 0;
    int count = 0;
    for (qsizetype k = from + 1; k < from + n; ++k) {
        const bool a = s[k - 1] < 0, b = s[k] < 0;
        if (a == b) continue;
        const double x = s[k - 1], y = s[k];
        const double at = (k - 1) + x / (x - y);
        if (count == 0) firstAt = at;
        lastAt = at;
        ++count;
    }
    if (count < 3) return 0;
    return (count - 1) / 2.0 / ((lastAt - firstAt) / rate);
}

// Largest absolute sample in [from, from + n).
inline int Peak(const QVector<qint16>& s, qsizetype from, qsizetype n) {
    int p = 0;
    for (qsizetype k = from; k < from + n; ++k)
        p = std::max(p, std::abs(static_cast<int>(s[k])));
    return p;
}

// Stretches of sound: runs of windows whose peak exceeds threshold, as [first, end) sample
// ranges, windows of win samples.
struct Run {
    qsizetype from;
    qsizetype to;
};
inline QVector<Run> SoundRuns(const QVector<qint16>& s, int win, int threshold) {
    QVector<Run> runs;
    for (qsizetype k = 0; k + win <= s.size(); k += win) {
        if (Peak(s, k, win) <= threshold) continue;
        if (!runs.isEmpty() && runs.last().to == k)
            runs.last().to = k + win;
        else
            runs.append({k, k + win});
    }
    return runs;
}

} // namespace pcm
