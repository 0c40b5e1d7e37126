// The fee configuration and the coupon store: transactions granted from coupon entries and redeemed once.
#include "TServiceEndpoints.h"

#include "TServiceHttp.h"
#include "TServiceStore.h"
#include "data/TDO_Config_Payment.h"
#include "data/TDO_Coupon_Entry.h"
#include "data/TDO_Coupon_Request.h"
#include "data/TDO_Coupon_Transaction.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char *AText) { return QCoreApplication::translate("TServiceCoupons", AText); }

// Transaction tokens are braced GUIDs; keep only what a file name may hold.
QString TransactionFileName(const QString &AToken) {
    QString Name;
    for (const QChar C : AToken)
        if (C.isLetterOrNumber() || C == QLatin1Char('-'))
            Name += C;
    return Name.isEmpty() ? QString() : Name + QStringLiteral(".xml");
}

bool ProductFits(TProductID AGranted, TProductID AWanted) {
    return AGranted == TProductID::pidAny || AWanted == TProductID::pidAny || AGranted == AWanted;
}

// Transactions granted but not used within a day must be asked for again.
constexpr int TransactionLifetimeMinutes = 24 * 60;

} // namespace

bool TServiceEndpoints::EnsurePaymentConfig(QString &AError) const {
    if (QFileInfo::exists(FStore.PaymentConfigPath()))
        return true;
    TDO_Config_Payment Config;
    // This service charges through its own test endpoints, so clients tokenise with the test account.
    Config.SetProcessor(TzovPaymentProcessor::ppStripeTest);
    if (!Config.SaveTo_File(FStore.PaymentConfigPath())) {
        AError = Tr("Cannot write the fee configuration %1.").arg(FStore.PaymentConfigPath());
        return false;
    }
    return true;
}

void TServiceEndpoints::FetchFee(const httplib::Request &, httplib::Response &ARes) {
    TDO_Config_Payment Config;
    if (!Config.LoadFrom_File(FStore.PaymentConfigPath()))
        return TServiceHttp::Refuse(ARes, 500, Tr("The fee configuration could not be read"));
    TServiceHttp::SendBytes(ARes, Config.SaveTo_String(), "text/xml; charset=utf-8");
}

bool TServiceEndpoints::RedeemCouponTransaction(const TDO_Coupon_Transaction &ATransaction, TProductID AProduct,
                                                const QString &AEventCode, const QString &AExamineeID,
                                                TDO_Coupon_Transaction &AStored, int &AStatus, QString &AReason) {
    auto Refuse = [&](const QString &AText) {
        AStatus = 402;
        AReason = AText;
        return false;
    };
    std::lock_guard<std::mutex> Guard(FStore.CouponLock());
    const QString Name = TransactionFileName(ATransaction.Token());
    const QString Path = FStore.TransactionsFolder() + Name;
    if (Name.isEmpty() || !AStored.LoadFrom_File(Path, TServiceStore::StartCode()) ||
        AStored.Token() != ATransaction.Token())
        return Refuse(Tr("The coupon transaction is not known"));
    if (TDO_CouponCode::NormalizeCode(AStored.CouponCode().Code()) !=
        TDO_CouponCode::NormalizeCode(ATransaction.CouponCode().Code()))
        return Refuse(Tr("The coupon transaction does not belong to this coupon code"));
    if (!AStored.RedeemedNotes().isEmpty())
        return Refuse(Tr("The coupon transaction has already been used"));
    if (AStored.IsExpired(TransactionLifetimeMinutes))
        return Refuse(Tr("The coupon transaction has expired; redeem the coupon code again"));
    if (!ProductFits(AStored.RedeemedFor(), AProduct))
        return Refuse(Tr("The coupon code is not for this product"));

    TDO_Coupon_Entry Entry;
    const QString EntryPath = FStore.CouponsFolder() + AStored.CouponCode().RecommendedStorageFilename();
    if (!Entry.LoadFrom_File(EntryPath, TServiceStore::StartCode()) ||
        Entry.CouponCode().Code() != AStored.CouponCode().Code())
        return Refuse(Tr("The coupon code is not known"));
    if (Entry.IsExpired())
        return Refuse(Tr("The coupon code has expired"));
    if (Entry.UsesRemaining() <= 0)
        return Refuse(Tr("The coupon code has no uses left"));

    Entry.SetUsesRemaining(Entry.UsesRemaining() - 1);
    AStored.SetEventCode(AEventCode);
    AStored.SetExamineeID(AExamineeID);
    AStored.SetRedeemedNotes(QStringLiteral("Redeemed %1")
                                 .arg(TClock::NowUTC().ToQDateTimeUTC().toString(Qt::ISODateWithMs)));
    if (!Entry.SaveTo_File(EntryPath, TServiceStore::StartCode()) ||
        !AStored.SaveTo_File(Path, TServiceStore::StartCode())) {
        AStatus = 500;
        AReason = Tr("The coupon redemption could not be stored");
        return false;
    }
    return true;
}

