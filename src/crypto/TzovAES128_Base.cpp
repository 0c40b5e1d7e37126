#include "TzovAES128_Base.h"

#include "THash_SHA1.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstring>
#include <memory>

namespace {

struct TCtxFree {
    void operator()(EVP_CIPHER_CTX *ACtx) const { EVP_CIPHER_CTX_free(ACtx); }
};
using TCtxPtr = std::unique_ptr<EVP_CIPHER_CTX, TCtxFree>;

TCtxPtr NewContext(const EVP_CIPHER *ACipher, bool AEncrypt, const unsigned char *AKey,
                   const unsigned char *AnIV) {
    TCtxPtr ctx(EVP_CIPHER_CTX_new());
    if (!ctx || EVP_CipherInit_ex(ctx.get(), ACipher, nullptr, AKey, AnIV, AEncrypt ? 1 : 0) != 1 ||
        EVP_CIPHER_CTX_set_padding(ctx.get(), 0) != 1)
        throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Cipher initialisation failed"));
    return ctx;
}

QString ToHex(const TzovAES128_Base::TBlock128 &ABlock) {
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(ABlock.data()), int(ABlock.size())).toHex());
}

// ADest[i] ^= ASrc[i] for ALen bytes, eight at a time.
inline void XorInto(unsigned char *ADest, const unsigned char *ASrc, int ALen) {
    int i = 0;
    for (; i + 8 <= ALen; i += 8) {
        quint64 a, b;
        std::memcpy(&a, ADest + i, 8);
        std::memcpy(&b, ASrc + i, 8);
        a ^= b;
        std::memcpy(ADest + i, &a, 8);
    }
    for (; i < ALen; ++i)
        ADest[i] ^= ASrc[i];
}

} // namespace

TzovAES128_Base::TzovAES128_Base() {
    Initialize();
}

TzovAES128_Base::TzovAES128_Base(const TBlock128 &AKey) : FKey(AKey), FIV(RandomIV()) {}

TzovAES128_Base::TzovAES128_Base(const TBlock128 &AKey, const TBlock128 &AnIV) : FKey(AKey), FIV(AnIV) {}

TzovAES128_Base::TzovAES128_Base(const QString &APassword) : FIV(RandomIV()) {
    SetPassword(APassword);
}

TzovAES128_Base::TzovAES128_Base(const QString &APassword, const TBlock128 &AnIV) : FIV(AnIV) {
    SetPassword(APassword);
}

TzovAES128_Base::~TzovAES128_Base() = default;

void TzovAES128_Base::Initialize() {
    InitializeKey(FKey);
    FIV = RandomIV();
    FPassword.clear();
}

void TzovAES128_Base::SetKey(const TBlock128 &AValue) {
    FKey = AValue;
    FPassword.clear();
}

void TzovAES128_Base::SetPassword(const QString &AValue) {
    const QByteArray digest = QByteArray::fromHex(THash_SHA1::FromString(AValue).toLatin1());
    std::memcpy(FKey.data(), digest.constData(), FKey.size());
    FPassword = AValue;
}

QString TzovAES128_Base::Key_AsHexString() const {
    return ToHex(FKey);
}

QString TzovAES128_Base::IV_AsHexString() const {
    return ToHex(FIV);
}

bool TzovAES128_Base::IsKeyZero(const TBlock128 &AKey) {
    for (unsigned char b : AKey)
        if (b != 0)
            return false;
    return true;
}

TzovAES128_Base::TBlock128 TzovAES128_Base::RandomIV() {
    TBlock128 iv{};
    if (RAND_bytes(iv.data(), int(iv.size())) != 1)
        throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "No random bytes for the IV"));
    return iv;
}

void TzovAES128_Base::EncryptStream(QIODevice *ASrce_Clear, QIODevice *ADest_Cypher) {
    EncryptCore(ASrce_Clear, ADest_Cypher);
}

void TzovAES128_Base::DecryptStream(QIODevice *ASrce_Cypher, QIODevice *ADest_Clear) {
    DecryptCore(ASrce_Cypher, ADest_Clear);
}

QByteArray TzovAES128_Base::EncryptBytes(const QByteArray &AClear) {
    QByteArray clear(AClear), result;
    QBuffer src(&clear), dst(&result);
    src.open(QIODevice::ReadOnly);
    dst.open(QIODevice::WriteOnly);
    EncryptCore(&src, &dst);
    dst.close();
    return result;
}

