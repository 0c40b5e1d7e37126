// Plain HTTPS requests to the local service for its tests: one blocking call, any certificate accepted.
#pragma once

#include "crypto/TzovCryptoTool.h"
#include "data/TDOX_BaseQuenmark.h"

#include <QBuffer>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

struct TServiceTestReply {
    int Status = 0;
    QByteArray Reason;
    QByteArray XReason;
    QByteArray Body;
    QJsonObject Json() const { return QJsonDocument::fromJson(Body).object(); }
    // The encrypted record of a 200 reply.
    bool Read(TDOX_BaseQuenmark &ARecord) const {
        QByteArray Bytes = Body;
        QBuffer Buffer(&Bytes);
        Buffer.open(QIODevice::ReadOnly);
        return ARecord.LoadFrom_Stream(&Buffer, TzovCryptoTool::NetworkStartCode());
    }
};

inline TServiceTestReply ServiceSend(const QString &AURL, const QByteArray *ABody,
                                     const QByteArray &AContentType = "application/octet-stream",
                                     const QByteArray &AAuthorization = QByteArray()) {
    QNetworkAccessManager Manager;
    QNetworkRequest Request{QUrl(AURL)};
    Request.setHeader(QNetworkRequest::ContentTypeHeader, AContentType);
    if (!AAuthorization.isEmpty())
        Request.setRawHeader("Authorization", AAuthorization);
    Request.setTransferTimeout(30000);
    QNetworkReply *Reply = ABody ? Manager.post(Request, *ABody) : Manager.get(Request);
    QObject::connect(Reply, &QNetworkReply::sslErrors, Reply, [Reply] { Reply->ignoreSslErrors(); });
    QEventLoop Loop;
    QObject::connect(Reply, &QNetworkReply::finished, &Loop, &QEventLoop::quit);
    QTimer::singleShot(40000, &Loop, &QEventLoop::quit);
    Loop.exec();
    TServiceTestReply Result;
    Result.Status = Reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    Result.Reason = Reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray();
    Result.XReason = Reply->rawHeader("X-Reason");
    Result.Body = Reply->readAll();
    delete Reply;
    return Result;
}

inline TServiceTestReply ServiceGet(const QString &AURL) { return ServiceSend(AURL, nullptr); }

// The record's encrypted stream save as the body.
inline TServiceTestReply ServicePost(const QString &AURL, const TDOX_BaseQuenmark &ARecord) {
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    ARecord.SaveTo_Stream(&Buffer, TzovCryptoTool::NetworkStartCode());
    const QByteArray Body = Buffer.data();
    return ServiceSend(AURL, &Body);
}
