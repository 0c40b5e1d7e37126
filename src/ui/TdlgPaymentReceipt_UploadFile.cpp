#include "ui/TdlgPaymentReceipt_UploadFile.h"

#include "data/TDO_ClientConfig.h"
#include "data/TDO_Coupon_HtmlTool.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QCheckBox>
#include <QPushButton>

TdlgPaymentReceipt_UploadFile::TdlgPaymentReceipt_UploadFile(QWidget *AParent)
    : TdlgPaymentReceipt_Base(AParent) {
    setObjectName(QStringLiteral("dlgPaymentReceipt_UploadFile"));
    SetTexts(
        {tr("UPLOAD SUCCESSFUL"),
         {tr("IMPORTANT > Save this info and your receipt."), tr("Copy the info using the button below."),
          tr("It is also on your receipt, so save that too.")},
         tr("Copy info to clipboard"),
         tr("Confirm you have saved your submittal info and receipt.")});
}

void TdlgPaymentReceipt_UploadFile::Execute(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent,
                                            const TDO_UploadedFile &AUpload) {
    Prepare(AClientConfig, AEvent, AUpload);
    exec();
}

QString TdlgPaymentReceipt_UploadFile::FileInfoText(const TDO_UploadedFile &AUpload) {
    return AUpload.Filename() + QStringLiteral(" (") + QString::number(AUpload.FileData().size() / 1000) +
           QStringLiteral(" KB)");
}

void TdlgPaymentReceipt_UploadFile::Prepare(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent,
                                            const TDO_UploadedFile &AUpload) {
    if (FPrepared)
        return;
    FPrepared = true;
    ApplyBranding(AClientConfig);
    FEvent.Duplicate(AEvent);
    FUpload.Duplicate(AUpload);
    TzovPayment_Data_ChargeSuccessful &charge = FUpload.PaymentCharge();

    const QString examID = FUpload.FormattedUniqueIdentifier();
    const QString fileInfo = FileInfoText(FUpload);
    const QString received = TimeText(FUpload.CreatedUTC());
    const QString baseName = ReceiptFolder(SubFolder()) + SafeFileNamePart(FEvent.ID()) + QLatin1Char('_') +
                             SafeFileNamePart(examID);
    if (charge.ReceiptUrl().isEmpty()) {
        const QStringList html = TDO_Coupon_HtmlTool().ReceiptFor_UploadFile(
            charge.ID(), received, FEvent.Name(), FEvent.ID_Pretty(), examID, fileInfo, received);
        charge.SetReceiptUrl(
            MakeHtmlReceipt(QString(), baseName + QStringLiteral("-Receipt.htm"), html.value(0)));
    }

    AddField(QStringLiteral("lblEventName"), tr("Event Name"), FEvent.Name(), false);
    AddField(QStringLiteral("lblEventCode"), tr("Event Code"), FEvent.ID_Pretty(), false);
    AddField(QStringLiteral("lblExamID"), tr("Exam ID"), examID, false);
    AddField(QStringLiteral("lblFile"), tr("File"), fileInfo, false);
    AddField(QStringLiteral("lblReceived"), tr("Received"), received, false);
    setTabOrder(ViewButton(), CopyButton());
    setTabOrder(CopyButton(), ConfirmBox());
    setTabOrder(ConfirmBox(), CloseButton());

    const QStringList lines{tr("Event Name: ") + FEvent.Name(), tr("Event Code: ") + FEvent.ID_Pretty(),
                            tr("Exam ID: ") + examID,           tr("File: ") + fileInfo,
                            tr("Received: ") + received,        tr("Receipt URL: ") + charge.ReceiptUrl()};
    FinishPrepare(baseName + QStringLiteral(".txt"), lines, charge.ReceiptUrl());
}
