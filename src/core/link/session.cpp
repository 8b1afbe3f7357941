#include "session.h"
#include "../lang/prompter.h"
#include "../model/channelcheck.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/helpers.h"
#include "frames.h"
#include "infoarea.h"
#include "linktexts.h"
#include "memorymap.h"
#include "transport.h"
#include "wirelog.h"

#include <algorithm>
#include <utility>

namespace {
const QString CRLF = QStringLiteral("\r\n");

QString kindName(CommKind kind, bool verifying) {
    switch (kind) {
    case CommKind::Read:
        return verifying ? QStringLiteral("verifying read") : QStringLiteral("read");
    case CommKind::Write:
        return QStringLiteral("write");
    case CommKind::Info:
        return QStringLiteral("radio-information read");
    case CommKind::Identify:
        return QStringLiteral("identification");
    default:
        return QStringLiteral("none");
    }
}

} // namespace

LinkSession::LinkSession(Document& doc, QObject* parent) : QObject(parent), doc_(doc) {
    // A coarse timer may fire up to 5 % early and turn a reply that came in time into a
    // time-out.
    waitTimer_.setTimerType(Qt::PreciseTimer);
    waitTimer_.setSingleShot(true);
    waitTimer_.setInterval(ReplyTimeoutMs);
    connect(&waitTimer_, &QTimer::timeout, this, &LinkSession::onTimeout);
    quietTimer_.setTimerType(Qt::PreciseTimer);
    quietTimer_.setSingleShot(true);
    connect(&quietTimer_, &QTimer::timeout, this, &LinkSession::onQuiet);
    readOkTimer_.setSingleShot(true);
    connect(&readOkTimer_, &QTimer::timeout, this, &LinkSession::handOverRead);
}

LinkSession::~LinkSession() {
    if (transport_) transport_->disconnect(this);
}

void LinkSession::setTransport(LinkTransport* transport) {
    if (transport_) transport_->disconnect(this);
    transport_ = transport;
    if (transport_) {
        connect(transport_, &LinkTransport::dataArrived, this, &LinkSession::onDataArrived);
        connect(transport_, &LinkTransport::lineLost, this, &LinkSession::onLineLost);
    }
}

Prompter& LinkSession::prompter() const {
    return prompter_ ? *prompter_ : doc_.prompter();
}

void LinkSession::SetProgPassword(const QString& typed) {
    progPassword_ = CleanPassword(typed);
}

int LinkSession::BlockRetries(int address) const {
    const auto i = RoundEven(address / double(BlockSize));
    if (i < 0 || i >= blockRetries_.size()) return 0;
    // After a second reading, the fewer left of the two readings.
    return i < firstPassRetries_.size() ? std::min(blockRetries_[i], firstPassRetries_[i])
                                        : blockRetries_[i];
}

int* LinkSession::blockRetry() {
    const auto i = RoundEven(commAddr_ / double(BlockSize));
    return i >= 0 && i < blockRetries_.size() ? &blockRetries_[i] : nullptr;
}

// --- Commands ---

bool LinkSession::OpenCommPort() {
    if (commMode_ == CommKind::Read || commMode_ == CommKind::Write) {
        commAddr_ = -BlockSize;
        commEndAddr_ = MemSize - 1;
    } else if (commMode_ == CommKind::Info) {
        commAddr_ = InfoBase - BlockSize;
        commEndAddr_ = InfoBase + InfoSize - 1;
    } else {
        commAddr_ = commEndAddr_ = 0; // an identification moves no block
    }
    waitTimer_.stop();
    lastPercent_ = 0;
    blockRetries_ = QVector<int>(RoundEven(commEndAddr_ / double(BlockSize)) + 1, Retries);
    // Every session starts with three tries for the password block, like the block counters.
    passBlockRetries_ = Retries;

    if (transport_ && transport_->isOpen()) transport_->close();
    QString why;
    if (!transport_ || !transport_->open(&why)) {
        // A connection test tells its own caller; the others tell the user.
        if (commMode_ == CommKind::Identify)
            identifyFailure_ = why;
        else
            prompter().message(9003, Prompter::Buttons::Ok, Prompter::Icon::Critical, why);
        // No session started, but a log opened for it still ends with the outcome.
        outcome_ = Outcome::Failed;
        failureReason_ = QStringLiteral("the port could not be opened: %1").arg(why);
        logEvent(outcomeLine());
        return false;
    }
    return true;
}

void LinkSession::ClosePort() {
    if (transport_ && transport_->isOpen()) transport_->close();
}

