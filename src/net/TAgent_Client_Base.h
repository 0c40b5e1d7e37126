// Base of the service agents: one worker thread per request, outcome fields, completion on the UI thread.
#pragma once

#include "net/TNetHTTPClient.h"

#include <QPointer>
#include <QString>
#include <QThread>

#include <atomic>
#include <memory>

class TDOX_Base;
class TDOX_BaseQuenmark;

// Life cycle, as a dialog uses it:
//   auto *agent = new TAgent_Client_Event(url, request);         // no parent; it disposes of itself
//   connect(agent, &TAgent_Client_Base::Completed, this, &Tdlg::AgentCompleted);
//   FAgent = agent; agent->start();
//   ... in AgentCompleted(TAgent_Client_Base *ASender), on the UI thread, after the request has finished:
//   if (ASender != FAgent) return; FAgent = nullptr; read Success(), StatusText(), duplicate reply records.
//   To abandon: TAgent_Client_Base::Abandon(FAgent) (safe before start, while running, after finish).
// The agent is deleted (deleteLater) right after its Completed handlers have returned.
class TAgent_Client_Base : public QThread {
    Q_OBJECT
    Q_PROPERTY(QString BaseURL READ BaseURL CONSTANT)
    Q_PROPERTY(bool Success READ Success)
    Q_PROPERTY(int StatusCode READ StatusCode)
    Q_PROPERTY(QString StatusText READ StatusText)
    Q_PROPERTY(bool OldClient READ OldClient)

public:
    // The agent's own status codes; below 100, so they never collide with HTTP codes.
    enum TAgentStatus {
        asNoReply = 1,        // "Cannot reach server"
        asFailed = 2,         // "Cannot reach server (" + message + ")"
        asNotSupported = 3,   // "Agent does not support action"
        asUnreadable = 4      // "Unable to read response (" + message + ")"
    };

    explicit TAgent_Client_Base(const QString &ABaseURL, QObject *AParent = nullptr);
    ~TAgent_Client_Base() override;

    QString BaseURL() const { return FBaseURL; }
    bool Success() const { return FSuccess; }
    int StatusCode() const { return FStatusCode; }
    QString StatusText() const { return FStatusText; }
    bool OldClient() const { return FOldClient; }

    // Disconnects every completion receiver, asks the thread to stop and leaves the agent to dispose of
    // itself; a request under way runs to its end unnoticed. An agent that was never started is deleted.
    void Abandon();
    // The same through a guarded reference, which is then cleared; does nothing for a null reference.
    template <class T> static void Abandon(QPointer<T> &AAgent) {
        if (AAgent)
            AAgent->Abandon();
        AAgent.clear();
    }

    // At program exit: waits up to AMsec for running agents, then makes their requests give up and waits a
    // little longer. Returns false when some are still running; they are left to the operating system
    // (a running thread is never destroyed), so the caller should end the process without further clean-up.
    static bool WaitForAll(int AMsec);
    static int RunningCount();
    // Set once WaitForAll has run out of patience: running requests give up.
    static const std::atomic<bool> *ShutdownFlag();

    // A new HTTP client for one request on the calling (worker) thread: "application/octet-stream",
    // every server certificate accepted, the default time-outs.
    static std::unique_ptr<TNetHTTPClient> NewClient();

    static QString Text_CannotReachServer();
    static QString Text_CannotReachServer(const QString &AMessage);
    static QString Text_NotSupported();
    static QString Text_UnableToRead(const QString &AMessage);
    // The fee agent's form, without the detail.
    static QString Text_UnableToRead();
    // Detail for a 200 reply whose body did not load into the record with the given element name.
    static QString Text_NotARecord(const QString &ANodeName);

    // Maps a transport outcome to status 1 or 2; for a reply sets the HTTP status and reason phrase.
    // Returns true when a reply arrived.
    static bool ApplyResponse(const TNetHTTPResponse &AResponse, int &AStatusCode, QString &AStatusText);

    // The request record as the encrypted body under the network start code; false when it cannot be written.
    static bool SaveRequest(const TDOX_BaseQuenmark &ARequest, QByteArray &ABody);
    // Reads a 200 reply into its record; false when the body cannot be decrypted or holds no such record.
    static bool LoadReply(TDOX_BaseQuenmark &ARecord, const QByteArray &ABody);
    static bool LoadPlainReply(TDOX_Base &ARecord, const QByteArray &ABody);

signals:
    // Emitted on the UI thread once the request has finished; the agent is deleted right afterwards.
    void Completed(TAgent_Client_Base *ASender);

protected:
    // The request; runs on the worker thread and touches only what the agent owns.
    virtual void Execute() = 0;
    // True for a 200 reply worth reading; a 426 marks this client version as no longer accepted.
    bool AcceptReply() {
        if (FStatusCode == 426)
            FOldClient = true;
        return FStatusCode == 200;
    }
    // Disconnects the receivers of the derived agents' own signals as well (Abandon).
    virtual void DisconnectReceivers();

    bool ApplyResponse(const TNetHTTPResponse &AResponse) {
        return ApplyResponse(AResponse, FStatusCode, FStatusText);
    }
    // POSTs the encrypted request; false (status 1 or 2 set) when no reply came back.
    bool PostRecord(TNetHTTPClient &AClient, const QString &APath, const TDOX_BaseQuenmark &ARequest,
                    TNetHTTPResponse &AResponse);
    // Status 4 for a 200 reply that did not load into the record with the given element name.
    void SetStatus_Unreadable(const QString &ANodeName) { SetStatus(asUnreadable, Text_UnableToRead(Text_NotARecord(ANodeName))); }
    void SetStatus(int ACode, const QString &AText) {
        FStatusCode = ACode;
        FStatusText = AText;
    }

    QString FBaseURL;
    bool FSuccess = false;
    int FStatusCode = 0;
    QString FStatusText;
    bool FOldClient = false;

private:
    void run() final;
    void HandleFinished();
};
