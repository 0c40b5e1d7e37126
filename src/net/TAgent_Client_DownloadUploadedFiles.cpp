#include "net/TAgent_Client_DownloadUploadedFiles.h"

#include "util/TDateTime.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {
// Characters that one of the common file systems refuses in a name.
bool IsRefused(QChar AChar) {
    return AChar.unicode() < 0x20 || AChar.unicode() == 0x7f || QStringLiteral("<>:\"/\\|?*").contains(AChar);
}

// One part of a name: refused characters become "_", trailing blanks and dots go (some systems drop them).
QString CleanPart(const QString &AValue) {
    QString clean;
    clean.reserve(AValue.size());
    for (const QChar c : AValue)
        clean += IsRefused(c) ? QLatin1Char('_') : c;
    clean = clean.trimmed();
    while (clean.endsWith(QLatin1Char('.')) || clean.endsWith(QLatin1Char(' ')))
        clean.chop(1);
    return clean;
}

// Most file systems take 255 bytes per name; keep the extension when shortening.
QString LimitLength(const QString &AName) {
    constexpr int maxBytes = 240;
    if (AName.toUtf8().size() <= maxBytes)
        return AName;
    const int dot = AName.lastIndexOf(QLatin1Char('.'));
    const QString ext = (dot > 0 && AName.size() - dot <= 16) ? AName.mid(dot) : QString();
    QString base = AName.left(AName.size() - ext.size());
    while (!base.isEmpty() && (base + ext).toUtf8().size() > maxBytes)
        base.chop(1);
    return base + ext;
}
} // namespace

TAgent_Client_DownloadUploadedFiles::TAgent_Client_DownloadUploadedFiles(const QString &ABaseURL,
                                                                         const QString &AFolder,
                                                                         const QString &APassword)
    : TAgent_Client_Base(ABaseURL), FFolder(AFolder.trimmed()), FPassword(APassword) {}

TAgent_Client_DownloadUploadedFiles::~TAgent_Client_DownloadUploadedFiles() = default;

TAgent_Client_DownloadUploadedFiles *TAgent_Client_DownloadUploadedFiles::Create(
    const QString &ABaseURL, const QString &AFolder, const QString &APassword,
    const std::vector<const TDO_UploadedFile *> &AEntries, QString &AError) {
    AError.clear();
    const QString folder = AFolder.trimmed();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) {
        AError = tr("Folder is required (must already exist)");
        return nullptr;
    }
    if (AEntries.empty()) {
        AError = tr("No entries specified.");
        return nullptr;
    }
    auto *agent = new TAgent_Client_DownloadUploadedFiles(ABaseURL, folder, APassword);
    for (const TDO_UploadedFile *entry : AEntries)
        if (entry)
            agent->FEntries.push_back(entry->Clone());
    agent->FTotal = int(agent->FEntries.size());
    return agent;
}

TAgent_Client_DownloadUploadedFiles *TAgent_Client_DownloadUploadedFiles::Create(const QString &ABaseURL,
                                                                                 const QString &AFolder,
                                                                                 const QString &APassword,
                                                                                 const TDO_UploadedFiles &AEntries,
                                                                                 QString &AError) {
    std::vector<const TDO_UploadedFile *> entries;
    for (const auto &entry : AEntries)
        entries.push_back(entry.get());
    return Create(ABaseURL, AFolder, APassword, entries, AError);
}

QString TAgent_Client_DownloadUploadedFiles::Folder() const { return FFolder; }

void TAgent_Client_DownloadUploadedFiles::DisconnectReceivers() {
    TAgent_Client_Base::DisconnectReceivers();
    disconnect(this, &TAgent_Client_DownloadUploadedFiles::Progress, nullptr, nullptr);
}

QString TAgent_Client_DownloadUploadedFiles::SafeFilename(const QString &AName, const QString &AFallback) {
    QString name = AName;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    name = CleanPart(name.mid(name.lastIndexOf(QLatin1Char('/')) + 1));
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        name = CleanPart(AFallback);
    return LimitLength(name);
}

QString TAgent_Client_DownloadUploadedFiles::TargetFilename(const TDO_UploadedFile &AEntry) {
    const QString name = CleanPart(AEntry.StudentID()) + QLatin1Char('_') + CleanPart(AEntry.ProtectedInfo()) +
                         QLatin1Char('_') + QString::number(AEntry.CopyNumber()) + QLatin1Char('_') +
                         SafeFilename(AEntry.Filename(), tr("answer"));
    return LimitLength(name);
}

