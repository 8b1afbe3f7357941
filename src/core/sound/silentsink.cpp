#include "silentsink.h"

#include <QIODevice>
#include <QTimer>

namespace sound {

SilentSink::SilentSink(int bytesPerSecond, QObject* parent)
    : QObject(parent), bytesPerSecond_(bytesPerSecond), timer_(new QTimer(this)) {
    timer_->setTimerType(Qt::PreciseTimer);
    timer_->setInterval(20);
    connect(timer_, &QTimer::timeout, this, &SilentSink::pull);
}

void SilentSink::start(QIODevice* source) {
    stop();
    source_ = source;
    consumed_ = 0;
    clock_.start();
    timer_->start();
}

void SilentSink::stop() {
    timer_->stop();
    source_ = nullptr;
}

bool SilentSink::isActive() const {
    return timer_->isActive();
}

void SilentSink::pull() {
    if (!source_) {
        stop();
        return;
    }
    // Everything that a real output would have played by now; whole samples only.
    qint64 due = clock_.elapsed() * bytesPerSecond_ / 1000 - consumed_;
    due -= due % 2;
    char scratch[4096];
    while (due > 0) {
        const qint64 n = source_->read(scratch, std::min<qint64>(due, sizeof scratch));
        if (n <= 0) break;
        consumed_ += n;
        due -= n;
    }
    if (source_->atEnd()) {
        stop();
        emit finished();
    }
}

} // namespace sound
