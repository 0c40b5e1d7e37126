// The request agents against the local service over loopback HTTPS, and their reply handling on a stub.
#include "TAgentTestTool.h"
#include "TNetTestData.h"
#include "TStubHttpServer.h"

#include "net/TAgent_Client_CheckVersion.h"
#include "net/TAgent_Client_Customer.h"

#include <QTest>

using namespace TNetTestData;

class TestAgents : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void versionCheck_data();
    void versionCheck();
    void feeFetch();
    void eventCreateFetchUpdate();
    void studentFetch_data();
    void studentFetch();
    void uploads();
    void couponTransaction();
    void outdatedClient();
    void replyHandling_data();
    void replyHandling();

private:
    TServiceFixture FService;
    std::unique_ptr<TDO_Event> FEvent;
};

void TestAgents::initTestCase() {
    QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
    QString error;
    FEvent = CreateEvent(FService, MakeEventRequest(QStringLiteral("Agents")), &error);
    QVERIFY2(FEvent && !FEvent->ID().isEmpty(), qPrintable(error));
}

void TestAgents::versionCheck_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("status");
    QTest::newRow("this program") << QString() << 202;
    QTest::newRow("outdated") << QStringLiteral("0.9.0.0") << 426;
}

void TestAgents::versionCheck() {
    QFETCH(QString, version);
    QFETCH(int, status);
    bool ok = false;
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(new TAgent_Client_CheckVersion(FService.BaseURL(), version),
                                                        [&](TAgent_Client_CheckVersion *A) { ok = A->IsVersionOK(); });
    QVERIFY(outcome.Success);
    QCOMPARE(outcome.StatusCode, status);
    QCOMPARE(ok, status == 202);
}

void TestAgents::feeFetch() {
    std::unique_ptr<TDO_Config_Payment> fees;
    auto outcome = RunAgent<TAgent_Client_Customer>(new TAgent_Client_Customer(FService.BaseURL(), "customer-1"),
                                                    [&](TAgent_Client_Customer *A) {
                                                        if (A->Payment())
                                                            fees = std::make_unique<TDO_Config_Payment>(*A->Payment());
                                                    });
    QVERIFY2(outcome.Success, qPrintable(outcome.StatusText));
    QCOMPARE(outcome.StatusCode, 200);
    QVERIFY(fees);
    QVERIFY(fees->CreateEvent_FeeInCents() > 0);
}

void TestAgents::eventCreateFetchUpdate() {
    QCOMPARE(FEvent->Name(), QStringLiteral("Agents"));
    QCOMPARE(FEvent->Students().Count(), 2);

    TDO_Event_Request update(*FEvent);
    update.SetAction(TDO_Event_Request::raUpdateFromCovid19);
    update.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    update.SetAuthPassword(InstructorPassword);
    update.SetName(QStringLiteral("Agents, renamed"));
    auto updated = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(FService.BaseURL(), update));
    QVERIFY2(updated.Success, qPrintable(updated.StatusText));

    TDO_Event_Request fetch;
    fetch.SetAction(TDO_Event_Request::raFetchWithUploadedList);
    fetch.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    fetch.SetID(FEvent->ID());
    fetch.SetPassword(InstructorPassword);
    QString name;
    bool onlyTheListRecord = false;
    auto fetched = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(FService.BaseURL(), fetch),
                                                 [&](TAgent_Client_Event *A) {
                                                     onlyTheListRecord = A->EventUL() && !A->Event();
                                                     if (A->EventUL())
                                                         name = A->EventUL()->Name();
                                                 });
    QVERIFY2(fetched.Success, qPrintable(fetched.StatusText));
    QVERIFY(onlyTheListRecord);
    QCOMPARE(name, QStringLiteral("Agents, renamed"));

    fetch.SetAction(TDO_Event_Request::raFetch);
    fetch.SetPassword(QStringLiteral("wrong"));
    auto refused = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(FService.BaseURL(), fetch));
    QVERIFY(!refused.Success);
    QCOMPARE(refused.StatusCode, 401);
    QVERIFY(!refused.StatusText.isEmpty());
}