void TServiceEndpoints::Coupon(const httplib::Request &AReq, httplib::Response &ARes) {
    TDO_Coupon_Request Request;
    if (AReq.body.empty())
        return TServiceHttp::Refuse(ARes, 400, Tr("Request body is empty"));
    {
        QByteArray Bytes = QByteArray::fromRawData(AReq.body.data(), qsizetype(AReq.body.size()));
        QBuffer Buffer(&Bytes);
        Buffer.open(QIODevice::ReadOnly);
        if (!Request.LoadFrom_Stream(&Buffer, TServiceStore::StartCode()))
            return TServiceHttp::Refuse(ARes, 400, Tr("Request body is not a readable coupon request"));
    }
    auto Reply = [&](const TDO_Coupon_Transaction &ATransaction) {
        QBuffer Out;
        Out.open(QIODevice::WriteOnly);
        if (!ATransaction.SaveTo_Stream(&Out, TServiceStore::StartCode()))
            return TServiceHttp::Refuse(ARes, 500, Tr("The reply could not be written"));
        TServiceHttp::SendBytes(ARes, Out.data());
    };

    if (Request.Action() == TDO_Coupon_Request::TAction::raRedeemTransaction) {
        TDO_Coupon_Transaction Stored;
        int Status = 0;
        QString Reason;
        if (!Request.IsValid())
            return TServiceHttp::Refuse(ARes, 400, Request.InvalidReason());
        if (!RedeemCouponTransaction(Request.Transaction(), TProductID::pidAny, Request.Transaction().EventCode(),
                                     Request.Transaction().ExamineeID(), Stored, Status, Reason))
            return TServiceHttp::Refuse(ARes, Status, Reason);
        return Reply(Stored);
    }
    if (Request.Action() != TDO_Coupon_Request::TAction::raCreateTransaction)
        return TServiceHttp::Refuse(ARes, 400, Tr("Unknown or missing action"));
    if (!Request.IsValid())
        return TServiceHttp::Refuse(ARes, 400, Request.InvalidReason());

    std::lock_guard<std::mutex> Guard(FStore.CouponLock());
    const QString Code = TDO_CouponCode::NormalizeCode(Request.CouponCode().Code());
    TDO_Coupon_Entry Entry;
    if (!Entry.LoadFrom_File(FStore.CouponsFolder() + Request.CouponCode().RecommendedStorageFilename(),
                             TServiceStore::StartCode()) ||
        Entry.CouponCode().Code() != Code)
        return TServiceHttp::Refuse(ARes, 404, Tr("The coupon code is not known"));
    if (Entry.IsExpired())
        return TServiceHttp::Refuse(ARes, 410, Tr("The coupon code has expired"));
    if (Entry.UsesRemaining() <= 0)
        return TServiceHttp::Refuse(ARes, 410, Tr("The coupon code has no uses left"));
    if (Entry.ProductID() == TProductID::pidNone)
        return TServiceHttp::Refuse(ARes, 403, Tr("The coupon code is not for any product"));

    TDO_Coupon_Transaction Transaction(Code, Entry.ProductID());
    Transaction.SetCreatedUTC(TClock::NowUTC());
    Transaction.Redeemer() = Request.Redeemer();
    const QString Name = TransactionFileName(Transaction.Token());
    if (Name.isEmpty() || !Transaction.SaveTo_File(FStore.TransactionsFolder() + Name, TServiceStore::StartCode()))
        return TServiceHttp::Refuse(ARes, 500, Tr("The coupon transaction could not be stored"));
    Reply(Transaction);
}
