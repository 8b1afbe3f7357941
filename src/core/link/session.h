#pragma once

// One complete exchange with the radio: a read of its main memory, a write of the document
// into it, or a read of its information area. The session is a step machine driven by the
// replies and by one 150 ms reply timer; nothing polls, sleeps or blocks.
//
// How a window drives it (a command-line tool does the same without the questions):
//   read:  PrepareSession(CommKind::Read); ClosePort(); ask 9004; Cancel: CancelSession();
//          OK: show the progress window, whose loading calls StartTransfer().
//   write: the same with CommKind::Write and 9005; StartTransfer() packs the document.
//   info:  PrepareSession(CommKind::Info); StartTransfer().
//   identify: Start(CommKind::Identify); asks nothing and shows nothing: on sessionEnded the
//          radio's identity (RadioModelName ...) or IdentifyFailure() tells the result.
// The progress window follows progress() and closes on transferEnded(). A read hands over
// what it read (ReadImage) only after success (readReady) and never changes the Document:
// whoever drives the session adopts the image. One session object lives for the whole run:
// NoEcho and ProgPassword outlive sessions.
//
// The session is kept in parts: the steps every kind goes through (sessionsteps.h, with the
// time-outs), the replies (sessionreplies.cpp), the questions to the user
// (sessionquestions.cpp), and here the commands, the requests and the end.

#include "../model/records.h"
#include "membuf.h"
#include "memoryverify.h"

#include "commkind.h"
#include "sessionsteps.h"
#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>

#include <QString>
#include <QTimer>
#include <QVector>
#include <optional>

class Document;
class LinkTransport;
class Prompter;
class WireLog;

// The password dialog, shown by whoever drives the session (a window, a terminal prompt).
class PasswordAsker {
public:
    virtual ~PasswordAsker() = default;
    // Shows current; returns the text typed on OK, nothing on Cancel.
    virtual std::optional<QString> askPassword(const QString& current) = 0;
};

class LinkSession : public QObject {
    Q_OBJECT
public:
    static constexpr int ReplyTimeoutMs = 150;
    static constexpr int Retries = 3;
    // The radio drops a frame it received only in part after half a second of silence. A
    // request sent again before that joins the stale fragment and fails too, so after a
    // time-out or a resend request the line is left quiet this long since the last request.
    static constexpr int ResyncQuietMs = 600;
    // The 8-bit checksum lets two errors of opposite sign through. A read that saw the line
    // damage or lose replies reads the memory a second time, and a block whose reads differ is
    // read until two reads agree, at most this many times.
    static constexpr int BlockReadings = 6;

    explicit LinkSession(Document& doc, QObject* parent = nullptr);
    ~LinkSession() override;

    void setTransport(LinkTransport* transport); // not owned
    LinkTransport* transport() const { return transport_; }
    // Null: the document's prompter.
    void setPrompter(Prompter* prompter) { prompter_ = prompter; }
    void setPasswordAsker(PasswordAsker* asker) { asker_ = asker; }
    // The ReadOKTimer interval (500 ms); 0 hands a read over at once when it ends.
    void setReadApplyDelay(int ms) { readApplyDelay_ = ms; }
    // Every frame and event of the following sessions goes to log (not owned); null: none.
    void setWireLog(WireLog* log) { log_ = log; }
    WireLog* wireLog() const { return log_; }

    // --- Commands ---
    // Sets the kind and opens the port (OpenCommPort). False, with message 9003 shown, when the
    // port cannot be opened or a session is already running. A write of a document with
    // damaged channel records (channelcheck.h) is refused, with the records named.
    bool PrepareSession(CommKind kind);
    // Cancel at the confirmation question: the port is closed and no session runs.
    void CancelSession();
    // Starts the prepared session: clears the buffers (and packs the document for a write),
    // opens the port if it is closed and sends the programming request.
    bool StartTransfer();
    // PrepareSession + StartTransfer, for callers that ask no confirmation.
    bool Start(CommKind kind);
    // After a successful write: a read of the radio's main memory that replaces nothing but is
    // compared with what the write sent (verifyFinished). PrepareVerify opens the port like
    // PrepareSession; StartTransfer then runs it. False when no write has succeeded yet.
    bool PrepareVerify();
    bool StartVerify() { return PrepareVerify() && StartTransfer(); }
    bool verifying() const { return verifying_; }
    // The memory the last successful write sent.
    const MemBuf& writtenMemory() const { return written_; }
    // After a verify that found no difference that matters: how many bytes without meaning
    // (padding, bytes of absent channels) the radio holds otherwise than written.
    int meaninglessDifferences() const { return meaningless_; }
    // What the last write did to the radio's memory; kept through its verify until the next
    // write starts, so that an interrupted command can say what the radio holds.
    enum class WriteReach { Untouched, Partly, Complete };
    WriteReach writeReach() const { return writeReach_; }
    // The image a successful read hands over (ready on readSucceeded, handed over on
    // readReady): the document's records with the read's header, channels and radio-wide
    // fields.
    void ReadImage(RadioDataRec& data, ChannelList& channels) const;
    // Session set-up and opening of the port (closed first when it is open).
    bool OpenCommPort();
    void ClosePort();
    // The user stops a running read or write (Cancel in the progress window): the radio is told
    // to leave programming mode, the port closes and the session ends as failed, so a read
    // leaves the document as it was. False when nothing is left to stop (no transfer, or every
    // block has moved and only the end request is outstanding).
    bool StopTransfer();
    // A write has begun to change the radio's memory (its first block is on the way).
    bool WritingBlocks() const {
        return commMode_ == CommKind::Write && commSubStep_ == StepWriteAck;
    }
    // The CommStep or CommSubStep of the kind running (CommSubStep for a write).
    int currentStep() const { return commMode_ == CommKind::Write ? commSubStep_ : commStep_; }
    // The program is closing (or the command was interrupted): a running session ends at once,
    // the radio is told to leave programming mode and the port closes. Nothing is asked or
    // shown; writeReach() tells what a write left in the radio.
    void AbortSession();

