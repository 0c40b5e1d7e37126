// The receipt window shown after an event has been created and paid for.
#pragma once

#include "data/TDO_Event.h"
#include "ui/TdlgPaymentReceipt_Base.h"

class TDO_ClientConfig;

class TdlgPaymentReceipt_EventCreate : public TdlgPaymentReceipt_Base {
    Q_OBJECT
public:
    explicit TdlgPaymentReceipt_EventCreate(QWidget *AParent = nullptr);

    // Writes the receipt files, fills the window and shows it modally.
    void Execute(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent);
    // The first part of Execute without showing the window.
    void Prepare(const TDO_ClientConfig &AClientConfig, const TDO_Event &AEvent);

    // The window's own copy; its charge carries the local receipt address when one was written.
    const TDO_Event &Event() const { return FEvent; }

    static QString SubFolder() { return QStringLiteral("Your Events"); }

private:
    TDO_Event FEvent;
    bool FPrepared = false;
};
