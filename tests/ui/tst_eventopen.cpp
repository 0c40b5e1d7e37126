// The event open dialog against the local service: auto-open, the "Open" rule, typing, errors, cancelling.
#include "TScriptedUi.h"
#include "TServiceFixture.h"

#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "net/TAgent_Client_Base.h"
#include "ui/TdlgEventOpen.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTimer>
#include <QtTest>

class TestEventOpen : public QObject {
    Q_OBJECT
private:
    TServiceFixture FService;
    TDO_ClientConfig FConfig;
    QString FCode;
    TScriptedUi *FUi = nullptr;
    static constexpr auto Password = "practice";

    static QLineEdit *Edit(TdlgEventOpen &ADlg, const char *AName) { return ADlg.findChild<QLineEdit *>(AName); }
    static QPushButton *Button(TdlgEventOpen &ADlg, const char *AName) {
        return ADlg.findChild<QPushButton *>(AName);
    }

    // Types each character as a key press carrying it as text (keyClicks takes ASCII only).
    static void Type(QWidget *AWidget, const QString &AText) {
        for (QChar c : AText) {
            QKeyEvent press(QEvent::KeyPress, c.isLetterOrNumber() ? Qt::Key_A : Qt::Key_Minus, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(AWidget, &press);
            QKeyEvent release(QEvent::KeyRelease, press.key(), Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(AWidget, &release);
        }
    }

private slots:
    void initTestCase() {
        const QString seeded = FService.SeedDemo();
        const auto match = QRegularExpression(QStringLiteral("demo event code: ([A-Z0-9 ]+)")).match(seeded);
        QVERIFY2(match.hasMatch(), qPrintable(seeded));
        FCode = TDO_Event::NormalizeID(match.captured(1));
        QVERIFY2(FService.Start(), qPrintable(FService.ErrorText()));
        FConfig.SetServerBaseURL(FService.BaseURL());
    }
    void init() { FUi = &TScriptedUi::Install(); }
    void cleanup() { QTRY_COMPARE_WITH_TIMEOUT(TAgent_Client_Base::RunningCount(), 0, 20000); }

    // Both entry points, given both values, fetch without "Open" being pressed.
    void prefilledFetchesAtOnce_data() {
        QTest::addColumn<bool>("withUploads");
        QTest::newRow("event") << false;
        QTest::newRow("with upload list") << true;
    }
    void prefilledFetchesAtOnce() {
        QFETCH(bool, withUploads);
        TdlgEventOpen dlg;
        QTimer::singleShot(20000, &dlg, &QDialog::reject); // never hang the run
        const QString pretty = TDO_Event::PrettifyID(FCode);
        const TDO_Event *event = withUploads ? dlg.GetEvent_WithUploadList(FConfig, pretty, Password)
                                             : dlg.GetEvent(FConfig, pretty, Password);
        QVERIFY2(event, qPrintable(FUi->Messages().isEmpty() ? QString() : FUi->Messages().first().Text));
        QCOMPARE(event->ID(), FCode);
        QCOMPARE(event->Name(), QStringLiteral("Practice Event"));
        if (withUploads)
            QCOMPARE(event, static_cast<const TDO_Event *>(&dlg.EventUL()));
        else
            QCOMPARE(event, &dlg.Event());
        QVERIFY(FUi->Messages().isEmpty());
    }

    void openRule_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("both empty") << "" << "" << false;
        QTest::newRow("code of blanks") << "   " << "secret" << false;
        QTest::newRow("password of blanks") << "ABC" << " \t " << false;
        QTest::newRow("both blanks") << "  " << "  " << false;
        QTest::newRow("both given") << "ABC" << "secret" << true;
        QTest::newRow("padded") << " ABC " << " secret " << true;
    }
    void openRule() {
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(bool, enabled);
        TdlgEventOpen dlg;
        // Given as pre-filled values: blanks must neither enable "Open" nor let the auto-open fetch.
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, code, password);
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QCOMPARE(Button(dlg, "btnOK")->isEnabled(), enabled);
        if (!enabled) {
            QTest::qWait(300);
            QVERIFY(!dlg.IsBusy());
            QVERIFY(dlg.isVisible());
            QCOMPARE(TAgent_Client_Base::RunningCount(), 0);
        }
        dlg.reject();
        // Typed values follow the same rule on every change.
        TdlgEventOpen typed;
        typed.Prepare(FConfig, TdlgEventOpen::etEvent, QString(), QString());
        Edit(typed, "txtPassword")->setText(password);
        QVERIFY(!Button(typed, "btnOK")->isEnabled());
        Edit(typed, "txtID")->setText(code);
        QCOMPARE(Button(typed, "btnOK")->isEnabled(), enabled && !code.trimmed().isEmpty());
    }

