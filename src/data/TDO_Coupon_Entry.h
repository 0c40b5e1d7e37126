// The coupon server's record of one code: uses left, expiry and what it pays for.
#pragma once

#include "data/TDOX_BaseQuenmark.h"
#include "data/TDO_CouponCode.h"
#include "data/TProductID.h"

class TDO_Coupon_Entry : public TDOX_BaseQuenmark {
public:
    TDO_Coupon_Entry();
    TDO_Coupon_Entry(const TDO_Coupon_Entry &AObj) : TDO_Coupon_Entry() { Duplicate(AObj); }
    TDO_Coupon_Entry &operator=(const TDO_Coupon_Entry &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TDO_CouponCode &CouponCode() { return FCouponCode; }
    const TDO_CouponCode &CouponCode() const { return FCouponCode; }
    qint32 UsesRemaining() const { return FUsesRemaining; }
    void SetUsesRemaining(qint32 AValue) { FUsesRemaining = AValue; }
    // Not set (0) means no expiry; a negative value is stored as 0.
    TDateTime ExpirationUTC() const { return FExpirationUTC; }
    void SetExpirationUTC(TDateTime AValue) { FExpirationUTC = AValue.MSecs() < 0 ? TDateTime() : AValue; }
    TProductID ProductID() const { return FProductID; }
    void SetProductID(TProductID AValue) { FProductID = AValue; }

    bool IsExpired() const;

private:
    TDO_CouponCode FCouponCode;
    qint32 FUsesRemaining = 0;
    TDateTime FExpirationUTC;
    TProductID FProductID = TProductID::pidNone;
};
