#pragma once

#include <QString>

class Document;

enum class OpenResult {
    Opened,       // the file replaced the document
    Refused,      // a check failed or the user said No; the document is exactly as it was
    OtherVersion, // the user chose to hand the file to the program version that reads it
};

// Opens a data file with the checks in this order, each telling the user through the
// document's prompter and leaving the document (CurFileName included) unchanged:
//   the header cannot be read                     -> 9002
//   the model differs from ModelName              -> 9012
//   the version is not "V" + a numeric text       -> 9065
//   another data version, not listed as read by   -> the compatibility question (Yes/No);
//   this program in Version.ini                      Yes gives OtherVersion with that data
//                                                    version: the caller starts its program
//   shorter than a data file, CHCount not 0..409  -> 9002
//   a country mode other than 0, 1 or 2           -> "Country Mode Error!"
// The size and channel-count checks come after the version checks because a file of another
// data version need not have this version's layout.
// On success the file goes through the transfer copy into the working copy, the version
// becomes "V100", CurFileName = path, IsNewFile = 0, and documentReplaced and stateChanged
// are announced.
OpenResult OpenDataFile(Document& doc, const QString& path, QString* otherVersion = nullptr);