    // Over a window in a corner, the dialog still opens in the middle of the screen.
    void centredOnScreen() {
        QWidget owner;
        owner.setGeometry(0, 0, 120, 90);
        owner.show();
        TdlgEventOpen dlg(&owner);
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, QString(), QString());
        dlg.open();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        const QPoint offset = dlg.frameGeometry().center() - dlg.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 8,
                 qPrintable(QStringLiteral("%1,%2").arg(offset.x()).arg(offset.y())));
        dlg.reject();
    }

    void typingRules_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("grouped");
        QTest::newRow("lower case, dash, blank") << "ab-1 c" << "AB1C" << "AB1 C";
        QTest::newRow("punctuation dropped") << "x.y,z!9?" << "XYZ9" << "XYZ 9";
        QTest::newRow("nine characters") << "abc123def" << "ABC123DEF" << "ABC 123 DEF";
        QTest::newRow("non-ASCII letters dropped") << QString::fromUtf8("\xC3\xA9" "a\xC3\x9F" "b") << "AB" << "AB";
    }
    void typingRules() {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, grouped);
        TdlgEventOpen dlg;
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, QString(), QString());
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QLineEdit *id = Edit(dlg, "txtID");
        Type(id, typed);
        QCOMPARE(id->text(), shown);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QCoreApplication::sendEvent(id, &out);
        QCOMPARE(id->text(), grouped);
    }

    void editingKeysStillWork() {
        TdlgEventOpen dlg;
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, QString(), QString());
        QLineEdit *id = Edit(dlg, "txtID");
        QTest::keyClicks(id, QStringLiteral("abcd"));
        QTest::keyClick(id, Qt::Key_Backspace);
        QTest::keyClick(id, Qt::Key_Home);
        QTest::keyClick(id, Qt::Key_Delete);
        QCOMPARE(id->text(), QStringLiteral("BC"));
    }

    void errorMessages_data() {
        QTest::addColumn<QString>("where"); // "service" or "nowhere"
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("detail"); // empty: any non-empty detail
        QTest::newRow("wrong password") << "service" << "" << "wrong" << "";
        QTest::newRow("unknown code") << "service" << "ZZZ ZZZ ZZZ" << Password << "";
        QTest::newRow("unreachable") << "nowhere" << "" << Password << "Cannot reach server";
    }
    void errorMessages() {
        QFETCH(QString, where);
        QFETCH(QString, code);
        QFETCH(QString, password);
        QFETCH(QString, detail);
        TDO_ClientConfig config;
        if (where == QLatin1String("service")) {
            config.SetServerBaseURL(FService.BaseURL());
        } else {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            config.SetServerBaseURL(QStringLiteral("https://127.0.0.1:%1").arg(probe.serverPort()));
        }
        TdlgEventOpen dlg;
        dlg.Prepare(config, TdlgEventOpen::etEvent, code.isEmpty() ? FCode : code, QString());
        dlg.open();
        Edit(dlg, "txtPassword")->setText(password);
        QSignalSpy finished(&dlg, &TdlgEventOpen::FetchFinished);
        Button(dlg, "btnOK")->click();
        QVERIFY(dlg.IsBusy());
        QVERIFY(!Edit(dlg, "txtID")->isEnabled());
        QVERIFY(!Edit(dlg, "txtPassword")->isEnabled());
        QVERIFY(!Button(dlg, "btnOK")->isEnabled());
        // Enter while the fetch runs starts nothing more.
        QTest::keyClick(&dlg, Qt::Key_Return);
        QVERIFY(finished.wait(20000));
        QTest::qWait(50);
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished.first().first().toBool(), false);
        QCOMPARE(FUi->Messages().size(), 1);
        const auto message = FUi->Messages().first();
        QCOMPARE(message.Kind, mkError);
        QCOMPARE(message.FirstLine(), QStringLiteral("Unable to open event."));
        const QString shownDetail = message.Text.section(QLatin1Char('\n'), 1);
        QVERIFY2(!shownDetail.trimmed().isEmpty(), qPrintable(message.Text));
        if (!detail.isEmpty())
            QVERIFY2(shownDetail.startsWith(detail), qPrintable(shownDetail));
        // Back to idle, open for another try.
        QVERIFY(dlg.isVisible());
        QVERIFY(!dlg.IsBusy());
        QVERIFY(Edit(dlg, "txtID")->isEnabled());
        QVERIFY(Button(dlg, "btnOK")->isEnabled());
        QVERIFY(dlg.Event().ID().isEmpty());
    }

    void correctedPasswordSucceeds() {
        TdlgEventOpen dlg;
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, FCode, QString());
        dlg.open();
        QSignalSpy finished(&dlg, &TdlgEventOpen::FetchFinished);
        Edit(dlg, "txtPassword")->setText(QStringLiteral("wrong"));
        Button(dlg, "btnOK")->click();
        QVERIFY(finished.wait(20000));
        QCOMPARE(FUi->Messages().size(), 1);
        Edit(dlg, "txtPassword")->setText(QString::fromLatin1(Password));
        Button(dlg, "btnOK")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.isVisible(), 20000);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Event().ID(), FCode);
        QCOMPARE(FUi->Messages().size(), 1);
    }

    void outdatedClientAsksForUpgrade() {
        TServiceFixture strict;
        QVERIFY2(strict.Start({QStringLiteral("--min-client-version"), QStringLiteral("99.0.0.0")}),
                 qPrintable(strict.ErrorText()));
        TDO_ClientConfig config;
        config.SetServerBaseURL(strict.BaseURL());
        TdlgEventOpen dlg;
        dlg.Prepare(config, TdlgEventOpen::etEvent, QStringLiteral("ABC"), QStringLiteral("x"));
        QSignalSpy finished(&dlg, &TdlgEventOpen::FetchFinished);
        dlg.open();
        QVERIFY(finished.wait(20000));
        QCOMPARE(FUi->Messages().size(), 1);
        QCOMPARE(FUi->Messages().first().Text,
                 QStringLiteral("Unable to open event.\nPlease upgrade to the latest version of this software."));
        QVERIFY(dlg.isVisible());
    }

    // Closing while the fetch runs ends the dialog at once; the fetch's later completion changes nothing.
    void cancelDuringFetchIgnoresLateCompletion_data() {
        QTest::addColumn<bool>("escape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Escape") << true;
    }
    void cancelDuringFetchIgnoresLateCompletion() {
        QFETCH(bool, escape);
        TdlgEventOpen dlg;
        dlg.Prepare(FConfig, TdlgEventOpen::etEvent, FCode, QString());
        dlg.open();
        QSignalSpy finished(&dlg, &TdlgEventOpen::FetchFinished);
        Edit(dlg, "txtPassword")->setText(QString::fromLatin1(Password));
        Button(dlg, "btnOK")->click();
        QVERIFY(dlg.IsBusy());
        QCOMPARE(TAgent_Client_Base::RunningCount(), 1);
        if (escape)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            Button(dlg, "btnClose")->click();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.IsBusy());
        // The fetch runs to its end unnoticed.
        QTRY_COMPARE_WITH_TIMEOUT(TAgent_Client_Base::RunningCount(), 0, 20000);
        QTest::qWait(100);
        QCOMPARE(finished.size(), 0);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(dlg.Event().ID().isEmpty());
        QVERIFY(FUi->Messages().isEmpty());
    }
};

QTEST_MAIN(TestEventOpen)
#include "tst_eventopen.moc"