QByteArray TzovAES128_Base::DecryptBytes(const QByteArray &ACypher) {
    QByteArray cypher(ACypher), result;
    QBuffer src(&cypher), dst(&result);
    src.open(QIODevice::ReadOnly);
    dst.open(QIODevice::WriteOnly);
    DecryptCore(&src, &dst);
    dst.close();
    return result;
}

QString TzovAES128_Base::EncryptString(const QString &AClearText) {
    return QString::fromLatin1(EncryptBytes(AClearText.toLatin1()));
}

QString TzovAES128_Base::DecryptString(const QString &ACypherText) {
    return QString::fromLatin1(DecryptBytes(ACypherText.toLatin1()));
}

namespace {
void OpenOrThrow(QFile &AFile, QIODevice::OpenMode AMode) {
    if (!AFile.open(AMode))
        throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Cannot open %1: %2")
                               .arg(AFile.fileName(), AFile.errorString()));
}
} // namespace

void TzovAES128_Base::EncryptFile(const QString &ASrce_Clear, const QString &ADest_Cypher) {
    QFile src(ASrce_Clear), dst(ADest_Cypher);
    OpenOrThrow(src, QIODevice::ReadOnly);
    OpenOrThrow(dst, QIODevice::WriteOnly | QIODevice::Truncate);
    EncryptCore(&src, &dst);
}

void TzovAES128_Base::DecryptFile(const QString &ASrce_Cypher, const QString &ADest_Clear) {
    QFile src(ASrce_Cypher), dst(ADest_Clear);
    OpenOrThrow(src, QIODevice::ReadOnly);
    OpenOrThrow(dst, QIODevice::WriteOnly | QIODevice::Truncate);
    DecryptCore(&src, &dst);
}

void TzovAES128_Base::EncryptStringToStream(const QString &AClearText, QIODevice *ADest_Cypher) {
    QByteArray clear = AClearText.toLatin1();
    QBuffer src(&clear);
    src.open(QIODevice::ReadOnly);
    EncryptCore(&src, ADest_Cypher);
}

void TzovAES128_Base::DecryptStringToStream(const QString &ACypherText, QIODevice *ADest_Clear) {
    QByteArray cypher = ACypherText.toLatin1();
    QBuffer src(&cypher);
    src.open(QIODevice::ReadOnly);
    DecryptCore(&src, ADest_Clear);
}

QString TzovAES128_Base::EncryptStreamToString(QIODevice *ASrce_Clear) {
    QByteArray result;
    QBuffer dst(&result);
    dst.open(QIODevice::WriteOnly);
    EncryptCore(ASrce_Clear, &dst);
    dst.close();
    return QString::fromLatin1(result);
}

QString TzovAES128_Base::DecryptStreamToString(QIODevice *ASrce_Cypher) {
    QByteArray result;
    QBuffer dst(&result);
    dst.open(QIODevice::WriteOnly);
    DecryptCore(ASrce_Cypher, &dst);
    dst.close();
    return QString::fromLatin1(result);
}

void TzovAES128_Base::CheckStreams(QIODevice *ASource, QIODevice *ADestination, bool AEncrypting) {
    if (!ASource)
        throw ECipherError(
            AEncrypting ? QCoreApplication::translate("TzovAES128_Base", "Source (Clear) is required")
                        : QCoreApplication::translate("TzovAES128_Base", "Source (Encrypted) is required"));
    if (!ADestination)
        throw ECipherError(
            AEncrypting
                ? QCoreApplication::translate("TzovAES128_Base", "Destination (Encrypted) is required")
                : QCoreApplication::translate("TzovAES128_Base", "Destination (Clear) is required"));
}

qint64 TzovAES128_Base::ReadFull(QIODevice *ASource, char *ABuf, qint64 AMax) {
    // A short read in mid-stream must not end a chunk early: chunks are zero-padded to whole blocks,
    // so a short chunk anywhere but at the end would corrupt the data.
    qint64 got = 0;
    while (got < AMax) {
        const qint64 r = ASource->read(ABuf + got, AMax - got);
        if (r < 0)
            throw ECipherError(
                QCoreApplication::translate("TzovAES128_Base", "Read error: %1").arg(ASource->errorString()));
        if (r == 0) {
            if (ASource->isSequential() && !ASource->atEnd() && ASource->waitForReadyRead(30000))
                continue;
            break;
        }
        got += r;
    }
    return got;
}

void TzovAES128_Base::WriteAll(QIODevice *ADestination, const char *AData, qint64 ALen) {
    while (ALen > 0) {
        const qint64 w = ADestination->write(AData, ALen);
        if (w <= 0)
            throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Write error: %1")
                                   .arg(ADestination->errorString()));
        AData += w;
        ALen -= w;
    }
}

