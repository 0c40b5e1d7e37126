#include "data/TDO_Coupon_Transaction.h"

#include <QUuid>

TDO_Coupon_Transaction::TDO_Coupon_Transaction() : TDOX_BaseQuenmark(QStringLiteral("coupon_transaction")) {
    TDO_Coupon_Transaction::Initialize();
}

TDO_Coupon_Transaction::TDO_Coupon_Transaction(const QString &ACouponCode, TProductID AProductID)
    : TDO_Coupon_Transaction() {
    FCouponCode.SetCode(ACouponCode);
    FCreatedUTC = TClock::NowUTC();
    FToken = NewToken();
    FRedeemedFor = AProductID;
}

void TDO_Coupon_Transaction::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FCreatedUTC = TClock::NowUTC();
    FToken.clear();
    FRedeemedFor = TProductID::pidNone;
    FRedeemedNotes.clear();
    FEventCode.clear();
    FExamineeID.clear();
    FCouponCode.Initialize();
    FRedeemer.Initialize();
}

void TDO_Coupon_Transaction::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Coupon_Transaction *>(&AObj)) {
        FCreatedUTC = o->FCreatedUTC;
        FToken = o->FToken;
        FCouponCode.Duplicate(o->FCouponCode);
        FRedeemer.Duplicate(o->FRedeemer);
        FRedeemedFor = o->FRedeemedFor;
        FRedeemedNotes = o->FRedeemedNotes;
        FEventCode = o->FEventCode;
        FExamineeID = o->FExamineeID;
    }
    RestoreNodeName();
}

void TDO_Coupon_Transaction::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsDateTime(ANode, "created_utc", FCreatedUTC);
    Attribute_Write_AsString(ANode, "transaction_id", FToken);
    ChildNode_AddAndWrite(ANode, &FCouponCode);
    ChildNode_AddAndWrite(ANode, &FRedeemer);
    Attribute_Write_AsString(ANode, "redeemed_for", ProductID_ToString(FRedeemedFor));
    ChildNode_Write_AsString(ANode, "redeemed_notes", FRedeemedNotes);
    Attribute_Write_AsString(ANode, "event_code", FEventCode);
    Attribute_Write_AsString(ANode, "examinee_id", FExamineeID);
}

void TDO_Coupon_Transaction::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FCreatedUTC = Attribute_Read_AsDateTime(ANode, "created_utc", FCreatedUTC);
    SetToken(Attribute_Read_AsString(ANode, "transaction_id", FToken));
    ChildNode_FindAndRead(ANode, &FCouponCode);
    ChildNode_FindAndRead(ANode, &FRedeemer);
    FRedeemedFor = ProductID_FromString(
        Attribute_Read_AsString(ANode, "redeemed_for", ProductID_ToString(FRedeemedFor)));
    SetRedeemedNotes(ChildNode_Read_AsString(ANode, "redeemed_notes", FRedeemedNotes));
    SetEventCode(Attribute_Read_AsString(ANode, "event_code", FEventCode));
    SetExamineeID(Attribute_Read_AsString(ANode, "examinee_id", FExamineeID));
}

bool TDO_Coupon_Transaction::IsExpired(int AInMinutes) const {
    return TClock::NowUTC() > FCreatedUTC.AddMinutes(AInMinutes);
}

QString TDO_Coupon_Transaction::NewToken() {
    return QUuid::createUuid().toString(QUuid::WithBraces).toUpper();
}
