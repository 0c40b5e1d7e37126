#include "data/TDO_Event.h"

#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QRandomGenerator>

#include <algorithm>

namespace {

QString RemoveBlanks(QString AValue) {
    AValue.remove(QChar(u' '));
    return AValue;
}

// Sort key of one entry: computed once per sort, so comparisons do no conversions.
// Kept trivially copyable so the sort moves small plain records; folded texts live in a side vector.
struct TStudentSortItem {
    qint64 Key = 0;
    qint64 IDNumber = 0;
    const QString *IDText = nullptr;
    TDO_Event_StudentEntry *Entry = nullptr;
};

int CompareInt(qint64 A, qint64 B) {
    return A < B ? -1 : (A > B ? 1 : 0);
}

} // namespace

QString FoldAsciiUpper(const QString &AValue) {
    QString result = AValue;
    QChar *p = result.data();
    for (qsizetype i = 0, n = result.size(); i < n; ++i) {
        const char16_t c = p[i].unicode();
        if (c >= u'a' && c <= u'z')
            p[i] = QChar(char16_t(c - (u'a' - u'A')));
    }
    return result;
}

// ---------------------------------------------------------------------------------------------------------------
// TDO_Event_StudentEntry

TDO_Event_StudentEntry::TDO_Event_StudentEntry() : TDOX_BaseQuenmark(QStringLiteral("event_student_entry")) {
    TDO_Event_StudentEntry::Initialize();
}

void TDO_Event_StudentEntry::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FID.clear();
    FPassword.clear();
    FAccomodation_Time_InMinutes = 0;
    FCheckedOutUTC = {};
    FAvailabilityStartUTC = {};
    FAvailabilityStopUTC = {};
}

void TDO_Event_StudentEntry::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event_StudentEntry *>(&AObj)) {
        FID = o->FID;
        FPassword = o->FPassword;
        FAccomodation_Time_InMinutes = o->FAccomodation_Time_InMinutes;
        FCheckedOutUTC = o->FCheckedOutUTC;
        FAvailabilityStartUTC = o->FAvailabilityStartUTC;
        FAvailabilityStopUTC = o->FAvailabilityStopUTC;
    }
    RestoreNodeName();
}

void TDO_Event_StudentEntry::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "exam_id", FID);
    Attribute_Write_AsString(ANode, "password", FPassword);
    Attribute_Write_AsInteger(ANode, "accomodation_time_in_minutes", FAccomodation_Time_InMinutes);
    Attribute_Write_AsDateTime(ANode, "checked_out_utc", FCheckedOutUTC);
    Attribute_Write_AsDateTime(ANode, "availability_start_utc", FAvailabilityStartUTC);
    Attribute_Write_AsDateTime(ANode, "availability_stop_utc", FAvailabilityStopUTC);
}

void TDO_Event_StudentEntry::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FID = Attribute_Read_AsString(ANode, "exam_id", FID);
    FPassword = Attribute_Read_AsString(ANode, "password", FPassword);
    FAccomodation_Time_InMinutes =
        Attribute_Read_AsInteger(ANode, "accomodation_time_in_minutes", FAccomodation_Time_InMinutes);
    FCheckedOutUTC = Attribute_Read_AsDateTime(ANode, "checked_out_utc", FCheckedOutUTC);
    FAvailabilityStartUTC = Attribute_Read_AsDateTime(ANode, "availability_start_utc", FAvailabilityStartUTC);
    FAvailabilityStopUTC = Attribute_Read_AsDateTime(ANode, "availability_stop_utc", FAvailabilityStopUTC);
}

bool TDO_Event_StudentEntry::IsPasswordOK(const QString &APassword) const {
    return APassword.compare(FPassword, Qt::CaseInsensitive) == 0;
}

QString TDO_Event_StudentEntry::CleanID(const QString &AValue) {
    return RemoveBlanks(TrimText(AValue));
}

// ---------------------------------------------------------------------------------------------------------------
// TDO_Event_StudentList

TDO_Event_StudentList::TDO_Event_StudentList() : TDOX_BaseQuenmark(QStringLiteral("event_students")) {
    TDO_Event_StudentList::Initialize();
}

void TDO_Event_StudentList::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FEntries.clear();
}

