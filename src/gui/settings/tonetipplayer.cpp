#include "tonetipplayer.h"

#include "core/sound/silentsink.h"
#include "core/sound/tippcmdevice.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QMediaDevices>
#include <QTimer>
#include <limits>

ToneTipPlayer::ToneTipPlayer(QObject* parent) : QObject(parent), drain_(new QTimer(this)) {
    drain_->setInterval(10);
    connect(drain_, &QTimer::timeout, this, &ToneTipPlayer::checkDrained);
}

ToneTipPlayer::~ToneTipPlayer() {
    stop();
    // The stopped sinks go before the sample devices they were reading.
    qDeleteAll(findChildren<QAudioSink*>(Qt::FindDirectChildrenOnly));
}

QAudioDevice ToneTipPlayer::outputDevice() {
    return QMediaDevices::defaultAudioOutput();
}

bool ToneTipPlayer::play(const ToneTipRec& tip) {
    stop();
    if (!sound::TipPlays(tip)) return false;
    pcm_ = new sound::TipPcmDevice(tip, sound::SampleRate, this);
    pcm_->open(QIODevice::ReadOnly);
    if (!forceSilent_ && startAudible()) return true;
    silent_ = new sound::SilentSink(sound::SampleRate * sound::BytesPerSample, this);
    connect(silent_, &sound::SilentSink::finished, this, &ToneTipPlayer::end);
    silent_->start(pcm_);
    return true;
}

bool ToneTipPlayer::startAudible() {
    const QAudioDevice device = outputDevice();
    if (device.isNull()) return false;
    QAudioFormat format;
    format.setSampleRate(sound::SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    auto* sink = new QAudioSink(device, format, this);
    // A fifth of a second in hand, so that a busy computer does not break up the tip. Stop
    // is not delayed by it: stopping drops what the output still holds.
    sink->setBufferSize(format.bytesForDuration(200000));
    connect(sink, &QAudioSink::stateChanged, this, &ToneTipPlayer::sinkStateChanged);
    sink_ = sink;
    sink->start(pcm_);
    if (sink->error() == QAudio::NoError && sink->state() != QAudio::StoppedState) return true;
    // It failed to start: it is only deleted, never asked anything again.
    sink->disconnect(this);
    sink_ = nullptr;
    sink->deleteLater();
    emit outputFailed();
    return false;
}

void ToneTipPlayer::sinkStateChanged() {
    if (!sink_) return;
    const QAudio::State state = sink_->state();
    if (state == QAudio::IdleState && pcm_ && pcm_->atEnd()) {
        // Every sample has been handed over, but the output still holds up to a buffer of
        // them: stopping now would cut the end off. The end comes when the output has played
        // them all, or at the latest once a whole buffer's time has passed.
        if (!drain_->isActive()) {
            idleSince_.start();
            drain_->start();
        }
    } else if (state == QAudio::StoppedState && sink_->error() != QAudio::NoError) {
        // The output went away in the middle (a device unplugged): the playback is over.
        end();
    }
}

void ToneTipPlayer::checkDrained() {
    if (!sink_ || !pcm_) return end();
    const QAudioFormat f = sink_->format();
    const qint64 totalUs = f.durationForFrames(static_cast<qint32>(
        std::min<qint64>(pcm_->totalSamples(), std::numeric_limits<qint32>::max())));
    const qint64 bufferMs = f.durationForBytes(static_cast<qint32>(sink_->bufferSize())) / 1000;
    // The output counts what it was handed, not what was heard: the last samples still sit in
    // the sound server's own buffer. Stopping at once would cut the last note (by some 40 ms),
    // so it is given the time to play them.
    constexpr qint64 TailMs = 150;
    if (sink_->processedUSecs() >= totalUs && !handedOver_.isValid()) handedOver_.start();
    if ((handedOver_.isValid() && handedOver_.elapsed() >= TailMs) ||
        idleSince_.elapsed() > bufferMs + 200 + TailMs)
        end();
}

void ToneTipPlayer::end() {
    if (!isPlaying()) return;
    stop();
    emit finished();
}

void ToneTipPlayer::stop() {
    drain_->stop();
    handedOver_.invalidate();
    if (QAudioSink* sink = sink_) {
        sink_ = nullptr;
        sink->disconnect(this);
        sink->stop();
        // Not deleted here: stop() may run inside the sink's own signal.
        sink->deleteLater();
    }
    if (silent_) {
        silent_->stop();
        silent_->deleteLater();
        silent_ = nullptr;
    }
    if (sound::TipPcmDevice* pcm = pcm_) {
        pcm_ = nullptr;
        // Deleted after the sink, which was told to go first.
        pcm->deleteLater();
    }
}

bool ToneTipPlayer::isAudible() const {
    return !sink_.isNull();
}

bool ToneTipPlayer::isPlaying() const {
    return sink_ || silent_;
}

qint64 ToneTipPlayer::samplesRendered() const {
    return pcm_ ? pcm_->samplesRendered() : 0;
}
