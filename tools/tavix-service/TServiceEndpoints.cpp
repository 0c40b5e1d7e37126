#include "TServiceEndpoints.h"

#include "TServiceHttp.h"
#include "TServiceOptions.h"
#include "TServiceProcessor.h"
#include "TServiceStore.h"
#include "data/TDO_Config_Payment.h"
#include "data/TDO_Coupon_Transaction.h"
#include "data/TDO_Event.h"
#include "data/TDO_Event_Request.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "data/TDO_UploadedFile.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"
#include "data/TzovPayment_Stripe_Data_BaseResponse.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>

namespace {

QString Tr(const char *AText) { return QCoreApplication::translate("TServiceEndpoints", AText); }

QString UTCText(TDateTime AValue) {
    return AValue.ToQDateTimeUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
}

// Reads the encrypted record of a request body; a 400 with the reason when it cannot.
bool ReadBody(const httplib::Request &AReq, TDOX_BaseQuenmark &ARecord, const char *AWhat, httplib::Response &ARes) {
    if (AReq.body.empty()) {
        TServiceHttp::Refuse(ARes, 400, Tr("Request body is empty"));
        return false;
    }
    QByteArray Bytes = QByteArray::fromRawData(AReq.body.data(), qsizetype(AReq.body.size()));
    QBuffer Buffer(&Bytes);
    Buffer.open(QIODevice::ReadOnly);
    if (!ARecord.LoadFrom_Stream(&Buffer, TServiceStore::StartCode())) {
        TServiceHttp::Refuse(ARes, 400, Tr("Request body is not a readable %1").arg(QString::fromLatin1(AWhat)));
        return false;
    }
    return true;
}

void SendRecord(httplib::Response &ARes, const TDOX_BaseQuenmark &ARecord) {
    QBuffer Buffer;
    Buffer.open(QIODevice::WriteOnly);
    if (!ARecord.SaveTo_Stream(&Buffer, TServiceStore::StartCode())) {
        TServiceHttp::Refuse(ARes, 500, Tr("The reply could not be written"));
        return;
    }
    TServiceHttp::SendBytes(ARes, Buffer.data());
}

// ".PDF", "pdf " and ".pdf" all mean ".pdf".
QString NormalizedExtension(const QString &AValue) {
    QString Ext = AValue.trimmed().toLower();
    if (!Ext.isEmpty() && !Ext.startsWith(QLatin1Char('.')))
        Ext.prepend(QLatin1Char('.'));
    return Ext == QLatin1String(".") ? QString() : Ext;
}

// File names come from the network: keep the last path part only, never an empty or dot-only name.
QString SafeBaseName(const QString &AName) {
    QString Name = AName;
    Name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    Name = Name.mid(Name.lastIndexOf(QLatin1Char('/')) + 1).trimmed();
    QString Clean;
    for (const QChar C : Name)
        Clean += (C.unicode() < 0x20 || QStringLiteral(":*?\"<>|").contains(C)) ? QLatin1Char('_') : C;
    if (Clean.isEmpty() || Clean == QLatin1String(".") || Clean == QLatin1String(".."))
        return QString();
    return Clean;
}

} // namespace

TServiceEndpoints::TServiceEndpoints(const TServiceOptions &AOptions, TServiceStore &AStore,
                                     TServiceProcessor &AProcessor)
    : FOptions(AOptions), FStore(AStore), FProcessor(AProcessor) {}

bool TServiceEndpoints::ClientVersionAccepted(const QString &AVersion, httplib::Response &ARes) const {
    if (TzovUtil_ApplicationVersion::Compare(AVersion, FOptions.MinClientVersion) >= 0)
        return true;
    TServiceHttp::Refuse(ARes, 426, Tr("Client version %1 is no longer accepted; %2 or later is required")
                                        .arg(AVersion.isEmpty() ? Tr("(none)") : AVersion, FOptions.MinClientVersion));
    return false;
}

// ---------------------------------------------------------------------------------------------------------------
// Events

