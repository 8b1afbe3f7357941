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

signals:
    // --sessions is reached and every reply has been written.
    void finished();

private:
    void onReceived(const QByteArray& bytes, qint64 atNs);
    void handle(const VirtualRadio::Exchange& ex, qint64 frameEndNs);
    void queueBytes(const QByteArray& bytes, qint64 earliestNs);
    bool chance(double p);
    void saveMemory();
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
};
