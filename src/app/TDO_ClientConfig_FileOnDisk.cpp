#include "app/TDO_ClientConfig_FileOnDisk.h"

#include "crypto/TzovCryptoTool.h"

#include <QDir>
#include <QFile>

TDO_ClientConfig_FileOnDisk::TDO_ClientConfig_FileOnDisk(const QString &AFilename, const QString &AFolder)
    : FConfig(std::make_unique<TDO_ClientConfig>()),
      FFolder(AFolder.isEmpty() ? TDO_ClientConfig::ConfigFolder() : AFolder), FFilename(AFilename),
      FEncryptionKey(TzovCryptoTool::ConfigurationStartCode()) {
    FConfig->OnChanged = [this](TDOX_Base *) {
        if (FAutoSave)
            Save();
    };
}

bool TDO_ClientConfig_FileOnDisk::Load() {
    if (FFilename.isEmpty())
        return false;
    bool result = false;
    const QString path = FQFilename();
    if (QFile::exists(path)) {
        result = FConfig->LoadFrom_File(path, FEncryptionKey);
        if (!result) {
            // A plain file is accepted; the empty key makes the next save write it encrypted.
            result = FConfig->LoadFrom_File(path, QString());
            if (result)
                FEncryptionKey.clear();
        }
    }
    FConfig->SetCouponServerBaseURL(QString());
    return result;
}

bool TDO_ClientConfig_FileOnDisk::Save() {
    if (FFilename.isEmpty())
        return false;
    QString startCode = FEncryptionKey;
    if (startCode.isEmpty() && FAlwaysEncrypt)
        startCode = TzovCryptoTool::ConfigurationStartCode();
    if (!QDir().mkpath(FFolder))
        return false;
    if (!FConfig->SaveTo_File(FQFilename(), startCode))
        return false;
    // The file now is what the next load must read.
    FEncryptionKey = startCode;
    return true;
}
