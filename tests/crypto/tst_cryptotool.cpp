// Start-code table, passwords, and the stream and string tools under a start code.
#include "TavixDeployment.h"
#include "TestSupport.h"
#include "crypto/TzovCryptoStreamTool.h"
#include "crypto/TzovCryptoTool.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QByteArray RandomBytes(int ALen) {
    QByteArray r(ALen, Qt::Uninitialized);
    for (int i = 0; i < ALen; ++i)
        r[i] = char(QRandomGenerator::global()->bounded(256));
    return r;
}

QByteArray Encrypt(const QByteArray &APlain, const QString &AStartCode, bool *AOk = nullptr) {
    QByteArray in(APlain), out;
    QBuffer src(&in), dst(&out);
    src.open(QIODevice::ReadOnly);
    dst.open(QIODevice::WriteOnly);
    const bool ok = TzovCryptoStreamTool::Encrypt(&src, &dst, AStartCode);
    if (AOk)
        *AOk = ok;
    return out;
}

QByteArray Decrypt(const QByteArray &ABox, const QString &AStartCode, bool *AOk = nullptr) {
    QByteArray in(ABox), out;
    QBuffer src(&in), dst(&out);
    src.open(QIODevice::ReadOnly);
    dst.open(QIODevice::WriteOnly);
    const bool ok = TzovCryptoStreamTool::Decrypt(&src, &dst, AStartCode);
    if (AOk)
        *AOk = ok;
    return out;
}

// The entry with the smallest secret number, so its password shows the leading zeros.
int SmallestSecretIndex() {
    int best = 0;
    for (int i = 1; i < TavixDeployment::start_code_count; ++i)
        if (TavixDeployment::secret_numbers[i] < TavixDeployment::secret_numbers[best])
            best = i;
    return best;
}

} // namespace

class tst_CryptoTool : public QObject {
    Q_OBJECT
private slots:
    void table();
    void startCodeForms_data();
    void startCodeForms();
    void unresolvedStartCodes_data();
    void unresolvedStartCodes();
    void secretNumbers();
    void streamRoundTrip_data();
    void streamRoundTrip();
    void streamFailures();
    void passThrough_data();
    void passThrough();
    void fileRoundTrip();
    void stringRoundTrip();
};

void tst_CryptoTool::table() {
    QCOMPARE(TzovCryptoTool::StartCodeCount(), 259);
    QVERIFY(TzovCryptoTool::GetStartCodeByIndex(-1).isEmpty());
    QVERIFY(TzovCryptoTool::GetStartCodeByIndex(259).isEmpty());
    // Two entries sharing a code or a number would make the lookups ambiguous.
    QSet<QString> codes;
    QSet<int> numbers;
    const QRegularExpression form(QStringLiteral("^[A-Z0-9]{5}$"));
    for (int i = 0; i < TzovCryptoTool::StartCodeCount(); ++i) {
        const QString code = TzovCryptoTool::GetStartCodeByIndex(i);
        QVERIFY2(form.match(code).hasMatch(), qPrintable(code));
        codes.insert(code);
        const int nbr = TavixDeployment::secret_numbers[i];
        QVERIFY(nbr > 0 && nbr < 100000);
        numbers.insert(nbr);
    }
    QCOMPARE(codes.size(), 259);
    QCOMPARE(numbers.size(), 259);
    QVERIFY(TzovCryptoTool::IsValid_StartCode(TzovCryptoTool::NetworkStartCode()));
    QVERIFY(TzovCryptoTool::IsValid_StartCode(TzovCryptoTool::ConfigurationStartCode()));
    QVERIFY(TzovCryptoTool::NetworkStartCode() != TzovCryptoTool::ConfigurationStartCode());
}

void tst_CryptoTool::startCodeForms_data() {
    QTest::addColumn<QString>("startCode");
    const int i = SmallestSecretIndex();
    const QString code = TzovCryptoTool::GetStartCodeByIndex(i);
    const QString prefix = QString::fromLatin1(TavixDeployment::start_code_prefix);
    QTest::newRow("prefix and code") << prefix + code;
    QTest::newRow("code alone") << code;
    QTest::newRow("lower case") << (prefix + code).toLower();
    QTest::newRow("mixed case code") << code.left(2).toLower() + code.mid(2);
}

