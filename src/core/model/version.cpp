#include "version.h"
#include "../app/appstate.h"
#include "../lang/prompter.h"
#include "../lang/langtext.h"
#include "fixedtext.h"
#include "helpers.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

bool IsVersionText(const QString& v) {
    const QString t = TrimFixed(v);
    return t.size() == 4 && t[0] == QLatin1Char('V') && IsNumeric(t.mid(1));
}

bool IsCompatible(const QString& programVersion, const QString& dataVersion) {
    for (const auto& p : App().FirmPairs)
        if (p.first == programVersion && p.second == dataVersion) return true;
    return false;
}

QString SoftForFirm(const QString& dataVersion) {
    for (const auto& p : App().FirmPairs)
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

QString OtherVersionProgram(const QString& dataVersion) {
    const QString s = SoftForFirm(dataVersion);
    if (s.isEmpty()) return QString();
    QString exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (exe.isEmpty()) exe = QStringLiteral("mzprog");
#ifdef Q_OS_WIN
    exe += QStringLiteral(".exe");
#endif
    return App().ProgramRoot + QLatin1Char('/') + s + QLatin1Char('/') + exe;
}

bool RunOtherVersion(const QString& dataVersion, Prompter& prompter, const QStringList& arguments) {
    const QString program = OtherVersionProgram(dataVersion);
    if (program.isEmpty() || !QProcess::startDetached(program, arguments)) {
        prompter.message(9063);
        return false;
    }
    return true;
}
