// Event records: code forms, student order, windows and deadlines, PINs, storage names and the round trip.
#include "crypto/TzovCryptoTool.h"
#include "data/TDO_Event.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QBuffer>
#include <QDir>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {

TDateTime At(int AHour, int AMinute = 0, int ASecond = 0) {
    return TDateTime::Encode(2021, 3, 5, AHour, AMinute, ASecond);
}

std::unique_ptr<TDO_Event_StudentEntry> Student(const QString &AID, int AAccom = 0,
                                                TDateTime ACheckedOut = {}, TDateTime AStart = {},
                                                TDateTime AStop = {}) {
    auto s = std::make_unique<TDO_Event_StudentEntry>();
    s->SetID(AID);
    s->SetPassword(QStringLiteral("pw-") + AID);
    s->SetAccomodation_Time_InMinutes(AAccom);
    s->SetCheckedOutUTC(ACheckedOut);
    s->SetAvailabilityStartUTC(AStart);
    s->SetAvailabilityStopUTC(AStop);
    return s;
}

QStringList IDs(const TDO_Event_StudentList &AList) {
    QStringList ids;
    for (const auto &e : AList.Entries())
        ids << e->ID();
    return ids;
}

void FillEvent(TDO_Event &AEvent) {
    AEvent.SetCreatedUTC(At(9, 15, 30).AddMSecs(0));
    AEvent.SetID(QStringLiteral("abc123x"));
    AEvent.SetName(QStringLiteral("Final <exam> & \"review\"\tpart 2"));
    AEvent.SetPassword(QStringLiteral("secret"));
    AEvent.SetAccommPIN(QStringLiteral("0042"));
    TDO_Event_Covid19 &c = AEvent.Covid19();
    QByteArray doc(70000, '\0');
    for (int i = 0; i < doc.size(); ++i)
        doc[i] = char(i * 7 + 3);
    c.SetResourceFileData(doc);
    c.SetResourceFilename(QStringLiteral("questions.pdf"));
    c.SetResourceAllowSave(true);
    c.SetAvailabilityStartUTC(At(10));
    c.SetAvailabilityStopUTC(At(14));
    c.SetSubmissionDeadlineUTC(At(15));
    c.SetDurationLimit_InMinutes(90);
    c.SetUploadFileExtenstions({QStringLiteral(".pdf"), QStringLiteral(".docx")});
    c.SetUploadKilobyteLimit(2500);
    c.SetUploadCountLimit(3);
    AEvent.Students().AddEntry(Student(QStringLiteral("a1"), 30, At(10, 5), At(11), At(15)));
    AEvent.Students().AddEntry(Student(QStringLiteral("b2")));
    AEvent.PaymentCharge().SetCreatedUTC(At(8));
    AEvent.PaymentCharge().SetID(QStringLiteral("Stripe ID: ch_1"));
    AEvent.PaymentCharge().SetAmount(1999);
    AEvent.PaymentCharge().SetReceiptUrl(QStringLiteral("https://example.invalid/r"));
}

void CompareStudent(const TDO_Event_StudentEntry &A, const TDO_Event_StudentEntry &B) {
    QCOMPARE(A.NodeName(), QStringLiteral("event_student_entry"));
    QCOMPARE(A.ID(), B.ID());
    QCOMPARE(A.Password(), B.Password());
    QCOMPARE(A.Accomodation_Time_InMinutes(), B.Accomodation_Time_InMinutes());
    QCOMPARE(A.CheckedOutUTC(), B.CheckedOutUTC());
    QCOMPARE(A.AvailabilityStartUTC(), B.AvailabilityStartUTC());
    QCOMPARE(A.AvailabilityStopUTC(), B.AvailabilityStopUTC());
}

