// The payment-processor client: its form bodies, and tokens against the local service's test endpoints.
#include "TAgentTestTool.h"
#include "TServiceFixture.h"
#include "TStubHttpServer.h"

#include "net/TzovPayment_StripeTool.h"

#include <QTest>

namespace {
TzovPayment_Stripe_Data_CardInformation Card(const char *ANumber) {
    return TzovPayment_Stripe_Data_CardInformation(QString::fromLatin1(ANumber), "12", "2034", "123");
}
} // namespace

class TestStripe : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cardBody_data();
    void cardBody();
    void chargeBody_data();
    void chargeBody();
    void nothingToSend();
    void tokens_data();
    void tokens();
    void noNetwork();
    void selfSignedServerNotTrustedByDefault();
    void cardThread();

private:
    std::unique_ptr<TzovPayment_StripeTool> TestTool() const {
        auto tool = TzovPayment_StripeTool::CreateQuenmark_TEST();
        tool->SetBaseURL(FService.BaseURL());
        for (const QSslCertificate &c : TzovPayment_StripeTool::CertificatesFromFile(FService.CertificatePath()))
            tool->AddTrustedCertificate(c);
        return tool;
    }

    TServiceFixture FService;
};

void TestStripe::initTestCase() {
    QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
    QVERIFY(!TzovPayment_StripeTool::CertificatesFromFile(FService.CertificatePath()).isEmpty());
}

void TestStripe::cardBody_data() {
    QTest::addColumn<bool>("withAddress");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line2");
    QTest::addColumn<QByteArray>("expected");
    const QByteArray card = "card[number]=4242424242424242&card[exp_month]=12&card[exp_year]=2034&card[cvc]=123";
    QTest::newRow("no address") << false << QString() << QString() << card;
    QTest::newRow("blank second line, no e-mail")
        << true << "Ann Lee" << "   "
        << card + "&card[name]=Ann+Lee&card[address_line1]=1+Main+St&card[address_city]=Troy&card[address_state]=NY"
                  "&card[address_zip]=12180&card[address_country]=US";
    QTest::newRow("ampersand and plus survive")
        << true << "A&B+C=D" << "Apt 5"
        << card + "&card[name]=A%26B%2BC%3DD&card[address_line1]=1+Main+St&card[address_line2]=Apt+5"
                  "&card[address_city]=Troy&card[address_state]=NY&card[address_zip]=12180&card[address_country]=US";
    QTest::newRow("non-ASCII as UTF-8")
        << true << QString::fromUtf8("Zo\u00eb") << QString()
        << card + "&card[name]=Zo%C3%AB&card[address_line1]=1+Main+St&card[address_city]=Troy&card[address_state]=NY"
                  "&card[address_zip]=12180&card[address_country]=US";
}

void TestStripe::cardBody() {
    QFETCH(bool, withAddress);
    QFETCH(QString, name);
    QFETCH(QString, line2);
    QFETCH(QByteArray, expected);
    const auto card = Card("4242424242424242");
    const TzovPayment_Data_BillingAddress address(name, "1 Main St", line2, "Troy", "NY", "12180", "US",
                                                  "ann@example.com");
    const auto body = TzovPayment_StripeTool::CreatePostStream_forCreateCard(&card, withAddress ? &address : nullptr);
    QVERIFY(body);
    QCOMPARE(*body, expected);
}

void TestStripe::chargeBody_data() {
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("email");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("three fields") << QString() << QString() << QByteArray("source=tok_1&amount=500&currency=usd");
    QTest::newRow("five fields") << " Event fee " << "a+b@example.com"
                                 << QByteArray("source=tok_1&amount=500&currency=usd&description=Event+fee"
                                               "&receipt_email=a%2Bb%40example.com");
}

void TestStripe::chargeBody() {
    QFETCH(QString, description);
    QFETCH(QString, email);
    QFETCH(QByteArray, expected);
    QCOMPARE(TzovPayment_StripeTool::CreatePostStream_forCreateCharge(" tok_1 ", 500, "usd", description, email),
             expected);
}

