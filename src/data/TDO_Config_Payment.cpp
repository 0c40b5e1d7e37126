#include "data/TDO_Config_Payment.h"

#include "TavixDeployment.h"

QString PaymentProcessor_ToString(TzovPaymentProcessor AValue) {
    switch (AValue) {
    case TzovPaymentProcessor::ppStripeTest:
        return QStringLiteral("Stripe Test");
    case TzovPaymentProcessor::ppStripeLive:
        return QStringLiteral("Stripe LIVE");
    case TzovPaymentProcessor::ppNone:
        break;
    }
    return QStringLiteral("None");
}

TzovPaymentProcessor PaymentProcessor_FromString(const QString &AValue) {
    for (TzovPaymentProcessor v : {TzovPaymentProcessor::ppStripeTest, TzovPaymentProcessor::ppStripeLive})
        if (AValue.compare(PaymentProcessor_ToString(v), Qt::CaseInsensitive) == 0)
            return v;
    return TzovPaymentProcessor::ppNone;
}

// --- Fee configuration

TDO_Config_Payment::TDO_Config_Payment() : TDOX_Base(QStringLiteral("payment_processing")) {
    TDO_Config_Payment::Initialize();
}

QString TDO_Config_Payment::CouponServerPlaceholderURL() {
    return QString::fromUtf8(TavixDeployment::coupon_placeholder_address);
}

void TDO_Config_Payment::Initialize() {
    TDOX_Base::Initialize();
    FProcessor = TzovPaymentProcessor::ppStripeLive;
    FCreateEvent_FeeInCents = 500;
    FCreateEvent_Description = QStringLiteral("Tavix Event Fee");
    FUploadFile_FeeInCents = 100;
    FUploadFile_Description = QStringLiteral("Tavix Upload Fee");
    FCouponServerBaseURL = CouponServerPlaceholderURL();
}

void TDO_Config_Payment::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Config_Payment *>(&AObj)) {
        FProcessor = o->FProcessor;
        FCreateEvent_FeeInCents = o->FCreateEvent_FeeInCents;
        FCreateEvent_Description = o->FCreateEvent_Description;
        FUploadFile_FeeInCents = o->FUploadFile_FeeInCents;
        FUploadFile_Description = o->FUploadFile_Description;
        FCouponServerBaseURL = o->FCouponServerBaseURL;
    }
    RestoreNodeName();
}

void TDO_Config_Payment::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "payment_processor", PaymentProcessor_ToString(FProcessor));
    ChildNode_Write_AsInteger(ANode, "create_event_fee_in_cents", FCreateEvent_FeeInCents);
    ChildNode_Write_AsString(ANode, "create_event_description", FCreateEvent_Description);
    ChildNode_Write_AsInteger(ANode, "upload_file_fee_in_cents", FUploadFile_FeeInCents);
    ChildNode_Write_AsString(ANode, "upload_file_description", FUploadFile_Description);
    ChildNode_Write_AsString(ANode, "coupon_server_base_url", FCouponServerBaseURL);
}

void TDO_Config_Payment::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    FProcessor = PaymentProcessor_FromString(
        Attribute_Read_AsString(ANode, "payment_processor", PaymentProcessor_ToString(FProcessor)));
    FCreateEvent_FeeInCents =
        ChildNode_Read_AsInteger(ANode, "create_event_fee_in_cents", FCreateEvent_FeeInCents);
    FCreateEvent_Description =
        ChildNode_Read_AsString(ANode, "create_event_description", FCreateEvent_Description);
    FUploadFile_FeeInCents =
        ChildNode_Read_AsInteger(ANode, "upload_file_fee_in_cents", FUploadFile_FeeInCents);
    FUploadFile_Description =
        ChildNode_Read_AsString(ANode, "upload_file_description", FUploadFile_Description);
    SetCouponServerBaseURL(ChildNode_Read_AsString(ANode, "coupon_server_base_url", FCouponServerBaseURL));
}

// --- Payment requirements

TzovPayment_Data_PaymentRequirements::TzovPayment_Data_PaymentRequirements()
    : TDOX_Base(QStringLiteral("payment_requirements")) {
    TzovPayment_Data_PaymentRequirements::Initialize();
}

TzovPayment_Data_PaymentRequirements::TzovPayment_Data_PaymentRequirements(
    TzovPaymentProcessor APaymentProcessor, qint32 AProductAmount_inCents, const QString &AProductDescription)
    : TzovPayment_Data_PaymentRequirements() {
    FPaymentProcessor = APaymentProcessor;
    FProductAmount_inCents = AProductAmount_inCents;
    SetProductDescription(AProductDescription);
}

void TzovPayment_Data_PaymentRequirements::Initialize() {
    TDOX_Base::Initialize();
    FPaymentProcessor = TzovPaymentProcessor::ppNone;
    FProductAmount_inCents = 0;
    FProductDescription.clear();
}

void TzovPayment_Data_PaymentRequirements::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Data_PaymentRequirements *>(&AObj)) {
        FPaymentProcessor = o->FPaymentProcessor;
        FProductAmount_inCents = o->FProductAmount_inCents;
        FProductDescription = o->FProductDescription;
    }
    RestoreNodeName();
}

void TzovPayment_Data_PaymentRequirements::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "payment_processor", PaymentProcessor_ToString(FPaymentProcessor));
    Attribute_Write_AsInteger(ANode, "product_amount_in_cents", FProductAmount_inCents);
    Attribute_Write_AsString(ANode, "product_description", FProductDescription);
}

void TzovPayment_Data_PaymentRequirements::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    FPaymentProcessor = PaymentProcessor_FromString(
        Attribute_Read_AsString(ANode, "payment_processor", PaymentProcessor_ToString(FPaymentProcessor)));
    FProductAmount_inCents =
        Attribute_Read_AsInteger(ANode, "product_amount_in_cents", FProductAmount_inCents);
    SetProductDescription(Attribute_Read_AsString(ANode, "product_description", FProductDescription));
}
