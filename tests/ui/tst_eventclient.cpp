// The student's event window end to end against the local service: entry, password retry, question viewer,
// waiting and closed events, the answer-file limit, upload and receipt, and the close guard.
#include "TScriptedUi.h"
#include "TServiceFixture.h"
#include "TUiTestSupport.h"
#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event.h"
#include "net/TAgent_Client_Base.h"
#include "ui/TdlgEventClient.h"
#include "ui/TdlgPasswordPrompt.h"
#include "ui/TdlgPaymentReceipt_UploadFile.h"
#include "ui/TframeEventClient.h"
#include "ui/TfrmDocumentViewer.h"
#include "util/TDateTime.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

namespace {
constexpr int RequestTimeout = 20000;
}

class tst_eventclient : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void typingRules();
    void returnPressesEnter_data();
    void returnPressesEnter();
    void helpPopups();
    void answerDueText_data();
    void answerDueText();
    void passwordRetryThenQuestion();
    void waitingAndClosedStates_data();
    void waitingAndClosedStates();
    void answerFileLimitUploadAndReceipt();
    void failedFetchOffersNoUpload();
    void failedUploadKeepsQuestionOffered();
    void unknownEventIsReported();
    void startupCheck();
    void startupCheckFailureCloses();
    void closingWhileQuestionOpenIsRefused();
    void destroyedDuringRequestIgnoresCompletion();

private:
    template <class T> T *Child(QWidget *AParent, const char *AName) {
        return AParent->findChild<T *>(QLatin1String(AName));
    }
    // Runs AAction once on the first visible top-level window of type T, e.g. a modal prompt.
    template <class T> void WhenShown(std::function<void(T *)> AAction) {
        auto *timer = new QTimer(this);
        timer->setInterval(20);
        connect(timer, &QTimer::timeout, this, [timer, AAction] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *window = qobject_cast<T *>(widget);
                if (window && window->isVisible()) {
                    timer->stop();
                    timer->deleteLater();
                    AAction(window);
                    return;
                }
            }
        });
        timer->start();
    }
    void AnswerPasswordPrompts(const QStringList &APasswords);
    // Fills the entry fields and presses Enter; returns after the request's completion was handled.
    bool Enter(TframeEventClient &AFrame, const QString &ACode, const QString &AStudent, const QString &APin);
    bool WaitFinished(QSignalSpy &ASpy, int ACount);
    QString WriteFile(const QString &AName, qint64 ASize);
    static TDO_Event MakeEvent(const QString &AID, TDateTime AStart, TDateTime AStop);

    TServiceFixture FService;
    std::unique_ptr<QTemporaryDir> FDir;
    TDO_ClientConfig FConfig;
    TScriptedUi *FUi = nullptr;
    QStringList FPromptsAnswered;
};

TDO_Event tst_eventclient::MakeEvent(const QString &AID, TDateTime AStart, TDateTime AStop) {
    TDO_Event event;
    event.SetID(AID);
    event.SetName(QStringLiteral("Event ") + AID);
    event.SetPassword(QStringLiteral("instructor-pw"));
    event.SetCreatedUTC(TClock::NowUTC());
    TDO_Event_Covid19 &settings = event.Covid19();
    settings.SetResourceFileData(MakeTestPdf(1, QStringLiteral("Question of ") + AID));
    settings.SetResourceFilename(QStringLiteral("question.pdf"));
    settings.SetResourceAllowSave(true);
    settings.SetAvailabilityStartUTC(AStart);
    settings.SetAvailabilityStopUTC(AStop);
    settings.SetUploadFileExtenstions({QStringLiteral(".pdf"), QStringLiteral(".txt")});
    settings.SetUploadKilobyteLimit(2048);
    settings.SetUploadCountLimit(5);
    for (const auto &[id, password] : {std::pair{"alice", ""}, std::pair{"bob", "secret"}}) {
        auto student = std::make_unique<TDO_Event_StudentEntry>();
        student->SetID(QLatin1String(id));
        student->SetPassword(QLatin1String(password));
        event.Students().AddEntry(std::move(student));
    }
    return event;
}

