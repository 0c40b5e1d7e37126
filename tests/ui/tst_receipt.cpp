// Transaction receipt windows: saved files and their names, local receipt addresses, copy, close guard.
#include "TScriptedUi.h"
#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event.h"
#include "data/TDO_UploadedFile.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"
#include "ui/TdlgPaymentReceipt_EventCreate.h"
#include "ui/TdlgPaymentReceipt_UploadFile.h"
#include "util/TDateTime.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class tst_receipt : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fileUrl_data();
    void fileUrl();
    void couponEventReceiptWritesHtmlAndSummary();
    void cardEventReceiptUsesProcessorAddress();
    void uploadReceiptNamesAndAddress();
    void uploadKilobytes_data();
    void uploadKilobytes();
    void hostileStudentIdStaysInFolder();
    void secondShowingOverwrites();
    void unwritableFolderLeavesAddressEmpty();
    void copyToClipboard();
    void closeGuard_data();
    void closeGuard();

private:
    static TDO_Event CouponEvent();
    static TDO_UploadedFile Upload(const QString &AStudentID, int ABytes);
    static QStringList ReadLines(const QString &APath);
    QString Folder(const QString &ASub) const { return TDO_ClientConfig::ConfigFolder() + ASub + u'/'; }

    std::unique_ptr<QTemporaryDir> FDir;
    QString FHome;
    TDO_ClientConfig FConfig;
    TScriptedUi *FUi = nullptr;
};

void tst_receipt::initTestCase() {
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    // Parentheses and a blank in the home folder show up in every receipt address.
    FHome = FDir->path() + QStringLiteral("/Home (test)");
    QVERIFY(QDir().mkpath(FHome));
    qputenv("HOME", FHome.toUtf8());
    qputenv("XDG_CONFIG_HOME", (FHome + QStringLiteral("/.config")).toUtf8());
    qunsetenv("XDG_DOCUMENTS_DIR");
    QVERIFY(TDO_ClientConfig::ConfigFolder().startsWith(FHome));
}

void tst_receipt::init() {
    FUi = &TScriptedUi::Install();
    TClock::SetFixedUTC(TDateTime::Encode(2024, 3, 5, 14, 30, 15));
    QDir(TDO_ClientConfig::ConfigFolder()).removeRecursively();
}

void tst_receipt::cleanup() {
    QVERIFY(FUi->Errors().isEmpty());
    SetUiServices(nullptr);
    TClock::Reset();
}

TDO_Event tst_receipt::CouponEvent() {
    TDO_Event event;
    event.SetID(QStringLiteral("abc123def"));
    event.SetName(QStringLiteral("Physics <Final>"));
    event.SetPassword(QStringLiteral("pw-1"));
    event.SetAccommPIN(QStringLiteral("4321"));
    event.SetCreatedUTC(TDateTime::Encode(2024, 3, 5, 9, 7, 3));
    event.SetPaymentChargeFromCoupon(QStringLiteral("CPN-1"), QStringLiteral("T-77"));
    return event;
}

TDO_UploadedFile tst_receipt::Upload(const QString &AStudentID, int ABytes) {
    TDO_UploadedFile upload;
    upload.SetEventID(QStringLiteral("ABC123DEF"));
    upload.SetStudentID(AStudentID);
    upload.SetProtectedInfo(QStringLiteral("1234"));
    upload.SetFilename(QStringLiteral("answer.pdf"));
    upload.SetFileData(QByteArray(ABytes, 'x'));
    upload.SetCreatedUTC(TDateTime::Encode(2024, 3, 5, 16, 45, 0));
    return upload;
}

QStringList tst_receipt::ReadLines(const QString &APath) {
    QFile file(APath);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLocal8Bit(file.readAll());
    if (!text.endsWith(QStringLiteral("\r\n")))
        return {QStringLiteral("<no CR LF at end>")};
    return text.chopped(2).split(QStringLiteral("\r\n"));
}

