#pragma once

// Texts of the file layer that have no fixed wording of their own: looked up by identifier
// like every other text, with an English fallback so that a language file without them still
// says something useful.

#include <QByteArray>
#include <QString>

enum FileTextId {
    TxtNotRegular = 9850,          // %1 path
    TxtDamagedRecords = 9852,      // %1 path, %2 list of the damaged records
    TxtTooLargeChannelList = 9840, // %1 path, %2 size in MB, %3 the limit in MB
    TxtTooLargePlanTable = 9841,   // %1 path, %2 size in MB, %3 the limit in MB

    // A damaged file is told as "file, record: fault".
    TxtFileRecordFault = 9080, // %1 path, %2 record, %3 fault
    // The records of a data file.
    TxtRecFileHead = 9081,
    TxtRecChannelCount = 9082,
    TxtRecFunctions = 9083,
    TxtRecPublicChannel = 9084,
    TxtRecKeys = 9085,
    TxtRecDtmf = 9086,
    TxtRecToneTips = 9087,
    TxtRecChannelEntry = 9088, // %1 entry of the channel list, from 1
    // The faults of a data file.
    TxtFaultEndsEarly = 9089,   // %1 bytes found, %2 bytes of a data file
    TxtFileTooLong = 9090,      // %1 path, %2 bytes of a data file (a whole sentence)
    TxtFaultModel = 9091,       // %1 the model the file names (escaped), %2 the program's model
    TxtFaultVersion = 9092,     // %1 the version the file names (escaped)
    TxtFaultCount = 9093,       // %1 the channel count
    TxtFaultCountryMode = 9094, // %1 the country mode
    // A text file (a CSV): the record is a line.
    TxtRecLine = 9095,      // %1 line number
    TxtFaultNotText = 9096, // %1 the bytes that are no text (escaped)
};

QString FileText(FileTextId id);

// "path, record: fault.", the detail that names a damaged file, the place and the fault.
QString DamagedFileText(const QString& path, const QString& record, const QString& fault);

// The record of a data file that holds the byte at offset (the file head, the DTMF record,
// channel entry 12, ...).
QString DataFileRecordAt(qint64 offset);
