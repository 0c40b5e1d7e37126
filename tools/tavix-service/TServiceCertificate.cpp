#include "TServiceCertificate.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/rand.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <memory>

namespace {

template <typename T, void (*F)(T *)> struct TFree {
    void operator()(T *P) const { F(P); }
};
using TKeyPtr = std::unique_ptr<EVP_PKEY, TFree<EVP_PKEY, EVP_PKEY_free>>;
using TCertPtr = std::unique_ptr<X509, TFree<X509, X509_free>>;
using TBioPtr = std::unique_ptr<BIO, TFree<BIO, BIO_free_all>>;
using TExtPtr = std::unique_ptr<X509_EXTENSION, TFree<X509_EXTENSION, X509_EXTENSION_free>>;

QString Tr(const char *AText) { return QCoreApplication::translate("TServiceCertificate", AText); }

bool AddExtension(X509 *ACert, int ANid, const char *AValue) {
    X509V3_CTX Ctx;
    X509V3_set_ctx_nodb(&Ctx);
    X509V3_set_ctx(&Ctx, ACert, ACert, nullptr, nullptr, 0);
    TExtPtr Ext(X509V3_EXT_conf_nid(nullptr, &Ctx, ANid, AValue));
    return Ext && X509_add_ext(ACert, Ext.get(), -1) == 1;
}

QByteArray BioBytes(BIO *ABio) {
    char *Data = nullptr;
    const long Len = BIO_get_mem_data(ABio, &Data);
    return Len > 0 ? QByteArray(Data, int(Len)) : QByteArray();
}

bool WriteAtomically(const QString &APath, const QByteArray &ABytes, bool APrivate) {
    QDir().mkpath(QFileInfo(APath).absolutePath());
    QSaveFile File(APath);
    if (!File.open(QIODevice::WriteOnly))
        return false;
    if (APrivate)
        File.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return File.write(ABytes) == ABytes.size() && File.commit();
}

} // namespace

bool TServiceCertificate::Ensure(const QString &ACertPath, const QString &AKeyPath, QString &AError) {
    if (QFileInfo::exists(ACertPath) && QFileInfo::exists(AKeyPath))
        return true;

    TKeyPtr Key(EVP_EC_gen("P-256"));
    if (!Key) {
        AError = Tr("Cannot make a key for the certificate.");
        return false;
    }
    TCertPtr Cert(X509_new());
    if (!Cert) {
        AError = Tr("Cannot make the certificate.");
        return false;
    }
    X509_set_version(Cert.get(), 2);
    unsigned char Serial[16];
    RAND_bytes(Serial, sizeof(Serial));
    Serial[0] &= 0x7f;
    BIGNUM *SerialBN = BN_bin2bn(Serial, sizeof(Serial), nullptr);
    BN_to_ASN1_INTEGER(SerialBN, X509_get_serialNumber(Cert.get()));
    BN_free(SerialBN);
    X509_gmtime_adj(X509_getm_notBefore(Cert.get()), -24 * 3600);
    X509_gmtime_adj(X509_getm_notAfter(Cert.get()), 10L * 365 * 24 * 3600);
    X509_set_pubkey(Cert.get(), Key.get());
    X509_NAME *Name = X509_get_subject_name(Cert.get());
    X509_NAME_add_entry_by_txt(Name, "O", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("Tavix local service"),
                               -1, -1, 0);
    X509_NAME_add_entry_by_txt(Name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char *>("127.0.0.1"), -1,
                               -1, 0);
    X509_set_issuer_name(Cert.get(), Name);
    const bool ExtOk = AddExtension(Cert.get(), NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost,IP:::1") &&
                       AddExtension(Cert.get(), NID_basic_constraints, "critical,CA:FALSE") &&
                       AddExtension(Cert.get(), NID_key_usage, "critical,digitalSignature,keyEncipherment") &&
                       AddExtension(Cert.get(), NID_ext_key_usage, "serverAuth");
    if (!ExtOk || X509_sign(Cert.get(), Key.get(), EVP_sha256()) <= 0) {
        AError = Tr("Cannot sign the certificate.");
        return false;
    }

    TBioPtr KeyBio(BIO_new(BIO_s_mem()));
    TBioPtr CertBio(BIO_new(BIO_s_mem()));
    if (!KeyBio || !CertBio || PEM_write_bio_PrivateKey(KeyBio.get(), Key.get(), nullptr, nullptr, 0, nullptr, nullptr) != 1 ||
        PEM_write_bio_X509(CertBio.get(), Cert.get()) != 1) {
        AError = Tr("Cannot encode the certificate.");
        return false;
    }
    // The key first: a certificate without its key would be kept and useless on the next start.
    if (!WriteAtomically(AKeyPath, BioBytes(KeyBio.get()), true)) {
        AError = Tr("Cannot write the key file %1.").arg(AKeyPath);
        return false;
    }
    if (!WriteAtomically(ACertPath, BioBytes(CertBio.get()), false)) {
        AError = Tr("Cannot write the certificate file %1.").arg(ACertPath);
        return false;
    }
    return true;
}