bool LinkSession::refuseDamagedDocument() {
    const QList<DamagedChannel> damaged = DamagedChannels(doc_.RadioData, doc_.CHInfo);
    if (damaged.isEmpty()) return false;
    prompter().ask(RefusedWriteText() + CRLF + DamagedChannelsText(damaged), Prompter::Buttons::Ok,
                   Prompter::Icon::Critical);
    return true;
}

bool LinkSession::PrepareSession(CommKind kind) {
    if (commMode_ != CommKind::None || kind < CommKind::Read || kind > CommKind::Identify)
        return false;
    // Records the radio has no place for would vanish or turn into invalid data there.
    if (kind == CommKind::Write && refuseDamagedDocument()) return false;
    commMode_ = kind;
    commStep_ = commSubStep_ = StepIdle;
    identifyFailure_.clear();
    if (!OpenCommPort()) {
        commMode_ = CommKind::None;
        return false;
    }
    return true;
}

void LinkSession::CancelSession() {
    if (commActive_) return; // a running transfer ends only through its own steps
    ClosePort();
    commMode_ = CommKind::None;
    commStep_ = commSubStep_ = StepIdle;
    verifying_ = false;
}

bool LinkSession::StopTransfer() {
    if (commMode_ != CommKind::Read && commMode_ != CommKind::Write) return false;
    const int step = commMode_ == CommKind::Write ? commSubStep_ : commStep_;
    if (step == StepEnd) return false;
    stopping_ = true;
    EndSession(false);
    return true;
}

void LinkSession::AbortSession() {
    if (commMode_ == CommKind::None) {
        ClosePort();
        return;
    }
    aborting_ = true;
    EndSession(false);
    aborting_ = false;
}

bool LinkSession::StartTransfer() {
    if (commMode_ == CommKind::None || commActive_) return false;
    if (commMode_ == CommKind::Write && refuseDamagedDocument()) {
        CancelSession();
        return false;
    }
    memBuf_.fill(0);
    if (commMode_ == CommKind::Write) {
        PackMemBuf(doc_.RadioData, doc_.CHInfo, memBuf_);
        haveWritten_ = false; // until this write has succeeded, there is nothing to verify
        writeReach_ = WriteReach::Untouched;
    }
    identRetries_ = Retries;
    fault_ = Fault::NoAnswer;
    lineTrouble_ = confirming_ = blockTimedOut_ = false;
    firstPassRetries_.clear();
    readings_.clear();
    rereads_ = 0;
    doubtedIdent_.clear();
    // The information window must never show a block this session did not read.
    infoBuf_.fill(0);
    ++generation_;
    logEvent(kindName(commMode_, verifying_) + QStringLiteral(" session starts"));
    emit sessionStarted(commMode_);
    if (!transport_ || !transport_->isOpen()) {
        QString why;
        if (!transport_ || !transport_->open(&why)) {
            prompter().message(9003, Prompter::Buttons::Ok, Prompter::Icon::Critical, why);
            failWith(QStringLiteral("the port could not be opened: %1").arg(why));
            return false;
        }
    }
    handshakeTries_ = 0;
    SendProgram();
    return true;
}

bool LinkSession::Start(CommKind kind) {
    return PrepareSession(kind) && StartTransfer();
}

bool LinkSession::PrepareVerify() {
    if (!haveWritten_ || !PrepareSession(CommKind::Read)) return false;
    verifying_ = true;
    return true;
}

void LinkSession::logEvent(const QString& text) {
    if (log_) log_->event(text);
}

QString LinkSession::stepName() const {
    const SessionStep* step = FindSessionStep(commMode_, currentStep());
    if (!step) return QStringLiteral("nothing");
    switch (step->phase) {
    case SessionPhase::Program:
        return QStringLiteral("the answer to PROGRAM");
    case SessionPhase::Ident:
        return QStringLiteral("the identification");
    case SessionPhase::PassBlock:
        return QStringLiteral("the password block");
    case SessionPhase::Blocks:
        return commMode_ == CommKind::Write
                   ? QStringLiteral("the acknowledge of block %1").arg(HexAddress(commAddr_))
                   : QStringLiteral("block %1").arg(HexAddress(commAddr_));
    case SessionPhase::End:
        return QStringLiteral("the answer to END");
    }
    return QString();
}

// --- Requests ---

void LinkSession::sendRequest(const QByteArray& request, int replyLen) {
    echoLen_ = noEcho_ ? 0 : int(request.size());
    quietTimer_.stop();
    pendingSend_ = nullptr;
    wholeReply_ = false;
    sentAt_.start();
    waitTimer_.start();
    threshold_ = echoLen_ + replyLen;
    rx_.clear();
    if (log_) log_->sent(request);
    if (transport_) {
        transport_->clear();
        transport_->send(request);
    }
}

