#include "cliprompter.h"
#include "command.h"
#include "core/lang/langtext.h"

#include <QRegularExpression>
#include <QStringList>

QString WithoutQuestion(const QString& text) {
    // A line that ends with a question mark loses its last sentence, the question; what comes
    // before it (up to the end of the sentence before) is the statement.
    static const QString ends = QStringLiteral(".!\u3002\uFF01");
    QStringList lines;
    for (QString line : QString(text)
                            .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                            .split(QLatin1Char('\n'))) {
        line = line.trimmed();
        if (line.endsWith(QLatin1Char('?')) || line.endsWith(QChar(0xFF1F))) {
            qsizetype i = line.size() - 2;
            while (i >= 0 && !ends.contains(line.at(i)))
                --i;
            line = line.left(i + 1).trimmed();
        }
        if (!line.isEmpty()) lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

Prompter::Answer CliPrompter::ask(const QString& text, Buttons buttons, Icon) {
    // Message texts may span lines (CR LF); on a terminal they read better as one line.
    QString line = buttons == Buttons::Ok ? text : WithoutQuestion(text);
    line.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
    line = line.trimmed();
    if (line.isEmpty())
        line = QStringLiteral("An unexplained error occurred; nothing was changed.");
    // A text that names its file already needs no subject in front.
    CliError(subject_.isEmpty() || line.contains(subject_)
                 ? line
                 : subject_ + QStringLiteral(": ") + line);
    ++printed_;
    return safeAnswer(buttons);
}

Prompter::Answer CliPrompter::message(int id, Buttons buttons, Icon icon, const QString& detail) {
    QString text = LoadLangText(id);
    if (text.isEmpty()) text = FallbackText(id);
    if (!detail.isEmpty()) text += QLatin1Char(' ') + detail;
    return ask(text, buttons, icon);
}

QString CliPrompter::FallbackText(int id) {
    switch (id) {
    case 9002:
        return QStringLiteral("The file could not be opened or saved.");
    case 9012:
        return QStringLiteral("The model of this data does not match the program's model.");
    case 9045:
        return QStringLiteral("Country Mode Error!");
    case 9063:
        return QStringLiteral("No installed program version can handle this version.");
    case 9065:
        return QStringLiteral("The data file's version information is damaged.");
    default:
        return QStringLiteral("Message %1 (its text is missing from the language file).").arg(id);
    }
}
