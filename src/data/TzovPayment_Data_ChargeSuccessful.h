// Proof of a completed card payment, kept by every event and uploaded file as a child record.
#pragma once

#include "data/TDOX_Base.h"

class TzovPayment_Data_ChargeSuccessful : public TDOX_Base {
public:
    TzovPayment_Data_ChargeSuccessful();
    TzovPayment_Data_ChargeSuccessful(TDateTime ACreatedUTC, const QString &AID, qint32 AAmount,
                                      const QString &AReceiptUrl);
    // Stamped with the current time.
    TzovPayment_Data_ChargeSuccessful(const QString &AID, qint32 AAmount, const QString &AReceiptUrl);
    TzovPayment_Data_ChargeSuccessful(const TzovPayment_Data_ChargeSuccessful &AObj)
        : TzovPayment_Data_ChargeSuccessful() {
        Duplicate(AObj);
    }
    // From any record, notably a TzovPayment_Stripe_Data_CreateChargeResponse (see Duplicate).
    explicit TzovPayment_Data_ChargeSuccessful(const TDOX_Base &AObj) : TzovPayment_Data_ChargeSuccessful() {
        Duplicate(AObj);
    }
    TzovPayment_Data_ChargeSuccessful &operator=(const TzovPayment_Data_ChargeSuccessful &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    // Also takes a charge reply: now, "Stripe ID: " + its ID, its amount and receipt address.
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TDateTime CreatedUTC() const { return FCreatedUTC; }
    void SetCreatedUTC(TDateTime AValue) { FCreatedUTC = AValue; }
    const QString &ID() const { return FID; }
    void SetID(const QString &AValue) { FID = TrimText(AValue); }
    qint32 Amount() const { return FAmount; }
    void SetAmount(qint32 AValue) { FAmount = AValue; }
    const QString &ReceiptUrl() const { return FReceiptUrl; }
    void SetReceiptUrl(const QString &AValue) { FReceiptUrl = TrimText(AValue); }

private:
    TDateTime FCreatedUTC;
    QString FID;
    qint32 FAmount = 0;
    QString FReceiptUrl;
};
