// Client configuration record and its file: defaults, coupon address rules, plain-file fallback, auto save.
#include "app/TDO_ClientConfig_FileOnDisk.h"
#include "crypto/TzovCryptoTool.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

class TestClientConfig : public QObject {
    Q_OBJECT
private:
    QTemporaryDir FDir;
    QString Folder() const { return FDir.path() + QLatin1Char('/'); }
    QByteArray FileBytes(const QString &APath) {
        QFile f(APath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QFile::remove(Folder() + QStringLiteral("TavixCorlan.xml")); }

    void configFolderIsDocumentsTavix() {
        const QString folder = TDO_ClientConfig::ConfigFolder();
        QVERIFY(folder.endsWith(QLatin1String("/Tavix/")));
        QVERIFY(folder.startsWith(QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)));
    }

    void couponAddressRules_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        const QString server = QStringLiteral("https://exams.example:443");
        QTest::newRow("empty reads the server") << QString() << server;
        QTest::newRow("other host kept, trimmed") << " https://coupons.example " << "https://coupons.example";
        QTest::newRow("loopback") << "https://127.0.0.1:8443/x" << server;
        QTest::newRow("loopback any case and scheme") << "HTTP://127.0.0.1" << server;
    }
    void couponAddressRules() {
        QFETCH(QString, value);
        QFETCH(QString, expected);
        TDO_ClientConfig config;
        config.SetServerBaseURL(QStringLiteral(" https://exams.example:443 "));
        config.SetCouponServerBaseURL(value);
        QCOMPARE(config.CouponServerBaseURL(), expected);
    }

    void firstStartWritesEncryptedDefaults() {
        TDO_ClientConfig_FileOnDisk file(QStringLiteral("TavixCorlan.xml"), Folder() + QStringLiteral("new/"));
        QVERIFY(!file.Load());
        QVERIFY(file.Save());
        const QByteArray bytes = FileBytes(file.FQFilename());
        QVERIFY(bytes.startsWith("QzC1"));
        TDO_ClientConfig_FileOnDisk again(QStringLiteral("TavixCorlan.xml"), Folder() + QStringLiteral("new/"));
        QVERIFY(again.Load());
        QCOMPARE(again.Config().ServerBaseURL(), TDO_ClientConfig::DefaultServerBaseURL());
        QVERIFY(again.Config().Brand().Label_Text().isEmpty());
        QCOMPARE(again.Config().Brand().Rect_FillColor(), 0xFFE1AF00u);
    }

    void roundTripAndCouponAddressClearedOnLoad() {
        TDO_ClientConfig_FileOnDisk file(QStringLiteral("TavixCorlan.xml"), Folder());
        TDO_ClientConfig &c = file.Config();
        c.SetServerBaseURL(QStringLiteral("https://exams.example:443"));
        c.SetCouponServerBaseURL(QStringLiteral("https://coupons.example"));
        c.SetCustomerID(QStringLiteral("  CUST-7  "));
        c.Brand().SetLabel_Text(QStringLiteral("Faculty of Law"));
        c.Brand().SetLabel_ForeColor(0xFF112233u);
        c.BillingAddress().SetName(QStringLiteral("Ann Lee"));
        c.BillingAddress().SetZip(QStringLiteral("02139"));
        c.CouponRedeemer().SetInstitutionName(QStringLiteral("North College"));
        QVERIFY(file.Save());

        TDO_ClientConfig_FileOnDisk back(QStringLiteral("TavixCorlan.xml"), Folder());
        QVERIFY(back.Load());
        const TDO_ClientConfig &b = back.Config();
        QCOMPARE(b.ServerBaseURL(), QStringLiteral("https://exams.example:443"));
        QCOMPARE(b.CustomerID(), QStringLiteral("CUST-7"));
        QCOMPARE(b.CouponServerBaseURL(), b.ServerBaseURL()); // never kept across a load
        QCOMPARE(b.Brand().Label_Text(), QStringLiteral("Faculty of Law"));
        QCOMPARE(b.Brand().Label_ForeColor(), 0xFF112233u);
        QCOMPARE(b.BillingAddress().Name(), QStringLiteral("Ann Lee"));
        QCOMPARE(b.BillingAddress().Zip(), QStringLiteral("02139"));
        QCOMPARE(b.CouponRedeemer().InstitutionName(), QStringLiteral("North College"));
    }

    void plainFileAcceptedAndWrittenBackEncrypted() {
        const QString path = Folder() + QStringLiteral("TavixCorlan.xml");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("<?xml version=\"1.0\"?><Tavix><tavix_client_configuration>"
                "<server_base_url>https://plain.example</server_base_url>"
                "<customer_id>  C-1  </customer_id></tavix_client_configuration></Tavix>");
        f.close();
        TDO_ClientConfig_FileOnDisk file(QStringLiteral("TavixCorlan.xml"), Folder());
        QVERIFY(file.Load());
        QVERIFY(file.EncryptionKey().isEmpty());
        QCOMPARE(file.Config().ServerBaseURL(), QStringLiteral("https://plain.example"));
        QCOMPARE(file.Config().CustomerID(), QStringLiteral("C-1"));
        QVERIFY(file.Save());
        QVERIFY(FileBytes(path).startsWith("QzC1"));
        TDO_ClientConfig check;
        QVERIFY(check.LoadFrom_File(path, TzovCryptoTool::ConfigurationStartCode()));
        QCOMPARE(check.ServerBaseURL(), QStringLiteral("https://plain.example"));
    }

    void damagedFileFailsToLoad() {
        const QString path = Folder() + QStringLiteral("TavixCorlan.xml");
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("QzC1 this is not a configuration");
        f.close();
        TDO_ClientConfig_FileOnDisk file(QStringLiteral("TavixCorlan.xml"), Folder());
        QVERIFY(!file.Load());
        QVERIFY(!TDO_ClientConfig_FileOnDisk(QString(), Folder()).Load());
    }

    void changeNotificationsSaveWhileAutoSave() {
        const QString path = Folder() + QStringLiteral("TavixCorlan.xml");
        TDO_ClientConfig_FileOnDisk file(QStringLiteral("TavixCorlan.xml"), Folder());
        file.Config().BillingAddress().SetCity(QStringLiteral("Springfield"));
        file.Config().BillingAddress().Trigger_OnChanged();
        QVERIFY(QFile::exists(path));
        TDO_ClientConfig check;
        QVERIFY(check.LoadFrom_File(path, TzovCryptoTool::ConfigurationStartCode()));
        QCOMPARE(check.BillingAddress().City(), QStringLiteral("Springfield"));

        QFile::remove(path);
        file.SetAutoSave(false);
        file.Config().CouponRedeemer().Trigger_OnChanged();
        QVERIFY(!QFile::exists(path));
        file.SetAutoSave(true);
        file.Config().CouponRedeemer().Trigger_OnChanged();
        QVERIFY(QFile::exists(path));
    }

    void duplicateCopiesSubRecordsNotHandlers() {
        TDO_ClientConfig a;
        a.SetCustomerID(QStringLiteral("X"));
        a.BillingAddress().SetName(QStringLiteral("Bo"));
        int fired = 0;
        TDO_ClientConfig b(a);
        b.OnChanged = [&](TDOX_Base *) { ++fired; };
        QCOMPARE(b.CustomerID(), QStringLiteral("X"));
        QCOMPARE(b.BillingAddress().Name(), QStringLiteral("Bo"));
        b.BillingAddress().Trigger_OnChanged(); // the copy's own sub-record reports to the copy
        QCOMPARE(fired, 1);
        a.BillingAddress().Trigger_OnChanged();
        QCOMPARE(fired, 1);
    }
};

QTEST_GUILESS_MAIN(TestClientConfig)
#include "tst_clientconfig.moc"
