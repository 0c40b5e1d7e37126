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

namespace {

// Hands out the source chunk by chunk. A memory stream's full chunks are used where they lie instead of
// being copied, and when the output also goes straight into memory, a run of up to ARunChunks full chunks
// is handed out at once: full chunks carry no padding and the chaining runs on, so the cipher text is the
// same, with fewer calls. A short last chunk always lands in the caller's buffer, which can be zero-padded.
class TChunkReader {
public:
    TChunkReader(QIODevice *ADevice, unsigned char *ABuffer, const QBuffer *AMemory, int ARunChunks)
        : FDevice(ADevice), FBuffer(ABuffer), FMemory(AMemory), FRunChunks(ARunChunks) {}

    qint64 Next(const unsigned char *&AData, qint64 (*AReadFull)(QIODevice *, char *, qint64)) {
        constexpr qint64 chunk = TzovAES128_Base::ChunkSize;
        AData = FBuffer;
        if (!FMemory)
            return AReadFull(FDevice, reinterpret_cast<char *>(FBuffer), chunk);
        const QByteArray &bytes = FMemory->data();
        const qint64 pos = FDevice->pos();
        const qint64 left = qMax(qint64(0), qint64(bytes.size() - pos));
        const auto *at = reinterpret_cast<const unsigned char *>(bytes.constData()) + pos;
        qint64 n = qMin(left, chunk);
        if (n == chunk) {
            n = qMin(left / chunk, qint64(FRunChunks)) * chunk;
            AData = at;
        } else {
            std::memcpy(FBuffer, at, size_t(n));
        }
        FDevice->seek(pos + n);
        return n;
    }

private:
    QIODevice *FDevice;
    unsigned char *FBuffer;
    const QBuffer *FMemory;
    int FRunChunks;
};

// Chunks per call when both streams are memory: 51200 bytes stay in the second-level cache.
constexpr int MemoryRunChunks = 32;

// Appends to a memory stream in place: the cipher writes straight into the byte array, which saves a
// copy per chunk and lets the padding be cut from the end afterwards.
class TMemoryWriter {
public:
    explicit TMemoryWriter(QBuffer *AMemory) : FMemory(AMemory) {}

    unsigned char *Reserve(qint64 ALen) {
        QByteArray &bytes = FMemory->buffer();
        const qint64 pos = FMemory->pos();
        if (pos + ALen > bytes.size())
            bytes.resize(pos + ALen);
        return reinterpret_cast<unsigned char *>(bytes.data()) + pos;
    }
    void Commit(qint64 ALen) {
        FMemory->seek(FMemory->pos() + ALen);
        FWritten += ALen;
    }
    void Write(const unsigned char *AData, qint64 ALen) {
        std::memcpy(Reserve(ALen), AData, size_t(ALen));
        Commit(ALen);
    }
    // Removes the last ALen bytes this writer appended.
    void DropTail(qint64 ALen) {
        ALen = qMin(ALen, FWritten);
        const qint64 end = FMemory->pos() - ALen;
        FMemory->buffer().resize(end);
        FMemory->seek(end);
    }

private:
    QBuffer *FMemory;
    qint64 FWritten = 0;
};

const QBuffer *MemorySource(QIODevice *ADevice) {
    const auto *mem = qobject_cast<const QBuffer *>(ADevice);
    return mem && mem->isReadable() && !mem->isTransactionStarted() ? mem : nullptr;
}

// Only when appending at the end, so that cutting the padding cannot touch bytes that were there before,
// and never into the array being read.
QBuffer *MemoryDestination(QIODevice *ADevice, const QBuffer *ASource) {
    auto *mem = qobject_cast<QBuffer *>(ADevice);
    if (!mem || !mem->isWritable() || mem->pos() != mem->size())
        return nullptr;
    if (ASource && (ASource == mem || &ASource->data() == &mem->buffer()))
        return nullptr;
    return mem;
}

} // namespace

