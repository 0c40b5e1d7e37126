#include "data/TzovPayment_Stripe_Data_CardInformation.h"

#include <algorithm>

namespace {

int IntOr(const QString &AText, int ADefault) {
    bool ok = false;
    const int v = AText.toInt(&ok, 10);
    return ok ? v : ADefault;
}

} // namespace

TzovPayment_Stripe_Data_CardInformation::TzovPayment_Stripe_Data_CardInformation()
    : TDOX_Base(QStringLiteral("stripe_card_information")) {
    TzovPayment_Stripe_Data_CardInformation::Initialize();
}

TzovPayment_Stripe_Data_CardInformation::TzovPayment_Stripe_Data_CardInformation(const QString &ANumber,
                                                                                 const QString &AExpMonth,
                                                                                 const QString &AExpYear,
                                                                                 const QString &ACVC)
    : TzovPayment_Stripe_Data_CardInformation() {
    SetNumber(ANumber);
    SetExpMonth(AExpMonth);
    SetExpYear(AExpYear);
    SetCVC(ACVC);
}

void TzovPayment_Stripe_Data_CardInformation::Initialize() {
    TDOX_Base::Initialize();
    FNumber.clear();
    FExpMonth.clear();
    FExpYear.clear();
    FCVC.clear();
}

void TzovPayment_Stripe_Data_CardInformation::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_Base::Duplicate(AObj);
    if (auto o = dynamic_cast<const TzovPayment_Stripe_Data_CardInformation *>(&AObj)) {
        FNumber = o->FNumber;
        FExpMonth = o->FExpMonth;
        FExpYear = o->FExpYear;
        FCVC = o->FCVC;
    }
    RestoreNodeName();
}

void TzovPayment_Stripe_Data_CardInformation::WriteToNode(TXmlNode ANode) const {
    TDOX_Base::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "number", FNumber);
    Attribute_Write_AsString(ANode, "exp_month", FExpMonth);
    Attribute_Write_AsString(ANode, "exp_year", FExpYear);
    Attribute_Write_AsString(ANode, "cvc", FCVC);
}

void TzovPayment_Stripe_Data_CardInformation::ReadFromNode(TXmlNode ANode) {
    TDOX_Base::ReadFromNode(ANode);
    if (!ANode)
        return;
    SetNumber(Attribute_Read_AsString(ANode, "number", FNumber));
    SetExpMonth(Attribute_Read_AsString(ANode, "exp_month", FExpMonth));
    SetExpYear(Attribute_Read_AsString(ANode, "exp_year", FExpYear));
    SetCVC(Attribute_Read_AsString(ANode, "cvc", FCVC));
}

void TzovPayment_Stripe_Data_CardInformation::SetNumber(const QString &AValue) {
    QString s = TrimText(AValue);
    s.remove(u'-');
    s.remove(u'.');
    s.remove(u'_');
    FNumber = s;
}

void TzovPayment_Stripe_Data_CardInformation::SetExpMonth(const QString &AValue) {
    const int m = IntOr(TrimText(AValue), 0);
    FExpMonth = (m >= 1 && m <= 12) ? QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')) : QString();
}

void TzovPayment_Stripe_Data_CardInformation::SetExpYear(const QString &AValue) {
    const int y = IntOr(TrimText(AValue), 0);
    FExpYear = (y >= 2020 && y <= 2050) ? QString::number(y) : QString();
}

void TzovPayment_Stripe_Data_CardInformation::SetCVC(const QString &AValue) {
    const QString s = TrimText(AValue);
    const int c = IntOr(s, -1);
    FCVC = (c >= 0 && c <= 9999) ? QString::number(c).rightJustified(s.size(), QLatin1Char('0')) : QString();
}

std::unique_ptr<TzovPayment_Stripe_Data_CardInformation>
TzovPayment_Stripe_Data_CardInformation::CreateTest(const char *ANumber, const char *ACVC) {
    // Any future expiry is accepted for test cards; keep it inside the range the setter allows.
    const int year = std::clamp(TClock::NowUTC().ToQDateTimeUTC().date().year() + 3, 2020, 2050);
    return std::make_unique<TzovPayment_Stripe_Data_CardInformation>(
        QString::fromLatin1(ANumber), QStringLiteral("12"), QString::number(year), QString::fromLatin1(ACVC));
}

// clang-format off
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_Visa() { return CreateTest("4242424242424242", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_VisaDebit() { return CreateTest("4000056655665556", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_Mastercard() { return CreateTest("5555555555554444", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_Mastercard2Series() { return CreateTest("2223003122003222", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_MastercardDebit() { return CreateTest("5200828282828210", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_MastercardPrepaid() { return CreateTest("5105105105105100", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_AmericanExpress() { return CreateTest("378282246310005", "1234"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_AmericanExpress2() { return CreateTest("371449635398431", "1234"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_Discover() { return CreateTest("6011111111111117", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_Discover2() { return CreateTest("6011000990139424", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_DinersClub() { return CreateTest("3056930009020004", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_DinersClub14() { return CreateTest("36227206271667", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_JCB() { return CreateTest("3566002020360505", "123"); }
std::unique_ptr<TzovPayment_Stripe_Data_CardInformation> TzovPayment_Stripe_Data_CardInformation::CreateTest_OK_UnionPay() { return CreateTest("6200000000000005", "123"); }
// clang-format on