void tst_receipt::fileUrl_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("url");
    QTest::newRow("blank and parentheses")
        << QStringLiteral("/home/a b/Your Events/X (1).htm")
        << QStringLiteral("file:///home/a%20b/Your%20Events/X%20%281%29.htm");
    QTest::newRow("reserved characters")
        << QStringLiteral("/d/a#b+c?d<e>f^g`h{i}j|k\"l\\m.htm")
        << QStringLiteral("file:///d/a%23b%2Bc%3Fd%3Ce%3Ef%5Eg%60h%7Bi%7Dj%7Ck%22l%5Cm.htm");
    QTest::newRow("non-ASCII as UTF-8")
        << QStringLiteral("/d/\u00e9t\u00e9.htm") << QStringLiteral("file:///d/%C3%A9t%C3%A9.htm");
    QTest::newRow("relative path gets a leading slash")
        << QStringLiteral("C:/x y.htm") << QStringLiteral("file:///C:/x%20y.htm");
    // A folder really named with a percent sequence must still name that folder.
    QTest::newRow("percent always encoded")
        << QStringLiteral("/d/50%41.htm") << QStringLiteral("file:///d/50%2541.htm");
    QTest::newRow("safe punctuation kept")
        << QStringLiteral("/d/a-b_c.d~e!f'g*h,i;j=k&l@m$n:o[p].htm")
        << QStringLiteral("file:///d/a-b_c.d~e!f'g*h,i;j=k&l@m$n:o[p].htm");
}

void tst_receipt::fileUrl() {
    QFETCH(QString, path);
    QFETCH(QString, url);
    QCOMPARE(TdlgPaymentReceipt_Base::FileUrlFromPath(path), url);
    // The browser gets back the very file.
    QCOMPARE(QUrl::fromEncoded(url.toUtf8()).toLocalFile(),
             path.startsWith(u'/') ? path : QStringLiteral("/") + path);
}

void tst_receipt::couponEventReceiptWritesHtmlAndSummary() {
    TdlgPaymentReceipt_EventCreate dlg;
    dlg.Prepare(FConfig, CouponEvent());

    const QString html = Folder(QStringLiteral("Your Events")) + QStringLiteral("ABC123DEF-Receipt.htm");
    const QString summary = Folder(QStringLiteral("Your Events")) + QStringLiteral("ABC123DEF.txt");
    QVERIFY(QFile::exists(html));
    QCOMPARE(dlg.SummaryFilePath(), summary);

    QFile htmlFile(html);
    QVERIFY(htmlFile.open(QIODevice::ReadOnly));
    const QString htmlText = QString::fromUtf8(htmlFile.readAll());
    QVERIFY(htmlText.contains(QStringLiteral("ABC 123 DEF")));
    QVERIFY(htmlText.contains(QStringLiteral("Physics &lt;Final&gt;")));
    QVERIFY(htmlText.contains(QStringLiteral("2024/03/05 09:07:03 UTC")));

    const QString url = dlg.ReceiptUrl();
    QVERIFY2(url.startsWith(QStringLiteral("file:///")), qPrintable(url));
    QVERIFY(url.contains(QStringLiteral("/Your%20Events/")));
    QVERIFY(url.contains(QStringLiteral("Home%20%28test%29")));
    QVERIFY(!url.contains(u' ') && !url.contains(u'(') && !url.contains(u')'));
    QCOMPARE(QUrl::fromEncoded(url.toUtf8()).toLocalFile(), html);
    QCOMPARE(dlg.Event().PaymentCharge().ReceiptUrl(), url);

    const QStringList lines = ReadLines(summary);
    QCOMPARE(lines.size(), 6);
    QVERIFY(lines.at(0).startsWith(QStringLiteral("Saved: Mar 5, 2024 ")));
    QCOMPARE(lines.mid(1),
             (QStringList{QStringLiteral("Event Name: Physics <Final>"),
                          QStringLiteral("Event Code: ABC 123 DEF"), QStringLiteral("Password: pw-1"),
                          QStringLiteral("Accommodation PIN: 4321"), QStringLiteral("Receipt URL: ") + url}));
    QVERIFY(!dlg.ViewButton()->isHidden());

    dlg.ViewButton()->click();
    QCOMPARE(FUi->OpenedUrls().size(), 1);
    QCOMPARE(FUi->OpenedUrls().first().toLocalFile(), html);
}