void TestAgents::studentFetch_data() {
    QTest::addColumn<QString>("student");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("status");
    QTest::newRow("with password") << "s1" << "apple" << 200;
    QTest::newRow("password missing") << "s1" << "" << 401;
    QTest::newRow("password wrong") << "s1" << "pear" << 401;
    QTest::newRow("needs none") << "s2" << "" << 200;
}

void TestAgents::studentFetch() {
    QFETCH(QString, student);
    QFETCH(QString, password);
    QFETCH(int, status);
    TDO_Event_Request fetch;
    fetch.SetAction(TDO_Event_Request::raFetchForStudent_ExcludeResources);
    fetch.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    fetch.SetID(FEvent->ID());
    fetch.SetStudentID(student);
    fetch.SetStudentPassword(password);
    int students = -1;
    QString instructorPassword = "unset";
    auto outcome = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(FService.BaseURL(), fetch),
                                                 [&](TAgent_Client_Event *A) {
                                                     if (A->Event()) {
                                                         students = A->Event()->Students().Count();
                                                         instructorPassword = A->Event()->Password();
                                                     }
                                                 });
    QCOMPARE(outcome.StatusCode, status);
    QCOMPARE(outcome.Success, status == 200);
    if (status == 200) {
        QCOMPARE(students, 1);
        QVERIFY(instructorPassword.isEmpty());
    } else {
        QCOMPARE(students, -1); // no reply record on a refusal
    }
}

void TestAgents::uploads() {
    std::unique_ptr<TDO_UploadedFile> stored;
    auto inspect = [&](TAgent_Client_Upload *A) {
        stored = A->Upload() ? std::make_unique<TDO_UploadedFile>(*A->Upload()) : nullptr;
    };
    const QByteArray answer(10 * 1024, 'a');
    auto ok = RunAgent<TAgent_Client_Upload>(
        new TAgent_Client_Upload(FService.BaseURL(), MakeUploadRequest(*FEvent, "s1", "apple", "answer.txt", answer)),
        inspect);
    QVERIFY2(ok.Success, qPrintable(ok.StatusText));
    QVERIFY(stored);
    QCOMPARE(stored->CopyNumber(), 1);
    QCOMPARE(stored->Filename(), QStringLiteral("answer.txt"));

    // The event takes 64 KB at most.
    auto tooBig = RunAgent<TAgent_Client_Upload>(
        new TAgent_Client_Upload(FService.BaseURL(),
                                 MakeUploadRequest(*FEvent, "s1", "apple", "big.txt", QByteArray(65 * 1024, 'b'))),
        inspect);
    QVERIFY(!tooBig.Success);
    QCOMPARE(tooBig.StatusCode, 413);
    QVERIFY2(tooBig.StatusText.contains("64"), qPrintable(tooBig.StatusText));
    QVERIFY(!stored);
}

void TestAgents::couponTransaction() {
    FService.SeedCoupon("NETCOUPON0001", 2, TProductID::pidCreateEvent, TClock::NowUTC().AddDays(1));
    std::unique_ptr<TDO_Coupon_Transaction> transaction;
    auto outcome = RunAgent<TAgent_Client_Coupon>(
        new TAgent_Client_Coupon(FService.BaseURL(), MakeCouponRequest("netcoupon 0001")),
        [&](TAgent_Client_Coupon *A) {
            if (A->Transaction())
                transaction = std::make_unique<TDO_Coupon_Transaction>(*A->Transaction());
        });
    QCOMPARE(outcome.StatusCode, 200);
    QVERIFY(!outcome.Success); // this agent reports through Transaction only
    QVERIFY(transaction);
    QVERIFY(transaction->IsValid());
    QCOMPARE(transaction->CouponCode().Code(), QStringLiteral("NETCOUPON0001"));

    bool hasTransaction = true;
    auto unknown = RunAgent<TAgent_Client_Coupon>(
        new TAgent_Client_Coupon(FService.BaseURL(), MakeCouponRequest("NOSUCHCOUPON")),
        [&](TAgent_Client_Coupon *A) { hasTransaction = A->Transaction(); });
    QCOMPARE(unknown.StatusCode, 404);
    QVERIFY(!hasTransaction);
}

