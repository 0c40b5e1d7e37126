// Stream encryption and decryption under a start code; never throws, failures give false.
#pragma once

#include <QString>

class QIODevice;

class TzovCryptoStreamTool {
public:
    // Writes the container for the whole source at the destination's position. A start code that does
    // not resolve (also an empty one) copies the source from its current position unchanged.
    static bool Encrypt(QIODevice *ASource, QIODevice *ADestination, const QString &AStartCode);
    // Reads the container from the source's start and writes the plain text; a start code that does not
    // resolve copies the source from its current position unchanged.
    static bool Decrypt(QIODevice *ASource, QIODevice *ADestination, const QString &AStartCode);

private:
    static void Copy(QIODevice *ASource, QIODevice *ADestination);
};
