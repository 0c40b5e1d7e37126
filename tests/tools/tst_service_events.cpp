// The local service's event, upload and coupon endpoints, driven with the records over loopback HTTPS.
#include "TServiceFixture.h"
#include "TServiceTestHttp.h"
#include "TavixDeployment.h"
#include "data/TDO_Config_Payment.h"
#include "data/TDO_Coupon_Request.h"
#include "data/TDO_Coupon_Transaction.h"
#include "data/TDO_Event.h"
#include "data/TDO_Event_Request.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "data/TDO_UploadedFile.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"
#include "util/TDateTime.h"

#include <QtTest>

namespace {

const QString ClientVersion = QStringLiteral("1.0.0.1");

struct TStudentSeed {
    QString ID;
    QString Password;
};

TDO_Event_Request NewEventRequest(const QList<TStudentSeed> &AStudents, int AKilobyteLimit = 1, int ACountLimit = 2) {
    TDO_Event_Request Request;
    Request.SetAction(TDO_Event_Request::raCreateFromCovid19);
    Request.SetClientVersion(ClientVersion);
    Request.SetName(QStringLiteral("Midterm"));
    Request.SetPassword(QStringLiteral("Instructor-Secret"));
    TDO_Event_Covid19 &Settings = Request.Covid19();
    Settings.SetResourceFilename(QStringLiteral("question.pdf"));
    Settings.SetResourceFileData(QByteArray("%PDF-1.4 question bytes"));
    const TDateTime Now = TClock::NowUTC();
    Settings.SetAvailabilityStartUTC(Now.AddMinutes(-5));
    Settings.SetAvailabilityStopUTC(Now.AddDays(1));
    Settings.SetUploadFileExtenstions({QStringLiteral(".pdf"), QStringLiteral(".DOCX")});
    Settings.SetUploadKilobyteLimit(AKilobyteLimit);
    Settings.SetUploadCountLimit(ACountLimit);
    for (const TStudentSeed &Seed : AStudents) {
        auto Entry = std::make_unique<TDO_Event_StudentEntry>();
        Entry->SetID(Seed.ID);
        Entry->SetPassword(Seed.Password);
        Entry->SetAccomodation_Time_InMinutes(15);
        Request.Students().AddEntry(std::move(Entry));
    }
    return Request;
}

TDO_UploadedFile_Request NewSubmit(const QString &AEventID, const QString &AStudent, const QString &APassword,
                                   const QString &AFilename, const QByteArray &AData) {
    TDO_UploadedFile_Request Request;
    Request.SetAction(TDO_UploadedFile_Request::ufaSubmit);
    Request.SetClientVersion(ClientVersion);
    Request.SetEventID(AEventID);
    Request.SetStudentID(AStudent);
    Request.SetProtectedInfo(QStringLiteral("1234"));
    Request.SetPassword(APassword);
    Request.SetFilename(AFilename);
    Request.SetFileData(AData);
    return Request;
}

} // namespace

class tst_service_events : public QObject {
    Q_OBJECT

private:
    TServiceFixture FService;

    QString URL(const char *APath) const { return FService.BaseURL() + QLatin1String(APath); }

    QString CardToken() {
        const QByteArray Form = "card[number]=4242424242424242&card[exp_month]=12&card[exp_year]=2049&card[cvc]=123";
        const TServiceTestReply Reply =
            ServiceSend(URL("/v1/tokens"), &Form, "application/x-www-form-urlencoded",
                        "Basic " + (QByteArray(TavixDeployment::payment_test_secret_key) + ":").toBase64());
        return Reply.Json().value("id").toString();
    }

    // Creates an event paid by card; the service's reply.
    bool Create(TDO_Event_Request &ARequest, TDO_Event &AEvent) {
        ARequest.SetCardToken(CardToken());
        ARequest.SetReceiptEmail(QStringLiteral("teacher@school.example"));
        const TServiceTestReply Reply = ServicePost(URL("/v1/event"), ARequest);
        if (Reply.Status != 200)
            qWarning() << Reply.Status << Reply.XReason;
        return Reply.Status == 200 && Reply.Read(AEvent);
    }

    TServiceTestReply StudentFetch(const QString &AEventID, const QString &AStudent, const QString &APassword,
                                   bool AWithResources) {
        TDO_Event_Request Request;
        Request.SetAction(AWithResources ? TDO_Event_Request::raFetchForStudent_IncludeResources
                                         : TDO_Event_Request::raFetchForStudent_ExcludeResources);
        Request.SetClientVersion(ClientVersion);
        Request.SetID(AEventID);
        Request.SetStudentID(AStudent);
        Request.SetStudentProtectedInfo(QStringLiteral("1234"));
        Request.SetStudentPassword(APassword);
        return ServicePost(URL("/v1/event"), Request);
    }

private slots:
    void initTestCase() { QVERIFY2(FService.Start(), qPrintable(FService.ErrorText())); }

