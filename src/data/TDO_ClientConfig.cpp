#include "data/TDO_ClientConfig.h"

#include "TavixDeployment.h"

#include <QDir>
#include <QStandardPaths>

TDO_ClientConfig_Branding::TDO_ClientConfig_Branding()
    : TDOX_BaseQuenmark(QStringLiteral("tavix_client_configuration_branding")) {
    TDO_ClientConfig_Branding::Initialize();
}

void TDO_ClientConfig_Branding::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FLabel_Text.clear();
    FLabel_ForeColor = 0xFF000000u;
    FRect_FillColor = 0xFFE1AF00u;
    FRect_StrokeColor = 0xFFE1AF00u;
}

void TDO_ClientConfig_Branding::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_ClientConfig_Branding *>(&AObj)) {
        FLabel_Text = o->FLabel_Text;
        FLabel_ForeColor = o->FLabel_ForeColor;
        FRect_FillColor = o->FRect_FillColor;
        FRect_StrokeColor = o->FRect_StrokeColor;
    }
    RestoreNodeName();
}

void TDO_ClientConfig_Branding::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    Attribute_Write_AsString(ANode, "label_text", FLabel_Text);
    Attribute_Write_AsAlphaColor(ANode, "label_fore_color", FLabel_ForeColor);
    Attribute_Write_AsAlphaColor(ANode, "rect_fill_color", FRect_FillColor);
    Attribute_Write_AsAlphaColor(ANode, "rect_stroke_color", FRect_StrokeColor);
}

void TDO_ClientConfig_Branding::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    FLabel_Text = Attribute_Read_AsString(ANode, "label_text", FLabel_Text);
    FLabel_ForeColor = Attribute_Read_AsAlphaColor(ANode, "label_fore_color", FLabel_ForeColor);
    FRect_FillColor = Attribute_Read_AsAlphaColor(ANode, "rect_fill_color", FRect_FillColor);
    FRect_StrokeColor = Attribute_Read_AsAlphaColor(ANode, "rect_stroke_color", FRect_StrokeColor);
}

TDO_ClientConfig::TDO_ClientConfig()
    : TDOX_BaseQuenmark(QStringLiteral("tavix_client_configuration")),
      FBrand(std::make_unique<TDO_ClientConfig_Branding>()),
      FBillingAddress(std::make_unique<TzovPayment_Data_BillingAddress>()),
      FCouponRedeemer(std::make_unique<TDO_Coupon_Redeemer>()) {
    // The sub-records live as long as this record, so capturing `this` is safe.
    FBillingAddress->OnChanged = [this](TDOX_Base *) { Trigger_OnChanged(); };
    FCouponRedeemer->OnChanged = [this](TDOX_Base *) { Trigger_OnChanged(); };
    TDO_ClientConfig::Initialize();
}

QString TDO_ClientConfig::DefaultServerBaseURL() { return QString::fromUtf8(TavixDeployment::service_address); }

QString TDO_ClientConfig::ConfigFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty())
        documents = QDir::homePath();
    return QDir::cleanPath(documents + QStringLiteral("/Tavix")) + QLatin1Char('/');
}

void TDO_ClientConfig::Initialize() {
    TDOX_BaseQuenmark::Initialize();
    FBrand->Initialize();
    FServerBaseURL = DefaultServerBaseURL();
    FCouponServerBaseURL.clear();
    FCustomerID.clear();
    FBillingAddress->Initialize();
    FCouponRedeemer->Initialize();
}

void TDO_ClientConfig::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    TDOX_BaseQuenmark::Duplicate(AObj);
    if (auto o = dynamic_cast<const TDO_ClientConfig *>(&AObj)) {
        FBrand->Duplicate(*o->FBrand);
        FServerBaseURL = o->FServerBaseURL;
        FCouponServerBaseURL = o->FCouponServerBaseURL;
        FCustomerID = o->FCustomerID;
        FBillingAddress->Duplicate(*o->FBillingAddress);
        FCouponRedeemer->Duplicate(*o->FCouponRedeemer);
    }
    RestoreNodeName();
}

void TDO_ClientConfig::WriteToNode(TXmlNode ANode) const {
    TDOX_BaseQuenmark::WriteToNode(ANode);
    if (!ANode)
        return;
    ChildNode_AddAndWrite(ANode, FBrand.get());
    ChildNode_Write_AsString(ANode, "server_base_url", FServerBaseURL);
    ChildNode_Write_AsString(ANode, "coupon_server_base_url", FCouponServerBaseURL);
    ChildNode_Write_AsString(ANode, "customer_id", FCustomerID);
    ChildNode_AddAndWrite(ANode, FBillingAddress.get());
    ChildNode_AddAndWrite(ANode, FCouponRedeemer.get());
}

void TDO_ClientConfig::ReadFromNode(TXmlNode ANode) {
    TDOX_BaseQuenmark::ReadFromNode(ANode);
    if (!ANode)
        return;
    ChildNode_FindAndRead(ANode, FBrand.get());
    FServerBaseURL = ChildNode_Read_AsString(ANode, "server_base_url", FServerBaseURL);
    FCouponServerBaseURL = ChildNode_Read_AsString(ANode, "coupon_server_base_url", FCouponServerBaseURL);
    FCustomerID = ChildNode_Read_AsString(ANode, "customer_id", FCustomerID);
    ChildNode_FindAndRead(ANode, FBillingAddress.get());
    ChildNode_FindAndRead(ANode, FCouponRedeemer.get());
}

QString TDO_ClientConfig::CouponServerBaseURL() const {
    return FCouponServerBaseURL.isEmpty() ? FServerBaseURL : FCouponServerBaseURL;
}

void TDO_ClientConfig::SetCouponServerBaseURL(const QString &AValue) {
    const QString value = TrimText(AValue);
    FCouponServerBaseURL = value.contains(QLatin1String("127.0.0.1"), Qt::CaseInsensitive) ? FServerBaseURL : value;
}
