// The bulk download agent: against the local service for the real exchange, against a stub for the replies
// the service never gives (unreadable bodies, hostile file names) and for a stop in the middle.
#include "TAgentTestTool.h"
#include "TNetTestData.h"
#include "TStubHttpServer.h"

#include "crypto/TzovCryptoTool.h"
#include "net/TAgent_Client_DownloadUploadedFiles.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QPointer>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace TNetTestData;

namespace {
struct TRun {
    TAgentOutcome Outcome;
    QList<int> Progress; // positions announced
    QString Folder;
    int Position = -1;
    std::vector<TDownloadFailure> Failures;
};

TRun RunDownload(TAgent_Client_DownloadUploadedFiles *AAgent,
                 const std::function<void(TAgent_Client_DownloadUploadedFiles *, int)> &AOnProgress = {}) {
    TRun run;
    QObject context;
    QObject::connect(AAgent, &TAgent_Client_DownloadUploadedFiles::Progress, &context,
                     [&](TAgent_Client_DownloadUploadedFiles *ASender, int APosition, int ATotal) {
                         QCOMPARE_EQ(ATotal, ASender->Total());
                         run.Progress << APosition;
                         if (AOnProgress)
                             AOnProgress(ASender, APosition);
                     });
    run.Outcome = RunAgent<TAgent_Client_DownloadUploadedFiles>(AAgent, [&](TAgent_Client_DownloadUploadedFiles *A) {
        run.Folder = A->Folder();
        run.Position = A->Position();
        run.Failures = A->Failures();
    });
    return run;
}

QStringList FilesIn(const QString &AFolder) {
    return QDir(AFolder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

QByteArray Content(int AIndex) { return QByteArray("answer number ") + QByteArray::number(AIndex) + QByteArray(3000, 'x'); }

// What the service would answer for a download request: the stored upload, encrypted.
QByteArray EncryptedUpload(const TDO_UploadedFile &AUpload) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    AUpload.SaveTo_Stream(&buffer, TzovCryptoTool::NetworkStartCode());
    return buffer.data();
}

TDO_UploadedFile_Request ReadRequest(const QByteArray &ABody) {
    TDO_UploadedFile_Request request;
    QByteArray bytes = ABody;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    request.LoadFrom_Stream(&buffer, TzovCryptoTool::NetworkStartCode());
    return request;
}

std::unique_ptr<TDO_UploadedFile> Entry(const QString &AEventID, const QString &AStudent, const QString &AInfo,
                                        int ACopy = 1) {
    auto entry = std::make_unique<TDO_UploadedFile>();
    entry->SetEventID(AEventID);
    entry->SetStudentID(AStudent);
    entry->SetProtectedInfo(AInfo);
    entry->SetCopyNumber(ACopy);
    return entry;
}
} // namespace

class TestDownload : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void createChecks();
    void progressCadence_data();
    void progressCadence();
    void secondCopyBesideTheFirst();
    void refusedEntryAmongGoodOnes();
    void stopInTheMiddle();
    void abandonSilencesProgressOnItsWay();
    void unreadableReplyWritesNothing();
    void hostileFileNames_data();
    void hostileFileNames();
    void twoRunsTwoFolders();

private:
    TServiceFixture FService;
    std::unique_ptr<TDO_Event> FEvent;
    TDO_UploadedFiles FUploads; // twelve answers of "s2", then two copies of one answer of "s1"
    QTemporaryDir FTarget;
};

