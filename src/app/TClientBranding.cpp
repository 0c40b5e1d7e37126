#include "TClientBranding.h"

#include "data/TDO_ClientConfig.h"
#include "ui/TBrandingStrip.h"

#include <QColor>

void TClientBranding::Apply(TBrandingStrip &AStrip, const TDO_ClientConfig_Branding &ABrand) {
    // Alpha colours are AARRGGBB, which is QRgb's layout.
    AStrip.SetStrip(QColor::fromRgba(ABrand.Rect_FillColor()), QColor::fromRgba(ABrand.Rect_StrokeColor()),
                    QColor::fromRgba(ABrand.Label_ForeColor()), ABrand.Label_Text());
}

void TClientBranding::Apply(TBrandingStrip &AStrip, const TDO_ClientConfig &AConfig) {
    Apply(AStrip, AConfig.Brand());
}
