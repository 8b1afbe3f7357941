#pragma once

// A language made for the tests from english.ini: every text about 40 % longer, as German and
// French run, and marked ("Ẍ" before it, "ẍ" after it), so that a window test sees a text that
// does not come from the current language file (hard-coded, or left from the language before a
// switch) and a label too narrow for a longer language. Placeholders and access keys stay as
// they are.

#include <QFile>
#include <QRegularExpression>
#include <QString>

inline constexpr char16_t kTestLanguageMark = u'ẍ';

inline QString MarkedText(const QString& text) {
    const int fill = (text.size() * 2 + 4) / 5; // two fifths more, at least one
    return QStringLiteral("Ẍ") + text + QString(qMax(fill - 1, 1), QChar(kTestLanguageMark));
}

// Writes dir/testlong.ini from english; false when english cannot be read or the file written.
inline bool WriteTestLanguage(const QString& english, const QString& dir) {
    QFile in(english);
    if (!in.open(QIODevice::ReadOnly)) return false;
    const QStringList lines = QString::fromUtf8(in.readAll()).split(QLatin1Char('\n'));
    static const QRegularExpression text(QStringLiteral("^(\\d+)=(.*)$"));
    QString out;
    QString section;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1Char('['))) section = line;
        if (section == QLatin1String("[Language]")) {
            if (line.startsWith(QLatin1String("Name=")))
                out += QStringLiteral("Name=Ẍlong testẍ\n");
            else if (line.startsWith(QLatin1String("Locale=")))
                out += QStringLiteral("Locale=xx\n");
            else
                out += line + QLatin1Char('\n');
            continue;
        }
        const auto m = text.match(line);
        out += m.hasMatch() ? m.captured(1) + QLatin1Char('=') + MarkedText(m.captured(2).trimmed())
                            : line;
        out += QLatin1Char('\n');
    }
    QFile f(dir + QStringLiteral("/testlong.ini"));
    return f.open(QIODevice::WriteOnly) && f.write(out.toUtf8()) > 0;
}
