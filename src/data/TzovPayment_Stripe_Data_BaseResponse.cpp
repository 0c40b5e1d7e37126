#include "data/TzovPayment_Stripe_Data_BaseResponse.h"

#include <QJsonDocument>
#include <QJsonValue>
#include <QVariant>

#include <cmath>
#include <limits>

// --- Error object

TzovPayment_Stripe_Data_ErrorResponse::TzovPayment_Stripe_Data_ErrorResponse()
    : TDOX_Base(QStringLiteral("stripe_error_response")) {
    TzovPayment_Stripe_Data_ErrorResponse::Initialize();
}

TzovPayment_Stripe_Data_ErrorResponse::TzovPayment_Stripe_Data_ErrorResponse(const QJsonObject &AData)
    : TzovPayment_Stripe_Data_ErrorResponse() {
    const QJsonValue err = AData.value(QStringLiteral("error"));
    if (!err.isObject())
        return;
    const QJsonObject o = err.toObject();
    // Each member on its own: one unreadable member must not hide the others.
    using B = TzovPayment_Stripe_Data_BaseResponse;
    B::ReadJsonText(o, QStringLiteral("code"), FCode);
    B::ReadJsonText(o, QStringLiteral("doc_url"), FDocUrl);
    B::ReadJsonText(o, QStringLiteral("message"), FMessage);
    B::ReadJsonText(o, QStringLiteral("param"), FParam);
    B::ReadJsonText(o, QStringLiteral("type"), FType);
}

std::unique_ptr<TzovPayment_Stripe_Data_ErrorResponse>
TzovPayment_Stripe_Data_ErrorResponse::CreateFromJSON(const QJsonObject *AData) {
    if (!AData || !AData->value(QStringLiteral("error")).isObject())
        return nullptr;
    return std::make_unique<TzovPayment_Stripe_Data_ErrorResponse>(*AData);
}

void TzovPayment_Stripe_Data_ErrorResponse::Initialize() {
    TDOX_Base::Initialize();
    FCode.clear();
    FDocUrl.clear();
    FMessage.clear();
    FParam.clear();
    FType.clear();
}

void TzovPayment_Stripe_Data_ErrorResponse::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Stripe_Data_ErrorResponse *>(&AObj)) {
        FCode = o->FCode;
        FDocUrl = o->FDocUrl;
        FMessage = o->FMessage;
        FParam = o->FParam;
        FType = o->FType;
    }
    RestoreNodeName();
}

void TzovPayment_Stripe_Data_ErrorResponse::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "code", FCode);
    Attribute_Write_AsString(ANode, "doc_url", FDocUrl);
    Attribute_Write_AsString(ANode, "message", FMessage);
    Attribute_Write_AsString(ANode, "param", FParam);
    Attribute_Write_AsString(ANode, "type", FType);
}

void TzovPayment_Stripe_Data_ErrorResponse::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    FCode = Attribute_Read_AsString(ANode, "code", FCode);
    FDocUrl = Attribute_Read_AsString(ANode, "doc_url", FDocUrl);
    FMessage = Attribute_Read_AsString(ANode, "message", FMessage);
    FParam = Attribute_Read_AsString(ANode, "param", FParam);
    FType = Attribute_Read_AsString(ANode, "type", FType);
}

// --- Base reply

TzovPayment_Stripe_Data_BaseResponse::TzovPayment_Stripe_Data_BaseResponse()
    : TzovPayment_Stripe_Data_BaseResponse(QStringLiteral("stripe_response_base")) {}

TzovPayment_Stripe_Data_BaseResponse::TzovPayment_Stripe_Data_BaseResponse(const QString &ANodeName)
    : TDOX_Base(ANodeName) {
    TzovPayment_Stripe_Data_BaseResponse::Initialize();
}

std::unique_ptr<TzovPayment_Stripe_Data_BaseResponse>
TzovPayment_Stripe_Data_BaseResponse::CreateFromJSON(const QString &AJSON) {
    auto r = std::make_unique<TzovPayment_Stripe_Data_BaseResponse>();
    r->SetRawJSON(AJSON);
    return r;
}

void TzovPayment_Stripe_Data_BaseResponse::ClearResponse() {
    FRawJSON.clear();
    FJObj.reset();
    FError.reset();
    ResetResponseFields();
}

void TzovPayment_Stripe_Data_BaseResponse::Initialize() {
    TDOX_Base::Initialize();
    ClearResponse();
}