void TestStripe::nothingToSend() {
    auto tool = TestTool();
    QVERIFY(!TzovPayment_StripeTool::CreatePostStream_forCreateCard(nullptr, nullptr));
    QVERIFY(!tool->CreateCard(nullptr, nullptr));
    QCOMPARE(tool->StatusCode(), 1);
    QCOMPARE(tool->StatusText(), QStringLiteral("Unknown error"));
    tool->SetBaseURL(QString());
    const auto card = Card("4242424242424242");
    QVERIFY(!tool->CreateCard(&card, nullptr));
    QCOMPARE(tool->StatusCode(), 1);
}

void TestStripe::tokens_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("secretKey");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("errorMessage");
    QTest::newRow("good card") << "4242424242424242" << QString() << 200 << QString();
    QTest::newRow("declined") << "4000000000000002" << QString() << 402 << "Your card was declined.";
    QTest::newRow("wrong key") << "4242424242424242" << "sk_test_wrong" << 401 << "Invalid API Key provided.";
}

void TestStripe::tokens() {
    QFETCH(QString, number);
    QFETCH(QString, secretKey);
    QFETCH(int, status);
    QFETCH(QString, errorMessage);
    auto tool = TestTool();
    if (!secretKey.isEmpty()) {
        auto other = std::make_unique<TzovPayment_StripeTool>(tool->PublishableKey(), secretKey);
        other->SetBaseURL(tool->BaseURL());
        for (const auto &c : tool->TrustedCertificates())
            other->AddTrustedCertificate(c);
        tool = std::move(other);
    }
    const TzovPayment_Stripe_Data_CardInformation card(number, "12", "2034", "123");
    const TzovPayment_Data_BillingAddress address("Ann Lee", "1 Main St", "", "Troy", "NY", "12180", "US", "");
    const auto reply = tool->CreateCard(&card, &address);
    QVERIFY(reply);
    QCOMPARE(tool->StatusCode(), status);
    if (errorMessage.isEmpty()) {
        QVERIFY(!reply->Error());
        QVERIFY(reply->Token().startsWith("tok_"));
    } else {
        QVERIFY(reply->Error());
        QCOMPARE(reply->Error()->AMessage(), errorMessage);
        QVERIFY(reply->Token().isEmpty());
    }
}

void TestStripe::noNetwork() {
    QString closed;
    {
        TStubHttpServer stub;
        closed = stub.BaseURL().replace("http:", "https:");
    }
    auto tool = TestTool();
    tool->SetBaseURL(closed);
    const auto card = Card("4242424242424242");
    const auto reply = tool->CreateCard(&card, nullptr);
    QVERIFY(reply);
    QVERIFY(reply->Token().isEmpty());
    QVERIFY(!reply->Error());
    QVERIFY(!reply->JObj());
    QCOMPARE(tool->StatusCode(), 1);
    QVERIFY(!tool->StatusText().isEmpty());
    QVERIFY(tool->StatusText() != QStringLiteral("Unknown error"));
}

void TestStripe::selfSignedServerNotTrustedByDefault() {
    auto tool = TzovPayment_StripeTool::CreateQuenmark_TEST();
    tool->SetBaseURL(FService.BaseURL());
    const auto card = Card("4242424242424242");
    const auto reply = tool->CreateCard(&card, nullptr);
    QVERIFY(reply);
    QCOMPARE(tool->StatusCode(), 1); // the TLS handshake is refused: no reply at all
    QVERIFY(reply->Token().isEmpty());
}

void TestStripe::cardThread() {
    const auto tool = TestTool();
    const TzovPayment_Data_BillingAddress address("Ann Lee", "", "", "", "", "", "", "");
    QString token;
    QString statusText = "unset";
    auto outcome = RunAgent<TzovPayment_StripeTool_CreateCardThread>(
        new TzovPayment_StripeTool_CreateCardThread(*tool, &address, Card("4242424242424242")),
        [&](TzovPayment_StripeTool_CreateCardThread *A) {
            token = A->Card() ? A->Card()->Token() : QString();
            statusText = A->Stripe().StatusText();
        });
    QVERIFY(outcome.Completed);
    QVERIFY(outcome.OnUIThread);
    QVERIFY(outcome.Success);
    QCOMPARE(outcome.StatusCode, 200);
    QVERIFY(token.startsWith("tok_"));
    QCOMPARE(statusText, outcome.StatusText);
}

QTEST_GUILESS_MAIN(TestStripe)
#include "tst_stripe.moc"
