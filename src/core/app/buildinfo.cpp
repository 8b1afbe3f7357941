#include "buildinfo.h"

QString ProgramVersionLine(const QString& program) {
    const QString commit = ProgramCommit();
    QString line = program + QLatin1Char(' ') + ProgramVersion();
    if (!commit.isEmpty()) line += QStringLiteral(" (git %1)").arg(commit);
    return line;
}