void tst_receipt::cardEventReceiptUsesProcessorAddress() {
    TDO_Event event = CouponEvent();
    event.PaymentCharge().SetID(QStringLiteral("Stripe ID: ch_1"));
    event.PaymentCharge().SetReceiptUrl(QStringLiteral("https://pay.example.com/receipts/ch_1"));
    TdlgPaymentReceipt_EventCreate dlg;
    dlg.Prepare(FConfig, event);
    QVERIFY(!QFile::exists(Folder(QStringLiteral("Your Events")) + QStringLiteral("ABC123DEF-Receipt.htm")));
    QCOMPARE(dlg.ReceiptUrl(), QStringLiteral("https://pay.example.com/receipts/ch_1"));
    QCOMPARE(ReadLines(dlg.SummaryFilePath()).last(),
             QStringLiteral("Receipt URL: https://pay.example.com/receipts/ch_1"));
    dlg.ViewButton()->click();
    QCOMPARE(FUi->OpenedUrls(), QList<QUrl>{QUrl(QStringLiteral("https://pay.example.com/receipts/ch_1"))});
}

void tst_receipt::uploadReceiptNamesAndAddress() {
    TDO_UploadedFile upload = Upload(QStringLiteral("jsmith"), 2500);
    upload.SetPaymentChargeFromCoupon(QStringLiteral("FREE"), QStringLiteral("T-1"));
    TdlgPaymentReceipt_UploadFile dlg;
    dlg.Prepare(FConfig, CouponEvent(), upload);

    const QString folder = Folder(QStringLiteral("Your Uploads"));
    const QString html = folder + QStringLiteral("ABC123DEF_jsmith (1234)-Receipt.htm");
    QVERIFY(QFile::exists(html));
    QCOMPARE(dlg.SummaryFilePath(), folder + QStringLiteral("ABC123DEF_jsmith (1234).txt"));
    const QString url = dlg.ReceiptUrl();
    QVERIFY(url.endsWith(QStringLiteral("/Your%20Uploads/ABC123DEF_jsmith%20%281234%29-Receipt.htm")));
    QCOMPARE(QUrl::fromEncoded(url.toUtf8()).toLocalFile(), html);

    const QStringList lines = ReadLines(dlg.SummaryFilePath());
    QCOMPARE(
        lines.mid(1),
        (QStringList{QStringLiteral("Event Name: Physics <Final>"), QStringLiteral("Event Code: ABC 123 DEF"),
                     QStringLiteral("Exam ID: jsmith (1234)"), QStringLiteral("File: answer.pdf (2 KB)"),
                     QStringLiteral("Received: 2024/03/05 16:45:00 UTC"),
                     QStringLiteral("Receipt URL: ") + url}));
    // The window shows what the file says.
    auto *received = dlg.findChild<QLabel *>(QStringLiteral("lblReceived"));
    QVERIFY(received);
    QCOMPARE(QStringLiteral("Received: ") + received->text(), lines.at(5));
    QCOMPARE(dlg.Upload().PaymentCharge().ReceiptUrl(), url);
}

void tst_receipt::uploadKilobytes_data() {
    QTest::addColumn<int>("bytes");
    QTest::addColumn<QString>("info");
    QTest::newRow("999 bytes") << 999 << QStringLiteral("answer.pdf (0 KB)");
    QTest::newRow("1000 bytes") << 1000 << QStringLiteral("answer.pdf (1 KB)");
    QTest::newRow("1999 bytes") << 1999 << QStringLiteral("answer.pdf (1 KB)");
    QTest::newRow("1 MB") << 1048576 << QStringLiteral("answer.pdf (1048 KB)");
}

void tst_receipt::uploadKilobytes() {
    QFETCH(int, bytes);
    QFETCH(QString, info);
    QCOMPARE(TdlgPaymentReceipt_UploadFile::FileInfoText(Upload(QStringLiteral("s"), bytes)), info);
}

void tst_receipt::hostileStudentIdStaysInFolder() {
    TdlgPaymentReceipt_UploadFile dlg;
    dlg.Prepare(FConfig, CouponEvent(), Upload(QStringLiteral("../../x/y"), 10));
    const QString folder = Folder(QStringLiteral("Your Uploads"));
    QVERIFY2(dlg.SummaryFilePath().startsWith(folder), qPrintable(dlg.SummaryFilePath()));
    QCOMPARE(QFileInfo(dlg.SummaryFilePath()).absolutePath() + u'/', folder);
    QVERIFY(QFile::exists(dlg.SummaryFilePath()));
    QVERIFY(QFile::exists(dlg.HtmlFilePath()));
    // The shown exam ID is the real one.
    QCOMPARE(ReadLines(dlg.SummaryFilePath()).at(3), QStringLiteral("Exam ID: ../../x/y (1234)"));
}

