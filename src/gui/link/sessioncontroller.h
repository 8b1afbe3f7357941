#pragma once

// The main window's Read, Write and radio-information commands, run through the one link
// session of the program's run on the port the user chose. The session keeps what must
// outlive a single exchange (the cable's echo behaviour, the password typed).

#include "core/link/serialtransport.h"
#include "core/link/session.h"

#include <QObject>
#include <QPointer>
#include <memory>

class FrmProgress;
class SessionWindow;
class WireLog;

class SessionController : public QObject, private PasswordAsker {
    Q_OBJECT
public:
    // Attaches itself to the window: its session commands, its password and its exit.
    explicit SessionController(SessionWindow& main, QObject* parent = nullptr);
    ~SessionController() override;

    LinkSession& session() { return session_; }
    const SerialTransport& transport() const { return transport_; }

    // A session of the kind (1 read, 2 write, 3 radio-information read). A read or write
    // returns when the progress window has closed; a radio-information read returns at once.
    void start(CommKind commMode);

private:
    std::optional<QString> askPassword(const QString& current) override;
    void runTransfer(CommKind commMode);
    // Cancel in the progress window: a read stops at once, a write after the user agrees.
    void stopTransfer();
    // After a read or write ran: what the user is told of how it ended, and for a write that
    // succeeded, the check or the one closing message.
    void tellTransferEnd(CommKind commMode);
    void updateRunning();
    void onHandOver(const QString& radioVersion);
    void onRadioInfoRead();
    // The copy of what the radio held, made as soon as a read has succeeded.
    void saveBackup();
    // After a successful write: the radio is read back and compared.
    void runVerify();
    void onVerified(bool completed, const QVector<MemoryDifference>& differences);
    // The wire log of one command (a write and its verify share one); kept only while the
    // setting is on.
    void openWireLog(CommKind commMode);
    void closeWireLog();

    // The window while it lives (its widget is watched: the window may go first).
    SessionWindow* shell() const { return window_ ? main_ : nullptr; }
    SessionWindow* main_;
    QPointer<QWidget> window_;
    SerialTransport transport_;
    LinkSession session_;
    FrmProgress* progress_ = nullptr;
    // A read succeeded and its data reaches the document only after the read-apply delay:
    // no new session may start in between.
    bool applyPending_ = false;
    // A write of this run ended among its blocks and none has succeeded since.
    bool radioPartlyWritten_ = false;
    bool writeSucceeded_ = false;
    bool verifyStopped_ = false; // the user cancelled the check after a write
    bool askingStop_ = false;    // the question whether to stop a write is open
    std::unique_ptr<WireLog> log_;
    bool logUsed_ = false; // a session ran while the log was open
};