void TestDownload::initTestCase() {
    QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
    QString error;
    FEvent = CreateEvent(FService, MakeEventRequest(QStringLiteral("Downloads")), &error);
    QVERIFY2(FEvent, qPrintable(error));
    auto upload = [&](const QString &AStudent, const QString &APassword, const QString &AInfo, const QByteArray &AData) {
        auto request = MakeUploadRequest(*FEvent, AStudent, APassword, "answer.txt", AData);
        request.SetProtectedInfo(AInfo);
        std::unique_ptr<TDO_UploadedFile> stored;
        auto outcome = RunAgent<TAgent_Client_Upload>(new TAgent_Client_Upload(FService.BaseURL(), request),
                                                      [&](TAgent_Client_Upload *A) {
                                                          if (A->Upload())
                                                              stored = A->Upload()->Clone();
                                                      });
        if (!stored)
            qWarning() << outcome.StatusCode << outcome.StatusText;
        return stored;
    };
    for (int i = 0; i < 12; ++i) {
        auto stored = upload("s2", "", QStringLiteral("p%1").arg(i, 2, 10, QLatin1Char('0')), Content(i));
        QVERIFY(stored);
        stored->SetFileData({}); // the dialog's list carries no content
        FUploads.push_back(std::move(stored));
    }
    for (int copy = 1; copy <= 2; ++copy) {
        auto stored = upload("s1", "apple", "4242", "copy " + QByteArray::number(copy));
        QVERIFY(stored);
        QCOMPARE(stored->CopyNumber(), copy);
        FUploads.push_back(std::move(stored));
    }
}

void TestDownload::createChecks() {
    QString error;
    QVERIFY(!TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.filePath("missing"), "pw",
                                                         FUploads, error));
    QCOMPARE(error, QStringLiteral("Folder is required (must already exist)"));
    QVERIFY(!TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.path(), "pw",
                                                         TDO_UploadedFiles{}, error));
    QCOMPARE(error, QStringLiteral("No entries specified."));
}

void TestDownload::progressCadence_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("progress");
    QTest::newRow("9") << 9 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
    QTest::newRow("10") << 10 << QList<int>{5, 10};
    QTest::newRow("12") << 12 << QList<int>{5, 10};
}

void TestDownload::progressCadence() {
    QFETCH(int, count);
    QFETCH(QList<int>, progress);
    std::vector<const TDO_UploadedFile *> entries;
    for (int i = 0; i < count; ++i)
        entries.push_back(FUploads[size_t(i)].get());
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.path(), InstructorPassword,
                                                              entries, error);
    QVERIFY2(agent, qPrintable(error));
    const TRun run = RunDownload(agent);
    QVERIFY(run.Outcome.Completed);
    QVERIFY(run.Outcome.Success);
    QCOMPARE(run.Progress, progress);
    QCOMPARE(run.Position, count);
    QVERIFY(run.Failures.empty());
    const QStringList files = FilesIn(run.Folder);
    QCOMPARE(files.size(), count);
    for (int i = 0; i < count; ++i) {
        QFile file(run.Folder + QStringLiteral("s2_p%1_1_answer.txt").arg(i, 2, 10, QLatin1Char('0')));
        QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
        QCOMPARE(file.readAll(), Content(i));
    }
}

void TestDownload::secondCopyBesideTheFirst() {
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(
        FService.BaseURL(), FTarget.path(), InstructorPassword,
        std::vector<const TDO_UploadedFile *>{FUploads[12].get(), FUploads[13].get()}, error);
    QVERIFY(agent);
    const TRun run = RunDownload(agent);
    QVERIFY(run.Outcome.Success);
    QCOMPARE(FilesIn(run.Folder), (QStringList{"s1_4242_1_answer.txt", "s1_4242_2_answer.txt"}));
    QFile second(run.Folder + "s1_4242_2_answer.txt");
    QVERIFY(second.open(QIODevice::ReadOnly));
    QCOMPARE(second.readAll(), QByteArray("copy 2"));
}

void TestDownload::refusedEntryAmongGoodOnes() {
    auto missing = Entry(FEvent->ID(), "s1", "4242", 7); // no seventh copy on the service
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(
        FService.BaseURL(), FTarget.path(), InstructorPassword,
        std::vector<const TDO_UploadedFile *>{FUploads[0].get(), missing.get(), FUploads[1].get()}, error);
    QVERIFY(agent);
    const TRun run = RunDownload(agent);
    QVERIFY(run.Outcome.Completed);
    QVERIFY(!run.Outcome.Success);
    QCOMPARE(run.Position, 3);
    QCOMPARE(FilesIn(run.Folder), (QStringList{"s2_p00_1_answer.txt", "s2_p01_1_answer.txt"}));
    QCOMPARE(run.Failures.size(), size_t(1));
    QCOMPARE(run.Failures[0].Index, 1);
    QCOMPARE(run.Failures[0].Identifier, QStringLiteral("s1 (4242-7)"));
    QCOMPARE(run.Failures[0].StatusCode, 404);
    QVERIFY(!run.Failures[0].StatusText.isEmpty());

    // A wrong event password refuses every entry, and each says so.
    agent = TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.path(), "wrong", FUploads, error);
    const TRun refused = RunDownload(agent);
    QVERIFY(!refused.Outcome.Success);
    QCOMPARE(refused.Failures.size(), FUploads.size());
    QCOMPARE(refused.Failures.back().StatusCode, 401);
    QVERIFY(FilesIn(refused.Folder).isEmpty());
}

