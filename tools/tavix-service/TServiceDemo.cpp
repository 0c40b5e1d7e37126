// Demo data for trying the desktop program against the local service: one practice event open now.
#include "TServiceEndpoints.h"

#include "TServiceStore.h"
#include "data/TDO_Coupon_Entry.h"
#include "data/TDO_Event.h"
#include "data/TzovPayment_Data_ChargeSuccessful.h"

#include <QCoreApplication>

namespace {

// A one-page PDF with two lines of text, offsets computed so that readers need no repair.
QByteArray MakeQuestionPdf(const QString &ATitle, const QString &AText) {
    auto Escape = [](const QString &AValue) {
        QByteArray Bytes = AValue.toLatin1();
        Bytes.replace('\\', "\\\\").replace('(', "\\(").replace(')', "\\)");
        return Bytes;
    };
    const QByteArray Content = "BT /F1 20 Tf 72 720 Td (" + Escape(ATitle) + ") Tj ET\n"
                               "BT /F1 12 Tf 72 690 Td (" + Escape(AText) + ") Tj ET\n";
    const QList<QByteArray> Objects{
        "<< /Type /Catalog /Pages 2 0 R >>",
        "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
        "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 612 792] /Resources << /Font << /F1 5 0 R >> >> "
        "/Contents 4 0 R >>",
        "<< /Length " + QByteArray::number(Content.size()) + " >>\nstream\n" + Content + "endstream",
        "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>"};
    QByteArray Pdf = "%PDF-1.4\n";
    QList<qsizetype> Offsets;
    for (int i = 0; i < Objects.size(); ++i) {
        Offsets << Pdf.size();
        Pdf += QByteArray::number(i + 1) + " 0 obj\n" + Objects[i] + "\nendobj\n";
    }
    const qsizetype XRef = Pdf.size();
    Pdf += "xref\n0 " + QByteArray::number(Objects.size() + 1) + "\n0000000000 65535 f \n";
    for (qsizetype Offset : Offsets)
        Pdf += QByteArray::number(Offset).rightJustified(10, '0') + " 00000 n \n";
    Pdf += "trailer\n<< /Size " + QByteArray::number(Objects.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           QByteArray::number(XRef) + "\n%%EOF\n";
    return Pdf;
}

} // namespace

QString TServiceEndpoints::SeedDemo(QString &AError) {
    const QString Code = FStore.ReserveEventCode();
    if (Code.isEmpty()) {
        AError = QCoreApplication::translate("TServiceDemo", "No event code could be assigned.");
        return QString();
    }
    const TDateTime Now = TClock::NowUTC();
    TDO_Event Event;
    Event.SetID(Code);
    Event.SetCreatedUTC(Now);
    Event.SetName(QStringLiteral("Practice Event"));
    Event.SetPassword(QStringLiteral("practice"));
    Event.SetAccommPIN(TDO_Event::GenerateAccommodationPIN());
    TDO_Event_Covid19 &Settings = Event.Covid19();
    Settings.SetResourceFilename(QStringLiteral("Practice question.pdf"));
    Settings.SetResourceFileData(MakeQuestionPdf(
        QStringLiteral("Practice question"),
        QStringLiteral("Explain, in a page or less, why the sky is blue. Upload your answer as a PDF.")));
    Settings.SetResourceAllowSave(true);
    Settings.SetAvailabilityStartUTC(Now.AddMinutes(-10));
    Settings.SetAvailabilityStopUTC(Now.AddDays(7));
    Settings.SetUploadFileExtenstions(TDO_Event_Covid19::TextToList(TDO_Event::Default_AcceptUpload_FileExtenstions()));
    Settings.SetUploadKilobyteLimit(1000);
    Settings.SetUploadCountLimit(3);
    const struct {
        const char *ID;
        const char *Password;
        int Extra;
    } Students[] = {{"student1", "apple", 0}, {"student2", "pear", 30}, {"student3", "", 0}};
    for (const auto &S : Students) {
        auto Entry = std::make_unique<TDO_Event_StudentEntry>();
        Entry->SetID(QString::fromLatin1(S.ID));
        Entry->SetPassword(QString::fromLatin1(S.Password));
        Entry->SetAccomodation_Time_InMinutes(S.Extra);
        Event.Students().AddEntry(std::move(Entry));
    }
    Settings.SetSubmissionDeadlineUTC(Event.CalculateSubmissionDeadline(nullptr));
    Event.PaymentCharge() = TzovPayment_Data_ChargeSuccessful(Now, QStringLiteral("Demo event (no payment)"), 0, QString());
    if (!FStore.SaveEvent(Event)) {
        FStore.ReleaseEventCode(Code);
        AError = QCoreApplication::translate("TServiceDemo", "The demo event could not be stored.");
        return QString();
    }

    // A coupon for trying the coupon payment of a new event.
    TDO_Coupon_Entry Coupon;
    Coupon.CouponCode().SetCode(QStringLiteral("DEMO00000001"));
    Coupon.SetUsesRemaining(100);
    Coupon.SetProductID(TProductID::pidCreateEvent);
    Coupon.SaveTo_File(FStore.CouponsFolder() + Coupon.CouponCode().RecommendedStorageFilename(),
                       TServiceStore::StartCode());

    return QStringLiteral("demo event code: %1\n"
                          "demo event password: practice\n"
                          "demo accommodation PIN: %2\n"
                          "demo student id: student1\n"
                          "demo student password: apple\n"
                          "demo student protected info: 1234\n"
                          "demo coupon code: %3\n")
        .arg(Event.ID_Pretty(), Event.AccommPIN(), Coupon.CouponCode().Code_Pretty());
}
