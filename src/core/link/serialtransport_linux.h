#pragma once

// The serial line on a real port (or a pseudo-terminal): 9600 baud, 8 data bits, no parity,
// one stop bit, no flow control.

#include "lowlatency.h"
#include "transport.h"

#include <QSerialPort>

class SerialTransport : public LinkTransport {
    Q_OBJECT
public:
    explicit SerialTransport(const QString& port = QString(), QObject* parent = nullptr);

    // A device path or COMn.
    void setPort(const QString& port) { port_ = port; }
    QString port() const { return port_; }

    bool open(QString* why) override;
    void close() override;
    bool isOpen() const override;
    void clear() override;
    void send(const QByteArray& bytes) override;
    QByteArray takeAll() override;
    QString sharedWith() const override;

    // What the driver answered to the request for low latency at the last opening.
    LowLatency lowLatency() const { return lowLatency_; }
    // The device the port opened: the target of a link, so that every name of one device
    // shares one lock.
    QString devicePath() const { return device_; }

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort serial_;
    QString port_;
    QString device_;
    LowLatency lowLatency_ = LowLatency::NotAsked;
    bool lost_ = false;
};