void TServiceEndpoints::Event(const httplib::Request &AReq, httplib::Response &ARes) {
    TDO_Event_Request Request;
    if (!ReadBody(AReq, Request, "event request", ARes) || !ClientVersionAccepted(Request.ClientVersion(), ARes))
        return;
    switch (Request.Action()) {
    case TDO_Event_Request::raCreateFromCovid19:
        return CreateEvent(Request, ARes);
    case TDO_Event_Request::raUpdateFromCovid19:
        return UpdateEvent(Request, ARes);
    case TDO_Event_Request::raFetch:
        return FetchEvent(Request, false, ARes);
    case TDO_Event_Request::raFetchWithUploadedList:
        return FetchEvent(Request, true, ARes);
    case TDO_Event_Request::raFetchForStudent_ExcludeResources:
        return FetchForStudent(Request, false, ARes);
    case TDO_Event_Request::raFetchForStudent_IncludeResources:
        return FetchForStudent(Request, true, ARes);
    case TDO_Event_Request::raNone:
        break;
    }
    TServiceHttp::Refuse(ARes, 400, Tr("Unknown or missing action"));
}

bool TServiceEndpoints::CheckEventContent(TDO_Event &AEvent, httplib::Response &ARes) const {
    auto Refuse = [&](const QString &AReason) {
        TServiceHttp::Refuse(ARes, 400, AReason);
        return false;
    };
    AEvent.SetName(AEvent.Name());
    if (AEvent.Name().isEmpty())
        return Refuse(Tr("An event name is required"));
    TDO_Event_Covid19 &Settings = AEvent.Covid19();
    Settings.SetResourceFilename(SafeBaseName(Settings.ResourceFilename()));
    if (Settings.ResourceFilename().isEmpty() || Settings.ResourceFileData().isEmpty())
        return Refuse(Tr("A question document is required"));
    if (!Settings.AvailabilityStartUTC().IsSet() || !Settings.AvailabilityStopUTC().IsSet() ||
        Settings.AvailabilityStopUTC() < Settings.AvailabilityStartUTC())
        return Refuse(Tr("The question needs an open and a close time, the close not before the open"));
    QStringList Extensions;
    for (const QString &Ext : Settings.UploadFileExtenstions()) {
        const QString Clean = NormalizedExtension(Ext);
        if (!Clean.isEmpty() && !Extensions.contains(Clean))
            Extensions << Clean;
    }
    if (Extensions.isEmpty())
        return Refuse(Tr("At least one answer-file extension is required"));
    Settings.SetUploadFileExtenstions(Extensions);
    if (Settings.UploadKilobyteLimit() <= 0 || Settings.UploadCountLimit() <= 0)
        return Refuse(Tr("The answer-file size and count limits must be greater than 0"));
    if (qint64(Settings.UploadKilobyteLimit()) * 1024 > FOptions.MaxBodyBytes / 2)
        return Refuse(Tr("The answer-file size limit is larger than this service accepts (%1 KB)")
                          .arg(FOptions.MaxBodyBytes / 2 / 1024));
    QSet<QString> Seen;
    for (const auto &Student : AEvent.Students().Entries()) {
        // Values read from XML bypass the setters; the stored IDs must be in their clean form.
        Student->SetID(Student->ID());
        Student->SetPassword(Student->Password());
        if (Student->ID().isEmpty())
            return Refuse(Tr("Every student needs an ID"));
        const QString Key = Student->ID().toCaseFolded();
        if (Seen.contains(Key))
            return Refuse(Tr("The student ID %1 appears more than once").arg(Student->ID()));
        Seen.insert(Key);
    }
    return true;
}

