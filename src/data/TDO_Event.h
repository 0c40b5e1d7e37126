// Event records: the event, its settings, its student list and one student, as exchanged with the service.
#pragma once

#include "data/TDOX_BaseQuenmark.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QIODevice;
class TzovPayment_Data_ChargeSuccessful;

// One student of an event.
class TDO_Event_StudentEntry : public TDOX_BaseQuenmark {
public:
    TDO_Event_StudentEntry();
    TDO_Event_StudentEntry(const TDO_Event_StudentEntry &AObj) : TDO_Event_StudentEntry() { Duplicate(AObj); }
    explicit TDO_Event_StudentEntry(const TDOX_Base &AObj) : TDO_Event_StudentEntry() { Duplicate(AObj); }
    TDO_Event_StudentEntry &operator=(const TDO_Event_StudentEntry &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;
    std::unique_ptr<TDO_Event_StudentEntry> Clone() const {
        return std::make_unique<TDO_Event_StudentEntry>(*this);
    }

    const QString &ID() const { return FID; }
    void SetID(const QString &AValue) { FID = CleanID(AValue); }
    const QString &Password() const { return FPassword; }
    void SetPassword(const QString &AValue) { FPassword = TrimText(AValue); }
    qint32 Accomodation_Time_InMinutes() const { return FAccomodation_Time_InMinutes; }
    void SetAccomodation_Time_InMinutes(qint32 AValue) { FAccomodation_Time_InMinutes = AValue; }
    TDateTime CheckedOutUTC() const { return FCheckedOutUTC; }
    void SetCheckedOutUTC(TDateTime AValue) { FCheckedOutUTC = AValue; }
    TDateTime AvailabilityStartUTC() const { return FAvailabilityStartUTC; }
    void SetAvailabilityStartUTC(TDateTime AValue) { FAvailabilityStartUTC = AValue; }
    TDateTime AvailabilityStopUTC() const { return FAvailabilityStopUTC; }
    void SetAvailabilityStopUTC(TDateTime AValue) { FAvailabilityStopUTC = AValue; }

    bool IsPasswordOK(const QString &APassword) const;
    bool IsStarted() const { return FCheckedOutUTC.MSecs() > 0; }
    bool IsDeferred() const { return FAvailabilityStartUTC.MSecs() > 0 && FAvailabilityStopUTC.MSecs() > 0; }

    // Trimmed, then every blank removed; letter case kept.
    static QString CleanID(const QString &AValue);

private:
    QString FID;
    QString FPassword;
    qint32 FAccomodation_Time_InMinutes = 0;
    TDateTime FCheckedOutUTC;
    TDateTime FAvailabilityStartUTC;
    TDateTime FAvailabilityStopUTC;
};

using TDO_Event_StudentEntries = std::vector<std::unique_ptr<TDO_Event_StudentEntry>>;

// The ordered students of an event; owns its entries.
class TDO_Event_StudentList : public TDOX_BaseQuenmark {
public:
    TDO_Event_StudentList();
    TDO_Event_StudentList(const TDO_Event_StudentList &AObj) : TDO_Event_StudentList() { Duplicate(AObj); }
    explicit TDO_Event_StudentList(const TDOX_Base &AObj) : TDO_Event_StudentList() { Duplicate(AObj); }
    TDO_Event_StudentList &operator=(const TDO_Event_StudentList &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    // Ends sorted by ascending ID.
    void ReadFromNode(TXmlNode ANode) override;

    const TDO_Event_StudentEntries &Entries() const { return FEntries; }
    TDO_Event_StudentEntries &Entries() { return FEntries; }
    int Count() const { return int(FEntries.size()); }

    // Case-insensitive match on ID; the last match, -1 when none.
    int FindIndex(const QString &AExamID) const;
    // Case-insensitive match on ID; the first match (still owned by the list), nullptr when none.
    TDO_Event_StudentEntry *FindEntry(const QString &AExamID) const;
    // Takes ownership; -1 for no entry. Duplicate IDs are not checked here.
    int AddEntry(std::unique_ptr<TDO_Event_StudentEntry> AEntry);
    int Count_StudentsWithoutPasswords() const;

    // Not stable: entries equal in both keys end in no particular order.
    void Sort_ByID(bool AAscending);
    void Sort_ByAccomodated(bool AAscending);
    void Sort_ByCheckedOutDTS(bool AAscending);
    void Sort_ByDeferralDTS(bool AAscending);

    // Shared by the lists that read many entries: one "event_student_entry" per child, pre-sized.
    static void ReadEntries(TXmlNode AParent, TDO_Event_StudentEntries &AEntries);
    static void WriteEntries(TXmlNode AParent, const TDO_Event_StudentEntries &AEntries);
    static void CopyEntries(const TDO_Event_StudentEntries &ASource, TDO_Event_StudentEntries &ADest);
    // Ascending by ID with letters a to z folded (the order of the uploaded / not uploaded lists).
    static void SortEntries_ByIDText(TDO_Event_StudentEntries &AEntries);

private:
    enum class TSortKey { skID, skAccomodated, skCheckedOut, skDeferral };
    void SortBy(TSortKey AKey, bool AAscending);

    TDO_Event_StudentEntries FEntries;
};

// The event's settings: question document, timing, answer-file limits.
class TDO_Event_Covid19 : public TDOX_BaseQuenmark {
public:
    TDO_Event_Covid19();
    TDO_Event_Covid19(const TDO_Event_Covid19 &AObj) : TDO_Event_Covid19() { Duplicate(AObj); }
    explicit TDO_Event_Covid19(const TDOX_Base &AObj) : TDO_Event_Covid19() { Duplicate(AObj); }
    TDO_Event_Covid19 &operator=(const TDO_Event_Covid19 &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QByteArray &ResourceFileData() const { return FResourceFileData; }
    void SetResourceFileData(const QByteArray &AValue) { FResourceFileData = AValue; }
    const QString &ResourceFilename() const { return FResourceFilename; }
    void SetResourceFilename(const QString &AValue) { FResourceFilename = TrimText(AValue); }
    bool ResourceAllowSave() const { return FResourceAllowSave; }
    void SetResourceAllowSave(bool AValue) { FResourceAllowSave = AValue; }
    TDateTime AvailabilityStartUTC() const { return FAvailabilityStartUTC; }
    void SetAvailabilityStartUTC(TDateTime AValue) { FAvailabilityStartUTC = AValue; }
    TDateTime AvailabilityStopUTC() const { return FAvailabilityStopUTC; }
    void SetAvailabilityStopUTC(TDateTime AValue) { FAvailabilityStopUTC = AValue; }
    TDateTime SubmissionDeadlineUTC() const { return FSubmissionDeadlineUTC; }
    void SetSubmissionDeadlineUTC(TDateTime AValue) { FSubmissionDeadlineUTC = AValue; }
    qint32 DurationLimit_InMinutes() const { return FDurationLimit_InMinutes; }
    void SetDurationLimit_InMinutes(qint32 AValue) { FDurationLimit_InMinutes = AValue; }
    const QStringList &UploadFileExtenstions() const { return FUploadFileExtenstions; }
    QStringList &UploadFileExtenstions() { return FUploadFileExtenstions; }
    void SetUploadFileExtenstions(const QStringList &AValue) { FUploadFileExtenstions = AValue; }
    qint32 UploadKilobyteLimit() const { return FUploadKilobyteLimit; }
    void SetUploadKilobyteLimit(qint32 AValue) { FUploadKilobyteLimit = AValue; }
    qint32 UploadCountLimit() const { return FUploadCountLimit; }
    void SetUploadCountLimit(qint32 AValue) { FUploadCountLimit = AValue; }

    // Copies the whole stream (from its start); the stream keeps its position. No stream: empties the data.
    void Duplicate_ResourceFileData(QIODevice *AStream);
    // Loads the question document; false (name and data empty) when the file is missing or unreadable.
    bool SetResourceFileNameAndData(const QString &AFQFilename);

    bool IsValid() const;
    // At TClock::NowUTC(); no window at all counts as available.
    bool IsAvailable() const;

    // Extension list as one text: each entry followed by CR LF; and back, split at any line break.
    static QString ListToText(const QStringList &AList);
    static QStringList TextToList(const QString &AText);

private:
    QByteArray FResourceFileData;
    QString FResourceFilename;
    bool FResourceAllowSave = false;
    TDateTime FAvailabilityStartUTC;
    TDateTime FAvailabilityStopUTC;
    TDateTime FSubmissionDeadlineUTC;
    qint32 FDurationLimit_InMinutes = 0;
    QStringList FUploadFileExtenstions;
    qint32 FUploadKilobyteLimit = 1000;
    qint32 FUploadCountLimit = 1;
};

// One exam or assignment event.
class TDO_Event : public TDOX_BaseQuenmark {
public:
    enum TLateCalculationMode { lcmNone, lcmAFTERAvailabilityStop, lcmLONGERthanDurationLimit };

