#pragma once

// Starting the program version that reads another data version. The version table says
// which program that is; it lives in its own folder under ProgramRoot.

#include <QString>
#include <QStringList>

class Prompter;

// The executable of the program version that reads dataVersion; empty when none is listed.
QString OtherVersionProgram(const QString& dataVersion);
// Starts that program detached. Shows message 9063 and returns false when the table has no
// such version or it could not be started.
bool RunOtherVersion(const QString& dataVersion, Prompter& prompter,
                     const QStringList& arguments = {});