// The stub is served by this thread, so the worker cannot run far ahead of the progress handler.
void TestDownload::stopInTheMiddle() {
    TStubHttpServer stub;
    stub.SetHandler([](const QByteArray &, const QByteArray &ABody) {
        TDO_UploadedFile stored(ReadRequest(ABody));
        stored.SetFilename("answer.txt");
        stored.SetFileData("content of " + stored.ProtectedInfo().toUtf8());
        return TStubHttpServer::TReply{200, "OK", EncryptedUpload(stored), false};
    });
    TDO_UploadedFiles entries;
    for (int i = 0; i < 12; ++i)
        entries.push_back(Entry("EV1", "s", QString::number(i)));
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(stub.BaseURL(), FTarget.path(), "pw", entries, error);
    QVERIFY(agent);
    const TRun run = RunDownload(agent, [](TAgent_Client_DownloadUploadedFiles *A, int) { A->requestInterruption(); });
    QVERIFY(run.Outcome.Completed);
    QCOMPARE(run.Progress, QList<int>{5});
    // The entry under way when the stop came is finished, then the run ends.
    QVERIFY2(run.Position == 5 || run.Position == 6, qPrintable(QString::number(run.Position)));
    QCOMPARE(FilesIn(run.Folder).size(), run.Position);
    QCOMPARE(stub.Paths().size(), run.Position);
}

// The worker does not wait for the UI thread, so progress may still be on its way when the dialog abandons
// the agent; the abandoned agent must tell nobody, not even what it announced before.
void TestDownload::abandonSilencesProgressOnItsWay() {
    std::vector<const TDO_UploadedFile *> entries;
    for (int i = 0; i < 9; ++i)
        entries.push_back(FUploads[size_t(i)].get());
    QString error;
    QPointer<TAgent_Client_DownloadUploadedFiles> agent = TAgent_Client_DownloadUploadedFiles::Create(
        FService.BaseURL(), FTarget.path(), InstructorPassword, entries, error);
    QVERIFY(agent);
    QList<int> progress;
    bool completed = false;
    QObject context;
    QObject::connect(agent, &TAgent_Client_DownloadUploadedFiles::Progress, &context,
                     [&](TAgent_Client_DownloadUploadedFiles *ASender, int APosition, int) {
                         progress << APosition;
                         // Hold the UI thread until the whole run has been announced, then give the agent up.
                         QElapsedTimer timer;
                         timer.start();
                         while (!ASender->isFinished() && timer.elapsed() < 20000)
                             QThread::msleep(5);
                         TAgent_Client_Base::Abandon(agent);
                     });
    QObject::connect(agent, &TAgent_Client_Base::Completed, &context, [&] { completed = true; });
    QPointer<TAgent_Client_DownloadUploadedFiles> watch = agent;
    agent->start();
    QVERIFY(WaitUntil([&] { return watch.isNull(); }, 30000));
    QCoreApplication::processEvents();
    QCOMPARE(progress, QList<int>{1});
    QVERIFY(!completed);
}

