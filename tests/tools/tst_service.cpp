// The local service over loopback HTTPS: version check, the payment processor's test endpoints, refusals.
#include "TServiceFixture.h"
#include "TServiceTestHttp.h"
#include "TavixDeployment.h"

#include <QtTest>

namespace {

using TReply = TServiceTestReply;

TReply Send(const QString &AURL, const QByteArray *ABody, const QByteArray &AContentType = "application/octet-stream",
            const QByteArray &AAuthorization = QByteArray()) {
    return ServiceSend(AURL, ABody, AContentType, AAuthorization);
}

TReply Get(const QString &AURL) { return Send(AURL, nullptr); }

QByteArray TestKeyAuth(const QByteArray &AKey = TavixDeployment::payment_test_secret_key) {
    return "Basic " + (AKey + ":").toBase64();
}

QByteArray CardForm(const QByteArray &ANumber) {
    return "card[number]=" + ANumber + "&card[exp_month]=12&card[exp_year]=2049&card[cvc]=123&card[name]=A+%26+B";
}

} // namespace

class tst_service : public QObject {
    Q_OBJECT

private:
    TServiceFixture FService;

private slots:
    void initTestCase() {
        QVERIFY2(FService.Start({QStringLiteral("--min-client-version"), QStringLiteral("1.2.0.0")}),
                 qPrintable(FService.ErrorText()));
        QVERIFY(FService.BaseURL().startsWith(QLatin1String("https://127.0.0.1:")));
        QVERIFY(QFileInfo::exists(FService.CertificatePath()));
    }

    void checkVersion_data() {
        QTest::addColumn<QString>("Version");
        QTest::addColumn<int>("Status");
        QTest::newRow("equal to the minimum") << "1.2.0.0" << 202;
        QTest::newRow("newer build") << "1.2.0.7" << 202;
        QTest::newRow("newer major") << "10.0.0.0" << 202;
        QTest::newRow("older release") << "1.1.9.9" << 426;
        QTest::newRow("empty") << "" << 426;
        QTest::newRow("not a version") << "abc" << 426;
    }
    void checkVersion() {
        QFETCH(QString, Version);
        QFETCH(int, Status);
        const TReply Reply = Get(FService.BaseURL() + "/v1/client/check_version/" + Version);
        QCOMPARE(Reply.Status, Status);
        if (Status == 426)
            QVERIFY(Reply.XReason.contains("1.2.0.0"));
    }

    void tokenThenCharge() {
        const QByteArray Form = CardForm("4242424242424242");
        const TReply Token = Send(FService.BaseURL() + "/v1/tokens", &Form, "application/x-www-form-urlencoded",
                                  TestKeyAuth());
        QCOMPARE(Token.Status, 200);
        const QString TokenID = Token.Json().value("id").toString();
        QVERIFY(TokenID.startsWith(QLatin1String("tok_")));
        QVERIFY(!Token.Json().contains("error"));

        const QByteArray ChargeForm = "source=" + TokenID.toUtf8() +
                                      "&amount=500&currency=usd&description=Tavix+Event+Fee&receipt_email=a%40b.example";
        const TReply Charge = Send(FService.BaseURL() + "/v1/charges", &ChargeForm,
                                   "application/x-www-form-urlencoded", TestKeyAuth());
        QCOMPARE(Charge.Status, 200);
        const QJsonObject C = Charge.Json();
        QVERIFY(C.value("id").toString().startsWith(QLatin1String("ch_")));
        QCOMPARE(C.value("amount").toInt(), 500);
        QCOMPARE(C.value("paid").toBool(), true);
        QCOMPARE(C.value("status").toString(), QStringLiteral("succeeded"));
        QCOMPARE(C.value("receipt_email").toString(), QStringLiteral("a@b.example"));
        QVERIFY(!C.value("receipt_url").toString().isEmpty());

        // A token is single-use.
        const TReply Again = Send(FService.BaseURL() + "/v1/charges", &ChargeForm,
                                  "application/x-www-form-urlencoded", TestKeyAuth());
        QCOMPARE(Again.Status, 400);
        QVERIFY(Again.Json().value("error").toObject().contains("message"));
    }

