#pragma once

// The connection test: opens a port, asks the radio only who it is (the identification of a
// session, then END) and tells in one sentence what answered or which step failed. Used by the
// Test Connection button and by mzcli doctor; it asks the user nothing.

#include <QObject>
#include <QString>
#include <memory>

class Document;
class LinkSession;
class SerialTransport;

class ConnectionTest : public QObject {
    Q_OBJECT
public:
    explicit ConnectionTest(QObject* parent = nullptr);
    ~ConnectionTest() override;

    // Starts the test on a port (any of its names); false when one is running already.
    bool start(const QString& port);
    bool running() const;
    // Ends a running test at once; finished is not emitted.
    void abort();

    // After finished(true): what the radio said of itself.
    QString modelName() const;
    int countryMode() const;
    QString firmware() const;
    // The adapter took the request for low latency.
    bool lowLatency() const;

signals:
    // ok: the radio answered; text: "The radio answered: MZ-710, country mode 0 (CB) ..." or
    // the failed step.
    void finished(bool ok, const QString& text);

private:
    std::unique_ptr<Document> doc_;
    std::unique_ptr<SerialTransport> transport_;
    std::unique_ptr<LinkSession> session_;
};
