// Container codec: AES-128-CBC cipher text behind the "QzC1" header (magic, reserved, pad count, IV).
#pragma once

#include "TzovAES128_Base.h"

class TCodec : public TzovAES128_Base {
public:
    static constexpr char Magic[5] = "QzC1";
    // Magic (4), reserved (2), pad count (1), IV (16).
    static constexpr int HeaderSize = 23;

    using TzovAES128_Base::TzovAES128_Base;

    // Number of zero bytes that bring APlainSize to a whole number of blocks (0 to 15).
    static int PadCount(qint64 APlainSize) { return int((BlockSize - APlainSize % BlockSize) % BlockSize); }

    // Rewinds the source and writes header plus cipher text at the destination's position.
    void EncryptCore(QIODevice *ASource, QIODevice *ADestination) override;
    // Rewinds the source, checks the header, takes its IV and writes the plain text without the padding.
    void DecryptCore(QIODevice *ASource, QIODevice *ADestination) override;
};
