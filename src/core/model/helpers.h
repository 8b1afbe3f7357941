#pragma once

// Small text helpers shared by the model, the files, the link and the windows. Numbers are
// always formatted and parsed in the C locale ("." as decimal symbol), whatever the user's
// own settings are.

#include <QByteArray>
#include <QString>
#include <optional>

// A numeric text: surrounding blanks allowed, an optional sign, digits with at most one ".",
// an optional exponent. Anything else (thousands separators, a "," as decimal symbol, hex)
// is not a number.
std::optional<double> ParseNumber(const QString& text);
bool IsNumeric(const QString& text);

// Every conversion of a number to an integer rounds halves to even (2.5 -> 2, 3.5 -> 4).
long long RoundEven(double v);

// The default when the text is not numeric; otherwise the rounded value raised to min,
// lowered to max and, when step is 2 or more, lowered to a multiple of step.
int ClampNumberText(const QString& text, int min, int max, int step, int def);
// The default for an empty or non-numeric text, else its (rounded) value.
long long NumberOrDefault(const QString& text, long long def);

// Removes blanks (spaces only, not other white space) at both ends.
QString TrimBlanks(const QString& s);

// Splits "lower - upper MHz"; 100 and 500 stand in for parts that are not numeric.
void ParseBandText(const QString& bandText, double& freLow, double& freHigh);

// The part of a path after its last separator ("/" or "\").
QString FileTitle(const QString& path);

// DTMF symbols as shown ("*", "#") and as the radio stores them ("F", "E").
QString DtmfToStored(const QString& text);
QString DtmfToShown(const QString& text);

// Shortest decimal text that reads back to the same double ("27.185", "28").
QString ShortestDecimal(double v);
// Formats with the pattern "#0.00000".
QString FormatFre(double v);

// The text with every control character (C0, DEL, C1) written as an escape ("\x1b"), and the
// backslash doubled, so that a damaged text field cannot move a terminal's cursor or change
// its colours when it is printed.
QString EscapeControls(const QString& text);
// Bytes taken from a file as a message shows them: UTF-8 text stays as it is, and every byte
// that is no printable text (a control character, a byte of no valid UTF-8 sequence such as
// 0xff, a character that is invisible or turns the writing direction) becomes an escape
// ("\xff"), the backslash doubled. A message built from it holds no raw byte of a damaged file.
QString EscapeBytes(const QByteArray& bytes);
// The offset of the first byte that is no UTF-8 text (a NUL, or a byte of no valid UTF-8
// sequence), or -1 when all of them are.
qsizetype FirstNonTextByte(const QByteArray& bytes);
