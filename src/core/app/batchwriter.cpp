#include "batchwriter.h"
#include "buildinfo.h"

#include "../files/backups.h"
#include "../lang/prompter.h"
#include "../link/connectiontest.h"
#include "../link/memorymap.h"
#include "../link/serialtransport.h"
#include "../link/session.h"
#include "../model/channelcheck.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/helpers.h"
#include "../model/version.h"

#include <QCryptographicHash>
#include <QSignalBlocker>

// The sessions of a batch ask nobody: a question is answered as it ends the session (Cancel,
// No), and the last thing a session said is the reason the log gives for its failure.
class BatchSessionPrompter : public Prompter {
public:
    QString last;
    Answer ask(const QString& text, Buttons buttons, Icon) override {
        QStringList lines;
        for (QString line : QString(text)
                                .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                .split(QLatin1Char('\n'))) {
            line = line.trimmed();
            // A question's last sentence asks what nobody answers here: the statement stays.
            if (buttons != Buttons::Ok &&
                (line.endsWith(QLatin1Char('?')) || line.endsWith(QChar(0xFF1F)))) {
                static const QString ends = QStringLiteral(".!\u3002\uFF01");
                qsizetype i = line.size() - 2;
                while (i >= 0 && !ends.contains(line.at(i)))
                    --i;
                line = line.left(i + 1).trimmed();
            }
            if (!line.isEmpty()) lines << line;
        }
        last = lines.join(QLatin1Char(' '));
        return safeAnswer(buttons);
    }
};

namespace {
// Why the batch cannot go on: its log takes no more lines.
QString logFailure(const QString& path, const QString& why) {
    return QStringLiteral("the log %1 cannot be written: %2").arg(path, why);
}
} // namespace

BatchWriter::BatchWriter(Document& doc, QObject* parent)
    : QObject(parent), doc_(doc), scratch_(std::make_unique<Document>()),
      prompter_(std::make_unique<BatchSessionPrompter>()),
      readTransport_(std::make_unique<SerialTransport>()),
      writeTransport_(std::make_unique<SerialTransport>()),
      readSession_(std::make_unique<LinkSession>(*scratch_)),
      writeSession_(std::make_unique<LinkSession>(doc_)),
      probe_(std::make_unique<ConnectionTest>()) {
    scratch_->setPrompter(prompter_.get());
    for (LinkSession* s : {readSession_.get(), writeSession_.get()}) {
        s->setPrompter(prompter_.get());
        s->setReadApplyDelay(0);
        connect(s, &LinkSession::progress, this, &BatchWriter::progress);
    }
    readSession_->setTransport(readTransport_.get());
    writeSession_->setTransport(writeTransport_.get());
    probeTimer_.setSingleShot(true);
    connect(&probeTimer_, &QTimer::timeout, this, &BatchWriter::probe);
    connect(probe_.get(), &ConnectionTest::finished, this,
            [this](bool answered) { onProbed(answered); });
    connect(readSession_.get(), &LinkSession::sessionEnded, this, [this](bool ok, CommKind kind) {
        if (phase_ == BatchPhase::ReadingInfo && kind == CommKind::Info)
            onInfoRead(ok);
        else if (phase_ == BatchPhase::BackingUp && kind == CommKind::Read)
            onBackupRead(ok);
    });
    connect(writeSession_.get(), &LinkSession::sessionEnded, this, [this](bool ok, CommKind kind) {
        if (phase_ == BatchPhase::Writing && kind == CommKind::Write) onWritten(ok);
    });
    connect(writeSession_.get(), &LinkSession::verifyFinished, this, &BatchWriter::onVerified);
}

BatchWriter::~BatchWriter() {
    // Nothing is reported any more; a radio in the middle of an exchange is still told to leave
    // programming mode.
    probeTimer_.stop();
    probe_->abort();
    for (LinkSession* s : {readSession_.get(), writeSession_.get()}) {
        const QSignalBlocker quiet(s);
        if (s->isRunning()) s->AbortSession();
    }
}