    // How the last session ended: Done, Cancelled (StopTransfer, AbortSession) or Failed, with
    // the reason in the wire log's words. The wire log's last line of a session says the same.
    enum class Outcome { None, Done, Cancelled, Failed };
    Outcome lastOutcome() const { return outcome_; }
    QString lastFailure() const { return failureReason_; }
    // Where a stopped write stood when the user stopped it, in percent.
    int stoppedAtPercent() const { return stoppedAt_; }
    // Changes when a session starts and when it ends: an answer the user gave to a question
    // about one session means nothing once this has changed.
    quint64 runId() const { return generation_; }
    // Whether a successful write says so itself (9010). A driver that reads the radio back
    // afterwards turns this off and says the outcome once, after the check.
    void setTellWriteSuccess(bool tell) { tellWriteSuccess_ = tell; }

    // The password command of the main window stores the typed password here.
    void SetProgPassword(const QString& typed);
    QString ProgPassword() const { return progPassword_; }

    // --- State, for windows and tests ---
    CommKind CommMode() const { return commMode_; }
    int CommStep() const { return commStep_; }
    int CommSubStep() const { return commSubStep_; }
    int CommAddr() const { return commAddr_; }
    int CommEndAddr() const { return commEndAddr_; }
    bool CommActive() const { return commActive_; }
    bool NoEcho() const { return noEcho_; }
    void SetNoEcho(bool v) { noEcho_ = v; }
    int EchoLen() const { return echoLen_; }
    int HandshakeTries() const { return handshakeTries_; }
    int PassBlockRetries() const { return passBlockRetries_; }
    int identRetries() const { return identRetries_; }
    int BlockRetries(int address) const;
    // The blocks the last read (or verify) read more than once to be sure of them.
    int rereadBlocks() const { return rereads_; }
    int LastPercent() const { return lastPercent_; }
    QString RadioModelName() const { return radioModelName_; }
    int RadioCountryMode() const { return radioCountryMode_; }
    QString RadioVersion() const { return radioVersion_; }
    int RadioToneSupport() const { return radioToneSupport_; }
    const MemBuf& memBuf() const { return memBuf_; }
    const InfoBuf& infoBuf() const { return infoBuf_; }
    bool isRunning() const { return commMode_ != CommKind::None; }
    // Why the last identification failed, naming the step; empty after success.
    QString IdentifyFailure() const { return identifyFailure_; }

signals:
    void sessionStarted(CommKind kind);
    void progress(int percent);
    // A write is about to send its first block: from now on the radio holds neither its old
    // memory nor the document until the write has succeeded.
    void writeBegun();
    // A read or write has finished its exchange: the progress window closes here, before the
    // closing message.
    void transferEnded(bool ok);
    // A read succeeded: the editor windows close now; readReady follows after the read-apply
    // delay, when the driver adopts ReadImage into the document.
    void readSucceeded();
    void readReady();
    // A radio-information read succeeded and the document's RadioInfo holds the radio's record.
    void radioInfoRead();
    // Yes to the firmware-version question: the driver starts the matching program version and,
    // when one was started, leaves through its normal exit sequence.
    void handOverRequested(const QString& radioVersion);
    void sessionEnded(bool ok, CommKind kind);
    // A verifying read ended (just before sessionEnded): completed is false when it failed or
    // was cancelled; otherwise differences lists every field the radio holds otherwise than
    // written (empty: verified).
    void verifyFinished(bool completed, const QVector<MemoryDifference>& differences);

private:
    // Why the requests of the current step have not been answered so far: the radio said
    // nothing, asked for the block again, or answered with bytes that make no reply.
    // LineLoss: a block that timed out was then refused; the radio had joined a fragment of an
    // earlier request to it, so the line loses bytes.
    enum class Fault { NoAnswer, Refused, Damaged, LineLoss };