void TestAgents::outdatedClient() {
    TDO_Event_Request fetch;
    fetch.SetAction(TDO_Event_Request::raFetch);
    fetch.SetClientVersion("0.1.0.0");
    fetch.SetID(FEvent->ID());
    fetch.SetPassword(InstructorPassword);
    auto outcome = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(FService.BaseURL(), fetch));
    QVERIFY(!outcome.Success);
    QCOMPARE(outcome.StatusCode, 426);
    QVERIFY(outcome.OldClient);
}

// Replies the service never gives: a stub answers each agent with the given status and body.
void TestAgents::replyHandling_data() {
    QTest::addColumn<QString>("agent");
    QTest::addColumn<int>("httpStatus");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("textStart");
    QTest::addColumn<bool>("oldClient");
    const QString unreadable = QStringLiteral("Unable to read response (");
    QTest::newRow("event, garbage 200") << "event" << 200 << 4 << unreadable << false;
    QTest::newRow("fee, garbage 200") << "fee" << 200 << 4 << "Unable to read response" << false;
    QTest::newRow("upload, garbage 200") << "upload" << 200 << 4 << unreadable << false;
    QTest::newRow("coupon, garbage 200") << "coupon" << 200 << 4 << unreadable << false;
    QTest::newRow("event raNone") << "event-none" << 200 << 3 << "Agent does not support action" << false;
    QTest::newRow("coupon raNone") << "coupon-none" << 200 << 3 << "Agent does not support action" << false;
    QTest::newRow("upload download") << "upload-download" << 200 << 3 << "Agent does not support action" << false;
    QTest::newRow("fee outdated") << "fee" << 426 << 426 << "Too Old" << true;
    QTest::newRow("coupon outdated") << "coupon" << 426 << 426 << "Too Old" << false;
}

void TestAgents::replyHandling() {
    QFETCH(QString, agent);
    QFETCH(int, httpStatus);
    QFETCH(int, status);
    QFETCH(QString, textStart);
    QFETCH(bool, oldClient);
    TStubHttpServer stub;
    stub.SetReply("/", {httpStatus, httpStatus == 200 ? "OK" : "Too Old", "<Tavix>not encrypted</Tavix>", false});
    const QString url = stub.BaseURL();
    bool hasRecord = true;
    TAgentOutcome outcome;
    if (agent.startsWith("event")) {
        TDO_Event_Request request;
        request.SetAction(agent == "event" ? TDO_Event_Request::raFetch : TDO_Event_Request::raNone);
        outcome = RunAgent<TAgent_Client_Event>(new TAgent_Client_Event(url, request), [&](TAgent_Client_Event *A) {
            hasRecord = A->Event() || A->EventUL();
        });
    } else if (agent == "fee") {
        outcome = RunAgent<TAgent_Client_Customer>(new TAgent_Client_Customer(url, "c"),
                                                   [&](TAgent_Client_Customer *A) { hasRecord = A->Payment(); });
    } else if (agent.startsWith("upload")) {
        TDO_UploadedFile_Request request;
        request.SetAction(agent == "upload" ? TDO_UploadedFile_Request::ufaSubmit
                                            : TDO_UploadedFile_Request::ufaDownload);
        outcome = RunAgent<TAgent_Client_Upload>(new TAgent_Client_Upload(url, request),
                                                 [&](TAgent_Client_Upload *A) { hasRecord = A->Upload(); });
    } else {
        TDO_Coupon_Request request = MakeCouponRequest("X");
        if (agent == "coupon-none")
            request.SetAction(TDO_Coupon_Request::TAction::raNone);
        outcome = RunAgent<TAgent_Client_Coupon>(new TAgent_Client_Coupon(url, request),
                                                 [&](TAgent_Client_Coupon *A) { hasRecord = A->Transaction(); });
    }
    QVERIFY(outcome.Completed);
    QVERIFY(!outcome.Success);
    QVERIFY(!hasRecord);
    QCOMPARE(outcome.StatusCode, status);
    // A text ending in "(" is followed by the failure's detail; any other is the whole text.
    if (textStart.endsWith(QLatin1Char('(')))
        QVERIFY2(outcome.StatusText.startsWith(textStart), qPrintable(outcome.StatusText));
    else
        QCOMPARE(outcome.StatusText, textStart);
    QCOMPARE(outcome.OldClient, oldClient);
    QCOMPARE(stub.Paths().size(), 1);
}

QTEST_GUILESS_MAIN(TestAgents)
#include "tst_agents.moc"
