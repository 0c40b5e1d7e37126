// Fixed, locale-independent text forms of date-time values, as stored in records and sent to the service.
#pragma once

#include "TDateTime.h"

#include <QString>

// Plain form: "yyyy/mm/dd - h:nn:ss AMPM" (12-hour clock, no milliseconds).
// Z form:     "yyyy/mm/dd - hh:nn:ss.zzz" (24-hour clock, milliseconds).
// No zone conversion: values are written and read as they stand. Readers never throw; text they cannot read
// gives the caller's default. Stateless, so safe on any thread.
class TDateTimeTool {
public:
    TDateTimeTool() = delete;

    static QString DateTime_ToString(TDateTime AValue);
    // Trims the text and both parts; the parts are joined by " - " or, failing that, the first blank.
    static TDateTime DateTime_FromString(const QString &AValue, TDateTime ADefaultValue);
    // Date part only; the reader gives midnight of that day.
    static QString Date_ToString(TDateTime AValue);
    static TDateTime Date_FromString(const QString &AValue, TDateTime ADefaultValue);
    // Time of day only; the reader gives that time on day 0.
    static QString Time_ToString(TDateTime AValue);
    static TDateTime Time_FromString(const QString &AValue, TDateTime ADefaultValue);

    // The Z readers do not trim: a blank before or after the text gives the default.
    static QString DateTimeZ_ToString(TDateTime AValue);
    static TDateTime DateTimeZ_FromString(const QString &AValue, TDateTime ADefaultValue);
    static QString DateZ_ToString(TDateTime AValue);
    static TDateTime DateZ_FromString(const QString &AValue, TDateTime ADefaultValue);
    static QString TimeZ_ToString(TDateTime AValue);
    static TDateTime TimeZ_FromString(const QString &AValue, TDateTime ADefaultValue);
};