void LinkSession::SendProgram() {
    if (!FindSessionStep(commMode_, StepProgram)) {
        commMode_ = CommKind::None;
        commStep_ = commSubStep_ = StepIdle;
        return;
    }
    setStep(StepProgram);
    fault_ = Fault::NoAnswer;
    commActive_ = true;
    sendRequest(ProgramRequest(), ProgramReplyLen);
}

void LinkSession::SendIdentRequest() {
    sendRequest(IdentRequest(), IdentReplyLen);
}

void LinkSession::SendReadBlock() {
    sendRequest(ReadRequest(commAddr_, BlockSize), DataReplyLen(BlockSize));
}

void LinkSession::SendPassBlockRead() {
    sendRequest(ReadRequest(PassBlockAddr, BlockSize), DataReplyLen(BlockSize));
}

void LinkSession::SendWriteBlock() {
    // From the first block on, the radio's memory is no longer what it was.
    if (writeReach_ == WriteReach::Untouched) {
        writeReach_ = WriteReach::Partly;
        emit writeBegun();
    }
    ShowProgress();
    sendRequest(WriteBlockFrame(memBuf_, commAddr_), AckReplyLen);
}

void LinkSession::SendEnd() {
    sendRequest(EndRequest(), AckReplyLen);
}

void LinkSession::ShowProgress() {
    if (commEndAddr_ <= 0) return;
    const int percent = int(RoundEven(commAddr_ * 100.0 / commEndAddr_));
    if (percent - lastPercent_ < 1) return;
    lastPercent_ = percent;
    emit progress(percent);
}

void LinkSession::onLineLost(const QString& reason, bool unplugged) {
    if (commMode_ == CommKind::None || ending_) return;
    waitTimer_.stop();
    commActive_ = false;
    logEvent(QStringLiteral("the line was lost: %1").arg(reason));
    // Waiting for the answer to the end request, every block has been moved already: as when
    // that answer does not come, the session succeeded.
    // Another program on the port can close the line under us (a pseudo-terminal's readers):
    // that is neither a pulled cable nor a silent radio.
    const QString held = transport_ ? transport_->sharedWith() : QString();
    const QString why = !held.isEmpty() ? QStringLiteral("another program holds the port")
                        : unplugged     ? QStringLiteral("the cable was unplugged")
                                        : QStringLiteral("the line was lost: %1").arg(reason);
    const QString told = !held.isEmpty() ? held
                         : unplugged     ? LinkText(TxtUnplugged)
                                         : LinkText(TxtLineLost).arg(reason);
    if (currentStep() == StepEnd) {
        EndSession(true);
    } else if (commMode_ == CommKind::Identify) {
        identifyFailure_ = told;
        failWith(why);
    } else {
        failWith(why, told);
    }
}

