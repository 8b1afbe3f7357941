#pragma once

// Texts of the file layer that have no fixed wording of their own: looked up by identifier
// like every other text, with an English fallback so that a language file without them still
// says something useful.

#include <QString>

enum FileTextId {
    TxtNotRegular = 9850,          // %1 path
    TxtWrongSize = 9851,           // %1 path, %2 bytes found, %3 bytes of a data file
    TxtDamagedRecords = 9852,      // %1 path, %2 list of the damaged records
    TxtBadCount = 9858,            // %1 path, %2 channel count
    TxtTooLargeChannelList = 9840, // %1 path, %2 size in MB
    TxtTooLargePlanTable = 9841,   // %1 path, %2 size in MB
};

QString FileText(FileTextId id);
