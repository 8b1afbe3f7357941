#include "textnote.h"
#include "../lang/langtext.h"

QString PrintableValue(const QString& value) {
    QString r;
    for (const QChar c : value.left(40))
        r += c.isPrint() ? c : QChar(u'?');
    return value.size() > 40 ? r + QStringLiteral("...") : r;
}

QString TextNote::text() const {
    QString t = LoadLangText(id);
    if (t.isEmpty()) {
        t = QStringLiteral("[%1]").arg(id);
        for (int i = 0; i < args.size(); ++i)
            t += QStringLiteral(" %%1").arg(i + 1);
    }
    // Each %n once, in one pass: a value that itself holds "%1" stays as it is.
    QString r;
    for (int i = 0; i < t.size(); ++i) {
        const int n = i + 1 < t.size() ? t.at(i + 1).digitValue() : -1;
        if (t.at(i) == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            r += PrintableValue(args.at(n - 1));
            ++i;
        } else {
            r += t.at(i);
        }
    }
    return r;
}
