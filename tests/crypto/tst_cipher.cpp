// SHA-1, the bare AES-128-CBC cipher and the container codec.
#include "TestSupport.h"
#include "crypto/TCodec.h"
#include "crypto/THash_SHA1.h"

#include <QBuffer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <openssl/evp.h>

namespace {

using TBlock128 = TzovAES128_Base::TBlock128;

TBlock128 BlockFromHex(const char *AHex) {
    const QByteArray b = QByteArray::fromHex(AHex);
    TBlock128 r{};
    std::memcpy(r.data(), b.constData(), r.size());
    return r;
}

QByteArray RandomBytes(int ALen) {
    QByteArray r(ALen, Qt::Uninitialized);
    for (int i = 0; i < ALen; ++i)
        r[i] = char(QRandomGenerator::global()->bounded(256));
    return r;
}

// OpenSSL's own CBC over the zero-padded data, as the reference for our chunked chaining.
QByteArray ReferenceCbc(const TBlock128 &AKey, const TBlock128 &AnIV, QByteArray AData) {
    AData.append(QByteArray((16 - AData.size() % 16) % 16, '\0'));
    QByteArray out(AData.size(), '\0');
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    EVP_EncryptInit_ex(ctx, EVP_aes_128_cbc(), nullptr, AKey.data(), AnIV.data());
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    int len = 0;
    EVP_EncryptUpdate(ctx, reinterpret_cast<unsigned char *>(out.data()), &len,
                      reinterpret_cast<const unsigned char *>(AData.constData()), int(AData.size()));
    EVP_CIPHER_CTX_free(ctx);
    return out;
}

// Hands out at most a few bytes per read, like a pipe or socket would.
class TTrickleDevice : public QIODevice {
public:
    explicit TTrickleDevice(const QByteArray &AData) : FData(AData) { open(QIODevice::ReadOnly); }
    bool isSequential() const override { return true; }
    bool atEnd() const override { return FPos >= FData.size(); }

protected:
    qint64 readData(char *AData, qint64 AMax) override {
        const qint64 n = qMin<qint64>(qMin<qint64>(AMax, 7), FData.size() - FPos);
        std::memcpy(AData, FData.constData() + FPos, size_t(n));
        FPos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray FData;
    qint64 FPos = 0;
};

QString CaughtMessage(const std::function<void()> &AAction) {
    try {
        AAction();
    } catch (const ECipherError &e) {
        return e.Message();
    }
    return QString();
}

} // namespace

class tst_Cipher : public QObject {
    Q_OBJECT
private slots:
    void sha1_data();
    void sha1();
    void passwordGivesKey();
    void fips197KnownAnswer();
    void cbcKnownAnswer();
    void bareMatchesReference_data();
    void bareMatchesReference();
    void bareShortReads();
    void bareTruncatedCipherText();
    void missingStreams_data();
    void missingStreams();
    void container_data();
    void container();
    void twoEncryptionsDiffer();
    void containerAtDestinationPosition();
    void containerFromSequentialSource();
    void badContainers_data();
    void badContainers();
    void writeFailureRaises();
};

void tst_Cipher::sha1_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("digest");
    QTest::newRow("empty") << ""
                           << "da39a3ee5e6b4b0d3255bfef95601890afd80709";
    QTest::newRow("abc") << "abc"
                         << "a9993e364706816aba3e25717850c26c9cd0d89d";
    QTest::newRow("two blocks") << "abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"
                                << "84983e441c3bd26ebaae4aa1f95129e5e54670f1";
}

void tst_Cipher::sha1() {
    QFETCH(QString, text);
    QFETCH(QString, digest);
    QCOMPARE(THash_SHA1::FromString(text), digest);
}

void tst_Cipher::passwordGivesKey() {
    TzovAES128_Base cipher(QStringLiteral("abc"));
    QCOMPARE(cipher.Password(), QStringLiteral("abc"));
    QCOMPARE(cipher.Key_AsHexString(), QStringLiteral("a9993e364706816aba3e25717850c26c"));
    QVERIFY(!TzovAES128_Base::IsIVZero(cipher.IV()));

    cipher.SetKey(BlockFromHex("000102030405060708090a0b0c0d0e0f"));
    QVERIFY(cipher.Password().isEmpty());
    QCOMPARE(cipher.Key_AsHexString(), QStringLiteral("000102030405060708090a0b0c0d0e0f"));

    cipher.Initialize();
    QVERIFY(TzovAES128_Base::IsKeyZero(cipher.Key()));
    QVERIFY(cipher.Password().isEmpty());
}

