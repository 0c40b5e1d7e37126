// AES-128 cipher object with CBC chaining over streams in 1600-byte chunks (bare cipher text, no header).
#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <stdexcept>

class QIODevice;

// Raised by the cipher objects; TzovCryptoStreamTool turns it into a false result.
class ECipherError : public std::runtime_error {
public:
    explicit ECipherError(const QString &AMessage) : std::runtime_error(AMessage.toStdString()) {}
    QString Message() const { return QString::fromStdString(what()); }
};

class TzovAES128_Base {
public:
    using TBlock128 = std::array<unsigned char, 16>;
    // Streams are processed in chunks of this many bytes (100 cipher blocks).
    static constexpr int ChunkSize = 1600;
    static constexpr int BlockSize = 16;

    // Zero key, random IV, empty password.
    TzovAES128_Base();
    explicit TzovAES128_Base(const TBlock128 &AKey);
    TzovAES128_Base(const TBlock128 &AKey, const TBlock128 &AnIV);
    explicit TzovAES128_Base(const QString &APassword);
    TzovAES128_Base(const QString &APassword, const TBlock128 &AnIV);
    TzovAES128_Base(const TzovAES128_Base &) = default;
    TzovAES128_Base &operator=(const TzovAES128_Base &) = default;
    virtual ~TzovAES128_Base();

    // Zero key, fresh random IV, empty password.
    void Initialize();

    const TBlock128 &Key() const { return FKey; }
    // Stores the key and empties Password.
    void SetKey(const TBlock128 &AValue);
    const TBlock128 &IV() const { return FIV; }
    void SetIV(const TBlock128 &AValue) { FIV = AValue; }
    QString Password() const { return FPassword; }
    // Key = first 16 bytes of SHA-1 of the password.
    void SetPassword(const QString &AValue);

    QString Key_AsHexString() const;
    QString IV_AsHexString() const;

    // Streams: EncryptCore / DecryptCore from the source's current position (a container codec rewinds).
    void EncryptStream(QIODevice *ASrce_Clear, QIODevice *ADest_Cypher);
    void DecryptStream(QIODevice *ASrce_Cypher, QIODevice *ADest_Clear);

    // Byte-exact forms over memory.
    QByteArray EncryptBytes(const QByteArray &AClear);
    QByteArray DecryptBytes(const QByteArray &ACypher);

    // String forms: each character carries one byte (Latin-1, U+0000..U+00FF); characters above U+00FF
    // cannot be carried and become '?'. The result carries one byte per character the same way, so a
    // cipher string must be handed on as Latin-1 (QString::toLatin1) to get the container bytes back.
    QString EncryptString(const QString &AClearText);
    QString DecryptString(const QString &ACypherText);

    // From an existing file into a newly created (or truncated) one.
    void EncryptFile(const QString &ASrce_Clear, const QString &ADest_Cypher);
    void DecryptFile(const QString &ASrce_Cypher, const QString &ADest_Clear);

    void EncryptStringToStream(const QString &AClearText, QIODevice *ADest_Cypher);
    void DecryptStringToStream(const QString &ACypherText, QIODevice *ADest_Clear);
    QString EncryptStreamToString(QIODevice *ASrce_Clear);
    QString DecryptStreamToString(QIODevice *ASrce_Cypher);

    static void InitializeKey(TBlock128 &AKey) { AKey.fill(0); }
    static void InitializeIV(TBlock128 &AnIV) { AnIV.fill(0); }
    static bool IsKeyZero(const TBlock128 &AKey);
    static bool IsIVZero(const TBlock128 &AnIV) { return IsKeyZero(AnIV); }
    // 16 bytes from the process-wide cryptographic random generator.
    static TBlock128 RandomIV();

    // Bare CBC: cipher text only, from the source's current position to the destination's.
    virtual void EncryptCore(QIODevice *ASource, QIODevice *ADestination);
    virtual void DecryptCore(QIODevice *ASource, QIODevice *ADestination);

protected:
    // CBC encryption of the rest of the source, zero-padding the last chunk to whole blocks.
    // Returns the number of plain-text bytes read.
    qint64 EncryptChain(QIODevice *ASource, QIODevice *ADestination);
    // CBC decryption of the rest of the source; the last ATrimTail bytes of the plain text are not written.
    // A cipher text that is not a whole number of blocks is decrypted with its last block zero-filled
    // and written at the length read.
    void DecryptChain(QIODevice *ASource, QIODevice *ADestination, int ATrimTail);

    static void CheckStreams(QIODevice *ASource, QIODevice *ADestination, bool AEncrypting);
    // Reads until ABuf is full or the source ends; throws on a read error.
    static qint64 ReadFull(QIODevice *ASource, char *ABuf, qint64 AMax);
    static void WriteAll(QIODevice *ADestination, const char *AData, qint64 ALen);

private:
    TBlock128 FKey{};
    TBlock128 FIV{};
    QString FPassword;
};