bool BatchWriter::start(const BatchSettings& settings, QString* error) {
    auto fail = [&](const QString& why) {
        if (error) *error = why;
        return false;
    };
    if (running()) return fail(QStringLiteral("the batch is running already"));
    if (settings.port.trimmed().isEmpty()) return fail(QStringLiteral("no port is set"));
    if (settings.logPath.isEmpty()) return fail(QStringLiteral("no log file is set"));
    // A document every write would refuse would only fill the log with failed radios.
    if (const QList<DamagedChannel> damaged = DamagedChannels(doc_.RadioData, doc_.CHInfo);
        !damaged.isEmpty())
        return fail(RefusedWriteText() + QLatin1Char(' ') + DamagedChannelsText(damaged));
    QString why;
    if (!BatchLog(settings.logPath).check(&why)) return fail(logFailure(settings.logPath, why));
    settings_ = settings;
    readTransport_->setPort(settings.port);
    writeTransport_->setPort(settings.port);
    for (LinkSession* s : {readSession_.get(), writeSession_.get()})
        if (settings.password) s->SetProgPassword(*settings.password);

    // Every radio gets the same memory image; its hash names it in the log.
    MemBuf mem{};
    PackMemBuf(doc_.RadioData, doc_.CHInfo, mem);
    imageSha256_ = QString::fromLatin1(
        QCryptographicHash::hash(
            QByteArrayView(reinterpret_cast<const char*>(mem.data()), qsizetype(mem.size())),
            QCryptographicHash::Sha256)
            .toHex());

    handled_ = verified_ = 0;
    verifiedSerials_.clear();
    stopAfterCurrent_ = stoppingNow_ = false;
    entry_ = {};
    setPhase(BatchPhase::WaitingForRadio);
    probe();
    return true;
}

void BatchWriter::setPhase(BatchPhase phase) {
    if (phase_ == phase) return;
    phase_ = phase;
    emit phaseChanged(phase);
}

void BatchWriter::probe() {
    if (phase_ != BatchPhase::WaitingForRadio && phase_ != BatchPhase::WaitingForRemoval) return;
    sinceProbe_.start();
    probe_->start(settings_.port);
}

void BatchWriter::scheduleProbe() {
    // About once a second from the start of the last question; a radio that does not answer
    // takes most of that second already.
    const qint64 left = settings_.probeIntervalMs - sinceProbe_.elapsed();
    probeTimer_.start(int(std::max<qint64>(0, left)));
}

void BatchWriter::onProbed(bool answered) {
    switch (phase_) {
    case BatchPhase::WaitingForRadio:
        if (answered)
            takeRadio();
        else
            scheduleProbe();
        break;
    case BatchPhase::WaitingForRemoval:
        if (answered) {
            scheduleProbe(); // the radio just done is still there
        } else {
            setPhase(BatchPhase::WaitingForRadio);
            scheduleProbe();
        }
        break;
    default:
        break;
    }
}

void BatchWriter::takeRadio() {
    // The log is checked before the radio is touched: a radio whose line cannot be written is
    // not written either.
    QString why;
    if (!BatchLog(settings_.logPath).check(&why)) {
        logFailed_ = true;
        finishBatch(logFailure(settings_.logPath, why));
        return;
    }
    entry_ = {};
    entry_.model = probe_->modelName();
    entry_.countryMode = probe_->countryMode();
    entry_.document = settings_.documentPath;
    entry_.programVersion = ProgramVersion();
    setPhase(BatchPhase::ReadingInfo);
    prompter_->last.clear();
    if (!readSession_->Start(CommKind::Info)) onInfoRead(false);
}

QString BatchWriter::sessionReason(const QString& fallback) const {
    return prompter_->last.isEmpty() ? fallback : prompter_->last;
}

