#pragma once

// The channel records that neither typing nor a read from the radio can produce. A file holding
// one was damaged or made by something else; writing it would put invalid data into the radio
// (a number the radio has no slot for vanishes, a frequency of other characters becomes invalid
// BCD, a frequency of more digits than the radio keeps or an offset outside the radio's list is
// a value the radio cannot hold), so such a document is refused before it reaches a window or the
// radio.

#include "records.h"

#include <QList>
#include <QString>

struct DamagedChannel {
    enum class Fault { Number, Repeated, Frequency, Band, Offset, Value };
    int entry; // 1-based position in the channel list; 0 for the public channel
    Fault fault;
    int chNo;
    QString rxFre; // the stored frequency text (with any NUL characters it holds)
    int offset = 0;
    const char* field = nullptr; // with Fault::Value: the field's name and its value
    int value = 0;
};

// A stored frequency as typing or a read gives it: empty (no frequency), or exactly eight
// characters of digits and A-F ("FFFFFFFF" for an erased channel).
bool IsPlausibleRxFre(const QString& stored);

// Whether a stored frequency of digits is one the radio can hold: it keeps tens of MHz to
// 100 Hz, so the first and the last of the eight digits are 0 (99999999 is not).
bool IsHoldableRxFre(const QString& stored);
// Whether an offset is one the radio's list has: 5 to 1000 kHz in steps of 5 kHz, or 0, which
// a channel without a shift may hold when the radio programmed it itself, or -1, the erased
// memory's 0xFFFF.
bool IsPlausibleOffset(int kHz);
// The first field of a channel whose value the radio's memory has no room for (a tone above
// the last DCS slot, DUP 9, AM_FM 7, a negative power, a DTMF code number above 255, Scan 2),
// with its value; nullptr when every field fits. Such a value would reach the radio changed
// (TDCT 999 arrives as 231), so it is refused rather than sent. Every value a read gives
// passes, the erased memory's (DUP 3, RBTone 255) included.
const char* UnholdableField(const CHInfoRec& c, int& value);

// The damaged records among the first CHCount channels, in list order: a number outside
// 1..409, a number an earlier record already has, a frequency text IsPlausibleRxFre refuses
// (or one holding NUL characters), a frequency of digits IsHoldableRxFre refuses, an offset
// IsPlausibleOffset refuses, a field UnholdableField names. Then the public channel (entry 0),
// of whose fields the radio receives all but CHNo, Scan and RxFre: an offset IsPlausibleOffset
// refuses (Fault::Offset, field "OffSetFre") or a field UnholdableField names.
QList<DamagedChannel> DamagedChannels(const RadioDataRec& data, const ChannelList& channels);

// The damaged records as one list for a message, the first few of them by name; texts 9853 to
// 9855, 9857, 9870, 9871, 27320 and 27322.
QString DamagedChannelsText(const QList<DamagedChannel>& damaged);
// Text 9856: a write refuses the data.
QString RefusedWriteText();
