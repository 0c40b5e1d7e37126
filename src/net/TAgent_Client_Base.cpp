#include "net/TAgent_Client_Base.h"

#include "crypto/TzovCryptoTool.h"
#include "data/TDOX_BaseQuenmark.h"

#include <QBuffer>
#include <QDeadlineTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QSet>

#include <exception>

namespace {
QMutex GRegistryLock;
QSet<TAgent_Client_Base *> &Registry() {
    static QSet<TAgent_Client_Base *> registry;
    return registry;
}
std::atomic<bool> GShutdown{false};
} // namespace

TAgent_Client_Base::TAgent_Client_Base(const QString &ABaseURL, QObject *AParent)
    : QThread(AParent), FBaseURL(ABaseURL) {
    // The agent object lives on the creating (UI) thread, so this runs there after the worker has ended.
    connect(this, &QThread::finished, this, &TAgent_Client_Base::HandleFinished, Qt::QueuedConnection);
    QMutexLocker lock(&GRegistryLock);
    Registry().insert(this);
}

TAgent_Client_Base::~TAgent_Client_Base() {
    QMutexLocker lock(&GRegistryLock);
    Registry().remove(this);
}

void TAgent_Client_Base::run() {
    try {
        Execute();
    } catch (const std::exception &e) {
        FSuccess = false;
        SetStatus(asFailed, Text_CannotReachServer(QString::fromUtf8(e.what())));
    } catch (...) {
        FSuccess = false;
        SetStatus(asFailed, Text_CannotReachServer(tr("unexpected failure")));
    }
}

void TAgent_Client_Base::HandleFinished() {
    emit Completed(this);
    deleteLater();
}

void TAgent_Client_Base::DisconnectReceivers() {
    disconnect(this, &TAgent_Client_Base::Completed, nullptr, nullptr);
}

void TAgent_Client_Base::Abandon() {
    DisconnectReceivers();
    requestInterruption();
    // Never started: no finished signal will ever come to dispose of it.
    if (!isRunning() && !isFinished())
        deleteLater();
}

bool TAgent_Client_Base::WaitForAll(int AMsec) {
    auto waitAll = [](QDeadlineTimer ADeadline) {
        QList<TAgent_Client_Base *> agents;
        {
            QMutexLocker lock(&GRegistryLock);
            agents = Registry().values();
        }
        bool all = true;
        // Agents are deleted only on the UI thread, which is the one waiting here.
        for (TAgent_Client_Base *a : std::as_const(agents))
            all = a->wait(ADeadline) && all;
        return all;
    };
    if (waitAll(QDeadlineTimer(qMax(0, AMsec))))
        return true;
    GShutdown = true;
    return waitAll(QDeadlineTimer(1000));
}

int TAgent_Client_Base::RunningCount() {
    QMutexLocker lock(&GRegistryLock);
    int n = 0;
    for (TAgent_Client_Base *a : std::as_const(Registry()))
        n += a->isRunning() ? 1 : 0;
    return n;
}

const std::atomic<bool> *TAgent_Client_Base::ShutdownFlag() { return &GShutdown; }

std::unique_ptr<TNetHTTPClient> TAgent_Client_Base::NewClient() {
    auto client = std::make_unique<TNetHTTPClient>();
    client->SetContentType("application/octet-stream");
    client->SetAcceptAllCertificates(true);
    client->SetAbortFlag(&GShutdown);
    return client;
}

QString TAgent_Client_Base::Text_CannotReachServer() { return tr("Cannot reach server"); }

QString TAgent_Client_Base::Text_CannotReachServer(const QString &AMessage) {
    return tr("Cannot reach server (") + AMessage + QLatin1Char(')');
}

QString TAgent_Client_Base::Text_NotSupported() { return tr("Agent does not support action"); }

QString TAgent_Client_Base::Text_UnableToRead(const QString &AMessage) {
    return tr("Unable to read response (") + AMessage + QLatin1Char(')');
}

QString TAgent_Client_Base::Text_UnableToRead() { return tr("Unable to read response"); }

QString TAgent_Client_Base::Text_NotARecord(const QString &ANodeName) {
    return tr("the reply could not be decrypted or does not hold a \"%1\" record").arg(ANodeName);
}

bool TAgent_Client_Base::ApplyResponse(const TNetHTTPResponse &AResponse, int &AStatusCode, QString &AStatusText) {
    switch (AResponse.Outcome) {
    case TNetHTTPResponse::hoReply:
        AStatusCode = AResponse.StatusCode;
        AStatusText = AResponse.StatusText;
        return true;
    case TNetHTTPResponse::hoNoReply:
        AStatusCode = asNoReply;
        AStatusText = Text_CannotReachServer();
        return false;
    case TNetHTTPResponse::hoFailed:
        break;
    }
    AStatusCode = asFailed;
    AStatusText = Text_CannotReachServer(AResponse.ErrorMessage);
    return false;
}

bool TAgent_Client_Base::SaveRequest(const TDOX_BaseQuenmark &ARequest, QByteArray &ABody) {
    ABody.clear();
    QBuffer buffer(&ABody);
    if (!buffer.open(QIODevice::WriteOnly))
        return false;
    return ARequest.SaveTo_Stream(&buffer, TzovCryptoTool::NetworkStartCode()) && !ABody.isEmpty();
}

bool TAgent_Client_Base::LoadReply(TDOX_BaseQuenmark &ARecord, const QByteArray &ABody) {
    QByteArray bytes = ABody;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    return ARecord.LoadFrom_Stream(&buffer, TzovCryptoTool::NetworkStartCode());
}

bool TAgent_Client_Base::LoadPlainReply(TDOX_Base &ARecord, const QByteArray &ABody) {
    QByteArray bytes = ABody;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::ReadOnly))
        return false;
    return ARecord.LoadFrom_Stream(&buffer);
}

bool TAgent_Client_Base::PostRecord(TNetHTTPClient &AClient, const QString &APath, const TDOX_BaseQuenmark &ARequest,
                                    TNetHTTPResponse &AResponse) {
    QByteArray body;
    if (!SaveRequest(ARequest, body)) {
        SetStatus(asFailed, Text_CannotReachServer(tr("the request could not be written")));
        return false;
    }
    AResponse = AClient.Post(FBaseURL + APath, body);
    return ApplyResponse(AResponse);
}
