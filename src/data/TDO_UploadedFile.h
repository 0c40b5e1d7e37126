// Uploaded answer files and the upload endpoint's request body (submit or download one file).
#pragma once

#include "data/TDOX_BaseQuenmark.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <vector>

class QIODevice;
class TzovPayment_Data_ChargeSuccessful;
class TDO_Coupon_Transaction;

// One answer file uploaded by a student.
class TDO_UploadedFile : public TDOX_BaseQuenmark {
public:
    TDO_UploadedFile();
    TDO_UploadedFile(const TDO_UploadedFile &AObj) : TDO_UploadedFile() { Duplicate(AObj); }
    explicit TDO_UploadedFile(const TDOX_Base &AObj) : TDO_UploadedFile() { Duplicate(AObj); }
    TDO_UploadedFile &operator=(const TDO_UploadedFile &AObj) {
        Duplicate(AObj);
        return *this;
    }
    ~TDO_UploadedFile() override;

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;
    std::unique_ptr<TDO_UploadedFile> Clone() const { return std::make_unique<TDO_UploadedFile>(*this); }

    TDateTime CreatedUTC() const { return FCreatedUTC; }
    void SetCreatedUTC(TDateTime AValue) { FCreatedUTC = AValue; }
    const QString &EventID() const { return FEventID; }
    void SetEventID(const QString &AValue) { FEventID = TrimText(AValue); }
    const QString &StudentID() const { return FStudentID; }
    void SetStudentID(const QString &AValue) { FStudentID = TrimText(AValue); }
    const QString &ProtectedInfo() const { return FProtectedInfo; }
    void SetProtectedInfo(const QString &AValue) { FProtectedInfo = TrimText(AValue); }
    qint32 CopyNumber() const { return FCopyNumber; }
    void SetCopyNumber(qint32 AValue) { FCopyNumber = AValue <= 0 ? 1 : AValue; }
    const QByteArray &FileData() const { return FFileData; }
    void SetFileData(const QByteArray &AValue) { FFileData = AValue; }
    const QString &Filename() const { return FFilename; }
    void SetFilename(const QString &AValue) { FFilename = TrimText(AValue); }
    TzovPayment_Data_ChargeSuccessful &PaymentCharge() { return *FPaymentCharge; }
    const TzovPayment_Data_ChargeSuccessful &PaymentCharge() const { return *FPaymentCharge; }
    TDateTime CheckedOutUTC() const { return FCheckedOutUTC; }
    void SetCheckedOutUTC(TDateTime AValue) { FCheckedOutUTC = AValue; }
    TDateTime SubmitDueUTC() const { return FSubmitDueUTC; }
    void SetSubmitDueUTC(TDateTime AValue) { FSubmitDueUTC = AValue; }

    // Copies the whole stream (from its start); the stream keeps its position. No stream: empties the data.
    void Duplicate_FileData(QIODevice *AStream);
    // Loads the answer file; false (name and data empty) when the file is missing or unreadable.
    bool SetFileNameAndData(const QString &AFQFilename);
    void SetPaymentChargeFromCoupon(const QString &ACouponCode, const QString &ACouponTransaction);

    // "1234 (xyz)" for the first copy, "1234 (xyz-3)" for the third.
    QString FormattedUniqueIdentifier() const;
    // StudentID_ProtectedInfo_CopyNumber, with characters that cannot stand in a file name replaced by "_".
    QString RecommendedStorageIdentifier() const;
    QString RecommendedStorageFilename() const {
        return RecommendedStorageIdentifier() + QStringLiteral(".xml");
    }

    bool IsValid(bool AAndHasData) const;
    bool IsStarted() const { return FCheckedOutUTC.MSecs() > 0; }
    bool IsNOTStarted() const { return FCheckedOutUTC.MSecs() == 0; }
    // Received after its due time; an unset due time makes every upload late.
    bool IsLate() const { return FCreatedUTC > FSubmitDueUTC; }
    int MinutesLate() const;

protected:
    explicit TDO_UploadedFile(const QString &ANodeName);

private:
    TDateTime FCreatedUTC;
    QString FEventID;
    QString FStudentID;
    QString FProtectedInfo;
    qint32 FCopyNumber = 1;
    QByteArray FFileData;
    QString FFilename;
    std::unique_ptr<TzovPayment_Data_ChargeSuccessful> FPaymentCharge;
    TDateTime FCheckedOutUTC;
    TDateTime FSubmitDueUTC;
};

using TDO_UploadedFiles = std::vector<std::unique_ptr<TDO_UploadedFile>>;

// Body sent to the upload endpoint.
class TDO_UploadedFile_Request : public TDO_UploadedFile {
public:
    enum TAction { ufaNone, ufaSubmit, ufaDownload };

    TDO_UploadedFile_Request();
    TDO_UploadedFile_Request(const TDO_UploadedFile_Request &AObj) : TDO_UploadedFile_Request() {
        Duplicate(AObj);
    }
    explicit TDO_UploadedFile_Request(const TDOX_Base &AObj) : TDO_UploadedFile_Request() { Duplicate(AObj); }
    TDO_UploadedFile_Request &operator=(const TDO_UploadedFile_Request &AObj) {
        Duplicate(AObj);
        return *this;
    }
    ~TDO_UploadedFile_Request() override;

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TAction Action() const { return FAction; }
    void SetAction(TAction AValue) { FAction = AValue; }
    const QString &CustomerID() const { return FCustomerID; }
    void SetCustomerID(const QString &AValue) { FCustomerID = TrimText(AValue); }
    const QString &ClientVersion() const { return FClientVersion; }
    void SetClientVersion(const QString &AValue) { FClientVersion = TrimText(AValue); }
    const QString &CardToken() const { return FCardToken; }
    void SetCardToken(const QString &AValue) { FCardToken = TrimText(AValue); }
    const QString &ReceiptEmail() const { return FReceiptEmail; }
    void SetReceiptEmail(const QString &AValue) { FReceiptEmail = TrimText(AValue); }
    TDO_Coupon_Transaction &CouponTransaction() { return *FCouponTransaction; }
    const TDO_Coupon_Transaction &CouponTransaction() const { return *FCouponTransaction; }
    const QString &Password() const { return FPassword; }
    void SetPassword(const QString &AValue) { FPassword = TrimText(AValue); }

    bool IsValid(bool AAndHasData) const;

    static QString Action_ToString(TAction AAction);
    static TAction Action_FromString(const QString &AAction);

private:
    TAction FAction = ufaNone;
    QString FCustomerID;
    QString FClientVersion;
    QString FCardToken;
    QString FReceiptEmail;
    std::unique_ptr<TDO_Coupon_Transaction> FCouponTransaction;
    QString FPassword;
};
