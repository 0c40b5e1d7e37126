// Owns the configuration record and its encrypted file in the user's documents folder.
#pragma once

#include "data/TDO_ClientConfig.h"

#include <memory>

class TDO_ClientConfig_FileOnDisk {
public:
    // An empty AFolder means the configuration folder; a given folder ends with a path separator.
    explicit TDO_ClientConfig_FileOnDisk(const QString &AFilename, const QString &AFolder = QString());
    TDO_ClientConfig_FileOnDisk(const TDO_ClientConfig_FileOnDisk &) = delete;
    TDO_ClientConfig_FileOnDisk &operator=(const TDO_ClientConfig_FileOnDisk &) = delete;

    TDO_ClientConfig &Config() { return *FConfig; }
    const QString &Folder() const { return FFolder; }
    const QString &Filename() const { return FFilename; }
    QString FQFilename() const { return FFolder + FFilename; }
    const QString &EncryptionKey() const { return FEncryptionKey; }
    void SetEncryptionKey(const QString &AValue) { FEncryptionKey = AValue; }
    bool AlwaysEncrypt() const { return FAlwaysEncrypt; }
    void SetAlwaysEncrypt(bool AValue) { FAlwaysEncrypt = AValue; }
    bool AutoSave() const { return FAutoSave; }
    void SetAutoSave(bool AValue) { FAutoSave = AValue; }

    bool Load();
    bool Save();

private:
    std::unique_ptr<TDO_ClientConfig> FConfig;
    QString FFolder;
    QString FFilename;
    QString FEncryptionKey;
    bool FAlwaysEncrypt = true;
    bool FAutoSave = true;
};
