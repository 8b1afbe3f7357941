#include "tippcmdevice.h"

#include <QtEndian>

namespace sound {

TipPcmDevice::TipPcmDevice(const ToneTipRec& tip, int sampleRate, QObject* parent)
    : QIODevice(parent), rate_(sampleRate) {
    if (TipPlays(tip)) {
        segments_ = TipSegments(tip, sampleRate);
        total_ = TipSampleCount(tip, sampleRate);
    }
}

qint64 TipPcmDevice::bytesAvailable() const {
    return (total_ - done_) * BytesPerSample + QIODevice::bytesAvailable();
}

bool TipPcmDevice::atEnd() const {
    return done_ >= total_ && QIODevice::bytesAvailable() == 0;
}

qint64 TipPcmDevice::readData(char* data, qint64 maxlen) {
    const qint64 want = std::min(maxlen / BytesPerSample, total_ - done_);
    qint64 n = 0;
    while (n < want) {
        const TipSegment& seg = segments_[segment_];
        const qint64 take = std::min(want - n, seg.samples - offset_);
        for (qint64 k = 0; k < take; ++k)
            qToLittleEndian<qint16>(NoteSample(seg.hz, offset_ + k, seg.samples, rate_),
                                    data + (n + k) * BytesPerSample);
        n += take;
        offset_ += take;
        if (offset_ == seg.samples) {
            offset_ = 0;
            // After the pause the next playing starts; total_ ends the last one.
            if (++segment_ == segments_.size()) segment_ = 0;
        }
    }
    done_ += n;
    return n * BytesPerSample;
}

} // namespace sound