void TDO_Event_StudentList::CopyEntries(const TDO_Event_StudentEntries &ASource,
                                        TDO_Event_StudentEntries &ADest) {
    ADest.reserve(ADest.size() + ASource.size());
    for (const auto &e : ASource)
        ADest.push_back(e->Clone());
}

void TDO_Event_StudentList::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event_StudentList *>(&AObj))
        CopyEntries(o->FEntries, FEntries);
    RestoreNodeName();
}

void TDO_Event_StudentList::WriteEntries(TXmlNode AParent, const TDO_Event_StudentEntries &AEntries) {
    for (const auto &e : AEntries)
        ChildNode_AddAndWrite(AParent, e.get());
}

void TDO_Event_StudentList::ReadEntries(TXmlNode AParent, TDO_Event_StudentEntries &AEntries) {
    if (!AParent)
        return;
    static const char *const KEntry = "event_student_entry";
    size_t count = 0;
    for (TXmlNode n = AParent.child(KEntry); n; n = n.next_sibling(KEntry))
        ++count;
    AEntries.reserve(AEntries.size() + count);
    for (TXmlNode n = AParent.child(KEntry); n; n = n.next_sibling(KEntry)) {
        auto entry = std::make_unique<TDO_Event_StudentEntry>();
        entry->ReadFromNode(n);
        AEntries.push_back(std::move(entry));
    }
}

void TDO_Event_StudentList::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    WriteEntries(ANode.append_child("entries"), FEntries);
}

void TDO_Event_StudentList::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    ReadEntries(ANode.child("entries"), FEntries);
    Sort_ByID(true);
}

