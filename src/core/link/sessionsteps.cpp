// The step table, and the session's moves through it: the next step after a reply, and what a
// time-out does in each phase.

#include "sessionsteps.h"
#include "../lang/prompter.h"
#include "frames.h"
#include "linktexts.h"
#include "session.h"
#include "transport.h"
#include "wirelog.h"

#include <utility>

namespace {
using P = SessionPhase;

const QVector<SessionStep> ReadSteps = {
    {P::Program, StepProgram}, {P::Ident, StepIdent}, {P::PassBlock, StepPassBlock, true},
    {P::Blocks, StepData},     {P::End, StepEnd},
};
const QVector<SessionStep> WriteSteps = {
    {P::Program, StepProgram}, {P::Ident, StepIdent}, {P::PassBlock, StepPassBlock, true},
    {P::Blocks, StepWriteAck}, {P::End, StepEnd},
};
// The information area is no secret: no password block and no identity check.
const QVector<SessionStep> InfoSteps = {
    {P::Program, StepProgram},
    {P::Ident, StepPassBlock},
    {P::Blocks, StepData},
    {P::End, StepEnd},
};
// The connection test: who the radio is, and nothing else.
const QVector<SessionStep> IdentifySteps = {
    {P::Program, StepProgram},
    {P::Ident, StepIdent},
    {P::End, StepEnd},
};
const QVector<SessionStep> NoSteps;
} // namespace

const QVector<SessionStep>& SessionSteps(CommKind kind) {
    switch (kind) {
    case CommKind::Read:
        return ReadSteps;
    case CommKind::Write:
        return WriteSteps;
    case CommKind::Info:
        return InfoSteps;
    case CommKind::Identify:
        return IdentifySteps;
    case CommKind::None:
        break;
    }
    return NoSteps;
}

const SessionStep* FindSessionStep(CommKind kind, int value) {
    for (const SessionStep& s : SessionSteps(kind))
        if (s.value == value) return &s;
    return nullptr;
}

const SessionStep* NextSessionStep(CommKind kind, const SessionStep& step) {
    const QVector<SessionStep>& steps = SessionSteps(kind);
    for (int i = 0; i + 1 < steps.size(); ++i)
        if (steps[i].value == step.value) return &steps[i + 1];
    return nullptr;
}

const SessionStep* PhaseStep(CommKind kind, SessionPhase phase) {
    for (const SessionStep& s : SessionSteps(kind))
        if (s.phase == phase) return &s;
    return nullptr;
}

// --- The session's moves ---

void LinkSession::setStep(int value) {
    if (commMode_ == CommKind::Write) {
        commSubStep_ = value;
        commStep_ = StepIdle;
    } else {
        commStep_ = value;
        commSubStep_ = StepIdle;
    }
}

void LinkSession::enterStep(const SessionStep& step) {
    setStep(step.value);
    fault_ = Fault::NoAnswer;
    switch (step.phase) {
    case SessionPhase::Program:
        SendProgram();
        return;
    case SessionPhase::Ident:
        identRetries_ = Retries;
        SendIdentRequest();
        return;
    case SessionPhase::PassBlock:
        SendPassBlockRead();
        return;
    case SessionPhase::Blocks:
        SendNextBlock();
        return;
    case SessionPhase::End:
        SendEnd();
        return;
    }
}

void LinkSession::SendNextBlock() {
    commAddr_ += BlockSize;
    readings_.clear();
    blockTimedOut_ = false;
    if (commAddr_ >= commEndAddr_ && commMode_ == CommKind::Read && !confirming_ &&
        (lineTrouble_ || (!verifying_ && !readImageSound()))) {
        // The line damaged or lost replies, or the memory holds records no write makes: a damage
        // the checksum let through would go unnoticed, so the memory is read a second time and
        // every block compared.
        logEvent(lineTrouble_ ? QStringLiteral("the line damaged or lost replies; reading the "
                                               "memory again to compare")
                              : QStringLiteral("reading the memory again to compare"));
        firstRead_ = memBuf_;
        confirming_ = true;
        firstPassRetries_ = blockRetries_;
        blockRetries_.fill(Retries);
        commAddr_ = 0;
    }
    if (commAddr_ >= commEndAddr_) {
        // Every block has moved: for a write, the radio holds the whole document now.
        if (commMode_ == CommKind::Write) writeReach_ = WriteReach::Complete;
        if (const SessionStep* end = PhaseStep(commMode_, SessionPhase::End)) enterStep(*end);
        return;
    }
    if (commMode_ == CommKind::Write)
        SendWriteBlock();
    else
        SendReadBlock();
}

void LinkSession::AdvanceSession() {
    waitTimer_.stop();
    fault_ = Fault::NoAnswer;
    const quint64 g = generation_;
    const SessionStep* step = FindSessionStep(commMode_, currentStep());
    if (!step) {
        failWith(QStringLiteral("no step %1 in this kind of session").arg(currentStep()));
        return;
    }
    switch (step->phase) {
    case SessionPhase::Blocks:
        SendNextBlock();
        return;
    case SessionPhase::End:
        EndSession(true);
        return;
    default:
        break;
    }
    if (step->gate && !passGate(g)) return;
    if (const SessionStep* next = NextSessionStep(commMode_, *step))
        enterStep(*next);
    else
        failWith(QStringLiteral("no step follows %1").arg(currentStep()));
}

