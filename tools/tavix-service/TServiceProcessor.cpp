#include "TServiceProcessor.h"

#include "TServiceHttp.h"
#include "util/TDateTime.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

namespace {

QString RandomID(const char *APrefix) {
    static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString Result = QString::fromLatin1(APrefix);
    for (int i = 0; i < 24; ++i)
        Result += QLatin1Char(Alphabet[QRandomGenerator::global()->bounded(int(sizeof(Alphabet) - 1))]);
    return Result;
}

QString Brand(const QString &ANumber) {
    if (ANumber.startsWith(QLatin1Char('4')))
        return QStringLiteral("Visa");
    if (ANumber.startsWith(QLatin1Char('5')) || ANumber.startsWith(QLatin1Char('2')))
        return QStringLiteral("MasterCard");
    if (ANumber.startsWith(QLatin1String("34")) || ANumber.startsWith(QLatin1String("37")))
        return QStringLiteral("American Express");
    if (ANumber.startsWith(QLatin1Char('6')))
        return QStringLiteral("Discover");
    return QStringLiteral("Unknown");
}

qint64 UnixSeconds() { return TClock::NowUTC().ToQDateTimeUTC().toSecsSinceEpoch(); }

} // namespace

TServiceProcessor::TServiceProcessor(const QString &ASecretKey) : FSecretKey(ASecretKey) {}

bool TServiceProcessor::LuhnValid(const QString &ADigits) {
    if (ADigits.size() < 12 || ADigits.size() > 19)
        return false;
    int Sum = 0;
    bool Double = false;
    for (int i = ADigits.size() - 1; i >= 0; --i) {
        const QChar C = ADigits.at(i);
        if (!C.isDigit() || C.unicode() > '9')
            return false;
        int D = C.unicode() - '0';
        if (Double) {
            D *= 2;
            if (D > 9)
                D -= 9;
        }
        Sum += D;
        Double = !Double;
    }
    return Sum % 10 == 0;
}

QByteArray TServiceProcessor::ErrorJSON(const QString &AType, const QString &ACode, const QString &AMessage,
                                        const QString &AParam) {
    QJsonObject Error{{QStringLiteral("type"), AType}, {QStringLiteral("message"), AMessage}};
    if (!ACode.isEmpty())
        Error.insert(QStringLiteral("code"), ACode);
    if (!AParam.isEmpty())
        Error.insert(QStringLiteral("param"), AParam);
    return QJsonDocument(QJsonObject{{QStringLiteral("error"), Error}}).toJson(QJsonDocument::Compact);
}

bool TServiceProcessor::Authorized(const httplib::Request &AReq, httplib::Response &ARes) const {
    QString User;
    if (TServiceHttp::BasicUser(AReq, User) && User == FSecretKey && !FSecretKey.isEmpty())
        return true;
    // The challenge lets clients that answer only when asked send their credentials.
    ARes.set_header("WWW-Authenticate", "Basic realm=\"Tavix payment test\"");
    const QString Message = User.isEmpty() ? QStringLiteral("You did not provide an API key.")
                                           : QStringLiteral("Invalid API Key provided.");
    TServiceHttp::SendJSON(ARes, 401, ErrorJSON(QStringLiteral("invalid_request_error"), QString(), Message));
    return false;
}

void TServiceProcessor::HandleTokens(const httplib::Request &AReq, httplib::Response &ARes) {
    if (!Authorized(AReq, ARes))
        return;
    const TReply Reply = CreateToken(TServiceHttp::ParseForm(AReq.body));
    TServiceHttp::SendJSON(ARes, Reply.Status, Reply.JSON);
}

void TServiceProcessor::HandleCharges(const httplib::Request &AReq, httplib::Response &ARes) {
    if (!Authorized(AReq, ARes))
        return;
    const TReply Reply = CreateCharge(TServiceHttp::ParseForm(AReq.body));
    TServiceHttp::SendJSON(ARes, Reply.Status, Reply.JSON);
}

