// Agent fetching a list of students' answer files and writing each into a new time-stamped folder.
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TDO_UploadedFile.h"

#include <atomic>
#include <vector>

// Why one entry was not saved.
struct TDownloadFailure {
    int Index = -1;          // position in Entries()
    QString Identifier;      // the entry's "1234 (xyz-2)" form
    int StatusCode = 0;      // HTTP status or an agent status 1-4; 0 when the file could not be written
    QString StatusText;
};

// Created through Create (which checks the folder and the list), then started like every agent. Progress is
// announced on the UI thread without stopping the worker; the completion handler may read Folder(), Success()
// and Failures(). Asking the thread to stop (requestInterruption, or Abandon) ends the run after the entry
// under way.
class TAgent_Client_DownloadUploadedFiles : public TAgent_Client_Base {
    Q_OBJECT
    Q_PROPERTY(QString Folder READ Folder)
    Q_PROPERTY(int Position READ Position)
    Q_PROPERTY(int Total READ Total CONSTANT)

public:
    // Null with AError set to "Folder is required (must already exist)" or "No entries specified.".
    // The agent keeps its own copies of the entries.
    static TAgent_Client_DownloadUploadedFiles *Create(const QString &ABaseURL, const QString &AFolder,
                                                       const QString &APassword,
                                                       const std::vector<const TDO_UploadedFile *> &AEntries,
                                                       QString &AError);
    static TAgent_Client_DownloadUploadedFiles *Create(const QString &ABaseURL, const QString &AFolder,
                                                       const QString &APassword, const TDO_UploadedFiles &AEntries,
                                                       QString &AError);
    ~TAgent_Client_DownloadUploadedFiles() override;

    // Before the run: the chosen folder. From the start of the run: the folder made for it, ending with "/".
    QString Folder() const;
    const TDO_UploadedFiles &Entries() const { return FEntries; }
    int Position() const { return FPosition.load(); }
    int Total() const { return FTotal; }
    // Read in the completion handler.
    const std::vector<TDownloadFailure> &Failures() const { return FFailures; }

    // One entry's request; AEntry takes the reply's fields only when the reply was read. AClient may be null.
    static bool Download(TNetHTTPClient *AClient, const QString &ABaseURL, const QString &APassword,
                         TDO_UploadedFile &AEntry, int &AStatusCode, QString &AStatusText);
    // StudentID_ProtectedInfo_Copy_Filename, every part reduced so that it stays one name inside the folder.
    static QString TargetFilename(const TDO_UploadedFile &AEntry);
    // A name that cannot leave its folder: last path part only, no characters file systems refuse, never
    // empty, "." or "..". AFallback stands in for an empty result.
    static QString SafeFilename(const QString &AName, const QString &AFallback);

signals:
    // After every entry below ten entries, after every fifth from ten on; emitted on the UI thread while the
    // worker goes on. Nothing is announced once the agent has been abandoned.
    void Progress(TAgent_Client_DownloadUploadedFiles *ASender, int APosition, int ATotal);

protected:
    void Execute() override;
    void DisconnectReceivers() override;

private:
    TAgent_Client_DownloadUploadedFiles(const QString &ABaseURL, const QString &AFolder, const QString &APassword);
    bool MakeFolder(QString &AError);
    bool WriteFile(const TDO_UploadedFile &AEntry, QString &AError) const;

    QString FFolder;
    QString FPassword;
    TDO_UploadedFiles FEntries;
    std::atomic<int> FPosition{0};
    int FTotal = 0;
    std::vector<TDownloadFailure> FFailures;
};