void tst_eventclient::initTestCase() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    qputenv("HOME", (FDir->path() + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (FDir->path() + QStringLiteral("/home/.config")).toUtf8());
    qunsetenv("XDG_DOCUMENTS_DIR");
    if (TServiceFixture::ServiceExecutable().isEmpty())
        QSKIP("the local service was not built");
    QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
    FConfig.SetServerBaseURL(FService.BaseURL());
    FConfig.SetCustomerID(QStringLiteral("CUST-1"));

    // The service keeps real time, so the windows are placed around the real now.
    const TDateTime now = TClock::NowUTC();
    QVERIFY(
        FService.SeedEvent(MakeEvent(QStringLiteral("OPEN01"), now.AddMinutes(-60), now.AddMinutes(120))));
    QVERIFY(FService.SeedEvent(MakeEvent(QStringLiteral("WAIT01"), now.AddDays(1), now.AddDays(2))));
    QVERIFY(FService.SeedEvent(MakeEvent(QStringLiteral("SHUT01"), now.AddDays(-2), now.AddDays(-1))));
}

void tst_eventclient::cleanupTestCase() {
    FService.Stop();
}

void tst_eventclient::init() {
    FUi = &TScriptedUi::Install();
    FPromptsAnswered.clear();
}

void tst_eventclient::cleanup() {
    QVERIFY(FUi->Errors().isEmpty());
    SetUiServices(nullptr);
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (qobject_cast<TfrmDocumentViewer *>(widget))
            widget->close();
}

void tst_eventclient::AnswerPasswordPrompts(const QStringList &APasswords) {
    // Each prompt that appears takes the next answer; an empty answer cancels.
    auto answers = std::make_shared<QStringList>(APasswords);
    auto *timer = new QTimer(this);
    timer->setInterval(20);
    connect(timer, &QTimer::timeout, this, [this, timer, answers] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *prompt = qobject_cast<TdlgPasswordPrompt *>(widget);
            if (!prompt || !prompt->isVisible() || prompt->property("answered").toBool())
                continue;
            prompt->setProperty("answered", true);
            FPromptsAnswered << prompt->windowTitle();
            const QString password = answers->isEmpty() ? QString() : answers->takeFirst();
            if (answers->isEmpty()) {
                timer->stop();
                timer->deleteLater();
            }
            if (password.isEmpty()) {
                prompt->reject();
                return;
            }
            QVERIFY(!prompt->OKButton()->isEnabled());
            prompt->EntryEdit()->setText(QStringLiteral("  ") + password + QStringLiteral(" "));
            QVERIFY(prompt->OKButton()->isEnabled());
            prompt->OKButton()->click();
            return;
        }
    });
    timer->start();
}

bool tst_eventclient::WaitFinished(QSignalSpy &ASpy, int ACount) {
    return QTest::qWaitFor([&] { return ASpy.count() >= ACount; }, RequestTimeout);
}

bool tst_eventclient::Enter(TframeEventClient &AFrame, const QString &ACode, const QString &AStudent,
                            const QString &APin) {
    Child<QLineEdit>(&AFrame, "edtEventCode")->setText(ACode);
    Child<QLineEdit>(&AFrame, "edtStudentID")->setText(AStudent);
    Child<QLineEdit>(&AFrame, "edtProtectedInfo")->setText(APin);
    auto *enter = Child<QPushButton>(&AFrame, "btnEnter");
    if (!enter->isEnabled())
        return false;
    QSignalSpy finished(&AFrame, &TframeEventClient::RequestFinished);
    enter->click();
    return WaitFinished(finished, 1);
}

QString tst_eventclient::WriteFile(const QString &AName, qint64 ASize) {
    const QString path = FDir->filePath(AName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QByteArray(ASize, 'a'));
    return path;
}

void tst_eventclient::typingRules() {
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto *code = Child<QLineEdit>(&frame, "edtEventCode");
    auto *student = Child<QLineEdit>(&frame, "edtStudentID");
    auto *pin = Child<QLineEdit>(&frame, "edtProtectedInfo");
    auto *enter = Child<QPushButton>(&frame, "btnEnter");
    QVERIFY(!enter->isEnabled());

    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("abc 1-23"));
    QCOMPARE(code->text(), QStringLiteral("ABC123"));
    QVERIFY(!enter->isEnabled());
    student->setFocus(); // leaving the field shows the grouped form
    QCOMPARE(code->text(), QStringLiteral("ABC 123"));

    QTest::keyClicks(student, QStringLiteral(" Jane Doe "));
    QCOMPARE(student->text(), QStringLiteral("JaneDoe"));
    QVERIFY(!enter->isEnabled());

    QTest::keyClicks(pin, QStringLiteral("1a2 3456"));
    QCOMPARE(pin->text(), QStringLiteral("1234"));
    QVERIFY(enter->isEnabled());
    QVERIFY(!pin->placeholderText().isEmpty());

    pin->clear();
    QVERIFY(!enter->isEnabled());
    QTest::keyClicks(pin, QStringLiteral("   "));
    QVERIFY(!enter->isEnabled());
}

