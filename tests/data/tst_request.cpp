// Event requests: action texts, what each action needs to be valid, and the round trip with its coupon.
#include "crypto/TzovCryptoTool.h"
#include "data/TDO_Coupon_Transaction.h"
#include "data/TDO_Event_Request.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QBuffer>
#include <QTest>

namespace {

TDateTime At(int AHour) {
    return TDateTime::Encode(2021, 3, 5, AHour);
}

// A request that satisfies every rule; each table row then breaks one thing.
void FillComplete(TDO_Event_Request &R) {
    R.SetClientVersion(QStringLiteral("1.0.0.1"));
    R.SetID(QStringLiteral("abc123"));
    R.SetName(QStringLiteral("Exam"));
    R.SetPassword(QStringLiteral("event-pw"));
    R.SetAuthPassword(QStringLiteral("old-pw"));
    R.SetCardToken(QStringLiteral("tok_1"));
    R.SetReceiptEmail(QStringLiteral("a@b.c"));
    TDO_Event_Covid19 &c = R.Covid19();
    c.SetResourceFilename(QStringLiteral("q.pdf"));
    c.SetResourceFileData("pdf");
    c.SetAvailabilityStartUTC(At(10));
    c.SetAvailabilityStopUTC(At(12));
    c.SetUploadFileExtenstions({QStringLiteral(".pdf")});
}

} // namespace

