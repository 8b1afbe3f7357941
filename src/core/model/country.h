#pragma once

// Country modes, their bands and the channel groups. Channel numbers: 1..400 memory channels,
// 401 the VFO channel, 402..409 the MEM channels.

#include <QString>
#include <QStringList>

constexpr int ChVfo = 401;
constexpr int ChMemFirst = 402;

QString ModeName(int mode);
// The band text of a mode; empty for a mode other than 0, 1 or 2 (callers refuse such data).
QString BandTextOf(int mode);
bool IsValidMode(int mode);
QString FreqCaption(const QString& bandText);
QString ModelShownName(const QString& model);

QString GroupName(int group, int mode);
// The number before the group's first channel: its channels are first + 1 .. first + size.
int FirstCHOfGroup(int group, int mode);
int GroupSize(int group, int mode);
int GroupOfChannel(int chNo, int mode);
bool IsMemGroup(int group, int mode);
// Number of groups the mode has (9 in mode 0, 12 in modes 1 and 2).
int GroupCount(int mode);
// Groups that carry GroupValid/WorkCH/EmgCH settings: 0..7 in mode 0, 0..9 otherwise.
int SettingGroupCount(int mode);
// Names of the mode's groups, leaving out the one equal to except.
QStringList GroupNames(int mode, const QString& except = QString());
