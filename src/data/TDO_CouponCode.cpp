#include "data/TDO_CouponCode.h"

#include <QRandomGenerator>

TDO_CouponCode::TDO_CouponCode() : TDOX_BaseQuenmark(QStringLiteral("coupon_code")) {
    TDO_CouponCode::Initialize();
}

TDO_CouponCode::TDO_CouponCode(const QString &ACode) : TDO_CouponCode() {
    SetCode(ACode);
}

void TDO_CouponCode::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FCode.clear();
}

void TDO_CouponCode::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_CouponCode *>(&AObj))
        FCode = o->FCode;
    RestoreNodeName();
}

void TDO_CouponCode::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "code", FCode);
}

void TDO_CouponCode::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    SetCode(Attribute_Read_AsString(ANode, "code", FCode));
}

void TDO_CouponCode::SetCode(const QString &AValue) {
    FCode = NormalizeCode(AValue);
}

QString TDO_CouponCode::NormalizeCode(const QString &ACode) {
    QString s = TrimText(ACode);
    s.remove(u' ');
    for (QChar &c : s)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - 'a' + 'A');
    return s;
}

QString TDO_CouponCode::PrettifyCode(const QString &ACode) {
    const QString s = NormalizeCode(ACode);
    QString r;
    r.reserve(s.size() + s.size() / 4);
    for (qsizetype i = 0; i < s.size(); ++i) {
        r.append(s.at(i));
        if ((i + 1) % 4 == 0)
            r.append(u' ');
    }
    return r.trimmed();
}

std::unique_ptr<TDO_CouponCode> TDO_CouponCode::Generate(const QString &APrefix) {
    // Codes are money: drawn from the system's generator, never a seeded sequence someone could replay.
    const quint32 n = QRandomGenerator::system()->bounded(1u, 999999u);
    return std::make_unique<TDO_CouponCode>(APrefix + QStringLiteral("%1").arg(n, 6, 10, QLatin1Char('0')));
}