class TestRequest : public QObject {
    Q_OBJECT

private slots:
    void actionTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("action");
        QTest::newRow("create") << "Create from Covid19" << int(TDO_Event_Request::raCreateFromCovid19);
        QTest::newRow("update any case")
            << "update FROM covid19" << int(TDO_Event_Request::raUpdateFromCovid19);
        QTest::newRow("fetch") << "Fetch" << int(TDO_Event_Request::raFetch);
        QTest::newRow("fetch blank after") << "Fetch " << int(TDO_Event_Request::raNone);
        QTest::newRow("exclude") << "Fetch for Examinee (exclude resources)"
                                 << int(TDO_Event_Request::raFetchForStudent_ExcludeResources);
        QTest::newRow("include") << "fetch for examinee (include resources)"
                                 << int(TDO_Event_Request::raFetchForStudent_IncludeResources);
        QTest::newRow("uploaded list")
            << "Fetch with uploaded list" << int(TDO_Event_Request::raFetchWithUploadedList);
        QTest::newRow("empty") << "" << int(TDO_Event_Request::raNone);
    }
    void actionTexts() {
        QFETCH(QString, text);
        QFETCH(int, action);
        QCOMPARE(int(TDO_Event_Request::Action_FromString(text)), action);
        const auto a = TDO_Event_Request::TAction(action);
        QCOMPARE(TDO_Event_Request::Action_FromString(TDO_Event_Request::Action_ToString(a)), a);
    }

    void validity_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("valid");
        using R = TDO_Event_Request;
        QTest::newRow("none never") << int(R::raNone) << "" << false;
        QTest::newRow("create by card") << int(R::raCreateFromCovid19) << "" << true;
        QTest::newRow("create, token without e-mail") << int(R::raCreateFromCovid19) << "no email" << false;
        QTest::newRow("create, token without e-mail, coupon")
            << int(R::raCreateFromCovid19) << "no email+coupon" << true;
        QTest::newRow("create, no password") << int(R::raCreateFromCovid19) << "no password" << false;
        QTest::newRow("create, no version") << int(R::raCreateFromCovid19) << "no version" << false;
        QTest::newRow("update complete") << int(R::raUpdateFromCovid19) << "" << true;
        QTest::newRow("update, no extensions") << int(R::raUpdateFromCovid19) << "no extensions" << false;
        QTest::newRow("update, no document bytes") << int(R::raUpdateFromCovid19) << "no data" << false;
        QTest::newRow("update, stop before start") << int(R::raUpdateFromCovid19) << "stop early" << false;
        QTest::newRow("update, no auth password") << int(R::raUpdateFromCovid19) << "no auth" << false;
        QTest::newRow("update, zero kilobytes") << int(R::raUpdateFromCovid19) << "no kb" << false;
        QTest::newRow("update, zero count") << int(R::raUpdateFromCovid19) << "no count" << false;
        QTest::newRow("fetch") << int(R::raFetch) << "" << true;
        QTest::newRow("fetch, no password") << int(R::raFetch) << "no password" << false;
        QTest::newRow("fetch list, no id") << int(R::raFetchWithUploadedList) << "no id" << false;
        QTest::newRow("student fetch, no password needed")
            << int(R::raFetchForStudent_ExcludeResources) << "no password" << true;
        QTest::newRow("student fetch, no id")
            << int(R::raFetchForStudent_IncludeResources) << "no id" << false;
    }
    void validity() {
        QFETCH(int, action);
        QFETCH(QString, change);
        QFETCH(bool, valid);
        TDO_Event_Request r;
        FillComplete(r);
        r.SetAction(TDO_Event_Request::TAction(action));
        if (change.startsWith("no email")) {
            r.SetReceiptEmail(QString());
            if (change.endsWith("coupon")) {
                r.CouponTransaction().SetToken(QStringLiteral("{T}"));
                r.CouponTransaction().CouponCode().SetCode(QStringLiteral("CODE"));
            }
        } else if (change == "no password")
            r.SetPassword(QString());
        else if (change == "no version")
            r.SetClientVersion(QStringLiteral(" "));
        else if (change == "no extensions")
            r.Covid19().UploadFileExtenstions().clear();
        else if (change == "no data")
            r.Covid19().SetResourceFileData({});
        else if (change == "stop early")
            r.Covid19().SetAvailabilityStopUTC(At(9));
        else if (change == "no auth")
            r.SetAuthPassword(QString());
        else if (change == "no kb")
            r.Covid19().SetUploadKilobyteLimit(0);
        else if (change == "no count")
            r.Covid19().SetUploadCountLimit(0);
        else if (change == "no id")
            r.SetID(QString());
        QCOMPARE(r.IsValid(), valid);
    }

    void builtFromEventAndRoundTrip() {
        TDO_Event event;
        event.SetID(QStringLiteral("abc 123"));
        event.SetName(QStringLiteral("Exam"));
        event.Covid19().SetResourceFileData("question bytes");
        event.PaymentCharge().SetAmount(700);
        auto s = std::make_unique<TDO_Event_StudentEntry>();
        s->SetID(QStringLiteral("s1"));
        event.Students().AddEntry(std::move(s));

        TDO_Event_Request r(static_cast<const TDOX_Base &>(event));
        QCOMPARE(r.NodeName(), QStringLiteral("event_request"));
        QCOMPARE(r.ID(), QStringLiteral("ABC123"));
        QCOMPARE(r.Action(), TDO_Event_Request::raNone);
        r.SetAction(TDO_Event_Request::raCreateFromCovid19);
        r.SetCustomerID(QStringLiteral(" cust "));
        r.SetClientVersion(QStringLiteral("1.0.0.1"));
        r.SetCardToken(QStringLiteral("tok"));
        r.SetReceiptEmail(QStringLiteral("a@b.c"));
        r.CouponTransaction().SetToken(QStringLiteral("{T}"));
        r.CouponTransaction().CouponCode().SetCode(QStringLiteral("code"));
        r.CouponTransaction().SetCreatedUTC(At(8));
        r.SetStudentID(QStringLiteral("s1"));
        r.SetStudentPassword(QStringLiteral("spw"));
        r.SetStudentProtectedInfo(QStringLiteral("info"));
        r.SetAuthPassword(QStringLiteral("auth"));
        QCOMPARE(r.CustomerID(), QStringLiteral("cust"));

        QByteArray wire;
        QBuffer out(&wire);
        out.open(QIODevice::WriteOnly);
        QVERIFY(r.SaveTo_Stream(&out, TzovCryptoTool::NetworkStartCode()));
        TDO_Event_Request b;
        QBuffer in(&wire);
        in.open(QIODevice::ReadOnly);
        QVERIFY(b.LoadFrom_Stream(&in, TzovCryptoTool::NetworkStartCode()));
        QCOMPARE(b.ID(), r.ID());
        QCOMPARE(b.Name(), r.Name());
        QCOMPARE(b.Covid19().ResourceFileData(), r.Covid19().ResourceFileData());
        QCOMPARE(b.Students().Count(), 1);
        QCOMPARE(b.PaymentCharge().Amount(), 700);
        QCOMPARE(b.Action(), r.Action());
        QCOMPARE(b.CustomerID(), r.CustomerID());
        QCOMPARE(b.ClientVersion(), r.ClientVersion());
        QCOMPARE(b.CardToken(), r.CardToken());
        QCOMPARE(b.ReceiptEmail(), r.ReceiptEmail());
        QCOMPARE(b.CouponTransaction().Token(), r.CouponTransaction().Token());
        QCOMPARE(b.CouponTransaction().CouponCode().Code(), r.CouponTransaction().CouponCode().Code());
        QCOMPARE(b.CouponTransaction().CreatedUTC(), r.CouponTransaction().CreatedUTC());
        QCOMPARE(b.StudentID(), r.StudentID());
        QCOMPARE(b.StudentPassword(), r.StudentPassword());
        QCOMPARE(b.StudentProtectedInfo(), r.StudentProtectedInfo());
        QCOMPARE(b.AuthPassword(), r.AuthPassword());

        // The reply is read as a plain event; the request's copy keeps every request field.
        TDO_Event_Request copy(b);
        QCOMPARE(copy.AuthPassword(), QStringLiteral("auth"));
        TDO_Event asEvent(static_cast<const TDOX_Base &>(b));
        QCOMPARE(asEvent.NodeName(), QStringLiteral("event"));
        QCOMPARE(asEvent.ID(), r.ID());
    }
};

QTEST_GUILESS_MAIN(TestRequest)
#include "tst_request.moc"