qint64 TzovAES128_Base::EncryptChain(QIODevice *ASource, QIODevice *ADestination) {
    // CBC encryption is serial; block-by-block chaining through the EVP interface ran at half of OpenSSL's
    // own CBC speed, so each zero-padded chunk goes through one CBC update. The context carries the
    // chaining value (the last cipher block) on into the next chunk, as one continuous CBC stream.
    alignas(16) unsigned char in[ChunkSize];
    alignas(16) unsigned char out[ChunkSize];
    const QBuffer *memSource = MemorySource(ASource);
    QBuffer *memDest = MemoryDestination(ADestination, memSource);
    TChunkReader reader(ASource, in, memSource, memDest ? MemoryRunChunks : 1);
    TMemoryWriter writer(memDest);
    TCtxPtr ctx = NewContext(EVP_aes_128_cbc(), true, FKey.data(), FIV.data());
    qint64 total = 0;
    for (;;) {
        const unsigned char *src = nullptr;
        const qint64 n = reader.Next(src, &TzovAES128_Base::ReadFull);
        if (n == 0)
            break;
        const qint64 rounded = (n + BlockSize - 1) / BlockSize * BlockSize;
        if (src == in)
            std::memset(in + n, 0, size_t(rounded - n));
        unsigned char *dst = memDest ? writer.Reserve(rounded) : out;
        int outLen = 0;
        if (EVP_EncryptUpdate(ctx.get(), dst, &outLen, src, int(rounded)) != 1 || outLen != rounded)
            throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Encryption failed"));
        if (memDest)
            writer.Commit(rounded);
        else
            WriteAll(ADestination, reinterpret_cast<const char *>(out), rounded);
        total += n;
        if (n < ChunkSize)
            break;
    }
    OPENSSL_cleanse(in, sizeof in);
    return total;
}

void TzovAES128_Base::DecryptChain(QIODevice *ASource, QIODevice *ADestination, int ATrimTail) {
    // Each chunk goes through one CBC update, the context carrying the chaining value into the next
    // chunk; OpenSSL XORs the blocks as it decrypts them, which spares a second pass over the output.
    alignas(16) unsigned char in[ChunkSize];
    alignas(16) unsigned char out[ChunkSize];
    // For a device that cannot be shortened afterwards, the last ATrimTail plain bytes are held back
    // until the source ends and then dropped.
    unsigned char held[BlockSize];
    int heldLen = 0;
    ATrimTail = qBound(0, ATrimTail, int(BlockSize));
    const QBuffer *memSource = MemorySource(ASource);
    QBuffer *memDest = MemoryDestination(ADestination, memSource);
    TChunkReader reader(ASource, in, memSource, memDest ? MemoryRunChunks : 1);
    TMemoryWriter writer(memDest);
    TCtxPtr ctx = NewContext(EVP_aes_128_cbc(), false, FKey.data(), FIV.data());
    for (;;) {
        const unsigned char *src = nullptr;
        const qint64 n = reader.Next(src, &TzovAES128_Base::ReadFull);
        if (n == 0)
            break;
        // A truncated last block is decrypted zero-filled; it yields no valid plain text, but the
        // bytes read are still written so the caller sees the failure rather than a crash.
        const qint64 rounded = (n + BlockSize - 1) / BlockSize * BlockSize;
        if (src == in)
            std::memset(in + n, 0, size_t(rounded - n));
        unsigned char *dst = memDest && rounded == n ? writer.Reserve(n) : out;
        int outLen = 0;
        if (EVP_DecryptUpdate(ctx.get(), dst, &outLen, src, int(rounded)) != 1 || outLen != rounded)
            throw ECipherError(QCoreApplication::translate("TzovAES128_Base", "Decryption failed"));

        const qint64 len = n;
        if (dst != out) {
            writer.Commit(len);
        } else if (memDest) {
            writer.Write(out, len);
        } else if (ATrimTail == 0) {
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
            const int all = heldLen + int(len);
            const int toWrite = qMax(0, all - ATrimTail);
            WriteAll(ADestination, reinterpret_cast<const char *>(both), toWrite);
            heldLen = all - toWrite;
            std::memcpy(held, both + toWrite, size_t(heldLen));
        }
        if (n < ChunkSize)
            break;
    }
    if (memDest)
        writer.DropTail(ATrimTail);
    OPENSSL_cleanse(out, sizeof out);
    OPENSSL_cleanse(held, sizeof held);
}
