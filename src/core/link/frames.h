#pragma once

// Everything that travels over the line: the five requests, the checksum, and the recognition
// of a reply. Numbers on the wire are big-endian (address high byte first).

#include "membuf.h"

#include <QByteArray>
#include <QString>

// Reply lengths awaited after each request, not counting the cable's echo.
constexpr int ProgramReplyLen = 3;
constexpr int IdentReplyLen = 16;
constexpr int AckReplyLen = 1;
constexpr int WriteBlockLen = BlockSize + 6;
constexpr int DataReplyLen(int count) {
    return count + 6;
}

QByteArray ProgramRequest();
QByteArray IdentRequest();
QByteArray ReadRequest(int address, int count = BlockSize);
// "W", address, 0x10, the 16 bytes of mem at address, checksum, 0x06.
QByteArray WriteBlockFrame(const MemBuf& mem, int address);
QByteArray EndRequest();

// The checksum of a write block or data-block reply is the low byte of the sum of the bytes
// from index from up to the third byte from the end; it stands in the second byte from the end.
// from is 1 for a frame the program builds and EchoLen + 1 for a received one.
void SetChecksum(QByteArray& frame, int from);
bool VerifyChecksum(const QByteArray& frame, int from);

enum class ReplyKind {
    Ignored,
    Acknowledge,
    Resend,
    ProgramAccepted,
    Identification,
    PasswordBlock,
    DataBlock,
};

// Recognises a reply already cut to the awaited length (echo included). The tests are tried in
// a fixed order and the first that holds decides; the echo bytes are never compared.
// waitingPassBlock: the session is at its password-block step.
ReplyKind ClassifyReply(const QByteArray& reply, int echoLen, int commAddr, bool waitingPassBlock,
                        int blockSize = BlockSize);

struct RadioIdentity {
    QString ModelName;   // up to the first 0x00, trimmed
    int CountryMode = 0; // the raw byte
    QString Version;     // up to the first 0x00
    int ToneSupport = 0; // bit 0 of the feature byte
};

// Reads the fields of an identification reply that starts at reply[echoLen].
RadioIdentity ParseIdentification(const QByteArray& reply, int echoLen);

// An address as the messages and the wire log write it: "0x1CF0".
QString HexAddress(int address);

// Total time of a frame of n bytes on an 8N1 line at the given baud rate, in seconds.
constexpr double WireSeconds(qint64 bytes, int baud = 9600) {
    return static_cast<double>(bytes) * 10.0 / baud;
}
