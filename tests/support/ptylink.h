#pragma once

// The program's end of a serial line to mzsim: a new document, a session on a serial transport
// of the device, a prompter that answers as the test says, and a read that lands in the
// document as the window's would.

#include "core/app/documenttitles.h"
#include "core/link/serialtransport.h"
#include "core/link/session.h"
#include "core/model/document.h"
#include "support/scriptedprompter.h"

#include <QEventLoop>
#include <QSignalSpy>
#include <QTimer>

struct PtyLink {
    Document doc;
    ScriptedPrompter prompter;
    SerialTransport transport;
    LinkSession session{doc};
    int timeoutMs;

    explicit PtyLink(const QString& device, int timeoutMs = 60000)
        : transport(device), timeoutMs(timeoutMs) {
        doc.NewDocument();
        doc.setPrompter(&prompter);
        session.setTransport(&transport);
        session.setPrompter(&prompter);
        session.setReadApplyDelay(0);
        QObject::connect(&session, &LinkSession::readReady,
                         [this] { AdoptRadioRead(doc, session); });
    }
    // Runs a session to its end; whether it ended well.
    bool run(CommKind kind) {
        QSignalSpy ended(&session, &LinkSession::sessionEnded);
        if (!session.Start(kind)) return false;
        QEventLoop loop;
        QObject::connect(&session, &LinkSession::sessionEnded, &loop, &QEventLoop::quit);
        QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
        if (ended.isEmpty()) loop.exec();
        return !ended.isEmpty() && ended.first().first().toBool();
    }
};
