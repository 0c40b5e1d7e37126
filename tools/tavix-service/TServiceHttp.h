// Small HTTP helpers shared by the service's handlers: refusals with a reason, form bodies, Basic credentials.
#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QMap>
#include <QString>

class TServiceHttp {
public:
    // The header that carries the refusal's own reason: the status line's phrase is always the standard
    // one for the code, because this HTTP server writes it from the code alone.
    static constexpr const char *ReasonHeader = "X-Reason";

    // Status, the reason in ReasonHeader and as a plain-text body.
    static void Refuse(httplib::Response &ARes, int AStatus, const QString &AReason);
    static void SendBytes(httplib::Response &ARes, const QByteArray &ABytes,
                          const char *AContentType = "application/octet-stream");
    static void SendJSON(httplib::Response &ARes, int AStatus, const QByteArray &AJSON);
    // application/x-www-form-urlencoded: '+' is a blank, %XX bytes are UTF-8; the last of repeated names wins.
    static QMap<QString, QString> ParseForm(const std::string &ABody);
    // The user name of a Basic Authorization header; false when there is none or it is malformed.
    static bool BasicUser(const httplib::Request &AReq, QString &AUser);
    static QString PathValue(const httplib::Request &AReq, int AIndex);
};
