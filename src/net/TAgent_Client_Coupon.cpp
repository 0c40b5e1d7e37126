#include "net/TAgent_Client_Coupon.h"

TAgent_Client_Coupon::TAgent_Client_Coupon(const QString &ABaseURL, const TDO_Coupon_Request &ARequest,
                                           QObject *AParent)
    : TAgent_Client_Base(ABaseURL, AParent), FRequest(std::make_unique<TDO_Coupon_Request>(ARequest)) {}

TAgent_Client_Coupon::~TAgent_Client_Coupon() = default;

bool TAgent_Client_Coupon::Perform(TNetHTTPClient *AClient, const QString &ABaseURL,
                                   const TDO_Coupon_Request &ARequest,
                                   std::unique_ptr<TDO_Coupon_Transaction> &AResponse, int &AStatusCode,
                                   QString &AStatusText) {
    AResponse.reset();
    AStatusCode = 0;
    AStatusText.clear();
    std::unique_ptr<TNetHTTPClient> ownClient;
    if (!AClient) {
        ownClient = NewClient();
        AClient = ownClient.get();
    }
    QByteArray body;
    if (!SaveRequest(ARequest, body)) {
        AStatusCode = asFailed;
        AStatusText = Text_CannotReachServer(tr("the request could not be written"));
        return false;
    }
    const TNetHTTPResponse response = AClient->Post(ABaseURL + QLatin1String("/v1/coupon"), body);
    if (!ApplyResponse(response, AStatusCode, AStatusText) || AStatusCode != 200)
        return false;
    switch (ARequest.Action()) {
    case TDO_Coupon_Request::TAction::raCreateTransaction:
    case TDO_Coupon_Request::TAction::raRedeemTransaction: {
        auto transaction = std::make_unique<TDO_Coupon_Transaction>();
        if (!LoadReply(*transaction, response.Body)) {
            AStatusCode = asUnreadable;
            AStatusText = Text_UnableToRead(Text_NotARecord(transaction->NodeName_OnCreate()));
            return false;
        }
        AResponse = std::move(transaction);
        return true;
    }
    case TDO_Coupon_Request::TAction::raNone:
        break;
    }
    AStatusCode = asNotSupported;
    AStatusText = Text_NotSupported();
    return false;
}

void TAgent_Client_Coupon::Execute() {
    auto client = NewClient();
    std::unique_ptr<TDO_Coupon_Transaction> transaction;
    if (Perform(client.get(), FBaseURL, *FRequest, transaction, FStatusCode, FStatusText))
        FTransaction = std::move(transaction);
}
