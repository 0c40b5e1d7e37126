#include "TzovCryptoTool.h"

#include "TavixDeployment.h"

QString TzovCryptoTool::NormalizeStartCode(const QString &AStartCode) {
    return AStartCode.trimmed().toUpper();
}

int TzovCryptoTool::StartCodeCount() {
    return TavixDeployment::start_code_count;
}

QString TzovCryptoTool::GetStartCodeByIndex(int AIndex) {
    if (AIndex < 0 || AIndex >= TavixDeployment::start_code_count)
        return QString();
    return QString::fromLatin1(TavixDeployment::start_codes[AIndex]);
}

int TzovCryptoTool::IndexOfStartCode(const QString &AStartCode) {
    // Locale-independent upper case: the codes are ASCII, and a locale such as Turkish would turn "i"
    // into a dotted capital that never matches.
    QString code = AStartCode.toUpper();
    const QString prefix = QString::fromLatin1(TavixDeployment::start_code_prefix).toUpper();
    if (code.startsWith(prefix))
        code.remove(0, prefix.size());
    for (int i = 0; i < TavixDeployment::start_code_count; ++i)
        if (code == QLatin1String(TavixDeployment::start_codes[i]))
            return i;
    return -1;
}

int TzovCryptoTool::IndexOfSecretNbr(int AValue) {
    for (int i = 0; i < TavixDeployment::start_code_count; ++i)
        if (TavixDeployment::secret_numbers[i] == AValue)
            return i;
    return -1;
}

bool TzovCryptoTool::IsValid_StartCode(const QString &AValue) {
    return IndexOfStartCode(AValue) >= 0;
}

bool TzovCryptoTool::IsValid_SecretNbr(int AValue) {
    return IndexOfSecretNbr(AValue) >= 0;
}

bool TzovCryptoTool::IsValid_Match(const QString &AStartCode, int ASecretNbr) {
    const int i = IndexOfStartCode(AStartCode);
    return i >= 0 && TavixDeployment::secret_numbers[i] == ASecretNbr;
}

QString TzovCryptoTool::GetPassword(const QString &AStartCode) {
    const int i = IndexOfStartCode(AStartCode);
    if (i < 0)
        return QString();
    const int secret = TavixDeployment::secret_numbers[i];
    // The table's own form of the code, whatever prefix or letter case the caller used.
    const QString code = GetStartCodeByIndex(IndexOfSecretNbr(secret));
    return code + QLatin1Char('-') + QStringLiteral("%1").arg(secret, 5, 10, QLatin1Char('0')) +
           QString::fromLatin1(TavixDeployment::password_suffix);
}

std::unique_ptr<TCodec> TzovCryptoTool::GetCodec() {
    return std::make_unique<TCodec>();
}

std::unique_ptr<TCodec> TzovCryptoTool::GetCodec(const QString &AStartCode) {
    const QString password = GetPassword(AStartCode);
    if (password.isEmpty())
        return nullptr;
    return std::make_unique<TCodec>(password);
}

QString TzovCryptoTool::EncryptString(const QString &ASrce, const QString &AStartCode) {
    std::unique_ptr<TCodec> codec = GetCodec(NormalizeStartCode(AStartCode));
    return codec ? codec->EncryptString(ASrce) : ASrce;
}

QString TzovCryptoTool::DecryptString(const QString &ASrce, const QString &AStartCode) {
    std::unique_ptr<TCodec> codec = GetCodec(NormalizeStartCode(AStartCode));
    return codec ? codec->DecryptString(ASrce) : ASrce;
}

QString TzovCryptoTool::NetworkStartCode() {
    return QString::fromLatin1(TavixDeployment::network_start_code);
}

QString TzovCryptoTool::ConfigurationStartCode() {
    return QString::fromLatin1(TavixDeployment::configuration_start_code);
}