TServiceProcessor::TReply TServiceProcessor::CreateToken(const QMap<QString, QString> &AForm) {
    const QString CardError = QStringLiteral("card_error");
    QString Number = AForm.value(QStringLiteral("card[number]"));
    Number.remove(QLatin1Char(' '));
    if (Number.isEmpty())
        return {402, ErrorJSON(CardError, QStringLiteral("invalid_number"), QStringLiteral("Your card number is invalid."),
                               QStringLiteral("number"))};
    if (!LuhnValid(Number))
        return {402, ErrorJSON(CardError, QStringLiteral("incorrect_number"),
                               QStringLiteral("Your card number is incorrect."), QStringLiteral("number"))};
    bool MonthOk = false, YearOk = false;
    const int Month = AForm.value(QStringLiteral("card[exp_month]")).toInt(&MonthOk);
    const int Year = AForm.value(QStringLiteral("card[exp_year]")).toInt(&YearOk);
    if (!MonthOk || Month < 1 || Month > 12)
        return {402, ErrorJSON(CardError, QStringLiteral("invalid_expiry_month"),
                               QStringLiteral("Your card's expiration month is invalid."), QStringLiteral("exp_month"))};
    const QDate Today = TClock::NowUTC().Date();
    if (!YearOk || Year < 1000)
        return {402, ErrorJSON(CardError, QStringLiteral("invalid_expiry_year"),
                               QStringLiteral("Your card's expiration year is invalid."), QStringLiteral("exp_year"))};
    if (Year < Today.year() || (Year == Today.year() && Month < Today.month()))
        return {402, ErrorJSON(CardError, QStringLiteral("expired_card"), QStringLiteral("Your card has expired."),
                               QStringLiteral("exp_month"))};
    const QString CVC = AForm.value(QStringLiteral("card[cvc]"));
    bool CvcOk = false;
    CVC.toInt(&CvcOk);
    if (!CvcOk || CVC.size() < 3 || CVC.size() > 4)
        return {402, ErrorJSON(CardError, QStringLiteral("invalid_cvc"),
                               QStringLiteral("Your card's security code is invalid."), QStringLiteral("cvc"))};
    if (Number == QLatin1String(CardDeclined))
        return {402, ErrorJSON(CardError, QStringLiteral("card_declined"), QStringLiteral("Your card was declined."))};

    const QString TokenID = RandomID("tok_");
    const QString CardID = RandomID("card_");
    {
        std::lock_guard<std::mutex> Guard(FLock);
        FTokens[TokenID] = TToken{Number, CardID, false};
    }
    QJsonObject Card{{QStringLiteral("id"), CardID},
                     {QStringLiteral("object"), QStringLiteral("card")},
                     {QStringLiteral("brand"), Brand(Number)},
                     {QStringLiteral("last4"), Number.right(4)},
                     {QStringLiteral("exp_month"), Month},
                     {QStringLiteral("exp_year"), Year},
                     {QStringLiteral("name"), AForm.value(QStringLiteral("card[name]"))},
                     {QStringLiteral("address_zip"), AForm.value(QStringLiteral("card[address_zip]"))}};
    QJsonObject Token{{QStringLiteral("id"), TokenID},
                      {QStringLiteral("object"), QStringLiteral("token")},
                      {QStringLiteral("card"), Card},
                      {QStringLiteral("created"), UnixSeconds()},
                      {QStringLiteral("livemode"), false},
                      {QStringLiteral("type"), QStringLiteral("card")},
                      {QStringLiteral("used"), false}};
    return {200, QJsonDocument(Token).toJson(QJsonDocument::Compact)};
}

TServiceProcessor::TReply TServiceProcessor::CreateCharge(const QMap<QString, QString> &AForm) {
    const QString RequestError = QStringLiteral("invalid_request_error");
    const QString Source = AForm.value(QStringLiteral("source")).trimmed();
    bool AmountOk = false;
    const qint64 Amount = AForm.value(QStringLiteral("amount")).toLongLong(&AmountOk);
    const QString Currency = AForm.value(QStringLiteral("currency")).trimmed().toLower();
    if (Source.isEmpty())
        return {400, ErrorJSON(RequestError, QStringLiteral("parameter_missing"),
                               QStringLiteral("Must provide source or customer."), QStringLiteral("source"))};
    if (!AmountOk || Amount < 50 || Amount > 99999999)
        return {400, ErrorJSON(RequestError, QStringLiteral("amount_too_small"),
                               QStringLiteral("Amount must be a whole number of cents from 50 to 99999999."),
                               QStringLiteral("amount"))};
    if (Currency.size() != 3)
        return {400, ErrorJSON(RequestError, QStringLiteral("parameter_invalid"), QStringLiteral("Invalid currency."),
                               QStringLiteral("currency"))};
    TToken Token;
    {
        std::lock_guard<std::mutex> Guard(FLock);
        auto It = FTokens.find(Source);
        if (It == FTokens.end())
            return {400, ErrorJSON(RequestError, QStringLiteral("resource_missing"),
                                   QStringLiteral("No such token: '%1'").arg(Source), QStringLiteral("source"))};
        if (It->second.Used)
            return {400, ErrorJSON(RequestError, QStringLiteral("token_already_used"),
                                   QStringLiteral("You cannot use a token more than once: %1.").arg(Source),
                                   QStringLiteral("source"))};
        It->second.Used = true;
        Token = It->second;
    }
    if (Token.Number == QLatin1String(CardChargeDeclined))
        return {402, ErrorJSON(QStringLiteral("card_error"), QStringLiteral("card_declined"),
                               QStringLiteral("Your card was declined."))};

    const QString ChargeID = RandomID("ch_");
    const QString Email = AForm.value(QStringLiteral("receipt_email")).trimmed();
    QJsonObject Charge{{QStringLiteral("id"), ChargeID},
                       {QStringLiteral("object"), QStringLiteral("charge")},
                       {QStringLiteral("amount"), Amount},
                       {QStringLiteral("currency"), Currency},
                       {QStringLiteral("created"), UnixSeconds()},
                       {QStringLiteral("description"), AForm.value(QStringLiteral("description")).trimmed()},
                       {QStringLiteral("paid"), true},
                       {QStringLiteral("status"), QStringLiteral("succeeded")},
                       {QStringLiteral("payment_method"), Token.CardID},
                       {QStringLiteral("receipt_email"), Email.isEmpty() ? QJsonValue() : QJsonValue(Email)},
                       {QStringLiteral("receipt_url"), QStringLiteral("https://pay.tavix.example/receipts/") + ChargeID},
                       {QStringLiteral("failure_message"), QJsonValue()},
                       {QStringLiteral("livemode"), false}};
    return {200, QJsonDocument(Charge).toJson(QJsonDocument::Compact)};
}