bool TAgent_Client_DownloadUploadedFiles::Download(TNetHTTPClient *AClient, const QString &ABaseURL,
                                                   const QString &APassword, TDO_UploadedFile &AEntry,
                                                   int &AStatusCode, QString &AStatusText) {
    AStatusCode = 0;
    AStatusText = tr("Unknown failure");
    std::unique_ptr<TNetHTTPClient> ownClient;
    if (!AClient) {
        ownClient = NewClient();
        AClient = ownClient.get();
    }
    QByteArray body;
    {
        TDO_UploadedFile_Request request(AEntry);
        request.SetFileData(QByteArray()); // the service needs the identifiers only
        request.SetAction(TDO_UploadedFile_Request::ufaDownload);
        request.SetPassword(APassword);
        request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
        if (!SaveRequest(request, body)) {
            AStatusCode = asFailed;
            AStatusText = Text_CannotReachServer(tr("the request could not be written"));
            return false;
        }
    }
    TNetHTTPResponse response = AClient->Post(ABaseURL + QLatin1String("/v1/event/upload"), body);
    if (!ApplyResponse(response, AStatusCode, AStatusText) || AStatusCode != 200)
        return false;
    // Read into a fresh record, so an unreadable reply leaves the entry as it was.
    TDO_UploadedFile reply;
    const bool read = LoadReply(reply, response.Body);
    response.Body.clear();
    if (!read) {
        AStatusCode = asUnreadable;
        AStatusText = Text_UnableToRead(Text_NotARecord(reply.NodeName_OnCreate()));
        return false;
    }
    AEntry.Duplicate(reply);
    return true;
}

bool TAgent_Client_DownloadUploadedFiles::MakeFolder(QString &AError) {
    QString base = QDir::fromNativeSeparators(FFolder);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    const QString eventID = FEntries.empty() ? QString() : CleanPart(FEntries.front()->EventID());
    const QString stamp = TClock::NowUTC().ToQDateTimeLocal().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString name = QStringLiteral("Tavix Event ") + eventID + QLatin1Char(' ') + stamp;
    // A second run within the same second gets its own folder too.
    QString folder = base + name;
    for (int n = 2; QFileInfo::exists(folder); ++n)
        folder = base + name + QStringLiteral(" (%1)").arg(n);
    FFolder = folder + QLatin1Char('/');
    if (!QDir().mkpath(folder)) {
        AError = tr("The folder %1 could not be created").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    return true;
}

bool TAgent_Client_DownloadUploadedFiles::WriteFile(const TDO_UploadedFile &AEntry, QString &AError) const {
    // QSaveFile writes to a temporary name beside the target and renames it only once complete, so an
    // interrupted run never leaves a truncated file under the final name.
    QSaveFile file(FFolder + TargetFilename(AEntry));
    if (!file.open(QIODevice::WriteOnly) || file.write(AEntry.FileData()) != AEntry.FileData().size() ||
        !file.commit()) {
        AError = tr("The file %1 could not be written (%2)")
                     .arg(QDir::toNativeSeparators(file.fileName()), file.errorString());
        file.cancelWriting();
        return false;
    }
    return true;
}

void TAgent_Client_DownloadUploadedFiles::Execute() {
    FSuccess = true;
    FPosition = 0;
    FTotal = int(FEntries.size());
    FFailures.clear();
    auto client = NewClient();
    QString folderError;
    const bool haveFolder = MakeFolder(folderError);

    for (int i = 0; i < FTotal && !isInterruptionRequested() && !ShutdownFlag()->load(); ++i) {
        TDO_UploadedFile &entry = *FEntries[size_t(i)];
        TDownloadFailure failure;
        failure.Index = i;
        failure.Identifier = entry.FormattedUniqueIdentifier();
        bool ok = false;
        if (!haveFolder) {
            failure.StatusText = folderError;
        } else if (Download(client.get(), FBaseURL, FPassword, entry, failure.StatusCode, failure.StatusText)) {
            QString writeError;
            ok = WriteFile(entry, writeError);
            if (!ok) {
                failure.StatusCode = 0;
                failure.StatusText = writeError;
            }
            entry.SetFileData(QByteArray()); // one file's content in memory at a time
        }
        if (!ok) {
            FSuccess = false;
            FFailures.push_back(failure);
        }
        FPosition = i + 1;
        if (FTotal < 10 || FPosition % 5 == 0) {
            // Emitted from the agent's own (UI) thread rather than queued to each receiver: an announcement
            // still on its way when the agent is abandoned then reaches nobody.
            const int position = FPosition;
            QMetaObject::invokeMethod(
                this, [this, position] { emit Progress(this, position, FTotal); }, Qt::QueuedConnection);
        }
    }
}
