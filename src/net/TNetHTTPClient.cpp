#include "net/TNetHTTPClient.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

namespace {
std::atomic<int> GDefaultConnectMsec{15000};
std::atomic<int> GDefaultTransferMsec{60000};

QString Tr(const char *AText) { return QCoreApplication::translate("TNetHTTPClient", AText); }
} // namespace

TNetHTTPClient::TNetHTTPClient()
    : FManager(std::make_unique<QNetworkAccessManager>()), FConnectMsec(GDefaultConnectMsec.load()),
      FTransferMsec(GDefaultTransferMsec.load()) {}

TNetHTTPClient::~TNetHTTPClient() = default;

void TNetHTTPClient::SetBasicAuthentication(const QString &AUser, const QString &APassword) {
    FAuthorization = "Basic " + (AUser + QLatin1Char(':') + APassword).toUtf8().toBase64();
}

void TNetHTTPClient::SetTimeouts(int AConnectMsec, int ATransferMsec) {
    FConnectMsec = qMax(0, AConnectMsec);
    FTransferMsec = qMax(0, ATransferMsec);
}

void TNetHTTPClient::SetDefaultTimeouts(int AConnectMsec, int ATransferMsec) {
    GDefaultConnectMsec = qMax(0, AConnectMsec);
    GDefaultTransferMsec = qMax(0, ATransferMsec);
}

int TNetHTTPClient::DefaultConnectTimeout() { return GDefaultConnectMsec; }
int TNetHTTPClient::DefaultTransferTimeout() { return GDefaultTransferMsec; }

TNetHTTPResponse TNetHTTPClient::Get(const QString &AURL) { return Perform(false, AURL, {}); }

TNetHTTPResponse TNetHTTPClient::Post(const QString &AURL, const QByteArray &ABody) {
    return Perform(true, AURL, ABody);
}

TNetHTTPResponse TNetHTTPClient::Perform(bool APost, const QString &AURL, const QByteArray &ABody) {
    TNetHTTPResponse result;
    const QUrl url(AURL);
    if (!url.isValid() || url.scheme().isEmpty() || url.host().isEmpty()) {
        result.Outcome = TNetHTTPResponse::hoFailed;
        result.ErrorMessage = Tr("Invalid address \"%1\"").arg(AURL);
        return result;
    }

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, FContentType);
    // The service speaks HTTP/1.1 only; skipping the upgrade negotiation keeps the exchange predictable.
    request.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    if (!FAuthorization.isEmpty())
        request.setRawHeader("Authorization", FAuthorization);
    if (FTransferMsec > 0)
        request.setTransferTimeout(FTransferMsec);
    if (url.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0) {
        QSslConfiguration ssl = QSslConfiguration::defaultConfiguration();
        if (FAcceptAll)
            ssl.setPeerVerifyMode(QSslSocket::VerifyNone);
        for (const QSslCertificate &c : std::as_const(FTrusted))
            ssl.addCaCertificate(c);
        request.setSslConfiguration(ssl);
    }

    QNetworkReply *reply = APost ? FManager->post(request, ABody) : FManager->get(request);
    if (!reply)
        return result; // hoNoReply
    std::unique_ptr<QNetworkReply> owner(reply);

    QEventLoop loop;
    QString ownAbortMessage;
    auto abortWith = [&](const QString &AMessage) {
        if (ownAbortMessage.isEmpty())
            ownAbortMessage = AMessage;
        reply->abort();
    };

    if (FAcceptAll)
        QObject::connect(reply, &QNetworkReply::sslErrors, reply, [reply](const QList<QSslError> &) {
            reply->ignoreSslErrors();
        });

    QTimer connectTimer;
    connectTimer.setSingleShot(true);
    if (FConnectMsec > 0) {
        QObject::connect(&connectTimer, &QTimer::timeout, reply, [&] {
            abortWith(Tr("Connection timed out after %1 ms").arg(FConnectMsec));
        });
        auto connected = [&connectTimer] { connectTimer.stop(); };
        QObject::connect(reply, &QNetworkReply::requestSent, &connectTimer, connected);
        QObject::connect(reply, &QNetworkReply::encrypted, &connectTimer, connected);
        QObject::connect(reply, &QNetworkReply::metaDataChanged, &connectTimer, connected);
        QObject::connect(reply, &QNetworkReply::uploadProgress, &connectTimer, [&connectTimer](qint64 ASent, qint64) {
            if (ASent > 0)
                connectTimer.stop();
        });
        connectTimer.start(FConnectMsec);
    }

    QTimer abortPoll;
    if (FAbortFlag) {
        QObject::connect(&abortPoll, &QTimer::timeout, reply, [&] {
            if (FAbortFlag->load())
                abortWith(Tr("Request cancelled"));
        });
        abortPoll.start(100);
    }

    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    connectTimer.stop();
    abortPoll.stop();

    const QNetworkReply::NetworkError error = reply->error();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    // Errors below 100 are transport failures (refused, closed, time-out, TLS); a status line that arrived
    // before one of them does not make the reply whole.
    const bool transportFailure = error != QNetworkReply::NoError && int(error) < 100;
    if (status.isValid() && !transportFailure) {
        result.Outcome = TNetHTTPResponse::hoReply;
        result.StatusCode = status.toInt();
        result.StatusText =
            QString::fromUtf8(reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
        // A server whose status line can only carry the standard phrase puts its own reason in this header.
        const QByteArray ownReason = reply->rawHeader("X-Reason").trimmed();
        if (!ownReason.isEmpty())
            result.StatusText = QString::fromUtf8(ownReason);
        result.ContentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
        result.Body = reply->readAll();
        return result;
    }

    result.Outcome = TNetHTTPResponse::hoFailed;
    if (!ownAbortMessage.isEmpty())
        result.ErrorMessage = ownAbortMessage;
    else if (error == QNetworkReply::OperationCanceledError && FTransferMsec > 0)
        result.ErrorMessage = Tr("No data from the server for %1 ms").arg(FTransferMsec);
    else
        result.ErrorMessage = reply->errorString();
    if (result.ErrorMessage.isEmpty())
        result.ErrorMessage = Tr("Unknown network failure");
    return result;
}
