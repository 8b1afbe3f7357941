#include "version.h"
#include "../lang/langtext.h"
#include "fixedtext.h"
#include "helpers.h"

VersionPairs& FirmPairs() {
    static VersionPairs pairs;
    return pairs;
}

bool IsVersionText(const QString& v) {
    const QString t = TrimFixed(v);
    return t.size() == 4 && t[0] == QLatin1Char('V') && IsNumeric(t.mid(1));
}

bool IsCompatible(const QString& programVersion, const QString& dataVersion) {
    // This program reads its own data version whatever the table says: a program folder copied
    // alone (no Version.ini beside it) still talks to its own radios. The table only adds the
    // other versions it can hand over to.
    const QString own = QString::fromLatin1(DataVersion);
    if (TrimFixed(programVersion) == own && TrimFixed(dataVersion) == own) return true;
    for (const auto& p : FirmPairs())
        if (p.first == programVersion && p.second == dataVersion) return true;
    return false;
}

QString SoftForFirm(const QString& dataVersion) {
    for (const auto& p : FirmPairs())
        if (p.second == dataVersion) return p.first;
    return QString();
}

namespace {
QString shownVersion(const QString& v) {
    return v.left(2) + QLatin1Char('.') + v.right(2);
}
} // namespace

QString VersionMessage(const QString& a, const QString& b, int kind) {
    QString t = LoadLangText(9062);
    if (kind == 0 || kind == 1) {
        t += QStringLiteral("\r\n") + LoadLangText(kind == 0 ? 9060 : 9064) + QLatin1Char(' ') +
             shownVersion(b) + QStringLiteral("\r\n") + LoadLangText(9061) + QLatin1Char(' ') +
             shownVersion(a);
    } else {
        t += shownVersion(b);
    }
    return t;
}