    void tokenRefused_data() {
        QTest::addColumn<QByteArray>("Form");
        QTest::addColumn<QByteArray>("Authorization");
        QTest::addColumn<int>("Status");
        QTest::addColumn<QString>("Code");
        QTest::addColumn<QString>("Message");
        QTest::newRow("declined") << CardForm("4000000000000002") << TestKeyAuth() << 402 << "card_declined"
                                  << "Your card was declined.";
        QTest::newRow("fails the check digit") << CardForm("4242424242424241") << TestKeyAuth() << 402
                                               << "incorrect_number" << "Your card number is incorrect.";
        QTest::newRow("expired") << QByteArray("card[number]=4242424242424242&card[exp_month]=1&card[exp_year]=2001&card[cvc]=123")
                                 << TestKeyAuth() << 402 << "expired_card" << "Your card has expired.";
        QTest::newRow("wrong key") << CardForm("4242424242424242") << TestKeyAuth("sk_test_wrong") << 401 << ""
                                   << "Invalid API Key provided.";
        QTest::newRow("no key") << CardForm("4242424242424242") << QByteArray() << 401 << ""
                                << "You did not provide an API key.";
    }
    void tokenRefused() {
        QFETCH(QByteArray, Form);
        QFETCH(QByteArray, Authorization);
        QFETCH(int, Status);
        QFETCH(QString, Code);
        QFETCH(QString, Message);
        const TReply Reply = Send(FService.BaseURL() + "/v1/tokens", &Form, "application/x-www-form-urlencoded",
                                  Authorization);
        QCOMPARE(Reply.Status, Status);
        const QJsonObject Error = Reply.Json().value("error").toObject();
        QCOMPARE(Error.value("code").toString(), Code);
        QCOMPARE(Error.value("message").toString(), Message);
        QVERIFY(!Error.value("type").toString().isEmpty());
        QVERIFY(!Reply.Json().contains("id"));
    }

    void chargeUnknownToken() {
        const QByteArray Form = "source=tok_doesnotexist&amount=500&currency=usd";
        const TReply Reply =
            Send(FService.BaseURL() + "/v1/charges", &Form, "application/x-www-form-urlencoded", TestKeyAuth());
        QCOMPARE(Reply.Status, 400);
        QCOMPARE(Reply.Json().value("error").toObject().value("code").toString(), QStringLiteral("resource_missing"));
    }

    void tooLargeBodyRefused() {
        const QByteArray Body(64 * 1024 * 1024 + 1, 'x');
        const TReply Reply = Send(FService.BaseURL() + "/v1/event", &Body);
        QCOMPARE(Reply.Status, 413);
        QCOMPARE(Reply.Reason, QByteArray("Payload Too Large"));
        QCOMPARE(Reply.XReason, QByteArray("Request body is too large"));
    }

    void unknownEndpoint() {
        const TReply Reply = Get(FService.BaseURL() + "/v1/nothing");
        QCOMPARE(Reply.Status, 404);
        QVERIFY(!Reply.XReason.isEmpty());
    }

    void restartKeepsCertificate() {
        QFile File(FService.CertificatePath());
        QVERIFY(File.open(QIODevice::ReadOnly));
        const QByteArray Before = File.readAll();
        File.close();
        QVERIFY2(FService.Restart(), qPrintable(FService.ErrorText()));
        QVERIFY(File.open(QIODevice::ReadOnly));
        QCOMPARE(File.readAll(), Before);
        QCOMPARE(Get(FService.BaseURL() + "/v1/client/check_version/1.2.0.0").Status, 202);
    }
};

QTEST_GUILESS_MAIN(tst_service)
#include "tst_service.moc"
