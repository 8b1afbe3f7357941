// The replies: bytes arriving are cut into the awaited reply, recognised, and acted on.

#include "../model/helpers.h"
#include "frames.h"
#include "infoarea.h"
#include "memorymap.h"
#include "session.h"
#include "transport.h"
#include "wirelog.h"

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
    const SessionStep* step = FindSessionStep(commMode_, currentStep());
    const bool waitingPass = step && step->phase == SessionPhase::PassBlock;
    switch (ClassifyReply(reply, echoLen_, commAddr_, waitingPass)) {
    case ReplyKind::Ignored:
        // The radio said something, but nothing the protocol knows: when the retries run out,
        // the user hears that the answers are damaged, not that the radio is silent.
        noteFault(Fault::Damaged);
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
                QStringLiteral("the radio asks to resend block %1").arg(HexAddress(commAddr_)));
            waitTimer_.stop();
            noteFault(Fault::Refused);
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
    askPassword();
}
