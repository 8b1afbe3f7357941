#pragma once

// The serial line as the session sees it. The real one is a serial port; tests use a radio
// that lives in the same process.

#include <QByteArray>
#include <QObject>
#include <QString>

class LinkTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Opens the line. On failure *why gets one sentence that tells the user what to do.
    virtual bool open(QString* why) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Empties what waits to be sent, then what was received and not yet taken.
    virtual void clear() = 0;
    virtual void send(const QByteArray& bytes) = 0;
    virtual QByteArray takeAll() = 0;
    // Another program that has the line open as well, and takes the radio's replies or closes
    // the line under us: one sentence naming it, empty when there is none or the system cannot
    // tell. Asked when the radio seems silent or the line dies.
    virtual QString sharedWith() const { return {}; }

signals:
    // Bytes arrived; they come in chunks of any size.
    void dataArrived();
    // The line died (cable pulled, radio switched off, far end closed). The transport has
    // closed itself already and says so only once per opening. unplugged: the device itself
    // went away (a USB cable pulled out), not just the radio.
    void lineLost(const QString& reason, bool unplugged);
};
