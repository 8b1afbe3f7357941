#pragma once

// The tone list: index 0 "Off", 1..38 CTCSS, 39..142 DCS, so that a list position equals the
// tone index stored in RDCT/TDCT.

#include <QStringList>

#include <optional>

constexpr int ToneCount = 143;
constexpr int CtcssCount = 38;
constexpr int DcsCount = 104;

const QStringList& ToneNames();
// The same list as people read it, in the windows, the print and the CSV files: "Off",
// "88.5 Hz", "D131N". The positions are the stored tone indices as in ToneNames().
const QStringList& ToneShownNames();
double CtcssHz(int number); // number 1..38
int DcsCode(int number);    // number 1..104, the octal code written as decimal digits (23 for 023)
// The tone index of a CTCSS frequency (within 0.05 Hz) and of a DCS code (as DcsCode writes
// it); nullopt when the list has no such tone.
std::optional<int> ctcssToneOf(double hz);
std::optional<int> dcsToneOf(int code);

// Towards the radio: a tone index as type (0 off, 1 CTCSS, 2 DCS) and list position.
struct RadioTone {
    int type = 0;
    int pos = 0;
};
RadioTone ToneToRadio(int index);
int ToneFromRadio(int type, int pos);
