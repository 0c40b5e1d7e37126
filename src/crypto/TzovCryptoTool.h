// Start-code table lookup, password building, codec factory and string encryption under a start code.
#pragma once

#include "TCodec.h"

#include <QString>

#include <memory>

class TzovCryptoTool {
public:
    static int StartCodeCount();
    // The table code at AIndex (0 .. StartCodeCount()-1), empty for any other index.
    static QString GetStartCodeByIndex(int AIndex);
    // Accepts the table code alone or behind the start-code prefix, in any letter case.
    static bool IsValid_StartCode(const QString &AValue);
    static bool IsValid_SecretNbr(int AValue);
    static bool IsValid_Match(const QString &AStartCode, int ASecretNbr);
    // Table code, "-", five-digit secret number, password suffix; empty when the start code does not resolve.
    static QString GetPassword(const QString &AStartCode);

    // A codec with zero key; not for data.
    static std::unique_ptr<TCodec> GetCodec();
    // A codec keyed from the start code's password (fresh random IV); nullptr when it does not resolve.
    static std::unique_ptr<TCodec> GetCodec(const QString &AStartCode);

    // Container under the start code, one byte per character (Latin-1, see TzovAES128_Base::EncryptString);
    // a start code that does not resolve returns ASrce unchanged. Cipher failures are not caught here.
    static QString EncryptString(const QString &ASrce, const QString &AStartCode);
    static QString DecryptString(const QString &ASrce, const QString &AStartCode);

    // The two start codes in use: all service bodies, and the configuration file.
    static QString NetworkStartCode();
    static QString ConfigurationStartCode();

    // Blanks around removed, upper case: the form the stream and string operations look up.
    static QString NormalizeStartCode(const QString &AStartCode);

private:
    // Table index for the start code, -1 when it does not resolve.
    static int IndexOfStartCode(const QString &AStartCode);
    static int IndexOfSecretNbr(int AValue);
};
