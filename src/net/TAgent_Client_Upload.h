// Agent submitting a student's answer file.
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TDO_UploadedFile.h"

class TAgent_Client_Upload : public TAgent_Client_Base {
    Q_OBJECT

public:
    TAgent_Client_Upload(const QString &ABaseURL, const TDO_UploadedFile_Request &ARequest,
                         QObject *AParent = nullptr);
    ~TAgent_Client_Upload() override;

    const TDO_UploadedFile_Request &Request() const { return *FRequest; }
    // The stored upload as the server answered it (ufaSubmit only); null until a reply has been read.
    const TDO_UploadedFile *Upload() const { return FUpload.get(); }

protected:
    void Execute() override;

private:
    std::unique_ptr<TDO_UploadedFile_Request> FRequest;
    std::unique_ptr<TDO_UploadedFile> FUpload;
};