void TestDownload::unreadableReplyWritesNothing() {
    TStubHttpServer stub;
    stub.SetHandler([](const QByteArray &, const QByteArray &ABody) {
        const TDO_UploadedFile_Request request = ReadRequest(ABody);
        if (request.ProtectedInfo() == "bad")
            return TStubHttpServer::TReply{200, "OK", "this is not an encrypted record", false};
        TDO_UploadedFile stored(request);
        stored.SetFilename("good.txt");
        stored.SetFileData("good");
        return TStubHttpServer::TReply{200, "OK", EncryptedUpload(stored), false};
    });
    TDO_UploadedFiles entries;
    entries.push_back(Entry("EV1", "s", "bad"));
    entries.push_back(Entry("EV1", "s", "fine"));
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(stub.BaseURL(), FTarget.path(), "pw", entries, error);
    const TRun run = RunDownload(agent);
    QVERIFY(!run.Outcome.Success);
    QCOMPARE(FilesIn(run.Folder), QStringList{"s_fine_1_good.txt"});
    QCOMPARE(run.Failures.size(), size_t(1));
    QCOMPARE(run.Failures[0].StatusCode, 4);
    QVERIFY(run.Failures[0].StatusText.startsWith("Unable to read response ("));
}

void TestDownload::hostileFileNames_data() {
    QTest::addColumn<QString>("student");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << "s" << "answer.pdf" << "s_p_1_answer.pdf";
    QTest::newRow("parent folders") << "s" << "../../outside.txt" << "s_p_1_outside.txt";
    QTest::newRow("windows path") << "s" << "C:\\Users\\x\\..\\evil.txt" << "s_p_1_evil.txt";
    QTest::newRow("only dots") << "s" << ".." << "s_p_1_answer";
    QTest::newRow("empty") << "s" << "" << "s_p_1_answer";
    QTest::newRow("refused characters") << "s" << "a<b>c:d\"e|f?g*h.txt" << "s_p_1_a_b_c_d_e_f_g_h.txt";
    QTest::newRow("trailing dots") << "s" << "answer.txt. . " << "s_p_1_answer.txt";
    QTest::newRow("student with separators") << "../x/y" << "a.txt" << ".._x_y_p_1_a.txt";
}

void TestDownload::hostileFileNames() {
    QFETCH(QString, student);
    QFETCH(QString, name);
    QFETCH(QString, expected);
    TStubHttpServer stub;
    stub.SetHandler([&](const QByteArray &, const QByteArray &ABody) {
        TDO_UploadedFile stored(ReadRequest(ABody));
        stored.SetStudentID(student);
        stored.SetFilename(name);
        stored.SetFileData("data");
        return TStubHttpServer::TReply{200, "OK", EncryptedUpload(stored), false};
    });
    QTemporaryDir target;
    QDir(target.path()).mkdir("chosen");
    TDO_UploadedFiles entries;
    entries.push_back(Entry("EV1", "s", "p"));
    QString error;
    auto *agent =
        TAgent_Client_DownloadUploadedFiles::Create(stub.BaseURL(), target.filePath("chosen"), "pw", entries, error);
    const TRun run = RunDownload(agent);
    QVERIFY(run.Outcome.Success);
    QCOMPARE(FilesIn(run.Folder), QStringList{expected});
    // Nothing anywhere else: the chosen folder holds the run's folder only, its parent the chosen folder only.
    QCOMPARE(QDir(target.filePath("chosen")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    QCOMPARE(QDir(target.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"chosen"});
}

void TestDownload::twoRunsTwoFolders() {
    QString error;
    std::vector<const TDO_UploadedFile *> one{FUploads[0].get()};
    TClock::SetFixedUTC(TClock::NowUTC());
    auto *first = TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.path(), InstructorPassword,
                                                              one, error);
    auto *second = TAgent_Client_DownloadUploadedFiles::Create(FService.BaseURL(), FTarget.path(),
                                                               InstructorPassword, one, error);
    const TRun a = RunDownload(first);
    const TRun b = RunDownload(second);
    TClock::Reset();
    QVERIFY(a.Outcome.Success && b.Outcome.Success);
    QVERIFY(a.Folder != b.Folder);
    static const QRegularExpression form(QStringLiteral("/Tavix Event %1 \\d{8}-\\d{6}( \\(\\d+\\))?/$").arg(FEvent->ID()));
    QVERIFY2(form.match(a.Folder).hasMatch(), qPrintable(a.Folder));
    QVERIFY2(form.match(b.Folder).hasMatch(), qPrintable(b.Folder));
    QCOMPARE(FilesIn(b.Folder), QStringList{"s2_p00_1_answer.txt"});
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
