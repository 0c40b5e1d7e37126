#include "TServiceStore.h"

#include "crypto/TzovCryptoTool.h"
#include "data/TDO_Event.h"
#include "data/TDO_UploadedFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

TServiceStore::TServiceStore(const QString &ADataFolder) : FDataFolder(QDir::cleanPath(ADataFolder)) {}

QString TServiceStore::StartCode() { return TzovCryptoTool::NetworkStartCode(); }

QString TServiceStore::EventsFolder() const { return FDataFolder + QStringLiteral("/events/"); }
QString TServiceStore::CouponsFolder() const { return FDataFolder + QStringLiteral("/coupons/"); }
QString TServiceStore::TransactionsFolder() const { return CouponsFolder() + QStringLiteral("transactions/"); }
QString TServiceStore::PaymentConfigPath() const { return FDataFolder + QStringLiteral("/payment_config.xml"); }

bool TServiceStore::Prepare(QString &AError) {
    for (const QString &Folder : {EventsFolder(), CouponsFolder(), TransactionsFolder()}) {
        if (!QDir().mkpath(Folder)) {
            AError = QCoreApplication::translate("TServiceStore", "Cannot create the folder %1.").arg(Folder);
            return false;
        }
    }
    return true;
}

std::mutex &TServiceStore::EventLock(const QString &AEventID) {
    std::lock_guard<std::mutex> Guard(FRegistryLock);
    auto &Slot = FEventLocks[AEventID];
    if (!Slot)
        Slot = std::make_unique<std::mutex>();
    return *Slot;
}

bool TServiceStore::LoadEvent(const QString &AID, TDO_Event &AEvent) const {
    TDO_Event Key;
    Key.SetID(AID);
    const QString Relative = Key.RecommendedStorageFilename();
    if (Relative.isEmpty())
        return false;
    if (!AEvent.LoadFrom_File(EventsFolder() + Relative, StartCode()))
        return false;
    // A file whose record names another event is not this event.
    return TDO_Event::NormalizeID(AEvent.ID()) == Key.ID();
}

bool TServiceStore::SaveEvent(const TDO_Event &AEvent) const {
    const QString Relative = AEvent.RecommendedStorageFilename();
    if (Relative.isEmpty())
        return false;
    const QString Path = EventsFolder() + Relative;
    QDir().mkpath(QFileInfo(Path).absolutePath());
    return AEvent.SaveTo_File(Path, StartCode());
}

QString TServiceStore::ReserveEventCode() {
    // Letters and digits that cannot be mistaken for one another when read aloud or typed.
    static const char Letters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
    static const char Digits[] = "23456789";
    auto *Random = QRandomGenerator::system();
    for (int Attempt = 0; Attempt < 1000; ++Attempt) {
        QString Code;
        for (int i = 0; i < 3; ++i)
            Code += QLatin1Char(Letters[Random->bounded(int(sizeof(Letters) - 1))]);
        for (int i = 0; i < 3; ++i)
            Code += QLatin1Char(Digits[Random->bounded(int(sizeof(Digits) - 1))]);
        // mkdir fails when the folder exists, so two requests never get the same code.
        if (QDir(EventsFolder()).mkdir(Code))
            return Code;
    }
    return QString();
}

void TServiceStore::ReleaseEventCode(const QString &AID) {
    if (TDO_Event::IsSafeStorageName(AID) && !AID.isEmpty())
        QDir(EventsFolder() + AID).removeRecursively();
}

QString TServiceStore::UploadPath(const TDO_Event &AEvent, const TDO_UploadedFile &AUpload) const {
    const QString Folder = AEvent.RecommendedStorageUploadFolder();
    const QString Name = AUpload.RecommendedStorageFilename();
    if (Folder.isEmpty() || !TDO_Event::IsSafeStorageName(Name))
        return QString();
    return EventsFolder() + Folder + Name;
}

bool TServiceStore::SaveUpload(const TDO_Event &AEvent, const TDO_UploadedFile &AUpload) const {
    const QString Path = UploadPath(AEvent, AUpload);
    if (Path.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(Path).absolutePath());
    return AUpload.SaveTo_File(Path, StartCode());
}
