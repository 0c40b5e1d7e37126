// A redemption granted by the coupon server; it travels on inside the event or upload request that it pays
// for.
#pragma once

#include "data/TDOX_BaseQuenmark.h"
#include "data/TDO_CouponCode.h"
#include "data/TDO_Coupon_Redeemer.h"
#include "data/TProductID.h"

class TDO_Coupon_Transaction : public TDOX_BaseQuenmark {
public:
    TDO_Coupon_Transaction();
    // Stamps the current time and a new GUID token (braced, upper case).
    TDO_Coupon_Transaction(const QString &ACouponCode, TProductID AProductID);
    TDO_Coupon_Transaction(const TDO_Coupon_Transaction &AObj) : TDO_Coupon_Transaction() { Duplicate(AObj); }
    TDO_Coupon_Transaction &operator=(const TDO_Coupon_Transaction &AObj) {
        Duplicate(AObj);
        return *this;
    }

    // CreatedUTC becomes the current time, so a transaction read without "created_utc" carries the reading
    // time.
    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TDateTime CreatedUTC() const { return FCreatedUTC; }
    void SetCreatedUTC(TDateTime AValue) { FCreatedUTC = AValue; }
    const QString &Token() const { return FToken; }
    void SetToken(const QString &AValue) { FToken = TrimText(AValue); }
    TDO_CouponCode &CouponCode() { return FCouponCode; }
    const TDO_CouponCode &CouponCode() const { return FCouponCode; }
    TDO_Coupon_Redeemer &Redeemer() { return FRedeemer; }
    const TDO_Coupon_Redeemer &Redeemer() const { return FRedeemer; }
    TProductID RedeemedFor() const { return FRedeemedFor; }
    void SetRedeemedFor(TProductID AValue) { FRedeemedFor = AValue; }
    const QString &RedeemedNotes() const { return FRedeemedNotes; }
    void SetRedeemedNotes(const QString &AValue) { FRedeemedNotes = TrimText(AValue); }
    const QString &EventCode() const { return FEventCode; }
    void SetEventCode(const QString &AValue) { FEventCode = TrimText(AValue); }
    const QString &ExamineeID() const { return FExamineeID; }
    void SetExamineeID(const QString &AValue) { FExamineeID = TrimText(AValue); }

    bool IsValid() const { return !FToken.isEmpty() && FCouponCode.IsValid(); }
    // True once the clock has passed CreatedUTC plus AInMinutes minutes.
    bool IsExpired(int AInMinutes) const;

    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" from a freshly created GUID.
    static QString NewToken();

private:
    TDateTime FCreatedUTC;
    QString FToken;
    TDO_CouponCode FCouponCode;
    TDO_Coupon_Redeemer FRedeemer;
    TProductID FRedeemedFor = TProductID::pidNone;
    QString FRedeemedNotes;
    QString FEventCode;
    QString FExamineeID;
};
