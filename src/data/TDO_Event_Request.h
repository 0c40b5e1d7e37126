// Body sent to the event endpoint: create, update or fetch an event.
#pragma once

#include "data/TDO_Event.h"

class TDO_Coupon_Transaction;

class TDO_Event_Request : public TDO_Event {
public:
    enum TAction {
        raNone,
        raCreateFromCovid19,
        raUpdateFromCovid19,
        raFetch,
        raFetchForStudent_ExcludeResources,
        raFetchForStudent_IncludeResources,
        raFetchWithUploadedList
    };

    TDO_Event_Request();
    TDO_Event_Request(const TDO_Event_Request &AObj) : TDO_Event_Request() { Duplicate(AObj); }
    // Built from an existing event: the event part is copied, the request fields start empty.
    explicit TDO_Event_Request(const TDOX_Base &AObj) : TDO_Event_Request() { Duplicate(AObj); }
    TDO_Event_Request &operator=(const TDO_Event_Request &AObj) {
        Duplicate(AObj);
        return *this;
    }
    ~TDO_Event_Request() override;

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TAction Action() const { return FAction; }
    void SetAction(TAction AValue) { FAction = AValue; }
    const QString &CustomerID() const { return FCustomerID; }
    void SetCustomerID(const QString &AValue) { FCustomerID = TrimText(AValue); }
    const QString &ClientVersion() const { return FClientVersion; }
    void SetClientVersion(const QString &AValue) { FClientVersion = TrimText(AValue); }
    const QString &CardToken() const { return FCardToken; }
    void SetCardToken(const QString &AValue) { FCardToken = TrimText(AValue); }
    const QString &ReceiptEmail() const { return FReceiptEmail; }
    void SetReceiptEmail(const QString &AValue) { FReceiptEmail = TrimText(AValue); }
    TDO_Coupon_Transaction &CouponTransaction() { return *FCouponTransaction; }
    const TDO_Coupon_Transaction &CouponTransaction() const { return *FCouponTransaction; }
    const QString &StudentID() const { return FStudentID; }
    void SetStudentID(const QString &AValue) { FStudentID = TrimText(AValue); }
    const QString &StudentPassword() const { return FStudentPassword; }
    void SetStudentPassword(const QString &AValue) { FStudentPassword = TrimText(AValue); }
    const QString &StudentProtectedInfo() const { return FStudentProtectedInfo; }
    void SetStudentProtectedInfo(const QString &AValue) { FStudentProtectedInfo = TrimText(AValue); }
    const QString &AuthPassword() const { return FAuthPassword; }
    void SetAuthPassword(const QString &AValue) { FAuthPassword = TrimText(AValue); }

    // Whether the request carries what its action needs; the record itself never refuses one.
    bool IsValid() const;

    static QString Action_ToString(TAction AAction);
    static TAction Action_FromString(const QString &AAction);

private:
    TAction FAction = raNone;
    QString FCustomerID;
    QString FClientVersion;
    QString FCardToken;
    QString FReceiptEmail;
    std::unique_ptr<TDO_Coupon_Transaction> FCouponTransaction;
    QString FStudentID;
    QString FStudentPassword;
    QString FStudentProtectedInfo;
    QString FAuthPassword;
};
