// Renders every window of the program in a typical state. With TAVIX_SCREENSHOT_DIR set (scripts/screenshots.sh)
// each picture is also saved there as a PNG; without it this checks that every window builds and paints.
#include "TScriptedUi.h"
#include "TServiceFixture.h"
#include "TUiTestSupport.h"

#include "app/TDO_ClientConfig_FileOnDisk.h"
#include "app/TdlgAbout.h"
#include "app/TfrmMain.h"
#include "data/TDO_Event.h"
#include "data/TDO_UploadedFile.h"
#include "net/TAgent_Client_Base.h"
#include "ui/TdlgEventClient.h"
#include "ui/TdlgEventOpen.h"
#include "ui/TdlgPaymentReceipt_EventCreate.h"
#include "ui/TdlgPaymentReceipt_UploadFile.h"
#include "ui/TframeEventClient.h"
#include "ui/TfrmDocumentViewer.h"
#include "util/TDateTime.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

class TestScreenshots : public QObject {
    Q_OBJECT
private:
    QTemporaryDir FHome;
    TServiceFixture FService;
    QString FCode;
    QString FOutDir;
    std::unique_ptr<TDO_ClientConfig_FileOnDisk> FConfig;

    void Shoot(QWidget &AWidget, const QString &AName) {
        if (!AWidget.isVisible()) {
            AWidget.show();
            QVERIFY(QTest::qWaitForWindowExposed(&AWidget));
        }
        QTest::qWait(150); // let layouts and busy animations settle
        const QPixmap picture = AWidget.grab();
        QVERIFY(!picture.isNull());
        QVERIFY(picture.width() > 50 && picture.height() > 50);
        if (!FOutDir.isEmpty())
            QVERIFY2(picture.save(FOutDir + QLatin1Char('/') + AName + QStringLiteral(".png")), qPrintable(AName));
    }

private slots:
    void initTestCase() {
        qputenv("HOME", FHome.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (FHome.path() + QStringLiteral("/.config")).toLocal8Bit());
        FOutDir = qEnvironmentVariable("TAVIX_SCREENSHOT_DIR");
        if (!FOutDir.isEmpty())
            QVERIFY(QDir().mkpath(FOutDir));
        TScriptedUi::Install().SetFailOnUnexpected(false);
        const QString seeded = FService.SeedDemo();
        const auto match = QRegularExpression(QStringLiteral("demo event code: ([A-Z0-9 ]+)")).match(seeded);
        QVERIFY2(match.hasMatch(), qPrintable(seeded));
        FCode = TDO_Event::NormalizeID(match.captured(1));
        QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
        FConfig = std::make_unique<TDO_ClientConfig_FileOnDisk>(QString::fromLatin1(TfrmMain::ConfigFilename));
        FConfig->Config().SetServerBaseURL(FService.BaseURL());
        FConfig->Config().Brand().SetLabel_Text(QStringLiteral("Northfield College"));
        QVERIFY(FConfig->Save());
    }
    void cleanupTestCase() { QTRY_COMPARE_WITH_TIMEOUT(TAgent_Client_Base::RunningCount(), 0, 20000); }

    void mainWindowAndAbout() {
        TfrmMain window;
        QSignalSpy checked(&window, &TfrmMain::VersionCheckFinished);
        window.show();
        QVERIFY(checked.wait(20000));
        Shoot(window, QStringLiteral("main-window"));
        window.About()->SetServerBaseURL(window.ClientConfig().ServerBaseURL());
        Shoot(*window.About(), QStringLiteral("about"));
    }

    void eventOpen() {
        TdlgEventOpen dlg;
        dlg.Prepare(FConfig->Config(), TdlgEventOpen::etEvent, TDO_Event::PrettifyID(FCode), QString());
        Shoot(dlg, QStringLiteral("event-open"));
    }

    void studentView() {
        TdlgEventClient dlg(FConfig->Config());
        QSignalSpy checked(&dlg, &TdlgEventClient::CheckFinished);
        dlg.show();
        QVERIFY(checked.wait(20000));
        Shoot(dlg, QStringLiteral("student-entry"));
        TframeEventClient *frame = dlg.Frame();
        frame->findChild<QLineEdit *>("edtEventCode")->setText(FCode);
        frame->findChild<QLineEdit *>("edtStudentID")->setText(QStringLiteral("student3"));
        frame->findChild<QLineEdit *>("edtProtectedInfo")->setText(QStringLiteral("1234"));
        QSignalSpy finished(frame, &TframeEventClient::RequestFinished);
        frame->findChild<QPushButton *>("btnEnter")->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(frame->ViewState(), TframeEventClient::vsOpen);
        Shoot(dlg, QStringLiteral("student-open"));
        dlg.hide();
    }

    void documentViewer() {
        auto *viewer = new TfrmDocumentViewer;
        viewer->Execute(MakeTestPdf(2, QStringLiteral("Practice question")), QStringLiteral("Practice question.pdf"), true);
        viewer->resize(700, 600);
        Shoot(*viewer, QStringLiteral("document-viewer"));
        viewer->close();
    }

    void receipts() {
        TdlgEventOpen open;
        QTimer::singleShot(20000, &open, &QDialog::reject);
        const TDO_Event *event = open.GetEvent(FConfig->Config(), FCode, QStringLiteral("practice"));
        QVERIFY(event);

        TdlgPaymentReceipt_EventCreate created;
        created.Prepare(FConfig->Config(), *event);
        Shoot(created, QStringLiteral("receipt-event"));
        created.hide();

        TDO_UploadedFile upload;
        const TDateTime now = TClock::NowUTC();
        upload.SetEventID(event->ID());
        upload.SetStudentID(QStringLiteral("student1"));
        upload.SetProtectedInfo(QStringLiteral("1234"));
        upload.SetFilename(QStringLiteral("My answer.pdf"));
        upload.SetFileData(MakeTestPdf(1, QStringLiteral("Answer")));
        upload.SetCreatedUTC(now);
        upload.SetCheckedOutUTC(now.AddMinutes(-25));
        upload.SetSubmitDueUTC(now.AddDays(7));
        TdlgPaymentReceipt_UploadFile uploaded;
        uploaded.Prepare(FConfig->Config(), *event, upload);
        Shoot(uploaded, QStringLiteral("receipt-upload"));
        uploaded.hide();
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
