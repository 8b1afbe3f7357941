#pragma once

// A plain-text record of everything that crossed the serial line in a session, for a person to
// read and attach to a bug report:
//
//   # mzprog wire log, 2026-12-07 10:47:45.123 +01:00
//   10:47:45.124 TX 50 52 4F 47 52 41 4D
//   10:47:45.140 RX 50 52 4F 47 52 41 4D | 4C 4E 06
//   10:47:45.141 -- programming accepted; the cable echoes
//
// TX is a frame sent, RX a reply received (the cable's echo before the "|"), "--" an event of
// the session. The radio's password never appears: its four bytes and the checksum that would
// betray them are written as "**". Lines are formatted by hand into the file's buffer, so that
// logging costs the transfer nothing noticeable; events are flushed at once, frames with them.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>
#include <memory>

class QIODevice;

class WireLog {
public:
    // Writes to out, which must be open for writing; not owned.
    explicit WireLog(QIODevice* out);
    // Writes to a file of its own (appended to when it exists). Null with *error set when the
    // file cannot be opened or is no regular file (a FIFO, a device).
    static std::unique_ptr<WireLog> openFile(const QString& path, QString* error = nullptr);
    ~WireLog();

    WireLog(const WireLog&) = delete;
    WireLog& operator=(const WireLog&) = delete;

    QString path() const;
    // Called once, with the system's reason, when a line cannot be written (a full disk);
    // nothing more is logged then, and nothing else stops.
    void setFailureHandler(std::function<void(const QString&)> handler);
    bool failed() const { return failed_; }

    void sent(const QByteArray& frame);
    // A reply as the session took it: its first echoLen bytes are the cable's echo.
    void received(const QByteArray& reply, int echoLen);
    void event(const QString& text);
    void flush();

private:
    WireLog() = default;
    void frameLine(const char* direction, const QByteArray& bytes, int echoLen);
    void stamp(QByteArray& line) const;
    void write(const QByteArray& line);
    void fail();

    std::unique_ptr<QFile> file_;
    QIODevice* out_ = nullptr;
    QElapsedTimer clock_;
    qint64 startMsOfDay_ = 0;
    QString path_;
    bool failed_ = false;
    std::function<void(const QString&)> onFailure_;
};

// Whether a received frame is a data block from the password block's address (0x3E10): its
// password bytes and its checksum are then never written.
bool IsPasswordBlockReply(const QByteArray& reply, int echoLen);