void tst_CryptoTool::startCodeForms() {
    QFETCH(QString, startCode);
    const int i = SmallestSecretIndex();
    const int nbr = TavixDeployment::secret_numbers[i];
    const QString expected = TzovCryptoTool::GetStartCodeByIndex(i) + '-' +
                             QStringLiteral("%1").arg(nbr, 5, 10, QLatin1Char('0')) +
                             QString::fromLatin1(TavixDeployment::password_suffix);
    QCOMPARE(expected.size(), 15);
    QVERIFY(TzovCryptoTool::IsValid_StartCode(startCode));
    QVERIFY(TzovCryptoTool::IsValid_Match(startCode, nbr));
    QVERIFY(!TzovCryptoTool::IsValid_Match(startCode, nbr + 1));
    QCOMPARE(TzovCryptoTool::GetPassword(startCode), expected);
    std::unique_ptr<TCodec> codec = TzovCryptoTool::GetCodec(startCode);
    QVERIFY(codec);
    QCOMPARE(codec->Password(), expected);
}

void tst_CryptoTool::unresolvedStartCodes_data() {
    QTest::addColumn<QString>("startCode");
    const QString code = TzovCryptoTool::GetStartCodeByIndex(0);
    const QString prefix = QString::fromLatin1(TavixDeployment::start_code_prefix);
    QTest::newRow("empty") << "";
    QTest::newRow("prefix only") << prefix;
    QTest::newRow("unknown") << "ZZZZZZZZZZ";
    QTest::newRow("code cut short") << code.left(4);
    QTest::newRow("code plus extra") << code + "X";
    QTest::newRow("prefix twice") << prefix + prefix + code;
}

void tst_CryptoTool::unresolvedStartCodes() {
    QFETCH(QString, startCode);
    QVERIFY(!TzovCryptoTool::IsValid_StartCode(startCode));
    QVERIFY(TzovCryptoTool::GetPassword(startCode).isEmpty());
    QVERIFY(!TzovCryptoTool::GetCodec(startCode));
}

void tst_CryptoTool::secretNumbers() {
    QVERIFY(TzovCryptoTool::IsValid_SecretNbr(TavixDeployment::secret_numbers[0]));
    QVERIFY(TzovCryptoTool::IsValid_SecretNbr(TavixDeployment::secret_numbers[258]));
    QVERIFY(!TzovCryptoTool::IsValid_SecretNbr(0));
    QVERIFY(!TzovCryptoTool::IsValid_SecretNbr(-1));
    QVERIFY(!TzovCryptoTool::GetCodec()->Password().size());
    QVERIFY(TzovAES128_Base::IsKeyZero(TzovCryptoTool::GetCodec()->Key()));
}

void tst_CryptoTool::streamRoundTrip_data() {
    QTest::addColumn<QString>("encryptCode");
    QTest::addColumn<QString>("decryptCode");
    QTest::addColumn<int>("size");
    const QString net = TzovCryptoTool::NetworkStartCode();
    const QString code = net.mid(5);
    QTest::newRow("same code, empty") << net << net << 0;
    QTest::newRow("same code, 1601") << net << net << 1601;
    QTest::newRow("blanks and lower case") << "  " + net.toLower() + " \t" << code << 3205;
    QTest::newRow("code alone vs prefixed") << code << net << 17;
}

void tst_CryptoTool::streamRoundTrip() {
    QFETCH(QString, encryptCode);
    QFETCH(QString, decryptCode);
    QFETCH(int, size);
    const QByteArray plain = RandomBytes(size);
    bool ok = false;
    const QByteArray box = Encrypt(plain, encryptCode, &ok);
    QVERIFY(ok);
    QCOMPARE(box.left(4), QByteArray("QzC1"));
    QCOMPARE(box.size(), 23 + (size + 15) / 16 * 16);
    QCOMPARE(Decrypt(box, decryptCode, &ok), plain);
    QVERIFY(ok);
    // Under another start code the same container decrypts, but not to the plain text.
    if (size > 0)
        QVERIFY(Decrypt(box, TzovCryptoTool::ConfigurationStartCode()) != plain);
}