void LinkSession::EndSession(bool ok, const QString& failureText) {
    if (ending_) return;
    ending_ = true;
    ++generation_;
    const CommKind kind = commMode_;
    const bool verify = verifying_ && kind == CommKind::Read;
    quietTimer_.stop();
    pendingSend_ = nullptr;
    // What a read hands over must hold sound records; a verify compares instead.
    QString unsoundText;
    // (After a second reading that agreed, the radio holds what was read, sound or not.)
    if (ok && kind == CommKind::Read && !verify && !confirming_ && !readImageSound()) {
        ok = false;
        unsoundText = failureReason_;
        failureReason_ = QStringLiteral("the memory read holds damaged records");
    }
    verifying_ = false;
    const bool stopped = std::exchange(stopping_, false);
    outcome_ = ok ? Outcome::Done : stopped || aborting_ ? Outcome::Cancelled : Outcome::Failed;
    const QString failureTold = unsoundText.isEmpty() ? failureText : unsoundText;
    if (outcome_ != Outcome::Failed) failureReason_.clear();
    if (stopped) stoppedAt_ = lastPercent_;
    const bool portOpen = transport_ && transport_->isOpen();
    if (!ok && portOpen) {
        // The radio leaves programming mode; its answer is not awaited.
        if (log_) log_->sent(EndRequest());
        transport_->clear();
        transport_->send(EndRequest());
    }
    waitTimer_.stop();
    commActive_ = false;
    ClosePort();
    if (kind == CommKind::Read || kind == CommKind::Write) emit transferEnded(ok);
    // A write that ended among its blocks left the radio half written: the user must know,
    // whatever ended it. (A program that is closing, or a command that was interrupted, says
    // it in its own way.) The user who stopped it hears where it stood.
    if (!ok && kind == CommKind::Write && writeReach_ == WriteReach::Partly && !aborting_)
        prompter().ask(stopped ? LinkText(TxtWriteStoppedAt).arg(stoppedAt_) + QLatin1Char(' ') +
                                     LinkText(TxtPartlyWritten)
                               : (failureTold.isEmpty() ? QString() : failureTold + CRLF) +
                                     LinkText(TxtPartlyWritten),
                       Prompter::Buttons::Ok,
                       stopped ? Prompter::Icon::Warning : Prompter::Icon::Critical);
    else if (!ok && !failureTold.isEmpty())
        prompter().ask(failureTold, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    if (ok && kind == CommKind::Info) {
        if (!IsValidMode(InfoAreaMode(infoBuf_))) {
            prompter().plain(LinkText(TxtCountryModeError));
            ok = false;
            outcome_ = Outcome::Failed;
            failureReason_ = QStringLiteral("the radio's country mode is unknown");
        } else {
            UnpackInfoBuf(infoBuf_, doc_.RadioInfo);
            emit radioInfoRead();
        }
    }
    if (kind == CommKind::Write && ok) {
        written_ = memBuf_;
        haveWritten_ = true;
    }
    if (verify) {
        const QVector<MemoryDifference> differences =
            ok ? CompareMemory(written_, memBuf_) : QVector<MemoryDifference>();
        meaningless_ = ok ? CountMeaninglessDifferences(written_, memBuf_) : 0;
        if (ok)
            logEvent(differences.isEmpty()
                         ? QStringLiteral("verified: the radio holds what was written%1")
                               .arg(meaningless_ == 0
                                        ? QString()
                                        : QStringLiteral("; %1 bytes without meaning differ")
                                              .arg(meaningless_))
                         : QStringLiteral("verify: the radio holds other data: %1")
                               .arg(DescribeDifferences(differences)));
        logEvent(outcomeLine());
        waitTimer_.stop();
        commMode_ = CommKind::None;
        commStep_ = commSubStep_ = StepIdle;
        ending_ = false;
        emit verifyFinished(ok, differences);
        emit sessionEnded(ok, kind);
        return;
    }
    if (ok && kind == CommKind::Read) {
        readData_ = memBuf_;
        readDataMode_ = radioCountryMode_;
        emit readSucceeded();
        if (readApplyDelay_ > 0)
            readOkTimer_.start(readApplyDelay_);
        else
            handOverRead();
    }
    logEvent(outcomeLine());
    if (ok && (kind == CommKind::Read || (kind == CommKind::Write && tellWriteSuccess_)))
        prompter().message(9008 + int(kind));
    waitTimer_.stop();
    commMode_ = CommKind::None;
    commStep_ = commSubStep_ = StepIdle;
    ending_ = false;
    emit sessionEnded(ok, kind);
}

bool LinkSession::readImageSound() {
    RadioDataRec data = doc_.RadioData;
    ChannelList channels = doc_.CHInfo;
    UnpackMemBuf(memBuf_, radioCountryMode_, data, channels);
    const QList<DamagedChannel> damaged = DamagedChannels(data, channels);
    if (damaged.isEmpty()) return true;
    logEvent(QStringLiteral("the memory read holds %1 damaged records").arg(damaged.size()));
    // Handed to EndSession as the text to tell.
    failureReason_ = LinkText(TxtReadDamagedRecords) + CRLF + DamagedChannelsText(damaged);
    return false;
}

void LinkSession::failWith(const QString& logReason, const QString& failureText) {
    failureReason_ = logReason;
    EndSession(false, failureText);
}

QString LinkSession::outcomeLine() const {
    switch (outcome_) {
    case Outcome::Done:
        return QStringLiteral("done");
    case Outcome::Cancelled:
        return QStringLiteral("cancelled");
    case Outcome::Failed:
        break;
    case Outcome::None:
        return QString();
    }
    return QStringLiteral("failed: %1")
        .arg(failureReason_.isEmpty() ? QStringLiteral("no reason known") : failureReason_);
}

void LinkSession::ReadImage(RadioDataRec& data, ChannelList& channels) const {
    data = doc_.RadioData;
    channels = doc_.CHInfo;
    // The header names the model the identity check compared with the radio.
    doc_.FillFileHead(data.Head);
    UnpackMemBuf(readData_, readDataMode_, data, channels);
}

void LinkSession::handOverRead() {
    readOkTimer_.stop();
    // The driver adopts ReadImage into the document; the session changes nothing there.
    emit readReady();
}
