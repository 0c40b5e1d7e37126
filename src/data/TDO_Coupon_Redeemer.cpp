#include "data/TDO_Coupon_Redeemer.h"

#include <QCoreApplication>

TDO_Coupon_Redeemer::TDO_Coupon_Redeemer() : TDOX_BaseQuenmark(QStringLiteral("coupon_redeemer")) {
    TDO_Coupon_Redeemer::Initialize();
}

void TDO_Coupon_Redeemer::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FInstitutionName.clear();
    FInstitutionKind = TInstitutionKind::ikInvalid;
    FState.clear();
    FZip.clear();
    FCountry.clear();
}

void TDO_Coupon_Redeemer::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_Coupon_Redeemer *>(&AObj)) {
        FInstitutionName = o->FInstitutionName;
        FInstitutionKind = o->FInstitutionKind;
        FState = o->FState;
        FZip = o->FZip;
        FCountry = o->FCountry;
    }
    RestoreNodeName();
}

void TDO_Coupon_Redeemer::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "institution_name", FInstitutionName);
    Attribute_Write_AsString(ANode, "institution_kind", InstitutionKind_ToString(FInstitutionKind));
    Attribute_Write_AsString(ANode, "state", FState);
    Attribute_Write_AsString(ANode, "zip", FZip);
    Attribute_Write_AsString(ANode, "country", FCountry);
}

void TDO_Coupon_Redeemer::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    SetInstitutionName(Attribute_Read_AsString(ANode, "institution_name", FInstitutionName));
    FInstitutionKind = InstitutionKind_FromString(
        Attribute_Read_AsString(ANode, "institution_kind", InstitutionKind_ToString(FInstitutionKind)));
    SetState(Attribute_Read_AsString(ANode, "state", FState));
    SetZip(Attribute_Read_AsString(ANode, "zip", FZip));
    SetCountry(Attribute_Read_AsString(ANode, "country", FCountry));
}

bool TDO_Coupon_Redeemer::IsValid() const {
    return !FInstitutionName.isEmpty() && !FState.isEmpty() && !FZip.isEmpty() && !FCountry.isEmpty() &&
           FInstitutionKind != TInstitutionKind::ikInvalid;
}

QString TDO_Coupon_Redeemer::InvalidReason() const {
    if (FInstitutionName.isEmpty())
        return QCoreApplication::translate("TDO_Coupon_Redeemer", "Institution name is required");
    if (FState.isEmpty())
        return QCoreApplication::translate("TDO_Coupon_Redeemer", "State (provence) is required");
    if (FZip.isEmpty())
        return QCoreApplication::translate("TDO_Coupon_Redeemer", "Zip (postal code) is required");
    if (FCountry.isEmpty())
        return QCoreApplication::translate("TDO_Coupon_Redeemer", "Country is required");
    if (FInstitutionKind == TInstitutionKind::ikInvalid)
        return QCoreApplication::translate("TDO_Coupon_Redeemer", "Institution kind is required");
    return {};
}

QString TDO_Coupon_Redeemer::InstitutionKind_ToString(TInstitutionKind AKind) {
    switch (AKind) {
    case TInstitutionKind::ikLawSchool:
        return QStringLiteral("Law School");
    case TInstitutionKind::ikTertiary:
        return QStringLiteral("University/Tertiary");
    case TInstitutionKind::ikSecondary:
        return QStringLiteral("HighSchool/Secondary");
    case TInstitutionKind::ikPrimary:
        return QStringLiteral("Elementary/Primary");
    case TInstitutionKind::ikProfessional:
        return QStringLiteral("Professional");
    case TInstitutionKind::ikCorporate:
        return QStringLiteral("Corporate");
    case TInstitutionKind::ikGovernment:
        return QStringLiteral("Government");
    case TInstitutionKind::ikUnspecified:
        return QStringLiteral("Other/Unspecified");
    case TInstitutionKind::ikInvalid:
        break;
    }
    return {};
}

TDO_Coupon_Redeemer::TInstitutionKind TDO_Coupon_Redeemer::InstitutionKind_FromString(const QString &AKind) {
    if (AKind.isEmpty())
        return TInstitutionKind::ikInvalid;
    for (int i = int(TInstitutionKind::ikLawSchool); i <= int(TInstitutionKind::ikUnspecified); ++i)
        if (AKind.compare(InstitutionKind_ToString(TInstitutionKind(i)), Qt::CaseInsensitive) == 0)
            return TInstitutionKind(i);
    return TInstitutionKind::ikInvalid;
}

std::unique_ptr<TDO_Coupon_Redeemer> TDO_Coupon_Redeemer::CreateTest() {
    auto r = std::make_unique<TDO_Coupon_Redeemer>();
    r->SetInstitutionName(QStringLiteral("Springfield College of Law"));
    r->SetInstitutionKind(TInstitutionKind::ikLawSchool);
    r->SetState(QStringLiteral("IL"));
    r->SetZip(QStringLiteral("62701"));
    r->SetCountry(QStringLiteral("United States"));
    return r;
}
