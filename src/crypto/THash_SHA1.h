// SHA-1 digest of text as lower-case hexadecimal, used to turn passwords into cipher keys.
#pragma once

#include <QByteArray>
#include <QString>

class THash_SHA1 {
public:
    // Digest of the text's characters taken as single bytes (Latin-1); 40 lower-case hex digits.
    static QString FromString(const QString &AData);
    // Digest of raw bytes; 40 lower-case hex digits.
    static QString FromBytes(const QByteArray &AData);
};
