// The payment card as typed, normalised by its setters, with the processor's published test cards.
#pragma once

#include "data/TDOX_Base.h"

#include <memory>

class TzovPayment_Stripe_Data_CardInformation : public TDOX_Base {
public:
    TzovPayment_Stripe_Data_CardInformation();
    // Runs the four normalising setters.
    TzovPayment_Stripe_Data_CardInformation(const QString &ANumber, const QString &AExpMonth,
                                            const QString &AExpYear, const QString &ACVC);
    TzovPayment_Stripe_Data_CardInformation(const TzovPayment_Stripe_Data_CardInformation &AObj)
        : TzovPayment_Stripe_Data_CardInformation() {
        Duplicate(AObj);
    }
    TzovPayment_Stripe_Data_CardInformation &operator=(const TzovPayment_Stripe_Data_CardInformation &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &Number() const { return FNumber; }
    // Trimmed; "-", "." and "_" removed; inner blanks kept.
    void SetNumber(const QString &AValue);
    const QString &ExpMonth() const { return FExpMonth; }
    // "01" .. "12", else empty.
    void SetExpMonth(const QString &AValue);
    const QString &ExpYear() const { return FExpYear; }
    // 2020 .. 2050, else empty.
    void SetExpYear(const QString &AValue);
    const QString &CVC() const { return FCVC; }
    // 0 .. 9999 keeping the leading zeros as typed, else empty.
    void SetCVC(const QString &AValue);

    bool IsValid() const {
        return !FNumber.isEmpty() && !FExpMonth.isEmpty() && !FExpYear.isEmpty() && !FCVC.isEmpty();
    }

    // The processor's published test card numbers, for the developer test buttons.
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_Visa();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_VisaDebit();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_Mastercard();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_Mastercard2Series();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_MastercardDebit();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_MastercardPrepaid();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_AmericanExpress();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_AmericanExpress2();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_Discover();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_Discover2();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_DinersClub();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_DinersClub14();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_JCB();
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest_OK_UnionPay();

private:
    static std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> CreateTest(const char *ANumber,
                                                                               const char *ACVC);

    QString FNumber;
    QString FExpMonth;
    QString FExpYear;
    QString FCVC;
};
