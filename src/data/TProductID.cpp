#include "data/TProductID.h"

QString ProductID_ToString(TProductID AValue) {
    switch (AValue) {
    case TProductID::pidAny:
        return QStringLiteral("Any");
    case TProductID::pidCreateEvent:
        return QStringLiteral("Create Event");
    case TProductID::pidUploadFile:
        return QStringLiteral("Upload File");
    case TProductID::pidNone:
        break;
    }
    return QStringLiteral("None");
}

TProductID ProductID_FromString(const QString &AValue) {
    for (TProductID v : {TProductID::pidAny, TProductID::pidCreateEvent, TProductID::pidUploadFile})
        if (AValue.compare(ProductID_ToString(v), Qt::CaseInsensitive) == 0)
            return v;
    return TProductID::pidNone;
}

QString ProductID_DefaultDescription(TProductID AValue) {
    switch (AValue) {
    case TProductID::pidCreateEvent:
        return QStringLiteral("Tavix Event Fee");
    case TProductID::pidUploadFile:
        return QStringLiteral("Tavix Upload Fee");
    default:
        return {};
    }
}
