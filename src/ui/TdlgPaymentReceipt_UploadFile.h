// The receipt window shown after a student's answer file has been uploaded.
#pragma once

#include "data/TDO_Event.h"
#include "data/TDO_UploadedFile.h"
#include "ui/TdlgPaymentReceipt_Base.h"

class TDO_ClientConfig;

class TdlgPaymentReceipt_UploadFile : public TdlgPaymentReceipt_Base {
    Q_OBJECT
public:
    explicit TdlgPaymentReceipt_UploadFile(QWidget *AParent = nullptr);

    // Writes the receipt files, fills the window and shows it modally.
    void Execute(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent,
                 const TDO_UploadedFile &AUpload);
    // The first part of Execute without showing the window.
    void Prepare(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent,
                 const TDO_UploadedFile &AUpload);

    const TDO_Event &Event() const { return FEvent; }
    // The window's own copy; its charge carries the local receipt address when one was written.
    const TDO_UploadedFile &Upload() const { return FUpload; }

    // Filename, " (", whole kilobytes of 1000 bytes rounded down, " KB)".
    static QString FileInfoText(const TDO_UploadedFile &AUpload);
    static QString SubFolder() { return QStringLiteral("Your Uploads"); }

private:
    TDO_Event FEvent;
    TDO_UploadedFile FUpload;
    bool FPrepared = false;
};
