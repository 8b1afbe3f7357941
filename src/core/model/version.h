#pragma once

// Data versions and the table of program versions that read them (Version.ini).

#include <QPair>
#include <QString>
#include <QVector>

constexpr const char* DataVersion = "V100";

// The version table of Version.ini: (program version, data version) pairs in entry order,
// filled once at start-up.
using VersionPairs = QVector<QPair<QString, QString>>;
VersionPairs& FirmPairs();

bool IsVersionText(const QString& v);
// True when the table pairs the two versions, and always for this program's own data version
// with itself (also without a table).
bool IsCompatible(const QString& programVersion, const QString& dataVersion);
QString SoftForFirm(const QString& dataVersion);
QString VersionMessage(const QString& a, const QString& b, int kind);
