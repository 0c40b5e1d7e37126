// The client endpoints of the service: events, uploads and downloads, fees and coupons.
#pragma once

#include "data/TProductID.h"

#include <httplib.h>

#include <QString>

class TServiceStore;
class TServiceProcessor;
struct TServiceOptions;
class TDO_Event;
class TDO_Event_StudentEntry;
class TDO_Event_Request;
class TDO_Coupon_Transaction;

class TServiceEndpoints {
public:
    TServiceEndpoints(const TServiceOptions &AOptions, TServiceStore &AStore, TServiceProcessor &AProcessor);

    void Event(const httplib::Request &AReq, httplib::Response &ARes);
    void Upload(const httplib::Request &AReq, httplib::Response &ARes);
    void FetchFee(const httplib::Request &AReq, httplib::Response &ARes);
    void Coupon(const httplib::Request &AReq, httplib::Response &ARes);

    // Requests from clients older than the minimum version get 426; true when the request may go on.
    bool ClientVersionAccepted(const QString &AVersion, httplib::Response &ARes) const;

    // What a student may see of an event: their own entry without its password, their own window and due
    // time, no other students, no event password, PIN or payment; the question's bytes only when asked for.
    static void StudentView(const TDO_Event &AEvent, const TDO_Event_StudentEntry *AStudent, bool AWithResources,
                            TDO_Event &AView);

    // Creates the fee configuration file on first start (test processor account, default fees).
    bool EnsurePaymentConfig(QString &AError) const;
    // Writes a practice event open now with a generated question document and three students; returns the
    // lines to print (event code, one student's identifiers), or an empty text with AError.
    QString SeedDemo(QString &AError);

private:
    void CreateEvent(TDO_Event_Request &ARequest, httplib::Response &ARes);
    void UpdateEvent(TDO_Event_Request &ARequest, httplib::Response &ARes);
    // The instructor's password: 401 with the reason when it is missing or wrong.
    static bool InstructorPasswordOK(const QString &APassword, const TDO_Event &AEvent, httplib::Response &ARes);
    void FetchEvent(TDO_Event_Request &ARequest, bool AWithUploads, httplib::Response &ARes);
    void FetchForStudent(TDO_Event_Request &ARequest, bool AWithResources, httplib::Response &ARes);
    // Checks and normalises the event part of a create or update; false with a 400 refusal.
    bool CheckEventContent(TDO_Event &AEvent, httplib::Response &ARes) const;
    // Settles the fee of a create: the card token charged, or the coupon transaction redeemed.
    // AEvent is the event being created (its code assigned); its PaymentCharge is filled on success.
    bool SettlePayment(const TDO_Event_Request &ARequest, TDO_Event &AEvent, httplib::Response &ARes);
    // Uses one redemption of the coupon behind a granted transaction, once; AStored receives the stored
    // transaction as redeemed. False with the refusal's status and reason.
    bool RedeemCouponTransaction(const TDO_Coupon_Transaction &ATransaction, TProductID AProduct,
                                 const QString &AEventCode, const QString &AExamineeID,
                                 TDO_Coupon_Transaction &AStored, int &AStatus, QString &AReason);

    const TServiceOptions &FOptions;
    TServiceStore &FStore;
    TServiceProcessor &FProcessor;
};