void CompareEvent(const TDO_Event &A, const TDO_Event &B) {
    QCOMPARE(A.CreatedUTC(), B.CreatedUTC());
    QCOMPARE(A.ID(), B.ID());
    QCOMPARE(A.Name(), B.Name());
    QCOMPARE(A.Password(), B.Password());
    QCOMPARE(A.AccommPIN(), B.AccommPIN());
    const TDO_Event_Covid19 &a = A.Covid19(), &b = B.Covid19();
    QCOMPARE(a.ResourceFileData(), b.ResourceFileData());
    QCOMPARE(a.ResourceFilename(), b.ResourceFilename());
    QCOMPARE(a.ResourceAllowSave(), b.ResourceAllowSave());
    QCOMPARE(a.AvailabilityStartUTC(), b.AvailabilityStartUTC());
    QCOMPARE(a.AvailabilityStopUTC(), b.AvailabilityStopUTC());
    QCOMPARE(a.SubmissionDeadlineUTC(), b.SubmissionDeadlineUTC());
    QCOMPARE(a.DurationLimit_InMinutes(), b.DurationLimit_InMinutes());
    QCOMPARE(a.UploadFileExtenstions(), b.UploadFileExtenstions());
    QCOMPARE(a.UploadKilobyteLimit(), b.UploadKilobyteLimit());
    QCOMPARE(a.UploadCountLimit(), b.UploadCountLimit());
    QCOMPARE(A.Students().Count(), B.Students().Count());
    for (int i = 0; i < A.Students().Count(); ++i)
        CompareStudent(*A.Students().Entries()[size_t(i)], *B.Students().Entries()[size_t(i)]);
    QCOMPARE(A.PaymentCharge().CreatedUTC(), B.PaymentCharge().CreatedUTC());
    QCOMPARE(A.PaymentCharge().ID(), B.PaymentCharge().ID());
    QCOMPARE(A.PaymentCharge().Amount(), B.PaymentCharge().Amount());
    QCOMPARE(A.PaymentCharge().ReceiptUrl(), B.PaymentCharge().ReceiptUrl());
}

bool ReadEventXml(TDO_Event &AEvent, const QByteArray &AInner) {
    QByteArray xml = "<?xml version=\"1.0\"?><Tavix>" + AInner + "</Tavix>";
    QBuffer buf(&xml);
    buf.open(QIODevice::ReadOnly);
    return AEvent.LoadFrom_Stream(&buf, QString());
}

} // namespace

