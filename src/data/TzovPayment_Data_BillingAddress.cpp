#include "data/TzovPayment_Data_BillingAddress.h"

TzovPayment_Data_BillingAddress::TzovPayment_Data_BillingAddress()
    : TDOX_Base(QStringLiteral("payment_billing_address")) {
    TzovPayment_Data_BillingAddress::Initialize();
}

TzovPayment_Data_BillingAddress::TzovPayment_Data_BillingAddress(
    const QString &AName, const QString &AAddress1, const QString &AAddress2, const QString &ACity,
    const QString &AState, const QString &AZip, const QString &ACountry, const QString &AEMail)
    : TzovPayment_Data_BillingAddress() {
    FName = AName;
    FAddress1 = AAddress1;
    FAddress2 = AAddress2;
    FCity = ACity;
    FState = AState;
    FZip = AZip;
    FCountry = ACountry;
    FEMail = AEMail;
}

void TzovPayment_Data_BillingAddress::Initialize() {
    TDOX_Base::Initialize();
    FName.clear();
    FAddress1.clear();
    FAddress2.clear();
    FCity.clear();
    FState.clear();
    FZip.clear();
    FCountry.clear();
    FEMail.clear();
}

void TzovPayment_Data_BillingAddress::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Data_BillingAddress *>(&AObj)) {
        FName = o->FName;
        FAddress1 = o->FAddress1;
        FAddress2 = o->FAddress2;
        FCity = o->FCity;
        FState = o->FState;
        FZip = o->FZip;
        FCountry = o->FCountry;
        FEMail = o->FEMail;
    }
    RestoreNodeName();
}

void TzovPayment_Data_BillingAddress::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    ChildNode_Write_AsString(ANode, "name", FName);
    ChildNode_Write_AsString(ANode, "address1", FAddress1);
    ChildNode_Write_AsString(ANode, "address2", FAddress2);
    ChildNode_Write_AsString(ANode, "city", FCity);
    ChildNode_Write_AsString(ANode, "state", FState);
    ChildNode_Write_AsString(ANode, "zip", FZip);
    ChildNode_Write_AsString(ANode, "country", FCountry);
    ChildNode_Write_AsString(ANode, "email", FEMail);
}

void TzovPayment_Data_BillingAddress::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    SetName(ChildNode_Read_AsString(ANode, "name", FName));
    SetAddress1(ChildNode_Read_AsString(ANode, "address1", FAddress1));
    SetAddress2(ChildNode_Read_AsString(ANode, "address2", FAddress2));
    SetCity(ChildNode_Read_AsString(ANode, "city", FCity));
    SetState(ChildNode_Read_AsString(ANode, "state", FState));
    SetZip(ChildNode_Read_AsString(ANode, "zip", FZip));
    SetCountry(ChildNode_Read_AsString(ANode, "country", FCountry));
    SetEMail(ChildNode_Read_AsString(ANode, "email", FEMail));
}

bool TzovPayment_Data_BillingAddress::IsValid_forClient_US(bool AIncludeEMail) const {
    return !FName.isEmpty() && !FAddress1.isEmpty() && !FCity.isEmpty() && !FState.isEmpty() &&
           !FZip.isEmpty() && (!AIncludeEMail || !FEMail.isEmpty());
}

std::unique_ptr<TzovPayment_Data_BillingAddress> TzovPayment_Data_BillingAddress::CreateTest() {
    return std::make_unique<TzovPayment_Data_BillingAddress>(
        QStringLiteral("Pat Tester"), QStringLiteral("742 Evergreen Terrace"), QStringLiteral("Suite 100"),
        QStringLiteral("Springfield"), QStringLiteral("IL"), QStringLiteral("62704"),
        QStringLiteral("United States"), QStringLiteral("pat.tester@example.com"));
}
