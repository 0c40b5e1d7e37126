#include "data/TDO_UploadedFile.h"

#include "data/TDO_Coupon_Transaction.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

// ---------------------------------------------------------------------------------------------------------------
// TDO_UploadedFile

TDO_UploadedFile::TDO_UploadedFile() : TDO_UploadedFile(QStringLiteral("uploadedfile")) {}

TDO_UploadedFile::TDO_UploadedFile(const QString &ANodeName)
    : TDOX_BaseQuenmark(ANodeName), FPaymentCharge(std::make_unique<TzovPayment_Data_ChargeSuccessful>()) {
    TDO_UploadedFile::Initialize();
}

TDO_UploadedFile::~TDO_UploadedFile() = default;

void TDO_UploadedFile::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FCreatedUTC = {};
    FEventID.clear();
    FStudentID.clear();
    FProtectedInfo.clear();
    FCopyNumber = 1;
    FFileData.clear();
    FFilename.clear();
    if (FPaymentCharge)
        FPaymentCharge->Initialize();
    FCheckedOutUTC = {};
    FSubmitDueUTC = {};
}

void TDO_UploadedFile::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_UploadedFile *>(&AObj)) {
        FCreatedUTC = o->FCreatedUTC;
        FEventID = o->FEventID;
        FStudentID = o->FStudentID;
        FProtectedInfo = o->FProtectedInfo;
        FCopyNumber = o->FCopyNumber;
        FFileData = o->FFileData;
        FFilename = o->FFilename;
        FPaymentCharge->Duplicate(*o->FPaymentCharge);
        FCheckedOutUTC = o->FCheckedOutUTC;
        FSubmitDueUTC = o->FSubmitDueUTC;
    }
    RestoreNodeName();
}

void TDO_UploadedFile::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsDateTime(ANode, "created_utc", FCreatedUTC);
    Attribute_Write_AsString(ANode, "event_id", FEventID);
    Attribute_Write_AsString(ANode, "examinee_id", FStudentID);
    Attribute_Write_AsString(ANode, "protected_info", FProtectedInfo);
    Attribute_Write_AsInteger(ANode, "copy_number", FCopyNumber);
    TXmlNode data = ChildNode_Write_AsBinary(ANode, "filedata", FFileData);
    Attribute_Write_AsString(data, "name", FFilename);
    ChildNode_AddAndWrite(ANode, FPaymentCharge.get());
    Attribute_Write_AsDateTime(ANode, "checked_out_utc", FCheckedOutUTC);
    Attribute_Write_AsDateTime(ANode, "submit_due_utc", FSubmitDueUTC);
}

void TDO_UploadedFile::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FCreatedUTC = Attribute_Read_AsDateTime(ANode, "created_utc", FCreatedUTC);
    FEventID = Attribute_Read_AsString(ANode, "event_id", FEventID);
    FStudentID = Attribute_Read_AsString(ANode, "examinee_id", FStudentID);
    FProtectedInfo = Attribute_Read_AsString(ANode, "protected_info", FProtectedInfo);
    FCopyNumber = Attribute_Read_AsInteger(ANode, "copy_number", FCopyNumber);
    if (TXmlNode data = ANode.child("filedata")) {
        if (!ChildNode_Read_AsBinary(ANode, "filedata", FFileData))
            FFileData.clear();
        FFilename = Attribute_Read_AsString(data, "name", FFilename);
    }
    ChildNode_FindAndRead(ANode, FPaymentCharge.get());
    FCheckedOutUTC = Attribute_Read_AsDateTime(ANode, "checked_out_utc", FCheckedOutUTC);
    FSubmitDueUTC = Attribute_Read_AsDateTime(ANode, "submit_due_utc", FSubmitDueUTC);
}

void TDO_UploadedFile::Duplicate_FileData(QIODevice *AStream) {
    FFileData.clear();
    if (!AStream)
        return;
    const qint64 pos = AStream->pos();
    if (AStream->seek(0))
        FFileData = AStream->readAll();
    AStream->seek(pos);
}

bool TDO_UploadedFile::SetFileNameAndData(const QString &AFQFilename) {
    FFilename.clear();
    FFileData.clear();
    QFile file(AFQFilename);
    if (AFQFilename.isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    FFileData = std::move(data);
    FFilename = QFileInfo(AFQFilename).fileName();
    return true;
}

void TDO_UploadedFile::SetPaymentChargeFromCoupon(const QString &ACouponCode,
                                                  const QString &ACouponTransaction) {
    FPaymentCharge->Initialize();
    // A UTC field gets UTC (the charge records of card payments are stamped the same way).
    FPaymentCharge->SetCreatedUTC(TClock::NowUTC());
    FPaymentCharge->SetID(QStringLiteral("Coupon Code: ") + ACouponCode +
                          QStringLiteral("; Transaction ID: ") + ACouponTransaction);
}

QString TDO_UploadedFile::FormattedUniqueIdentifier() const {
    if (FCopyNumber == 1)
        return FStudentID + QStringLiteral(" (") + FProtectedInfo + QStringLiteral(")");
    return FStudentID + QStringLiteral(" (") + FProtectedInfo + u'-' + QString::number(FCopyNumber) + u')';
}

QString TDO_UploadedFile::RecommendedStorageIdentifier() const {
    QString id = FStudentID + u'_' + FProtectedInfo + u'_' + QString::number(FCopyNumber);
    // Student texts come from the network: never let them name another folder.
    for (QChar &c : id) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
            c == u'"' || c == u'<' || c == u'>' || c == u'|')
            c = u'_';
    }
    return id;
}

