// Payment records: processor texts, card normalisation, processor replies, charge record, saves and loads.
#include "crypto/TzovCryptoTool.h"
#include "data/TDOX_BaseQuenmark.h"
#include "data/TDO_Config_Payment.h"
#include "data/TzovPayment_Data_BillingAddress.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"
#include "data/TzovPayment_Stripe_Data_BaseResponse.h"
#include "data/TzovPayment_Stripe_Data_CardInformation.h"

#include <QBuffer>
#include <QtTest>

namespace {

// Payment records travel inside encrypted records; this carrier puts one there like an event does.
class TCarrier : public TDOX_BaseQuenmark {
public:
    explicit TCarrier(TDOX_Base &ARecord) : TDOX_BaseQuenmark(QStringLiteral("carrier")), FRecord(ARecord) {}
    void WriteToNode(TXmlNode ANode) const override {
        TDOX_BaseQuenmark::WriteToNode(ANode);
        ChildNode_AddAndWrite(ANode, &FRecord);
    }
    void ReadFromNode(TXmlNode ANode) override {
        TDOX_BaseQuenmark::ReadFromNode(ANode);
        ChildNode_FindAndRead(ANode, &FRecord);
    }

private:
    TDOX_Base &FRecord;
};

// Saves ASrc under the network start code and loads it into ADst; returns the encrypted bytes.
QByteArray RoundTrip(TDOX_Base &ASrc, TDOX_Base &ADst) {
    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    TCarrier out(ASrc);
    if (!out.SaveTo_Stream(&buf, TzovCryptoTool::NetworkStartCode()))
        return {};
    buf.seek(0);
    TCarrier in(ADst);
    if (!in.LoadFrom_Stream(&buf, TzovCryptoTool::NetworkStartCode()))
        return {};
    return buf.data();
}

// The plain XML a record writes, for checks of names and order.
QString PlainXml(const TDOX_Base &ARecord) {
    return QString::fromUtf8(ARecord.SaveTo_String(QStringLiteral("t")));
}

const TDateTime KStamp = TDateTime::Encode(2024, 3, 5, 15, 4, 5);

const char *const KChargeOk =
    R"({"id":"ch_1","amount":500,"paid":true,"status":"succeeded", "payment_method":"card_9","receipt_email":"a@b.example","receipt_url":"https://pay.example/r/1", "failure_message":null})";

} // namespace