void tst_Cipher::fips197KnownAnswer() {
    TzovAES128_Base cipher(BlockFromHex("000102030405060708090a0b0c0d0e0f"), TBlock128{});
    QByteArray plain = QByteArray::fromHex("00112233445566778899aabbccddeeff"), cypher;
    QBuffer src(&plain), dst(&cypher);
    src.open(QIODevice::ReadOnly);
    dst.open(QIODevice::WriteOnly);
    cipher.EncryptCore(&src, &dst);
    QCOMPARE(cypher.toHex(), QByteArray("69c4e0d86a7b0430d8cdb78070b4c55a"));
    QCOMPARE(cipher.DecryptBytes(cypher), plain);
}

void tst_Cipher::cbcKnownAnswer() {
    // NIST SP 800-38A, F.2.1 / F.2.2: four chained blocks.
    TzovAES128_Base cipher(BlockFromHex("2b7e151628aed2a6abf7158809cf4f3c"),
                           BlockFromHex("000102030405060708090a0b0c0d0e0f"));
    const QByteArray plain =
        QByteArray::fromHex("6bc1bee22e409f96e93d7e117393172aae2d8a571e03ac9c9eb76fac45af8e51"
                            "30c81c46a35ce411e5fbc1191a0a52eff69f2445df4f9b17ad2b417be66c3710");
    const QByteArray cypher =
        QByteArray::fromHex("7649abac8119b246cee98e9b12e9197d5086cb9b507219ee95db113a917678b2"
                            "73bed6b8e3c1743b7116e69e222295163ff1caa1681fac09120eca307586e1a7");
    QCOMPARE(cipher.EncryptBytes(plain).toHex(), cypher.toHex());
    QCOMPARE(cipher.DecryptBytes(cypher).toHex(), plain.toHex());
}

void tst_Cipher::bareMatchesReference_data() {
    // Memory streams are read and written in place, files through the device interface.
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("viaFiles");
    for (bool viaFiles : {false, true})
        for (int size : {1, 16, 1599, 1600, 1601, 3200 + 5, 32 * 1600, 32 * 1600 + 17, 70 * 1600})
            QTest::addRow("%s, %d bytes", viaFiles ? "files" : "memory", size) << size << viaFiles;
}

void tst_Cipher::bareMatchesReference() {
    // Chaining must run on across the 1600-byte chunks as one CBC stream.
    QFETCH(int, size);
    const TBlock128 key = BlockFromHex("2b7e151628aed2a6abf7158809cf4f3c");
    const TBlock128 iv = BlockFromHex("f0e1d2c3b4a5968778695a4b3c2d1e0f");
    QFETCH(bool, viaFiles);
    const QByteArray plain = RandomBytes(size);
    TzovAES128_Base cipher(key, iv);
    const auto run = [&](bool AEncrypt, const QByteArray &AInput) {
        if (!viaFiles)
            return AEncrypt ? cipher.EncryptBytes(AInput) : cipher.DecryptBytes(AInput);
        QTemporaryDir dir;
        QFile in(dir.filePath("in")), out(dir.filePath("out"));
        if (!in.open(QIODevice::ReadWrite) || in.write(AInput) != AInput.size() || !in.seek(0) ||
            !out.open(QIODevice::ReadWrite))
            return QByteArray("cannot set up files");
        AEncrypt ? cipher.EncryptCore(&in, &out) : cipher.DecryptCore(&in, &out);
        out.seek(0);
        return out.readAll();
    };
    const QByteArray cypher = run(true, plain);
    QCOMPARE(cypher.size(), (size + 15) / 16 * 16);
    QCOMPARE(cypher, ReferenceCbc(key, iv, plain));
    const QByteArray back = run(false, cypher);
    QCOMPARE(back.left(size), plain);
    QCOMPARE(back.mid(size), QByteArray(back.size() - size, '\0'));
    QCOMPARE(cipher.IV_AsHexString(), QStringLiteral("f0e1d2c3b4a5968778695a4b3c2d1e0f"));
}

void tst_Cipher::bareShortReads() {
    // A device that delivers a few bytes at a time must give the same cipher text as a memory buffer.
    TzovAES128_Base cipher(BlockFromHex("2b7e151628aed2a6abf7158809cf4f3c"), TBlock128{});
    const QByteArray plain = RandomBytes(4000);
    QByteArray viaTrickle;
    TTrickleDevice src(plain);
    QBuffer dst(&viaTrickle);
    dst.open(QIODevice::WriteOnly);
    cipher.EncryptCore(&src, &dst);
    QCOMPARE(viaTrickle, cipher.EncryptBytes(plain));

    QByteArray back;
    TTrickleDevice csrc(viaTrickle);
    QBuffer cdst(&back);
    cdst.open(QIODevice::WriteOnly);
    cipher.DecryptCore(&csrc, &cdst);
    QCOMPARE(back.left(plain.size()), plain);
}