    void fee() {
        const TServiceTestReply Reply = ServiceGet(URL("/v1/customer/fetch_fee/any-customer"));
        QCOMPARE(Reply.Status, 200);
        TDO_Config_Payment Config;
        QVERIFY(Config.LoadFrom_String(Reply.Body));
        QCOMPARE(Config.Processor(), TzovPaymentProcessor::ppStripeTest);
        QVERIFY(Config.CreateEvent_FeeInCents() > 0);
    }

    void createFetchUpdateSurviveRestart() {
        TDO_Event_Request Request = NewEventRequest({{"s1", "pw1"}});
        TDO_Event Created;
        QVERIFY(Create(Request, Created));
        QCOMPARE(Created.ID().size(), 6);
        QVERIFY(Created.CreatedUTC().IsSet());
        QCOMPARE(Created.AccommPIN().size(), 4);
        QVERIFY(Created.PaymentCharge().ID().startsWith(QLatin1String("ch_")));
        QCOMPARE(Created.PaymentCharge().Amount(), 500);

        QVERIFY2(FService.Restart(), qPrintable(FService.ErrorText()));

        TDO_Event_Request Fetch;
        Fetch.SetAction(TDO_Event_Request::raFetch);
        Fetch.SetClientVersion(ClientVersion);
        Fetch.SetID(Created.ID_Pretty().toLower());
        Fetch.SetPassword(QStringLiteral("Instructor-Secret"));
        TServiceTestReply Reply = ServicePost(URL("/v1/event"), Fetch);
        QCOMPARE(Reply.Status, 200);
        TDO_Event Fetched;
        QVERIFY(Reply.Read(Fetched));
        QCOMPARE(Fetched.ID(), Created.ID());
        QCOMPARE(Fetched.Name(), QStringLiteral("Midterm"));
        QCOMPARE(Fetched.Students().Count(), 1);
        QCOMPARE(Fetched.Students().Entries()[0]->Password(), QStringLiteral("pw1"));

        Fetch.SetPassword(QStringLiteral("instructor-secret"));
        Reply = ServicePost(URL("/v1/event"), Fetch);
        QCOMPARE(Reply.Status, 401);
        QVERIFY(!Reply.XReason.isEmpty());

        // An update authorised by the old password may set a new one.
        TDO_Event_Request Update(Fetched);
        Update.SetAction(TDO_Event_Request::raUpdateFromCovid19);
        Update.SetClientVersion(ClientVersion);
        Update.SetAuthPassword(QStringLiteral("Instructor-Secret"));
        Update.SetPassword(QStringLiteral("New-Secret"));
        Update.SetName(QStringLiteral("Midterm (revised)"));
        Reply = ServicePost(URL("/v1/event"), Update);
        QCOMPARE(Reply.Status, 200);
        Update.SetAuthPassword(QStringLiteral("Instructor-Secret"));
        QCOMPARE(ServicePost(URL("/v1/event"), Update).Status, 401);
        Fetch.SetPassword(QStringLiteral("New-Secret"));
        Reply = ServicePost(URL("/v1/event"), Fetch);
        QCOMPARE(Reply.Status, 200);
        QVERIFY(Reply.Read(Fetched));
        QCOMPARE(Fetched.Name(), QStringLiteral("Midterm (revised)"));
        QCOMPARE(Fetched.PaymentCharge().ID(), Created.PaymentCharge().ID());
        QCOMPARE(Fetched.CreatedUTC(), Created.CreatedUTC());
    }

    void refusedRequests_data() {
        QTest::addColumn<QByteArray>("Body");
        QTest::addColumn<int>("Status");
        TDO_Event_Request Old = NewEventRequest({});
        Old.SetClientVersion(QStringLiteral("0.9.0.0"));
        QBuffer OldBody;
        OldBody.open(QIODevice::WriteOnly);
        Old.SaveTo_Stream(&OldBody, TzovCryptoTool::NetworkStartCode());
        TDO_Event_Request Unpaid = NewEventRequest({});
        QBuffer UnpaidBody;
        UnpaidBody.open(QIODevice::WriteOnly);
        Unpaid.SaveTo_Stream(&UnpaidBody, TzovCryptoTool::NetworkStartCode());
        QTest::newRow("empty body") << QByteArray() << 400;
        QTest::newRow("not encrypted") << QByteArray("<Tavix><event_request/></Tavix>") << 400;
        QTest::newRow("random bytes") << QByteArray(4096, '\x5a') << 400;
        QTest::newRow("outdated client") << OldBody.data() << 426;
        QTest::newRow("no payment") << UnpaidBody.data() << 402;
    }
    void refusedRequests() {
        QFETCH(QByteArray, Body);
        QFETCH(int, Status);
        const TServiceTestReply Reply = ServiceSend(URL("/v1/event"), &Body);
        QCOMPARE(Reply.Status, Status);
        QVERIFY(!Reply.XReason.isEmpty());
        QVERIFY(!Reply.Reason.isEmpty());
    }

