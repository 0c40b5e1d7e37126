// The institution that redeems a coupon; the configuration keeps one so the coupon dialog can offer it again.
#pragma once

#include "data/TDOX_BaseQuenmark.h"

#include <memory>

class TDO_Coupon_Redeemer : public TDOX_BaseQuenmark {
public:
    enum class TInstitutionKind {
        ikInvalid,
        ikLawSchool,
        ikTertiary,
        ikSecondary,
        ikPrimary,
        ikProfessional,
        ikCorporate,
        ikGovernment,
        ikUnspecified
    };

    TDO_Coupon_Redeemer();
    TDO_Coupon_Redeemer(const TDO_Coupon_Redeemer &AObj) : TDO_Coupon_Redeemer() { Duplicate(AObj); }
    TDO_Coupon_Redeemer &operator=(const TDO_Coupon_Redeemer &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    // Copies the values, not the OnChanged handler.
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &InstitutionName() const { return FInstitutionName; }
    void SetInstitutionName(const QString &AValue) { FInstitutionName = TrimText(AValue); }
    TInstitutionKind InstitutionKind() const { return FInstitutionKind; }
    void SetInstitutionKind(TInstitutionKind AValue) { FInstitutionKind = AValue; }
    const QString &State() const { return FState; }
    void SetState(const QString &AValue) { FState = TrimText(AValue); }
    const QString &Zip() const { return FZip; }
    void SetZip(const QString &AValue) { FZip = TrimText(AValue); }
    const QString &Country() const { return FCountry; }
    void SetCountry(const QString &AValue) { FCountry = TrimText(AValue); }

    bool IsValid() const;
    // The first missing value as a message; empty when the redeemer is valid.
    QString InvalidReason() const;

    // Setters do not fire it; callers announce a stored change through Trigger_OnChanged.
    TNotifyEvent OnChanged;
    void Trigger_OnChanged() {
        if (OnChanged)
            OnChanged(this);
    }

    // Empty text for ikInvalid; reading compares without regard to case, anything unknown is ikInvalid.
    static QString InstitutionKind_ToString(TInstitutionKind AKind);
    static TInstitutionKind InstitutionKind_FromString(const QString &AKind);

    // A sample institution for the developer test button.
    static std::unique_ptr<TDO_Coupon_Redeemer> CreateTest();

private:
    QString FInstitutionName;
    TInstitutionKind FInstitutionKind = TInstitutionKind::ikInvalid;
    QString FState;
    QString FZip;
    QString FCountry;
};
