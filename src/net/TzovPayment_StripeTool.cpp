#include "net/TzovPayment_StripeTool.h"

#include "TavixDeployment.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>
#include <QStringDecoder>
#include <QUrl>

namespace {
QMutex GTrustedLock;
QList<QSslCertificate> &DefaultTrusted() {
    static QList<QSslCertificate> list;
    return list;
}

QString Tr(const char *AText) { return QCoreApplication::translate("TzovPayment_StripeTool", AText); }

void AddField(QByteArray &ABody, const char *AName, const QString &AValue) {
    if (!ABody.isEmpty())
        ABody += '&';
    ABody += AName;
    ABody += '=';
    ABody += TzovPayment_StripeTool::FormEncode(AValue);
}

QString DecodeReply(const QByteArray &ABody, const QByteArray &AContentType) {
    QByteArray charset = "UTF-8";
    for (const QByteArray &part : AContentType.split(';')) {
        const QByteArray p = part.trimmed();
        if (p.toLower().startsWith("charset="))
            charset = p.mid(8).trimmed().replace('"', "");
    }
    QStringDecoder decoder(charset.constData());
    if (!decoder.isValid())
        return QString::fromUtf8(ABody);
    return decoder.decode(ABody);
}
} // namespace

TzovPayment_StripeTool::TzovPayment_StripeTool(const QString &APublishableKey, const QString &ASecretKey)
    : FPublishableKey(APublishableKey), FSecretKey(ASecretKey),
      FBaseURL(QString::fromUtf8(TavixDeployment::payment_api_address)) {
    while (FBaseURL.endsWith(QLatin1Char('/')))
        FBaseURL.chop(1);
    QMutexLocker lock(&GTrustedLock);
    FTrusted = DefaultTrusted();
}

std::unique_ptr<TzovPayment_StripeTool> TzovPayment_StripeTool::CreateQuenmark_TEST() {
    return std::make_unique<TzovPayment_StripeTool>(QString::fromUtf8(TavixDeployment::payment_test_publishable_key),
                                                    QString::fromUtf8(TavixDeployment::payment_test_secret_key));
}

std::unique_ptr<TzovPayment_StripeTool> TzovPayment_StripeTool::CreateQuenmark_LIVE() {
    return std::make_unique<TzovPayment_StripeTool>(QString::fromUtf8(TavixDeployment::payment_live_publishable_key),
                                                    QString::fromUtf8(TavixDeployment::payment_live_secret_key));
}

void TzovPayment_StripeTool::SetDefaultTrustedCertificates(const QList<QSslCertificate> &ACertificates) {
    QMutexLocker lock(&GTrustedLock);
    DefaultTrusted() = ACertificates;
}

