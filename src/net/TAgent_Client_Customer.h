// Agent fetching the fee configuration for a customer (plain XML reply).
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TDO_Config_Payment.h"

class TAgent_Client_Customer : public TAgent_Client_Base {
    Q_OBJECT
    Q_PROPERTY(QString CustomerID READ CustomerID CONSTANT)

public:
    TAgent_Client_Customer(const QString &ABaseURL, const QString &ACustomerID, QObject *AParent = nullptr);
    ~TAgent_Client_Customer() override;

    QString CustomerID() const { return FCustomerID; }
    // Null until a reply has been read; owned by the agent, duplicate it in the completion handler.
    const TDO_Config_Payment *Payment() const { return FPayment.get(); }

protected:
    void Execute() override;

private:
    QString FCustomerID;
    std::unique_ptr<TDO_Config_Payment> FPayment;
};