    TDO_Event();
    TDO_Event(const TDO_Event &AObj) : TDO_Event() { Duplicate(AObj); }
    explicit TDO_Event(const TDOX_Base &AObj) : TDO_Event() { Duplicate(AObj); }
    TDO_Event &operator=(const TDO_Event &AObj) {
        Duplicate(AObj);
        return *this;
    }
    ~TDO_Event() override;

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    TDateTime CreatedUTC() const { return FCreatedUTC; }
    void SetCreatedUTC(TDateTime AValue) { FCreatedUTC = AValue; }
    const QString &ID() const { return FID; }
    void SetID(const QString &AValue) { FID = NormalizeID(AValue); }
    const QString &Name() const { return FName; }
    void SetName(const QString &AValue) { FName = TrimText(AValue); }
    const QString &Password() const { return FPassword; }
    void SetPassword(const QString &AValue) { FPassword = TrimText(AValue); }
    const QString &AccommPIN() const { return FAccommPIN; }
    void SetAccommPIN(const QString &AValue) { FAccommPIN = TrimText(AValue); }

    // Owned for the record's whole life; callers change their contents, never replace them.
    TDO_Event_Covid19 &Covid19() { return FCovid19; }
    const TDO_Event_Covid19 &Covid19() const { return FCovid19; }
    TDO_Event_StudentList &Students() { return FStudents; }
    const TDO_Event_StudentList &Students() const { return FStudents; }
    TzovPayment_Data_ChargeSuccessful &PaymentCharge() { return *FPaymentCharge; }
    const TzovPayment_Data_ChargeSuccessful &PaymentCharge() const { return *FPaymentCharge; }