void TzovPayment_Stripe_Data_BaseResponse::SetRawJSON(const QString &AValue) {
    ClearResponse();
    FRawJSON = AValue;
    try {
        QJsonParseError perr;
        const QJsonDocument doc = QJsonDocument::fromJson(AValue.toUtf8(), &perr);
        if (perr.error == QJsonParseError::NoError && doc.isObject())
            FJObj = std::make_unique<QJsonObject>(doc.object());
        FError = TzovPayment_Stripe_Data_ErrorResponse::CreateFromJSON(FJObj.get());
        ReadResponseFields();
    } catch (...) {
        // A reply we cannot read keeps its body; callers look at Error and the parsed fields.
    }
}

void TzovPayment_Stripe_Data_BaseResponse::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Stripe_Data_BaseResponse *>(&AObj))
        SetRawJSON(o->FRawJSON);
    RestoreNodeName();
}

void TzovPayment_Stripe_Data_BaseResponse::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    ChildNode_Write_AsString(ANode, "json", FRawJSON);
}

void TzovPayment_Stripe_Data_BaseResponse::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    SetRawJSON(ChildNode_Read_AsString(ANode, "json", FRawJSON));
}

bool TzovPayment_Stripe_Data_BaseResponse::ReadJsonText(const QJsonObject &AObj, const QString &AName,
                                                        QString &AValue) {
    const auto it = AObj.constFind(AName);
    if (it == AObj.constEnd())
        return false;
    const QJsonValue v = it.value();
    if (v.isString()) {
        AValue = v.toString();
        return true;
    }
    if (v.isDouble()) {
        AValue = v.toVariant().toString();
        return true;
    }
    if (v.isNull()) {
        AValue.clear();
        return true;
    }
    return false;
}

bool TzovPayment_Stripe_Data_BaseResponse::ReadJsonInteger(const QJsonObject &AObj, const QString &AName,
                                                           qint32 &AValue) {
    const auto it = AObj.constFind(AName);
    if (it == AObj.constEnd())
        return false;
    const QJsonValue v = it.value();
    if (v.isString()) {
        bool ok = false;
        const qint32 n = v.toString().trimmed().toInt(&ok);
        if (ok)
            AValue = n;
        return ok;
    }
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    // Cents are whole numbers; a fraction or an out-of-range amount is not an amount we can book.
    if (!std::isfinite(d) || std::trunc(d) != d || d < double(std::numeric_limits<qint32>::min()) ||
        d > double(std::numeric_limits<qint32>::max()))
        return false;
    AValue = qint32(d);
    return true;
}

bool TzovPayment_Stripe_Data_BaseResponse::ReadJsonBoolean(const QJsonObject &AObj, const QString &AName,
                                                           bool &AValue) {
    const auto it = AObj.constFind(AName);
    if (it == AObj.constEnd() || !it.value().isBool())
        return false;
    AValue = it.value().toBool();
    return true;
}

// --- Card token reply

TzovPayment_Stripe_Data_CreateCardResponse::TzovPayment_Stripe_Data_CreateCardResponse()
    : TzovPayment_Stripe_Data_BaseResponse(QStringLiteral("stripe_response_create_card")) {
    Initialize();
}

std::unique_ptr<TzovPayment_Stripe_Data_CreateCardResponse>
TzovPayment_Stripe_Data_CreateCardResponse::CreateFromJSON(const QString &AJSON) {
    auto r = std::make_unique<TzovPayment_Stripe_Data_CreateCardResponse>();
    r->SetRawJSON(AJSON);
    return r;
}

void TzovPayment_Stripe_Data_CreateCardResponse::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TzovPayment_Stripe_Data_BaseResponse::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Stripe_Data_CreateCardResponse *>(&AObj))
        FToken = o->FToken;
    RestoreNodeName();
}

void TzovPayment_Stripe_Data_CreateCardResponse::WriteToNode(TXmlNode ANode) const {
    TzovPayment_Stripe_Data_BaseResponse::WriteToNode(ANode);
    if (!ANode)
        return;
    ChildNode_Write_AsString(ANode, "token", FToken);
}

void TzovPayment_Stripe_Data_CreateCardResponse::ReadFromNode(TXmlNode ANode) {
    TzovPayment_Stripe_Data_BaseResponse::ReadFromNode(ANode);
    if (!ANode)
        return;
    FToken = ChildNode_Read_AsString(ANode, "token", FToken);
}

void TzovPayment_Stripe_Data_CreateCardResponse::ResetResponseFields() {
    FToken.clear();
}

