#include "ui/TdlgPaymentReceipt_EventCreate.h"

#include "data/TDO_ClientConfig.h"
#include "data/TDO_Coupon_HtmlTool.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QCheckBox>
#include <QPushButton>

TdlgPaymentReceipt_EventCreate::TdlgPaymentReceipt_EventCreate(QWidget *AParent)
    : TdlgPaymentReceipt_Base(AParent) {
    setObjectName(QStringLiteral("dlgPaymentReceipt_EventCreate"));
    SetTexts(
        {tr("EVENT CREATED"),
         {tr("IMPORTANT > Save Event Code and password!"), tr("These are on your receipt, so save that too."),
          tr("If you forget them, they can't be recovered.")},
         tr("Copy to clipboard"),
         tr("Confirm you have saved the Event Code and password.")});
}

void TdlgPaymentReceipt_EventCreate::Execute(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent) {
    Prepare(AClientConfig, AEvent);
    exec();
}

void TdlgPaymentReceipt_EventCreate::Prepare(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent) {
    if (FPrepared)
        return;
    FPrepared = true;
    ApplyBranding(AClientConfig);
    FEvent.Duplicate(AEvent);
    TzovPayment_Data_ChargeSuccessful &charge = FEvent.PaymentCharge();

    const QString created = TimeText(FEvent.CreatedUTC());
    const QString baseName = ReceiptFolder(SubFolder()) + SafeFileNamePart(FEvent.ID());
    if (charge.ReceiptUrl().isEmpty()) {
        const QStringList html = TDO_Coupon_HtmlTool().ReceiptFor_CreateEvent(
            charge.ID(), created, FEvent.Name(), FEvent.ID_Pretty(), FEvent.Password(), FEvent.AccommPIN());
        charge.SetReceiptUrl(
            MakeHtmlReceipt(QString(), baseName + QStringLiteral("-Receipt.htm"), html.value(0)));
    }

    AddField(QStringLiteral("lblEventName"), tr("Event Name"), FEvent.Name(), false);
    QWidget *code = AddField(QStringLiteral("edtEventCode"), tr("Event Code"), FEvent.ID_Pretty(), true);
    QWidget *password = AddField(QStringLiteral("edtPassword"), tr("Password"), FEvent.Password(), true);
    QWidget *pin = AddField(QStringLiteral("edtAccommPIN"), tr("Accomm. PIN"), FEvent.AccommPIN(), true);
    setTabOrder(code, pin);
    setTabOrder(pin, password);
    setTabOrder(password, ViewButton());
    setTabOrder(ViewButton(), CopyButton());
    setTabOrder(CopyButton(), ConfirmBox());
    setTabOrder(ConfirmBox(), CloseButton());

    const QStringList lines{tr("Event Name: ") + FEvent.Name(), tr("Event Code: ") + FEvent.ID_Pretty(),
                            tr("Password: ") + FEvent.Password(),
                            tr("Accommodation PIN: ") + FEvent.AccommPIN(),
                            tr("Receipt URL: ") + charge.ReceiptUrl()};
    FinishPrepare(baseName + QStringLiteral(".txt"), lines, charge.ReceiptUrl());
}
