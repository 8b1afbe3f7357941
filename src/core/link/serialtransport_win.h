#pragma once

// The serial line on a Windows COM port: 9600 baud, 8 data bits, no parity, one stop bit, no
// flow control, opened exclusively with overlapped I/O.
//
// Reading never waits for a modem event: one overlapped ReadFile of a single byte stays
// pending (the COM timeouts are all zero, so it completes when a byte has come, however long
// that takes); when it completes, what else is queued (ClearCommError) is read at once, and
// the next single-byte read is started. The completion is seen on the event loop through
// QWinEventNotifier, so there is no thread and no polling. The session's own reply timer
// decides when the radio is late. This needs neither WaitCommEvent nor modem lines, which
// USB cables and Wine's COM ports on pseudo-terminals treat differently.

#include "lowlatency.h"
#include "transport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <memory>

class VirtualRadio;

class SerialTransport : public LinkTransport {
    Q_OBJECT
public:
    explicit SerialTransport(const QString& port = QString(), QObject* parent = nullptr);
    ~SerialTransport() override;

    // COMn (a \\.\ prefix is added when opening).
    void setPort(const QString& port) { port_ = port; }
    QString port() const { return port_; }

    bool open(QString* why) override;
    void close() override;
    bool isOpen() const override;
    void clear() override;
    void send(const QByteArray& bytes) override;
    QByteArray takeAll() override;

    // The latency timer of a USB adapter is a driver setting on Windows, never changed by
    // opening a port (the doctor reads it).
    LowLatency lowLatency() const { return isOpen() ? LowLatency::Refused : LowLatency::NotAsked; }
    // The port as opened (COMn): Windows opens a COM port exclusively, so it is its own lock.
    QString devicePath() const { return device_; }

    struct Io; // the overlapped requests (serialtransport_win.cpp)

private:
    bool openVirtualRadio();
    void feedVirtualRadio(const QByteArray& bytes);

    void startRead();
    void readDone();
    void startWrite();
    void writeDone();
    void fail(unsigned long error);

    QString port_, device_;
    std::unique_ptr<Io> io_;
    // The port InProcessRadio::portName(): the virtual radio answers inside this process.
    std::unique_ptr<VirtualRadio> radio_;
    QByteArray in_, out_;
    QElapsedTimer clock_;
    bool lost_ = false;
};

// The sentence for a COM port that did not open, from the system's error code.
QString DescribeComOpenFailure(const QString& port, unsigned long error);
