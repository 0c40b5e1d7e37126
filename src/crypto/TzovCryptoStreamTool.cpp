#include "TzovCryptoStreamTool.h"

#include "TzovCryptoTool.h"

#include <QCoreApplication>
#include <QIODevice>

void TzovCryptoStreamTool::Copy(QIODevice *ASource, QIODevice *ADestination) {
    char buf[TzovAES128_Base::ChunkSize];
    for (;;) {
        const qint64 n = ASource->read(buf, sizeof buf);
        if (n < 0)
            throw ECipherError(QCoreApplication::translate("TzovCryptoStreamTool", "Read error: %1")
                                   .arg(ASource->errorString()));
        if (n == 0)
            break;
        for (qint64 done = 0; done < n;) {
            const qint64 w = ADestination->write(buf + done, n - done);
            if (w <= 0)
                throw ECipherError(QCoreApplication::translate("TzovCryptoStreamTool", "Write error: %1")
                                       .arg(ADestination->errorString()));
            done += w;
        }
    }
}

bool TzovCryptoStreamTool::Encrypt(QIODevice *ASource, QIODevice *ADestination, const QString &AStartCode) {
    if (!ASource || !ADestination)
        return false;
    try {
        std::unique_ptr<TCodec> codec =
            TzovCryptoTool::GetCodec(TzovCryptoTool::NormalizeStartCode(AStartCode));
        if (codec)
            codec->EncryptStream(ASource, ADestination);
        else
            Copy(ASource, ADestination);
        return true;
    } catch (...) {
        return false;
    }
}

bool TzovCryptoStreamTool::Decrypt(QIODevice *ASource, QIODevice *ADestination, const QString &AStartCode) {
    if (!ASource || !ADestination)
        return false;
    try {
        std::unique_ptr<TCodec> codec =
            TzovCryptoTool::GetCodec(TzovCryptoTool::NormalizeStartCode(AStartCode));
        if (codec)
            codec->DecryptStream(ASource, ADestination);
        else
            Copy(ASource, ADestination);
        return true;
    } catch (...) {
        return false;
    }
}
