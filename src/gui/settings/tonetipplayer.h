#pragma once

// Plays a tone tip on the computer's default audio output through QAudioSink, pulling the
// samples from a TipPcmDevice as the output needs them: no nested event loop, nothing blocks,
// and stop() cuts the sound at once (the output's buffer is dropped, not played out).
//
// With no output device, or an output that would not start, the tip runs through a silent
// sink that keeps its timing, so that Play and Stop behave the same; a sink that failed to
// start is never called again.

#include <QAudioDevice>
#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

struct ToneTipRec;
class QAudioSink;
class QTimer;
namespace sound {
class SilentSink;
class TipPcmDevice;
} // namespace sound

class ToneTipPlayer : public QObject {
    Q_OBJECT
public:
    explicit ToneTipPlayer(QObject* parent = nullptr);
    ~ToneTipPlayer() override;

    // The computer's default audio output; a null device when it has none.
    static QAudioDevice outputDevice();

    // Starts the tip (a copy of it); false when the tip plays nothing (off, or no notes). A
    // playback still running is stopped first, so two never overlap.
    bool play(const ToneTipRec& tip);
    // Ends the sound at once.
    void stop();
    bool isPlaying() const;
    // True while the sound goes to a real output (not the silent stand-in).
    bool isAudible() const;
    // Samples handed to the output so far by the running playback.
    qint64 samplesRendered() const;

    // For tests: plays through the silent sink even when an output exists.
    void setSilent(bool silent) { forceSilent_ = silent; }

signals:
    // The tip has played to its end (not sent after stop()).
    void finished();
    // The output would not start: the tip goes on without sound.
    void outputFailed();

private:
    bool startAudible();
    void sinkStateChanged();
    void checkDrained();
    void end();

    QPointer<QAudioSink> sink_;
    sound::SilentSink* silent_ = nullptr;
    QPointer<sound::TipPcmDevice> pcm_;
    QTimer* drain_;
    QElapsedTimer idleSince_;
    QElapsedTimer handedOver_; // since the output took the last sample
    bool forceSilent_ = false;
};
