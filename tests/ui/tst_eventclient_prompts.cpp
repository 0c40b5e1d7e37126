// The password and accommodation PIN prompts: captions, the OK rule, masking and the trimmed entry.
#include "ui/TShowHideButton.h"
#include "ui/TdlgAccommodationPINPrompt.h"
#include "ui/TdlgPasswordPrompt.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <memory>

class tst_eventclient_prompts : public QObject {
    Q_OBJECT
private slots:
    void prompt_data();
    void prompt();
};

void tst_eventclient_prompts::prompt_data() {
    QTest::addColumn<bool>("pin");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("label");
    QTest::newRow("password") << false << QStringLiteral("Enter Password") << QStringLiteral("Password");
    QTest::newRow("accommodation PIN")
        << true << QStringLiteral("Accommodation PIN") << QStringLiteral("Enter the Accommodation PIN");
}

void tst_eventclient_prompts::prompt() {
    QFETCH(bool, pin);
    QFETCH(QString, caption);
    QFETCH(QString, label);
    std::unique_ptr<TdlgSecretPrompt> dlg;
    if (pin)
        dlg = std::make_unique<TdlgAccommodationPINPrompt>();
    else
        dlg = std::make_unique<TdlgPasswordPrompt>();
    QCOMPARE(dlg->windowTitle(), caption);
    QCOMPARE(dlg->findChild<QLabel *>(QStringLiteral("lblEntry"))->text(), label);

    QLineEdit *edit = dlg->EntryEdit();
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    auto *toggle = dlg->findChild<TShowHideButton *>();
    QVERIFY(toggle);
    toggle->click();
    QCOMPARE(edit->echoMode(), QLineEdit::Normal);
    toggle->click();
    QCOMPARE(edit->echoMode(), QLineEdit::Password);

    QVERIFY(!dlg->OKButton()->isEnabled());
    QVERIFY(dlg->OKButton()->isDefault());
    edit->setText(QStringLiteral("   "));
    QVERIFY(!dlg->OKButton()->isEnabled());
    edit->setText(QStringLiteral("  a b "));
    QVERIFY(dlg->OKButton()->isEnabled());

    // Enter presses OK; the entry comes back without outer blanks.
    QTimer::singleShot(0, dlg.get(), [&] { QTest::keyClick(edit, Qt::Key_Return); });
    QVERIFY(dlg->Execute());
    QCOMPARE(dlg->Entry(), QStringLiteral("a b"));
    if (pin)
        QCOMPARE(static_cast<TdlgAccommodationPINPrompt *>(dlg.get())->AccommodationPIN(),
                 QStringLiteral("a b"));
    else
        QCOMPARE(static_cast<TdlgPasswordPrompt *>(dlg.get())->Password(), QStringLiteral("a b"));

    QTimer::singleShot(0, dlg.get(), [&] { QTest::keyClick(edit, Qt::Key_Escape); });
    QVERIFY(!dlg->Execute());
}

QTEST_MAIN(tst_eventclient_prompts)
#include "tst_eventclient_prompts.moc"
