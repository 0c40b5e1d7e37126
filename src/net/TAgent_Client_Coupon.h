// Agent creating or redeeming a coupon transaction at the coupon server.
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TDO_Coupon_Request.h"
#include "data/TDO_Coupon_Transaction.h"

// This agent never sets Success: the outcome is whether Transaction() is set.
class TAgent_Client_Coupon : public TAgent_Client_Base {
    Q_OBJECT

public:
    TAgent_Client_Coupon(const QString &ABaseURL, const TDO_Coupon_Request &ARequest, QObject *AParent = nullptr);
    ~TAgent_Client_Coupon() override;

    const TDO_Coupon_Request &Request() const { return *FRequest; }
    // Null unless the server granted a transaction; owned by the agent.
    const TDO_Coupon_Transaction *Transaction() const { return FTransaction.get(); }

    // The exchange itself, synchronous, for a worker thread. AClient may be null (one is made for the call).
    // True with AResponse set when a transaction came back; otherwise the status says why (1-4 or HTTP).
    static bool Perform(TNetHTTPClient *AClient, const QString &ABaseURL, const TDO_Coupon_Request &ARequest,
                        std::unique_ptr<TDO_Coupon_Transaction> &AResponse, int &AStatusCode,
                        QString &AStatusText);

protected:
    void Execute() override;

private:
    std::unique_ptr<TDO_Coupon_Request> FRequest;
    std::unique_ptr<TDO_Coupon_Transaction> FTransaction;
};