void TServiceEndpoints::CreateEvent(TDO_Event_Request &ARequest, httplib::Response &ARes) {
    TDO_Event Event(ARequest);
    Event.SetPassword(Event.Password());
    if (Event.Password().isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("An event password is required"));
    if (!CheckEventContent(Event, ARes))
        return;
    const QString Code = FStore.ReserveEventCode();
    if (Code.isEmpty())
        return TServiceHttp::Refuse(ARes, 500, Tr("No event code could be assigned"));
    std::lock_guard<std::mutex> Guard(FStore.EventLock(Code));
    Event.SetID(Code);
    Event.SetCreatedUTC(TClock::NowUTC());
    if (Event.AccommPIN().isEmpty())
        Event.SetAccommPIN(TDO_Event::GenerateAccommodationPIN());
    // Check-outs are the service's own record; a new event has none.
    for (const auto &Student : Event.Students().Entries())
        Student->SetCheckedOutUTC(TDateTime());
    Event.Covid19().SetSubmissionDeadlineUTC(Event.CalculateSubmissionDeadline(nullptr));
    if (!SettlePayment(ARequest, Event, ARes)) {
        FStore.ReleaseEventCode(Code);
        return;
    }
    if (!FStore.SaveEvent(Event))
        return TServiceHttp::Refuse(ARes, 500, Tr("The event could not be stored"));
    SendRecord(ARes, Event);
}

bool TServiceEndpoints::SettlePayment(const TDO_Event_Request &ARequest, TDO_Event &AEvent, httplib::Response &ARes) {
    if (!ARequest.CardToken().isEmpty()) {
        if (ARequest.ReceiptEmail().isEmpty()) {
            TServiceHttp::Refuse(ARes, 402, Tr("A card payment needs a receipt e-mail address"));
            return false;
        }
        TDO_Config_Payment Fees;
        Fees.LoadFrom_File(FStore.PaymentConfigPath());
        const QMap<QString, QString> Form{{QStringLiteral("source"), ARequest.CardToken()},
                                          {QStringLiteral("amount"), QString::number(Fees.CreateEvent_FeeInCents())},
                                          {QStringLiteral("currency"), QStringLiteral("usd")},
                                          {QStringLiteral("description"), Fees.CreateEvent_Description()},
                                          {QStringLiteral("receipt_email"), ARequest.ReceiptEmail()}};
        const TServiceProcessor::TReply Reply = FProcessor.CreateCharge(Form);
        auto Charge = TzovPayment_Stripe_Data_CreateChargeResponse::CreateFromJSON(QString::fromUtf8(Reply.JSON));
        if (Reply.Status != 200 || !Charge || Charge->Error() || Charge->ID().isEmpty() || !Charge->Paid()) {
            const QString Message = Charge && Charge->Error() && !Charge->Error()->AMessage().isEmpty()
                                        ? Charge->Error()->AMessage()
                                        : Tr("the charge was not made");
            TServiceHttp::Refuse(ARes, 402, Tr("Card payment failed: %1").arg(Message));
            return false;
        }
        AEvent.PaymentCharge() =
            TzovPayment_Data_ChargeSuccessful(TClock::NowUTC(), Charge->ID(), Charge->Amount(), Charge->ReceiptUrl());
        return true;
    }
    if (ARequest.CouponTransaction().IsValid()) {
        TDO_Coupon_Transaction Stored;
        int Status = 0;
        QString Reason;
        if (!RedeemCouponTransaction(ARequest.CouponTransaction(), TProductID::pidCreateEvent, AEvent.ID(), QString(),
                                     Stored, Status, Reason)) {
            TServiceHttp::Refuse(ARes, Status, Reason);
            return false;
        }
        AEvent.SetPaymentChargeFromCoupon(Stored.CouponCode().Code(), Stored.Token());
        return true;
    }
    TServiceHttp::Refuse(ARes, 402, Tr("Payment required: a card token with a receipt e-mail address, or a coupon "
                                       "transaction"));
    return false;
}

bool TServiceEndpoints::InstructorPasswordOK(const QString &APassword, const TDO_Event &AEvent,
                                             httplib::Response &ARes) {
    if (APassword.isEmpty()) {
        TServiceHttp::Refuse(ARes, 401, Tr("The event password is required"));
        return false;
    }
    if (APassword != AEvent.Password()) {
        TServiceHttp::Refuse(ARes, 401, Tr("The event password is wrong"));
        return false;
    }
    return true;
}

