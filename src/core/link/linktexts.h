#pragma once

// Texts of the link that have no fixed wording of their own: looked up by identifier like every
// other text, with an English fallback so that a language file without them still says
// something useful.

#include <QString>

enum LinkTextId {
    TxtNoAnswer = 9070,     // the radio did not answer the programming request
    TxtPermission = 9071,   // %1 device, %2 group, %3 user
    TxtBusy = 9072,         // %1 device
    TxtNotFound = 9073,     // %1 device, %2 list of ports
    TxtNotFoundNone = 9074, // %1 device
    TxtOpenFailed = 9075,   // %1 device, %2 system reason
    TxtLineLost = 9076,     // %1 system reason
    TxtNoPort = 9859,       // the port name is empty or blank
    TxtPortClosed = 9860,   // the reason of TxtLineLost when the device went away
    TxtPortFailed = 9861,   // the reason of TxtLineLost when reading or writing failed
    TxtUnplugged = 9600,    // the device went away during a session
    TxtBusyBy = 9601,       // %1 device, %2 program, %3 its process id
    TxtCableGone = 9602,    // %1 the stable name of a cable that is not plugged in
    TxtNoIdentity = 9603,   // programming accepted, but no identification came
    TxtRadioFound = 9604,   // %1 model, %2 country mode number, %3 its name, %4 firmware
    // Why a step gave up, when the radio did answer; each ends with the question to retry.
    TxtRefusedBlock = 9040, // %1 address of the block
    TxtDamagedAnswers = 9041,
    // What an interrupted write left in the radio.
    TxtPartlyWritten = 9042,
    TxtWrittenCheckInterrupted = 9043,
    // How a transfer the user stopped ended. %1 of TxtWriteStoppedAt: the percentage reached.
    TxtWriteStoppedAt = 9050,
    TxtReadCancelled = 9051,
    TxtWriteCancelled = 9052, // stopped before its first block: the radio is as it was
    // The short warning a partly written radio leaves in the window title.
    TxtPartlyWrittenShort = 9054,
    // A verify whose only differences lie in bytes without meaning; %1 their number.
    TxtVerifiedMeaningless = 9033,
    // The fixed texts of the session, in the words the radio's programmers have always used.
    TxtPasswordFailure = 9044,
    TxtCountryModeError = 9045,
    TxtToneInvalid = 9046,
    TxtToneFeatures = 9047,
    TxtPcIs = 9048,
    TxtRadioIs = 9049,
    // A noisy line. %1 of TxtBlocksDisagree: the block's address, %2 how often it was read.
    TxtBlocksDisagree = 27303,
    TxtReadDamagedRecords = 27304, // the damaged records are listed below it
    TxtLineLosesBytes = 27305,     // %1 address of the block; ends with the question to retry
};

QString LinkText(LinkTextId id);