int TDO_Event_StudentList::FindIndex(const QString &AExamID) const {
    for (int i = Count() - 1; i >= 0; --i) {
        if (FEntries[size_t(i)]->ID().compare(AExamID, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

TDO_Event_StudentEntry *TDO_Event_StudentList::FindEntry(const QString &AExamID) const {
    for (const auto &e : FEntries) {
        if (e->ID().compare(AExamID, Qt::CaseInsensitive) == 0)
            return e.get();
    }
    return nullptr;
}

int TDO_Event_StudentList::AddEntry(std::unique_ptr<TDO_Event_StudentEntry> AEntry) {
    if (!AEntry)
        return -1;
    FEntries.push_back(std::move(AEntry));
    return Count() - 1;
}

int TDO_Event_StudentList::Count_StudentsWithoutPasswords() const {
    return int(std::count_if(FEntries.begin(), FEntries.end(),
                             [](const auto &e) { return e->Password().isEmpty(); }));
}

void TDO_Event_StudentList::Sort_ByID(bool AAscending) {
    SortBy(TSortKey::skID, AAscending);
}
void TDO_Event_StudentList::Sort_ByAccomodated(bool AAscending) {
    SortBy(TSortKey::skAccomodated, AAscending);
}
void TDO_Event_StudentList::Sort_ByCheckedOutDTS(bool AAscending) {
    SortBy(TSortKey::skCheckedOut, AAscending);
}
void TDO_Event_StudentList::Sort_ByDeferralDTS(bool AAscending) {
    SortBy(TSortKey::skDeferral, AAscending);
}

void TDO_Event_StudentList::SortBy(TSortKey AKey, bool AAscending) {
    if (FEntries.size() < 2)
        return;
    std::vector<TStudentSortItem> items(FEntries.size());
    bool allNumeric = true;
    for (size_t i = 0; i < FEntries.size(); ++i) {
        TDO_Event_StudentEntry *e = FEntries[i].get();
        TStudentSortItem &item = items[i];
        item.Entry = e;
        bool ok = false;
        item.IDNumber = e->ID().toInt(&ok, 10);
        if (!ok || item.IDNumber == -1)
            allNumeric = false;
        switch (AKey) {
        case TSortKey::skID:
        case TSortKey::skAccomodated:
            item.Key = e->Accomodation_Time_InMinutes();
            break;
        case TSortKey::skCheckedOut:
            item.Key = e->CheckedOutUTC().MSecs();
            break;
        case TSortKey::skDeferral:
            item.Key = qMax<qint64>(0, e->AvailabilityStartUTC().MSecs());
            break;
        }
    }
    std::vector<QString> texts;
    if (!allNumeric) {
        texts.reserve(items.size());
        for (auto &item : items)
            texts.push_back(FoldAsciiUpper(item.Entry->ID()));
        for (size_t i = 0; i < items.size(); ++i)
            items[i].IDText = &texts[i];
    }
    // Integer IDs are compared by value (not by difference, which overflows for far-apart values).
    auto compareID = [allNumeric](const TStudentSortItem &L, const TStudentSortItem &R) {
        if (allNumeric)
            return CompareInt(L.IDNumber, R.IDNumber);
        return L.IDText->compare(*R.IDText, Qt::CaseSensitive);
    };
    const bool idFirst = AKey == TSortKey::skID;
    auto compare = [&](const TStudentSortItem &L, const TStudentSortItem &R) {
        int c = idFirst ? compareID(L, R) : CompareInt(L.Key, R.Key);
        if (c == 0)
            c = idFirst ? CompareInt(L.Key, R.Key) : compareID(L, R);
        return c;
    };
    if (AAscending)
        std::sort(items.begin(), items.end(),
                  [&](const auto &L, const auto &R) { return compare(L, R) < 0; });
    else
        std::sort(items.begin(), items.end(),
                  [&](const auto &L, const auto &R) { return compare(L, R) > 0; });

    for (auto &p : FEntries)
        p.release();
    for (size_t i = 0; i < items.size(); ++i)
        FEntries[i].reset(items[i].Entry);
}

void TDO_Event_StudentList::SortEntries_ByIDText(TDO_Event_StudentEntries &AEntries) {
    if (AEntries.size() < 2)
        return;
    std::vector<std::pair<QString, TDO_Event_StudentEntry *>> items;
    items.reserve(AEntries.size());
    for (auto &e : AEntries)
        items.emplace_back(FoldAsciiUpper(e->ID()), e.get());
    std::sort(items.begin(), items.end(), [](const auto &L, const auto &R) { return L.first < R.first; });
    for (auto &p : AEntries)
        p.release();
    for (size_t i = 0; i < items.size(); ++i)
        AEntries[i].reset(items[i].second);
}

// ---------------------------------------------------------------------------------------------------------------
// TDO_Event_Covid19

TDO_Event_Covid19::TDO_Event_Covid19() : TDOX_BaseQuenmark(QStringLiteral("event_covid19")) {
    TDO_Event_Covid19::Initialize();
}

void TDO_Event_Covid19::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FResourceFileData.clear();
    FResourceFilename.clear();
    FResourceAllowSave = false;
    FAvailabilityStartUTC = {};
    FAvailabilityStopUTC = {};
    FSubmissionDeadlineUTC = {};
    FDurationLimit_InMinutes = 0;
    FUploadFileExtenstions.clear();
    FUploadKilobyteLimit = 1000;
    FUploadCountLimit = 1;
}

void TDO_Event_Covid19::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event_Covid19 *>(&AObj)) {
        FResourceFileData = o->FResourceFileData;
        FResourceFilename = o->FResourceFilename;
        FResourceAllowSave = o->FResourceAllowSave;
        FAvailabilityStartUTC = o->FAvailabilityStartUTC;
        FAvailabilityStopUTC = o->FAvailabilityStopUTC;
        FSubmissionDeadlineUTC = o->FSubmissionDeadlineUTC;
        FDurationLimit_InMinutes = o->FDurationLimit_InMinutes;
        FUploadFileExtenstions = o->FUploadFileExtenstions;
        FUploadKilobyteLimit = o->FUploadKilobyteLimit;
        FUploadCountLimit = o->FUploadCountLimit;
    }
    RestoreNodeName();
}

QString TDO_Event_Covid19::ListToText(const QStringList &AList) {
    QString text;
    for (const QString &s : AList) {
        text += s;
        text += QStringLiteral("\r\n");
    }
    return text;
}

QStringList TDO_Event_Covid19::TextToList(const QString &AText) {
    QStringList list;
    qsizetype start = 0;
    const qsizetype n = AText.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = AText.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        list << AText.mid(start, i - start);
        if (c == u'\r' && i + 1 < n && AText.at(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    // A final line break ends the last entry; it does not start an empty one.
    if (start < n)
        list << AText.mid(start);
    return list;
}

void TDO_Event_Covid19::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    TXmlNode res = ChildNode_Write_AsBinary(ANode, "resource_filedata", FResourceFileData);
    Attribute_Write_AsString(res, "name", FResourceFilename);
    Attribute_Write_AsBoolean(res, "allow_save", FResourceAllowSave);
    Attribute_Write_AsDateTime(ANode, "availability_start_utc", FAvailabilityStartUTC);
    Attribute_Write_AsDateTime(ANode, "availability_stop_utc", FAvailabilityStopUTC);
    Attribute_Write_AsDateTime(ANode, "submission_deadline_utc", FSubmissionDeadlineUTC);
    Attribute_Write_AsInteger(ANode, "duration_limit_in_minutes", FDurationLimit_InMinutes);
    ChildNode_Write_AsString(ANode, "upload_file_extensions", ListToText(FUploadFileExtenstions));
    Attribute_Write_AsInteger(ANode, "upload_kilobyte_limit", FUploadKilobyteLimit);
    Attribute_Write_AsInteger(ANode, "upload_count_limit", FUploadCountLimit);
}

void TDO_Event_Covid19::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    if (TXmlNode res = ANode.child("resource_filedata")) {
        if (!ChildNode_Read_AsBinary(ANode, "resource_filedata", FResourceFileData))
            FResourceFileData.clear();
        FResourceFilename = Attribute_Read_AsString(res, "name", FResourceFilename);
        FResourceAllowSave = Attribute_Read_AsBoolean(res, "allow_save", FResourceAllowSave);
    }
    FAvailabilityStartUTC = Attribute_Read_AsDateTime(ANode, "availability_start_utc", FAvailabilityStartUTC);
    FAvailabilityStopUTC = Attribute_Read_AsDateTime(ANode, "availability_stop_utc", FAvailabilityStopUTC);
    FSubmissionDeadlineUTC =
        Attribute_Read_AsDateTime(ANode, "submission_deadline_utc", FSubmissionDeadlineUTC);
    FDurationLimit_InMinutes =
        Attribute_Read_AsInteger(ANode, "duration_limit_in_minutes", FDurationLimit_InMinutes);
    FUploadFileExtenstions = TextToList(
        ChildNode_Read_AsString(ANode, "upload_file_extensions", ListToText(FUploadFileExtenstions)));
    FUploadKilobyteLimit = Attribute_Read_AsInteger(ANode, "upload_kilobyte_limit", FUploadKilobyteLimit);
    FUploadCountLimit = Attribute_Read_AsInteger(ANode, "upload_count_limit", FUploadCountLimit);
}

void TDO_Event_Covid19::Duplicate_ResourceFileData(QIODevice *AStream) {
    FResourceFileData.clear();
    if (!AStream)
        return;
    const qint64 pos = AStream->pos();
    if (AStream->seek(0))
        FResourceFileData = AStream->readAll();
    AStream->seek(pos);
}

bool TDO_Event_Covid19::SetResourceFileNameAndData(const QString &AFQFilename) {
    FResourceFilename.clear();
    FResourceFileData.clear();
    QFile file(AFQFilename);
    if (AFQFilename.isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    FResourceFileData = std::move(data);
    FResourceFilename = QFileInfo(AFQFilename).fileName();
    return true;
}

bool TDO_Event_Covid19::IsValid() const {
    return !FResourceFilename.isEmpty() && FAvailabilityStartUTC.MSecs() > 0 &&
           FAvailabilityStopUTC.MSecs() > 0 && FAvailabilityStopUTC >= FAvailabilityStartUTC;
}

bool TDO_Event_Covid19::IsAvailable() const {
    if (FAvailabilityStartUTC.MSecs() == 0 && FAvailabilityStopUTC.MSecs() == 0)
        return true;
    const TDateTime now = TClock::NowUTC();
    return FAvailabilityStartUTC <= now && FAvailabilityStopUTC >= now;
}

// ---------------------------------------------------------------------------------------------------------------
// TDO_Event

TDO_Event::TDO_Event() : TDO_Event(QStringLiteral("event")) {}

TDO_Event::TDO_Event(const QString &ANodeName)
    : TDOX_BaseQuenmark(ANodeName), FPaymentCharge(std::make_unique<TzovPayment_Data_ChargeSuccessful>()) {
    TDO_Event::Initialize();
}

TDO_Event::~TDO_Event() = default;

void TDO_Event::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FCreatedUTC = {};
    FID.clear();
    FName.clear();
    FPassword.clear();
    FAccommPIN.clear();
    FCovid19.Initialize();
    FStudents.Initialize();
    if (FPaymentCharge)
        FPaymentCharge->Initialize();
}

void TDO_Event::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Event *>(&AObj)) {
        FCreatedUTC = o->FCreatedUTC;
        FID = o->FID;
        FName = o->FName;
        FPassword = o->FPassword;
        FAccommPIN = o->FAccommPIN;
        FCovid19.Duplicate(o->FCovid19);
        FStudents.Duplicate(o->FStudents);
        FPaymentCharge->Duplicate(*o->FPaymentCharge);
    }
    RestoreNodeName();
}