void TServiceEndpoints::UpdateEvent(TDO_Event_Request &ARequest, httplib::Response &ARes) {
    const QString ID = TDO_Event::NormalizeID(ARequest.ID());
    std::lock_guard<std::mutex> Guard(FStore.EventLock(ID));
    TDO_Event Stored;
    if (!FStore.LoadEvent(ID, Stored))
        return TServiceHttp::Refuse(ARes, 404, Tr("No event with the code %1").arg(ID));
    if (!InstructorPasswordOK(ARequest.AuthPassword(), Stored, ARes))
        return;
    TDO_Event Event(ARequest);
    Event.SetPassword(Event.Password());
    if (Event.Password().isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("An event password is required"));
    if (!CheckEventContent(Event, ARes))
        return;
    Event.SetID(Stored.ID());
    Event.SetCreatedUTC(Stored.CreatedUTC());
    Event.PaymentCharge() = Stored.PaymentCharge();
    if (Event.AccommPIN().isEmpty())
        Event.SetAccommPIN(Stored.AccommPIN());
    // The service's check-out stamps stand, whatever the edited copy says.
    for (const auto &Student : Event.Students().Entries()) {
        const TDO_Event_StudentEntry *Old = Stored.Students().FindEntry(Student->ID());
        Student->SetCheckedOutUTC(Old ? Old->CheckedOutUTC() : TDateTime());
    }
    Event.Covid19().SetSubmissionDeadlineUTC(Event.CalculateSubmissionDeadline(nullptr));
    if (!FStore.SaveEvent(Event))
        return TServiceHttp::Refuse(ARes, 500, Tr("The event could not be stored"));
    SendRecord(ARes, Event);
}

void TServiceEndpoints::FetchEvent(TDO_Event_Request &ARequest, bool AWithUploads, httplib::Response &ARes) {
    const QString ID = TDO_Event::NormalizeID(ARequest.ID());
    std::lock_guard<std::mutex> Guard(FStore.EventLock(ID));
    TDO_Event Stored;
    if (!FStore.LoadEvent(ID, Stored))
        return TServiceHttp::Refuse(ARes, 404, Tr("No event with the code %1").arg(ID));
    if (!InstructorPasswordOK(ARequest.Password(), Stored, ARes))
        return;
    if (!AWithUploads)
        return SendRecord(ARes, Stored);
    TDO_Event_WithUploadedList Listed;
    Listed.Duplicate(Stored);
    Listed.BuildUploadsFromDisk(FStore.EventsFolder(), TServiceStore::StartCode());
    Listed.Uploads_Sort();
    SendRecord(ARes, Listed);
}

void TServiceEndpoints::StudentView(const TDO_Event &AEvent, const TDO_Event_StudentEntry *AStudent,
                                    bool AWithResources, TDO_Event &AView) {
    AView.Initialize();
    AView.SetCreatedUTC(AEvent.CreatedUTC());
    AView.SetID(AEvent.ID());
    AView.SetName(AEvent.Name());
    AView.Covid19() = AEvent.Covid19();
    if (!AWithResources)
        AView.Covid19().SetResourceFileData(QByteArray());
    AView.Covid19().SetAvailabilityStartUTC(AEvent.CalculateAvailabilityStart(AStudent));
    AView.Covid19().SetAvailabilityStopUTC(AEvent.CalculateAvailabilityStop(AStudent));
    // With a duration limit the due time exists only once the student has the question; until then the
    // client shows the limit itself.
    const bool NotStartedYet = AEvent.LateCalculationMode() == TDO_Event::lcmLONGERthanDurationLimit && AStudent &&
                               !AStudent->IsStarted();
    AView.Covid19().SetSubmissionDeadlineUTC(NotStartedYet ? TDateTime() : AEvent.CalculateSubmissionDeadline(AStudent));
    if (AStudent) {
        auto Own = AStudent->Clone();
        Own->SetPassword(QString());
        AView.Students().AddEntry(std::move(Own));
    }
}

