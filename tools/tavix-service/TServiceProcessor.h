// The payment processor's test endpoints ("/v1/tokens", "/v1/charges") as the development deployment serves them.
#pragma once

#include <httplib.h>

#include <QByteArray>
#include <QMap>
#include <QString>

#include <map>
#include <mutex>

class TServiceProcessor {
public:
    // The processor's published test card numbers that this endpoint knows.
    static constexpr const char *CardSuccess = "4242424242424242";
    static constexpr const char *CardDeclined = "4000000000000002";
    // Tokenises, but every charge of its token is declined.
    static constexpr const char *CardChargeDeclined = "4000000000000341";

    explicit TServiceProcessor(const QString &ASecretKey);

    void HandleTokens(const httplib::Request &AReq, httplib::Response &ARes);
    void HandleCharges(const httplib::Request &AReq, httplib::Response &ARes);

    struct TReply {
        int Status = 0;
        QByteArray JSON;
    };
    // The same rules as the endpoints, without HTTP and credentials (the service charges its own tokens).
    TReply CreateToken(const QMap<QString, QString> &AForm);
    TReply CreateCharge(const QMap<QString, QString> &AForm);

    static bool LuhnValid(const QString &ADigits);
    static QByteArray ErrorJSON(const QString &AType, const QString &ACode, const QString &AMessage,
                                const QString &AParam = QString());

private:
    bool Authorized(const httplib::Request &AReq, httplib::Response &ARes) const;

    struct TToken {
        QString Number;
        QString CardID;
        bool Used = false;
    };
    QString FSecretKey;
    std::mutex FLock;
    std::map<QString, TToken> FTokens;
};