void tst_Cipher::bareTruncatedCipherText() {
    TzovAES128_Base cipher(BlockFromHex("2b7e151628aed2a6abf7158809cf4f3c"), TBlock128{});
    const QByteArray plain = RandomBytes(1616);
    const QByteArray cypher = cipher.EncryptBytes(plain);
    for (int cut : {1, 5, 15}) {
        const QByteArray back = cipher.DecryptBytes(cypher.left(cypher.size() - cut));
        QCOMPARE(back.size(), cypher.size() - cut);
        QCOMPARE(back.left(1600), plain.left(1600));
    }
    QCOMPARE(cipher.DecryptBytes(QByteArray(5, 'x')).size(), 5);
}

void tst_Cipher::missingStreams_data() {
    QTest::addColumn<bool>("encrypt");
    QTest::addColumn<bool>("container");
    QTest::addColumn<bool>("haveSource");
    QTest::addColumn<QString>("message");
    for (bool container : {false, true}) {
        const char *kind = container ? "container" : "bare";
        QTest::addRow("%s encrypt, no source", kind)
            << true << container << false << "Source (Clear) is required";
        QTest::addRow("%s encrypt, no destination", kind)
            << true << container << true << "Destination (Encrypted) is required";
        QTest::addRow("%s decrypt, no source", kind)
            << false << container << false << "Source (Encrypted) is required";
        QTest::addRow("%s decrypt, no destination", kind)
            << false << container << true << "Destination (Clear) is required";
    }
}

void tst_Cipher::missingStreams() {
    QFETCH(bool, encrypt);
    QFETCH(bool, container);
    QFETCH(bool, haveSource);
    QFETCH(QString, message);
    QByteArray data("0123456789abcdef");
    QBuffer buf(&data);
    buf.open(QIODevice::ReadWrite);
    std::unique_ptr<TzovAES128_Base> cipher =
        container ? std::make_unique<TCodec>(QStringLiteral("pw")) : std::make_unique<TzovAES128_Base>();
    QIODevice *src = haveSource ? &buf : nullptr;
    QIODevice *dst = haveSource ? nullptr : &buf;
    QCOMPARE(CaughtMessage([&] { encrypt ? cipher->EncryptCore(src, dst) : cipher->DecryptCore(src, dst); }),
             message);
}

void tst_Cipher::container_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("pad");
    QTest::newRow("empty") << 0 << 0;
    QTest::newRow("1") << 1 << 15;
    QTest::newRow("15") << 15 << 1;
    QTest::newRow("16") << 16 << 0;
    QTest::newRow("17") << 17 << 15;
    QTest::newRow("1600") << 1600 << 0;
    QTest::newRow("1601") << 1601 << 15;
    QTest::newRow("3205") << 3205 << 11;
}

void tst_Cipher::container() {
    QFETCH(int, size);
    QFETCH(int, pad);
    const QByteArray plain = RandomBytes(size);
    TCodec codec(QStringLiteral("W0WTS-10632-DVQ"));
    const QByteArray box = codec.EncryptBytes(plain);
    QCOMPARE(box.size(), TCodec::HeaderSize + size + pad);
    QCOMPARE(box.left(4), QByteArray("QzC1"));
    QCOMPARE(box.mid(4, 2), QByteArray(2, '\0'));
    QCOMPARE(int(quint8(box.at(6))), pad);
    QCOMPARE(box.mid(7, 16).toHex(), codec.IV_AsHexString().toLatin1());
    QCOMPARE(box.mid(23), ReferenceCbc(codec.Key(), codec.IV(), plain));

    // A fresh codec learns the IV from the header.
    TCodec reader(QStringLiteral("W0WTS-10632-DVQ"));
    QCOMPARE(reader.DecryptBytes(box), plain);
    QCOMPARE(reader.IV(), codec.IV());
}

