// What the client sends to the coupon server: create a transaction for a code, or redeem a granted one.
#pragma once

#include "data/TDOX_BaseQuenmark.h"
#include "data/TDO_CouponCode.h"
#include "data/TDO_Coupon_Redeemer.h"
#include "data/TDO_Coupon_Transaction.h"

class TDO_Coupon_Request : public TDOX_BaseQuenmark {
public:
    enum class TAction { raNone, raCreateTransaction, raRedeemTransaction };

    TDO_Coupon_Request();
    TDO_Coupon_Request(const TDO_Coupon_Request &AObj) : TDO_Coupon_Request() { Duplicate(AObj); }
    TDO_Coupon_Request &operator=(const TDO_Coupon_Request &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TAction Action() const { return FAction; }
    void SetAction(TAction AValue) { FAction = AValue; }
    TDO_CouponCode &CouponCode() { return FCouponCode; }
    const TDO_CouponCode &CouponCode() const { return FCouponCode; }
    TDO_Coupon_Transaction &Transaction() { return FTransaction; }
    const TDO_Coupon_Transaction &Transaction() const { return FTransaction; }
    TDO_Coupon_Redeemer &Redeemer() { return FRedeemer; }
    const TDO_Coupon_Redeemer &Redeemer() const { return FRedeemer; }

    bool IsValid() const;
    QString InvalidReason() const;

    // Empty text for raNone; reading compares without regard to case, anything else is raNone.
    static QString Action_ToString(TAction AAction);
    static TAction Action_FromString(const QString &AAction);

private:
    TAction FAction = TAction::raNone;
    TDO_CouponCode FCouponCode;
    TDO_Coupon_Transaction FTransaction;
    TDO_Coupon_Redeemer FRedeemer;
};
