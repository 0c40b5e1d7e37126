// The user's configuration record: service address, customer id, banner branding, last billing address and redeemer.
#pragma once

#include "data/TDOX_BaseQuenmark.h"
#include "data/TDO_Coupon_Redeemer.h"
#include "data/TzovPayment_Data_BillingAddress.h"

#include <memory>

class TDO_ClientConfig_Branding : public TDOX_BaseQuenmark {
public:
    TDO_ClientConfig_Branding();
    TDO_ClientConfig_Branding(const TDO_ClientConfig_Branding &AObj) : TDO_ClientConfig_Branding() { Duplicate(AObj); }
    TDO_ClientConfig_Branding &operator=(const TDO_ClientConfig_Branding &AObj) {
        Duplicate(AObj);
        return *this;
    }
    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &Label_Text() const { return FLabel_Text; }
    void SetLabel_Text(const QString &AValue) { FLabel_Text = AValue; }
    quint32 Label_ForeColor() const { return FLabel_ForeColor; }
    void SetLabel_ForeColor(quint32 AValue) { FLabel_ForeColor = AValue; }
    quint32 Rect_FillColor() const { return FRect_FillColor; }
    void SetRect_FillColor(quint32 AValue) { FRect_FillColor = AValue; }
    quint32 Rect_StrokeColor() const { return FRect_StrokeColor; }
    void SetRect_StrokeColor(quint32 AValue) { FRect_StrokeColor = AValue; }

private:
    QString FLabel_Text;
    quint32 FLabel_ForeColor = 0xFF000000u;
    quint32 FRect_FillColor = 0xFFE1AF00u;
    quint32 FRect_StrokeColor = 0xFFE1AF00u;
};

class TDO_ClientConfig : public TDOX_BaseQuenmark {
public:
    TDO_ClientConfig();
    TDO_ClientConfig(const TDO_ClientConfig &AObj) : TDO_ClientConfig() { Duplicate(AObj); }
    TDO_ClientConfig &operator=(const TDO_ClientConfig &AObj) {
        Duplicate(AObj);
        return *this;
    }
    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TDO_ClientConfig_Branding &Brand() { return *FBrand; }
    const TDO_ClientConfig_Branding &Brand() const { return *FBrand; }
    const QString &ServerBaseURL() const { return FServerBaseURL; }
    void SetServerBaseURL(const QString &AValue) { FServerBaseURL = TrimText(AValue); }
    // The stored coupon address, or the server address when none is stored.
    QString CouponServerBaseURL() const;
    // A loopback address is never kept: coupons then go to the server address.
    void SetCouponServerBaseURL(const QString &AValue);
    const QString &CustomerID() const { return FCustomerID; }
    void SetCustomerID(const QString &AValue) { FCustomerID = TrimText(AValue); }
    TzovPayment_Data_BillingAddress &BillingAddress() { return *FBillingAddress; }
    const TzovPayment_Data_BillingAddress &BillingAddress() const { return *FBillingAddress; }
    TDO_Coupon_Redeemer &CouponRedeemer() { return *FCouponRedeemer; }
    const TDO_Coupon_Redeemer &CouponRedeemer() const { return *FCouponRedeemer; }

    TNotifyEvent OnChanged;
    void Trigger_OnChanged() {
        if (OnChanged)
            OnChanged(this);
    }

    static QString DefaultServerBaseURL();
    // The user's documents folder, then "Tavix", with a trailing separator.
    static QString ConfigFolder();

private:
    std::unique_ptr<TDO_ClientConfig_Branding> FBrand;
    QString FServerBaseURL;
    QString FCouponServerBaseURL;
    QString FCustomerID;
    std::unique_ptr<TzovPayment_Data_BillingAddress> FBillingAddress;
    std::unique_ptr<TDO_Coupon_Redeemer> FCouponRedeemer;
};