QList<QSslCertificate> TzovPayment_StripeTool::CertificatesFromFile(const QString &APath) {
    return QSslCertificate::fromPath(APath, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
}

QByteArray TzovPayment_StripeTool::FormEncode(const QString &AValue) {
    return QUrl::toPercentEncoding(AValue, " ").replace(' ', '+');
}

std::optional<QByteArray>
TzovPayment_StripeTool::CreatePostStream_forCreateCard(const TzovPayment_Stripe_Data_CardInformation *ACard,
                                                       const TzovPayment_Data_BillingAddress *AAddress) {
    if (!ACard)
        return std::nullopt;
    QByteArray body;
    AddField(body, "card[number]", ACard->Number());
    AddField(body, "card[exp_month]", ACard->ExpMonth());
    AddField(body, "card[exp_year]", ACard->ExpYear());
    AddField(body, "card[cvc]", ACard->CVC());
    if (AAddress) {
        const std::pair<const char *, QString> optional[] = {
            {"card[name]", AAddress->Name()},        {"card[address_line1]", AAddress->Address1()},
            {"card[address_line2]", AAddress->Address2()}, {"card[address_city]", AAddress->City()},
            {"card[address_state]", AAddress->State()}, {"card[address_zip]", AAddress->Zip()},
            {"card[address_country]", AAddress->Country()}};
        for (const auto &[name, value] : optional)
            if (!value.trimmed().isEmpty())
                AddField(body, name, value.trimmed());
    }
    return body;
}

QByteArray TzovPayment_StripeTool::CreatePostStream_forCreateCharge(const QString &ASource, qint32 AAmount,
                                                                    const QString &ACurrency,
                                                                    const QString &ADescription,
                                                                    const QString &AReceiptEmail) {
    QByteArray body;
    AddField(body, "source", ASource.trimmed());
    AddField(body, "amount", QString::number(AAmount));
    AddField(body, "currency", ACurrency.trimmed());
    if (!ADescription.isEmpty())
        AddField(body, "description", ADescription.trimmed());
    if (!AReceiptEmail.isEmpty())
        AddField(body, "receipt_email", AReceiptEmail.trimmed());
    return body;
}

bool TzovPayment_StripeTool::PostForm(const QString &AURL, const std::optional<QByteArray> &ABody, QString &AReply) {
    FStatusCode = 1;
    FStatusText = Tr("Unknown error");
    AReply.clear();
    // Nothing to send: the caller gives no record ("Missing URL for transaction", "Data required to POST").
    if (AURL.isEmpty() || !ABody)
        return false;
    FStatusCode = 0;
    FStatusText.clear();

    TNetHTTPClient client;
    client.SetContentType("application/x-www-form-urlencoded");
    // The processor takes the secret key as the user name with an empty password; sending it at once saves
    // the round trip of the challenge.
    client.SetBasicAuthentication(FSecretKey, QString());
    for (const QSslCertificate &c : std::as_const(FTrusted))
        client.AddTrustedCertificate(c);
    client.SetAbortFlag(TAgent_Client_Base::ShutdownFlag());
    const TNetHTTPResponse response = client.Post(AURL, *ABody);
    if (response.HasReply()) {
        FStatusCode = response.StatusCode;
        FStatusText = response.StatusText;
        AReply = DecodeReply(response.Body, response.ContentType);
    } else {
        FStatusCode = 1;
        FStatusText = response.Outcome == TNetHTTPResponse::hoFailed ? response.ErrorMessage : Tr("Unknown error");
    }
    return true;
}

std::unique_ptr<TzovPayment_Stripe_Data_CreateCardResponse>
TzovPayment_StripeTool::CreateCard(const TzovPayment_Stripe_Data_CardInformation *ACard,
                                   const TzovPayment_Data_BillingAddress *AAddress) {
    FStatusCode = 0;
    FStatusText.clear();
    try {
        QString reply;
        if (!PostForm(FBaseURL.isEmpty() ? QString() : FBaseURL + QLatin1String("/v1/tokens"),
                      CreatePostStream_forCreateCard(ACard, AAddress), reply))
            return nullptr;
        return TzovPayment_Stripe_Data_CreateCardResponse::CreateFromJSON(reply);
    } catch (...) {
        return nullptr;
    }
}

std::unique_ptr<TzovPayment_Stripe_Data_CreateChargeResponse>
TzovPayment_StripeTool::CreateCharge(const QString &ASource, qint32 AAmount, const QString &ACurrency,
                                     const QString &ADescription, const QString &AReceiptEmail) {
    FStatusCode = 0;
    FStatusText.clear();
    try {
        QString reply;
        if (!PostForm(FBaseURL.isEmpty() ? QString() : FBaseURL + QLatin1String("/v1/charges"),
                      CreatePostStream_forCreateCharge(ASource, AAmount, ACurrency, ADescription, AReceiptEmail),
                      reply))
            return nullptr;
        return TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(reply);
    } catch (...) {
        return nullptr;
    }
}

TzovPayment_StripeTool_CreateCardThread::TzovPayment_StripeTool_CreateCardThread(
    const TzovPayment_StripeTool &AStripe, const TzovPayment_Data_BillingAddress *AAddress,
    const TzovPayment_Stripe_Data_CardInformation &ACardNbr, QObject *AParent)
    : TAgent_Client_Base(AStripe.BaseURL(), AParent),
      FStripe(std::make_unique<TzovPayment_StripeTool>(AStripe.PublishableKey(), AStripe.SecretKey())),
      FAddress(AAddress ? std::make_unique<TzovPayment_Data_BillingAddress>(*AAddress) : nullptr),
      FCardNbr(std::make_unique<TzovPayment_Stripe_Data_CardInformation>(ACardNbr)) {
    FStripe->SetBaseURL(AStripe.BaseURL());
    for (const QSslCertificate &c : AStripe.TrustedCertificates())
        if (!FStripe->TrustedCertificates().contains(c))
            FStripe->AddTrustedCertificate(c);
}

TzovPayment_StripeTool_CreateCardThread::~TzovPayment_StripeTool_CreateCardThread() = default;

void TzovPayment_StripeTool_CreateCardThread::Execute() {
    FCard = FStripe->CreateCard(FCardNbr.get(), FAddress.get());
    SetStatus(FStripe->StatusCode(), FStripe->StatusText());
    FSuccess = FCard && !FCard->Token().isEmpty() && !FCard->Error();
}