    QString ID_Pretty() const { return PrettifyID(FID); }
    TLateCalculationMode LateCalculationMode() const;
    bool HasStudents() const { return FStudents.Count() > 0; }
    void SetPaymentChargeFromCoupon(const QString &ACouponCode, const QString &ACouponTransaction);

    // For one student, or for the event when AStudent is nullptr.
    TDateTime CalculateAvailabilityStart(const TDO_Event_StudentEntry *AStudent) const;
    TDateTime CalculateAvailabilityStop(const TDO_Event_StudentEntry *AStudent) const;
    TDateTime CalculateSubmissionDeadline(const TDO_Event_StudentEntry *AStudent) const;

    bool IsValid() const;

    // Place of the event in a store of events kept in folders; empty when the code cannot name a folder.
    QString RecommendedStorageIdentifier() const;
    QString RecommendedStorageFolder() const;
    QString RecommendedStorageFilename() const;
    QString RecommendedStorageUploadFolder() const;

    // Trimmed, inner blanks removed, a to z upper-cased.
    static QString NormalizeID(const QString &AID);
    // Normalised and grouped by three: "abc123" gives "ABC 123".
    static QString PrettifyID(const QString &AID);
    // Four digits, 0000 to 9998, from the system's random source.
    static QString GenerateAccommodationPIN();
    static QString LateCalculationMode_ToString(TLateCalculationMode AMode);
    static TLateCalculationMode LateCalculationMode_FromString(const QString &AMode);
    // The twelve accepted extensions, each followed by CR LF.
    static QString Default_AcceptUpload_FileExtenstions();
    // True when the code can be used as one folder name (no separators, not "." or "..").
    static bool IsSafeStorageName(const QString &AName);

protected:
    // For descendants, which write and read the event part under their own element name.
    explicit TDO_Event(const QString &ANodeName);

private:
    TDateTime FCreatedUTC;
    QString FID;
    QString FName;
    QString FPassword;
    QString FAccommPIN;
    TDO_Event_Covid19 FCovid19;
    TDO_Event_StudentList FStudents;
    std::unique_ptr<TzovPayment_Data_ChargeSuccessful> FPaymentCharge;
};

// Upper-cases a to z only, as the stored codes and the case-insensitive orders of these records do.
QString FoldAsciiUpper(const QString &AValue);
