#include "sessioncontroller.h"
#include "frmpassword.h"
#include "frmprogress.h"
#include "virtualradioprocess.h"

#include "app/frmmain.h"
#include "core/app/appstate.h"
#include "core/app/otherversion.h"
#include "core/lang/prompter.h"
#include "core/link/portnames.h"
#include "core/model/version.h"

namespace {
const QString kRadioInfo = QStringLiteral("FrmRadioInfo");
// "Stop writing? The radio will hold a partly written memory; write again before using it."
constexpr int TxtStopWrite = 9810;
} // namespace

SessionController::SessionController(frmMain& main, QObject* parent)
    : QObject(parent), main_(&main), session_(main.document()) {
    session_.setTransport(&transport_);
    session_.setPrompter(&main.prompter());
    session_.setPasswordAsker(this);

    connect(&session_, &LinkSession::sessionStarted, this, &SessionController::updateRunning);
    connect(&session_, &LinkSession::progress, this, [this](int percent) {
        if (!progress_) return;
        // A restart after a failure begins again at 0 %.
        if (percent == 0)
            progress_->ResetProgress();
        else
            progress_->ShowPercent(percent);
    });
    connect(&session_, &LinkSession::transferEnded, this, [this] {
        if (progress_) progress_->Finish();
    });
    connect(&session_, &LinkSession::readSucceeded, this, [this] {
        applyPending_ = true;
        if (main_) main_->CloseCurAllWindows();
    });
    connect(&session_, &LinkSession::readApplied, this, [this] {
        applyPending_ = false;
        // The session has made the document an unnamed new one; the window shows it.
        if (main_) main_->documentLoaded();
        updateRunning();
    });
    connect(&session_, &LinkSession::radioInfoRead, this, &SessionController::onRadioInfoRead);
    connect(&session_, &LinkSession::handOverRequested, this, &SessionController::onHandOver);
    connect(&session_, &LinkSession::sessionEnded, this, &SessionController::updateRunning);

    main.setLinkSession(&session_);
    main.setSessionStarter([this](CommKind commMode) { start(commMode); });
    // Leaving the program ends a session still running (the radio-information read has no
    // modal window that would keep the user from the exit) and closes its port.
    connect(&main, &frmMain::closing, this, [this] { session_.AbortSession(); });
}

SessionController::~SessionController() {
    session_.AbortSession();
    if (main_) {
        main_->setSessionStarter({});
        main_->setLinkSession(nullptr);
    }
}

void SessionController::updateRunning() {
    if (main_) main_->setSessionRunning(session_.isRunning() || applyPending_);
}

void SessionController::start(CommKind commMode) {
    if (!main_ || session_.isRunning() || applyPending_) return;
    transport_.setPort(
        PortFromSettings(App().ComPort, VirtualRadioProcess::sessionPort(App().PortName)));
    main_->setSessionRunning(true);
    if (commMode == CommKind::Info) {
        // No confirmation and no progress window; the port stays open until the session ends.
        session_.Start(CommKind::Info);
    } else if (commMode == CommKind::Read || commMode == CommKind::Write) {
        runTransfer(commMode);
    }
    updateRunning();
}

void SessionController::runTransfer(CommKind commMode) {
    // Opening the port and closing it again tells at once whether the cable is there.
    if (!session_.PrepareSession(commMode)) return;
    session_.ClosePort();
    const Prompter::Answer answer =
        main_->prompter().message(commMode == CommKind::Read ? 9004 : 9005,
                                  Prompter::Buttons::OkCancel, Prompter::Icon::Question);
    if (answer != Prompter::Answer::Ok) {
        session_.CancelSession();
        return;
    }
    FrmProgress window(commMode, main_);
    progress_ = &window;
    connect(&window, &FrmProgress::loaded, this, [this, &window] {
        // A session that could not start has closed the window already.
        if (!session_.StartTransfer() && window.isVisible()) window.Finish();
    });
    connect(&window, &FrmProgress::cancelRequested, this, [this, &window] {
        stopTransfer();
        // Stopped before its first request went out: nothing will close the window.
        if (!session_.isRunning() && window.isVisible()) window.Finish();
    });
    window.exec();
    progress_ = nullptr;
}

void SessionController::stopTransfer() {
    if (!session_.isRunning() || session_.isHeld()) return;
    // A read leaves nothing behind that the document would see, and a write that has not sent
    // its first block has changed nothing: they stop at once. A write under way asks first;
    // meanwhile it sends nothing new.
    if (session_.WritingBlocks()) {
        session_.HoldTransfer();
        const Prompter::Answer answer = main_->prompter().message(
            TxtStopWrite, Prompter::Buttons::YesNo, Prompter::Icon::Warning);
        if (!session_.isRunning()) return; // the line died meanwhile
        // Every block may have gone out while the user read the question: the write then
        // simply ends as it would have.
        if (answer != Prompter::Answer::Yes || !session_.StopTransfer()) session_.ResumeTransfer();
        return;
    }
    session_.StopTransfer();
}

std::optional<QString> SessionController::askPassword(const QString& current) {
    QString typed = current;
    QWidget* parent = progress_ ? static_cast<QWidget*>(progress_) : main_.data();
    if (!FrmPassWord::Ask(typed, parent)) return std::nullopt;
    return typed;
}

void SessionController::onRadioInfoRead() {
    // The record is in the document's RadioInfo; the window opens when one is registered
    // under its name (until then nothing opens).
    if (main_) main_->ShowChildForm(kRadioInfo);
}

void SessionController::onHandOver(const QString& radioVersion) {
    // Only when the other version was started does this one leave, through the exit sequence
    // that asks to save unsaved work. Queued: the session ends first and closes its port.
    if (main_ && RunOtherVersion(radioVersion, main_->prompter())) main_->requestExit();
}