bool LinkSession::passGate(quint64 g) {
    const bool ok = CheckRadioIdentity();
    if (g != generation_) return false;
    if (!ok) {
        failWith(QStringLiteral("the radio is not one this document may go to"));
        return false;
    }
    if (commMode_ == CommKind::Write && radioToneSupport_ == 0) {
        warnToneSupport();
        if (g != generation_) return false;
    }
    return true;
}

void LinkSession::noteFault(Fault fault) {
    // While the cable's echo is still being found, a reply in the wrong place is expected:
    // only a radio that silently fails the handshake is "not answering" there.
    const SessionStep* step = FindSessionStep(commMode_, currentStep());
    if (!step || step->phase == SessionPhase::Program) return;
    lineTrouble_ = true;
    // A refusal says most about the radio, damaged bytes more than silence; a refusal after a
    // time-out says the line lost bytes.
    if (fault_ == Fault::LineLoss) return;
    if (fault_ == Fault::Refused && fault != Fault::LineLoss) return;
    if (fault == Fault::Damaged && fault_ == Fault::Damaged) return;
    fault_ = fault;
}

void LinkSession::failStep() {
    if (commMode_ == CommKind::Identify) {
        // A connection test asks nothing: its caller tells which step failed.
        const SessionStep* step = FindSessionStep(commMode_, currentStep());
        const QString held = transport_ ? transport_->sharedWith() : QString();
        identifyFailure_ = !held.isEmpty()
                               ? held
                               : LinkText(step && step->phase == SessionPhase::Ident ? TxtNoIdentity
                                                                                     : TxtNoAnswer);
        failWith(faultReason());
        return;
    }
    if (commMode_ == CommKind::Info)
        InfoFailurePrompt();
    else
        FailurePrompt();
}

void LinkSession::resendBlock(bool write) {
    // A block answered with resend again and again would otherwise loop for ever: every resend
    // and every time-out spends one of the block's retries.
    int* left = blockRetry();
    if (!left || *left < 1) {
        logEvent(QStringLiteral("block %1 has no retries left").arg(HexAddress(commAddr_)));
        FailurePrompt();
        return;
    }
    --*left;
    logEvent(QStringLiteral("retry of block %1 (%2 left)").arg(HexAddress(commAddr_)).arg(*left));
    sendAfterQuiet(write ? &LinkSession::SendWriteBlock : &LinkSession::SendReadBlock);
}

void LinkSession::sendAfterQuiet(void (LinkSession::*send)()) {
    const qint64 left =
        mayHoldFragment_ && sentAt_.isValid() ? ResyncQuietMs - sentAt_.elapsed() : 0;
    if (left <= 0) {
        (this->*send)();
        return;
    }
    // Whatever arrives meanwhile is no answer to the request about to be sent.
    pendingSend_ = send;
    quietTimer_.start(int(left));
}

void LinkSession::onQuiet() {
    const auto send = std::exchange(pendingSend_, nullptr);
    if (send && commActive_) (this->*send)();
}

void LinkSession::onTimeout() {
    waitTimer_.stop();
    const SessionStep* step = FindSessionStep(commMode_, currentStep());
    if (!step) return;
    // Some bytes came, but never a whole reply: the line damages what the radio says.
    if (!rx_.isEmpty()) noteFault(Fault::Damaged);
    if (step->phase != SessionPhase::Program) lineTrouble_ = true;
    if (step->phase == SessionPhase::Blocks) blockTimedOut_ = true;
    // Nothing whole came back: the request may have lost a byte, and the radio then waits for
    // the rest of it.
    mayHoldFragment_ = !wholeReply_;
    if (log_) {
        if (!rx_.isEmpty()) log_->received(rx_, std::min<int>(echoLen_, int(rx_.size())));
        log_->event(QStringLiteral("time-out waiting for %1%2")
                        .arg(stepName(), rx_.isEmpty() ? QString()
                                                       : QStringLiteral(" (%1 of %2 bytes came)")
                                                             .arg(rx_.size())
                                                             .arg(threshold_)));
    }
    switch (step->phase) {
    case SessionPhase::Program:
        // Each unanswered programming request tries the other echo behaviour of the cable.
        if (++handshakeTries_ > Retries) {
            failStep();
        } else {
            noEcho_ = !noEcho_;
            logEvent(noEcho_ ? QStringLiteral("trying again without echo")
                             : QStringLiteral("trying again with echo"));
            SendProgram();
        }
        return;
    case SessionPhase::Ident:
        // One lost reply is no reason to give up: the identification is asked for as often
        // as a block of data.
        if (identRetries_-- >= 1) {
            logEvent(
                QStringLiteral("asking for the identification again (%1 left)").arg(identRetries_));
            sendAfterQuiet(&LinkSession::SendIdentRequest);
        } else {
            failStep();
        }
        return;
    case SessionPhase::PassBlock:
        if (passBlockRetries_-- >= 2)
            sendAfterQuiet(&LinkSession::SendPassBlockRead);
        else
            failStep();
        return;
    case SessionPhase::Blocks:
        // The information area is read once through: a lost block asks the user at once.
        if (commMode_ == CommKind::Info)
            failStep();
        else
            resendBlock(commMode_ == CommKind::Write);
        return;
    case SessionPhase::End:
        // Every block has moved; an unanswered end request changes nothing.
        EndSession(true);
        return;
    }
}
