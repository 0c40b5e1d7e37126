#include "net/TAgent_Client_Upload.h"

TAgent_Client_Upload::TAgent_Client_Upload(const QString &ABaseURL, const TDO_UploadedFile_Request &ARequest,
                                           QObject *AParent)
    : TAgent_Client_Base(ABaseURL, AParent), FRequest(std::make_unique<TDO_UploadedFile_Request>(ARequest)) {}

TAgent_Client_Upload::~TAgent_Client_Upload() = default;

void TAgent_Client_Upload::Execute() {
    auto client = NewClient();
    TNetHTTPResponse response;
    if (!PostRecord(*client, QStringLiteral("/v1/event/upload"), *FRequest, response) || !AcceptReply())
        return;
    // Downloads go through the bulk download agent; this one has no record for them.
    if (FRequest->Action() != TDO_UploadedFile_Request::ufaSubmit) {
        SetStatus(asNotSupported, Text_NotSupported());
        return;
    }
    auto upload = std::make_unique<TDO_UploadedFile>();
    if (!LoadReply(*upload, response.Body)) {
        SetStatus_Unreadable(upload->NodeName_OnCreate());
        return;
    }
    FUpload = std::move(upload);
    FSuccess = true;
}
