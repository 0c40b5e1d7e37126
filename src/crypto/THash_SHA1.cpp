#include "THash_SHA1.h"

#include <openssl/evp.h>

QString THash_SHA1::FromString(const QString &AData) {
    return FromBytes(AData.toLatin1());
}

QString THash_SHA1::FromBytes(const QByteArray &AData) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int len = 0;
    if (EVP_Digest(AData.constData(), size_t(AData.size()), digest, &len, EVP_sha1(), nullptr) != 1)
        return QString();
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char *>(digest), int(len)).toHex());
}
