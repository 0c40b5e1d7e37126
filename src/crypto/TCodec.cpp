#include "TCodec.h"

#include <QCoreApplication>
#include <QIODevice>

#include <cstring>

void TCodec::EncryptCore(QIODevice *ASource, QIODevice *ADestination) {
    CheckStreams(ASource, ADestination, true);
    const bool sizeKnown = !ASource->isSequential();
    if (sizeKnown && !ASource->seek(0))
        throw ECipherError(QCoreApplication::translate("TCodec", "Cannot rewind the source"));
    const qint64 headerPos = ADestination->pos();
    // A sequential source has no size up front; its pad count is patched in once it is known.
    if (!sizeKnown && ADestination->isSequential())
        throw ECipherError(QCoreApplication::translate("TCodec", "Source or destination must be seekable"));

    char header[HeaderSize] = {'Q', 'z', 'C', '1', 0, 0, 0};
    header[6] = char(sizeKnown ? PadCount(ASource->size()) : 0);
    std::memcpy(header + 7, IV().data(), BlockSize);
    WriteAll(ADestination, header, HeaderSize);

    const qint64 plainSize = EncryptChain(ASource, ADestination);
    if (!sizeKnown) {
        const qint64 endPos = ADestination->pos();
        const char pad = char(PadCount(plainSize));
        if (!ADestination->seek(headerPos + 6))
            throw ECipherError(QCoreApplication::translate("TCodec", "Cannot complete the header"));
        WriteAll(ADestination, &pad, 1);
        ADestination->seek(endPos);
    }
}

void TCodec::DecryptCore(QIODevice *ASource, QIODevice *ADestination) {
    CheckStreams(ASource, ADestination, false);
    if (!ASource->isSequential() && !ASource->seek(0))
        throw ECipherError(QCoreApplication::translate("TCodec", "Cannot rewind the source"));
    char header[HeaderSize];
    const qint64 got = ReadFull(ASource, header, HeaderSize);
    if (got < 4 || std::memcmp(header, Magic, 4) != 0)
        throw ECipherError(QCoreApplication::translate("TCodec", "Unknown stream format (missing %1)")
                               .arg(QLatin1String(Magic)));
    if (got < HeaderSize)
        throw ECipherError(QCoreApplication::translate("TCodec", "Incomplete container header"));
    const int pad = quint8(header[6]);
    // Writers only ever store 0 to 15; anything else is a damaged container, not a length to cut.
    if (pad >= BlockSize)
        throw ECipherError(QCoreApplication::translate("TCodec", "Invalid pad count %1").arg(pad));
    TBlock128 iv;
    std::memcpy(iv.data(), header + 7, BlockSize);
    SetIV(iv);
    DecryptChain(ASource, ADestination, pad);
}
