#include "data/TDO_Event_Request.h"

#include "data/TDO_Coupon_Transaction.h"

#include <iterator>

namespace {
const char *const KActionTexts[] = {"",
                                    "Create from Covid19",
                                    "Update from Covid19",
                                    "Fetch",
                                    "Fetch for Examinee (exclude resources)",
                                    "Fetch for Examinee (include resources)",
                                    "Fetch with Uploaded List"};
} // namespace

TDO_Event_Request::TDO_Event_Request()
    : TDO_Event(QStringLiteral("event_request")),
      FCouponTransaction(std::make_unique<TDO_Coupon_Transaction>()) {
    TDO_Event_Request::Initialize();
}

TDO_Event_Request::~TDO_Event_Request() = default;

void TDO_Event_Request::Initialize() {
    TDO_Event::Initialize();
    FAction = raNone;
    FCustomerID.clear();
    FClientVersion.clear();
    FCardToken.clear();
    FReceiptEmail.clear();
    if (FCouponTransaction)
        FCouponTransaction->Initialize();
    FStudentID.clear();
    FStudentPassword.clear();
    FStudentProtectedInfo.clear();
    FAuthPassword.clear();
}

void TDO_Event_Request::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDO_Event::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event_Request *>(&AObj)) {
        FAction = o->FAction;
        FCustomerID = o->FCustomerID;
        FClientVersion = o->FClientVersion;
        FCardToken = o->FCardToken;
        FReceiptEmail = o->FReceiptEmail;
        FCouponTransaction->Duplicate(*o->FCouponTransaction);
        FStudentID = o->FStudentID;
        FStudentPassword = o->FStudentPassword;
        FStudentProtectedInfo = o->FStudentProtectedInfo;
        FAuthPassword = o->FAuthPassword;
    }
    RestoreNodeName();
}

void TDO_Event_Request::WriteToNode(TXmlNode ANode) const {
    TDO_Event::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "action", Action_ToString(FAction));
    Attribute_Write_AsString(ANode, "customer_id", FCustomerID);
    Attribute_Write_AsString(ANode, "client_version", FClientVersion);
    Attribute_Write_AsString(ANode, "card_token", FCardToken);
    Attribute_Write_AsString(ANode, "receipt_email", FReceiptEmail);
    ChildNode_AddAndWrite(ANode, FCouponTransaction.get());
    Attribute_Write_AsString(ANode, "examinee_id", FStudentID);
    Attribute_Write_AsString(ANode, "examinee_password", FStudentPassword);
    Attribute_Write_AsString(ANode, "examinee_protected_info", FStudentProtectedInfo);
    Attribute_Write_AsString(ANode, "auth_password", FAuthPassword);
}

void TDO_Event_Request::ReadFromNode(TXmlNode ANode) {
    TDO_Event::ReadFromNode(ANode);
    if (!ANode)
        return;
    FAction = Action_FromString(Attribute_Read_AsString(ANode, "action", Action_ToString(FAction)));
    FCustomerID = Attribute_Read_AsString(ANode, "customer_id", FCustomerID);
    FClientVersion = Attribute_Read_AsString(ANode, "client_version", FClientVersion);
    FCardToken = Attribute_Read_AsString(ANode, "card_token", FCardToken);
    FReceiptEmail = Attribute_Read_AsString(ANode, "receipt_email", FReceiptEmail);
    ChildNode_FindAndRead(ANode, FCouponTransaction.get());
    FStudentID = Attribute_Read_AsString(ANode, "examinee_id", FStudentID);
    FStudentPassword = Attribute_Read_AsString(ANode, "examinee_password", FStudentPassword);
    FStudentProtectedInfo = Attribute_Read_AsString(ANode, "examinee_protected_info", FStudentProtectedInfo);
    FAuthPassword = Attribute_Read_AsString(ANode, "auth_password", FAuthPassword);
}

bool TDO_Event_Request::IsValid() const {
    const bool hasVersion = !FClientVersion.isEmpty();
    switch (FAction) {
    case raNone:
        return false;
    case raCreateFromCovid19: {
        const bool card = !FCardToken.isEmpty() && !FReceiptEmail.isEmpty();
        return hasVersion && !Password().isEmpty() && (card || FCouponTransaction->IsValid());
    }
    case raUpdateFromCovid19: {
        const TDO_Event_Covid19 &c = Covid19();
        return hasVersion && !FAuthPassword.isEmpty() && !ID().isEmpty() && !Name().isEmpty() &&
               !Password().isEmpty() && !c.ResourceFilename().isEmpty() && !c.ResourceFileData().isEmpty() &&
               c.AvailabilityStartUTC().MSecs() != 0 && c.AvailabilityStopUTC().MSecs() != 0 &&
               c.AvailabilityStopUTC() >= c.AvailabilityStartUTC() && !c.UploadFileExtenstions().isEmpty() &&
               c.UploadKilobyteLimit() > 0 && c.UploadCountLimit() > 0;
    }
    case raFetch:
    case raFetchWithUploadedList:
        return hasVersion && !ID().isEmpty() && !Password().isEmpty();
    case raFetchForStudent_ExcludeResources:
    case raFetchForStudent_IncludeResources:
        return hasVersion && !ID().isEmpty();
    }
    return false;
}

QString TDO_Event_Request::Action_ToString(TAction AAction) {
    const int i = int(AAction);
    if (i < 0 || i >= int(std::size(KActionTexts)))
        return {};
    return QString::fromLatin1(KActionTexts[i]);
}

TDO_Event_Request::TAction TDO_Event_Request::Action_FromString(const QString &AAction) {
    for (int i = 1; i < int(std::size(KActionTexts)); ++i) {
        if (AAction.compare(QLatin1String(KActionTexts[i]), Qt::CaseInsensitive) == 0)
            return TAction(i);
    }
    return raNone;
}
