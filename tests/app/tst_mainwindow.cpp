// The main window: first start, banner, version check outcomes, Enter on the choices, the About box.
#include "TScriptedUi.h"
#include "TServiceFixture.h"

#include "app/TDO_ClientConfig_FileOnDisk.h"
#include "app/TdlgAbout.h"
#include "app/TfrmMain.h"
#include "crypto/TzovCryptoTool.h"
#include "net/TAgent_Client_Base.h"
#include "ui/TBrandingStrip.h"
#include "ui/TdlgEventOpen.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include "TavixDeployment.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

// A loopback address where nothing listens. A fixed privileged port: a probed free port, once released,
// can be taken by another test's server running in parallel, and the check then waits for a reply.
QString UnreachableURL() {
    return QStringLiteral("https://127.0.0.1:1");
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<QTemporaryDir> FDir;
    TScriptedUi *FUi = nullptr;

    QString Folder() const { return FDir->path() + QStringLiteral("/config/"); }
    // Writes a configuration file the window will load.
    void WriteConfig(const QString &AURL, const QString &ABrandText = QString()) {
        TDO_ClientConfig_FileOnDisk file(QString::fromLatin1(TfrmMain::ConfigFilename), Folder());
        file.Config().SetServerBaseURL(AURL);
        auto &brand = file.Config().Brand();
        brand.SetLabel_Text(ABrandText);
        brand.SetLabel_ForeColor(0xFFFFFFFFu);
        brand.SetRect_FillColor(0xFF003366u);
        brand.SetRect_StrokeColor(0xFFFF0000u);
        QVERIFY(file.Save());
    }
    // Shows the window and waits for its version check to end.
    void ShowAndWaitForCheck(TfrmMain &AWindow, int *AStatus = nullptr) {
        QSignalSpy finished(&AWindow, &TfrmMain::VersionCheckFinished);
        AWindow.show();
        QVERIFY(QTest::qWaitForWindowExposed(&AWindow));
        QVERIFY(finished.wait(20000));
        if (AStatus)
            *AStatus = finished.first().first().toInt();
    }

private slots:
    void init() {
        FDir = std::make_unique<QTemporaryDir>();
        QVERIFY(FDir->isValid());
        // The user's documents folder lives in the temporary home, never the real one.
        qputenv("HOME", FDir->path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (FDir->path() + QStringLiteral("/.config")).toLocal8Bit());
        FUi = &TScriptedUi::Install();
    }
    void cleanup() {
        QTRY_COMPARE_WITH_TIMEOUT(TAgent_Client_Base::RunningCount(), 0, 20000);
        FDir.reset();
    }

    void firstStartWritesDefaults() {
        const QString path = FDir->path() + QStringLiteral("/Documents/Tavix/TavixCorlan.xml");
        QVERIFY(!QFile::exists(path));
        TfrmMain window;
        QCOMPARE(window.ClientConfigFile().FQFilename(), path);
        QVERIFY(QFile::exists(path));
        TDO_ClientConfig_FileOnDisk written(QStringLiteral("TavixCorlan.xml"));
        QVERIFY(written.Load());
        QCOMPARE(written.EncryptionKey(), TzovCryptoTool::ConfigurationStartCode());
        QCOMPARE(written.Config().ServerBaseURL(), TDO_ClientConfig::DefaultServerBaseURL());
        QVERIFY(window.findChild<TBrandingStrip *>("rectBrand")->isHidden());
        QCOMPARE(window.findChild<QLabel *>("lblVersion")->text(),
                 QStringLiteral("v") + TzovUtil_ApplicationVersion::Version_AsString());
        QVERIFY(FUi->Messages().isEmpty());
    }

    void configuredBannerShows() {
        WriteConfig(UnreachableURL(), QStringLiteral("Northfield College"));
        TfrmMain window(Folder());
        ShowAndWaitForCheck(window);
        auto *strip = window.findChild<TBrandingStrip *>("rectBrand");
        QVERIFY(strip->isVisible());
        QCOMPARE(strip->Text(), QStringLiteral("Northfield College"));
        QCOMPARE(strip->FillColor(), QColor(0x00, 0x33, 0x66));
        QCOMPARE(strip->StrokeColor(), QColor(0xFF, 0x00, 0x00));
        QCOMPARE(strip->TextColor(), QColor(Qt::white));
    }

    void versionCheck_data() {
        QTest::addColumn<QString>("minVersion"); // empty: nothing listens
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("ends");
        QTest::newRow("accepted") << "1.0.0.0" << 202 << false;
        QTest::newRow("outdated") << "99.0.0.0" << 426 << true;
        QTest::newRow("unreachable") << QString() << int(TAgent_Client_Base::asNoReply) << false;
    }
    void versionCheck() {
        QFETCH(QString, minVersion);
        QFETCH(int, status);
        QFETCH(bool, ends);
        TServiceFixture service;
        if (!minVersion.isEmpty())
            QVERIFY2(service.Start({QStringLiteral("--min-client-version"), minVersion}), qPrintable(service.ErrorText()));
        WriteConfig(minVersion.isEmpty() ? UnreachableURL() : service.BaseURL());
        TfrmMain window(Folder());
        int got = 0;
        ShowAndWaitForCheck(window, &got);
        if (minVersion.isEmpty())
            QVERIFY(got == TAgent_Client_Base::asNoReply || got == TAgent_Client_Base::asFailed);
        else
            QCOMPARE(got, status);
        if (ends) {
            QCOMPARE(FUi->Messages().size(), 1);
            QCOMPARE(FUi->Messages().first().Kind, mkError);
            QCOMPARE(FUi->Messages().first().Text, QStringLiteral("Please upgrade to the latest version of this software."));
            QCOMPARE(FUi->OpenedUrls(), QList<QUrl>{QUrl(QString::fromUtf8(TavixDeployment::maker_upgrade_address))});
            QVERIFY(!window.isVisible());
        } else {
            QVERIFY(FUi->Messages().isEmpty());
            QVERIFY(FUi->OpenedUrls().isEmpty());
            QVERIFY(window.isVisible());
            QVERIFY(window.findChild<QPushButton *>("btnSelect")->isEnabled());
        }
    }

    void enterRunsSelectedChoice_data() {
        QTest::addColumn<QString>("choice"); // empty: leave the start selection
        QTest::addColumn<QString>("message");
        QTest::newRow("start selection") << QString() << "Creating an event is not available yet in this version.";
    }
    void enterRunsSelectedChoice() {
        QFETCH(QString, choice);
        QFETCH(QString, message);
        WriteConfig(UnreachableURL());
        TfrmMain window(Folder());
        ShowAndWaitForCheck(window);
        auto *focus = window.findChild<QRadioButton *>("optCreateEvent");
        QVERIFY(focus->isChecked());
        if (!choice.isEmpty()) {
            focus = window.findChild<QRadioButton *>(choice);
            focus->setChecked(true);
        }
        QTest::keyClick(focus, Qt::Key_Return);
        QCOMPARE(FUi->Messages().size(), 1);
        QCOMPARE(FUi->Messages().first().Text, message);
    }

    // The other choices open their dialogs modally; the instructor ones ask for the event first, and
    // cancelling that shows nothing more.
    void choicesOpenTheirDialogs_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("dialogClass");
        QTest::addColumn<int>("type");
        QTest::newRow("edit") << "optEditEvent" << "TdlgEventOpen" << int(TdlgEventOpen::etEvent);
        QTest::newRow("download") << "optDownloadFiles" << "TdlgEventOpen" << int(TdlgEventOpen::etEvent_WithUploadList);
        QTest::newRow("student") << "optStudentClient" << "TdlgEventClient" << -1;
    }
    void choicesOpenTheirDialogs() {
        QFETCH(QString, choice);
        QFETCH(QString, dialogClass);
        QFETCH(int, type);
        WriteConfig(UnreachableURL());
        TfrmMain window(Folder());
        ShowAndWaitForCheck(window);
        auto *option = window.findChild<QRadioButton *>(choice);
        option->setChecked(true);
        QString seenClass;
        int seenType = -1;
        QTimer::singleShot(0, &window, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            seenClass = QString::fromLatin1(modal->metaObject()->className());
            if (auto *open = qobject_cast<TdlgEventOpen *>(modal))
                seenType = open->EventType();
            if (auto *dlg = qobject_cast<QDialog *>(modal))
                dlg->reject();
        });
        QTest::keyClick(option, Qt::Key_Enter);
        QCOMPARE(seenClass, dialogClass);
        QCOMPARE(seenType, type);
        if (type >= 0)
            QVERIFY(FUi->Messages().isEmpty());
    }

    void aboutShowsConfiguredAddress() {
        const QString url = UnreachableURL();
        WriteConfig(url);
        TfrmMain window(Folder());
        ShowAndWaitForCheck(window);
        window.move(0, 0); // the box opens in the middle of the screen, not over the window
        QString shown;
        bool visible = false;
        QPoint offset;
        QTimer::singleShot(0, &window, [&] {
            visible = window.About()->isVisible();
            offset = window.About()->frameGeometry().center() -
                     window.About()->screen()->availableGeometry().center();
            shown = window.About()->findChild<QLineEdit *>("txtServerBaseURL")->text();
            window.About()->findChild<QPushButton *>("btnClose")->click();
        });
        QTest::mouseDClick(window.findChild<QLabel *>("lblVersion"), Qt::LeftButton);
        QVERIFY(visible);
        QVERIFY2(offset.manhattanLength() <= 8,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        QCOMPARE(shown, url);
        QVERIFY(!window.About()->isVisible());
        QVERIFY(window.About()->findChild<QLabel *>("lblVersion")->text().contains(
            TzovUtil_ApplicationVersion::Version_AsString()));
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
