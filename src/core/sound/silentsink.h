#pragma once

// Stands in for an audio output that is missing or would not start: it pulls the samples from
// a device at the pace a real output would (by the clock, in steps of 20 ms) and throws them
// away, so that a playback still takes its time and ends as it would with sound.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

class QIODevice;
class QTimer;

namespace sound {

class SilentSink : public QObject {
    Q_OBJECT
public:
    // bytesPerSecond: how fast a real output would take the samples.
    explicit SilentSink(int bytesPerSecond, QObject* parent = nullptr);

    void start(QIODevice* source);
    void stop();
    bool isActive() const;
    qint64 bytesConsumed() const { return consumed_; }

signals:
    // The source has run dry (after the time its samples take to play).
    void finished();

private:
    void pull();

    int bytesPerSecond_;
    QPointer<QIODevice> source_;
    QTimer* timer_;
    QElapsedTimer clock_;
    qint64 consumed_ = 0;
};

} // namespace sound