void tst_eventclient::returnPressesEnter_data() {
    QTest::addColumn<QString>("field");
    QTest::newRow("event code") << QStringLiteral("edtEventCode");
    QTest::newRow("student id") << QStringLiteral("edtStudentID");
    QTest::newRow("disambiguator") << QStringLiteral("edtProtectedInfo");
}

void tst_eventclient::returnPressesEnter() {
    QFETCH(QString, field);
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    auto *edit = frame.findChild<QLineEdit *>(field);
    QVERIFY(edit);

    // Nothing is sent while a field is still empty.
    Child<QLineEdit>(&frame, "edtEventCode")->setText(QStringLiteral("OPEN01"));
    Child<QLineEdit>(&frame, "edtStudentID")->setText(QStringLiteral("alice"));
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(!frame.IsBusy());

    Child<QLineEdit>(&frame, "edtProtectedInfo")->setText(QStringLiteral("1234"));
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QVERIFY(frame.IsBusy());
    QVERIFY(WaitFinished(finished, 1));
    QVERIFY2(FUi->Messages().isEmpty(), qPrintable(FUi->Messages().value(0).Text));
    QCOMPARE(frame.ViewState(), TframeEventClient::vsOpen);
}

void tst_eventclient::helpPopups() {
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    for (const auto &[button, text] :
         {std::pair{"btnHelpStudentID", TframeEventClient::Text_HelpStudentID()},
          std::pair{"btnHelpProtectedInfo", TframeEventClient::Text_HelpProtectedInfo()}}) {
        Child<QPushButton>(&frame, button)->click();
        QPointer<TEventClientHelpPopup> popup = frame.findChild<TEventClientHelpPopup *>();
        QVERIFY(popup);
        QVERIFY(popup->isVisible());
        QCOMPARE(popup->text(), text);
        QTest::mouseClick(popup, Qt::LeftButton);
        QTRY_VERIFY(!popup);
    }
    QVERIFY(TframeEventClient::Text_HelpStudentID().startsWith(QStringLiteral("This could be your name")));
}

void tst_eventclient::answerDueText_data() {
    QTest::addColumn<int>("duration");
    QTest::addColumn<bool>("withDeadline");
    QTest::addColumn<bool>("expectDeadline");
    QTest::addColumn<QString>("fallback");
    QTest::newRow("after stop, deadline") << 0 << true << true << QString();
    QTest::newRow("after stop, none") << 0 << false << false << QString();
    QTest::newRow("duration, deadline known") << 90 << true << true << QString();
    QTest::newRow("duration, not started")
        << 90 << false << false << QStringLiteral("90 minutes after getting question");
}

void tst_eventclient::answerDueText() {
    QFETCH(int, duration);
    QFETCH(bool, withDeadline);
    QFETCH(bool, expectDeadline);
    QFETCH(QString, fallback);
    TDO_Event event;
    event.Covid19().SetDurationLimit_InMinutes(duration);
    const TDateTime deadline = TDateTime::Encode(2024, 7, 4, 18, 5);
    if (withDeadline)
        event.Covid19().SetSubmissionDeadlineUTC(deadline);
    const QString text = TframeEventClient::AnswerDueText(event);
    if (expectDeadline) {
        QCOMPARE(text, TframeEventClient::LocalTimeText(deadline));
        QCOMPARE(text, QStringLiteral("04 Jul 20:05")); // the tests run in Berlin time
    } else {
        QCOMPARE(text, fallback);
    }
}

