// The fee configuration the server hands out, the processor account choice, and what one payment is to
// collect.
#pragma once

#include "data/TDOX_Base.h"

enum class TzovPaymentProcessor { ppNone, ppStripeTest, ppStripeLive };

// "None", "Stripe Test", "Stripe LIVE"; reading compares without regard to case, anything else is ppNone.
QString PaymentProcessor_ToString(TzovPaymentProcessor AValue);
TzovPaymentProcessor PaymentProcessor_FromString(const QString &AValue);

class TDO_Config_Payment : public TDOX_Base {
public:
    TDO_Config_Payment();
    TDO_Config_Payment(const TDO_Config_Payment &AObj) : TDO_Config_Payment() { Duplicate(AObj); }
    TDO_Config_Payment &operator=(const TDO_Config_Payment &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TzovPaymentProcessor Processor() const { return FProcessor; }
    void SetProcessor(TzovPaymentProcessor AValue) { FProcessor = AValue; }
    qint32 CreateEvent_FeeInCents() const { return FCreateEvent_FeeInCents; }
    void SetCreateEvent_FeeInCents(qint32 AValue) { FCreateEvent_FeeInCents = AValue; }
    const QString &CreateEvent_Description() const { return FCreateEvent_Description; }
    void SetCreateEvent_Description(const QString &AValue) { FCreateEvent_Description = TrimText(AValue); }
    qint32 UploadFile_FeeInCents() const { return FUploadFile_FeeInCents; }
    void SetUploadFile_FeeInCents(qint32 AValue) { FUploadFile_FeeInCents = AValue; }
    const QString &UploadFile_Description() const { return FUploadFile_Description; }
    void SetUploadFile_Description(const QString &AValue) { FUploadFile_Description = TrimText(AValue); }
    const QString &CouponServerBaseURL() const { return FCouponServerBaseURL; }
    void SetCouponServerBaseURL(const QString &AValue) { FCouponServerBaseURL = TrimText(AValue); }

    // The loopback placeholder the coupon address starts as; the client configuration replaces it.
    static QString CouponServerPlaceholderURL();

private:
    TzovPaymentProcessor FProcessor = TzovPaymentProcessor::ppStripeLive;
    qint32 FCreateEvent_FeeInCents = 500;
    QString FCreateEvent_Description;
    qint32 FUploadFile_FeeInCents = 100;
    QString FUploadFile_Description;
    QString FCouponServerBaseURL;
};

class TzovPayment_Data_PaymentRequirements : public TDOX_Base {
public:
    TzovPayment_Data_PaymentRequirements();
    TzovPayment_Data_PaymentRequirements(TzovPaymentProcessor APaymentProcessor,
                                         qint32 AProductAmount_inCents, const QString &AProductDescription);
    TzovPayment_Data_PaymentRequirements(const TzovPayment_Data_PaymentRequirements &AObj)
        : TzovPayment_Data_PaymentRequirements() {
        Duplicate(AObj);
    }
    TzovPayment_Data_PaymentRequirements &operator=(const TzovPayment_Data_PaymentRequirements &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TzovPaymentProcessor PaymentProcessor() const { return FPaymentProcessor; }
    void SetPaymentProcessor(TzovPaymentProcessor AValue) { FPaymentProcessor = AValue; }
    qint32 ProductAmount_inCents() const { return FProductAmount_inCents; }
    void SetProductAmount_inCents(qint32 AValue) { FProductAmount_inCents = AValue; }
    const QString &ProductDescription() const { return FProductDescription; }
    void SetProductDescription(const QString &AValue) { FProductDescription = TrimText(AValue); }

    bool IsValid() const {
        return FPaymentProcessor != TzovPaymentProcessor::ppNone && FProductAmount_inCents > 0 &&
               !FProductDescription.isEmpty();
    }

private:
    TzovPaymentProcessor FPaymentProcessor = TzovPaymentProcessor::ppNone;
    qint32 FProductAmount_inCents = 0;
    QString FProductDescription;
};