void TDO_Event::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsDateTime(ANode, "created_utc", FCreatedUTC);
    Attribute_Write_AsString(ANode, "id", FID);
    Attribute_Write_AsString(ANode, "name", FName);
    Attribute_Write_AsString(ANode, "password", FPassword);
    Attribute_Write_AsString(ANode, "accommodation_pin", FAccommPIN);
    ChildNode_AddAndWrite(ANode, &FCovid19);
    ChildNode_AddAndWrite(ANode, &FStudents);
    ChildNode_AddAndWrite(ANode, FPaymentCharge.get());
}

void TDO_Event::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FCreatedUTC = Attribute_Read_AsDateTime(ANode, "created_utc", FCreatedUTC);
    FID = Attribute_Read_AsString(ANode, "id", FID);
    FName = Attribute_Read_AsString(ANode, "name", FName);
    FPassword = Attribute_Read_AsString(ANode, "password", FPassword);
    FAccommPIN = Attribute_Read_AsString(ANode, "accommodation_pin", FAccommPIN);
    ChildNode_FindAndRead(ANode, &FCovid19);
    ChildNode_FindAndRead(ANode, &FStudents);
    ChildNode_FindAndRead(ANode, FPaymentCharge.get());
}

TDO_Event::TLateCalculationMode TDO_Event::LateCalculationMode() const {
    return FCovid19.DurationLimit_InMinutes() < 1 ? lcmAFTERAvailabilityStop : lcmLONGERthanDurationLimit;
}

