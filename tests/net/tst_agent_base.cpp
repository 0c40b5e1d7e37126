// The agent life cycle and the transport outcomes, against a stub server on loopback.
#include "TAgentTestTool.h"
#include "TStubHttpServer.h"

#include "net/TAgent_Client_CheckVersion.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QElapsedTimer>
#include <QTest>

class TestAgentBase : public QObject {
    Q_OBJECT

private slots:
    void versionCheckStatus_data();
    void versionCheckStatus();
    void defaultVersionIsTheProgramsOwn();
    void transportFailures_data();
    void transportFailures();
    void completionOnUIThreadThenDisposed();
    void abandonBeforeStart();
    void abandonWhileRunning();
    void abandonAfterFinish();
    // Last: it switches running requests to giving up, for the rest of the process.
    void waitForAllIsBounded();
};

void TestAgentBase::versionCheckStatus_data() {
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("reason");
    QTest::addColumn<bool>("versionOK");
    QTest::newRow("accepted") << 202 << QByteArray("Accepted") << true;
    QTest::newRow("too old") << 426 << QByteArray("Upgrade Required") << false;
    QTest::newRow("not found") << 404 << QByteArray("No Such Place") << false;
}

void TestAgentBase::versionCheckStatus() {
    QFETCH(int, status);
    QFETCH(QByteArray, reason);
    QFETCH(bool, versionOK);
    TStubHttpServer server;
    server.SetReply("/v1/client/check_version/", {status, reason, {}, false});
    bool versionOKSeen = !versionOK;
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(
        new TAgent_Client_CheckVersion(server.BaseURL(), "1.2.3.4"),
        [&](TAgent_Client_CheckVersion *A) { versionOKSeen = A->IsVersionOK(); });
    QVERIFY(outcome.Completed);
    // The version check succeeds whatever the status: the status is the answer.
    QVERIFY(outcome.Success);
    QCOMPARE(outcome.StatusCode, status);
    QCOMPARE(outcome.StatusText, QString::fromLatin1(reason));
    QCOMPARE(versionOKSeen, versionOK);
    QVERIFY(!outcome.OldClient);
    QCOMPARE(server.Paths(), QList<QByteArray>{"/v1/client/check_version/1.2.3.4"});
}

void TestAgentBase::defaultVersionIsTheProgramsOwn() {
    TStubHttpServer server;
    server.SetReply("/", {202, "Accepted", {}, false});
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(new TAgent_Client_CheckVersion(server.BaseURL()));
    QVERIFY(outcome.Success);
    QCOMPARE(server.Paths().value(0),
             "/v1/client/check_version/" + TzovUtil_ApplicationVersion::Version_AsString().toUtf8());
}

void TestAgentBase::transportFailures_data() {
    QTest::addColumn<QString>("baseURL");
    QTest::addColumn<bool>("hang");
    QTest::newRow("closed port") << QString() << false;
    QTest::newRow("server never answers") << QString() << true;
    QTest::newRow("not an address") << QStringLiteral("::nonsense") << false;
}

void TestAgentBase::transportFailures() {
    QFETCH(QString, baseURL);
    QFETCH(bool, hang);
    std::unique_ptr<TStubHttpServer> server;
    if (baseURL.isEmpty()) {
        server = std::make_unique<TStubHttpServer>();
        server->SetReply("/", {200, "OK", {}, hang});
        baseURL = server->BaseURL();
        if (!hang)
            server->close(); // nobody listens on that port any more
    }
    TNetHTTPClient::SetDefaultTimeouts(1000, 800);
    QElapsedTimer timer;
    timer.start();
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(new TAgent_Client_CheckVersion(baseURL, "1.0.0.0"));
    TNetHTTPClient::SetDefaultTimeouts(15000, 60000);
    QVERIFY(outcome.Completed);
    QVERIFY(timer.elapsed() < 8000);
    QVERIFY(!outcome.Success);
    QCOMPARE(outcome.StatusCode, 2);
    QVERIFY2(outcome.StatusText.startsWith("Cannot reach server (") && outcome.StatusText.endsWith(")") &&
                 outcome.StatusText.size() > 22,
             qPrintable(outcome.StatusText));
}

