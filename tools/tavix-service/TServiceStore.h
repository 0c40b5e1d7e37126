// The service's files: events, their uploads and coupons under the data folder, named by the records' own
// storage names and written atomically; one lock per event so simultaneous requests do not lose changes.
#pragma once

#include <QString>

#include <map>
#include <memory>
#include <mutex>

class TDO_Event;
class TDO_UploadedFile;

class TServiceStore {
public:
    explicit TServiceStore(const QString &ADataFolder);

    bool Prepare(QString &AError);
    // Every stored record is encrypted under the network start code, as the bodies are.
    static QString StartCode();

    QString DataFolder() const { return FDataFolder; }
    // "<data>/events/": one folder per event code (the event's RecommendedStorageFolder).
    QString EventsFolder() const;
    // "<data>/coupons/": coupon entries by their RecommendedStorageFilename, transactions below.
    QString CouponsFolder() const;
    QString TransactionsFolder() const;
    // "<data>/payment_config.xml": the fee configuration handed to clients.
    QString PaymentConfigPath() const;

    std::mutex &EventLock(const QString &AEventID);
    std::mutex &CouponLock() { return FCouponLock; }

    // AID as normalised by the event record; false when the event is not stored or cannot be read.
    bool LoadEvent(const QString &AID, TDO_Event &AEvent) const;
    bool SaveEvent(const TDO_Event &AEvent) const;
    // A new, unused event code whose folder now exists; empty when none could be made.
    QString ReserveEventCode();
    void ReleaseEventCode(const QString &AID);

    QString UploadPath(const TDO_Event &AEvent, const TDO_UploadedFile &AUpload) const;
    bool SaveUpload(const TDO_Event &AEvent, const TDO_UploadedFile &AUpload) const;

private:
    QString FDataFolder;
    std::mutex FRegistryLock;
    std::map<QString, std::unique_ptr<std::mutex>> FEventLocks;
    std::mutex FCouponLock;
};
