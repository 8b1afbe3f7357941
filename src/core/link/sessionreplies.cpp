// The replies: bytes arriving are cut into the awaited reply, recognised, and acted on.

#include "../model/helpers.h"
#include "frames.h"
#include "infoarea.h"
#include "linktexts.h"
#include "memorymap.h"
#include "session.h"
#include "transport.h"
#include "wirelog.h"

#include <algorithm>

namespace {
// Radios name themselves in printable ASCII.
bool IsPrintableText(const QString& text) {
    return std::all_of(text.begin(), text.end(),
                       [](QChar c) { return c.unicode() >= 0x20 && c.unicode() < 0x7F; });
}
} // namespace

void LinkSession::onDataArrived() {
    if (!transport_) return;
    const QByteArray bytes = transport_->takeAll();
    if (quietTimer_.isActive()) {
        // Late bytes of a request given up: the next request starts on a clean slate.
        if (log_ && !bytes.isEmpty()) {
            log_->received(bytes, 0);
            log_->event(QStringLiteral("bytes arrived while the line settles; ignored"));
        }
        rx_.clear();
        return;
    }
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
    wholeReply_ = true;
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
            noteFault(blockTimedOut_ ? Fault::LineLoss : Fault::Refused);
            // After a time-out of this block the radio may have joined a fragment of the
            // earlier request to this one.
            mayHoldFragment_ = blockTimedOut_;
            resendBlock(true);
        }
        return;
    case ReplyKind::Identification:
        if (commMode_ == CommKind::Read || commMode_ == CommKind::Write ||
            commMode_ == CommKind::Identify) {
            const RadioIdentity id = ParseIdentification(reply, echoLen_);
            // The identification has no checksum: a model or version with bytes no radio
            // sends is a damaged reply, asked for again when the reply time is up.
            if (!IsPrintableText(id.ModelName) || !IsPrintableText(id.Version)) {
                noteFault(Fault::Damaged);
                logEvent(QStringLiteral("identification damaged (%1); ignored")
                             .arg(QString::fromLatin1(reply.mid(echoLen_).toHex(' '))));
                return;
            }
            const QByteArray said = reply.mid(echoLen_);
            const QString before = radioModelName_, beforeVersion = radioVersion_;
            const int beforeMode = radioCountryMode_, beforeTone = radioToneSupport_;
            radioModelName_ = id.ModelName;
            radioCountryMode_ = id.CountryMode;
            radioVersion_ = id.Version;
            radioToneSupport_ = id.ToneSupport;
            logEvent(QStringLiteral("identity: model %1, country mode %2, firmware %3, tones %4")
                         .arg(radioModelName_)
                         .arg(radioCountryMode_)
                         .arg(radioVersion_,
                              radioToneSupport_ ? QStringLiteral("yes") : QStringLiteral("no")));
            // A radio that seems to be another one is asked again before it is believed: a
            // damaged byte must not refuse the radio or offer another program.
            if (commMode_ != CommKind::Identify && !identityAccepted() && said != doubtedIdent_ &&
                identRetries_ >= 1) {
                --identRetries_;
                doubtedIdent_ = said;
                radioModelName_ = before;
                radioVersion_ = beforeVersion;
                radioCountryMode_ = beforeMode;
                radioToneSupport_ = beforeTone;
                noteFault(Fault::Damaged);
                waitTimer_.stop();
                logEvent(QStringLiteral("the identification does not match; asking again to be "
                                        "sure (%1 left)")
                             .arg(identRetries_));
                SendIdentRequest();
                return;
            }
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
        if (commMode_ == CommKind::Read && !takeBlock(reply.mid(echoLen_ + 4, count))) return;
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

bool LinkSession::takeBlock(const QByteArray& data) {
    // A block is taken at once, unless its reads must agree: in the second reading of the
    // memory (compared with the first), and in a verify when it differs from what was written
    // (a damaged reply must not say that the radio holds other data).
    const auto at = [this](const MemBuf& m) {
        return QByteArray(reinterpret_cast<const char*>(m.data()) + commAddr_, BlockSize);
    };
    const bool doubt = confirming_ || (verifying_ && data != at(written_));
    if (!doubt) return true;
    if (readings_.isEmpty() && confirming_) readings_.append(at(firstRead_));
    if (readings_.contains(data)) return true;
    readings_.append(data);
    waitTimer_.stop();
    if (readings_.size() == 2) ++rereads_;
    if (readings_.size() > BlockReadings) {
        logEvent(QStringLiteral("block %1 read %2 times without two reads agreeing")
                     .arg(HexAddress(commAddr_))
                     .arg(readings_.size()));
        failWith(QStringLiteral("the line damages what the radio says"),
                 LinkText(TxtBlocksDisagree).arg(HexAddress(commAddr_)).arg(readings_.size()));
        return false;
    }
    logEvent(QStringLiteral("block %1 read otherwise than before; reading it again")
                 .arg(HexAddress(commAddr_)));
    SendReadBlock();
    return false;
}
