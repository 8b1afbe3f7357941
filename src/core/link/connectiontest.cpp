#include "connectiontest.h"
#include "../lang/prompter.h"
#include "../model/country.h"
#include "../model/document.h"
#include "linktexts.h"
#include "serialtransport.h"
#include "session.h"

namespace {
// The test asks nothing: whatever a session would say goes nowhere, the result says it all.
SilentPrompter& silent() {
    static SilentPrompter p;
    return p;
}
} // namespace

ConnectionTest::ConnectionTest(QObject* parent)
    : QObject(parent), doc_(std::make_unique<Document>()),
      transport_(std::make_unique<SerialTransport>()),
      session_(std::make_unique<LinkSession>(*doc_)) {
    doc_->setPrompter(&silent());
    session_->setTransport(transport_.get());
    session_->setPrompter(&silent());
    connect(session_.get(), &LinkSession::sessionEnded, this, [this](bool ok, CommKind kind) {
        if (kind != CommKind::Identify) return;
        if (!ok) {
            emit finished(false, session_->IdentifyFailure());
            return;
        }
        const int mode = countryMode();
        emit finished(
            true, LinkText(TxtRadioFound)
                      .arg(modelName())
                      .arg(mode)
                      .arg(IsValidMode(mode) ? ModeName(mode) : QStringLiteral("?"), firmware()));
    });
}

ConnectionTest::~ConnectionTest() {
    abort();
}

bool ConnectionTest::start(const QString& port) {
    if (session_->isRunning()) return false;
    transport_->setPort(port);
    // The port did not open: the session never ran, so the answer is given here.
    if (!session_->Start(CommKind::Identify)) emit finished(false, session_->IdentifyFailure());
    return true;
}

bool ConnectionTest::running() const {
    return session_->isRunning();
}

void ConnectionTest::abort() {
    if (!session_->isRunning()) return;
    const QSignalBlocker quiet(session_.get());
    session_->AbortSession();
}

QString ConnectionTest::modelName() const {
    return session_->RadioModelName().trimmed();
}

int ConnectionTest::countryMode() const {
    return session_->RadioCountryMode();
}

QString ConnectionTest::firmware() const {
    return session_->RadioVersion().trimmed();
}

bool ConnectionTest::lowLatency() const {
    return transport_->lowLatency() == LowLatency::TurnedOn ||
           transport_->lowLatency() == LowLatency::AlreadyOn;
}
