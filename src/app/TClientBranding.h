// Applies the configured customer banner to a branding strip (main window and event dialogs).
#pragma once

class TBrandingStrip;
class TDO_ClientConfig;
class TDO_ClientConfig_Branding;

class TClientBranding {
public:
    TClientBranding() = delete;

    // Fill, outline and text colour from the record; the strip is hidden when the text is empty.
    static void Apply(TBrandingStrip &AStrip, const TDO_ClientConfig_Branding &ABrand);
    static void Apply(TBrandingStrip &AStrip, const TDO_ClientConfig &AConfig);
};
