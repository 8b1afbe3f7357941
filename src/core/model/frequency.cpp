#include "frequency.h"
#include "../lang/prompter.h"
#include "helpers.h"

#include <cmath>

QString FreToStored(const QString& text, double freLow) {
    if (text.isEmpty()) return QString();
    QString s = IsNumeric(text) ? text.trimmed() : ShortestDecimal(freLow);
    QString r;
    int a = s.indexOf(QLatin1Char('.')) + 1;
    if (a == 0) {
        r = s;
    } else {
        if (a < 4) {
            s = QString(4 - a, QLatin1Char('0')) + s;
            a = 4;
        }
        r = s.left(3) + s.mid(a);
    }
    if (r.size() > 8) r.truncate(8);
    if (r.size() < 3) r = QString(3 - r.size(), QLatin1Char('0')) + r;
    while (r.size() < 8)
        r += QLatin1Char('0');
    return r;
}

bool IsNoFrequency(const QString& stored) {
    return stored.isEmpty() || stored == QLatin1String("FFFFFFFF");
}

double storedMhz(const QString& stored) {
    return ParseNumber(stored.left(3) + QLatin1Char('.') + stored.mid(3)).value_or(0);
}

bool sameMhz(double a, double b) {
    return std::abs(a - b) < 0.0000005; // below the stored 10 Hz step
}

QString FreToShown(const QString& stored, double freLow, Prompter* prompter) {
    if (IsNoFrequency(stored)) return QString();
    bool ok = false;
    const bool numeric = IsNumeric(stored);
    if (numeric) {
        const QString t =
            QString::number(stored.left(3).toInt(&ok)) + QLatin1Char('.') + stored.mid(3);
        if (const auto v = ParseNumber(t)) return FormatFre(*v);
    }
    if (prompter) prompter->plain(QStringLiteral("Not IsNumeric"));
    return ShortestDecimal(freLow);
}

QString FreToListText(const QString& stored, int group, int mode, double freLow,
                      Prompter* prompter) {
    QString t = FreToShown(stored, freLow, prompter);
    if (!t.isEmpty() && mode == 0 &&
        (group == 3 || (group == 8 && ParseNumber(t).value_or(0) > 27.405))) {
        t.chop(3);
        t += QStringLiteral("125");
    }
    return t;
}

double SnapToGrid(double f, double freLow) {
    const double b = std::nearbyint(freLow * 100000.0);
    const double d = std::nearbyint(f * 100000.0);
    const double r = std::fmod(d - b, 500.0);
    return r != 0 ? (d - r) / 100000.0 : d / 100000.0;
}