    void studentSeesOnlyTheirOwn() {
        TDO_Event_Request Request = NewEventRequest({{"alice", "apple"}, {"bob", "banana"}});
        TDO_Event Created;
        QVERIFY(Create(Request, Created));

        QCOMPARE(StudentFetch(Created.ID(), "alice", "", false).Status, 401);
        QCOMPARE(StudentFetch(Created.ID(), "alice", "banana", false).Status, 401);
        QCOMPARE(StudentFetch(Created.ID(), "mallory", "", false).Status, 403);

        TServiceTestReply Reply = StudentFetch(Created.ID(), "ALICE", "APPLE", false);
        QCOMPARE(Reply.Status, 200);
        TDO_Event Seen;
        QVERIFY(Reply.Read(Seen));
        const QByteArray Plain = Seen.DocumentBytes();
        for (const QByteArray &Secret : {QByteArray("bob"), QByteArray("banana"), QByteArray("apple"),
                                         QByteArray("Instructor-Secret"), Created.PaymentCharge().ID().toUtf8()})
            QVERIFY2(!Plain.contains(Secret), Secret.constData());
        QVERIFY(Seen.Password().isEmpty());
        QVERIFY(Seen.AccommPIN().isEmpty());
        QCOMPARE(Seen.Students().Count(), 1);
        QCOMPARE(Seen.Students().Entries()[0]->ID(), QStringLiteral("alice"));
        QVERIFY(Seen.Covid19().ResourceFileData().isEmpty());
        QCOMPARE(Seen.Covid19().ResourceFilename(), QStringLiteral("question.pdf"));
        QVERIFY(!Seen.Students().Entries()[0]->IsStarted());

        // The first fetch with the question stamps the check-out; later ones keep it.
        Reply = StudentFetch(Created.ID(), "alice", "apple", true);
        QCOMPARE(Reply.Status, 200);
        QVERIFY(Reply.Read(Seen));
        QCOMPARE(Seen.Covid19().ResourceFileData(), QByteArray("%PDF-1.4 question bytes"));
        const TDateTime CheckedOut = Seen.Students().Entries()[0]->CheckedOutUTC();
        QVERIFY(CheckedOut.IsSet());
        QCOMPARE(Seen.Covid19().SubmissionDeadlineUTC(), Created.Covid19().AvailabilityStopUTC());
        QTest::qWait(20);
        QVERIFY(StudentFetch(Created.ID(), "alice", "apple", true).Read(Seen));
        QCOMPARE(Seen.Students().Entries()[0]->CheckedOutUTC(), CheckedOut);
    }

