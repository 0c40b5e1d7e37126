#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include "data/TzovPayment_Stripe_Data_BaseResponse.h"

// The element name is spelled this way in every stored event and on the wire.
TzovPayment_Data_ChargeSuccessful::TzovPayment_Data_ChargeSuccessful()
    : TDOX_Base(QStringLiteral("payment_charge_succssful")) {
    TzovPayment_Data_ChargeSuccessful::Initialize();
}

TzovPayment_Data_ChargeSuccessful::TzovPayment_Data_ChargeSuccessful(TDateTime ACreatedUTC,
                                                                     const QString &AID, qint32 AAmount,
                                                                     const QString &AReceiptUrl)
    : TzovPayment_Data_ChargeSuccessful() {
    FCreatedUTC = ACreatedUTC;
    FID = AID;
    FAmount = AAmount;
    FReceiptUrl = AReceiptUrl;
}

TzovPayment_Data_ChargeSuccessful::TzovPayment_Data_ChargeSuccessful(const QString &AID, qint32 AAmount,
                                                                     const QString &AReceiptUrl)
    : TzovPayment_Data_ChargeSuccessful(TClock::NowUTC(), AID, AAmount, AReceiptUrl) {}

void TzovPayment_Data_ChargeSuccessful::Initialize() {
    TDOX_Base::Initialize();
    FCreatedUTC = TDateTime();
    FID.clear();
    FAmount = 0;
    FReceiptUrl.clear();
}

void TzovPayment_Data_ChargeSuccessful::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Data_ChargeSuccessful *>(&AObj)) {
        FCreatedUTC = o->FCreatedUTC;
        FID = o->FID;
        FAmount = o->FAmount;
        FReceiptUrl = o->FReceiptUrl;
    } else if (auto c = dynamic_cast<const TzovPayment_Stripe_Data_CreateChargeResponse *>(&AObj)) {
        FCreatedUTC = TClock::NowUTC();
        FID = QStringLiteral("Stripe ID: ") + c->ID();
        FAmount = c->Amount();
        FReceiptUrl = c->ReceiptUrl();
    }
    RestoreNodeName();
}

void TzovPayment_Data_ChargeSuccessful::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsDateTime(ANode, "created_utc", FCreatedUTC);
    Attribute_Write_AsString(ANode, "id", FID);
    Attribute_Write_AsInteger(ANode, "amount", FAmount);
    Attribute_Write_AsString(ANode, "receipt_url", FReceiptUrl);
}

void TzovPayment_Data_ChargeSuccessful::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    FCreatedUTC = Attribute_Read_AsDateTime(ANode, "created_utc", FCreatedUTC);
    FID = Attribute_Read_AsString(ANode, "id", FID);
    FAmount = Attribute_Read_AsInteger(ANode, "amount", FAmount);
    FReceiptUrl = Attribute_Read_AsString(ANode, "receipt_url", FReceiptUrl);
}
