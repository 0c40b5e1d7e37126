// A coupon code in its normal form (one run of upper-case characters) with its derived display and storage
// names.
#pragma once

#include "data/TDOX_BaseQuenmark.h"

#include <memory>

class TDO_CouponCode : public TDOX_BaseQuenmark {
public:
    TDO_CouponCode();
    explicit TDO_CouponCode(const QString &ACode);
    TDO_CouponCode(const TDO_CouponCode &AObj) : TDO_CouponCode() { Duplicate(AObj); }
    TDO_CouponCode &operator=(const TDO_CouponCode &AObj) {
        Duplicate(AObj);
        return *this;
    }

    void Initialize() override;
    void Duplicate(const TDOX_Base &AObj) override;
    void WriteToNode(TXmlNode ANode) const override;
    void ReadFromNode(TXmlNode ANode) override;

    const QString &Code() const { return FCode; }
    // Trims, removes every blank inside and upper-cases a to z.
    void SetCode(const QString &AValue);

    QString Code_Pretty() const { return PrettifyCode(FCode); }
    QString Code_Prefix() const { return FCode.left(6); }
    QString Code_Suffix() const { return FCode.mid(6); }
    bool IsValid() const { return !FCode.isEmpty(); }
    QString RecommendedStorageIdentifier() const { return Code_Prefix(); }
    QString RecommendedStorageFilename() const { return Code_Prefix() + QStringLiteral(".xml"); }

    static QString NormalizeCode(const QString &ACode);
    // Groups of four characters separated by single blanks.
    static QString PrettifyCode(const QString &ACode);
    // APrefix followed by a random number 1 .. 999998 of at least six digits (the system's generator).
    static std::unique_ptr<TDO_CouponCode> Generate(const QString &APrefix);

private:
    QString FCode;
};
