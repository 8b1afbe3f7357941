#include "fakeradiotransport.h"

#include <QTimer>

FakeRadioTransport::FakeRadioTransport(const VirtualRadioConfig& config, QObject* parent)
    : LinkTransport(parent), radio(config) {
    clock_.start();
}

bool FakeRadioTransport::open(QString* why) {
    if (!openFailure.isEmpty()) {
        if (why) *why = openFailure;
        return false;
    }
    open_ = true;
    ++openCount_;
    ++opens;
    inbox_.clear();
    return true;
}

void FakeRadioTransport::close() {
    open_ = false;
    inbox_.clear();
}

void FakeRadioTransport::loseLine(const QString& reason, bool unplugged) {
    if (!open_) return;
    close();
    emit lineLost(reason, unplugged);
}

void FakeRadioTransport::deliver(const QByteArray& bytes, int delayMs) {
    if (bytes.isEmpty()) return;
    const quint64 opening = openCount_;
    QTimer::singleShot(delayMs, this, [this, bytes, opening] {
        // Bytes in flight when the port closed are lost with it.
        if (!open_ || opening != openCount_) return;
        inbox_ += bytes;
        emit dataArrived();
    });
}

void FakeRadioTransport::send(const QByteArray& bytes) {
    if (!open_) return;
    if (echo) deliver(bytes, 0);
    const auto exchanges = radio.feed(bytes, clock_.elapsed());
    for (VirtualRadio::Exchange ex : exchanges) {
        log.append(ex);
        const Fault f = fault ? fault(ex) : Fault::None;
        if (f == Fault::Drop)
            ex.reply.clear();
        else if (f == Fault::Corrupt && !ex.reply.isEmpty()) {
            // The checksum of a data block, the only byte of an acknowledge.
            const auto i = ex.reply.size() >= 2 ? ex.reply.size() - 2 : 0;
            ex.reply[i] = static_cast<char>(ex.reply[i] ^ 0x01);
        } else if (f == Fault::Mislead && ex.kind == VirtualRadio::FrameKind::Ident) {
            ex.reply[1] = static_cast<char>(ex.reply[1] | 0x80);
        } else if (f == Fault::Mislead && ex.reply.size() >= 6) {
            const int k = ++misleads_;
            ex.reply[4] = static_cast<char>(ex.reply[4] + k);
            ex.reply[5] = static_cast<char>(ex.reply[5] - k);
        } else if (f == Fault::Misname && ex.kind == VirtualRadio::FrameKind::Ident) {
            ex.reply[11] = static_cast<char>(ex.reply[11] ^ 0x40);
        }
        if (onExchange) onExchange(ex);
        if (!open_) return;
        if (chunkSize > 0) {
            for (int i = 0; i < ex.reply.size(); i += chunkSize)
                deliver(ex.reply.mid(i, chunkSize), replyDelayMs);
        } else {
            deliver(ex.reply, replyDelayMs);
        }
    }
}

QByteArray FakeRadioTransport::takeAll() {
    QByteArray b;
    b.swap(inbox_);
    return b;
}
