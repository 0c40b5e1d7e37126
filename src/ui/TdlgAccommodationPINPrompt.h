// Asks for an event's accommodation PIN.
#pragma once

#include "ui/TdlgPasswordPrompt.h"

class TdlgAccommodationPINPrompt : public TdlgSecretPrompt {
    Q_OBJECT
public:
    explicit TdlgAccommodationPINPrompt(QWidget *AParent = nullptr);
    QString AccommodationPIN() const { return Entry(); }
};
