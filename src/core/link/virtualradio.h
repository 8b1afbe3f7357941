#pragma once

// The radio's side of the protocol, without any line: it takes the bytes the program sends and
// gives the replies the radio would give. mzsim puts it on a pseudo-terminal; tests put it
// behind an in-process transport.

#include "membuf.h"

#include <QByteArray>
#include <QVector>
#include <functional>

struct VirtualRadioConfig {
    QByteArray Model = QByteArrayLiteral("MZ-710");
    int Mode = 0;
    QByteArray Firmware = QByteArrayLiteral("V100");
    bool ToneSupport = true;
};

class VirtualRadio {
public:
    enum class FrameKind { Program, Ident, Read, Write, End };
    struct Exchange {
        FrameKind kind = FrameKind::Program;
        QByteArray request;
        QByteArray reply; // empty: the radio stays silent
        int address = -1;
        bool stored = false; // a write block that changed the memory
    };

    explicit VirtualRadio(const VirtualRadioConfig& config = {});

    VirtualRadioConfig config;
    MemBuf memory{};
    InfoBuf info{};

    // Up to four characters into the password bytes; empty means no password (0xFF bytes).
    void setPassword(const QByteArray& password);
    // A filled-in information area for a radio of the given country mode, without password.
    static InfoBuf DefaultInfo(int mode);

    // Asked for every good write block: true answers it with resend instead of storing it.
    std::function<bool(int address)> refuseWrite;

    // Takes bytes from the line at time nowMs and returns the frames completed by them. A frame
    // left incomplete for more than half a second is dropped, as the radio resynchronises.
    QVector<Exchange> feed(const QByteArray& bytes, qint64 nowMs);
    bool programming() const { return programming_; }
    int sessionsEnded() const { return sessionsEnded_; }

private:
    bool takeFrame(Exchange& ex);
    QByteArray dataReply(int address, int count) const;
    QByteArray identReply() const;
    QByteArray writeReply(const QByteArray& frame, int address, int count, bool& stored);

    QByteArray pending_;
    qint64 lastByteMs_ = 0;
    bool programming_ = false;
    int sessionsEnded_ = 0;
};
