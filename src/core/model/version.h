#pragma once

// Data versions and the table of program versions that read them (Version.ini).

#include <QString>
#include <QStringList>

class Prompter;

constexpr const char* DataVersion = "V100";

bool IsVersionText(const QString& v);
bool IsCompatible(const QString& programVersion, const QString& dataVersion);
QString SoftForFirm(const QString& dataVersion);
QString VersionMessage(const QString& a, const QString& b, int kind);
// The executable of the program version that reads dataVersion; empty when none is listed.
QString OtherVersionProgram(const QString& dataVersion);
// Starts that program detached. Shows message 9063 and returns false when the table has no
// such version or it could not be started.
bool RunOtherVersion(const QString& dataVersion, Prompter& prompter,
                     const QStringList& arguments = {});