class TestEvent : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { TClock::Reset(); }

    void codeForms_data() {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("normalised");
        QTest::addColumn<QString>("pretty");
        QTest::newRow("blanks around and inside") << " ab c1 23\t"
                                                  << "ABC123"
                                                  << "ABC 123";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("four letters") << "abcd"
                                      << "ABCD"
                                      << "ABC D";
        QTest::newRow("seven") << "abc1234"
                               << "ABC1234"
                               << "ABC 123 4";
        QTest::newRow("exact groups") << "abcdef"
                                      << "ABCDEF"
                                      << "ABC DEF";
        QTest::newRow("only a-z upper-cased") << "\u00e9ab"
                                              << "\u00e9AB"
                                              << "\u00e9AB";
    }
    void codeForms() {
        QFETCH(QString, input);
        QFETCH(QString, normalised);
        QFETCH(QString, pretty);
        TDO_Event e;
        e.SetID(input);
        QCOMPARE(e.ID(), normalised);
        QCOMPARE(e.ID_Pretty(), pretty);
        QCOMPARE(TDO_Event::PrettifyID(input), pretty);
    }

    void studentIDAndPassword() {
        TDO_Event_StudentEntry s;
        s.SetID(QStringLiteral("  12 34 \r\n"));
        QCOMPARE(s.ID(), QStringLiteral("1234"));
        s.SetID(QStringLiteral(" a B "));
        QCOMPARE(s.ID(), QStringLiteral("aB"));
        s.SetPassword(QStringLiteral("Tiger"));
        QVERIFY(s.IsPasswordOK(QStringLiteral("tIGER")));
        QVERIFY(!s.IsPasswordOK(QStringLiteral("tiger2")));
        QVERIFY(!s.IsStarted());
        s.SetAvailabilityStartUTC(At(10));
        QVERIFY(!s.IsDeferred());
        s.SetAvailabilityStopUTC(At(11));
        QVERIFY(s.IsDeferred());
    }

    void findAndAdd() {
        TDO_Event_StudentList list;
        QCOMPARE(list.AddEntry(nullptr), -1);
        QCOMPARE(list.AddEntry(Student(QStringLiteral("Ann"))), 0);
        QCOMPARE(list.AddEntry(Student(QStringLiteral("bob"))), 1);
        auto dup = Student(QStringLiteral("ANN"));
        dup->SetPassword(QString());
        TDO_Event_StudentEntry *dupPtr = dup.get();
        QCOMPARE(list.AddEntry(std::move(dup)), 2);
        // Index gives the last match, entry the first.
        QCOMPARE(list.FindIndex(QStringLiteral("ann")), 2);
        QCOMPARE(list.FindEntry(QStringLiteral("ann")), list.Entries()[0].get());
        QVERIFY(list.FindEntry(QStringLiteral("ann")) != dupPtr);
        QCOMPARE(list.FindIndex(QStringLiteral("carl")), -1);
        QVERIFY(!list.FindEntry(QStringLiteral("carl")));
        QCOMPARE(list.Count_StudentsWithoutPasswords(), 1);
    }

    void sorts_data() {
        QTest::addColumn<QString>("sort");
        QTest::addColumn<bool>("ascending");
        QTest::addColumn<QStringList>("ids");
        QTest::addColumn<QList<int>>("keys"); // accommodation, or minutes after 10:00 (-1: unset)
        QTest::addColumn<QStringList>("expected");
        const QList<int> none{0, 0, 0};
        QTest::newRow("numeric ids by value")
            << "id" << true << QStringList{"10", "9", "100"} << none << QStringList{"9", "10", "100"};
        QTest::newRow("numeric descending")
            << "id" << false << QStringList{"10", "9", "100"} << none << QStringList{"100", "10", "9"};
        QTest::newRow("one text id: text order")
            << "id" << true << QStringList{"10", "9", "x"} << none << QStringList{"10", "9", "x"};
        QTest::newRow("-1 is not numeric")
            << "id" << true << QStringList{"10", "-1", "9"} << none << QStringList{"-1", "10", "9"};
        QTest::newRow("text folds a-z")
            << "id" << true << QStringList{"b", "C", "a"} << none << QStringList{"a", "b", "C"};
        QTest::newRow("far-apart integers") << "id" << true << QStringList{"2147483647", "-2147483647", "0"}
                                            << none << QStringList{"-2147483647", "0", "2147483647"};
        QTest::newRow("equal ids: smaller accommodation first")
            << "id" << true << QStringList{"7", "7", "7"} << QList<int>{30, 0, 10}
            << QStringList{"7:0", "7:10", "7:30"};
        QTest::newRow("equal ids descending: smaller accommodation last")
            << "id" << false << QStringList{"7", "7", "7"} << QList<int>{30, 0, 10}
            << QStringList{"7:30", "7:10", "7:0"};
        QTest::newRow("accommodated, ids break ties") << "accom" << true << QStringList{"c", "a", "b"}
                                                      << QList<int>{5, 20, 5} << QStringList{"b", "c", "a"};
        QTest::newRow("checked out, unset first") << "checkout" << true << QStringList{"a", "b", "c"}
                                                  << QList<int>{30, -1, 10} << QStringList{"b", "c", "a"};
        QTest::newRow("deferral descending") << "deferral" << false << QStringList{"a", "b", "c"}
                                             << QList<int>{30, -1, 10} << QStringList{"a", "c", "b"};
    }
    void sorts() {
        QFETCH(QString, sort);
        QFETCH(bool, ascending);
        QFETCH(QStringList, ids);
        QFETCH(QList<int>, keys);
        QFETCH(QStringList, expected);
        TDO_Event_StudentList list;
        for (int i = 0; i < ids.size(); ++i) {
            const int k = keys[i];
            const TDateTime when = k < 0 ? TDateTime() : At(10).AddMinutes(k);
            auto s =
                Student(ids[i], sort == "id" || sort == "accom" ? k : 0,
                        sort == "checkout" ? when : TDateTime(), sort == "deferral" ? when : TDateTime());
            list.AddEntry(std::move(s));
        }
        if (sort == "id")
            list.Sort_ByID(ascending);
        else if (sort == "accom")
            list.Sort_ByAccomodated(ascending);
        else if (sort == "checkout")
            list.Sort_ByCheckedOutDTS(ascending);
        else
            list.Sort_ByDeferralDTS(ascending);
        QStringList got;
        for (const auto &e : list.Entries())
            got << (expected.first().contains(u':')
                        ? e->ID() + u':' + QString::number(e->Accomodation_Time_InMinutes())
                        : e->ID());
        QCOMPARE(got, expected);
    }

    void readSortsAndKeepsDefaults() {
        TDO_Event e;
        QVERIFY(ReadEventXml(e, "<event id=\" ab c \"><event_students><entries>"
                                "<event_student_entry exam_id=\"b\"/><event_student_entry exam_id=\"a\"/>"
                                "</entries></event_students></event>"));
        QCOMPARE(IDs(e.Students()), (QStringList{"a", "b"}));
        // Stored values are taken as they are, not through the normalising setter.
        QCOMPARE(e.ID(), QStringLiteral(" ab c "));
        QCOMPARE(e.Covid19().UploadKilobyteLimit(), 1000);
        QCOMPARE(e.Covid19().UploadCountLimit(), 1);

        FillEvent(e);
        QVERIFY(ReadEventXml(e, "<event name=\"n\"/>"));
        QCOMPARE(e.Students().Count(), 0);
        QCOMPARE(e.Name(), QStringLiteral("n"));
        QVERIFY(e.Covid19().ResourceFileData().isEmpty());
        QVERIFY(e.Covid19().UploadFileExtenstions().isEmpty());
        QCOMPARE(e.PaymentCharge().Amount(), 0);
    }

    void availability_data() {
        QTest::addColumn<TDateTime>("start");
        QTest::addColumn<TDateTime>("stop");
        QTest::addColumn<TDateTime>("now");
        QTest::addColumn<bool>("available");
        QTest::newRow("no window") << TDateTime() << TDateTime() << At(12) << true;
        QTest::newRow("start only") << At(10) << TDateTime() << At(12) << false;
        QTest::newRow("inside") << At(10) << At(14) << At(12) << true;
        QTest::newRow("at start") << At(10) << At(14) << At(10) << true;
        QTest::newRow("at stop") << At(10) << At(14) << At(14) << true;
        QTest::newRow("one ms after stop") << At(10) << At(14) << At(14).AddMSecs(1) << false;
        QTest::newRow("before start") << At(10) << At(14) << At(9, 59, 59) << false;
    }
    void availability() {
        QFETCH(TDateTime, start);
        QFETCH(TDateTime, stop);
        QFETCH(TDateTime, now);
        QFETCH(bool, available);
        TClock::SetFixedUTC(now);
        TDO_Event_Covid19 c;
        c.SetAvailabilityStartUTC(start);
        c.SetAvailabilityStopUTC(stop);
        QCOMPARE(c.IsAvailable(), available);
    }

    void covidValidity_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<TDateTime>("start");
        QTest::addColumn<TDateTime>("stop");
        QTest::addColumn<bool>("valid");
        QTest::newRow("stop equals start") << "q.pdf" << At(10) << At(10) << true;
        QTest::newRow("stop a second early") << "q.pdf" << At(10) << At(9, 59, 59) << false;
        QTest::newRow("no file name") << "" << At(10) << At(11) << false;
        QTest::newRow("no start") << "q.pdf" << TDateTime() << At(11) << false;
    }
    void covidValidity() {
        QFETCH(QString, name);
        QFETCH(TDateTime, start);
        QFETCH(TDateTime, stop);
        QFETCH(bool, valid);
        TDO_Event e;
        e.SetID(QStringLiteral("abc"));
        e.SetName(QStringLiteral("Exam"));
        e.Covid19().SetResourceFilename(name);
        e.Covid19().SetAvailabilityStartUTC(start);
        e.Covid19().SetAvailabilityStopUTC(stop);
        QCOMPARE(e.Covid19().IsValid(), valid);
        QCOMPARE(e.IsValid(), valid);
    }

    void windowsAndDeadlines_data() {
        QTest::addColumn<int>("duration");
        QTest::addColumn<bool>("hasStudents");
        QTest::addColumn<bool>("giveStudent");
        QTest::addColumn<TDateTime>("checkedOut");
        QTest::addColumn<TDateTime>("ownStart");
        QTest::addColumn<TDateTime>("ownStop");
        QTest::addColumn<int>("accom");
        QTest::addColumn<TDateTime>("deadline");
        const TDateTime n;
        // Event window 09:00 to 17:00.
        QTest::newRow("no limit, event stop") << 0 << true << false << n << n << n << 0 << At(17);
        QTest::newRow("no limit, own stop") << -5 << true << true << n << At(12) << At(18) << 0 << At(18);
        QTest::newRow("limit, no students") << 90 << false << false << n << n << n << 0 << At(17);
        QTest::newRow("limit, event only") << 90 << true << false << n << n << n << 0 << At(9);
        QTest::newRow("checked out with accommodation")
            << 90 << true << true << At(10) << n << n << 30 << At(12);
        QTest::newRow("checked out, no accommodation")
            << 90 << true << true << At(10) << n << n << 0 << At(11, 30);
        QTest::newRow("not started, deferred") << 60 << true << true << n << At(13) << At(15) << 0 << At(14);
        QTest::newRow("not started, event start") << 60 << true << true << n << n << n << -10 << At(10);
    }
    void windowsAndDeadlines() {
        QFETCH(int, duration);
        QFETCH(bool, hasStudents);
        QFETCH(bool, giveStudent);
        QFETCH(TDateTime, checkedOut);
        QFETCH(TDateTime, ownStart);
        QFETCH(TDateTime, ownStop);
        QFETCH(int, accom);
        QFETCH(TDateTime, deadline);
        TDO_Event e;
        e.Covid19().SetAvailabilityStartUTC(At(9));
        e.Covid19().SetAvailabilityStopUTC(At(17));
        e.Covid19().SetDurationLimit_InMinutes(duration);
        QCOMPARE(e.LateCalculationMode(),
                 duration < 1 ? TDO_Event::lcmAFTERAvailabilityStop : TDO_Event::lcmLONGERthanDurationLimit);
        auto s = Student(QStringLiteral("1"), accom, checkedOut, ownStart, ownStop);
        const TDO_Event_StudentEntry *student = giveStudent ? s.get() : nullptr;
        if (hasStudents)
            e.Students().AddEntry(std::move(s));
        QCOMPARE(e.CalculateSubmissionDeadline(student), deadline);
        QCOMPARE(e.CalculateAvailabilityStart(student), ownStart.IsSet() && student ? ownStart : At(9));
        QCOMPARE(e.CalculateAvailabilityStop(student), ownStop.IsSet() && student ? ownStop : At(17));
    }

    void lateModeTexts() {
        for (auto m :
             {TDO_Event::lcmNone, TDO_Event::lcmAFTERAvailabilityStop, TDO_Event::lcmLONGERthanDurationLimit})
            QCOMPARE(TDO_Event::LateCalculationMode_FromString(TDO_Event::LateCalculationMode_ToString(m)),
                     m);
        QCOMPARE(TDO_Event::LateCalculationMode_ToString(TDO_Event::lcmAFTERAvailabilityStop),
                 QStringLiteral("AfterAvailabilityStop"));
        QCOMPARE(
            TDO_Event::LateCalculationMode_FromString(QStringLiteral("availabilitystop or durationlimit")),
            TDO_Event::lcmAFTERAvailabilityStop);
        QCOMPARE(TDO_Event::LateCalculationMode_FromString(QStringLiteral("x DURATIONLIMIT")),
                 TDO_Event::lcmLONGERthanDurationLimit);
        QCOMPARE(TDO_Event::LateCalculationMode_ToString(TDO_Event::TLateCalculationMode(7)), QString());
    }

    void accommodationPIN() {
        const QRegularExpression fourDigits(QStringLiteral("^[0-9]{4}$"));
        QSet<QString> seen;
        for (int i = 0; i < 2000; ++i) {
            const QString pin = TDO_Event::GenerateAccommodationPIN();
            QVERIFY2(fourDigits.match(pin).hasMatch(), qPrintable(pin));
            QVERIFY(pin != QLatin1String("9999"));
            seen.insert(pin);
        }
        // A fixed or badly seeded source would repeat far more often than this.
        QVERIFY(seen.size() > 1500);
    }

    void defaultExtensionsAndStorage() {
        const QString ext = TDO_Event::Default_AcceptUpload_FileExtenstions();
        QVERIFY(ext.startsWith(QLatin1String(".pdf\r\n.rtf\r\n")));
        QVERIFY(ext.endsWith(QLatin1String(".pptx\r\n.ppsx\r\n")));
        QCOMPARE(TDO_Event_Covid19::TextToList(ext).size(), 12);
        QCOMPARE(TDO_Event_Covid19::TextToList(QStringLiteral("a\nb\rc\r\nd")),
                 (QStringList{"a", "b", "c", "d"}));
        QVERIFY(TDO_Event_Covid19().UploadFileExtenstions().isEmpty());

        const QString d = QDir::separator();
        TDO_Event e;
        QCOMPARE(e.RecommendedStorageFolder(), QString());
        QCOMPARE(e.RecommendedStorageFilename(), QString());
        QCOMPARE(e.RecommendedStorageUploadFolder(), QString());
        e.SetID(QStringLiteral("abc 123"));
        QCOMPARE(e.RecommendedStorageIdentifier(), QStringLiteral("ABC123"));
        QCOMPARE(e.RecommendedStorageFolder(), "ABC123" + d);
        QCOMPARE(e.RecommendedStorageFilename(), "ABC123" + d + "ABC123.xml");
        QCOMPARE(e.RecommendedStorageUploadFolder(), "ABC123" + d + "UploadedDocs" + d);
        // A code that arrived unnormalised must not lead out of the store.
        for (const char *bad : {"../..", "..", "A/B", "A\\B"}) {
            QVERIFY(ReadEventXml(e, QByteArray("<event id=\"") + bad + "\"/>"));
            QCOMPARE(e.RecommendedStorageFolder(), QString());
            QCOMPARE(e.RecommendedStorageUploadFolder(), QString());
        }
    }

    void resourceFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q.pdf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("%PDF-1.4 question");
        f.close();
        TDO_Event_Covid19 c;
        QVERIFY(c.SetResourceFileNameAndData(path));
        QCOMPARE(c.ResourceFilename(), QStringLiteral("q.pdf"));
        QCOMPARE(c.ResourceFileData(), QByteArray("%PDF-1.4 question"));
        QVERIFY(!c.SetResourceFileNameAndData(dir.filePath(QStringLiteral("missing.pdf"))));
        QVERIFY(c.ResourceFilename().isEmpty());
        QVERIFY(c.ResourceFileData().isEmpty());

        QByteArray bytes("0123456789");
        QBuffer buf(&bytes);
        buf.open(QIODevice::ReadOnly);
        buf.seek(4);
        c.Duplicate_ResourceFileData(&buf);
        QCOMPARE(c.ResourceFileData(), bytes);
        QCOMPARE(buf.pos(), 4);
        c.Duplicate_ResourceFileData(nullptr);
        QVERIFY(c.ResourceFileData().isEmpty());
    }

    void couponCharge() {
        TClock::SetFixedUTC(At(12));
        TDO_Event e;
        e.PaymentCharge().SetAmount(500);
        e.SetPaymentChargeFromCoupon(QStringLiteral("CODE1"), QStringLiteral("{T}"));
        QCOMPARE(e.PaymentCharge().ID(), QStringLiteral("Coupon Code: CODE1; Transaction ID: {T}"));
        QCOMPARE(e.PaymentCharge().Amount(), 0);
        QCOMPARE(e.PaymentCharge().CreatedUTC(), At(12));
    }

    void roundTrip() {
        TDO_Event e;
        FillEvent(e);
        QByteArray wire;
        QBuffer out(&wire);
        out.open(QIODevice::WriteOnly);
        QVERIFY(e.SaveTo_Stream(&out, TzovCryptoTool::NetworkStartCode()));
        QVERIFY(!wire.contains("event_student_entry"));
        TDO_Event back;
        QBuffer in(&wire);
        in.open(QIODevice::ReadOnly);
        QVERIFY(back.LoadFrom_Stream(&in, TzovCryptoTool::NetworkStartCode()));
        CompareEvent(back, e);

        TDO_Event_StudentEntry s;
        s.Duplicate(*e.Students().Entries()[0]);
        QByteArray sw;
        QBuffer so(&sw);
        so.open(QIODevice::WriteOnly);
        QVERIFY(s.SaveTo_Stream(&so, TzovCryptoTool::NetworkStartCode()));
        TDO_Event_StudentEntry sb;
        QBuffer si(&sw);
        si.open(QIODevice::ReadOnly);
        QVERIFY(sb.LoadFrom_Stream(&si, TzovCryptoTool::NetworkStartCode()));
        CompareStudent(sb, s);
    }

    void duplicateSemantics() {
        TDO_Event source;
        FillEvent(source);
        TDO_Event copy(source);
        CompareEvent(copy, source);
        // Deep copy: changing the copy leaves the source alone.
        copy.Students().Entries()[0]->SetID(QStringLiteral("zz"));
        QCOMPARE(source.Students().Entries()[0]->ID(), QStringLiteral("a1"));

        TDO_Event_WithUploadedList descendant;
        FillEvent(descendant);
        TDO_Event fromDescendant(static_cast<const TDOX_Base &>(descendant));
        CompareEvent(fromDescendant, descendant);
        QCOMPARE(fromDescendant.NodeName(), QStringLiteral("event"));

        // From another class: defaults and its own element name.
        TDO_Event_Covid19 other;
        other.SetDurationLimit_InMinutes(5);
        copy.Duplicate(other);
        CompareEvent(copy, TDO_Event());
        QCOMPARE(copy.NodeName(), QStringLiteral("event"));
        TDO_Event_Covid19 c2;
        c2.Duplicate(copy);
        QCOMPARE(c2.UploadKilobyteLimit(), 1000);
        QCOMPARE(c2.NodeName(), QStringLiteral("event_covid19"));
    }
};

QTEST_GUILESS_MAIN(TestEvent)
#include "tst_event.moc"