bool TDO_UploadedFile::IsValid(bool AAndHasData) const {
    return !FEventID.isEmpty() && !FStudentID.isEmpty() && !FProtectedInfo.isEmpty() &&
           !FFilename.isEmpty() && (!AAndHasData || !FFileData.isEmpty());
}

int TDO_UploadedFile::MinutesLate() const {
    if (!IsLate())
        return 0;
    return int((FCreatedUTC.MSecs() - FSubmitDueUTC.MSecs()) / 60000);
}

// ---------------------------------------------------------------------------------------------------------------
// TDO_UploadedFile_Request

TDO_UploadedFile_Request::TDO_UploadedFile_Request()
    : TDO_UploadedFile(QStringLiteral("uploadedfile_request")),
      FCouponTransaction(std::make_unique<TDO_Coupon_Transaction>()) {
    TDO_UploadedFile_Request::Initialize();
}

TDO_UploadedFile_Request::~TDO_UploadedFile_Request() = default;

void TDO_UploadedFile_Request::Initialize() {
    TDO_UploadedFile::Initialize();
    FAction = ufaNone;
    FCustomerID.clear();
    FClientVersion.clear();
    FCardToken.clear();
    FReceiptEmail.clear();
    if (FCouponTransaction)
        FCouponTransaction->Initialize();
    FPassword.clear();
}

void TDO_UploadedFile_Request::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDO_UploadedFile::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_UploadedFile_Request *>(&AObj)) {
        FAction = o->FAction;
        FCustomerID = o->FCustomerID;
        FClientVersion = o->FClientVersion;
        FCardToken = o->FCardToken;
        FReceiptEmail = o->FReceiptEmail;
        FCouponTransaction->Duplicate(*o->FCouponTransaction);
        FPassword = o->FPassword;
    }
    RestoreNodeName();
}

void TDO_UploadedFile_Request::WriteToNode(TXmlNode ANode) const {
    TDO_UploadedFile::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "action", Action_ToString(FAction));
    Attribute_Write_AsString(ANode, "customer_id", FCustomerID);
    Attribute_Write_AsString(ANode, "client_version", FClientVersion);
    Attribute_Write_AsString(ANode, "card_token", FCardToken);
    Attribute_Write_AsString(ANode, "receipt_email", FReceiptEmail);
    ChildNode_AddAndWrite(ANode, FCouponTransaction.get());
    Attribute_Write_AsString(ANode, "password", FPassword);
}

void TDO_UploadedFile_Request::ReadFromNode(TXmlNode ANode) {
    TDO_UploadedFile::ReadFromNode(ANode);
    if (!ANode)
        return;
    FAction = Action_FromString(Attribute_Read_AsString(ANode, "action", Action_ToString(FAction)));
    FCustomerID = Attribute_Read_AsString(ANode, "customer_id", FCustomerID);
    FClientVersion = Attribute_Read_AsString(ANode, "client_version", FClientVersion);
    FCardToken = Attribute_Read_AsString(ANode, "card_token", FCardToken);
    FReceiptEmail = Attribute_Read_AsString(ANode, "receipt_email", FReceiptEmail);
    ChildNode_FindAndRead(ANode, FCouponTransaction.get());
    FPassword = Attribute_Read_AsString(ANode, "password", FPassword);
}

bool TDO_UploadedFile_Request::IsValid(bool AAndHasData) const {
    return TDO_UploadedFile::IsValid(AAndHasData) && !FClientVersion.isEmpty() &&
           (FAction == ufaSubmit || FAction == ufaDownload) && !FPassword.isEmpty();
}

QString TDO_UploadedFile_Request::Action_ToString(TAction AAction) {
    switch (AAction) {
    case ufaSubmit:
        return QStringLiteral("Submit");
    case ufaDownload:
        return QStringLiteral("Download");
    case ufaNone:
        break;
    }
    return {};
}

TDO_UploadedFile_Request::TAction TDO_UploadedFile_Request::Action_FromString(const QString &AAction) {
    if (AAction.compare(QLatin1String("Submit"), Qt::CaseInsensitive) == 0)
        return ufaSubmit;
    if (AAction.compare(QLatin1String("Download"), Qt::CaseInsensitive) == 0)
        return ufaDownload;
    return ufaNone;
}