void tst_eventclient::passwordRetryThenQuestion() {
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();

    // Cancelled prompt: the refusal is reported.
    AnswerPasswordPrompts({QString()});
    QVERIFY(Enter(frame, QStringLiteral("open 01"), QStringLiteral("bob"), QStringLiteral("1234")));
    QCOMPARE(FPromptsAnswered, QStringList{QStringLiteral("Enter Password")});
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().FirstLine(),
             QStringLiteral("A password is required to access this event."));
    QVERIFY(FUi->Messages().first().Text.contains(QStringLiteral("A student password is required")));
    QVERIFY(!frame.IsEventHeld());
    FUi->ClearRecords();

    // A wrong password asks again; the right one opens the event.
    AnswerPasswordPrompts({QStringLiteral("nope"), QStringLiteral("secret")});
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    Child<QPushButton>(&frame, "btnEnter")->click();
    QVERIFY(WaitFinished(finished, 1));
    QCOMPARE(FPromptsAnswered.size(), 3);
    QVERIFY(FUi->Messages().isEmpty());
    QCOMPARE(frame.ViewState(), TframeEventClient::vsOpen);
    QCOMPARE(frame.StudentPassword(), QStringLiteral("secret"));
    QCOMPARE(Child<QLabel>(&frame, "lblEventNameValue")->text(), QStringLiteral("Event OPEN01"));
    QCOMPARE(Child<QLabel>(&frame, "lblInstruction")->text(),
             QStringLiteral("Now write your answer. Return here to upload."));
    QVERIFY(!Child<QLabel>(&frame, "lblQuestionOpenValue")->text().isEmpty());
    auto *get = Child<QPushButton>(&frame, "btnGetQuestion");
    QVERIFY(get->isVisible() && get->isEnabled());
    QCOMPARE(get->text(), QStringLiteral("Get Question"));
    QCOMPARE(get->parentWidget()->palette().color(QPalette::Window), QColor(0x67, 0x8B, 0xC7));
    QVERIFY(!Child<QLineEdit>(&frame, "edtEventCode")->isEnabled());
    QCOMPARE(Child<QLineEdit>(&frame, "edtEventCode")->text(), QStringLiteral("OPE N01"));
    QVERIFY(!frame.IsQuestionDocumentHeld()); // the first fetch leaves the document out

    // Get Question uses the remembered password without asking again and opens the viewer.
    get->click();
    QVERIFY(frame.IsBusy());
    QVERIFY(WaitFinished(finished, 2));
    QCOMPARE(FPromptsAnswered.size(), 3);
    QVERIFY2(FUi->Messages().isEmpty(), qPrintable(FUi->Messages().value(0).Text));
    QPointer<TfrmDocumentViewer> viewer = frame.DocumentViewer();
    QVERIFY(viewer);
    QVERIFY(viewer->isVisible());
    QCOMPARE(viewer->Filename(), QStringLiteral("question.pdf"));
    QVERIFY(viewer->AllowSave());
    QVERIFY(frame.IsDocumentViewerOpen());

    // A second press brings the same window forward, with no request.
    get->click();
    QVERIFY(!frame.IsBusy());
    QCOMPARE(frame.DocumentViewer(), viewer.data());

    // Once closed, a press opens a new viewer from the held document, still with no request.
    viewer->close();
    QTRY_VERIFY(!viewer);
    QVERIFY(!frame.IsDocumentViewerOpen());
    get->click();
    QVERIFY(!frame.IsBusy());
    QVERIFY(frame.DocumentViewer());
    QVERIFY(frame.DocumentViewer()->isVisible());
    QCOMPARE(finished.count(), 2);
}

void tst_eventclient::waitingAndClosedStates_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("instruction");
    QTest::addColumn<bool>("uploadShown");
    QTest::addColumn<QString>("getQuestion");
    QTest::newRow("before the window")
        << QStringLiteral("WAIT01") << int(TframeEventClient::vsWaiting)
        << QStringLiteral("Return when this event is available.") << false << QString();
    QTest::newRow("after the window") << QStringLiteral("SHUT01") << int(TframeEventClient::vsClosed)
                                      << QStringLiteral("Now write your answer. Return here to upload.")
                                      << true << QStringLiteral("Question Unavailable");
}

