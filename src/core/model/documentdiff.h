#pragma once

// Field-by-field differences between two documents: the header's model and mode, the
// channels (matched by channel number, whatever their order in the list), the options and
// group settings, the public channel, the keys, the DTMF settings and codes and the tone
// tips. Spare and reserved words are never compared: the program does not use them.

#include <QStringList>

class Document;

// One line per difference, "what: value in a -> value in b"; empty when equal.
QStringList DiffDocuments(const Document& a, const Document& b);