void TzovAES128_Base::EncryptCore(QIODevice *ASource, QIODevice *ADestination) {
    CheckStreams(ASource, ADestination, true);
    EncryptChain(ASource, ADestination);
}

void TzovAES128_Base::DecryptCore(QIODevice *ASource, QIODevice *ADestination) {
    CheckStreams(ASource, ADestination, false);
    DecryptChain(ASource, ADestination, 0);
}

qint64 TzovAES128_Base::EncryptChain(QIODevice *ASource, QIODevice *ADestination) {
    // CBC encryption is serial; block-by-block chaining through the EVP interface ran at half of OpenSSL's
    // own CBC speed, so each zero-padded chunk goes through one CBC update. The context carries the
    // chaining value (the last cipher block) on into the next chunk, as one continuous CBC stream.
    alignas(16) unsigned char in[ChunkSize];
    alignas(16) unsigned char out[ChunkSize];
    TCtxPtr ctx = NewContext(EVP_aes_128_cbc(), true, FKey.data(), FIV.data());
    qint64 total = 0;
    for (;;) {
        const qint64 n = ReadFull(ASource, reinterpret_cast<char *>(in), ChunkSize);
        if (n == 0)
            break;
        const int rounded = int((n + BlockSize - 1) / BlockSize * BlockSize);
        std::memset(in + n, 0, size_t(rounded - n));
        int outLen = 0;
        if (EVP_EncryptUpdate(ctx.get(), out, &outLen, in, rounded) != 1 || outLen != rounded)
            throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Encryption failed"));
        WriteAll(ADestination, reinterpret_cast<const char *>(out), rounded);
        total += n;
        if (n < ChunkSize)
            break;
    }
    OPENSSL_cleanse(in, sizeof in);
    return total;
}

void TzovAES128_Base::DecryptChain(QIODevice *ASource, QIODevice *ADestination, int ATrimTail) {
    // A whole chunk is ECB-decrypted in one call (the blocks are independent, so OpenSSL runs them in
    // parallel), then each block is XORed with the cipher block before it.
    alignas(16) unsigned char in[ChunkSize];
    alignas(16) unsigned char out[ChunkSize];
    // The last ATrimTail plain bytes are held back until the source ends, then dropped; this works for
    // every destination, including ones that cannot be shortened afterwards.
    unsigned char held[BlockSize];
    int heldLen = 0;
    ATrimTail = qBound(0, ATrimTail, int(BlockSize));
    TBlock128 chain = FIV;
    TCtxPtr ctx = NewContext(EVP_aes_128_ecb(), false, FKey.data(), nullptr);
    for (;;) {
        const qint64 n = ReadFull(ASource, reinterpret_cast<char *>(in), ChunkSize);
        if (n == 0)
            break;
        // A truncated last block is decrypted zero-filled; it yields no valid plain text, but the
        // bytes read are still written so the caller sees the failure rather than a crash.
        const int rounded = int((n + BlockSize - 1) / BlockSize * BlockSize);
        std::memset(in + n, 0, size_t(rounded - n));
        int outLen = 0;
        if (EVP_DecryptUpdate(ctx.get(), out, &outLen, in, rounded) != 1 || outLen != rounded)
            throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Decryption failed"));
        XorInto(out, chain.data(), BlockSize);
        XorInto(out + BlockSize, in, rounded - BlockSize);
        std::memcpy(chain.data(), in + rounded - BlockSize, BlockSize);

        const int len = int(n);
        if (ATrimTail == 0) {
            WriteAll(ADestination, reinterpret_cast<const char *>(out), len);
        } else if (len >= ATrimTail) {
            WriteAll(ADestination, reinterpret_cast<const char *>(held), heldLen);
            WriteAll(ADestination, reinterpret_cast<const char *>(out), len - ATrimTail);
            std::memcpy(held, out + len - ATrimTail, size_t(ATrimTail));
            heldLen = ATrimTail;
        } else {
            unsigned char both[2 * BlockSize];
            std::memcpy(both, held, size_t(heldLen));
            std::memcpy(both + heldLen, out, size_t(len));
            const int all = heldLen + len;
            const int toWrite = qMax(0, all - ATrimTail);
            WriteAll(ADestination, reinterpret_cast<const char *>(both), toWrite);
            heldLen = all - toWrite;
            std::memcpy(held, both + toWrite, size_t(heldLen));
        }
        if (n < ChunkSize)
            break;
    }
    OPENSSL_cleanse(out, sizeof out);
    OPENSSL_cleanse(held, sizeof held);
}
