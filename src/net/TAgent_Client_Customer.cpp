#include "net/TAgent_Client_Customer.h"

TAgent_Client_Customer::TAgent_Client_Customer(const QString &ABaseURL, const QString &ACustomerID,
                                               QObject *AParent)
    : TAgent_Client_Base(ABaseURL, AParent), FCustomerID(ACustomerID) {}

TAgent_Client_Customer::~TAgent_Client_Customer() = default;

void TAgent_Client_Customer::Execute() {
    auto client = NewClient();
    const TNetHTTPResponse response = client->Get(FBaseURL + QLatin1String("/v1/customer/fetch_fee/") + FCustomerID);
    if (!ApplyResponse(response) || !AcceptReply())
        return;
    auto payment = std::make_unique<TDO_Config_Payment>();
    // A reply that is not a fee configuration must not pass for one with default fees.
    if (!LoadPlainReply(*payment, response.Body)) {
        SetStatus(asUnreadable, Text_UnableToRead());
        return;
    }
    FPayment = std::move(payment);
    FSuccess = true;
}