void BatchWriter::onInfoRead(bool ok) {
    if (stoppingNow_) return finishRadio(BatchOutcome::Failed, QStringLiteral("stopped"));
    if (!ok)
        return finishRadio(BatchOutcome::Failed,
                           QStringLiteral("the radio's information could not be read: %1")
                               .arg(sessionReason(QStringLiteral("no answer"))));
    entry_.serialNo = TrimBlanks(scratch_->RadioInfo.SerialNo.text());
    const QString pcModel = TrimBlanks(doc_.ModelName);
    if (entry_.model != pcModel)
        return finishRadio(
            BatchOutcome::Refused,
            QStringLiteral("model %1, the document is for %2").arg(entry_.model, pcModel));
    if (entry_.countryMode != doc_.CountryMode) {
        const QString radioMode = IsValidMode(entry_.countryMode)
                                      ? ModeName(entry_.countryMode)
                                      : QString::number(entry_.countryMode);
        return finishRadio(BatchOutcome::Refused,
                           QStringLiteral("country mode %1, the document is for %2")
                               .arg(radioMode, ModeName(doc_.CountryMode)));
    }
    const QString firmware = probe_->firmware();
    if (!IsCompatible(QString::fromLatin1(DataVersion), firmware))
        return finishRadio(BatchOutcome::Refused,
                           QStringLiteral("firmware %1 is not listed as compatible with %2")
                               .arg(firmware, QString::fromLatin1(DataVersion)));
    if (!entry_.serialNo.isEmpty() && verifiedSerials_.contains(entry_.serialNo) &&
        !(confirmRepeat_ && confirmRepeat_(entry_.serialNo)))
        return finishRadio(
            BatchOutcome::Refused,
            QStringLiteral("serial number %1 already verified in this batch").arg(entry_.serialNo));
    // The question above ran an event loop: the dealer may have stopped meanwhile.
    if (stoppingNow_) return finishRadio(BatchOutcome::Failed, QStringLiteral("stopped"));
    // A line before the radio's memory is touched, pushed to the disk: a batch killed in the
    // middle of the write leaves a trace of the radio, and a full disk is found now.
    BatchLogEntry started = entry_;
    started.when = QDateTime::currentDateTime();
    started.outcome = BatchOutcome::Started;
    QString why;
    if (!BatchLog(settings_.logPath).append(started, &why)) {
        logFailed_ = true;
        return finishRadio(BatchOutcome::Failed, logFailure(settings_.logPath, why));
    }
    if (settings_.backupFirst)
        startBackup();
    else
        startWrite();
}

void BatchWriter::startBackup() {
    setPhase(BatchPhase::BackingUp);
    prompter_->last.clear();
    if (!readSession_->Start(CommKind::Read)) onBackupRead(false);
}

void BatchWriter::onBackupRead(bool ok) {
    if (stoppingNow_) return finishRadio(BatchOutcome::Failed, QStringLiteral("stopped"));
    // Without the copy that was asked for, the old contents would be lost for good: the radio
    // is not written.
    if (!ok)
        return finishRadio(BatchOutcome::Failed,
                           QStringLiteral("the radio's old contents could not be read for the "
                                          "backup: %1")
                               .arg(sessionReason(QStringLiteral("no answer"))));
    RadioDataRec data;
    ChannelList channels;
    readSession_->ReadImage(data, channels);
    QString why;
    const QString path = BackupStore().save(data, channels, QDateTime::currentDateTime(), &why);
    if (path.isEmpty())
        return finishRadio(BatchOutcome::Failed,
                           QStringLiteral("the backup could not be saved: %1").arg(why));
    entry_.backup = path;
    startWrite();
}

void BatchWriter::startWrite() {
    setPhase(BatchPhase::Writing);
    prompter_->last.clear();
    if (!writeSession_->Start(CommKind::Write)) {
        onWritten(false);
        return;
    }
    // From the first block on, the radio holds (part of) this image.
    entry_.imageSha256 = imageSha256_;
}

