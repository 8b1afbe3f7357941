#include "session.h"
#include "../lang/langtext.h"
#include "../lang/prompter.h"
#include "../model/channelcheck.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/documenthistory.h"
#include "../model/helpers.h"
#include "../model/version.h"
#include "frames.h"
#include "infoarea.h"
#include "linktexts.h"
#include "memorymap.h"
#include "transport.h"
#include "wirelog.h"

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

QString hexAddress(int a) {
    return QStringLiteral("0x%1")
        .arg(a, 4, 16, QLatin1Char('0'))
        .toUpper()
        .replace(QLatin1String("0X"), QLatin1String("0x"));
}

} // namespace

LinkSession::LinkSession(Document& doc, QObject* parent) : QObject(parent), doc_(doc) {
    // A coarse timer may fire up to 5 % early and turn a reply that came in time into a
    // time-out.
    waitTimer_.setTimerType(Qt::PreciseTimer);
    waitTimer_.setSingleShot(true);
    waitTimer_.setInterval(ReplyTimeoutMs);
    connect(&waitTimer_, &QTimer::timeout, this, &LinkSession::onTimeout);
    readOkTimer_.setSingleShot(true);
    connect(&readOkTimer_, &QTimer::timeout, this, &LinkSession::applyReadData);
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
    return i >= 0 && i < blockRetries_.size() ? blockRetries_[i] : 0;
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
    EndSession(false);
    return true;
}

void LinkSession::HoldTransfer() {
    if (isRunning()) held_ = true;
}

void LinkSession::ResumeTransfer() {
    if (!held_) return;
    held_ = false;
    const QByteArray request = std::exchange(heldRequest_, QByteArray());
    const bool timedOut = std::exchange(heldTimeout_, false);
    if (!isRunning()) return;
    if (!request.isEmpty())
        sendRequest(request, heldReplyLen_);
    else if (timedOut)
        onTimeout();
}

