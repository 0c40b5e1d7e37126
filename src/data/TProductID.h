// What a coupon, a transaction or a receipt pays for, with its stored text form and default fee description.
#pragma once

#include <QString>

enum class TProductID { pidNone, pidAny, pidCreateEvent, pidUploadFile };

QString ProductID_ToString(TProductID AValue);
// Compared without regard to case; any other text (including "None") is pidNone.
TProductID ProductID_FromString(const QString &AValue);
// "Tavix Event Fee" / "Tavix Upload Fee"; empty for the others.
QString ProductID_DefaultDescription(TProductID AValue);