    void uploadsAndDownloads() {
        TDO_Event_Request Request = NewEventRequest({{"alice", "apple"}, {"bob", ""}}, 1, 2);
        TDO_Event Created;
        QVERIFY(Create(Request, Created));
        const QString Code = Created.ID();

        struct TCase {
            const char *Name;
            TDO_UploadedFile_Request Body;
            int Status;
        } Refused[] = {
            {"wrong password", NewSubmit(Code, "alice", "pear", "a.pdf", "x"), 401},
            {"not on the list", NewSubmit(Code, "carol", "", "a.pdf", "x"), 403},
            {"extension not accepted", NewSubmit(Code, "bob", "", "answer.exe", "x"), 415},
            {"over the size limit", NewSubmit(Code, "bob", "", "answer.pdf", QByteArray(1025, 'x')), 413},
            {"empty file", NewSubmit(Code, "bob", "", "answer.pdf", QByteArray()), 400},
            {"unknown event", NewSubmit("ZZZ999", "bob", "", "answer.pdf", "x"), 404},
        };
        for (const TCase &Case : Refused) {
            const TServiceTestReply Reply = ServicePost(URL("/v1/event/upload"), Case.Body);
            QVERIFY2(Reply.Status == Case.Status, Case.Name);
            QVERIFY2(!Reply.XReason.isEmpty(), Case.Name);
        }

        // Copies are numbered; the count limit is enforced; the extension matches without regard to case.
        TDO_UploadedFile First, Second;
        QVERIFY(ServicePost(URL("/v1/event/upload"), NewSubmit(Code, "alice", "apple", "C:\\x\\one.PDF", QByteArray(1024, 'a')))
                    .Read(First));
        QCOMPARE(First.CopyNumber(), 1);
        QCOMPARE(First.Filename(), QStringLiteral("one.PDF"));
        QCOMPARE(First.SubmitDueUTC(), Created.Covid19().AvailabilityStopUTC());
        QVERIFY(First.CreatedUTC().IsSet());
        QVERIFY(ServicePost(URL("/v1/event/upload"), NewSubmit(Code, "alice", "apple", "two.docx", "bb")).Read(Second));
        QCOMPARE(Second.CopyNumber(), 2);
        const TServiceTestReply Third =
            ServicePost(URL("/v1/event/upload"), NewSubmit(Code, "alice", "apple", "three.pdf", "c"));
        QCOMPARE(Third.Status, 409);

        // The instructor's list, then one download with the event password.
        TDO_Event_Request List;
        List.SetAction(TDO_Event_Request::raFetchWithUploadedList);
        List.SetClientVersion(ClientVersion);
        List.SetID(Code);
        List.SetPassword(QStringLiteral("Instructor-Secret"));
        TDO_Event_WithUploadedList Listed;
        QVERIFY(ServicePost(URL("/v1/event"), List).Read(Listed));
        QCOMPARE(int(Listed.Uploads().size()), 2);
        QCOMPARE(int(Listed.Students_WhoHaveUploaded().size()), 1);
        QCOMPARE(int(Listed.Students_WithoutAnUpload().size()), 1);
        QVERIFY(Listed.Uploads()[0]->FileData().isEmpty());

        TDO_UploadedFile_Request Download(*Listed.Uploads()[0]);
        Download.SetAction(TDO_UploadedFile_Request::ufaDownload);
        Download.SetClientVersion(ClientVersion);
        Download.SetPassword(QStringLiteral("Instructor-Secret"));
        TDO_UploadedFile Got;
        QVERIFY(ServicePost(URL("/v1/event/upload"), Download).Read(Got));
        QCOMPARE(Got.FileData(), QByteArray(1024, 'a'));
        Download.SetPassword(QStringLiteral("apple"));
        QCOMPARE(ServicePost(URL("/v1/event/upload"), Download).Status, 401);
    }

    void couponPaysOnce() {
        QVERIFY(FService.SeedCoupon(QStringLiteral("ONCE00000001"), 1, TProductID::pidCreateEvent, TDateTime()));
        TDO_Coupon_Request Ask;
        Ask.SetAction(TDO_Coupon_Request::TAction::raCreateTransaction);
        Ask.CouponCode().SetCode(QStringLiteral("once 0000 0001"));
        Ask.Redeemer().SetInstitutionName(QStringLiteral("North College"));
        Ask.Redeemer().SetInstitutionKind(TDO_Coupon_Redeemer::TInstitutionKind::ikTertiary);
        Ask.Redeemer().SetState(QStringLiteral("OR"));
        Ask.Redeemer().SetZip(QStringLiteral("97201"));
        Ask.Redeemer().SetCountry(QStringLiteral("United States"));
        TDO_Coupon_Transaction Granted;
        TServiceTestReply Reply = ServicePost(URL("/v1/coupon"), Ask);
        QCOMPARE(Reply.Status, 200);
        QVERIFY(Reply.Read(Granted));
        QVERIFY(Granted.IsValid());

        TDO_Event_Request Request = NewEventRequest({});
        Request.CouponTransaction() = Granted;
        Reply = ServicePost(URL("/v1/event"), Request);
        QCOMPARE(Reply.Status, 200);
        TDO_Event Created;
        QVERIFY(Reply.Read(Created));
        QVERIFY(Created.PaymentCharge().ID().contains(Granted.Token()));
        // The same transaction again, and a new one for the used-up code, are refused.
        QCOMPARE(ServicePost(URL("/v1/event"), Request).Status, 402);
        QCOMPARE(ServicePost(URL("/v1/coupon"), Ask).Status, 410);
        Ask.CouponCode().SetCode(QStringLiteral("NOPE00000001"));
        QCOMPARE(ServicePost(URL("/v1/coupon"), Ask).Status, 404);
    }
};

QTEST_GUILESS_MAIN(tst_service_events)
#include "tst_service_events.moc"
