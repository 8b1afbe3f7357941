#include "sessioncontroller.h"
#include "frmpassword.h"
#include "frmprogress.h"
#include "virtualradioprocess.h"

#include "core/app/documenttitles.h"
#include "core/app/linksettings.h"
#include "core/app/otherversion.h"
#include "core/files/backups.h"
#include "core/lang/langtext.h"
#include "core/lang/prompter.h"
#include "core/link/linktexts.h"
#include "core/link/wirelog.h"
#include "core/model/document.h"
#include "core/model/documenthistory.h"
#include "core/model/version.h"
#include "sessionwindow.h"

#include <QDateTime>
#include <QFile>

namespace {
const QString kRadioInfo = QStringLiteral("FrmRadioInfo");
// "Stop writing? The radio will hold a partly written memory; write again before using it."
constexpr int TxtStopWrite = 9810;

// Keeps in the settings whether the radio was left partly written; the file is written only
// when that changes.
void rememberPartlyWritten(bool partly) {
    if (linkSettings().RadioPartlyWritten == partly) return;
    linkSettings().RadioPartlyWritten = partly;
    WriteLinkSettings();
}
} // namespace

SessionController::SessionController(SessionWindow& main, QObject* parent)
    : QObject(parent), main_(&main), window_(main.sessionParent()), session_(main.document()) {
    session_.setTransport(&transport_);
    session_.setPrompter(&main.prompter());
    session_.setPasswordAsker(this);
    // The outcome of a write is told once, after the check that may follow it.
    session_.setTellWriteSuccess(false);

    connect(&session_, &LinkSession::sessionStarted, this, &SessionController::updateRunning);
    connect(&session_, &LinkSession::sessionStarted, this, [this] { logUsed_ = log_ != nullptr; });
    connect(&session_, &LinkSession::progress, this, [this](int percent) {
        if (!progress_) return;
        // A restart after a failure begins again at 0 %.
        if (percent == 0)
            progress_->ResetProgress();
        else
            progress_->ShowPercent(percent);
    });
    // Stored before the first block leaves, so that a window killed in the middle of the write
    // still warns of the radio at its next start.
    connect(&session_, &LinkSession::writeBegun, this, [] { rememberPartlyWritten(true); });
    if (linkSettings().RadioPartlyWritten) {
        radioPartlyWritten_ = true;
        main.setRadioWarning(LinkText(TxtPartlyWritten), LinkText(TxtPartlyWrittenShort));
    }
    connect(&session_, &LinkSession::transferEnded, this, [this] {
        if (progress_) progress_->Finish();
    });
    connect(&session_, &LinkSession::readSucceeded, this, [this] {
        // Before anything else: the editors close and the document is replaced after this.
        saveBackup();
        applyPending_ = true;
        if (shell()) shell()->CloseCurAllWindows();
    });
    connect(&session_, &LinkSession::readReady, this, [this] {
        applyPending_ = false;
        if (shell()) {
            // The read becomes an unnamed document titled by the read; once the windows show
            // it, undo starts there: what was on the screen before is no step back from it.
            Document& doc = shell()->document();
            AdoptRadioRead(doc, session_);
            shell()->documentLoaded();
            doc.history().clear();
        }
        updateRunning();
    });
    connect(&session_, &LinkSession::radioInfoRead, this, &SessionController::onRadioInfoRead);
    connect(&session_, &LinkSession::handOverRequested, this, &SessionController::onHandOver);
    connect(&session_, &LinkSession::sessionEnded, this, &SessionController::updateRunning);
    connect(&session_, &LinkSession::sessionEnded, this, [this](bool ok, CommKind kind) {
        if (kind == CommKind::Write && ok) {
            writeSucceeded_ = true;
            rememberPartlyWritten(false);
        }
        // The radio-information read has no window that the command waits for.
        if (kind == CommKind::Info) closeWireLog();
    });
    connect(&session_, &LinkSession::verifyFinished, this, &SessionController::onVerified);

    main.setLinkSession(&session_);
    main.setSessionStarter([this](CommKind commMode) { start(commMode); });
    // Leaving the program ends a session still running (the radio-information read has no
    // modal window that would keep the user from the exit) and closes its port.
    main.whenClosing(this, [this] { session_.AbortSession(); });
}

SessionController::~SessionController() {
    session_.AbortSession();
    session_.setWireLog(nullptr);
    if (shell()) {
        shell()->setSessionStarter({});
        shell()->setLinkSession(nullptr);
    }
}

void SessionController::updateRunning() {
    if (shell()) shell()->setSessionRunning(session_.isRunning() || applyPending_);
}

