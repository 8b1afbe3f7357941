#include "otherversion.h"
#include "../lang/prompter.h"
#include "../model/version.h"
#include "appstate.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProcess>

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
