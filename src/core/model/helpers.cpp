#include "helpers.h"
#include "fixedtext.h"

#include <QLocale>
#include <QRegularExpression>
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
