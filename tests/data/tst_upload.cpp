// Uploaded files, upload requests and the event with its uploaded list, including the build from a store on
// disk.
#include "crypto/TzovCryptoTool.h"
#include "data/TDO_Coupon_Transaction.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

TDateTime At(int AHour, int AMinute = 0, int ASecond = 0, int AMSec = 0) {
    return TDateTime::Encode(2021, 3, 5, AHour, AMinute, ASecond, AMSec);
}

std::unique_ptr<TDO_UploadedFile> Upload(const QString &AStudent, const QString &AInfo, TDateTime ACreated,
                                         int ACopy = 1) {
    auto u = std::make_unique<TDO_UploadedFile>();
    u->SetEventID(QStringLiteral("ABC123"));
    u->SetStudentID(AStudent);
    u->SetProtectedInfo(AInfo);
    u->SetCopyNumber(ACopy);
    u->SetCreatedUTC(ACreated);
    u->SetFilename(AStudent + QStringLiteral(".pdf"));
    u->SetFileData(QByteArray("answer of ") + AStudent.toUtf8());
    return u;
}

void FillUpload(TDO_UploadedFile &AUpload) {
    AUpload.SetCreatedUTC(At(11, 2, 3)); // the stored text form has whole seconds
    AUpload.SetEventID(QStringLiteral("ABC123"));
    AUpload.SetStudentID(QStringLiteral(" 1234 "));
    AUpload.SetProtectedInfo(QStringLiteral("xyz"));
    AUpload.SetCopyNumber(3);
    QByteArray data(5000, '\0');
    for (int i = 0; i < data.size(); ++i)
        data[i] = char(i * 13);
    AUpload.SetFileData(data);
    AUpload.SetFilename(QStringLiteral("answer & notes.docx"));
    AUpload.PaymentCharge().SetID(QStringLiteral("Stripe ID: ch_9"));
    AUpload.PaymentCharge().SetAmount(250);
    AUpload.PaymentCharge().SetCreatedUTC(At(11));
    AUpload.SetCheckedOutUTC(At(10));
    AUpload.SetSubmitDueUTC(At(12));
}

void CompareUpload(const TDO_UploadedFile &A, const TDO_UploadedFile &B) {
    QCOMPARE(A.CreatedUTC(), B.CreatedUTC());
    QCOMPARE(A.EventID(), B.EventID());
    QCOMPARE(A.StudentID(), B.StudentID());
    QCOMPARE(A.ProtectedInfo(), B.ProtectedInfo());
    QCOMPARE(A.CopyNumber(), B.CopyNumber());
    QCOMPARE(A.FileData(), B.FileData());
    QCOMPARE(A.Filename(), B.Filename());
    QCOMPARE(A.PaymentCharge().CreatedUTC(), B.PaymentCharge().CreatedUTC());
    QCOMPARE(A.PaymentCharge().ID(), B.PaymentCharge().ID());
    QCOMPARE(A.PaymentCharge().Amount(), B.PaymentCharge().Amount());
    QCOMPARE(A.PaymentCharge().ReceiptUrl(), B.PaymentCharge().ReceiptUrl());
    QCOMPARE(A.CheckedOutUTC(), B.CheckedOutUTC());
    QCOMPARE(A.SubmitDueUTC(), B.SubmitDueUTC());
}

void CompareStudents(const TDO_Event_StudentEntries &A, const TDO_Event_StudentEntries &B) {
    QCOMPARE(A.size(), B.size());
    for (size_t i = 0; i < A.size(); ++i) {
        QCOMPARE(A[i]->ID(), B[i]->ID());
        QCOMPARE(A[i]->Password(), B[i]->Password());
        QCOMPARE(A[i]->Accomodation_Time_InMinutes(), B[i]->Accomodation_Time_InMinutes());
        QCOMPARE(A[i]->CheckedOutUTC(), B[i]->CheckedOutUTC());
        QCOMPARE(A[i]->AvailabilityStartUTC(), B[i]->AvailabilityStartUTC());
        QCOMPARE(A[i]->AvailabilityStopUTC(), B[i]->AvailabilityStopUTC());
    }
}