void tst_eventclient::waitingAndClosedStates() {
    QFETCH(QString, code);
    QFETCH(int, state);
    QFETCH(QString, instruction);
    QFETCH(bool, uploadShown);
    QFETCH(QString, getQuestion);
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(Enter(frame, code, QStringLiteral("alice"), QStringLiteral("1234")));
    QVERIFY2(FUi->Messages().isEmpty(), qPrintable(FUi->Messages().value(0).Text));
    QCOMPARE(int(frame.ViewState()), state);
    QCOMPARE(Child<QLabel>(&frame, "lblInstruction")->text(), instruction);
    QVERIFY(Child<QWidget>(&frame, "pnlDetails")->isVisible());
    QCOMPARE(Child<QWidget>(&frame, "pnlAnswerFile")->isVisible(), uploadShown);
    QCOMPARE(Child<QPushButton>(&frame, "btnUploadAnswer")->isVisible(), uploadShown);
    auto *get = Child<QPushButton>(&frame, "btnGetQuestion");
    QCOMPARE(get->isVisible(), !getQuestion.isEmpty());
    if (!getQuestion.isEmpty()) {
        QCOMPARE(get->text(), getQuestion);
        QVERIFY(!get->isEnabled());
        QCOMPARE(get->parentWidget()->palette().color(QPalette::Window), QColor(0x96, 0x96, 0x96));
    }
    QVERIFY(!Child<QLineEdit>(&frame, "edtStudentID")->isEnabled());
    QVERIFY(!Child<QPushButton>(&frame, "btnEnter")->isEnabled());
}