void SessionController::start(CommKind commMode) {
    if (!shell() || session_.isRunning() || applyPending_) return;
    transport_.setPort(VirtualRadioProcess::settingsSessionPort());
    shell()->setSessionRunning(true);
    openWireLog(commMode);
    if (commMode == CommKind::Info) {
        // No confirmation and no progress window; the port stays open until the session ends.
        if (!session_.Start(CommKind::Info)) closeWireLog();
    } else if (commMode == CommKind::Read || commMode == CommKind::Write) {
        writeSucceeded_ = false;
        const quint64 before = session_.runId();
        runTransfer(commMode);
        // Nothing ran when the user said Cancel to the confirmation or the port would not open.
        if (shell() && session_.runId() != before) tellTransferEnd(commMode);
        closeWireLog();
    }
    updateRunning();
}

void SessionController::runTransfer(CommKind commMode) {
    // Opening the port and closing it again tells at once whether the cable is there.
    if (!session_.PrepareSession(commMode)) return;
    session_.ClosePort();
    Prompter::Answer answer = Prompter::Answer::Cancel;
    if (commMode == CommKind::Read) {
        answer = shell()->prompter().message(9004, Prompter::Buttons::OkCancel,
                                             Prompter::Icon::Question);
    } else {
        // The confirmation carries the choice whether to read the radio back afterwards.
        bool verify = linkSettings().VerifyAfterWrite;
        answer =
            shell()->prompter().askWithCheck(LoadLangText(9005), Prompter::Buttons::OkCancel,
                                             Prompter::Icon::Question, LoadLangText(9783), &verify);
        if (verify != linkSettings().VerifyAfterWrite) {
            linkSettings().VerifyAfterWrite = verify;
            WriteLinkSettings();
        }
    }
    if (!shell()) return;
    if (answer != Prompter::Answer::Ok) {
        session_.CancelSession();
        return;
    }
    FrmProgress window(commMode, window_);
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
    if (!session_.isRunning() || askingStop_) return;
    // A read leaves nothing behind that the document would see, and a write that has not sent
    // its first block has changed nothing: they stop at once. A write under way asks first and
    // goes on while the user reads: a radio left waiting on a silent line may take it for a
    // lost cable. An answer given after that write ended changes nothing.
    if (session_.WritingBlocks()) {
        const quint64 run = session_.runId();
        askingStop_ = true;
        const Prompter::Answer answer = shell()->prompter().message(
            TxtStopWrite, Prompter::Buttons::YesNo, Prompter::Icon::Warning);
        askingStop_ = false;
        if (answer == Prompter::Answer::Yes && session_.runId() == run) session_.StopTransfer();
        return;
    }
    session_.StopTransfer();
}

void SessionController::tellTransferEnd(CommKind commMode) {
    const LinkSession::Outcome outcome = session_.lastOutcome();
    if (commMode == CommKind::Read) {
        if (outcome == LinkSession::Outcome::Cancelled)
            shell()->showStatusMessage(LinkText(TxtReadCancelled));
        return;
    }
    if (writeSucceeded_) {
        // The radio holds the whole document now, whatever the check below finds.
        shell()->setRadioWarning(QString());
        radioPartlyWritten_ = false;
        if (linkSettings().VerifyAfterWrite) {
            runVerify();
        } else {
            shell()->showStatusMessage(LoadLangText(9010));
            shell()->prompter().message(9010);
        }
        return;
    }
    // A write that ended among its blocks leaves a radio nobody should use until it is written
    // again: that stays said until a write succeeds. (The session told it when it ended.)
    if (session_.writeReach() == LinkSession::WriteReach::Partly) {
        const QString said = outcome == LinkSession::Outcome::Cancelled
                                 ? LinkText(TxtWriteStoppedAt).arg(session_.stoppedAtPercent()) +
                                       QLatin1Char(' ') + LinkText(TxtPartlyWritten)
                                 : LinkText(TxtPartlyWritten);
        shell()->showStatusMessage(said);
        shell()->setRadioWarning(LinkText(TxtPartlyWritten), LinkText(TxtPartlyWrittenShort));
        radioPartlyWritten_ = true;
    } else if (outcome == LinkSession::Outcome::Cancelled) {
        shell()->showStatusMessage(LinkText(TxtWriteCancelled));
    }
}

