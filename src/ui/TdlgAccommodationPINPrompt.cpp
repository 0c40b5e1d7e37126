#include "ui/TdlgAccommodationPINPrompt.h"

TdlgAccommodationPINPrompt::TdlgAccommodationPINPrompt(QWidget *AParent)
    : TdlgSecretPrompt(tr("Accommodation PIN"), tr("Enter the Accommodation PIN"), AParent) {
    setObjectName(QStringLiteral("dlgAccommodationPINPrompt"));
}
