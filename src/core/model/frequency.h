#pragma once

// The stored frequency form: 8 decimal digits, 3 for whole MHz and 5 for the fraction in 10 Hz
// units ("02801500" is 28.01500 MHz). Empty or "FFFFFFFF" means no frequency.

#include <QString>

class Prompter;

QString FreToStored(const QString& text, double freLow);
// Empty for an empty or "FFFFFFFF" value. A damaged (non-numeric) value shows "Not IsNumeric"
// through the prompter, when given, and reads as the band's lower limit.
QString FreToShown(const QString& stored, double freLow, Prompter* prompter = nullptr);
// As FreToShown, but the UK group (and the MEM group above 27.405 MHz) of mode 0 list the
// last digits as "125".
QString FreToListText(const QString& stored, int group, int mode, double freLow,
                      Prompter* prompter = nullptr);
// f lowered to the 5 kHz grid counted from freLow.
double SnapToGrid(double f, double freLow);
bool IsNoFrequency(const QString& stored);
// The frequency in MHz of stored digits ("02718500" is 27.185); 0 when they are no number.
double storedMhz(const QString& stored);
// Whether two frequencies in MHz are one stored value: they differ by less than the stored
// 10 Hz step.
bool sameMhz(double a, double b);