void LinkSession::AbortSession() {
    if (commMode_ == CommKind::None)
        ClosePort();
    else
        EndSession(false);
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
    }
    // The information window must never show a block this session did not read.
    infoBuf_.fill(0);
    ++generation_;
    logEvent(kindName(commMode_, verifying_) + QStringLiteral(" session starts"));
    emit sessionStarted(commMode_);
    if (!transport_ || !transport_->isOpen()) {
        QString why;
        if (!transport_ || !transport_->open(&why)) {
            prompter().message(9003, Prompter::Buttons::Ok, Prompter::Icon::Critical, why);
            EndSession(false);
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
    switch (commMode_ == CommKind::Write ? commSubStep_ : commStep_) {
    case StepProgram:
        return QStringLiteral("the answer to PROGRAM");
    case StepIdent:
        return QStringLiteral("the identification");
    case StepPassBlock:
        return commMode_ == CommKind::Info ? QStringLiteral("the identification")
                                           : QStringLiteral("the password block");
    case StepWriteAck:
        return QStringLiteral("the acknowledge of block %1").arg(hexAddress(commAddr_));
    case StepData:
        return QStringLiteral("block %1").arg(hexAddress(commAddr_));
    case StepEnd:
        return QStringLiteral("the answer to END");
    default:
        return QStringLiteral("nothing");
    }
}

// --- Requests ---

void LinkSession::sendRequest(const QByteArray& request, int replyLen) {
    if (held_) {
        heldRequest_ = request;
        heldReplyLen_ = replyLen;
        return;
    }
    echoLen_ = noEcho_ ? 0 : int(request.size());
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
    if (commMode_ == CommKind::Read || commMode_ == CommKind::Info ||
        commMode_ == CommKind::Identify) {
        commStep_ = StepProgram;
        commSubStep_ = StepIdle;
    } else if (commMode_ == CommKind::Write) {
        commSubStep_ = StepProgram;
        commStep_ = StepIdle;
    } else {
        commMode_ = CommKind::None;
        commStep_ = commSubStep_ = StepIdle;
        return;
    }
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
    ShowProgress();
    sendRequest(WriteBlockFrame(memBuf_, commAddr_), AckReplyLen);
}

void LinkSession::SendEnd() {
    sendRequest(EndRequest(), AckReplyLen);
}

void LinkSession::SendNextRead() {
    commAddr_ += BlockSize;
    if (commAddr_ >= commEndAddr_)
        FinishTransfer();
    else
        SendReadBlock();
}

void LinkSession::SendNextWrite() {
    commAddr_ += BlockSize;
    if (commAddr_ >= commEndAddr_)
        FinishTransfer();
    else
        SendWriteBlock();
}

void LinkSession::FinishTransfer() {
    if (commMode_ == CommKind::Write)
        commSubStep_ = StepEnd;
    else
        commStep_ = StepEnd;
    SendEnd();
}

void LinkSession::ShowProgress() {
    if (commEndAddr_ <= 0) return;
    const int percent = int(RoundEven(commAddr_ * 100.0 / commEndAddr_));
    if (percent - lastPercent_ < 1) return;
    lastPercent_ = percent;
    emit progress(percent);
}

// --- Replies ---

void LinkSession::onDataArrived() {
    if (!transport_) return;
    const QByteArray bytes = transport_->takeAll();
    if (!commActive_) {
        // Nobody waits for these (a prompt is open, or the session is over): they are lost.
        if (log_ && !bytes.isEmpty()) {
            log_->received(bytes, 0);
            log_->event(QStringLiteral("bytes arrived while no reply was awaited; ignored"));
        }
        rx_.clear();
        return;
    }
    rx_ += bytes;
    // The reply is complete when the awaited number of bytes is in; it is cut to that length
    // and the rest is lost, never kept for the next reply.
    if (rx_.size() < threshold_) return;
    const QByteArray reply = rx_.left(threshold_);
    if (log_) {
        log_->received(reply, echoLen_);
        if (rx_.size() > threshold_)
            log_->event(
                QStringLiteral("%1 bytes after the reply discarded").arg(rx_.size() - threshold_));
    }
    rx_.clear();
    onReply(reply);
}

void LinkSession::onReply(const QByteArray& reply) {
    const bool waitingPass = (commMode_ == CommKind::Read && commStep_ == StepPassBlock) ||
                             (commMode_ == CommKind::Write && commSubStep_ == StepPassBlock);
    switch (ClassifyReply(reply, echoLen_, commAddr_, waitingPass)) {
    case ReplyKind::Ignored:
        logEvent(
            QStringLiteral("reply not recognised while waiting for %1; ignored").arg(stepName()));
        return; // the reply timer keeps running
    case ReplyKind::Acknowledge:
        AdvanceSession();
        return;
    case ReplyKind::ProgramAccepted:
        logEvent(noEcho_ ? QStringLiteral("programming accepted; the cable does not echo")
                         : QStringLiteral("programming accepted; the cable echoes"));
        AdvanceSession();
        return;
    case ReplyKind::Resend:
        if (commMode_ == CommKind::Write && commSubStep_ == StepWriteAck) {
            logEvent(
                QStringLiteral("the radio asks to resend block %1").arg(hexAddress(commAddr_)));
            waitTimer_.stop();
            resendBlock(true);
        }
        return;
    case ReplyKind::Identification:
        if (commMode_ == CommKind::Read || commMode_ == CommKind::Write ||
            commMode_ == CommKind::Identify) {
            const RadioIdentity id = ParseIdentification(reply, echoLen_);
            radioModelName_ = id.ModelName;
            radioCountryMode_ = id.CountryMode;
            radioVersion_ = id.Version;
            radioToneSupport_ = id.ToneSupport;
            logEvent(QStringLiteral("identity: model %1, country mode %2, firmware %3, tones %4")
                         .arg(radioModelName_)
                         .arg(radioCountryMode_)
                         .arg(radioVersion_,
                              radioToneSupport_ ? QStringLiteral("yes") : QStringLiteral("no")));
        } else {
            logEvent(QStringLiteral("identification received"));
        }
        AdvanceSession();
        return;
    case ReplyKind::PasswordBlock:
        onPasswordBlock(reply);
        return;
    case ReplyKind::DataBlock: {
        const int count = static_cast<unsigned char>(reply[echoLen_ + 3]);
        for (int i = 0; i < count; ++i) {
            const auto b = static_cast<std::uint8_t>(reply[echoLen_ + 4 + i]);
            const int a = commAddr_ + i;
            if (a >= 0 && a < MemSize && commAddr_ < InfoBase)
                memBuf_[a] = b;
            else if (a >= InfoBase && a < InfoBase + InfoSize)
                infoBuf_[a - InfoBase] = b;
        }
        if (commMode_ == CommKind::Read) ShowProgress();
        AdvanceSession();
        return;
    }
    }
}

void LinkSession::onPasswordBlock(const QByteArray& reply) {
    passBlock_ = reply.mid(echoLen_ + 4, static_cast<unsigned char>(reply[echoLen_ + 3]));
    const bool hasPassword = !RadioPassword(passBlock_).isEmpty();
    if (CheckPassword()) {
        logEvent(hasPassword ? QStringLiteral("password block: the password held matches")
                             : QStringLiteral("password block: the radio has no password"));
        AdvanceSession();
        return;
    }
    logEvent(QStringLiteral("password block: the radio has a password; asking for it"));
    waitTimer_.stop();
    const quint64 g = generation_;
    const std::optional<QString> typed = asker_ ? asker_->askPassword(progPassword_) : std::nullopt;
    if (g != generation_) return;
    if (typed) SetProgPassword(*typed);
    if (CheckPassword()) {
        logEvent(QStringLiteral("password block: the password typed matches"));
        AdvanceSession();
        return;
    }
    logEvent(QStringLiteral("password block: the password does not match"));
    prompter().plain(QStringLiteral("PassWord Failure!"));
    if (g == generation_) EndSession(false);
}

bool LinkSession::CheckPassword() const {
    return PasswordMatches(RadioPassword(passBlock_), progPassword_);
}

bool LinkSession::CheckRadioIdentity() {
    Prompter& p = prompter();
    // A country mode the program does not know would leave the document in a state no window
    // can show: such a radio is refused before anything moves.
    if (!IsValidMode(radioCountryMode_)) {
        p.plain(QStringLiteral("Country Mode Error!"));
        return false;
    }
    const bool modeOk = commMode_ != CommKind::Write || doc_.CountryMode == radioCountryMode_;
    const QString pcModel = TrimBlanks(doc_.ModelName);
    const QString radioModel = TrimBlanks(radioModelName_);
    const bool modelOk = pcModel == radioModel;
    const bool versionOk = IsCompatible(QString::fromLatin1(DataVersion), radioVersion_);
    if (modeOk && modelOk && versionOk) return true;
    logEvent(
        QStringLiteral("identity refused:%1%2%3")
            .arg(modeOk ? QString() : QStringLiteral(" country mode differs from the data"),
                 modelOk ? QString() : QStringLiteral(" model differs"),
                 versionOk ? QString() : QStringLiteral(" firmware not listed as compatible")));
    if (modelOk) {
        if (versionOk) {
            // Both modes, as the model message names both models.
            p.message(9030, Prompter::Buttons::Ok, Prompter::Icon::Warning,
                      QStringLiteral("PC is ") + ModeName(doc_.CountryMode) + CRLF +
                          QStringLiteral("Radio is ") + ModeName(radioCountryMode_));
        } else {
            const QString q = VersionMessage(QString::fromLatin1(DataVersion), radioVersion_, 0);
            if (p.ask(q, Prompter::Buttons::YesNo, Prompter::Icon::None) == Prompter::Answer::Yes)
                emit handOverRequested(radioVersion_);
        }
    } else {
        p.ask(LoadLangText(9012) + CRLF + QStringLiteral("PC is ") + pcModel + CRLF +
                  QStringLiteral("Radio is ") + radioModel,
              Prompter::Buttons::Ok, Prompter::Icon::None);
    }
    return false;
}

void LinkSession::AdvanceSession() {
    waitTimer_.stop();
    const quint64 g = generation_;
    switch (commMode_) {
    case CommKind::Read:
        switch (commStep_) {
        case StepProgram:
            commStep_ = StepIdent;
            SendIdentRequest();
            return;
        case StepIdent:
            commStep_ = StepPassBlock;
            SendPassBlockRead();
            return;
        case StepPassBlock: {
            const bool ok = CheckRadioIdentity();
            if (g != generation_) return;
            if (!ok) {
                EndSession(false);
                return;
            }
            commStep_ = StepData;
            SendNextRead();
            return;
        }
        case StepData:
            SendNextRead();
            return;
        case StepEnd:
            EndSession(true);
            return;
        default:
            EndSession(false);
            return;
        }
    case CommKind::Write:
        switch (commSubStep_) {
        case StepProgram:
            commSubStep_ = StepIdent;
            SendIdentRequest();
            return;
        case StepIdent:
            commSubStep_ = StepPassBlock;
            SendPassBlockRead();
            return;
        case StepPassBlock: {
            const bool ok = CheckRadioIdentity();
            if (g != generation_) return;
            if (!ok) {
                EndSession(false);
                return;
            }
            commSubStep_ = StepWriteAck;
            if (radioToneSupport_ == 0) {
                prompter().ask(QStringLiteral("CTCSS/DCS Function is invalid,") + CRLF +
                                   QStringLiteral("Some features will not work."),
                               Prompter::Buttons::Ok, Prompter::Icon::Warning);
                if (g != generation_) return;
            }
            SendNextWrite();
            return;
        }
        case StepWriteAck:
            SendNextWrite();
            return;
        case StepEnd:
            EndSession(true);
            return;
        default:
            EndSession(false);
            return;
        }
    case CommKind::Info:
        switch (commStep_) {
        case StepProgram:
            commStep_ = StepPassBlock;
            SendIdentRequest();
            return;
        case StepPassBlock:
        case StepData:
            commStep_ = StepData;
            SendNextRead();
            return;
        case StepEnd:
            EndSession(true);
            return;
        default:
            EndSession(false);
            return;
        }
    case CommKind::Identify:
        switch (commStep_) {
        case StepProgram:
            commStep_ = StepIdent;
            SendIdentRequest();
            return;
        case StepIdent:
            commStep_ = StepEnd;
            SendEnd();
            return;
        default:
            EndSession(true);
            return;
        }
    default:
        EndSession(false);
        return;
    }
}

// --- Time-outs and failures ---

void LinkSession::resendBlock(bool write) {
    // A block answered with resend again and again would otherwise loop for ever: every resend
    // and every time-out spends one of the block's retries.
    int* left = blockRetry();
    if (!left || *left < 1) {
        logEvent(QStringLiteral("block %1 has no retries left").arg(hexAddress(commAddr_)));
        FailurePrompt();
        return;
    }
    --*left;
    logEvent(QStringLiteral("retry of block %1 (%2 left)").arg(hexAddress(commAddr_)).arg(*left));
    if (write)
        SendWriteBlock();
    else
        SendReadBlock();
}

void LinkSession::onTimeout() {
    waitTimer_.stop();
    if (held_) {
        heldTimeout_ = true;
        return;
    }
    const int step = commMode_ == CommKind::Write ? commSubStep_ : commStep_;
    if (step == StepIdle) return;
    if (log_) {
        if (!rx_.isEmpty()) log_->received(rx_, std::min<int>(echoLen_, int(rx_.size())));
        log_->event(QStringLiteral("time-out waiting for %1%2")
                        .arg(stepName(), rx_.isEmpty() ? QString()
                                                       : QStringLiteral(" (%1 of %2 bytes came)")
                                                             .arg(rx_.size())
                                                             .arg(threshold_)));
    }
    if (commMode_ == CommKind::Identify) {
        if (step == StepProgram && ++handshakeTries_ <= Retries) {
            noEcho_ = !noEcho_;
            logEvent(noEcho_ ? QStringLiteral("trying again without echo")
                             : QStringLiteral("trying again with echo"));
            SendProgram();
        } else if (step == StepEnd) {
            EndSession(true); // the radio told who it is; its answer to END changes nothing
        } else {
            identifyFailure_ = LinkText(step == StepProgram ? TxtNoAnswer : TxtNoIdentity);
            EndSession(false);
        }
        return;
    }
    if (commMode_ == CommKind::Info) {
        if (step == StepProgram) {
            if (++handshakeTries_ > Retries) {
                InfoFailurePrompt();
            } else {
                noEcho_ = !noEcho_;
                logEvent(noEcho_ ? QStringLiteral("trying again without echo")
                                 : QStringLiteral("trying again with echo"));
                SendProgram();
            }
        } else if (step == StepEnd) {
            EndSession(true);
        } else {
            InfoFailurePrompt();
        }
        return;
    }
    if (commMode_ != CommKind::Read && commMode_ != CommKind::Write) return;
    switch (step) {
    case StepProgram:
        if (++handshakeTries_ > Retries) {
            FailurePrompt();
        } else {
            noEcho_ = !noEcho_;
            logEvent(noEcho_ ? QStringLiteral("trying again without echo")
                             : QStringLiteral("trying again with echo"));
            SendProgram();
        }
        return;
    case StepIdent:
        FailurePrompt();
        return;
    case StepPassBlock:
        if (passBlockRetries_-- >= 2)
            SendPassBlockRead();
        else
            FailurePrompt();
        return;
    case StepWriteAck:
    case StepData:
        if (commMode_ == CommKind::Write && step != StepWriteAck) return;
        resendBlock(commMode_ == CommKind::Write);
        return;
    case StepEnd:
        EndSession(true);
        return;
    default:
        return;
    }
}

void LinkSession::FailurePrompt() {
    // A radio that never answered the programming request is most often unplugged or off.
    const QString hint = handshakeTries_ > Retries ? LinkText(TxtNoAnswer) : QString();
    commActive_ = false;
    handshakeTries_ = 0;
    passBlockRetries_ = Retries;
    const quint64 g = generation_;
    // "Try again?" is answered with Retry and Cancel (OK counts as Retry for answers given
    // by script).
    logEvent(QStringLiteral("asking whether to try again"));
    const auto answer =
        prompter().message(9008, Prompter::Buttons::RetryCancel, Prompter::Icon::Question, hint);
    if (g != generation_) return;
    logEvent(answer == Prompter::Answer::Ok || answer == Prompter::Answer::Retry
                 ? QStringLiteral("trying again from the start")
                 : QStringLiteral("not trying again"));
    if (answer == Prompter::Answer::Retry || answer == Prompter::Answer::Ok) {
        commAddr_ = -BlockSize;
        lastPercent_ = 0;
        emit progress(0);
        SendProgram();
    } else {
        EndSession(false);
    }
}

void LinkSession::InfoFailurePrompt() {
    const QString hint = handshakeTries_ > Retries ? LinkText(TxtNoAnswer) : QString();
    commActive_ = false;
    const quint64 g = generation_;
    logEvent(QStringLiteral("asking whether to try again"));
    const auto answer =
        prompter().message(9008, Prompter::Buttons::RetryCancel, Prompter::Icon::None, hint);
    if (g != generation_) return;
    logEvent(answer == Prompter::Answer::Retry ? QStringLiteral("trying again from the start")
                                               : QStringLiteral("not trying again"));
    if (answer == Prompter::Answer::Retry) {
        // Start again from the first block with a fresh handshake, so that the window never
        // shows a block of an earlier attempt.
        infoBuf_.fill(0);
        commAddr_ = InfoBase - BlockSize;
        handshakeTries_ = 0;
        SendProgram();
    } else {
        EndSession(false);
    }
}

void LinkSession::onLineLost(const QString& reason, bool unplugged) {
    if (commMode_ == CommKind::None || ending_) return;
    waitTimer_.stop();
    commActive_ = false;
    logEvent(QStringLiteral("the line was lost: %1").arg(reason));
    // Waiting for the answer to the end request, every block has been moved already: as when
    // that answer does not come, the session succeeded.
    const int step = commMode_ == CommKind::Write ? commSubStep_ : commStep_;
    if (step == StepEnd)
        EndSession(true);
    else if (commMode_ == CommKind::Identify) {
        identifyFailure_ = unplugged ? LinkText(TxtUnplugged) : LinkText(TxtLineLost).arg(reason);
        EndSession(false);
    } else if (unplugged) {
        EndSession(false, LinkText(TxtUnplugged));
    } else {
        EndSession(false, LinkText(TxtLineLost).arg(reason));
    }
}

void LinkSession::EndSession(bool ok, const QString& failureText) {
    if (ending_) return;
    ending_ = true;
    ++generation_;
    held_ = heldTimeout_ = false;
    heldRequest_.clear();
    const CommKind kind = commMode_;
    const bool verify = verifying_ && kind == CommKind::Read;
    verifying_ = false;
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
    if (!ok && !failureText.isEmpty())
        prompter().ask(failureText, Prompter::Buttons::Ok, Prompter::Icon::Critical);
    if (ok && kind == CommKind::Info) {
        if (!IsValidMode(InfoAreaMode(infoBuf_))) {
            prompter().plain(QStringLiteral("Country Mode Error!"));
            ok = false;
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
        if (ok)
            logEvent(differences.isEmpty()
                         ? QStringLiteral("verified: the radio holds what was written")
                         : QStringLiteral("verify: the radio holds other data: %1")
                               .arg(DescribeDifferences(differences)));
        logEvent(QStringLiteral("session ended: %1")
                     .arg(ok ? QStringLiteral("success") : QStringLiteral("failure")));
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
            applyReadData();
    }
    logEvent(QStringLiteral("session ended: %1")
                 .arg(ok ? QStringLiteral("success") : QStringLiteral("failure")));
    if (ok && (kind == CommKind::Read || kind == CommKind::Write))
        prompter().message(9008 + int(kind));
    waitTimer_.stop();
    commMode_ = CommKind::None;
    commStep_ = commSubStep_ = StepIdle;
    ending_ = false;
    emit sessionEnded(ok, kind);
}

void LinkSession::ReadImage(RadioDataRec& data, ChannelList& channels) const {
    data = doc_.RadioData;
    channels = doc_.CHInfo;
    // The header names the model the identity check compared with the radio.
    doc_.FillFileHead(data.Head);
    UnpackMemBuf(readData_, readDataMode_, data, channels);
}

void LinkSession::applyReadData() {
    readOkTimer_.stop();
    RadioDataRec data;
    ChannelList channels;
    ReadImage(data, channels);
    // A read makes an unnamed new document, so that a later save asks for a file name.
    doc_.CurFileName = QStringLiteral("new.dat");
    doc_.IsNewFile = true;
    doc_.ReplaceImage(data, channels);
    // What was on the screen before the read is no step back from the radio's contents.
    doc_.history().clear();
    emit readApplied();
}