void BatchWriter::onWritten(bool ok) {
    if (stoppingNow_)
        return finishRadio(
            BatchOutcome::Failed,
            ok ? QStringLiteral("stopped before the verify")
            : writeSession_->writeReach() == LinkSession::WriteReach::Untouched
                ? QStringLiteral("stopped before the first block; the radio is unchanged")
                // The dealer must not hand out a radio that holds half an image.
                : QStringLiteral("stopped during the write; the radio is partly written: write "
                                 "it again before use"));
    if (!ok)
        return finishRadio(BatchOutcome::Failed, sessionReason(QStringLiteral("the write failed")));
    setPhase(BatchPhase::Verifying);
    prompter_->last.clear();
    if (!writeSession_->StartVerify())
        finishRadio(BatchOutcome::Failed,
                    QStringLiteral("the radio could not be read back: %1")
                        .arg(sessionReason(QStringLiteral("the port did not open"))));
}

void BatchWriter::onVerified(bool completed, const QVector<MemoryDifference>& differences) {
    if (phase_ != BatchPhase::Verifying) return;
    if (stoppingNow_)
        return finishRadio(BatchOutcome::Failed, QStringLiteral("stopped during the verify"));
    if (!completed)
        return finishRadio(BatchOutcome::Failed,
                           QStringLiteral("the radio could not be read back: %1")
                               .arg(sessionReason(QStringLiteral("no answer"))));
    if (!differences.isEmpty())
        return finishRadio(BatchOutcome::Differs, DescribeDifferences(differences));
    finishRadio(BatchOutcome::Verified, QString());
}

void BatchWriter::finishRadio(BatchOutcome outcome, const QString& reason) {
    entry_.when = QDateTime::currentDateTime();
    entry_.outcome = outcome;
    entry_.reason = reason;
    ++handled_;
    if (outcome == BatchOutcome::Verified) {
        ++verified_;
        if (!entry_.serialNo.isEmpty()) verifiedSerials_.insert(entry_.serialNo);
    }
    QString why;
    const bool logged = BatchLog(settings_.logPath).append(entry_, &why);
    setPhase(BatchPhase::WaitingForRemoval);
    emit radioDone(entry_);
    if (!logged || logFailed_) {
        logFailed_ = true;
        finishBatch(why.isEmpty() ? entry_.reason : logFailure(settings_.logPath, why));
        return;
    }
    if (stopAfterCurrent_ || stoppingNow_ || (settings_.count > 0 && handled_ >= settings_.count)) {
        finishBatch(QString());
        return;
    }
    // The radio must go away before the next one is taken.
    scheduleProbe();
}

void BatchWriter::stopAfterCurrent() {
    if (!running()) return;
    stopAfterCurrent_ = true;
    if (phase_ == BatchPhase::WaitingForRadio || phase_ == BatchPhase::WaitingForRemoval)
        finishBatch(QString());
}

void BatchWriter::stopNow() {
    if (!running()) return;
    stopAfterCurrent_ = true;
    if (phase_ == BatchPhase::WaitingForRadio || phase_ == BatchPhase::WaitingForRemoval) {
        finishBatch(QString());
        return;
    }
    // As Cancel stops a transfer: the radio is told to leave programming mode and the port
    // closes. The session's end then logs the radio as failed and ends the batch. A write under
    // way asks first and goes on meanwhile, so that the radio never waits on a silent line; an
    // answer given after that write ended changes nothing. A write whose blocks have all gone
    // waits for the radio's last answer instead. (While the repeat question is open no session
    // runs: its answer sees the stop.)
    LinkSession* s = phase_ == BatchPhase::Writing || phase_ == BatchPhase::Verifying
                         ? writeSession_.get()
                         : readSession_.get();
    if (s->WritingBlocks() && confirmStopWrite_) {
        if (askingStop_) return; // asked already
        const quint64 run = s->runId();
        askingStop_ = true;
        const bool yes = confirmStopWrite_();
        askingStop_ = false;
        // No: the batch still ends after this radio.
        if (!yes || s->runId() != run) return;
        stoppingNow_ = true;
        s->StopTransfer();
        return;
    }
    stoppingNow_ = true;
    if (s->isRunning() && !s->StopTransfer() && s->CommMode() != CommKind::Write) s->AbortSession();
}

void BatchWriter::finishBatch(const QString& error) {
    probeTimer_.stop();
    probe_->abort();
    setPhase(BatchPhase::Finished);
    emit finished(error);
}
