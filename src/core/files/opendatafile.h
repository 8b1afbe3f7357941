#pragma once

#include "../model/records.h"

#include <QByteArray>
#include <QString>

class Document;

enum class OpenResult {
    Opened,       // the file replaced the document
    Refused,      // a check failed or the user said No; the document is exactly as it was
    OtherVersion, // the user chose to hand the file to the program version that reads it
};

// What to do with a file whose only fault is damaged channel records (see channelcheck.h).
enum class DamagedChannelsPolicy {
    Refuse, // every command that uses the data
    Keep,   // a command that only shows the file: it is told, then opened all the same
};

// A data file that passed the checks, not yet in the document.
struct CheckedDataFile {
    RadioDataRec data;
    ChannelList channels;
    QString otherVersion; // with OpenResult::OtherVersion: the file's data version
};

// Reads a data file with the checks in this order, each telling the user through the
// document's prompter; the document is not changed. Every refusal names the file, and a
// damaged file also the record and the fault ("in.dat, file head: the version is "V1\xff0",
// not V followed by digits."), with the file's texts escaped (EscapeBytes):
//   not a readable regular file                   -> 9002 with the file and the reason
//   shorter than the header                       -> 9002: where the file ends
//   the model differs from ModelName              -> 9012 with the model the file names
//   the version is not "V" + a numeric text       -> 9065 with the version the file names
//   another data version, not listed as read by   -> the compatibility question (Yes/No);
//   this program in Version.ini                      Yes gives OtherVersion, with that data
//                                                    version in file.otherVersion: the caller
//                                                    starts the program that reads it
//   not exactly 25611 bytes, CHCount not 0..409   -> 9002: where the file ends, or the count
//   a country mode other than 0, 1 or 2           -> 9045 ("Country Mode Error!") with the mode
//   damaged channel records                       -> 9002 naming the records
// The size and channel-count checks come after the version checks because a file of another
// data version need not have this version's layout.
OpenResult ReadCheckedDataFile(Document& doc, const QString& path, CheckedDataFile& file,
                               DamagedChannelsPolicy policy = DamagedChannelsPolicy::Refuse);
// The checks after the read, on the file's bytes (DataFileSize + 1 of them tell a longer file);
// path only names the file in the messages.
OpenResult CheckDataBytes(Document& doc, const QString& path, const QByteArray& bytes,
                          CheckedDataFile& file,
                          DamagedChannelsPolicy policy = DamagedChannelsPolicy::Refuse);

// Puts a checked file into the document (Document::adoptImage): the working copy and the
// transfer copy hold it, the version becomes "V100", and the document is named path. With a
// title it stays unnamed under that title instead (an opened backup), so that Save asks for
// a name and the file itself is never overwritten. The undo history is the caller's.
void ApplyDataFile(Document& doc, const QString& path, const CheckedDataFile& file,
                   const QString& untitled = QString());

// ReadCheckedDataFile, then ApplyDataFile when the file passed, and the undo history starts
// there. On a refusal the document, CurFileName included, is unchanged.
OpenResult OpenDataFile(Document& doc, const QString& path,
                        DamagedChannelsPolicy policy = DamagedChannelsPolicy::Refuse);