class TestPayment : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TClock::Reset(); }

    void processorText_data() {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<int>("expected");
        QTest::newRow("exact live") << R"(<payment_processing payment_processor="Stripe LIVE"/>)"
                                    << int(TzovPaymentProcessor::ppStripeLive);
        QTest::newRow("live other case") << R"(<payment_processing payment_processor="stripe live"/>)"
                                         << int(TzovPaymentProcessor::ppStripeLive);
        QTest::newRow("test") << R"(<payment_processing payment_processor="STRIPE TEST"/>)"
                              << int(TzovPaymentProcessor::ppStripeTest);
        QTest::newRow("part of it") << R"(<payment_processing payment_processor="Stripe"/>)"
                                    << int(TzovPaymentProcessor::ppNone);
        QTest::newRow("empty") << R"(<payment_processing payment_processor=""/>)"
                               << int(TzovPaymentProcessor::ppNone);
        QTest::newRow("absent keeps default")
            << R"(<payment_processing/>)" << int(TzovPaymentProcessor::ppStripeLive);
    }
    void processorText() {
        QFETCH(QString, xml);
        QFETCH(int, expected);
        TDO_Config_Payment cfg;
        cfg.SetProcessor(TzovPaymentProcessor::ppNone);
        QVERIFY(cfg.LoadFrom_String(("<r>" + xml + "</r>").toUtf8()));
        QCOMPARE(int(cfg.Processor()), expected);
        QCOMPARE(cfg.CreateEvent_FeeInCents(), 500);
        QCOMPARE(cfg.CreateEvent_Description(), QStringLiteral("Tavix Event Fee"));
        QCOMPARE(cfg.UploadFile_FeeInCents(), 100);
        QCOMPARE(cfg.UploadFile_Description(), QStringLiteral("Tavix Upload Fee"));
        QVERIFY(cfg.CouponServerBaseURL().contains(QStringLiteral("127.0.0.1")));
    }

    void cardSetters_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number separators") << "number"
                                           << " 4242-4242.4242_4242 "
                                           << "4242424242424242";
        QTest::newRow("number inner blank") << "number"
                                            << "4242 4242"
                                            << "4242 4242";
        QTest::newRow("month 7") << "month"
                                 << " 7 "
                                 << "07";
        QTest::newRow("month 12") << "month"
                                  << "12"
                                  << "12";
        QTest::newRow("month 0") << "month"
                                 << "0"
                                 << "";
        QTest::newRow("month 13") << "month"
                                  << "13"
                                  << "";
        QTest::newRow("month text") << "month"
                                    << "July"
                                    << "";
        QTest::newRow("year 2050") << "year"
                                   << "2050"
                                   << "2050";
        QTest::newRow("year 2020") << "year"
                                   << "2020"
                                   << "2020";
        QTest::newRow("year 2051") << "year"
                                   << "2051"
                                   << "";
        QTest::newRow("year two digits") << "year"
                                         << "27"
                                         << "";
        QTest::newRow("cvc leading zeros") << "cvc"
                                           << " 007 "
                                           << "007";
        QTest::newRow("cvc four digits") << "cvc"
                                         << "1234"
                                         << "1234";
        QTest::newRow("cvc zero") << "cvc"
                                  << "0"
                                  << "0";
        QTest::newRow("cvc five digits") << "cvc"
                                         << "12345"
                                         << "";
        QTest::newRow("cvc letters") << "cvc"
                                     << "12a"
                                     << "";
        QTest::newRow("cvc empty") << "cvc"
                                   << ""
                                   << "";
    }
    void cardSetters() {
        QFETCH(QString, field);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        TzovPayment_Stripe_Data_CardInformation card;
        const auto get = [&](const TzovPayment_Stripe_Data_CardInformation &c) {
            return field == "number"  ? c.Number()
                   : field == "month" ? c.ExpMonth()
                   : field == "year"  ? c.ExpYear()
                                      : c.CVC();
        };
        if (field == "number")
            card.SetNumber(input);
        else if (field == "month")
            card.SetExpMonth(input);
        else if (field == "year")
            card.SetExpYear(input);
        else
            card.SetCVC(input);
        QCOMPARE(get(card), expected);

        // The same normalisation applies to text read from XML.
        const char *attr = field == "number"  ? "number"
                           : field == "month" ? "exp_month"
                           : field == "year"  ? "exp_year"
                                              : "cvc";
        const QString xml =
            QStringLiteral("<r><stripe_card_information %1=\"%2\"/></r>").arg(attr, input.toHtmlEscaped());
        TzovPayment_Stripe_Data_CardInformation read;
        QVERIFY(read.LoadFrom_String(xml.toUtf8()));
        QCOMPARE(get(read), expected);
    }

    void cardValidityAndTestCards() {
        QVERIFY(
            !TzovPayment_Stripe_Data_CardInformation(QStringLiteral("4242"), "13", "2030", "123").IsValid());
        using C = TzovPayment_Stripe_Data_CardInformation;
        for (const auto &card : {C::CreateTest_OK_Visa(), C::CreateTest_OK_AmericanExpress(),
                                 C::CreateTest_OK_UnionPay(), C::CreateTest_OK_DinersClub14()})
            QVERIFY2(card->IsValid(), qPrintable(card->Number()));
        QCOMPARE(C::CreateTest_OK_Visa()->Number(), QStringLiteral("4242424242424242"));
    }

    void billingAddress() {
        TzovPayment_Data_BillingAddress a;
        a.SetName(QStringLiteral("  Pat \t"));
        QCOMPARE(a.Name(), QStringLiteral("Pat"));
        // The all-values constructor keeps values as given.
        TzovPayment_Data_BillingAddress raw(" N ", "A1", "", "C", "S", "Z", "", "");
        QCOMPARE(raw.Name(), QStringLiteral(" N "));
        QVERIFY(raw.IsValid_forClient_US(false));
        QVERIFY(!raw.IsValid_forClient_US(true));
        raw.SetEMail("x@y.example");
        QVERIFY(raw.IsValid_forClient_US(true));
        raw.SetCity(QString());
        QVERIFY(!raw.IsValid_forClient_US(false));

        int fired = 0;
        TDOX_Base *sender = nullptr;
        a.OnChanged = [&](TDOX_Base *ASender) {
            ++fired;
            sender = ASender;
        };
        a.SetCity(QStringLiteral("Springfield"));
        QCOMPARE(fired, 0);
        a.Trigger_OnChanged();
        QCOMPARE(fired, 1);
        QCOMPARE(sender, static_cast<TDOX_Base *>(&a));
        TzovPayment_Data_BillingAddress noHandler;
        noHandler.Trigger_OnChanged();
        QVERIFY(TzovPayment_Data_BillingAddress::CreateTest()->IsValid_forClient_US(true));
    }

    void cardReply_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("hasObject");
        QTest::addColumn<bool>("hasError");
        QTest::addColumn<QString>("token");
        QTest::newRow("success") << R"({"id":"tok_123","object":"token"})" << true << false << "tok_123";
        QTest::newRow("error object")
            << R"({"id":"tok_x","error":{"code":"card_declined","type":"card_error"}})" << true << true << "";
        QTest::newRow("empty object") << "{}" << true << false << "";
        QTest::newRow("id of wrong kind") << R"({"id":{"a":1}})" << true << false << "";
        QTest::newRow("error not an object")
            << R"({"id":"tok_1","error":"boom"})" << true << false << "tok_1";
        QTest::newRow("not JSON") << "<html>Bad gateway</html>" << false << false << "";
        QTest::newRow("JSON array") << "[1,2]" << false << false << "";
        QTest::newRow("empty body") << "" << false << false << "";
    }
    void cardReply() {
        QFETCH(QString, body);
        QFETCH(bool, hasObject);
        QFETCH(bool, hasError);
        QFETCH(QString, token);
        auto r = TzovPayment_Stripe_Data_CreateCardResponse::CreateFromJSON(body);
        QCOMPARE(r->RawJSON(), body);
        QCOMPARE(r->JObj() != nullptr, hasObject);
        QCOMPARE(r->Error() != nullptr, hasError);
        QCOMPARE(r->Token(), token);
        // Setting a new body replaces everything parsed from the old one.
        r->SetRawJSON(R"({"id":"tok_new"})");
        QVERIFY(!r->Error());
        QCOMPARE(r->Token(), QStringLiteral("tok_new"));
    }

    void errorMembers() {
        auto r = TzovPayment_Stripe_Data_BaseResponse::CreateFromJSON(
            R"({"error":{"code":42,"doc_url":null,"message":{"x":1},"param":"number","type":"card_error"}})");
        QVERIFY(r->Error());
        // A member of the wrong kind leaves only its own field empty.
        QCOMPARE(r->Error()->Code(), QStringLiteral("42"));
        QCOMPARE(r->Error()->DocUrl(), QString());
        QCOMPARE(r->Error()->AMessage(), QString());
        QCOMPARE(r->Error()->Param(), QStringLiteral("number"));
        QCOMPARE(r->Error()->AType(), QStringLiteral("card_error"));
        QVERIFY(!TzovPayment_Stripe_Data_ErrorResponse::CreateFromJSON(nullptr));
        const QJsonObject noError{{"id", "x"}};
        QVERIFY(!TzovPayment_Stripe_Data_ErrorResponse::CreateFromJSON(&noError));
    }

    void chargeReply_data() {
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("id");
        QTest::addColumn<int>("amount");
        QTest::addColumn<bool>("paid");
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("receiptUrl");
        QTest::newRow("success") << KChargeOk << true << "ch_1" << 500 << true << "succeeded"
                                 << "https://pay.example/r/1";
        QTest::newRow("amount as text, id as number")
            << R"({"id":77,"amount":"250","paid":false,"status":"pending","payment_method":null,"receipt_email":null,"receipt_url":null,"failure_message":"x"})"
            << true << "77" << 250 << false << "pending"
            << "";
        QTest::newRow("status absent") << R"({"id":"ch_2","amount":500,"paid":true,"receipt_url":"u"})"
                                       << false << "ch_2" << 500 << true << ""
                                       << "";
        QTest::newRow("amount null") << R"({"id":"ch_3","amount":null,"paid":true,"status":"s"})" << false
                                     << "ch_3" << 0 << false << ""
                                     << "";
        QTest::newRow("amount fraction")
            << R"({"id":"ch_4","amount":1.5,"paid":true})" << false << "ch_4" << 0 << false << ""
            << "";
        QTest::newRow("paid as text")
            << R"({"id":"ch_5","amount":5,"paid":"true","status":"s"})" << false << "ch_5" << 5 << false << ""
            << "";
        QTest::newRow("status array")
            << R"({"id":"ch_6","amount":5,"paid":true,"status":[]})" << false << "ch_6" << 5 << true << ""
            << "";
        QTest::newRow("error reply")
            << R"({"id":"ch_7","amount":5,"error":{"message":"Your card was declined."}})" << false << "" << 0
            << false << ""
            << "";
        QTest::newRow("not JSON") << "oops" << false << "" << 0 << false << ""
                                  << "";
    }
    void chargeReply() {
        QFETCH(QString, body);
        QFETCH(bool, complete);
        QFETCH(QString, id);
        QFETCH(int, amount);
        QFETCH(bool, paid);
        QFETCH(QString, status);
        QFETCH(QString, receiptUrl);
        TzovPayment_Stripe_Data_CreateChargeResponse r;
        r.SetRawJSON(body);
        QCOMPARE(r.ReadResponseFields(), complete);
        QCOMPARE(r.ID(), id);
        QCOMPARE(r.Amount(), amount);
        QCOMPARE(r.Paid(), paid);
        QCOMPARE(r.Status(), status);
        QCOMPARE(r.ReceiptUrl(), receiptUrl);
    }

    void chargeRecordFromReply() {
        TClock::SetFixedUTC(KStamp);
        auto reply = TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(KChargeOk);
        TzovPayment_Data_ChargeSuccessful charge(*reply);
        QCOMPARE(charge.ID(), QStringLiteral("Stripe ID: ch_1"));
        QCOMPARE(charge.Amount(), 500);
        QCOMPARE(charge.ReceiptUrl(), QStringLiteral("https://pay.example/r/1"));
        QCOMPARE(charge.CreatedUTC(), KStamp);
        QCOMPARE(charge.NodeName(), QStringLiteral("payment_charge_succssful"));
        QCOMPARE(TzovPayment_Data_ChargeSuccessful("id", 1, "").CreatedUTC(), KStamp);

        // Written and found again under the same (so spelled) element name.
        const QString xml = PlainXml(charge);
        QVERIFY(xml.contains(QStringLiteral("<payment_charge_succssful ")));
        TzovPayment_Data_ChargeSuccessful back;
        QVERIFY(back.LoadFrom_String(xml.toUtf8()));
        QCOMPARE(back.ID(), charge.ID());
    }

    void replyXmlOverridesJson() {
        // Values stored as attributes win over those parsed from the stored body.
        const QByteArray xml =
            R"(<r><stripe_charge_response id="ch_saved" amount="900"><json>{"id":"ch_json","amount":5}</json></stripe_charge_response></r>)";
        TzovPayment_Stripe_Data_CreateChargeResponse r;
        QVERIFY(r.LoadFrom_String(xml));
        QCOMPARE(r.ID(), QStringLiteral("ch_saved"));
        QCOMPARE(r.Amount(), 900);
        QVERIFY(r.JObj());
    }

    void roundTrips() {
        TClock::SetFixedUTC(KStamp);
        {
            TDO_Config_Payment a, b;
            a.SetProcessor(TzovPaymentProcessor::ppStripeTest);
            a.SetCreateEvent_FeeInCents(1234);
            a.SetCreateEvent_Description("Event & fee");
            a.SetUploadFile_FeeInCents(-5);
            a.SetUploadFile_Description("Upload <fee>");
            a.SetCouponServerBaseURL(" https://coupon.example/ ");
            QVERIFY(!RoundTrip(a, b).isEmpty());
            QCOMPARE(int(b.Processor()), int(a.Processor()));
            QCOMPARE(b.CreateEvent_FeeInCents(), 1234);
            QCOMPARE(b.CreateEvent_Description(), a.CreateEvent_Description());
            QCOMPARE(b.UploadFile_FeeInCents(), -5);
            QCOMPARE(b.UploadFile_Description(), a.UploadFile_Description());
            QCOMPARE(b.CouponServerBaseURL(), QStringLiteral("https://coupon.example/"));
        }
        {
            TzovPayment_Data_PaymentRequirements a(TzovPaymentProcessor::ppStripeLive, 500, "Fee"), b;
            QVERIFY(a.IsValid());
            QVERIFY(!RoundTrip(a, b).isEmpty());
            QCOMPARE(int(b.PaymentProcessor()), int(TzovPaymentProcessor::ppStripeLive));
            QCOMPARE(b.ProductAmount_inCents(), 500);
            QCOMPARE(b.ProductDescription(), QStringLiteral("Fee"));
            QVERIFY(b.IsValid());
        }
        {
            auto a = TzovPayment_Data_BillingAddress::CreateTest();
            TzovPayment_Data_BillingAddress b;
            QVERIFY(!RoundTrip(*a, b).isEmpty());
            QCOMPARE(b.Name(), a->Name());
            QCOMPARE(b.Address1(), a->Address1());
            QCOMPARE(b.Address2(), a->Address2());
            QCOMPARE(b.City(), a->City());
            QCOMPARE(b.State(), a->State());
            QCOMPARE(b.Zip(), a->Zip());
            QCOMPARE(b.Country(), a->Country());
            QCOMPARE(b.EMail(), a->EMail());
        }
        {
            TzovPayment_Stripe_Data_CardInformation a("4000 0566", "3", "2031", "042"), b;
            QVERIFY(!RoundTrip(a, b).isEmpty());
            QCOMPARE(b.Number(), QStringLiteral("4000 0566"));
            QCOMPARE(b.ExpMonth(), QStringLiteral("03"));
            QCOMPARE(b.ExpYear(), QStringLiteral("2031"));
            QCOMPARE(b.CVC(), QStringLiteral("042"));
        }
        {
            TzovPayment_Data_ChargeSuccessful a(KStamp, "Stripe ID: ch_1", 500,
                                                "https://pay.example/r?a=1&b=2"),
                b;
            QVERIFY(!RoundTrip(a, b).isEmpty());
            QCOMPARE(b.CreatedUTC(), KStamp);
            QCOMPARE(b.ID(), a.ID());
            QCOMPARE(b.Amount(), 500);
            QCOMPARE(b.ReceiptUrl(), a.ReceiptUrl());
        }
        {
            auto a = TzovPayment_Stripe_Data_CreateCardResponse::CreateFromJSON(
                R"({"error":{"code":"c","doc_url":"d","message":"m","param":"p","type":"t"}})");
            TzovPayment_Stripe_Data_CreateCardResponse b;
            QVERIFY(!RoundTrip(*a, b).isEmpty());
            QCOMPARE(b.RawJSON(), a->RawJSON());
            QVERIFY(b.Error());
            QCOMPARE(b.Error()->Code(), QStringLiteral("c"));
            QCOMPARE(b.Error()->DocUrl(), QStringLiteral("d"));
            QCOMPARE(b.Error()->AMessage(), QStringLiteral("m"));
            QCOMPARE(b.Error()->Param(), QStringLiteral("p"));
            QCOMPARE(b.Error()->AType(), QStringLiteral("t"));
            QCOMPARE(b.Token(), QString());

            TzovPayment_Stripe_Data_ErrorResponse e(*a->JObj()), e2;
            QVERIFY(!RoundTrip(e, e2).isEmpty());
            QCOMPARE(e2.AMessage(), QStringLiteral("m"));
            QCOMPARE(e2.AType(), QStringLiteral("t"));
        }
        {
            auto a = TzovPayment_Stripe_Data_CreateCardResponse::CreateFromJSON(R"({"id":"tok_9"})");
            TzovPayment_Stripe_Data_CreateCardResponse b;
            QVERIFY(!RoundTrip(*a, b).isEmpty());
            QCOMPARE(b.Token(), QStringLiteral("tok_9"));
            QVERIFY(!b.Error());
        }
        {
            auto a = TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(KChargeOk);
            a->SetFailureMsg("none");
            TzovPayment_Stripe_Data_CreateChargeResponse b;
            QVERIFY(!RoundTrip(*a, b).isEmpty());
            QCOMPARE(b.RawJSON(), a->RawJSON().trimmed());
            QCOMPARE(b.ID(), a->ID());
            QCOMPARE(b.Amount(), a->Amount());
            QCOMPARE(b.Paid(), a->Paid());
            QCOMPARE(b.Status(), a->Status());
            QCOMPARE(b.PaymentMethod(), a->PaymentMethod());
            QCOMPARE(b.ReceiptEmail(), a->ReceiptEmail());
            QCOMPARE(b.ReceiptUrl(), a->ReceiptUrl());
            QCOMPARE(b.FailureMsg(), QStringLiteral("none"));
        }
    }

    void duplicate() {
        // From another class: defaults and the record's own element name stay.
        TDO_Config_Payment cfg;
        cfg.SetCreateEvent_FeeInCents(9);
        cfg.Duplicate(TzovPayment_Data_BillingAddress());
        QCOMPARE(cfg.CreateEvent_FeeInCents(), 500);
        QCOMPARE(cfg.NodeName(), QStringLiteral("payment_processing"));

        TzovPayment_Data_ChargeSuccessful charge(KStamp, "x", 5, "u");
        charge.Duplicate(TzovPayment_Data_PaymentRequirements());
        QCOMPARE(charge.ID(), QString());
        QCOMPARE(charge.Amount(), 0);
        QCOMPARE(charge.NodeName(), QStringLiteral("payment_charge_succssful"));

        // A reply copy re-parses the body and owns its own parsed objects.
        auto src = TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(KChargeOk);
        src->SetStatus("edited");
        TzovPayment_Stripe_Data_CreateChargeResponse copy(*src);
        src->SetRawJSON("{}");
        QVERIFY(copy.JObj());
        QCOMPARE(copy.ID(), QStringLiteral("ch_1"));
        QCOMPARE(copy.Status(), QStringLiteral("edited"));

        TzovPayment_Stripe_Data_CreateCardResponse card;
        card.SetRawJSON(R"({"id":"tok"})");
        card.Duplicate(*src);
        QCOMPARE(card.RawJSON(), QStringLiteral("{}"));
        QCOMPARE(card.NodeName(), QStringLiteral("stripe_response_create_card"));
    }

    void writtenOrder() {
        TzovPayment_Data_BillingAddress a("n", "a1", "a2", "c", "s", "z", "co", "e");
        const QString xml = PlainXml(a);
        const QStringList names{"<name>",  "<address1>", "<address2>", "<city>",
                                "<state>", "<zip>",      "<country>",  "<email>"};
        qsizetype last = -1;
        for (const QString &n : names) {
            const qsizetype p = xml.indexOf(n);
            QVERIFY2(p > last, qPrintable(n));
            last = p;
        }
    }
};

QTEST_GUILESS_MAIN(TestPayment)
#include "tst_payment.moc"