void tst_eventclient::answerFileLimitUploadAndReceipt() {
    const QString exact = WriteFile(QStringLiteral("exact.pdf"), TframeEventClient::MaxAnswerFileBytes);
    const QString over = WriteFile(QStringLiteral("over.pdf"), TframeEventClient::MaxAnswerFileBytes + 1);
    QVERIFY(!exact.isEmpty() && !over.isEmpty());

    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(Enter(frame, QStringLiteral("OPEN01"), QStringLiteral("alice"), QStringLiteral("4711")));
    QCOMPARE(frame.ViewState(), TframeEventClient::vsOpen);
    auto *upload = Child<QPushButton>(&frame, "btnUploadAnswer");
    auto *label = Child<QLabel>(&frame, "lblAnswerFile");
    auto *answer = Child<QLineEdit>(&frame, "edtAnswerFile");
    QVERIFY(upload->isVisible());
    QVERIFY(!upload->isEnabled());

    // One byte too many: offered after choosing, refused when pressed, with no request.
    FUi->QueueOpenFileName(over);
    Child<QPushButton>(&frame, "btnBrowseAnswerFile")->click();
    QCOMPARE(FUi->Questions().last().Title, QStringLiteral("Select File to Upload"));
    QCOMPARE(FUi->Questions().last().Filter, QStringLiteral("Document (*.pdf *.txt)"));
    QCOMPARE(answer->text(), over);
    QVERIFY(upload->isEnabled());
    upload->click();
    QVERIFY(!frame.IsBusy());
    QVERIFY(!upload->isEnabled());
    QCOMPARE(label->text(), QStringLiteral("Maximum 1 MB"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0xCC, 0x00, 0x00));

    // Exactly the limit goes through; the receipt shows what the service stored.
    FUi->QueueOpenFileName(exact);
    Child<QPushButton>(&frame, "btnBrowseAnswerFile")->click();
    QCOMPARE(label->text(), QStringLiteral("Answer file"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    QVERIFY(upload->isEnabled());

    QStringList receiptLines;
    QString receiptUrl;
    WhenShown<TdlgPaymentReceipt_UploadFile>([&](TdlgPaymentReceipt_UploadFile *AReceipt) {
        receiptLines = AReceipt->SavedLines();
        receiptUrl = AReceipt->ReceiptUrl();
        AReceipt->close(); // refused until confirmed
        if (!AReceipt->isVisible())
            return;
        AReceipt->ConfirmBox()->setChecked(true);
        AReceipt->CloseButton()->click();
    });
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    upload->click();
    QVERIFY(frame.IsBusy());
    QVERIFY(WaitFinished(finished, 1));
    QVERIFY2(FUi->Messages().isEmpty(), qPrintable(FUi->Messages().value(0).Text));
    QCOMPARE(receiptLines.value(3), QStringLiteral("Exam ID: alice (4711)"));
    QCOMPARE(receiptLines.value(4), QStringLiteral("File: exact.pdf (1048 KB)"));
    QVERIFY(receiptUrl.contains(QStringLiteral("Your%20Uploads/OPEN01_alice%20%284711%29-Receipt.htm")));
    QVERIFY(QFile::exists(TDO_ClientConfig::ConfigFolder() +
                          QStringLiteral("Your Uploads/OPEN01_alice (4711).txt")));

    // Back to the entry state with every field empty.
    QCOMPARE(frame.ViewState(), TframeEventClient::vsEntry);
    QVERIFY(!frame.IsEventHeld());
    for (const char *name : {"edtEventCode", "edtStudentID", "edtProtectedInfo", "edtAnswerFile"})
        QVERIFY2(Child<QLineEdit>(&frame, name)->text().isEmpty(), name);
    QVERIFY(Child<QLineEdit>(&frame, "edtStudentID")->isEnabled());
    QVERIFY(!Child<QWidget>(&frame, "pnlDetails")->isVisible());
    QVERIFY(!upload->isVisible());
}

void tst_eventclient::failedFetchOffersNoUpload() {
    const QString answerPath = WriteFile(QStringLiteral("small.pdf"), 100);
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(Enter(frame, QStringLiteral("OPEN01"), QStringLiteral("alice"), QStringLiteral("1234")));
    FUi->QueueOpenFileName(answerPath);
    Child<QPushButton>(&frame, "btnBrowseAnswerFile")->click();
    auto *upload = Child<QPushButton>(&frame, "btnUploadAnswer");
    QVERIFY(upload->isEnabled());

    // The service goes away: getting the question fails and the event is no longer held.
    FService.Stop();
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    Child<QPushButton>(&frame, "btnGetQuestion")->click();
    const bool done = WaitFinished(finished, 1);
    const bool restarted = FService.Restart();
    QVERIFY(done);
    QVERIFY2(restarted, qPrintable(FService.ErrorText()));
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().FirstLine(), QStringLiteral("Unable to retrieve event."));
    QVERIFY(FUi->Messages().first().Text.contains(QStringLiteral("Cannot reach server")));
    QVERIFY(!frame.IsEventHeld());
    QVERIFY(!upload->isVisible());
    QVERIFY(!upload->isEnabled());
    QVERIFY(!Child<QPushButton>(&frame, "btnGetQuestion")->isVisible());
    // Even pressed directly, nothing is sent.
    frame.btnUploadAnswerClick();
    QVERIFY(!frame.IsBusy());
    // The entry fields keep their content and can fetch again.
    QCOMPARE(Child<QLineEdit>(&frame, "edtStudentID")->text(), QStringLiteral("alice"));
    QVERIFY(Child<QPushButton>(&frame, "btnEnter")->isEnabled());
    // The restarted service keeps its data; its port may have changed.
    FConfig.SetServerBaseURL(FService.BaseURL());
}

void tst_eventclient::failedUploadKeepsQuestionOffered() {
    // The service refuses the extension; the view keeps its state, the chosen file and "Get Question".
    const QString answerPath = WriteFile(QStringLiteral("answer.exe"), 100);
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(Enter(frame, QStringLiteral("OPEN01"), QStringLiteral("alice"), QStringLiteral("1234")));
    QCOMPARE(frame.ViewState(), TframeEventClient::vsOpen);
    QVERIFY(!frame.IsQuestionDocumentHeld());
    FUi->QueueOpenFileName(answerPath);
    Child<QPushButton>(&frame, "btnBrowseAnswerFile")->click();
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    Child<QPushButton>(&frame, "btnUploadAnswer")->click();
    QVERIFY(WaitFinished(finished, 1));
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().FirstLine(), QStringLiteral("Unable to upload file."));
    QCOMPARE(frame.ViewState(), TframeEventClient::vsOpen);
    QCOMPARE(Child<QLineEdit>(&frame, "edtAnswerFile")->text(), answerPath);
    QVERIFY(Child<QPushButton>(&frame, "btnUploadAnswer")->isEnabled());
    auto *get = Child<QPushButton>(&frame, "btnGetQuestion");
    QVERIFY(get->isVisible());
    QVERIFY(get->isEnabled());
    QCOMPARE(get->parentWidget()->palette().color(QPalette::Window), QColor(0x67, 0x8B, 0xC7));
}

