#pragma once

// The program's own choices about the serial link, kept in record 2 (bytes 4 to 7) of
// Setting.ini beside the reserved record 1: byte 4 = verify after write (1, the default, or
// 0), byte 5 = log serial traffic (0, the default, or 1), byte 6 = a write left the radio
// partly written (1) and none has succeeded since, so that the warning outlives a program that
// was killed; byte 7 is kept as read.

#include <QString>

struct LinkSettings {
    bool VerifyAfterWrite = true;
    bool LogSerialTraffic = false;
    bool RadioPartlyWritten = false;
    unsigned char Spare = 0;
};

LinkSettings& linkSettings();
// Reads record 2 of Setting.ini; the defaults when the file or the record is missing.
void ReadLinkSettings();
// Writes record 2, leaving record 1 as the file holds it (zeros when the file is new).
bool WriteLinkSettings();

// Where the GUI writes its wire logs when traffic is logged: the user's data folder + "/logs".
QString WireLogDir();
// A new log file name in WireLogDir() for a session started now; the oldest logs beyond 20
// are removed.
QString NewWireLogPath(const QString& kind);
