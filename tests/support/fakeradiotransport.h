#pragma once

// A radio in the same process, for tests of the session and of the windows that drive it:
// replies come back through the event loop like bytes from a serial port, with optional echo,
// delay, chunking and faults.

#include "core/link/transport.h"
#include "core/link/virtualradio.h"

#include <QElapsedTimer>
#include <QVector>
#include <functional>

class FakeRadioTransport : public LinkTransport {
    Q_OBJECT
public:
    // Mislead: damage that a checksum cannot see. A data block gets two data bytes changed by
    // +k and -k (k grows with every use, so no two misleading replies agree); an
    // identification gets a byte no radio sends in its model name. Misname: an identification
    // whose firmware version is damaged into another printable one ("V100" -> "V1p0").
    enum class Fault { None, Drop, Corrupt, Mislead, Misname };

    explicit FakeRadioTransport(const VirtualRadioConfig& config = {}, QObject* parent = nullptr);

    VirtualRadio radio;
    bool echo = false;    // the cable returns every byte sent
    int replyDelayMs = 0; // time from a request to its reply
    int chunkSize = 0;    // > 0: replies arrive in pieces of this many bytes
    QString openFailure;  // non-empty: open() fails with this sentence
    // Decides, for every exchange, whether its reply is lost or damaged.
    std::function<Fault(const VirtualRadio::Exchange&)> fault;
    // Called with every request the program sends (after it reached the radio).
    std::function<void(const VirtualRadio::Exchange&)> onExchange;
    QVector<VirtualRadio::Exchange> log;
    int opens = 0;

    // The line dies: the transport closes and reports it.
    void loseLine(const QString& reason, bool unplugged = false);

    bool open(QString* why) override;
    void close() override;
    bool isOpen() const override { return open_; }
    void clear() override { inbox_.clear(); }
    void send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

private:
    void deliver(const QByteArray& bytes, int delayMs);

    bool open_ = false;
    int misleads_ = 0;
    quint64 openCount_ = 0;
    QByteArray inbox_;
    QElapsedTimer clock_;
};
