#pragma once

// The virtual radio on its line: echo, pacing like a real 8N1 line, injected faults, and the
// memory saved after each session.

#include "core/link/virtualradio.h"
#include "simoptions.h"

#include <QObject>
#include <random>

class PtyLine;

class SimRadio : public QObject {
    Q_OBJECT
public:
    SimRadio(const SimOptions& options, PtyLine& line, QObject* parent = nullptr);

    // Loads --image and --info; false with *error set when a file is missing or of the wrong
    // size.
    bool load(QString* error);

    // The power switch. A radio switched off answers nothing and forgets a half-received frame;
    // with --serial-series, switching on after off makes it the next radio of the series: the
    // next serial number, the memory and information area it started with, and the mode and bad
    // memory cell set for it by the control commands.
    void switchOff();
    void switchOn();
    void togglePower() { powered_ ? switchOff() : switchOn(); }
    bool powered() const { return powered_; }
    QString serialNo() const { return serial_; }
    // A control line (off, on, mode N, corrupt-memory ADDR|none); false with *error set when it
    // is not one.
    bool control(const QString& line, QString* error);

signals:
    // The radio was switched off or on: "off" or "on SERIAL".
    void powerChanged(const QString& text);
    // --sessions is reached and every reply has been written.
    void finished();

private:
    void onReceived(const QByteArray& bytes, qint64 atNs);
    void handle(const VirtualRadio::Exchange& ex, qint64 frameEndNs);
    void queueBytes(const QByteArray& bytes, qint64 earliestNs);
    bool chance(double p);
    void saveMemory();
    // The password and the refused writes of the options, on a radio just made.
    void setUpRadio();
    void putSerial();
    void finish();
    void log(const char* direction, const QByteArray& bytes) const;

    SimOptions opt_;
    PtyLine& line_;
    VirtualRadio radio_;
    std::mt19937 rng_;
    qint64 byteNs_ = 0; // time of one byte on the line, 0 without pacing
    qint64 rxFree_ = 0; // when the line from the program is free again
    qint64 txFree_ = 0; // when the line to the program is free again
    bool finishing_ = false;
    bool powered_ = true;
    QString serial_; // the serial number of the radio now on the line (--serial-series)
    // What the next radio of the series is given (the control commands).
    int nextMode_ = 0;
    int nextCorruptMemory_ = -1;
};