void tst_Cipher::twoEncryptionsDiffer() {
    const QByteArray plain = RandomBytes(100);
    TCodec a(QStringLiteral("pw")), b(QStringLiteral("pw"));
    const QByteArray boxA = a.EncryptBytes(plain), boxB = b.EncryptBytes(plain);
    QVERIFY(boxA.mid(7, 16) != boxB.mid(7, 16));
    QVERIFY(boxA.mid(23) != boxB.mid(23));
    QCOMPARE(TCodec(QStringLiteral("pw")).DecryptBytes(boxA), plain);
    QCOMPARE(TCodec(QStringLiteral("pw")).DecryptBytes(boxB), plain);
}

void tst_Cipher::containerAtDestinationPosition() {
    // The container goes after what the destination already holds, and the padding is cut from the
    // plain text only, not from the bytes before it.
    const QByteArray plain = RandomBytes(33);
    TCodec codec(QStringLiteral("pw"));
    QByteArray box("head");
    QBuffer boxBuf(&box);
    boxBuf.open(QIODevice::ReadWrite);
    boxBuf.seek(4);
    QByteArray clear(plain);
    QBuffer clearBuf(&clear);
    clearBuf.open(QIODevice::ReadOnly);
    clearBuf.seek(20); // the container always covers the whole source
    codec.EncryptCore(&clearBuf, &boxBuf);
    QCOMPARE(box.left(8), QByteArray("headQzC1"));
    QCOMPARE(box.size(), 4 + 23 + 48);

    QByteArray out("prefix");
    QBuffer outBuf(&out);
    outBuf.open(QIODevice::ReadWrite);
    outBuf.seek(out.size());
    QByteArray onlyBox = box.mid(4);
    QBuffer inBuf(&onlyBox);
    inBuf.open(QIODevice::ReadOnly);
    TCodec(QStringLiteral("pw")).DecryptCore(&inBuf, &outBuf);
    QCOMPARE(out, QByteArray("prefix") + plain);

    // Over older bytes in the middle of a buffer: they are overwritten, the padding never reaches them.
    QByteArray over = QByteArray("prefix") + QByteArray(60, '#');
    QBuffer overBuf(&over);
    overBuf.open(QIODevice::ReadWrite);
    overBuf.seek(6);
    inBuf.seek(0);
    TCodec(QStringLiteral("pw")).DecryptCore(&inBuf, &overBuf);
    QCOMPARE(over, QByteArray("prefix") + plain + QByteArray(60 - 33, '#'));
    QCOMPARE(overBuf.pos(), 6 + 33);
}

void tst_Cipher::containerFromSequentialSource() {
    const QByteArray plain = RandomBytes(1605);
    TTrickleDevice src(plain);
    QByteArray box;
    QBuffer dst(&box);
    dst.open(QIODevice::ReadWrite);
    TCodec codec(QStringLiteral("pw"));
    codec.EncryptCore(&src, &dst);
    QCOMPARE(int(quint8(box.at(6))), TCodec::PadCount(plain.size()));
    QCOMPARE(box.size(), 23 + 1616);
    QCOMPARE(TCodec(QStringLiteral("pw")).DecryptBytes(box), plain);
}

void tst_Cipher::badContainers_data() {
    QTest::addColumn<QByteArray>("box");
    QTest::addColumn<QString>("message");
    TCodec codec(QStringLiteral("pw"));
    const QByteArray good = codec.EncryptBytes("some plain text");
    const QString missing = QStringLiteral("Unknown stream format (missing QzC1)");
    QTest::newRow("empty") << QByteArray() << missing;
    QTest::newRow("plain xml") << QByteArray("<?xml version=\"1.0\"?><Tavix/>") << missing;
    QTest::newRow("too short") << QByteArray("Qz") << missing;
    QTest::newRow("lower-case magic") << QByteArray("qzc1").append(good.mid(4)) << missing;
    QTest::newRow("cut header") << good.left(20) << "Incomplete container header";
    QByteArray badPad = good;
    badPad[6] = char(16);
    QTest::newRow("pad count 16") << badPad << "Invalid pad count 16";
}

void tst_Cipher::badContainers() {
    QFETCH(QByteArray, box);
    QFETCH(QString, message);
    QCOMPARE(CaughtMessage([&] { TCodec(QStringLiteral("pw")).DecryptBytes(box); }), message);
}

void tst_Cipher::writeFailureRaises() {
    TCodec codec(QStringLiteral("pw"));
    QByteArray plain = RandomBytes(5000);
    QBuffer src(&plain);
    src.open(QIODevice::ReadOnly);
    TFailingDevice dst(1000);
    QVERIFY(CaughtMessage([&] { codec.EncryptCore(&src, &dst); }).startsWith("Write error"));
}

QTEST_GUILESS_MAIN(tst_Cipher)
#include "tst_cipher.moc"