void TestAgentBase::completionOnUIThreadThenDisposed() {
    TStubHttpServer server;
    server.SetReply("/", {202, "Accepted", {}, false});
    QPointer<TAgent_Client_CheckVersion> agent = new TAgent_Client_CheckVersion(server.BaseURL(), "1.0.0.0");
    bool finishedInHandler = false;
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(
        agent, [&](TAgent_Client_CheckVersion *A) { finishedInHandler = A->isFinished(); });
    QVERIFY(outcome.OnUIThread);
    QVERIFY(finishedInHandler);
    QVERIFY(WaitUntil([&] { return agent.isNull(); }));
}

void TestAgentBase::abandonBeforeStart() {
    QPointer<TAgent_Client_Base> agent = new TAgent_Client_CheckVersion("http://127.0.0.1:1", "1.0.0.0");
    TAgent_Client_Base::Abandon(agent);
    QVERIFY(agent.isNull());
    TAgent_Client_Base::Abandon(agent); // a second time, on nothing
}

void TestAgentBase::abandonWhileRunning() {
    TStubHttpServer server;
    server.SetReply("/", {202, "Accepted", {}, false});
    // The dialog's view: a first agent is replaced by a second one before it has answered.
    int completions = 0;
    QPointer<TAgent_Client_Base> first = new TAgent_Client_CheckVersion(server.BaseURL(), "1.0.0.1");
    QPointer<TAgent_Client_Base> watch = first;
    connect(first, &TAgent_Client_Base::Completed, this, [&] { ++completions; });
    first->start();
    TAgent_Client_Base::Abandon(first);
    QVERIFY(first.isNull());
    auto outcome = RunAgent<TAgent_Client_CheckVersion>(new TAgent_Client_CheckVersion(server.BaseURL(), "1.0.0.2"));
    QVERIFY(outcome.Success);
    QVERIFY(WaitUntil([&] { return watch.isNull(); })); // the abandoned one disposed of itself
    QCOMPARE(completions, 0);
    QCOMPARE(server.Paths().size(), 2); // and its request still ran to its end
}

void TestAgentBase::abandonAfterFinish() {
    // A closed port, so the request ends without this thread having to serve it.
    QString baseURL;
    {
        TStubHttpServer server;
        baseURL = server.BaseURL();
    }
    int completions = 0;
    QPointer<TAgent_Client_Base> agent = new TAgent_Client_CheckVersion(baseURL, "1.0.0.0");
    QPointer<TAgent_Client_Base> watch = agent;
    connect(agent, &TAgent_Client_Base::Completed, this, [&] { ++completions; });
    agent->start();
    // Finished on its thread, completion not yet delivered: nobody hears of it.
    QVERIFY(agent->wait(10000));
    TAgent_Client_Base::Abandon(agent);
    QVERIFY(WaitUntil([&] { return watch.isNull(); }));
    QCOMPARE(completions, 0);
}

void TestAgentBase::waitForAllIsBounded() {
    TStubHttpServer server;
    server.SetReply("/", {200, "OK", {}, true});
    auto *agent = new TAgent_Client_CheckVersion(server.BaseURL(), "1.0.0.0");
    agent->start();
    QVERIFY(WaitUntil([&] { return !server.Paths().isEmpty(); }));
    QElapsedTimer timer;
    timer.start();
    // The hanging request is told to give up once the wait has run out.
    QVERIFY(TAgent_Client_Base::WaitForAll(300));
    QVERIFY(timer.elapsed() < 1500);
    QCOMPARE(TAgent_Client_Base::RunningCount(), 0);
}

QTEST_GUILESS_MAIN(TestAgentBase)
#include "tst_agent_base.moc"
