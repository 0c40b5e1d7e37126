// Calendar date and time of day to the millisecond, counted from 1899-12-30 00:00; 0 means "not set".
#pragma once

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QTimeZone>
#include <QtGlobal>

#include <compare>

class TDateTime {
public:
    static constexpr qint64 MSecsPerDay = 86400000;
    // Days between 1899-12-30 and 1970-01-01.
    static constexpr qint64 UnixEpochDays = 25569;

    constexpr TDateTime() = default;
    static constexpr TDateTime FromMSecs(qint64 AMSecs) { return TDateTime(AMSecs); }
    // Calendar fields as given; no zone conversion. An invalid date or time gives "not set".
    static TDateTime Encode(int AYear, int AMonth, int ADay, int AHour = 0, int AMinute = 0, int ASecond = 0,
                            int AMSec = 0);
    static TDateTime FromDateAndTime(const QDate &ADate, const QTime &ATime);
    // Converts the moment to UTC, then keeps its calendar fields.
    static TDateTime FromQDateTimeUTC(const QDateTime &AValue);
    // Takes the calendar fields of AValue as they stand (whatever its zone).
    static TDateTime FromQDateTimeFields(const QDateTime &AValue);

    constexpr qint64 MSecs() const { return FMSecs; }
    constexpr bool IsSet() const { return FMSecs != 0; }
    QDate Date() const;
    QTime Time() const;
    // The value read as a UTC moment.
    QDateTime ToQDateTimeUTC() const;
    // The value read as a moment in the local zone.
    QDateTime ToQDateTimeLocal() const;

    // The one place where local time and UTC meet (Qt's zone rules). "Not set" stays "not set".
    TDateTime LocalToUTC() const;
    TDateTime UTCToLocal() const;

    constexpr TDateTime AddMSecs(qint64 AMSecs) const { return TDateTime(FMSecs + AMSecs); }
    constexpr TDateTime AddSeconds(qint64 ASeconds) const { return AddMSecs(ASeconds * 1000); }
    constexpr TDateTime AddMinutes(qint64 AMinutes) const { return AddMSecs(AMinutes * 60000); }
    constexpr TDateTime AddDays(qint64 ADays) const { return AddMSecs(ADays * MSecsPerDay); }
    // Midnight of the same calendar day.
    TDateTime DateOnly() const;

    constexpr auto operator<=>(const TDateTime &) const = default;

private:
    constexpr explicit TDateTime(qint64 AMSecs) : FMSecs(AMSecs) {}
    qint64 FMSecs = 0;
};

// The program's notion of "now". Tests fix it so windows, deadlines and lateness are checked at set moments.
class TClock {
public:
    static TDateTime NowUTC();
    static TDateTime NowLocal() { return NowUTC().UTCToLocal(); }
    static void SetFixedUTC(TDateTime AValue);
    static void Reset();
};
