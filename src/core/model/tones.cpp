#include "tones.h"

#include <QLocale>

#include <cmath>

namespace {
const double kCtcss[CtcssCount] = {
    67.0,  71.9,  74.4,  77.0,  79.7,  82.5,  85.4,  88.5,  91.5,  94.8,  97.4,  100.0, 103.5,
    107.2, 110.9, 114.8, 118.8, 123.0, 127.3, 131.8, 136.5, 141.3, 146.2, 151.4, 156.7, 162.2,
    167.9, 173.8, 179.9, 186.2, 192.8, 203.5, 210.7, 218.1, 225.7, 233.6, 241.8, 250.3};
const int kDcs[DcsCount] = {
    23,  25,  26,  31,  32,  36,  43,  47,  51,  53,  54,  65,  71,  72,  73,  74,  114, 115,
    116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205, 212, 223,
    225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306, 311, 315,
    325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432, 445, 446,
    452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606, 612, 624,
    627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};
} // namespace

double CtcssHz(int number) {
    return kCtcss[number - 1];
}
int DcsCode(int number) {
    return kDcs[number - 1];
}

std::optional<int> ctcssToneOf(double hz) {
    for (int t = 1; t <= CtcssCount; ++t)
        if (std::abs(CtcssHz(t) - hz) < 0.05) return t;
    return std::nullopt;
}

std::optional<int> dcsToneOf(int code) {
    for (int n = 1; n <= DcsCount; ++n)
        if (DcsCode(n) == code) return n + CtcssCount;
    return std::nullopt;
}

const QStringList& ToneNames() {
    static const QStringList names = [] {
        QStringList l;
        l << QStringLiteral("Off");
        for (int n = 1; n <= CtcssCount; ++n)
            l << QStringLiteral("C_%1(%2Hz)")
                     .arg(n, 3, 10, QLatin1Char('0'))
                     .arg(QLocale::c().toString(kCtcss[n - 1], 'f', 1));
        for (int n = 1; n <= DcsCount; ++n)
            l << QStringLiteral("D_%1(%2N)")
                     .arg(n, 3, 10, QLatin1Char('0'))
                     .arg(kDcs[n - 1], 3, 10, QLatin1Char('0'));
        return l;
    }();
    return names;
}

const QStringList& ToneShownNames() {
    static const QStringList names = [] {
        QStringList l;
        l << QStringLiteral("Off");
        for (int n = 1; n <= CtcssCount; ++n)
            l << QLocale::c().toString(kCtcss[n - 1], 'f', 1) + QStringLiteral(" Hz");
        for (int n = 1; n <= DcsCount; ++n)
            l << QStringLiteral("D%1N").arg(kDcs[n - 1], 3, 10, QLatin1Char('0'));
        return l;
    }();
    return names;
}

RadioTone ToneToRadio(int index) {
    if (index >= 1 && index <= CtcssCount) return {1, index - 1};
    if (index > CtcssCount) return {2, index - 39};
    return {0, 0};
}

int ToneFromRadio(int type, int pos) {
    if (type == 1) return pos + 1;
    if (type == 2) return pos + 39;
    return 0;
}
