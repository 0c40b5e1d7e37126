// Replies of the card processor's REST API as records: the error object, the card token and the charge
// replies.
#pragma once

#include "data/TDOX_Base.h"

#include <QJsonObject>

#include <memory>

// The "error" object of a reply.
class TzovPayment_Stripe_Data_ErrorResponse : public TDOX_Base {
public:
    TzovPayment_Stripe_Data_ErrorResponse();
    // Reads the "error" member of AData when it is an object; the fields stay empty otherwise.
    explicit TzovPayment_Stripe_Data_ErrorResponse(const QJsonObject &AData);
    TzovPayment_Stripe_Data_ErrorResponse(const TzovPayment_Stripe_Data_ErrorResponse &AObj)
        : TzovPayment_Stripe_Data_ErrorResponse() {
        Duplicate(AObj);
    }
    TzovPayment_Stripe_Data_ErrorResponse &operator=(const TzovPayment_Stripe_Data_ErrorResponse &AObj) {
        Duplicate(AObj);
        return *this;
    }

    // nullptr when AData is none or has no "error" object.
    static std::unique_ptr<TzovPayment_Stripe_Data_ErrorResponse> CreateFromJSON(const QJsonObject *AData);

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &Code() const { return FCode; }
    void SetCode(const QString &AValue) { FCode = AValue; }
    const QString &DocUrl() const { return FDocUrl; }
    void SetDocUrl(const QString &AValue) { FDocUrl = AValue; }
    const QString &AMessage() const { return FMessage; }
    void SetAMessage(const QString &AValue) { FMessage = AValue; }
    const QString &Param() const { return FParam; }
    void SetParam(const QString &AValue) { FParam = AValue; }
    const QString &AType() const { return FType; }
    void SetAType(const QString &AValue) { FType = AValue; }

private:
    QString FCode;
    QString FDocUrl;
    QString FMessage;
    QString FParam;
    QString FType;
};

// Base of every reply: keeps the body as received and its parsed object and error.
class TzovPayment_Stripe_Data_BaseResponse : public TDOX_Base {
public:
    TzovPayment_Stripe_Data_BaseResponse();
    TzovPayment_Stripe_Data_BaseResponse(const TzovPayment_Stripe_Data_BaseResponse &AObj)
        : TzovPayment_Stripe_Data_BaseResponse() {
        Duplicate(AObj);
    }
    TzovPayment_Stripe_Data_BaseResponse &operator=(const TzovPayment_Stripe_Data_BaseResponse &AObj) {
        Duplicate(AObj);
        return *this;
    }
    static std::unique_ptr<TzovPayment_Stripe_Data_BaseResponse> CreateFromJSON(const QString &AJSON);

    void Initialize() override;
    // Re-parses the source's body, then (in descendants) copies the parsed fields.
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &RawJSON() const { return FRawJSON; }
    // Clears the record and parses AValue; never throws.
    void SetRawJSON(const QString &AValue);
    // nullptr when the body was not a JSON object.
    const QJsonObject *JObj() const { return FJObj.get(); }
    // nullptr unless the body carries an "error" object.
    const TzovPayment_Stripe_Data_ErrorResponse *Error() const { return FError.get(); }

    virtual void ResetResponseFields() {}
    virtual bool ReadResponseFields() { return true; }

    // JSON member readers: text takes strings, numbers and null; integer takes numbers and numeric strings.
    static bool ReadJsonText(const QJsonObject &AObj, const QString &AName, QString &AValue);
    static bool ReadJsonInteger(const QJsonObject &AObj, const QString &AName, qint32 &AValue);
    static bool ReadJsonBoolean(const QJsonObject &AObj, const QString &AName, bool &AValue);

protected:
    explicit TzovPayment_Stripe_Data_BaseResponse(const QString &ANodeName);

private:
    void ClearResponse();

    QString FRawJSON;
    std::unique_ptr<QJsonObject> FJObj;
    std::unique_ptr<TzovPayment_Stripe_Data_ErrorResponse> FError;
};

// Reply to a card token request.
class TzovPayment_Stripe_Data_CreateCardResponse : public TzovPayment_Stripe_Data_BaseResponse {
public:
    TzovPayment_Stripe_Data_CreateCardResponse();
    TzovPayment_Stripe_Data_CreateCardResponse(const TzovPayment_Stripe_Data_CreateCardResponse &AObj)
        : TzovPayment_Stripe_Data_CreateCardResponse() {
        Duplicate(AObj);
    }
    TzovPayment_Stripe_Data_CreateCardResponse &
    operator=(const TzovPayment_Stripe_Data_CreateCardResponse &AObj) {
        Duplicate(AObj);
        return *this;
    }
    static std::unique_ptr<TzovPayment_Stripe_Data_CreateCardResponse> CreateFromJSON(const QString &AJSON);

    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;
    void ResetResponseFields() override;
    bool ReadResponseFields() override;

    // The single-use card token ("id" of the reply).
    const QString &Token() const { return FToken; }
    void SetToken(const QString &AValue) { FToken = AValue; }

private:
    QString FToken;
};

// Reply to a charge request.
class TzovPayment_Stripe_Data_CreateChargeResponse : public TzovPayment_Stripe_Data_BaseResponse {
public:
    TzovPayment_Stripe_Data_CreateChargeResponse();
    TzovPayment_Stripe_Data_CreateChargeResponse(const TzovPayment_Stripe_Data_CreateChargeResponse &AObj)
        : TzovPayment_Stripe_Data_CreateChargeResponse() {
        Duplicate(AObj);
    }
    TzovPayment_Stripe_Data_CreateChargeResponse &
    operator=(const TzovPayment_Stripe_Data_CreateChargeResponse &AObj) {
        Duplicate(AObj);
        return *this;
    }
    static std::unique_ptr<TzovPayment_Stripe_Data_CreateChargeResponse> CreateFromJSON(const QString &AJSON);

    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;
    void ResetResponseFields() override;
    // Reads the members in order; the first absent or ill-typed one ends the reading with false.
    bool ReadResponseFields() override;

    const QString &ID() const { return FID; }
    void SetID(const QString &AValue) { FID = AValue; }
    qint32 Amount() const { return FAmount; }
    void SetAmount(qint32 AValue) { FAmount = AValue; }
    bool Paid() const { return FPaid; }
    void SetPaid(bool AValue) { FPaid = AValue; }
    const QString &Status() const { return FStatus; }
    void SetStatus(const QString &AValue) { FStatus = AValue; }
    const QString &PaymentMethod() const { return FPaymentMethod; }
    void SetPaymentMethod(const QString &AValue) { FPaymentMethod = AValue; }
    const QString &ReceiptEmail() const { return FReceiptEmail; }
    void SetReceiptEmail(const QString &AValue) { FReceiptEmail = AValue; }
    const QString &ReceiptUrl() const { return FReceiptUrl; }
    void SetReceiptUrl(const QString &AValue) { FReceiptUrl = AValue; }
    const QString &FailureMsg() const { return FFailureMsg; }
    void SetFailureMsg(const QString &AValue) { FFailureMsg = AValue; }

private:
    QString FID;
    qint32 FAmount = 0;
    bool FPaid = false;
    QString FStatus;
    QString FPaymentMethod;
    QString FReceiptEmail;
    QString FReceiptUrl;
    QString FFailureMsg;
};
