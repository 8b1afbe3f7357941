// What the session tells and asks the user: the password, the identity of the radio, the tone
// warning, and whether to try again after a step gave up. Each question runs a nested event
// loop; a session that ended meanwhile (the line died) is not continued by the code that asked.

#include "../lang/langtext.h"
#include "../lang/prompter.h"
#include "../model/country.h"
#include "../model/document.h"
#include "../model/helpers.h"
#include "../model/version.h"
#include "frames.h"
#include "infoarea.h"
#include "linktexts.h"
#include "session.h"
#include "transport.h"

namespace {
const QString CRLF = QStringLiteral("\r\n");

// "PC is MZ-710" / "Radio is MZ-711": the two sides of a mismatch, one line each.
QString bothSides(const QString& pc, const QString& radio) {
    return LinkText(TxtPcIs) + QLatin1Char(' ') + pc + CRLF + LinkText(TxtRadioIs) +
           QLatin1Char(' ') + radio;
}

// "Try again?", answered with Retry and Cancel: cause when the radio answered, but wrongly;
// otherwise 9008 with hint below it.
Prompter::Answer askTryAgain(Prompter& p, const QString& cause, const QString& hint,
                             Prompter::Icon icon) {
    return cause.isEmpty() ? p.message(9008, Prompter::Buttons::RetryCancel, icon, hint)
                           : p.ask(cause, Prompter::Buttons::RetryCancel, icon);
}
} // namespace

bool LinkSession::CheckPassword() const {
    return PasswordMatches(RadioPassword(passBlock_), progPassword_);
}

void LinkSession::askPassword() {
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
    prompter().plain(LinkText(TxtPasswordFailure));
    if (g == generation_) failWith(QStringLiteral("the password does not match"));
}

bool LinkSession::identityAccepted() const {
    return IsValidMode(radioCountryMode_) &&
           (commMode_ != CommKind::Write || doc_.CountryMode == radioCountryMode_) &&
           TrimBlanks(doc_.ModelName) == TrimBlanks(radioModelName_) &&
           IsCompatible(QString::fromLatin1(DataVersion), radioVersion_);
}

bool LinkSession::CheckRadioIdentity() {
    Prompter& p = prompter();
    // A country mode the program does not know would leave the document in a state no window
    // can show: such a radio is refused before anything moves.
    if (!IsValidMode(radioCountryMode_)) {
        p.plain(LinkText(TxtCountryModeError));
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
                      bothSides(ModeName(doc_.CountryMode), ModeName(radioCountryMode_)));
        } else {
            const QString q = VersionMessage(QString::fromLatin1(DataVersion), radioVersion_, 0);
            if (p.ask(q, Prompter::Buttons::YesNo, Prompter::Icon::None) == Prompter::Answer::Yes)
                emit handOverRequested(radioVersion_);
        }
    } else {
        p.ask(LoadLangText(9012) + CRLF + bothSides(pcModel, radioModel), Prompter::Buttons::Ok,
              Prompter::Icon::None);
    }
    return false;
}

void LinkSession::warnToneSupport() {
    prompter().ask(LinkText(TxtToneInvalid) + CRLF + LinkText(TxtToneFeatures),
                   Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

QString LinkSession::failureText() const {
    // Another program on the port takes the radio's replies: closing it is what helps.
    if (fault_ != Fault::Refused && transport_)
        if (QString held = transport_->sharedWith(); !held.isEmpty()) return held;
    switch (fault_) {
    case Fault::LineLoss:
        return LinkText(TxtLineLosesBytes).arg(HexAddress(commAddr_));
    case Fault::Refused:
        return LinkText(TxtRefusedBlock).arg(HexAddress(commAddr_));
    case Fault::Damaged:
        return LinkText(TxtDamagedAnswers);
    case Fault::NoAnswer:
        break;
    }
    return QString();
}

QString LinkSession::faultReason() const {
    if (fault_ != Fault::Refused && transport_ && !transport_->sharedWith().isEmpty())
        return QStringLiteral("another program holds the port");
    switch (fault_) {
    case Fault::LineLoss:
        return QStringLiteral("the line loses bytes: block %1").arg(HexAddress(commAddr_));
    case Fault::Refused:
        return QStringLiteral("the radio refused block %1").arg(HexAddress(commAddr_));
    case Fault::Damaged:
        return QStringLiteral("damaged answers to %1").arg(stepName());
    case Fault::NoAnswer:
        break;
    }
    return QStringLiteral("no answer to %1").arg(stepName());
}

void LinkSession::FailurePrompt() {
    // The radio answered, but with refusals or damaged bytes: that is what the user hears,
    // not that it is silent.
    const QString cause = failureText();
    const QString why = faultReason();
    // A radio that never answered the programming request is most often unplugged or off.
    const QString hint = handshakeTries_ > Retries ? LinkText(TxtNoAnswer) : QString();
    commActive_ = false;
    handshakeTries_ = 0;
    passBlockRetries_ = Retries;
    fault_ = Fault::NoAnswer;
    const quint64 g = generation_;
    // OK counts as Retry for answers given by script.
    logEvent(QStringLiteral("asking whether to try again"));
    const auto answer = askTryAgain(prompter(), cause, hint, Prompter::Icon::Question);
    if (g != generation_) return;
    logEvent(answer == Prompter::Answer::Ok || answer == Prompter::Answer::Retry
                 ? QStringLiteral("trying again from the start")
                 : QStringLiteral("not trying again"));
    if (answer == Prompter::Answer::Retry || answer == Prompter::Answer::Ok) {
        commAddr_ = -BlockSize;
        confirming_ = false;
        readings_.clear();
        lastPercent_ = 0;
        emit progress(0);
        SendProgram();
    } else {
        failWith(why);
    }
}

void LinkSession::InfoFailurePrompt() {
    const QString cause = failureText();
    const QString why = faultReason();
    const QString hint = handshakeTries_ > Retries ? LinkText(TxtNoAnswer) : QString();
    commActive_ = false;
    fault_ = Fault::NoAnswer;
    const quint64 g = generation_;
    logEvent(QStringLiteral("asking whether to try again"));
    const auto answer = askTryAgain(prompter(), cause, hint, Prompter::Icon::None);
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
        failWith(why);
    }
}
