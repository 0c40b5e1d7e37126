// The HTML receipt for a coupon payment: a fixed template filled with the transaction's details.
#pragma once

#include "data/TProductID.h"

#include <QHash>
#include <QString>
#include <QStringList>

class TDO_Coupon_HtmlTool {
public:
    // Builds the event and upload templates once (evaluation mode off).
    TDO_Coupon_HtmlTool();

    // Each returns the finished document as the single item of the list. Every value is inserted as
    // HTML text; the first ";" of the transaction identification becomes a line break.
    QStringList ReceiptFor_CreateEvent(const QString &ATransToken, const QString &ACreatedUTC,
                                       const QString &AEventName, const QString &AEventCode,
                                       const QString &APassword, const QString &AAccommPIN) const;
    QStringList ReceiptFor_UploadFile(const QString &ATransToken, const QString &ACreatedUTC,
                                      const QString &AEventName, const QString &AEventCode,
                                      const QString &AExamineeID, const QString &AFileInfo,
                                      const QString &AUploaded) const;

    // The template text, every line ended by CR LF, with its {{...}} placeholders.
    static QString Template(TProductID AProductID, bool AEvalMode);

    const QString &Template_CreateEvent() const { return FTemplate_CreateEvent; }
    const QString &Template_UploadFile() const { return FTemplate_UploadFile; }

private:
    // One pass over the template: a value that itself looks like a placeholder is never expanded again.
    static QString Fill(const QString &ATemplate, const QHash<QString, QString> &AValues);
    static QString TransactionHtml(const QString &ATransToken);

    QString FTemplate_CreateEvent;
    QString FTemplate_UploadFile;
};
