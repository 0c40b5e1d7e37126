#include "data/TDO_Coupon_Request.h"

#include <QCoreApplication>

TDO_Coupon_Request::TDO_Coupon_Request() : TDOX_BaseQuenmark(QStringLiteral("coupon_request")) {
    TDO_Coupon_Request::Initialize();
}

void TDO_Coupon_Request::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FAction = TAction::raNone;
    FCouponCode.Initialize();
    FTransaction.Initialize();
    FRedeemer.Initialize();
}

void TDO_Coupon_Request::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Coupon_Request *>(&AObj)) {
        FAction = o->FAction;
        FCouponCode.Duplicate(o->FCouponCode);
        FTransaction.Duplicate(o->FTransaction);
        FRedeemer.Duplicate(o->FRedeemer);
    }
    RestoreNodeName();
}

void TDO_Coupon_Request::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "action", Action_ToString(FAction));
    ChildNode_AddAndWrite(ANode, &FCouponCode);
    ChildNode_AddAndWrite(ANode, &FTransaction);
    ChildNode_AddAndWrite(ANode, &FRedeemer);
}

void TDO_Coupon_Request::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FAction = Action_FromString(Attribute_Read_AsString(ANode, "action", Action_ToString(FAction)));
    ChildNode_FindAndRead(ANode, &FCouponCode);
    ChildNode_FindAndRead(ANode, &FTransaction);
    ChildNode_FindAndRead(ANode, &FRedeemer);
}

bool TDO_Coupon_Request::IsValid() const {
    switch (FAction) {
    case TAction::raCreateTransaction:
        return FCouponCode.IsValid() && FRedeemer.IsValid();
    case TAction::raRedeemTransaction:
        return FTransaction.IsValid();
    case TAction::raNone:
        break;
    }
    return false;
}

QString TDO_Coupon_Request::InvalidReason() const {
    switch (FAction) {
    case TAction::raCreateTransaction: {
        QString reason;
        if (!FCouponCode.IsValid())
            reason = QCoreApplication::translate("TDO_Coupon_Request", "Coupon code invalid");
        if (!FRedeemer.IsValid())
            reason = FRedeemer.InvalidReason();
        return reason;
    }
    case TAction::raRedeemTransaction:
        if (!FTransaction.IsValid())
            return QCoreApplication::translate("TDO_Coupon_Request", "Transaction invalid or missing");
        return {};
    case TAction::raNone:
        break;
    }
    return QCoreApplication::translate("TDO_Coupon_Request", "Request is invalid");
}

QString TDO_Coupon_Request::Action_ToString(TAction AAction) {
    switch (AAction) {
    case TAction::raCreateTransaction:
        return QStringLiteral("Create Transaction");
    case TAction::raRedeemTransaction:
        return QStringLiteral("Redeem Transaction");
    case TAction::raNone:
        break;
    }
    return {};
}

TDO_Coupon_Request::TAction TDO_Coupon_Request::Action_FromString(const QString &AAction) {
    for (TAction a : {TAction::raCreateTransaction, TAction::raRedeemTransaction})
        if (AAction.compare(Action_ToString(a), Qt::CaseInsensitive) == 0)
            return a;
    return TAction::raNone;
}
