// Container encryption and decryption speed against OpenSSL's own AES-128-CBC, and memory use by data size.
#include "crypto/TzovCryptoStreamTool.h"
#include "crypto/TzovCryptoTool.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <cstdio>
#include <cstring>
#include <functional>

namespace {

constexpr qint64 MiB = 1024 * 1024;
constexpr int Rounds = 5;

// Peak resident set size in KiB.
long PeakRssKiB() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Lets the next PeakRssKiB() start again from the current resident size.
bool ResetPeakRss() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
}

double BestSeconds(const std::function<void()> &AWork) {
    double best = 1e30;
    for (int i = 0; i < Rounds; ++i) {
        QElapsedTimer t;
        t.start();
        AWork();
        best = qMin(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

double MBps(qint64 ABytes, double ASeconds) {
    return ABytes / ASeconds / 1e6;
}

void OpenSslCbc(bool AEncrypt, const unsigned char *AKey, const unsigned char *AnIV, const char *AIn,
                char *AOut, qint64 ALen) {
    EVP_CIPHER_CTX *ctx = EVP_CIPHER_CTX_new();
    EVP_CipherInit_ex(ctx, EVP_aes_128_cbc(), nullptr, AKey, AnIV, AEncrypt ? 1 : 0);
    EVP_CIPHER_CTX_set_padding(ctx, 0);
    int len = 0;
    EVP_CipherUpdate(ctx, reinterpret_cast<unsigned char *>(AOut), &len,
                     reinterpret_cast<const unsigned char *>(AIn), int(ALen));
    EVP_CIPHER_CTX_free(ctx);
}

bool MakeFile(const QString &APath, qint64 ASize) {
    QFile f(APath);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray piece(int(MiB), Qt::Uninitialized);
    RAND_bytes(reinterpret_cast<unsigned char *>(piece.data()), int(piece.size()));
    for (qint64 done = 0; done < ASize; done += piece.size())
        if (f.write(piece) != piece.size())
            return false;
    return true;
}

// Streams a file through encryption and decryption; returns the rise of the peak RSS in KiB.
long StreamFileToFile(const QTemporaryDir &ADir, qint64 ASize, const QString &AStartCode, bool *AOk) {
    const QString plain = ADir.filePath("plain.bin"), box = ADir.filePath("box.bin"),
                  back = ADir.filePath("back.bin");
    *AOk = MakeFile(plain, ASize);
    ResetPeakRss();
    const long before = PeakRssKiB();
    {
        QFile in(plain), out(box);
        *AOk = *AOk && in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
               TzovCryptoStreamTool::Encrypt(&in, &out, AStartCode);
    }
    {
        QFile in(box), out(back);
        *AOk = *AOk && in.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly) &&
               TzovCryptoStreamTool::Decrypt(&in, &out, AStartCode);
    }
    const long after = PeakRssKiB();
    *AOk = *AOk && QFile(back).size() == ASize;
    std::printf("  %3lld MiB file to file: peak RSS before %ld KiB, after %ld KiB, rise %ld KiB%s\n",
                ASize / MiB, before, after, after - before, *AOk ? "" : "  (FAILED)");
    return after - before;
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    const QString startCode = TzovCryptoTool::NetworkStartCode();
    const qint64 size = 64 * MiB;

    std::printf("Memory while streaming (two fixed chunk buffers per call, independent of data size):\n");
    QTemporaryDir dir;
    bool ok8 = false, ok64 = false;
    const long rise8 = StreamFileToFile(dir, 8 * MiB, startCode, &ok8);
    const long rise64 = StreamFileToFile(dir, 64 * MiB, startCode, &ok64);
    std::printf("  peak RSS rise 64 MiB minus 8 MiB: %ld KiB\n\n", rise64 - rise8);

    QByteArray plain(int(size), Qt::Uninitialized);
    RAND_bytes(reinterpret_cast<unsigned char *>(plain.data()), int(plain.size()));
    QByteArray box, back;
    box.reserve(size + 64);
    back.reserve(size + 64);
    QByteArray refOut(int(size), '\0');

    // Ours: the container through QBuffer streams, as the records use it.
    bool okOurs = true;
    const double oursEnc = BestSeconds([&] {
        box.resize(0);
        QBuffer src(&plain), dst(&box);
        src.open(QIODevice::ReadOnly);
        dst.open(QIODevice::WriteOnly);
        okOurs = TzovCryptoStreamTool::Encrypt(&src, &dst, startCode) && okOurs;
    });
    const double oursDec = BestSeconds([&] {
        back.resize(0);
        QBuffer src(&box), dst(&back);
        src.open(QIODevice::ReadOnly);
        dst.open(QIODevice::WriteOnly);
        okOurs = TzovCryptoStreamTool::Decrypt(&src, &dst, startCode) && okOurs;
    });
    okOurs = okOurs && back == plain;

    // Reference: OpenSSL's EVP aes-128-cbc over the same buffer in one call, same key and IV.
    std::unique_ptr<TCodec> codec = TzovCryptoTool::GetCodec(startCode);
    const unsigned char *key = codec->Key().data();
    unsigned char iv[16];
    std::memcpy(iv, box.constData() + 7, 16);
    const double refEnc =
        BestSeconds([&] { OpenSslCbc(true, key, iv, plain.constData(), refOut.data(), size); });
    const bool sameCipher = std::memcmp(refOut.constData(), box.constData() + 23, size_t(size)) == 0;
    const double refDec =
        BestSeconds([&] { OpenSslCbc(false, key, iv, box.constData() + 23, refOut.data(), size); });
    const bool samePlain = refOut == plain;

    std::printf("64 MiB in memory, best of %d:\n", Rounds);
    std::printf("  encrypt: ours %8.0f MB/s   OpenSSL EVP aes-128-cbc %8.0f MB/s   ratio %.3f\n",
                MBps(size, oursEnc), MBps(size, refEnc), refEnc / oursEnc);
    std::printf("  decrypt: ours %8.0f MB/s   OpenSSL EVP aes-128-cbc %8.0f MB/s   ratio %.3f\n",
                MBps(size, oursDec), MBps(size, refDec), refDec / oursDec);
    std::printf("  results: round trip %s, cipher text equals OpenSSL's %s, OpenSSL decrypts ours %s\n",
                okOurs ? "ok" : "FAILED", sameCipher ? "yes" : "NO", samePlain ? "yes" : "NO");
    return okOurs && sameCipher && samePlain && ok8 && ok64 ? 0 : 1;
}