template <class T> bool RoundTrip(const T &ASource, T &ADest) {
    QByteArray wire;
    QBuffer out(&wire);
    out.open(QIODevice::WriteOnly);
    if (!ASource.SaveTo_Stream(&out, TzovCryptoTool::NetworkStartCode()))
        return false;
    QBuffer in(&wire);
    in.open(QIODevice::ReadOnly);
    return ADest.LoadFrom_Stream(&in, TzovCryptoTool::NetworkStartCode());
}

template <class T> bool ReadXml(T &ARecord, const QByteArray &AInner) {
    QByteArray xml = "<?xml version=\"1.0\"?><Tavix>" + AInner + "</Tavix>";
    QBuffer buf(&xml);
    buf.open(QIODevice::ReadOnly);
    return ARecord.LoadFrom_Stream(&buf, QString());
}

QStringList UploadOrder(const TDO_Event_WithUploadedList &AList) {
    QStringList order;
    for (const auto &u : AList.Uploads())
        order << u->StudentID() + u'/' + u->ProtectedInfo() + u'@' + u->CreatedUTC().Time().toString("hh:mm");
    return order;
}

} // namespace

class TestUpload : public QObject {
    Q_OBJECT

private slots:
    void identifiers_data() {
        QTest::addColumn<int>("copy");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("formatted");
        QTest::addColumn<QString>("storage");
        QTest::newRow("first") << 1 << 1 << "1234 (xyz)"
                               << "1234_xyz_1";
        QTest::newRow("third") << 3 << 3 << "1234 (xyz-3)"
                               << "1234_xyz_3";
        QTest::newRow("zero stores 1") << 0 << 1 << "1234 (xyz)"
                                       << "1234_xyz_1";
        QTest::newRow("negative stores 1") << -2 << 1 << "1234 (xyz)"
                                           << "1234_xyz_1";
    }
    void identifiers() {
        QFETCH(int, copy);
        QFETCH(int, stored);
        QFETCH(QString, formatted);
        QFETCH(QString, storage);
        TDO_UploadedFile u;
        u.SetStudentID(QStringLiteral(" 1234\t"));
        u.SetProtectedInfo(QStringLiteral("xyz "));
        u.SetCopyNumber(copy);
        QCOMPARE(u.CopyNumber(), stored);
        QCOMPARE(u.FormattedUniqueIdentifier(), formatted);
        QCOMPARE(u.RecommendedStorageIdentifier(), storage);
        QCOMPARE(u.RecommendedStorageFilename(), storage + ".xml");
    }

    void storageNameStaysInFolder() {
        TDO_UploadedFile u;
        QVERIFY(ReadXml(u, "<uploadedfile examinee_id=\"../../etc\" protected_info=\"a\\b\"/>"));
        QCOMPARE(u.RecommendedStorageFilename(), QStringLiteral(".._.._etc_a_b_1.xml"));
    }

    void lateness_data() {
        QTest::addColumn<TDateTime>("created");
        QTest::addColumn<TDateTime>("due");
        QTest::addColumn<bool>("late");
        QTest::addColumn<int>("minutes");
        QTest::newRow("on time exactly") << At(12) << At(12) << false << 0;
        QTest::newRow("one ms late") << At(12, 0, 0, 1) << At(12) << true << 0;
        QTest::newRow("90.5 minutes") << At(13, 30, 30) << At(12) << true << 90;
        QTest::newRow("early") << At(11) << At(12) << false << 0;
    }
    void lateness() {
        QFETCH(TDateTime, created);
        QFETCH(TDateTime, due);
        QFETCH(bool, late);
        QFETCH(int, minutes);
        TDO_UploadedFile u;
        u.SetCreatedUTC(created);
        u.SetSubmitDueUTC(due);
        QCOMPARE(u.IsLate(), late);
        QCOMPARE(u.MinutesLate(), minutes);
        u.SetSubmitDueUTC({});
        QVERIFY(u.IsLate());
    }

