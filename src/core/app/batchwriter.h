#pragma once

// Writing one document into a batch of radios, one after the other, driven by the radios
// alone: it waits for a radio on the port (asking who it is about once a second), reads its
// information (serial number, mode), refuses a radio of another model, country mode or firmware,
// optionally keeps a backup of its old contents, writes, reads back to verify, logs the radio,
// and then waits for that radio to go away (no answer) before it takes the next one, so that
// the same radio is never written twice by accident. The port is opened anew for every
// exchange: a re-plugged cable or a restarted radio may come back as a new device.
//
// Everything is event-driven on the caller's thread; the radio sessions ask nobody anything
// (a question is answered as Cancel or No, and its text becomes the reason of the failure).

#include "../files/batchlog.h"
#include "../link/memoryverify.h"

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <optional>

class ConnectionTest;
class Document;
class LinkSession;
class SerialTransport;
class BatchSessionPrompter;

enum class BatchPhase {
    Idle,
    WaitingForRadio, // no radio answers yet
    ReadingInfo,     // reading the radio's information area
    BackingUp,       // reading its old contents into a backup
    Writing,
    Verifying,
    WaitingForRemoval, // the radio is done; it must go away before the next one is taken
    Finished,
};

struct BatchSettings {
    QString port;
    QString logPath;
    QString documentPath; // the saved file of the document, named in the log
    int count = 0;        // > 0: end after this many radios were handled, whatever the result
    bool backupFirst = false;
    std::optional<QString> password; // the radios' programming password, when they have one
    int probeIntervalMs = 1000;      // how often the port is asked whether a radio is there
};

class BatchWriter : public QObject {
    Q_OBJECT
public:
    // doc is the document written into every radio; it must not change while the batch runs.
    explicit BatchWriter(Document& doc, QObject* parent = nullptr);
    ~BatchWriter() override;

    // Asked when a radio whose serial number already verified in this batch comes again: true
    // writes it once more. Without it such a radio is refused.
    void setConfirmRepeat(std::function<bool(const QString& serialNo)> confirm) {
        confirmRepeat_ = std::move(confirm);
    }

    // Asked when Stop Now comes while blocks are being written (the radio would be left half
    // written); the write goes on meanwhile. True stops it. Without it, it stops.
    void setConfirmStopWrite(std::function<bool()> confirm) {
        confirmStopWrite_ = std::move(confirm);
    }

    // Checks the log and starts waiting for the first radio. False with *error set when the
    // log cannot be written or the settings are incomplete; nothing has started then.
    bool start(const BatchSettings& settings, QString* error = nullptr);
    // Ends the batch when the radio being written is done (at once when none is).
    void stopAfterCurrent();
    // Ends the batch at once: a running exchange is stopped as Cancel stops it (the radio is
    // told to leave programming mode, the port closes) and the radio is logged as failed.
    void stopNow();

    BatchPhase phase() const { return phase_; }
    bool running() const { return phase_ != BatchPhase::Idle && phase_ != BatchPhase::Finished; }
    bool stopRequested() const { return stopAfterCurrent_; }
    int handled() const { return handled_; }
    int verified() const { return verified_; }
    // Radios that did not verify (refused, failed, differed).
    int notVerified() const { return handled_ - verified_; }
    // The batch ended because its log took no more lines.
    bool logFailed() const { return logFailed_; }
    const BatchSettings& settings() const { return settings_; }
    // The serial number of the radio being handled (empty when none or unknown).
    QString currentSerial() const { return entry_.serialNo; }
    // The SHA-256 of the memory image every radio gets, hexadecimal.
    QString imageSha256() const { return imageSha256_; }

signals:
    void phaseChanged(BatchPhase phase);
    // Percent of the current read, write or verify.
    void progress(int percent);
    // A radio was handled and its line is in the log.
    void radioDone(const BatchLogEntry& entry);
    // The batch ended: error is empty after the count was reached or a stop; otherwise why it
    // had to end (the log could not be written).
    void finished(const QString& error);

private:
    void setPhase(BatchPhase phase);
    void probe();
    void scheduleProbe();
    void onProbed(bool answered);
    void takeRadio();
    void onInfoRead(bool ok);
    void startBackup();
    void onBackupRead(bool ok);
    void startWrite();
    void onWritten(bool ok);
    void onVerified(bool completed, const QVector<MemoryDifference>& differences);
    void finishRadio(BatchOutcome outcome, const QString& reason);
    void finishBatch(const QString& error);
    // The reason the last session gave for failing, or fallback.
    QString sessionReason(const QString& fallback) const;

    Document& doc_;
    std::unique_ptr<Document> scratch_; // takes the information and backup reads
    std::unique_ptr<BatchSessionPrompter> prompter_;
    std::unique_ptr<SerialTransport> readTransport_, writeTransport_;
    std::unique_ptr<LinkSession> readSession_, writeSession_;
    std::unique_ptr<ConnectionTest> probe_;
    std::function<bool(const QString&)> confirmRepeat_;
    std::function<bool()> confirmStopWrite_;
    bool askingStop_ = false; // the stop question is open

    BatchSettings settings_;
    BatchPhase phase_ = BatchPhase::Idle;
    BatchLogEntry entry_;
    QString imageSha256_;
    QSet<QString> verifiedSerials_;
    QTimer probeTimer_;
    QElapsedTimer sinceProbe_;
    int handled_ = 0;
    int verified_ = 0;
    bool stopAfterCurrent_ = false;
    bool stoppingNow_ = false;
    bool logFailed_ = false;
};