    Prompter& prompter() const;
    // Tells and returns true when the document holds damaged channel records.
    bool refuseDamagedDocument();
    void sendRequest(const QByteArray& request, int replyLen);
    void SendProgram();
    void SendIdentRequest();
    void SendReadBlock();
    void SendPassBlockRead();
    void SendWriteBlock();
    void SendEnd();
    // --- Steps (sessionsteps.cpp) ---
    void setStep(int value);
    void enterStep(const SessionStep& step);
    void SendNextBlock();
    void AdvanceSession();
    // What stands between the handshake and the data: the identity check, and for a write the
    // tone warning. False when the session ended or must end.
    bool passGate(quint64 generation);
    void failStep();
    // Ends the session as failed; logReason is what the wire log says, failureText what the
    // user is told (nothing when a question has told it already).
    void failWith(const QString& logReason, const QString& failureText = QString());
    // The fault of the current step in the wire log's words.
    QString faultReason() const;
    // The wire log's last line of a session: done, cancelled, or failed: and the reason.
    QString outcomeLine() const;
    void noteFault(Fault fault);

    // --- Questions (sessionquestions.cpp) ---
    bool CheckPassword() const;
    bool CheckRadioIdentity();
    void askPassword();
    void warnToneSupport();
    QString failureText() const;
    void EndSession(bool ok, const QString& failureText = QString());
    void FailurePrompt();
    void InfoFailurePrompt();
    void ShowProgress();
    void resendBlock(bool write);
    // Sends once the line has been quiet for ResyncQuietMs since the last request, when the
    // radio may hold a fragment of it (mayHoldFragment_); at once otherwise.
    void sendAfterQuiet(void (LinkSession::*send)());
    void onQuiet();
    // A data block of a read arrived: true when its bytes are taken (and stored); false when the
    // block is read again or the session ended.
    bool takeBlock(const QByteArray& data);
    // Whether the identification received lets this session go on, asking nothing.
    bool identityAccepted() const;
    // Whether the memory read holds only records this program could have written. An image
    // that does not is read a second time; when both reads agree the radio really holds it and
    // it is handed over. False with failureReason_ set to the text to tell.
    bool readImageSound();
    int* blockRetry();

    void onDataArrived();
    void onReply(const QByteArray& reply);
    void onPasswordBlock(const QByteArray& reply);
    void onTimeout();
    void onLineLost(const QString& reason, bool unplugged);
    void handOverRead();
    void logEvent(const QString& text);
    QString stepName() const;

    Document& doc_;
    LinkTransport* transport_ = nullptr;
    Prompter* prompter_ = nullptr;
    PasswordAsker* asker_ = nullptr;
    WireLog* log_ = nullptr;

    QTimer waitTimer_;
    QTimer quietTimer_;
    QElapsedTimer sentAt_;
    void (LinkSession::*pendingSend_)() = nullptr;
    bool lineTrouble_ = false; // this read saw a damaged, lost or refused reply
    bool confirming_ = false;  // the second reading of the memory runs
    MemBuf firstRead_{};
    QVector<int> firstPassRetries_;
    QVector<QByteArray> readings_; // what the current block read as so far
    int rereads_ = 0;
    bool blockTimedOut_ = false;
    // A whole reply came to the last request (damaged or not): the radio took the request whole
    // and holds no fragment of it, so a retry need not wait for the line to settle.
    bool wholeReply_ = false;
    bool mayHoldFragment_ = false;
    QByteArray doubtedIdent_; // an identification that did not match, until it comes again
    QTimer readOkTimer_;
    int readApplyDelay_ = 500;

    CommKind commMode_ = CommKind::None;
    int commStep_ = StepIdle;
    int commSubStep_ = StepIdle;
    int commAddr_ = 0;
    int commEndAddr_ = 0;
    bool commActive_ = false;
    bool noEcho_ = false;
    int echoLen_ = 0;
    int threshold_ = 0;
    int handshakeTries_ = 0;
    int passBlockRetries_ = Retries;
    int identRetries_ = Retries;
    Fault fault_ = Fault::NoAnswer;
    QVector<int> blockRetries_;
    int lastPercent_ = 0;
    QString radioModelName_;
    int radioCountryMode_ = 0;
    QString radioVersion_;
    int radioToneSupport_ = 0;
    QString progPassword_;
    QString identifyFailure_;
    QByteArray passBlock_;
    QByteArray rx_;
    MemBuf memBuf_{};
    InfoBuf infoBuf_{};
    MemBuf readData_{};
    int readDataMode_ = 0;
    MemBuf written_{};
    bool haveWritten_ = false;
    WriteReach writeReach_ = WriteReach::Untouched;
    int meaningless_ = 0;
    bool verifying_ = false;

    // Prompts run nested event loops; a session that ended meanwhile (the line died) must not
    // be continued by the code that asked. Every start and end of a session changes this.
    quint64 generation_ = 0;
    bool ending_ = false;
    bool aborting_ = false; // AbortSession: nothing is shown
    bool stopping_ = false; // StopTransfer: the user ended it
    bool tellWriteSuccess_ = true;
    Outcome outcome_ = Outcome::None;
    QString failureReason_;
    int stoppedAt_ = 0;
};