void tst_receipt::secondShowingOverwrites() {
    {
        TdlgPaymentReceipt_EventCreate dlg;
        dlg.Prepare(FConfig, CouponEvent());
    }
    TClock::SetFixedUTC(TDateTime::Encode(2024, 11, 20, 3, 4, 5));
    TDO_Event renamed = CouponEvent();
    renamed.SetName(QStringLiteral("Renamed"));
    TdlgPaymentReceipt_EventCreate dlg;
    dlg.Prepare(FConfig, renamed);
    const QStringList lines = ReadLines(dlg.SummaryFilePath());
    QVERIFY2(lines.at(0).startsWith(QStringLiteral("Saved: Nov 20, 2024 ")), qPrintable(lines.at(0)));
    QCOMPARE(lines.at(1), QStringLiteral("Event Name: Renamed"));
    QFile html(dlg.HtmlFilePath());
    QVERIFY(html.open(QIODevice::ReadOnly));
    QVERIFY(html.readAll().contains("Renamed"));
}

void tst_receipt::unwritableFolderLeavesAddressEmpty() {
    // A plain file where the receipt folder should be: nothing can be written below it.
    QVERIFY(QDir().mkpath(TDO_ClientConfig::ConfigFolder()));
    QFile blocker(Folder(QStringLiteral("Your Events")).chopped(1));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TdlgPaymentReceipt_EventCreate dlg;
    dlg.Prepare(FConfig, CouponEvent());
    QVERIFY(dlg.ReceiptUrl().isEmpty());
    QVERIFY(dlg.SummaryFilePath().isEmpty());
    QVERIFY(dlg.ViewButton()->isHidden());
    QCOMPARE(dlg.SavedLines().last(), QStringLiteral("Receipt URL: "));
    QVERIFY(FUi->Messages().isEmpty());
    QFile::remove(blocker.fileName());
}

void tst_receipt::copyToClipboard() {
    TdlgPaymentReceipt_UploadFile dlg;
    dlg.Prepare(FConfig, CouponEvent(), Upload(QStringLiteral("jsmith"), 10));
    dlg.CopyButton()->click();
    QCOMPARE(FUi->ClipboardTexts().size(), 1);
    const QString copied = FUi->ClipboardTexts().first();
    QCOMPARE(copied, dlg.SavedLines().mid(1).join(u'\n') + u'\n');
    QVERIFY(!copied.contains(QStringLiteral("Saved:")));
    QVERIFY(FUi->Messages().isEmpty());

    FUi->SetClipboardAvailable(false);
    dlg.CopyButton()->click();
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages().first().Text, QStringLiteral("Unable to copy to clipboard"));
    QCOMPARE(FUi->Messages().first().Kind, mkError);
}

void tst_receipt::closeGuard_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("close box") << 0;
    QTest::newRow("escape") << 1;
    QTest::newRow("Close button") << 2;
}

void tst_receipt::closeGuard() {
    QFETCH(int, way);
    TdlgPaymentReceipt_EventCreate dlg;
    dlg.Prepare(FConfig, CouponEvent());
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    auto tryClose = [&] {
        if (way == 0)
            dlg.close();
        else if (way == 1)
            QTest::keyClick(&dlg, Qt::Key_Escape);
        else
            dlg.CloseButton()->click();
    };
    QVERIFY(!dlg.CloseButton()->isEnabled());
    tryClose();
    QVERIFY(dlg.isVisible());

    dlg.ConfirmBox()->setChecked(true);
    QVERIFY(dlg.CloseButton()->isEnabled());
    dlg.ConfirmBox()->setChecked(false);
    QVERIFY(!dlg.CloseButton()->isEnabled());
    tryClose();
    QVERIFY(dlg.isVisible());

    dlg.ConfirmBox()->setChecked(true);
    tryClose();
    QVERIFY(!dlg.isVisible());
}

QTEST_MAIN(tst_receipt)
#include "tst_receipt.moc"
