#pragma once

// The three forms in which `mzcli show` prints a document.

#include <QString>

class Document;

// The records with their own field names; CHInfo holds the CHCount entries in list order.
QString DocumentJson(const Document& doc);
// One row per channel in use, after a header row.
QString DocumentCsv(const Document& doc);
// A table a person would print: the header facts, one line per channel, the radio-wide
// options.
QString DocumentText(const Document& doc);