void TDO_Event::SetPaymentChargeFromCoupon(const QString &ACouponCode, const QString &ACouponTransaction) {
    FPaymentCharge->Initialize();
    // A UTC field gets UTC (the charge records of card payments are stamped the same way).
    FPaymentCharge->SetCreatedUTC(TClock::NowUTC());
    FPaymentCharge->SetID(QStringLiteral("Coupon Code: ") + ACouponCode +
                          QStringLiteral("; Transaction ID: ") + ACouponTransaction);
}

TDateTime TDO_Event::CalculateAvailabilityStart(const TDO_Event_StudentEntry *AStudent) const {
    if (AStudent && AStudent->AvailabilityStartUTC().MSecs() > 0)
        return AStudent->AvailabilityStartUTC();
    return FCovid19.AvailabilityStartUTC();
}

TDateTime TDO_Event::CalculateAvailabilityStop(const TDO_Event_StudentEntry *AStudent) const {
    if (AStudent && AStudent->AvailabilityStopUTC().MSecs() > 0)
        return AStudent->AvailabilityStopUTC();
    return FCovid19.AvailabilityStopUTC();
}

TDateTime TDO_Event::CalculateSubmissionDeadline(const TDO_Event_StudentEntry *AStudent) const {
    switch (LateCalculationMode()) {
    case lcmAFTERAvailabilityStop:
        return CalculateAvailabilityStop(AStudent);
    case lcmLONGERthanDurationLimit: {
        if (!HasStudents())
            return FCovid19.AvailabilityStopUTC();
        if (!AStudent)
            return FCovid19.AvailabilityStartUTC();
        TDateTime start = AStudent->CheckedOutUTC();
        if (start.MSecs() <= 0)
            start = AStudent->AvailabilityStartUTC();
        if (start.MSecs() <= 0)
            start = FCovid19.AvailabilityStartUTC();
        if (start.MSecs() <= 0)
            start = AStudent->CheckedOutUTC();
        TDateTime deadline = start.AddSeconds(qint64(FCovid19.DurationLimit_InMinutes()) * 60);
        if (AStudent->Accomodation_Time_InMinutes() > 0)
            deadline = deadline.AddSeconds(qint64(AStudent->Accomodation_Time_InMinutes()) * 60);
        return deadline;
    }
    case lcmNone:
        break;
    }
    return {};
}

