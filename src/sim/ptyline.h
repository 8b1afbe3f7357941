#pragma once

// The radio's end of the line: the master side of a pseudo-terminal. Bytes can be sent at
// given times, so that the far end sees them as a real serial line would deliver them.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <deque>

class QSocketNotifier;

class PtyLine : public QObject {
    Q_OBJECT
public:
    explicit PtyLine(QObject* parent = nullptr);
    ~PtyLine() override;

    // Opens the pseudo-terminal.
    bool open(QString* error);
    QString devicePath() const { return device_; }

    // Monotonic time in nanoseconds.
    static qint64 now();
    // Sends bytes: at once when due is 0, else each byte at its own due time.
    void send(const QByteArray& bytes);
    void sendAt(char byte, qint64 dueNs);
    bool idle() const { return queue_.empty() && out_.isEmpty(); }

signals:
    void received(const QByteArray& bytes, qint64 atNs);
    // Everything queued has been written.
    void drained();

private:
    void onReadable();
    void onTimer();
    void flush();
    void arm();

    int master_ = -1;
    int slave_ = -1; // kept open so that the master never sees a hang-up between sessions
    int timer_ = -1;
    QString device_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QSocketNotifier* timerNotifier_ = nullptr;
    struct Due {
        qint64 at;
        char byte;
    };
    std::deque<Due> queue_;
    QByteArray out_;
};