bool TzovPayment_Stripe_Data_CreateCardResponse::ReadResponseFields() {
    ResetResponseFields();
    if (!JObj() || Error())
        return false;
    QString token;
    if (!ReadJsonText(*JObj(), QStringLiteral("id"), token))
        return false;
    FToken = token;
    return true;
}

// --- Charge reply

TzovPayment_Stripe_Data_CreateChargeResponse::TzovPayment_Stripe_Data_CreateChargeResponse()
    : TzovPayment_Stripe_Data_BaseResponse(QStringLiteral("stripe_charge_response")) {
    Initialize();
}

std::unique_ptr<TzovPayment_Stripe_Data_CreateChargeResponse>
TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(const QString &AJSON) {
    auto r = std::make_unique<TzovPayment_Stripe_Data_CreateChargeResponse>();
    r->SetRawJSON(AJSON);
    return r;
}

void TzovPayment_Stripe_Data_CreateChargeResponse::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TzovPayment_Stripe_Data_BaseResponse::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Stripe_Data_CreateChargeResponse *>(&AObj)) {
        FID = o->FID;
        FAmount = o->FAmount;
        FPaid = o->FPaid;
        FStatus = o->FStatus;
        FPaymentMethod = o->FPaymentMethod;
        FReceiptEmail = o->FReceiptEmail;
        FReceiptUrl = o->FReceiptUrl;
        FFailureMsg = o->FFailureMsg;
    }
    RestoreNodeName();
}

void TzovPayment_Stripe_Data_CreateChargeResponse::WriteToNode(TXmlNode ANode) const {
    TzovPayment_Stripe_Data_BaseResponse::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "id", FID);
    Attribute_Write_AsInteger(ANode, "amount", FAmount);
    Attribute_Write_AsBoolean(ANode, "paid", FPaid);
    Attribute_Write_AsString(ANode, "status", FStatus);
    Attribute_Write_AsString(ANode, "payment_method", FPaymentMethod);
    Attribute_Write_AsString(ANode, "receipt_email", FReceiptEmail);
    Attribute_Write_AsString(ANode, "receipt_url", FReceiptUrl);
    Attribute_Write_AsString(ANode, "failure_msg", FFailureMsg);
}

void TzovPayment_Stripe_Data_CreateChargeResponse::ReadFromNode(TXmlNode ANode) {
    TzovPayment_Stripe_Data_BaseResponse::ReadFromNode(ANode);
    if (!ANode)
        return;
    FID = Attribute_Read_AsString(ANode, "id", FID);
    FAmount = Attribute_Read_AsInteger(ANode, "amount", FAmount);
    FPaid = Attribute_Read_AsBoolean(ANode, "paid", FPaid);
    FStatus = Attribute_Read_AsString(ANode, "status", FStatus);
    FPaymentMethod = Attribute_Read_AsString(ANode, "payment_method", FPaymentMethod);
    FReceiptEmail = Attribute_Read_AsString(ANode, "receipt_email", FReceiptEmail);
    FReceiptUrl = Attribute_Read_AsString(ANode, "receipt_url", FReceiptUrl);
    FFailureMsg = Attribute_Read_AsString(ANode, "failure_msg", FFailureMsg);
}

void TzovPayment_Stripe_Data_CreateChargeResponse::ResetResponseFields() {
    FID.clear();
    FAmount = 0;
    FPaid = false;
    FStatus.clear();
    FPaymentMethod.clear();
    FReceiptEmail.clear();
    FReceiptUrl.clear();
    FFailureMsg.clear();
}

bool TzovPayment_Stripe_Data_CreateChargeResponse::ReadResponseFields() {
    ResetResponseFields();
    if (!JObj() || Error())
        return false;
    const QJsonObject &o = *JObj();
    return ReadJsonText(o, QStringLiteral("id"), FID) &&
           ReadJsonInteger(o, QStringLiteral("amount"), FAmount) &&
           ReadJsonBoolean(o, QStringLiteral("paid"), FPaid) &&
           ReadJsonText(o, QStringLiteral("status"), FStatus) &&
           ReadJsonText(o, QStringLiteral("payment_method"), FPaymentMethod) &&
           ReadJsonText(o, QStringLiteral("receipt_email"), FReceiptEmail) &&
           ReadJsonText(o, QStringLiteral("receipt_url"), FReceiptUrl) &&
           ReadJsonText(o, QStringLiteral("failure_message"), FFailureMsg);
}
