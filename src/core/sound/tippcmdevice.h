#pragma once

// The sound of a tone tip as a read-only QIODevice that renders its samples only when they are
// read, so that an audio output can pull a tip of any length while only a few milliseconds of
// it exist in memory at a time.

#include "tippcm.h"

#include <QIODevice>

namespace sound {

class TipPcmDevice : public QIODevice {
    Q_OBJECT
public:
    // A copy of the tip is taken: later edits of the document do not change a running sound.
    explicit TipPcmDevice(const ToneTipRec& tip, int sampleRate = SampleRate,
                          QObject* parent = nullptr);

    // Always unbuffered: QIODevice's own read-ahead would render 16 KiB at a time.
    bool open(OpenMode mode) override { return QIODevice::open(mode | Unbuffered); }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool atEnd() const override;

    qint64 totalSamples() const { return total_; }
    qint64 samplesRendered() const { return done_; }
    int sampleRate() const { return rate_; }

protected:
    qint64 readData(char* data, qint64 maxlen) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QVector<TipSegment> segments_;
    int rate_;
    qint64 total_ = 0;
    qint64 done_ = 0;
    // Where the next sample comes from.
    int segment_ = 0;
    qint64 offset_ = 0;
};

} // namespace sound