void TServiceEndpoints::FetchForStudent(TDO_Event_Request &ARequest, bool AWithResources, httplib::Response &ARes) {
    const QString ID = TDO_Event::NormalizeID(ARequest.ID());
    std::lock_guard<std::mutex> Guard(FStore.EventLock(ID));
    TDO_Event Stored;
    if (!FStore.LoadEvent(ID, Stored))
        return TServiceHttp::Refuse(ARes, 404, Tr("No event with the code %1").arg(ID));
    TDO_Event_StudentEntry *Student = nullptr;
    if (Stored.HasStudents()) {
        const QString StudentID = TDO_Event_StudentEntry::CleanID(ARequest.StudentID());
        if (StudentID.isEmpty())
            return TServiceHttp::Refuse(ARes, 400, Tr("A student ID is required"));
        Student = Stored.Students().FindEntry(StudentID);
        if (!Student)
            return TServiceHttp::Refuse(ARes, 403, Tr("The student ID %1 is not on this event's list").arg(StudentID));
        if (!Student->Password().isEmpty()) {
            if (ARequest.StudentPassword().isEmpty())
                return TServiceHttp::Refuse(ARes, 401, Tr("A student password is required"));
            if (!Student->IsPasswordOK(ARequest.StudentPassword()))
                return TServiceHttp::Refuse(ARes, 401, Tr("The student password is wrong"));
        }
    }
    if (AWithResources) {
        const TDateTime Now = TClock::NowUTC();
        const TDateTime Start = Stored.CalculateAvailabilityStart(Student);
        const TDateTime Stop = Stored.CalculateAvailabilityStop(Student);
        if (Start.IsSet() && Now < Start)
            return TServiceHttp::Refuse(ARes, 403, Tr("The question is not available before %1").arg(UTCText(Start)));
        if (Stop.IsSet() && Now > Stop)
            return TServiceHttp::Refuse(ARes, 403, Tr("The question closed at %1").arg(UTCText(Stop)));
        if (Student && !Student->IsStarted()) {
            Student->SetCheckedOutUTC(Now);
            if (!FStore.SaveEvent(Stored))
                return TServiceHttp::Refuse(ARes, 500, Tr("The check-out could not be stored"));
        }
    }
    TDO_Event View;
    StudentView(Stored, Student, AWithResources, View);
    SendRecord(ARes, View);
}

// ---------------------------------------------------------------------------------------------------------------
// Uploads and downloads