void SessionController::runVerify() {
    if (!session_.PrepareVerify()) return;
    FrmProgress window(CommKind::Read, window_);
    window.setWindowTitle(LoadLangText(9786));
    progress_ = &window;
    connect(&window, &FrmProgress::loaded, this, [this, &window] {
        if (!session_.StartTransfer() && window.isVisible()) window.Finish();
    });
    // The check reads only: Cancel stops it at once, like any read.
    verifyStopped_ = false;
    connect(&window, &FrmProgress::cancelRequested, this, [this, &window] {
        verifyStopped_ = session_.isRunning();
        stopTransfer();
        if (!session_.isRunning() && window.isVisible()) window.Finish();
    });
    window.exec();
    progress_ = nullptr;
}

void SessionController::onVerified(bool completed, const QVector<MemoryDifference>& differences) {
    if (!shell()) return;
    if (!completed && verifyStopped_) {
        // The user stopped the check: the write itself was complete.
        shell()->showStatusMessage(LinkText(TxtWrittenCheckInterrupted));
        shell()->prompter().ask(LinkText(TxtWrittenCheckInterrupted), Prompter::Buttons::Ok,
                                Prompter::Icon::Information);
        return;
    }
    if (!completed) {
        shell()->showStatusMessage(LoadLangText(9787));
        shell()->prompter().message(9787, Prompter::Buttons::Ok, Prompter::Icon::Warning);
        return;
    }
    if (differences.isEmpty()) {
        const int meaningless = session_.meaninglessDifferences();
        const QString said = meaningless == 0 ? LoadLangText(9780)
                                              : LinkText(TxtVerifiedMeaningless).arg(meaningless);
        shell()->showStatusMessage(said);
        shell()->prompter().ask(said, Prompter::Buttons::Ok, Prompter::Icon::Information);
        return;
    }
    const QString details = DescribeDifferences(differences, LoadLangText(9782));
    shell()->showStatusMessage(LoadLangText(9781) + QLatin1Char(' ') + details);
    shell()->prompter().message(9781, Prompter::Buttons::Ok, Prompter::Icon::Critical, details);
}

void SessionController::saveBackup() {
    RadioDataRec data;
    ChannelList channels;
    session_.ReadImage(data, channels);
    QString why;
    // A radio a write of this run left partly written holds half of two documents: its backup
    // is named and listed as such.
    const QString path =
        BackupStore().save(data, channels, QDateTime::currentDateTime(), &why, radioPartlyWritten_);
    // A backup that cannot be made is told, but the read goes on.
    if (shell())
        shell()->showStatusMessage(
            path.isEmpty() ? LoadLangText(9785).arg(why) : LoadLangText(9784).arg(path), path);
}

void SessionController::openWireLog(CommKind commMode) {
    log_.reset();
    logUsed_ = false;
    session_.setWireLog(nullptr);
    if (!linkSettings().LogSerialTraffic) return;
    const QString kind = commMode == CommKind::Read    ? QStringLiteral("read")
                         : commMode == CommKind::Write ? QStringLiteral("write")
                                                       : QStringLiteral("info");
    QString why;
    log_ = WireLog::openFile(NewWireLogPath(kind), &why);
    if (!log_) {
        if (shell()) shell()->showStatusMessage(LoadLangText(9789).arg(why));
        return;
    }
    // A log that fails later (a full disk) is told once; the session goes on without it.
    log_->setFailureHandler([this](const QString& reason) {
        if (shell()) shell()->showStatusMessage(LoadLangText(9789).arg(reason));
    });
    log_->event(QStringLiteral("mzprog %1 on %2").arg(kind, transport_.port()));
    session_.setWireLog(log_.get());
}

void SessionController::closeWireLog() {
    if (!log_) return;
    session_.setWireLog(nullptr);
    const QString path = log_->path();
    log_.reset();
    // Cancelled at the question, or the port would not open: nothing crossed the line.
    if (!logUsed_) {
        QFile::remove(path);
        return;
    }
    // The outcome of the session stays in Window > Messages, before the log's place.
    if (shell()) shell()->showStatusMessage(LoadLangText(9788).arg(path), path);
}

std::optional<QString> SessionController::askPassword(const QString& current) {
    QString typed = current;
    QWidget* parent = progress_ ? static_cast<QWidget*>(progress_) : window_.data();
    if (!FrmPassWord::Ask(typed, parent)) return std::nullopt;
    return typed;
}

void SessionController::onRadioInfoRead() {
    // The record is in the document's RadioInfo; the window opens when one is registered
    // under its name (until then nothing opens).
    if (shell()) shell()->ShowChildForm(kRadioInfo);
}

void SessionController::onHandOver(const QString& radioVersion) {
    // Only when the other version was started does this one leave, through the exit sequence
    // that asks to save unsaved work. Queued: the session ends first and closes its port.
    if (shell() && RunOtherVersion(radioVersion, shell()->prompter())) shell()->requestExit();
}
