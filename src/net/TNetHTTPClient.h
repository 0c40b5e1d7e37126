// HTTP client for one worker thread: requests that block only that thread, with time-outs and a TLS policy.
#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QString>

#include <atomic>
#include <memory>

class QNetworkAccessManager;

// What came back from one request.
struct TNetHTTPResponse {
    enum TOutcome { hoReply, hoNoReply, hoFailed };
    TOutcome Outcome = hoNoReply;
    int StatusCode = 0;   // HTTP status when Outcome is hoReply
    QString StatusText;   // reason phrase when Outcome is hoReply
    QByteArray Body;
    QByteArray ContentType;
    QString ErrorMessage; // the failure's message when Outcome is hoFailed
    bool HasReply() const { return Outcome == hoReply; }
};

// Must be created, used and destroyed on one thread (the network manager lives there). Each request runs a
// local event loop on that thread until the reply has finished or a time-out has struck.
class TNetHTTPClient {
public:
    TNetHTTPClient();
    ~TNetHTTPClient();
    TNetHTTPClient(const TNetHTTPClient &) = delete;
    TNetHTTPClient &operator=(const TNetHTTPClient &) = delete;

    void SetContentType(const QByteArray &AValue) { FContentType = AValue; }
    // The service's agents accept every server certificate; other clients verify the ordinary way.
    void SetAcceptAllCertificates(bool AValue) { FAcceptAll = AValue; }
    // Trusts this certificate as an extra authority besides the system's (a self-signed development server).
    void AddTrustedCertificate(const QSslCertificate &ACertificate) { FTrusted.append(ACertificate); }
    // HTTP Basic credentials, sent with the request.
    void SetBasicAuthentication(const QString &AUser, const QString &APassword);
    // Milliseconds; 0 disables the time-out.
    void SetTimeouts(int AConnectMsec, int ATransferMsec);
    int ConnectTimeout() const { return FConnectMsec; }
    int TransferTimeout() const { return FTransferMsec; }
    // A flag that aborts a running request when it becomes true (checked a few times per second).
    void SetAbortFlag(const std::atomic<bool> *AFlag) { FAbortFlag = AFlag; }

    TNetHTTPResponse Get(const QString &AURL);
    TNetHTTPResponse Post(const QString &AURL, const QByteArray &ABody);

    // Defaults for new clients (tests shorten them).
    static void SetDefaultTimeouts(int AConnectMsec, int ATransferMsec);
    static int DefaultConnectTimeout();
    static int DefaultTransferTimeout();

private:
    TNetHTTPResponse Perform(bool APost, const QString &AURL, const QByteArray &ABody);

    std::unique_ptr<QNetworkAccessManager> FManager;
    QByteArray FContentType = "application/octet-stream";
    bool FAcceptAll = false;
    QList<QSslCertificate> FTrusted;
    QByteArray FAuthorization;
    int FConnectMsec;
    int FTransferMsec;
    const std::atomic<bool> *FAbortFlag = nullptr;
};
