// Coupon records and the HTML receipt: normal forms, validity, tokens, expiry, saves and loads, escaping.
#include "crypto/TzovCryptoTool.h"
#include "data/TDO_CouponCode.h"
#include "data/TDO_Coupon_Entry.h"
#include "data/TDO_Coupon_HtmlTool.h"
#include "data/TDO_Coupon_Redeemer.h"
#include "data/TDO_Coupon_Request.h"
#include "data/TDO_Coupon_Transaction.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QtTest>

#include <set>

namespace {

using TKind = TDO_Coupon_Redeemer::TInstitutionKind;
using TAction = TDO_Coupon_Request::TAction;

const TDateTime KStamp = TDateTime::Encode(2024, 3, 5, 15, 4, 5);

template <class T> bool RoundTrip(const T &ASrc, T &ADst) {
    QBuffer buf;
    buf.open(QIODevice::ReadWrite);
    if (!ASrc.SaveTo_Stream(&buf, TzovCryptoTool::NetworkStartCode()))
        return false;
    // Really encrypted: the element names must not show.
    if (buf.data().contains(ASrc.NodeName().toUtf8()))
        return false;
    buf.seek(0);
    return ADst.LoadFrom_Stream(&buf, TzovCryptoTool::NetworkStartCode());
}

void FillRedeemer(TDO_Coupon_Redeemer &R, const QString &ASuffix) {
    R.SetInstitutionName("Springfield " + ASuffix);
    R.SetInstitutionKind(TKind::ikGovernment);
    R.SetState("IL" + ASuffix);
    R.SetZip("62701" + ASuffix);
    R.SetCountry("US" + ASuffix);
}

void CompareRedeemer(const TDO_Coupon_Redeemer &A, const TDO_Coupon_Redeemer &B) {
    QCOMPARE(A.InstitutionName(), B.InstitutionName());
    QCOMPARE(int(A.InstitutionKind()), int(B.InstitutionKind()));
    QCOMPARE(A.State(), B.State());
    QCOMPARE(A.Zip(), B.Zip());
    QCOMPARE(A.Country(), B.Country());
}

void FillTransaction(TDO_Coupon_Transaction &T) {
    T.SetCreatedUTC(KStamp);
    T.SetToken(TDO_Coupon_Transaction::NewToken() + ";second;third");
    T.CouponCode().SetCode("ABCD EFGH 1234");
    FillRedeemer(T.Redeemer(), "T");
    T.SetRedeemedFor(TProductID::pidUploadFile);
    T.SetRedeemedNotes("line one\r\nline two");
    T.SetEventCode("EVT-1");
    T.SetExamineeID("S 42");
}

void CompareTransaction(const TDO_Coupon_Transaction &A, const TDO_Coupon_Transaction &B) {
    QCOMPARE(A.CreatedUTC(), B.CreatedUTC());
    QCOMPARE(A.Token(), B.Token());
    QCOMPARE(A.CouponCode().Code(), B.CouponCode().Code());
    CompareRedeemer(A.Redeemer(), B.Redeemer());
    QCOMPARE(int(A.RedeemedFor()), int(B.RedeemedFor()));
    QCOMPARE(A.RedeemedNotes(), B.RedeemedNotes());
    QCOMPARE(A.EventCode(), B.EventCode());
    QCOMPARE(A.ExamineeID(), B.ExamineeID());
}

} // namespace