bool TDO_Event::IsValid() const {
    return !FID.isEmpty() && !FName.isEmpty() && FCovid19.IsValid();
}

bool TDO_Event::IsSafeStorageName(const QString &AName) {
    if (AName.isEmpty() || AName == QLatin1String(".") || AName == QLatin1String(".."))
        return false;
    for (const QChar c : AName) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' ||
            c == u'"' || c == u'<' || c == u'>' || c == u'|')
            return false;
    }
    return true;
}

// Codes read from a reply or a stored file are not normalised; one that could climb out of the store names
// nothing.
QString TDO_Event::RecommendedStorageIdentifier() const {
    return IsSafeStorageName(FID) ? FID : QString();
}

QString TDO_Event::RecommendedStorageFolder() const {
    const QString id = RecommendedStorageIdentifier();
    return id.isEmpty() ? QString() : id + QDir::separator();
}

QString TDO_Event::RecommendedStorageFilename() const {
    const QString folder = RecommendedStorageFolder();
    return folder.isEmpty() ? QString() : folder + FID + QStringLiteral(".xml");
}

QString TDO_Event::RecommendedStorageUploadFolder() const {
    const QString folder = RecommendedStorageFolder();
    return folder.isEmpty() ? QString() : folder + QStringLiteral("UploadedDocs") + QDir::separator();
}

QString TDO_Event::NormalizeID(const QString &AID) {
    return FoldAsciiUpper(RemoveBlanks(TrimText(AID)));
}

QString TDO_Event::PrettifyID(const QString &AID) {
    const QString id = NormalizeID(AID);
    QString result;
    result.reserve(id.size() + id.size() / 3 + 1);
    for (qsizetype i = 0; i < id.size(); ++i) {
        result += id.at(i);
        if ((i + 1) % 3 == 0)
            result += u' ';
    }
    return TrimText(result);
}

QString TDO_Event::GenerateAccommodationPIN() {
    // The PIN guards students' accommodation details: draw it from the system's well-seeded source.
    const quint32 value = QRandomGenerator::system()->bounded(9999u);
    return QStringLiteral("%1").arg(value, 4, 10, QChar(u'0'));
}

QString TDO_Event::LateCalculationMode_ToString(TLateCalculationMode AMode) {
    switch (AMode) {
    case lcmNone:
        return QStringLiteral("None");
    case lcmAFTERAvailabilityStop:
        return QStringLiteral("AfterAvailabilityStop");
    case lcmLONGERthanDurationLimit:
        return QStringLiteral("LongerThanDurationLimit");
    }
    return {};
}

TDO_Event::TLateCalculationMode TDO_Event::LateCalculationMode_FromString(const QString &AMode) {
    if (AMode.contains(QLatin1String("AvailabilityStop"), Qt::CaseInsensitive))
        return lcmAFTERAvailabilityStop;
    if (AMode.contains(QLatin1String("DurationLimit"), Qt::CaseInsensitive))
        return lcmLONGERthanDurationLimit;
    return lcmNone;
}

QString TDO_Event::Default_AcceptUpload_FileExtenstions() {
    static const QStringList KExtensions = {
        QStringLiteral(".pdf"),  QStringLiteral(".rtf"),  QStringLiteral(".txt"),  QStringLiteral(".odt"),
        QStringLiteral(".doc"),  QStringLiteral(".docx"), QStringLiteral(".ods"),  QStringLiteral(".xls"),
        QStringLiteral(".xlsx"), QStringLiteral(".odp"),  QStringLiteral(".pptx"), QStringLiteral(".ppsx")};
    return TDO_Event_Covid19::ListToText(KExtensions);
}
