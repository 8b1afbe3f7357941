#pragma once

// The DTMF codes as the DTMF window edits them: which characters a code may hold, what a code
// box shows, storing a typed code, and the repairs that showing the record makes.

#include <QString>

class Document;
struct DTMFCodeRec;

constexpr int DtmfCodeMax = 16;

// What typing ch into a code box enters: the digits, "*" and "#" as they are, a-d and A-D as
// A-D; a null QChar for every other printable character and for characters above 127.
QChar DtmfCodeChar(QChar ch);
// The text with every character DtmfCodeChar refuses dropped, the others mapped, cut at 16
// characters (for text that arrives other than by typing: pasting, an input method).
QString FilterDtmfText(const QString& text);
// The first Len characters of the code (none for a Len of 0 or less).
QString ShownDtmfCode(const DTMFCodeRec& code);
// Stores a typed code in slot 1..16: Code the trimmed text, Len its length. A code emptied
// this way no longer exists: every channel and the public channel that send it send none.
void StoreDtmfCode(Document& doc, int slot, const QString& text);
// The repairs that showing the DTMF record makes: a display setting above 1 becomes 0, a
// code length above 16 becomes 0. Stores (and announces) only when something is repaired.
void RepairDtmfForShow(Document& doc);
