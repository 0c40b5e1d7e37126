// The card holder's billing address; the configuration keeps the last one so the card dialog can offer it
// again.
#pragma once

#include "data/TDOX_Base.h"

#include <memory>

class TzovPayment_Data_BillingAddress : public TDOX_Base {
public:
    TzovPayment_Data_BillingAddress();
    // Stores the values as given (no trimming).
    TzovPayment_Data_BillingAddress(const QString &AName, const QString &AAddress1, const QString &AAddress2,
                                    const QString &ACity, const QString &AState, const QString &AZip,
                                    const QString &ACountry, const QString &AEMail);
    TzovPayment_Data_BillingAddress(const TzovPayment_Data_BillingAddress &AObj)
        : TzovPayment_Data_BillingAddress() {
        Duplicate(AObj);
    }
    TzovPayment_Data_BillingAddress &operator=(const TzovPayment_Data_BillingAddress &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    // Copies the values, not the OnChanged handler.
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &Name() const { return FName; }
    void SetName(const QString &AValue) { FName = TrimText(AValue); }
    const QString &Address1() const { return FAddress1; }
    void SetAddress1(const QString &AValue) { FAddress1 = TrimText(AValue); }
    const QString &Address2() const { return FAddress2; }
    void SetAddress2(const QString &AValue) { FAddress2 = TrimText(AValue); }
    const QString &City() const { return FCity; }
    void SetCity(const QString &AValue) { FCity = TrimText(AValue); }
    const QString &State() const { return FState; }
    void SetState(const QString &AValue) { FState = TrimText(AValue); }
    const QString &Zip() const { return FZip; }
    void SetZip(const QString &AValue) { FZip = TrimText(AValue); }
    const QString &Country() const { return FCountry; }
    void SetCountry(const QString &AValue) { FCountry = TrimText(AValue); }
    const QString &EMail() const { return FEMail; }
    void SetEMail(const QString &AValue) { FEMail = TrimText(AValue); }

    // Name, first line, city, state and zip present (and the e-mail when asked for).
    bool IsValid_forClient_US(bool AIncludeEMail) const;

    // Setters do not fire it; the owner announces a stored change through Trigger_OnChanged.
    TNotifyEvent OnChanged;
    void Trigger_OnChanged() {
        if (OnChanged)
            OnChanged(this);
    }

    // A sample United States address for the developer test buttons.
    static std::unique_ptr<TzovPayment_Data_BillingAddress> CreateTest();

private:
    QString FName;
    QString FAddress1;
    QString FAddress2;
    QString FCity;
    QString FState;
    QString FZip;
    QString FCountry;
    QString FEMail;
};