void TServiceEndpoints::Upload(const httplib::Request &AReq, httplib::Response &ARes) {
    TDO_UploadedFile_Request Request;
    if (!ReadBody(AReq, Request, "upload request", ARes) || !ClientVersionAccepted(Request.ClientVersion(), ARes))
        return;
    const bool Submit = Request.Action() == TDO_UploadedFile_Request::ufaSubmit;
    if (!Submit && Request.Action() != TDO_UploadedFile_Request::ufaDownload)
        return TServiceHttp::Refuse(ARes, 400, Tr("Unknown or missing action"));

    const QString ID = TDO_Event::NormalizeID(Request.EventID());
    std::lock_guard<std::mutex> Guard(FStore.EventLock(ID));
    TDO_Event Event;
    if (!FStore.LoadEvent(ID, Event))
        return TServiceHttp::Refuse(ARes, 404, Tr("No event with the code %1").arg(ID));
    const QString Password = TrimText(Request.Password());

    if (!Submit) {
        if (!InstructorPasswordOK(Password, Event, ARes))
            return;
        TDO_UploadedFile Key;
        Key.SetStudentID(Request.StudentID());
        Key.SetProtectedInfo(Request.ProtectedInfo());
        Key.SetCopyNumber(Request.CopyNumber());
        const QString Path = FStore.UploadPath(Event, Key);
        TDO_UploadedFile Stored;
        if (Path.isEmpty() || !QFileInfo::exists(Path))
            return TServiceHttp::Refuse(ARes, 404, Tr("No uploaded file %1").arg(Key.FormattedUniqueIdentifier()));
        if (!Stored.LoadFrom_File(Path, TServiceStore::StartCode()))
            return TServiceHttp::Refuse(ARes, 500, Tr("The uploaded file could not be read"));
        return SendRecord(ARes, Stored);
    }

    const TDO_Event_StudentEntry *Student = nullptr;
    QString StudentID = TDO_Event_StudentEntry::CleanID(Request.StudentID());
    if (StudentID.isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("A student ID is required"));
    if (Event.HasStudents()) {
        Student = Event.Students().FindEntry(StudentID);
        if (!Student)
            return TServiceHttp::Refuse(ARes, 403, Tr("The student ID %1 is not on this event's list").arg(StudentID));
        if (!Student->Password().isEmpty()) {
            if (Password.isEmpty())
                return TServiceHttp::Refuse(ARes, 401, Tr("A student password is required"));
            if (!Student->IsPasswordOK(Password))
                return TServiceHttp::Refuse(ARes, 401, Tr("The student password is wrong"));
        }
        StudentID = Student->ID();
    }
    const QString ProtectedInfo = TrimText(Request.ProtectedInfo());
    if (ProtectedInfo.isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("The protected information is required"));
    const QString Filename = SafeBaseName(Request.Filename());
    if (Filename.isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("The answer file needs a name"));
    if (Request.FileData().isEmpty())
        return TServiceHttp::Refuse(ARes, 400, Tr("The answer file is empty"));
    const TDateTime Now = TClock::NowUTC();
    const TDateTime Start = Event.CalculateAvailabilityStart(Student);
    if (Start.IsSet() && Now < Start)
        return TServiceHttp::Refuse(ARes, 403, Tr("Answers are accepted from %1").arg(UTCText(Start)));

    const TDO_Event_Covid19 &Settings = Event.Covid19();
    if (!Settings.UploadFileExtenstions().isEmpty()) {
        const int Dot = Filename.lastIndexOf(QLatin1Char('.'));
        const QString Ext = Dot < 0 ? QString() : NormalizedExtension(Filename.mid(Dot));
        bool Accepted = false;
        for (const QString &Allowed : Settings.UploadFileExtenstions())
            Accepted = Accepted || (!Ext.isEmpty() && NormalizedExtension(Allowed) == Ext);
        if (!Accepted)
            return TServiceHttp::Refuse(ARes, 415, Tr("Answer files must end in one of: %1")
                                                       .arg(Settings.UploadFileExtenstions().join(QStringLiteral(", "))));
    }
    const qint64 Limit = qint64(Settings.UploadKilobyteLimit()) * 1024;
    if (Request.FileData().size() > Limit)
        return TServiceHttp::Refuse(ARes, 413, Tr("The answer file is larger than this event's limit of %1 KB")
                                                   .arg(Settings.UploadKilobyteLimit()));

    auto Upload = std::make_unique<TDO_UploadedFile>();
    Upload->SetEventID(Event.ID());
    Upload->SetStudentID(StudentID);
    Upload->SetProtectedInfo(ProtectedInfo);
    // Copies are numbered from 1 without gaps; the count limit applies to the student and protected
    // information together, the pair that names the copies.
    int Copy = 1;
    for (;; ++Copy) {
        Upload->SetCopyNumber(Copy);
        const QString Path = FStore.UploadPath(Event, *Upload);
        if (Path.isEmpty())
            return TServiceHttp::Refuse(ARes, 400, Tr("The student ID or protected information cannot be stored"));
        if (!QFileInfo::exists(Path))
            break;
    }
    if (Copy > Settings.UploadCountLimit())
        return TServiceHttp::Refuse(ARes, 409, QCoreApplication::translate("TServiceEndpoints",
                                                                          "This event accepts at most %n answer "
                                                                          "file(s) per student",
                                                                          nullptr, Settings.UploadCountLimit()));
    Upload->SetCreatedUTC(Now);
    Upload->SetFilename(Filename);
    Upload->SetFileData(Request.FileData());
    Upload->SetCheckedOutUTC(Student ? Student->CheckedOutUTC() : TDateTime());
    Upload->SetSubmitDueUTC(Event.CalculateSubmissionDeadline(Student));
    if (!FStore.SaveUpload(Event, *Upload))
        return TServiceHttp::Refuse(ARes, 500, Tr("The answer file could not be stored"));
    SendRecord(ARes, *Upload);
}
