#pragma once

// One value at a time, as the settings files are used: reading goes through libinih (on Linux;
// the Windows build reads the same way itself), writing
// replaces the one "key=value" line (or adds it, or adds the section) and keeps every other
// line of the file as it was.

#include <QString>

// The value, trimmed; empty when the file, section or key is missing.
QString IniRead(const QString& path, const QString& section, const QString& key);
bool IniWrite(const QString& path, const QString& section, const QString& key,
              const QString& value);
