// Starts the local service on a loopback port with its own temporary data folder, for network and end-to-end tests.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;
class TDO_Event;
class TDateTime;
enum class TProductID;

class TServiceFixture {
public:
    TServiceFixture();
    ~TServiceFixture();
    TServiceFixture(const TServiceFixture &) = delete;
    TServiceFixture &operator=(const TServiceFixture &) = delete;

    // The service program built with the tests; empty when it was not built.
    static QString ServiceExecutable();

    // Starts the service and waits (bounded) for it to listen. The first start makes the temporary data
    // folder and lets the service pick a free port; AExtraArgs (e.g. "--min-client-version", "2.0.0.0") are
    // kept for Restart. False with ErrorText() when it did not come up.
    bool Start(const QStringList &AExtraArgs = {}, int ATimeoutMs = 20000);
    // Stops and starts again with the same data folder, arguments and, when still free, the same port.
    bool Restart(int ATimeoutMs = 20000);
    // Asks the service to end (SIGTERM), waits, and kills it when it does not.
    void Stop();
    bool IsRunning() const;

    // "https://127.0.0.1:<port>" without trailing slash; empty before the first successful start.
    QString BaseURL() const;
    int Port() const { return FPort; }
    // The data folder: exists from construction, so tests may seed files before Start.
    QString DataFolder() const;
    QString CertificatePath() const;
    // Everything the service wrote to stdout so far (lines printed before "listening on" included).
    QString Output() const { return FOutput; }
    QString ErrorText() const { return FError; }

    // Seeding through the service itself: runs it once with --seed-demo on this data folder (the service must
    // be stopped) and returns what it printed, or an empty text on failure.
    QString SeedDemo(int ATimeoutMs = 20000);
    // Writes records straight into the data folder where the service keeps them (works while it runs: the
    // service reads its files on every request). The event must have a code (ID).
    bool SeedEvent(const TDO_Event &AEvent) const;
    bool SeedCoupon(const QString &ACode, int AUsesRemaining, TProductID AProduct, const TDateTime &AExpirationUTC) const;

private:
    bool Launch(const QStringList &AArgs, int ATimeoutMs);

    std::unique_ptr<QTemporaryDir> FDir;
    std::unique_ptr<QProcess> FProcess;
    QStringList FExtraArgs;
    int FPort = 0;
    QString FOutput;
    QString FError;
};
