#pragma once

// Comparing what was written to the radio with what it holds afterwards. Only what the memory
// map gives a meaning to is compared, bit by bit: bytes the map does not list, byte 9 of a
// channel, the public channel's frequency bytes, the last four bytes of each tone-tip stretch,
// the bytes of channels that are not present, and the 0xFF padding after a DTMF code are left
// out, since a radio need not keep them as written.

#include "membuf.h"

#include <QMetaType>
#include <QString>
#include <QVector>

struct MemoryDifference {
    int address = 0;
    int chNo = 0;  // 1..409 for a channel's field, 0 for a radio-wide field
    QString field; // the record field's name, e.g. "RxFre", "Beep", "KeyFun(3)"
    std::uint8_t sent = 0;
    std::uint8_t got = 0;
};

// Every field that differs, in address order; a field spread over several bytes is listed once.
QVector<MemoryDifference> CompareMemory(const MemBuf& sent, const MemBuf& got);

// How many bytes differ without a difference that CompareMemory lists: bytes the memory map
// gives no meaning, padding, and the bytes of channels that are not present.
int CountMeaninglessDifferences(const MemBuf& sent, const MemBuf& got);

// "channel 5: RxFre, Tx_Power; Beep; KeyFun(3)". channelWord is the translated word for
// "channel" (a %1 in it takes the number).
QString DescribeDifferences(const QVector<MemoryDifference>& differences,
                            const QString& channelWord = QStringLiteral("channel %1"));

// The channels among the differences, ascending, each once.
QVector<int> DifferingChannels(const QVector<MemoryDifference>& differences);

Q_DECLARE_METATYPE(MemoryDifference)
