#include "helpers.h"
#include "fixedtext.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

QString TrimFixed(const QByteArray& text) {
    QByteArray t = text;
    while (!t.isEmpty() && t.back() == ' ')
        t.chop(1);
    const int nul = t.indexOf('\0');
    if (nul >= 0) t.truncate(nul);
    return QString::fromLatin1(t);
}

QString TrimFixed(const QString& text) {
    QString t = text;
    while (!t.isEmpty() && t.back() == QLatin1Char(' '))
        t.chop(1);
    const int nul = t.indexOf(QChar(0));
    if (nul >= 0) t.truncate(nul);
    return t;
}

std::optional<double> ParseNumber(const QString& text) {
    static const QRegularExpression re(
        QStringLiteral(R"(^\s*[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?\s*$)"));
    if (!re.match(text).hasMatch()) return std::nullopt;
    bool ok = false;
    const double v = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool IsNumeric(const QString& text) {
    return ParseNumber(text).has_value();
}

long long RoundEven(double v) {
    return static_cast<long long>(std::nearbyint(v));
}

int ClampNumberText(const QString& text, int min, int max, int step, int def) {
    const auto n = ParseNumber(text);
    if (!n) return def;
    // Clamp before converting so that a number of any length lands on the limit.
    double v = std::nearbyint(*n);
    v = std::max(v, double(min));
    v = std::min(v, double(max));
    int r = int(v);
    if (step >= 2) r -= r % step;
    return r;
}

long long NumberOrDefault(const QString& text, long long def) {
    const auto n = ParseNumber(text);
    if (!n) return def;
    const double lim = double(std::numeric_limits<int>::max());
    return RoundEven(std::clamp(*n, -lim, lim));
}

QString TrimBlanks(const QString& s) {
    int b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

void ParseBandText(const QString& bandText, double& freLow, double& freHigh) {
    const int dash = bandText.indexOf(QStringLiteral(" - "));
    if (dash < 0) {
        freLow = 100;
        freHigh = 500;
        return;
    }
    const QString low = bandText.left(dash);
    QString high = bandText.mid(dash + 3);
    const int mhz = high.indexOf(QStringLiteral(" MHz"));
    if (mhz >= 0) high.truncate(mhz);
    freLow = ParseNumber(low).value_or(100);
    freHigh = ParseNumber(high).value_or(500);
}

QString FileTitle(const QString& path) {
    const int i = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(i + 1);
}

QString DtmfToStored(const QString& text) {
    QString r = text;
    r.replace(QLatin1Char('*'), QLatin1Char('F')).replace(QLatin1Char('#'), QLatin1Char('E'));
    return r;
}

QString DtmfToShown(const QString& text) {
    QString r = text;
    r.replace(QLatin1Char('F'), QLatin1Char('*')).replace(QLatin1Char('E'), QLatin1Char('#'));
    return r;
}

QString ShortestDecimal(double v) {
    return QLocale::c().toString(v, 'g', QLocale::FloatingPointShortest);
}

QString FormatFre(double v) {
    return QLocale::c().toString(v, 'f', 5);
}

QString EscapeControls(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const ushort u = c.unicode();
        if (u == '\\')
            out += QStringLiteral("\\\\");
        else if (u < 0x20 || (u >= 0x7F && u < 0xA0))
            out += QStringLiteral("\\x%1").arg(u, 2, 16, QLatin1Char('0'));
        else
            out += c;
    }
    return out;
}

namespace {
// The length of the valid UTF-8 sequence at b[i] and its code point; 0 when there is none.
int utf8Sequence(const QByteArray& b, qsizetype i, char32_t& cp) {
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(b.at(k)); };
    const unsigned char lead = at(i);
    int len = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2, cp = lead & 0x1F, min = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3, cp = lead & 0x0F, min = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4, cp = lead & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > b.size()) return 0;
    for (int k = 1; k < len; ++k) {
        const unsigned char c = at(i + k);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    // Overlong forms, UTF-16 surrogates and values past Unicode are no text.
    if (cp < min || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
    return len;
}
} // namespace

QString EscapeBytes(const QByteArray& bytes) {
    QString out;
    out.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const int len = utf8Sequence(bytes, i, cp);
        // QChar::isPrint leaves out the controls and the invisible format characters (the
        // direction marks among them); the blank is text all the same.
        const bool text = len > 0 && cp != U'\\' && (cp == U' ' || QChar::isPrint(cp));
        if (text) {
            out += QString::fromUcs4(&cp, 1);
        } else if (len == 1 && cp == U'\\') {
            out += QStringLiteral("\\\\");
        } else {
            for (int k = 0; k < std::max(len, 1); ++k)
                out += QStringLiteral("\\x%1").arg(static_cast<unsigned char>(bytes.at(i + k)), 2,
                                                   16, QLatin1Char('0'));
        }
        i += std::max(len, 1);
    }
    return out;
}

qsizetype FirstNonTextByte(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const int len = utf8Sequence(bytes, i, cp);
        if (len == 0 || cp == 0) return i;
        i += len;
    }
    return -1;
}
