// The service's self-signed TLS certificate: made once with OpenSSL and kept in the data folder.
#pragma once

#include <QString>

class TServiceCertificate {
public:
    // Keeps an existing pair; otherwise writes a new EC P-256 key and a certificate for 127.0.0.1 and
    // localhost, valid ten years. False with a reason when the files cannot be made.
    static bool Ensure(const QString &ACertPath, const QString &AKeyPath, QString &AError);
};