void tst_eventclient::unknownEventIsReported() {
    TframeEventClient frame;
    frame.Perform(FConfig);
    frame.show();
    QVERIFY(Enter(frame, QStringLiteral("NOSUCH"), QStringLiteral("alice"), QStringLiteral("1234")));
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().FirstLine(), QStringLiteral("Unable to retrieve event."));
    QVERIFY(FUi->Messages().first().Text.contains(QStringLiteral("NOSUCH")));
    QCOMPARE(frame.ViewState(), TframeEventClient::vsEntry);
    QVERIFY(!Child<QPushButton>(&frame, "btnUploadAnswer")->isVisible());
}

void tst_eventclient::startupCheck() {
    TdlgEventClient dlg(FConfig);
    QSignalSpy checked(&dlg, &TdlgEventClient::CheckFinished);
    QVERIFY(!dlg.Frame()->isVisible());
    dlg.show();
    QVERIFY(checked.wait(RequestTimeout));
    QCOMPARE(checked.first().first().toBool(), true);
    QVERIFY(dlg.isVisible());
    QVERIFY(dlg.Frame()->isVisible());
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Event"));
    QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("lblBanner"))->text(), QStringLiteral("Velmar"));
    QCOMPARE(dlg.Frame()->ViewState(), TframeEventClient::vsEntry);
    QVERIFY(FUi->Messages().isEmpty());
}

void tst_eventclient::startupCheckFailureCloses() {
    TDO_ClientConfig unreachable(FConfig);
    unreachable.SetServerBaseURL(QStringLiteral("https://127.0.0.1:1"));
    TdlgEventClient dlg(unreachable);
    QSignalSpy checked(&dlg, &TdlgEventClient::CheckFinished);
    dlg.show();
    QVERIFY(checked.wait(RequestTimeout));
    QCOMPARE(checked.first().first().toBool(), false);
    QVERIFY(!dlg.isVisible());
    QVERIFY(!dlg.CheckPassed());
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().FirstLine(), QStringLiteral("Unable to retrieve fee information."));
    QVERIFY(FUi->Messages().first().Text.section(u'\n', 1).startsWith(QStringLiteral("Cannot reach server")));
}

void tst_eventclient::closingWhileQuestionOpenIsRefused() {
    TdlgEventClient dlg(FConfig);
    QSignalSpy checked(&dlg, &TdlgEventClient::CheckFinished);
    dlg.show();
    QVERIFY(checked.wait(RequestTimeout));
    TframeEventClient &frame = *dlg.Frame();
    QVERIFY(Enter(frame, QStringLiteral("OPEN01"), QStringLiteral("alice"), QStringLiteral("1234")));
    QSignalSpy finished(&frame, &TframeEventClient::RequestFinished);
    Child<QPushButton>(&frame, "btnGetQuestion")->click();
    QVERIFY(WaitFinished(finished, 1));
    QVERIFY(frame.IsDocumentViewerOpen());

    dlg.close();
    QVERIFY(dlg.isVisible());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    QVERIFY(dlg.isVisible());
    QCOMPARE(FUi->Messages().size(), 2);
    QCOMPARE(FUi->Messages().first().Text, QStringLiteral("Question document is open."));

    frame.DocumentViewer()->close();
    dlg.close();
    QVERIFY(!dlg.isVisible());
}

void tst_eventclient::destroyedDuringRequestIgnoresCompletion() {
    auto dlg = std::make_unique<TdlgEventClient>(FConfig);
    QSignalSpy checked(dlg.get(), &TdlgEventClient::CheckFinished);
    dlg->show();
    QVERIFY(checked.wait(RequestTimeout));
    TframeEventClient &frame = *dlg->Frame();
    Child<QLineEdit>(&frame, "edtEventCode")->setText(QStringLiteral("OPEN01"));
    Child<QLineEdit>(&frame, "edtStudentID")->setText(QStringLiteral("alice"));
    Child<QLineEdit>(&frame, "edtProtectedInfo")->setText(QStringLiteral("1234"));
    Child<QPushButton>(&frame, "btnEnter")->click();
    QVERIFY(frame.IsBusy());
    dlg.reset(); // the running fetch is abandoned; its completion must reach nobody
    QVERIFY(QTest::qWaitFor([] { return TAgent_Client_Base::RunningCount() == 0; }, RequestTimeout));
    QTest::qWait(50);
    QVERIFY(FUi->Messages().isEmpty());
}

QTEST_MAIN(tst_eventclient)
#include "tst_eventclient.moc"
