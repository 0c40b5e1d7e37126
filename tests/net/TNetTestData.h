// Events, coupons and uploads made through the agents on a running local service, for the network tests.
#pragma once

#include "TAgentTestTool.h"

#include "TServiceFixture.h"
#include "data/TDO_Coupon_Request.h"
#include "data/TProductID.h"
#include "net/TAgent_Client_Coupon.h"
#include "net/TAgent_Client_Event.h"
#include "net/TAgent_Client_Upload.h"
#include "util/TDateTime.h"
#include "util/TzovUtil_ApplicationVersion.h"

namespace TNetTestData {

inline const QString InstructorPassword = QStringLiteral("instructor-pw");

// An event with two students, "s1" with the password "apple" and "s2" without one, answers as .pdf or .txt.
inline TDO_Event_Request MakeEventRequest(const QString &AName, int AKilobyteLimit = 64, int ACountLimit = 3) {
    TDO_Event_Request request;
    request.SetAction(TDO_Event_Request::raCreateFromCovid19);
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetName(AName);
    request.SetPassword(InstructorPassword);
    TDO_Event_Covid19 &settings = request.Covid19();
    settings.SetResourceFilename(QStringLiteral("question.pdf"));
    settings.SetResourceFileData(QByteArray("%PDF-1.4 question"));
    const TDateTime now = TClock::NowUTC();
    settings.SetAvailabilityStartUTC(now.AddMinutes(-10));
    settings.SetAvailabilityStopUTC(now.AddDays(7));
    settings.SetUploadFileExtenstions({QStringLiteral(".pdf"), QStringLiteral(".txt")});
    settings.SetUploadKilobyteLimit(AKilobyteLimit);
    settings.SetUploadCountLimit(ACountLimit);
    for (const auto &[id, password] : {std::pair{"s1", "apple"}, std::pair{"s2", ""}}) {
        auto entry = std::make_unique<TDO_Event_StudentEntry>();
        entry->SetID(QString::fromLatin1(id));
        entry->SetPassword(QString::fromLatin1(password));
        request.Students().AddEntry(std::move(entry));
    }
    return request;
}

inline TDO_Coupon_Request MakeCouponRequest(const QString &ACode) {
    TDO_Coupon_Request request;
    request.SetAction(TDO_Coupon_Request::TAction::raCreateTransaction);
    request.CouponCode().SetCode(ACode);
    request.Redeemer().SetInstitutionName(QStringLiteral("Test College"));
    request.Redeemer().SetInstitutionKind(TDO_Coupon_Redeemer::TInstitutionKind::ikTertiary);
    request.Redeemer().SetState(QStringLiteral("NY"));
    request.Redeemer().SetZip(QStringLiteral("10001"));
    request.Redeemer().SetCountry(QStringLiteral("US"));
    return request;
}

// Seeds a coupon, takes a transaction for it and creates the event paid with it. Empty ID on failure.
inline std::unique_ptr<TDO_Event> CreateEvent(TServiceFixture &AService, TDO_Event_Request ARequest,
                                              QString *AError = nullptr) {
    static int couponNumber = 0;
    const QString code = QStringLiteral("NETTEST%1").arg(++couponNumber, 5, 10, QLatin1Char('0'));
    AService.SeedCoupon(code, 1, TProductID::pidCreateEvent, TClock::NowUTC().AddDays(30));
    std::unique_ptr<TDO_Coupon_Transaction> transaction;
    int status = 0;
    QString text;
    if (!TAgent_Client_Coupon::Perform(nullptr, AService.BaseURL(), MakeCouponRequest(code), transaction, status,
                                       text)) {
        if (AError)
            *AError = QStringLiteral("coupon: %1 %2").arg(status).arg(text);
        return {};
    }
    ARequest.CouponTransaction() = *transaction;
    std::unique_ptr<TDO_Event> event;
    auto outcome = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(AService.BaseURL(), ARequest),
                                                 [&](TAgent_Client_Event *A) {
                                                     if (A->Event())
                                                         event = std::make_unique<TDO_Event>(*A->Event());
                                                 });
    if (!outcome.Success && AError)
        *AError = QStringLiteral("event: %1 %2").arg(outcome.StatusCode).arg(outcome.StatusText);
    return outcome.Success ? std::move(event) : nullptr;
}

inline TDO_UploadedFile_Request MakeUploadRequest(const TDO_Event &AEvent, const QString &AStudentID,
                                                  const QString &APassword, const QString &AFilename,
                                                  const QByteArray &AData) {
    TDO_UploadedFile_Request request;
    request.SetAction(TDO_UploadedFile_Request::ufaSubmit);
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetEventID(AEvent.ID());
    request.SetStudentID(AStudentID);
    request.SetPassword(APassword);
    request.SetProtectedInfo(QStringLiteral("4242"));
    request.SetFilename(AFilename);
    request.SetFileData(AData);
    return request;
}

} // namespace TNetTestData