    void validityAndStarted() {
        TDO_UploadedFile u;
        FillUpload(u);
        QVERIFY(u.IsValid(true));
        QVERIFY(u.IsStarted() && !u.IsNOTStarted());
        u.SetFileData({});
        QVERIFY(u.IsValid(false));
        QVERIFY(!u.IsValid(true));
        u.SetProtectedInfo(QString());
        QVERIFY(!u.IsValid(false));

        TDO_UploadedFile_Request r(u);
        r.SetProtectedInfo(QStringLiteral("p"));
        r.SetFileData("x");
        QVERIFY(!r.IsValid(true));
        r.SetClientVersion(QStringLiteral(" 1.0.0.1 "));
        r.SetPassword(QStringLiteral("pw"));
        QVERIFY(!r.IsValid(true)); // no action
        r.SetAction(TDO_UploadedFile_Request::ufaDownload);
        QVERIFY(r.IsValid(true));
        r.SetPassword(QStringLiteral("  "));
        QVERIFY(!r.IsValid(true));
    }

    void actionTexts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("action");
        QTest::newRow("lower") << "submit" << int(TDO_UploadedFile_Request::ufaSubmit);
        QTest::newRow("upper") << "SUBMIT" << int(TDO_UploadedFile_Request::ufaSubmit);
        QTest::newRow("download") << "Download" << int(TDO_UploadedFile_Request::ufaDownload);
        QTest::newRow("blank after") << "Submit " << int(TDO_UploadedFile_Request::ufaNone);
        QTest::newRow("empty") << "" << int(TDO_UploadedFile_Request::ufaNone);
    }
    void actionTexts() {
        QFETCH(QString, text);
        QFETCH(int, action);
        QCOMPARE(int(TDO_UploadedFile_Request::Action_FromString(text)), action);
        const auto a = TDO_UploadedFile_Request::TAction(action);
        QCOMPARE(TDO_UploadedFile_Request::Action_FromString(TDO_UploadedFile_Request::Action_ToString(a)),
                 a);
    }

    void fileData() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("my answer.pdf"));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("bytes");
        f.close();
        TDO_UploadedFile u;
        QVERIFY(u.SetFileNameAndData(path));
        QCOMPARE(u.Filename(), QStringLiteral("my answer.pdf"));
        QCOMPARE(u.FileData(), QByteArray("bytes"));
        QVERIFY(!u.SetFileNameAndData(dir.filePath(QStringLiteral("none"))));
        QVERIFY(u.Filename().isEmpty() && u.FileData().isEmpty());
        QByteArray src("abcdef");
        QBuffer b(&src);
        b.open(QIODevice::ReadOnly);
        b.seek(2);
        u.Duplicate_FileData(&b);
        QCOMPARE(u.FileData(), src);
        QCOMPARE(b.pos(), 2);
    }

    void roundTripUploadAndRequest() {
        TDO_UploadedFile u;
        FillUpload(u);
        TDO_UploadedFile back;
        QVERIFY(RoundTrip(u, back));
        CompareUpload(back, u);

        TDO_UploadedFile_Request r(u);
        CompareUpload(r, u);
        QCOMPARE(r.NodeName(), QStringLiteral("uploadedfile_request"));
        r.SetAction(TDO_UploadedFile_Request::ufaSubmit);
        r.SetCustomerID(QStringLiteral("cust-1"));
        r.SetClientVersion(QStringLiteral("1.0.0.1"));
        r.SetCardToken(QStringLiteral("tok_1"));
        r.SetReceiptEmail(QStringLiteral("a@b.c"));
        r.CouponTransaction().SetToken(QStringLiteral("{TOKEN}"));
        r.CouponTransaction().CouponCode().SetCode(QStringLiteral("coupon1"));
        r.CouponTransaction().SetCreatedUTC(At(9));
        r.SetPassword(QStringLiteral("student-pw"));
        TDO_UploadedFile_Request rb;
        QVERIFY(RoundTrip(r, rb));
        CompareUpload(rb, r);
        QCOMPARE(rb.Action(), r.Action());
        QCOMPARE(rb.CustomerID(), r.CustomerID());
        QCOMPARE(rb.ClientVersion(), r.ClientVersion());
        QCOMPARE(rb.CardToken(), r.CardToken());
        QCOMPARE(rb.ReceiptEmail(), r.ReceiptEmail());
        QCOMPARE(rb.CouponTransaction().Token(), r.CouponTransaction().Token());
        QCOMPARE(rb.CouponTransaction().CouponCode().Code(), r.CouponTransaction().CouponCode().Code());
        QCOMPARE(rb.CouponTransaction().CreatedUTC(), r.CouponTransaction().CreatedUTC());
        QCOMPARE(rb.Password(), r.Password());

        // A plain upload copied from a request keeps its own element name and takes the upload part only.
        TDO_UploadedFile plain(static_cast<const TDOX_Base &>(rb));
        QCOMPARE(plain.NodeName(), QStringLiteral("uploadedfile"));
        CompareUpload(plain, u);
        // From another class: defaults.
        TDO_UploadedFile_Request other(static_cast<const TDOX_Base &>(TDO_Event()));
        CompareUpload(other, TDO_UploadedFile());
        QCOMPARE(other.Action(), TDO_UploadedFile_Request::ufaNone);
    }

    void readSortsUploads() {
        TDO_Event_WithUploadedList e;
        QVERIFY(ReadXml(e, "<event_with_uploaded_list/>"));
        QVERIFY(e.Uploads().empty());
        QVERIFY(ReadXml(
            e,
            "<event_with_uploaded_list><uploads>"
            "<uploadedfile examinee_id=\"b\" protected_info=\"p\" created_utc=\"2021/03/05 - 9:00:00 AM\"/>"
            "<uploadedfile examinee_id=\"a\" protected_info=\"p\" created_utc=\"2021/03/05 - 11:00:00 AM\"/>"
            "<uploadedfile examinee_id=\"A\" protected_info=\"P\" created_utc=\"2021/03/05 - 10:00:00 AM\"/>"
            "</uploads><students_without_an_upload>"
            "<event_student_entry exam_id=\"z\"/><event_student_entry exam_id=\"C\"/>"
            "<event_student_entry exam_id=\"b\"/>"
            "</students_without_an_upload></event_with_uploaded_list>"));
        QCOMPARE(UploadOrder(e), (QStringList{"A/P@10:00", "a/p@11:00", "b/p@09:00"}));
        QStringList without;
        for (const auto &s : e.Students_WithoutAnUpload())
            without << s->ID();
        QCOMPARE(without, (QStringList{"b", "C", "z"}));
        QCOMPARE(e.Students_WithoutAnUpload_FindIndex_ByID(QStringLiteral("c")), 1);
        QCOMPARE(e.Students_WhoHaveUploaded_FindIndex_ByID(QStringLiteral("c")), -1);
        QCOMPARE(e.Upload_FindIndex_ByStudentIDandProtectedInfo(QStringLiteral("a"), QStringLiteral("p")), 0);
        QCOMPARE(e.Upload_FindIndex_ByStudentIDONLY(QStringLiteral("B")), 2);
        QCOMPARE(e.Upload_FindEntry_ByStudentIDandProtectedInfo(QStringLiteral("b"), QStringLiteral("q")),
                 nullptr);
        QCOMPARE(e.Upload_AddEntry(nullptr), -1);
        QCOMPARE(e.Students_WhoHaveUploaded_AddEntry(nullptr), -1);
    }

    void roundTripWithUploadedList() {
        TDO_Event_WithUploadedList e;
        e.SetID(QStringLiteral("abc123"));
        e.SetName(QStringLiteral("Exam"));
        e.Covid19().SetResourceFileData("question");
        e.Covid19().SetResourceFilename(QStringLiteral("q.pdf"));
        e.PaymentCharge().SetAmount(100);
        auto s = std::make_unique<TDO_Event_StudentEntry>();
        s->SetID(QStringLiteral("s1"));
        e.Students().AddEntry(s->Clone());
        e.Students_WhoHaveUploaded_AddEntry(s->Clone());
        s->SetID(QStringLiteral("s2"));
        s->SetAccomodation_Time_InMinutes(15);
        e.Students_WithoutAnUpload_AddEntry(std::move(s));
        e.Upload_AddEntry(Upload(QStringLiteral("s1"), QStringLiteral("x"), At(10)));
        e.Upload_AddEntry(Upload(QStringLiteral("s1"), QStringLiteral("x"), At(11), 2));

        TDO_Event_WithUploadedList back;
        QVERIFY(RoundTrip(e, back));
        QCOMPARE(back.ID(), e.ID());
        QCOMPARE(back.Covid19().ResourceFileData(), e.Covid19().ResourceFileData());
        QCOMPARE(back.PaymentCharge().Amount(), 100);
        CompareStudents(back.Students().Entries(), e.Students().Entries());
        QCOMPARE(back.Uploads().size(), e.Uploads().size());
        for (size_t i = 0; i < e.Uploads().size(); ++i)
            CompareUpload(*back.Uploads()[i], *e.Uploads()[i]);
        CompareStudents(back.Students_WhoHaveUploaded(), e.Students_WhoHaveUploaded());
        CompareStudents(back.Students_WithoutAnUpload(), e.Students_WithoutAnUpload());

        TDO_Event_WithUploadedList copy(e);
        QCOMPARE(copy.Uploads().size(), size_t(2));
        QVERIFY(copy.Uploads()[0].get() != e.Uploads()[0].get());
        CompareStudents(copy.Students_WithoutAnUpload(), e.Students_WithoutAnUpload());
    }

    void buildFromDisk() {
        QTemporaryDir store;
        TDO_Event base;
        base.SetID(QStringLiteral("ev1"));
        for (const char *id : {"s1", "S2", "s3"}) {
            auto s = std::make_unique<TDO_Event_StudentEntry>();
            s->SetID(QString::fromLatin1(id));
            base.Students().AddEntry(std::move(s));
        }
        TDO_Event_WithUploadedList e(static_cast<const TDOX_Base &>(base));
        QCOMPARE(e.ID(), QStringLiteral("EV1"));
        // Missing store or upload folder: every student is without an upload.
        e.BuildUploadsFromDisk(store.path() + "/nowhere", TzovCryptoTool::NetworkStartCode());
        QCOMPARE(e.Students_WithoutAnUpload().size(), size_t(3));

        const QString uploads = store.path() + u'/' + e.RecommendedStorageUploadFolder();
        QVERIFY(QDir().mkpath(uploads + "sub"));
        auto a = Upload(QStringLiteral("s2"), QStringLiteral("x"), At(10));
        QVERIFY(
            a->SaveTo_File(uploads + a->RecommendedStorageFilename(), TzovCryptoTool::NetworkStartCode()));
        auto b = Upload(QStringLiteral("s3"), QStringLiteral("y"), At(11));
        QVERIFY(
            b->SaveTo_File(uploads + b->RecommendedStorageFilename(), TzovCryptoTool::NetworkStartCode()));
        // Not under this start code, not XML, and in a sub-folder: all skipped.
        auto c = Upload(QStringLiteral("s1"), QStringLiteral("z"), At(12));
        QVERIFY(c->SaveTo_File(uploads + "other.xml", TzovCryptoTool::ConfigurationStartCode()));
        QVERIFY(c->SaveTo_File(uploads + "s1.txt", TzovCryptoTool::NetworkStartCode()));
        QVERIFY(c->SaveTo_File(uploads + "sub/s1.xml", TzovCryptoTool::NetworkStartCode()));
        QFile junk(uploads + "junk.xml");
        QVERIFY(junk.open(QIODevice::WriteOnly));
        junk.write("not a container");
        junk.close();

        TDO_Event_WithUploadedList fresh(static_cast<const TDOX_Base &>(base));
        fresh.BuildUploadsFromDisk(store.path(), TzovCryptoTool::NetworkStartCode());
        QCOMPARE(fresh.Uploads().size(), size_t(2));
        for (const auto &u : fresh.Uploads()) {
            QVERIFY(u->FileData().isEmpty());
            QVERIFY(!u->Filename().isEmpty());
        }
        QStringList who, without;
        for (const auto &s : fresh.Students_WhoHaveUploaded())
            who << s->ID();
        for (const auto &s : fresh.Students_WithoutAnUpload())
            without << s->ID();
        QCOMPARE(who, (QStringList{"S2", "s3"}));
        QCOMPARE(without, (QStringList{"s1"}));
    }
};

QTEST_GUILESS_MAIN(TestUpload)
#include "tst_upload.moc"
