#include "data/TDO_Coupon_Entry.h"

TDO_Coupon_Entry::TDO_Coupon_Entry() : TDOX_BaseQuenmark(QStringLiteral("coupon_entry")) {
    TDO_Coupon_Entry::Initialize();
}

void TDO_Coupon_Entry::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FUsesRemaining = 0;
    FExpirationUTC = TDateTime();
    FProductID = TProductID::pidNone;
    FCouponCode.Initialize();
}

void TDO_Coupon_Entry::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Coupon_Entry *>(&AObj)) {
        FCouponCode.Duplicate(o->FCouponCode);
        FUsesRemaining = o->FUsesRemaining;
        FExpirationUTC = o->FExpirationUTC;
        FProductID = o->FProductID;
    }
    RestoreNodeName();
}

void TDO_Coupon_Entry::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    ChildNode_AddAndWrite(ANode, &FCouponCode);
    Attribute_Write_AsInteger(ANode, "uses_remaining", FUsesRemaining);
    Attribute_Write_AsDateTime(ANode, "expiration_utc", FExpirationUTC);
    Attribute_Write_AsString(ANode, "product_id", ProductID_ToString(FProductID));
}

void TDO_Coupon_Entry::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    ChildNode_FindAndRead(ANode, &FCouponCode);
    FUsesRemaining = Attribute_Read_AsInteger(ANode, "uses_remaining", FUsesRemaining);
    SetExpirationUTC(Attribute_Read_AsDateTime(ANode, "expiration_utc", FExpirationUTC));
    FProductID =
        ProductID_FromString(Attribute_Read_AsString(ANode, "product_id", ProductID_ToString(FProductID)));
}

bool TDO_Coupon_Entry::IsExpired() const {
    if (FExpirationUTC.MSecs() <= 0)
        return false;
    return FExpirationUTC < TClock::NowUTC();
}
