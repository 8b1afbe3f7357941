#pragma once

// The three forms in which `mzcli show` prints a document. Damaged channel records (see
// channelcheck.h) are marked: "!" before the channel number in the text and CSV tables, a
// "DamagedCHInfo" list of their entries (1-based) in JSON. Control characters of damaged text
// fields never reach the terminal raw: they are printed as escapes ("\x1b").

#include <QString>

class Document;

// The records with their own field names; CHInfo holds the CHCount entries in list order.
QString DocumentJson(const Document& doc);
// One row per channel in use, after a header row.
QString DocumentCsv(const Document& doc);
// A table a person would print: the header facts, one line per channel, the radio-wide
// options.
QString DocumentText(const Document& doc);