class TestCoupon : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TClock::Reset(); }

    void codeForms_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("pretty");
        QTest::addColumn<QString>("prefix");
        QTest::addColumn<QString>("suffix");
        QTest::newRow("typed in groups") << " abcd efgh 12 "
                                         << "ABCDEFGH12"
                                         << "ABCD EFGH 12"
                                         << "ABCDEF"
                                         << "GH12";
        QTest::newRow("multiple of four") << "abcdefgh"
                                          << "ABCDEFGH"
                                          << "ABCD EFGH"
                                          << "ABCDEF"
                                          << "GH";
        QTest::newRow("short") << "ab1"
                               << "AB1"
                               << "AB1"
                               << "AB1"
                               << "";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("only a-z upper-cased") << "äb-c"
                                              << "äB-C"
                                              << "äB-C"
                                              << "äB-C"
                                              << "";
    }
    void codeForms() {
        QFETCH(QString, input);
        QFETCH(QString, code);
        QFETCH(QString, pretty);
        QFETCH(QString, prefix);
        QFETCH(QString, suffix);
        TDO_CouponCode c(input);
        QCOMPARE(c.Code(), code);
        QCOMPARE(c.Code_Pretty(), pretty);
        QCOMPARE(c.Code_Prefix(), prefix);
        QCOMPARE(c.Code_Suffix(), suffix);
        QCOMPARE(c.IsValid(), !code.isEmpty());
        QCOMPARE(c.RecommendedStorageFilename(), prefix + ".xml");
        QCOMPARE(TDO_CouponCode::PrettifyCode(input), pretty);
    }

    void generate() {
        std::set<QString> seen;
        for (int i = 0; i < 8; ++i) {
            auto c = TDO_CouponCode::Generate("tvx");
            QVERIFY2(QRegularExpression("^TVX\\d{6}$").match(c->Code()).hasMatch(), qPrintable(c->Code()));
            QVERIFY(c->Code() != "TVX000000" && c->Code() != "TVX999999");
            seen.insert(c->Code());
        }
        QVERIFY(seen.size() > 1);
    }

    void institutionKind_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("kind");
        QTest::newRow("exact") << "Law School" << int(TKind::ikLawSchool);
        QTest::newRow("other case") << "university/TERTIARY" << int(TKind::ikTertiary);
        QTest::newRow("last") << "Other/Unspecified" << int(TKind::ikUnspecified);
        QTest::newRow("placeholder item") << "-" << int(TKind::ikInvalid);
        QTest::newRow("empty") << "" << int(TKind::ikInvalid);
    }
    void institutionKind() {
        QFETCH(QString, text);
        QFETCH(int, kind);
        QCOMPARE(int(TDO_Coupon_Redeemer::InstitutionKind_FromString(text)), kind);
        if (kind != int(TKind::ikInvalid))
            QCOMPARE(TDO_Coupon_Redeemer::InstitutionKind_ToString(TKind(kind)).toLower(), text.toLower());
    }

    void redeemerReason_data() {
        QTest::addColumn<QString>("blank");
        QTest::addColumn<QString>("reason");
        QTest::newRow("complete") << ""
                                  << "";
        QTest::newRow("name and country") << "name,country"
                                          << "Institution name is required";
        QTest::newRow("state") << "state"
                               << "State (provence) is required";
        QTest::newRow("zip and country") << "zip,country"
                                         << "Zip (postal code) is required";
        QTest::newRow("country") << "country"
                                 << "Country is required";
        QTest::newRow("kind only") << "kind"
                                   << "Institution kind is required";
    }
    void redeemerReason() {
        QFETCH(QString, blank);
        QFETCH(QString, reason);
        auto r = TDO_Coupon_Redeemer::CreateTest();
        for (const QString &f : blank.split(',', Qt::SkipEmptyParts)) {
            if (f == "name")
                r->SetInstitutionName("  ");
            else if (f == "state")
                r->SetState("");
            else if (f == "zip")
                r->SetZip("");
            else if (f == "country")
                r->SetCountry("\t");
            else
                r->SetInstitutionKind(TKind::ikInvalid);
        }
        QCOMPARE(r->InvalidReason(), reason);
        QCOMPARE(r->IsValid(), reason.isEmpty());
    }

    void requestValidity_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("code");
        QTest::addColumn<bool>("redeemer");
        QTest::addColumn<bool>("transaction");
        QTest::addColumn<QString>("reason");
        QTest::newRow("create ok") << int(TAction::raCreateTransaction) << true << true << false << "";
        QTest::newRow("create no code")
            << int(TAction::raCreateTransaction) << false << true << false << "Coupon code invalid";
        QTest::newRow("create both bad")
            << int(TAction::raCreateTransaction) << false << false << false << "Institution name is required";
        QTest::newRow("redeem ok") << int(TAction::raRedeemTransaction) << false << false << true << "";
        QTest::newRow("redeem missing")
            << int(TAction::raRedeemTransaction) << true << true << false << "Transaction invalid or missing";
        QTest::newRow("none") << int(TAction::raNone) << true << true << true << "Request is invalid";
    }
    void requestValidity() {
        QFETCH(int, action);
        QFETCH(bool, code);
        QFETCH(bool, redeemer);
        QFETCH(bool, transaction);
        QFETCH(QString, reason);
        TDO_Coupon_Request r;
        r.SetAction(TAction(action));
        if (code)
            r.CouponCode().SetCode("ABC123");
        if (redeemer)
            r.Redeemer().Duplicate(*TDO_Coupon_Redeemer::CreateTest());
        if (transaction)
            r.Transaction().Duplicate(TDO_Coupon_Transaction("ABC123", TProductID::pidCreateEvent));
        QCOMPARE(r.InvalidReason(), reason);
        QCOMPARE(r.IsValid(), reason.isEmpty());
    }

    void actionAndProductTexts() {
        QCOMPARE(int(TDO_Coupon_Request::Action_FromString("create TRANSACTION")),
                 int(TAction::raCreateTransaction));
        QCOMPARE(int(TDO_Coupon_Request::Action_FromString("Redeem")), int(TAction::raNone));
        QCOMPARE(TDO_Coupon_Request::Action_ToString(TAction::raNone), QString());
        QCOMPARE(int(ProductID_FromString("upload file")), int(TProductID::pidUploadFile));
        QCOMPARE(int(ProductID_FromString("None")), int(TProductID::pidNone));
        QCOMPARE(int(ProductID_FromString("Event")), int(TProductID::pidNone));
        QCOMPARE(ProductID_DefaultDescription(TProductID::pidAny), QString());
    }

    void transactionToken() {
        TClock::SetFixedUTC(KStamp);
        TDO_Coupon_Transaction a(" abc 123 ", TProductID::pidCreateEvent), b("X", TProductID::pidAny);
        static const QRegularExpression guid(
            "^\\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\\}$");
        QVERIFY2(guid.match(a.Token()).hasMatch(), qPrintable(a.Token()));
        QVERIFY(a.Token() != b.Token());
        QCOMPARE(a.CouponCode().Code(), QStringLiteral("ABC123"));
        QCOMPARE(int(a.RedeemedFor()), int(TProductID::pidCreateEvent));
        QCOMPARE(a.CreatedUTC(), KStamp);
        QVERIFY(a.IsValid());
        QVERIFY(!TDO_Coupon_Transaction().IsValid());
    }

    void transactionExpiry() {
        TClock::SetFixedUTC(KStamp);
        // Read without "created_utc": the reading time.
        TDO_Coupon_Transaction t;
        TClock::SetFixedUTC(KStamp.AddMinutes(30));
        QVERIFY(t.LoadFrom_String(QStringLiteral("<Tavix><coupon_transaction transaction_id=\"x\"/></Tavix>"),
                                  QString()));
        QCOMPARE(t.CreatedUTC(), KStamp.AddMinutes(30));
        QVERIFY(!t.IsExpired(0));
        TClock::SetFixedUTC(KStamp.AddMinutes(30).AddMSecs(1));
        QVERIFY(t.IsExpired(0));
        QVERIFY(!t.IsExpired(1));
        TClock::SetFixedUTC(KStamp.AddMinutes(32));
        QVERIFY(t.IsExpired(1));
    }

    void entryExpiry() {
        TClock::SetFixedUTC(KStamp);
        TDO_Coupon_Entry e;
        QVERIFY(!e.IsExpired());
        e.SetExpirationUTC(TDateTime::FromMSecs(-5));
        QCOMPARE(e.ExpirationUTC(), TDateTime());
        QVERIFY(!e.IsExpired());
        e.SetExpirationUTC(KStamp.AddSeconds(-1));
        QVERIFY(e.IsExpired());
        e.SetExpirationUTC(KStamp.AddSeconds(1));
        QVERIFY(!e.IsExpired());
    }

    void roundTrips() {
        TClock::SetFixedUTC(KStamp.AddDays(3));
        {
            TDO_CouponCode a("q1w2 e3r4"), b;
            QVERIFY(RoundTrip(a, b));
            QCOMPARE(b.Code(), a.Code());
        }
        {
            TDO_Coupon_Redeemer a, b;
            FillRedeemer(a, " & <x>");
            QVERIFY(RoundTrip(a, b));
            CompareRedeemer(a, b);
        }
        {
            TDO_Coupon_Transaction a, b;
            FillTransaction(a);
            QVERIFY(RoundTrip(a, b));
            CompareTransaction(a, b);
        }
        {
            TDO_Coupon_Entry a, b;
            a.CouponCode().SetCode("ENTRY0001");
            a.SetUsesRemaining(17);
            a.SetExpirationUTC(KStamp);
            a.SetProductID(TProductID::pidAny);
            QVERIFY(RoundTrip(a, b));
            QCOMPARE(b.CouponCode().Code(), a.CouponCode().Code());
            QCOMPARE(b.UsesRemaining(), 17);
            QCOMPARE(b.ExpirationUTC(), KStamp);
            QCOMPARE(int(b.ProductID()), int(TProductID::pidAny));
        }
        {
            TDO_Coupon_Request a, b;
            a.SetAction(TAction::raRedeemTransaction);
            a.CouponCode().SetCode("REQ-CODE");
            FillTransaction(a.Transaction());
            FillRedeemer(a.Redeemer(), "R");
            QVERIFY(RoundTrip(a, b));
            QCOMPARE(int(b.Action()), int(TAction::raRedeemTransaction));
            // The request's code and the transaction's code are separate children of the same name.
            QCOMPARE(b.CouponCode().Code(), QStringLiteral("REQ-CODE"));
            CompareTransaction(a.Transaction(), b.Transaction());
            CompareRedeemer(a.Redeemer(), b.Redeemer());
        }
    }

    void duplicate() {
        TClock::SetFixedUTC(KStamp);
        TDO_Coupon_Transaction t;
        FillTransaction(t);
        TDO_Coupon_Transaction copy(t);
        CompareTransaction(t, copy);
        t.Duplicate(TDO_Coupon_Entry());
        QCOMPARE(t.Token(), QString());
        QCOMPARE(t.CouponCode().Code(), QString());
        QCOMPARE(t.Redeemer().InstitutionName(), QString());
        QCOMPARE(t.NodeName(), QStringLiteral("coupon_transaction"));

        // Copies carry values, not the change handler.
        int fired = 0;
        TDO_Coupon_Redeemer r;
        r.OnChanged = [&](TDOX_Base *) { ++fired; };
        r.SetZip("1");
        QCOMPARE(fired, 0);
        r.Trigger_OnChanged();
        QCOMPARE(fired, 1);
        TDO_Coupon_Redeemer r2(r);
        r2.Trigger_OnChanged();
        QCOMPARE(fired, 1);
        QCOMPARE(r2.Zip(), QStringLiteral("1"));
    }

    void receiptEvent() {
        TDO_Coupon_HtmlTool tool;
        const QStringList doc =
            tool.ReceiptFor_CreateEvent("{AB};coupon ABC;extra", "2024/03/05 - 3:04:05 PM", "Tom & Jerry",
                                        "<b>EVT</b>", "p\"w'd", "0042");
        QCOMPARE(doc.size(), 1);
        const QString html = doc.first();
        QVERIFY(!html.contains("{{"));
        QVERIFY(html.contains("<br>Event Name: Tom &amp; Jerry\r\n"));
        QVERIFY(html.contains("<br>Event Code: &lt;b&gt;EVT&lt;/b&gt;\r\n"));
        QVERIFY(!html.contains("<b>EVT"));
        QVERIFY(html.contains("<br>Password:          p&quot;w'd\r\n"));
        QVERIFY(html.contains("<br>Accommodation PIN: 0042\r\n"));
        // A value that looks like a placeholder is shown as typed, never expanded a second time.
        const QString injected =
            tool.ReceiptFor_CreateEvent("T", "d", "{{PASSWORD}}", "E", "secret", "1").first();
        QVERIFY(injected.contains("<br>Event Name: {{PASSWORD}}\r\n"));
        QCOMPARE(injected.count("secret"), 1);
        QVERIFY(html.contains(">{AB}<br>coupon ABC;extra<"));
        QVERIFY(html.contains("2024/03/05 - 3:04:05 PM"));
        QVERIFY(html.contains(">Coupon<"));
        QVERIFY(html.contains("Tavix Event Fee"));
        QVERIFY(!html.contains("Exam ID:"));
        QVERIFY(!html.contains("Received:"));
        QVERIFY(!html.contains("EVALUATION MODE UPLOAD"));
        QVERIFY(html.startsWith("<!DOCTYPE html>\r\n<!-- saved from url="));
        QVERIFY(html.endsWith("</body></html>\r\n"));
        QVERIFY(html.contains("<title>Your Quenmark receipt</title>"));
        QVERIFY(html.contains("Receipt from Quenmark"));
        QCOMPARE(html.count("data:image/"), 3);
    }

    void receiptEscaping_data() {
        QTest::addColumn<QString>("token");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("tokenHtml");
        QTest::addColumn<QString>("nameHtml");
        QTest::newRow("markup") << "T1"
                                << "<b>"
                                << "T1"
                                << "&lt;b&gt;";
        QTest::newRow("ampersand in token before ;") << "A&B;C"
                                                     << "Tom & Jerry"
                                                     << "A&amp;B<br>C"
                                                     << "Tom &amp; Jerry";
        QTest::newRow("markup in token") << "<i>;x"
                                         << "a"
                                         << "&lt;i&gt;<br>x"
                                         << "a";
        QTest::newRow("no ;") << "plain"
                              << "\"q\""
                              << "plain"
                              << "&quot;q&quot;";
    }
    void receiptEscaping() {
        QFETCH(QString, token);
        QFETCH(QString, name);
        QFETCH(QString, tokenHtml);
        QFETCH(QString, nameHtml);
        TDO_Coupon_HtmlTool tool;
        const QString html =
            tool.ReceiptFor_UploadFile(token, "d", name, "E1", "S<1>", "answer & notes.pdf (12 KB)", "now")
                .first();
        QVERIFY2(html.contains("<td class=\"subtitle\">" + tokenHtml + "</td>"), qPrintable(tokenHtml));
        QVERIFY(html.contains("<br>Event Name: " + nameHtml + "\r\n"));
        QVERIFY(html.contains("<br>Exam ID:    S&lt;1&gt;\r\n"));
        QVERIFY(html.contains("<br>File:       answer &amp; notes.pdf (12 KB)\r\n"));
        QVERIFY(html.contains("<br>Received:   now\r\n"));
        QVERIFY(html.contains("Tavix Upload Fee"));
        QVERIFY(!html.contains("Password:"));
        QVERIFY(!html.contains("Accommodation PIN:"));
        QVERIFY(!html.contains("EVALUATION MODE UPLOAD"));
        QVERIFY(!html.contains("{{"));
    }

    void templateShape() {
        const QString eval = TDO_Coupon_HtmlTool::Template(TProductID::pidUploadFile, true);
        QVERIFY(eval.contains("<br>Received:   {{UPLOADED}}\r\n\r\n<br>EVALUATION MODE UPLOAD\r\n"));
        const QString other = TDO_Coupon_HtmlTool::Template(TProductID::pidAny, false);
        QVERIFY(other.contains("<br>Event Code: {{EVENT_CODE}}\r\n\r\n</td>"));
        QVERIFY(other.contains("<!-- item -->\r\n"));
        QVERIFY(other.contains("<!-- /item -->\r\n"));
        QVERIFY(other.contains("target=\"_blank\""));
        QVERIFY(!other.contains(QRegularExpression("[^\r]\n")));
    }
};

QTEST_GUILESS_MAIN(TestCoupon)
#include "tst_coupon.moc"
