#include "linktexts.h"
#include "../lang/langtext.h"

QString LinkText(LinkTextId id) {
    const QString t = LoadLangText(id);
    if (!t.isEmpty()) return t;
    switch (id) {
    case TxtNoAnswer:
        return QStringLiteral("The radio did not answer. Check that the cable's plug is fully "
                              "seated and that the radio is switched on.");
    case TxtPermission:
        return QStringLiteral("You may not use %1: it belongs to the group \"%2\". Add yourself "
                              "with \"sudo usermod -aG %2 %3\", then log out and in again.");
    case TxtBusy:
        return QStringLiteral("%1 is busy: another program holds it. Close that program and try "
                              "again.");
    case TxtNotFound:
        return QStringLiteral("%1 does not exist. Ports present: %2.");
    case TxtNotFoundNone:
        return QStringLiteral("%1 does not exist, and no serial port was found. Check that the "
                              "cable is plugged in.");
    case TxtOpenFailed:
        return QStringLiteral("%1 could not be opened: %2.");
    case TxtNoPort:
        return QStringLiteral("No serial port is chosen: the port name is empty.");
    case TxtPortClosed:
        return QStringLiteral("the port was closed");
    case TxtPortFailed:
        return QStringLiteral("the radio stopped answering");
    case TxtUnplugged:
        return QStringLiteral("The cable was unplugged; the radio may still be in programming "
                              "mode: switch it off and on");
    case TxtBusyBy:
        return QStringLiteral("The port %1 is in use by %2 (PID %3). Close that program and try "
                              "again.");
    case TxtCableGone:
        return QStringLiteral("The cable %1 is not plugged in. Plug it in, or choose another "
                              "port under Settings > Serial Port.");
    case TxtNoIdentity:
        return QStringLiteral("The radio accepted the programming request but did not say who "
                              "it is. Switch it off and on and try again.");
    case TxtRadioFound:
        return QStringLiteral("The radio answered: %1, country mode %2 (%3), firmware %4.");
    case TxtLineLost:
        return QStringLiteral("The connection to the radio was lost (%1). Check the cable and "
                              "that the radio is switched on.");
    case TxtRefusedBlock:
        return QStringLiteral("The radio refused block %1 again and again. Try again?");
    case TxtDamagedAnswers:
        return QStringLiteral("The radio's answers are damaged. Check the cable and that no "
                              "other program uses the port. Try again?");
    case TxtPartlyWritten:
        return QStringLiteral(
            "The radio holds a partly written memory: write again before using it.");
    case TxtWriteStoppedAt:
        return QStringLiteral("Writing stopped at %1 %.");
    case TxtReadCancelled:
        return QStringLiteral("Reading cancelled; the document is unchanged.");
    case TxtWriteCancelled:
        return QStringLiteral("Writing cancelled before the first block; the radio is unchanged.");
    case TxtPartlyWrittenShort:
        return QStringLiteral("radio partly written: write again");
    case TxtWrittenCheckInterrupted:
        return QStringLiteral("Written completely; the check afterwards was interrupted.");
    case TxtVerifiedMeaningless:
        return QStringLiteral("The radio was verified; %1 bytes without meaning differ.");
    case TxtPasswordFailure:
        return QStringLiteral("PassWord Failure!");
    case TxtCountryModeError:
        return QStringLiteral("Country Mode Error!");
    case TxtToneInvalid:
        return QStringLiteral("CTCSS/DCS Function is invalid,");
    case TxtToneFeatures:
        return QStringLiteral("Some features will not work.");
    case TxtPcIs:
        return QStringLiteral("PC is");
    case TxtRadioIs:
        return QStringLiteral("Radio is");
    case TxtBlocksDisagree:
        return QStringLiteral("The line damages what the radio says: block %1 was read %2 times "
                              "and no two reads agreed. Check the cable and try again.");
    case TxtReadDamagedRecords:
        return QStringLiteral("The memory read holds damaged records, so it is not taken as a "
                              "good read. The line may have damaged it: reading again may help.");
    case TxtLineLosesBytes:
        return QStringLiteral("The line loses bytes: block %1 did not reach the radio whole. "
                              "Check the cable and that no other program uses the port. Try "
                              "again?");
    }
    return QString();
}
