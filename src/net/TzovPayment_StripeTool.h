// Client of the payment processor's REST API: card tokens and charges, and the worker thread for a token.
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TzovPayment_Data_BillingAddress.h"
#include "data/TzovPayment_Stripe_Data_BaseResponse.h"
#include "data/TzovPayment_Stripe_Data_CardInformation.h"

#include <QList>
#include <QSslCertificate>
#include <QString>

#include <memory>
#include <optional>

// Server certificates are checked the ordinary way. A development deployment whose processor endpoints run
// on a self-signed server adds that one certificate as a trusted authority (AddTrustedCertificate, or
// SetDefaultTrustedCertificates once at start-up for every tool made afterwards); nothing else is accepted.
// Requests block the calling thread: call them from a worker (TzovPayment_StripeTool_CreateCardThread).
class TzovPayment_StripeTool {
public:
    TzovPayment_StripeTool(const QString &APublishableKey, const QString &ASecretKey);
    static std::unique_ptr<TzovPayment_StripeTool> CreateQuenmark_TEST();
    static std::unique_ptr<TzovPayment_StripeTool> CreateQuenmark_LIVE();

    const QString &PublishableKey() const { return FPublishableKey; }
    const QString &SecretKey() const { return FSecretKey; }
    // 0 before a request; the HTTP status of the last reply; 1 when the request failed without a reply.
    int StatusCode() const { return FStatusCode; }
    const QString &StatusText() const { return FStatusText; }

    // The API's base address, without trailing slash; the deployment's by default.
    const QString &BaseURL() const { return FBaseURL; }
    void SetBaseURL(const QString &AValue) { FBaseURL = AValue; }
    const QList<QSslCertificate> &TrustedCertificates() const { return FTrusted; }
    void AddTrustedCertificate(const QSslCertificate &ACertificate) { FTrusted.append(ACertificate); }
    static void SetDefaultTrustedCertificates(const QList<QSslCertificate> &ACertificates);
    // The PEM certificates in a file (the local service's certificate); empty when there are none.
    static QList<QSslCertificate> CertificatesFromFile(const QString &APath);

    // Form bodies, each value's UTF-8 bytes percent-encoded and a blank as "+".
    static std::optional<QByteArray> CreatePostStream_forCreateCard(const TzovPayment_Stripe_Data_CardInformation *ACard,
                                                                    const TzovPayment_Data_BillingAddress *AAddress);
    static QByteArray CreatePostStream_forCreateCharge(const QString &ASource, qint32 AAmount,
                                                       const QString &ACurrency, const QString &ADescription,
                                                       const QString &AReceiptEmail);
    static QByteArray FormEncode(const QString &AValue);

    // Null only when no request could be made (no card, no address); otherwise a record whose Token or Error
    // tells the outcome, and an empty one after a failure without reply. Never throws.
    std::unique_ptr<TzovPayment_Stripe_Data_CreateCardResponse>
    CreateCard(const TzovPayment_Stripe_Data_CardInformation *ACard, const TzovPayment_Data_BillingAddress *AAddress);
    std::unique_ptr<TzovPayment_Stripe_Data_CreateChargeResponse> CreateCharge(const QString &ASource, qint32 AAmount,
                                                                              const QString &ACurrency,
                                                                              const QString &ADescription,
                                                                              const QString &AReceiptEmail);

private:
    // False (StatusCode 1, "Unknown error") when there is no address or no body to send.
    bool PostForm(const QString &AURL, const std::optional<QByteArray> &ABody, QString &AReply);

    QString FPublishableKey;
    QString FSecretKey;
    int FStatusCode = 0;
    QString FStatusText;
    QString FBaseURL;
    QList<QSslCertificate> FTrusted;
};

// Turns a card into a token on its own thread. Life cycle as for the agents (TAgent_Client_Base): connect
// Completed, start, read Card() and Stripe().StatusText() in the handler; Abandon to forget it. Success()
// is true when a token came back; StatusCode()/StatusText() repeat the tool's.
class TzovPayment_StripeTool_CreateCardThread : public TAgent_Client_Base {
    Q_OBJECT

public:
    // Takes a new tool with AStripe's keys, address and trusted certificates, and copies of address and card.
    TzovPayment_StripeTool_CreateCardThread(const TzovPayment_StripeTool &AStripe,
                                            const TzovPayment_Data_BillingAddress *AAddress,
                                            const TzovPayment_Stripe_Data_CardInformation &ACardNbr,
                                            QObject *AParent = nullptr);
    ~TzovPayment_StripeTool_CreateCardThread() override;

    const TzovPayment_StripeTool &Stripe() const { return *FStripe; }
    const TzovPayment_Data_BillingAddress *Address() const { return FAddress.get(); }
    const TzovPayment_Stripe_Data_CardInformation &CardNbr() const { return *FCardNbr; }
    // Null until the request has run.
    const TzovPayment_Stripe_Data_CreateCardResponse *Card() const { return FCard.get(); }

protected:
    void Execute() override;

private:
    std::unique_ptr<TzovPayment_StripeTool> FStripe;
    std::unique_ptr<TzovPayment_Data_BillingAddress> FAddress;
    std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> FCardNbr;
    std::unique_ptr<TzovPayment_Stripe_Data_CreateCardResponse> FCard;
};