void tst_CryptoTool::streamFailures() {
    const QString net = TzovCryptoTool::NetworkStartCode();
    QByteArray data("x");
    QBuffer buf(&data);
    buf.open(QIODevice::ReadWrite);
    QVERIFY(!TzovCryptoStreamTool::Encrypt(nullptr, &buf, net));
    QVERIFY(!TzovCryptoStreamTool::Encrypt(&buf, nullptr, net));
    QVERIFY(!TzovCryptoStreamTool::Decrypt(nullptr, &buf, net));
    QVERIFY(!TzovCryptoStreamTool::Decrypt(&buf, nullptr, net));

    bool ok = true;
    Decrypt("<?xml version=\"1.0\"?><Tavix/>", net, &ok);
    QVERIFY(!ok);

    // A destination that stops taking bytes is a failed save, not a silent one; also when passing through.
    for (const QString &code : {net, QString()}) {
        QByteArray plain = RandomBytes(4000);
        QBuffer src(&plain);
        src.open(QIODevice::ReadOnly);
        TFailingDevice dst(100);
        QVERIFY(!TzovCryptoStreamTool::Encrypt(&src, &dst, code));
    }
}

void tst_CryptoTool::passThrough_data() {
    QTest::addColumn<QString>("startCode");
    QTest::newRow("empty") << "";
    QTest::newRow("blanks") << "   ";
    QTest::newRow("unknown") << "TVXCLNOPE0";
}

void tst_CryptoTool::passThrough() {
    QFETCH(QString, startCode);
    const QByteArray plain = RandomBytes(1700);
    bool ok = false;
    QCOMPARE(Encrypt(plain, startCode, &ok), plain);
    QVERIFY(ok);
    const QByteArray box = Encrypt(plain, TzovCryptoTool::NetworkStartCode());
    QCOMPARE(Decrypt(box, startCode, &ok), box);
    QVERIFY(ok);
    QCOMPARE(TzovCryptoTool::EncryptString(QStringLiteral("abc"), startCode), QStringLiteral("abc"));
}

void tst_CryptoTool::fileRoundTrip() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray plain = RandomBytes(5000 + 3);
    const QString code = TzovCryptoTool::ConfigurationStartCode();
    {
        QFile in(dir.filePath("plain.bin")), out(dir.filePath("box.bin"));
        QVERIFY(in.open(QIODevice::WriteOnly));
        in.write(plain);
        in.close();
        QVERIFY(in.open(QIODevice::ReadOnly));
        QVERIFY(out.open(QIODevice::WriteOnly));
        QVERIFY(TzovCryptoStreamTool::Encrypt(&in, &out, code));
    }
    // Decrypt over an older, longer file: the result must be exactly the plain text.
    {
        QFile stale(dir.filePath("back.bin"));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(9000, 'z'));
    }
    {
        QFile in(dir.filePath("box.bin")), out(dir.filePath("back.bin"));
        QCOMPARE(in.size(), 23 + 5008);
        QVERIFY(in.open(QIODevice::ReadOnly));
        QVERIFY(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QVERIFY(TzovCryptoStreamTool::Decrypt(&in, &out, code));
    }
    QFile back(dir.filePath("back.bin"));
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), plain);
}

void tst_CryptoTool::stringRoundTrip() {
    // Every byte value travels as one character each way.
    QString clear;
    for (int c = 0; c < 256; ++c)
        clear.append(QChar(c));
    const QString code = TzovCryptoTool::NetworkStartCode();
    const QString box = TzovCryptoTool::EncryptString(clear, " " + code.toLower());
    QCOMPARE(box.size(), 23 + 256);
    QVERIFY(box.startsWith(QStringLiteral("QzC1")));
    for (QChar ch : box)
        QVERIFY(ch.unicode() < 256);
    QCOMPARE(TzovCryptoTool::DecryptString(box, code), clear);
}

QTEST_GUILESS_MAIN(tst_CryptoTool)
#include "tst_cryptotool.moc"
