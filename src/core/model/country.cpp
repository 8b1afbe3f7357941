#include "country.h"
#include "fixedtext.h"

QString ModeName(int mode) {
    switch (mode) {
    case 0:
        return QStringLiteral("CB");
    case 1:
        return QStringLiteral("HF");
    case 2:
        return QStringLiteral("HAM");
    default:
        return QStringLiteral("Unknown");
    }
}

QString BandTextOf(int mode) {
    switch (mode) {
    case 0:
        return QStringLiteral("26.965 - 27.405 MHz");
    case 1:
        return QStringLiteral("25.615 - 30.105 MHz");
    case 2:
        return QStringLiteral("28.000 - 29.700 MHz");
    default:
        return QString();
    }
}

bool IsValidMode(int mode) {
    return mode >= 0 && mode <= 2;
}

QString FreqCaption(const QString& bandText) {
    return bandText == BandTextOf(0) ? QStringLiteral("Frequency") : bandText;
}

QString ModelShownName(const QString& model) {
    return TrimFixed(model);
}

QString GroupName(int group, int mode) {
    static const char* cb[] = {"EU", "CE", "U", "UK", "PL", "I2", "DE", "IN", "MEM"};
    if (mode == 0) return group >= 0 && group <= 8 ? QString::fromLatin1(cb[group]) : QString();
    if (mode == 1 || mode == 2) {
        if (group >= 0 && group <= 9) return QString(QChar('A' + group));
        if (group == 10) return QStringLiteral("VFO");
        if (group == 11) return QStringLiteral("MEM");
    }
    return QString();
}

int FirstCHOfGroup(int group, int mode) {
    if (mode == 0) {
        if (group >= 0 && group <= 6) return 40 * group;
        if (group == 7) return 320;
        if (group == 8) return 401;
        return 0;
    }
    if (mode == 1 || mode == 2) {
        if (group >= 0 && group <= 10) return 40 * group;
        if (group == 11) return 401;
    }
    return 0;
}

int GroupSize(int group, int mode) {
    if (mode == 0) {
        if (group == 6) return 80;
        if ((group >= 0 && group <= 5) || group == 7) return 40;
        if (group == 8) return 8;
        return 0;
    }
    if (mode == 1 || mode == 2) {
        if (group >= 0 && group <= 9) return 40;
        if (group == 10) return 1;
        if (group == 11) return 8;
    }
    return 0;
}

int GroupOfChannel(int chNo, int mode) {
    if (mode == 0) {
        static const int limits[] = {40, 80, 120, 160, 200, 240, 320, 360};
        for (int g = 0; g < 8; ++g)
            if (chNo <= limits[g]) return g;
        return 8;
    }
    if (mode == 1 || mode == 2) return (chNo - 1) / 40;
    return -1;
}

bool IsMemGroup(int group, int mode) {
    return (mode == 0 && group == 8) || ((mode == 1 || mode == 2) && group == 11);
}

int GroupCount(int mode) {
    return mode == 0 ? 9 : (mode == 1 || mode == 2) ? 12 : 0;
}

int SettingGroupCount(int mode) {
    return mode == 0 ? 8 : 10;
}

QStringList GroupNames(int mode, const QString& except) {
    QStringList r;
    for (int g = 0; g <= 11; ++g) {
        const QString n = GroupName(g, mode);
        if (!n.isEmpty() && n != except) r << n;
    }
    return r;
}
