#pragma once

// The channel records that neither typing nor a read from the radio can produce. A file holding
// one was damaged or made by something else; writing it would put invalid data into the radio
// (a number the radio has no slot for vanishes, a frequency of other characters becomes invalid
// BCD), so such a document is refused before it reaches a window or the radio.

#include "records.h"

#include <QList>
#include <QString>

struct DamagedChannel {
    enum class Fault { Number, Repeated, Frequency };
    int entry; // 1-based position in the channel list
    Fault fault;
    int chNo;
    QString rxFre; // the stored frequency text
};

// A stored frequency as typing or a read gives it: empty (no frequency), or exactly eight
// characters of digits and A-F ("FFFFFFFF" for an erased channel).
bool IsPlausibleRxFre(const QString& stored);

// The damaged records among the first CHCount channels, in list order: a number outside
// 1..409, a number an earlier record already has, a frequency text IsPlausibleRxFre refuses.
QList<DamagedChannel> DamagedChannels(const RadioDataRec& data, const ChannelList& channels);

// The damaged records as one list for a message, the first few of them by name; texts 9853 to
// 9855 and 9857.
QString DamagedChannelsText(const QList<DamagedChannel>& damaged);
// Text 9856: a write refuses the data.
QString RefusedWriteText();
