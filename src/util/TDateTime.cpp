#include "TDateTime.h"

#include <atomic>

namespace {
const QDate &BaseDate() {
    static const QDate d(1899, 12, 30);
    return d;
}
std::atomic<qint64> GFixedNow{0};
} // namespace

TDateTime TDateTime::Encode(int AYear, int AMonth, int ADay, int AHour, int AMinute, int ASecond, int AMSec) {
    return FromDateAndTime(QDate(AYear, AMonth, ADay), QTime(AHour, AMinute, ASecond, AMSec));
}

TDateTime TDateTime::FromDateAndTime(const QDate &ADate, const QTime &ATime) {
    if (!ADate.isValid() || !ATime.isValid())
        return {};
    return TDateTime(BaseDate().daysTo(ADate) * MSecsPerDay + ATime.msecsSinceStartOfDay());
}

TDateTime TDateTime::FromQDateTimeUTC(const QDateTime &AValue) {
    if (!AValue.isValid())
        return {};
    return TDateTime(AValue.toMSecsSinceEpoch() + UnixEpochDays * MSecsPerDay);
}

TDateTime TDateTime::FromQDateTimeFields(const QDateTime &AValue) {
    if (!AValue.isValid())
        return {};
    return FromDateAndTime(AValue.date(), AValue.time());
}

QDate TDateTime::Date() const {
    // Floor division so moments before 1899-12-30 land on the right day.
    qint64 days = FMSecs / MSecsPerDay;
    if (FMSecs % MSecsPerDay < 0)
        --days;
    return BaseDate().addDays(days);
}

QTime TDateTime::Time() const {
    qint64 ms = FMSecs % MSecsPerDay;
    if (ms < 0)
        ms += MSecsPerDay;
    return QTime::fromMSecsSinceStartOfDay(int(ms));
}

QDateTime TDateTime::ToQDateTimeUTC() const {
    return QDateTime::fromMSecsSinceEpoch(FMSecs - UnixEpochDays * MSecsPerDay, QTimeZone::utc());
}

QDateTime TDateTime::ToQDateTimeLocal() const { return QDateTime(Date(), Time(), QTimeZone::systemTimeZone()); }

TDateTime TDateTime::LocalToUTC() const {
    if (!IsSet())
        return {};
    const QDateTime local = ToQDateTimeLocal();
    if (local.isValid())
        return FromQDateTimeUTC(local);
    // A wall time skipped by a spring-forward change (02:30 on the night clocks jump from 02:00 to 03:00):
    // read it with the offset in force before the change, so it lands just after it instead of becoming
    // "not set". Step back to the last valid wall time and carry the distance forward.
    constexpr qint64 Step = 15 * 60 * 1000;
    for (qint64 back = Step; back <= MSecsPerDay; back += Step) {
        const QDateTime earlier = AddMSecs(-back).ToQDateTimeLocal();
        if (earlier.isValid())
            return FromQDateTimeUTC(earlier).AddMSecs(back);
    }
    return {};
}

TDateTime TDateTime::UTCToLocal() const {
    if (!IsSet())
        return {};
    return FromQDateTimeFields(ToQDateTimeUTC().toTimeZone(QTimeZone::systemTimeZone()));
}

TDateTime TDateTime::DateOnly() const { return FromDateAndTime(Date(), QTime(0, 0)); }

TDateTime TClock::NowUTC() {
    const qint64 fixed = GFixedNow.load();
    if (fixed != 0)
        return TDateTime::FromMSecs(fixed);
    return TDateTime::FromQDateTimeUTC(QDateTime::currentDateTimeUtc());
}

void TClock::SetFixedUTC(TDateTime AValue) { GFixedNow.store(AValue.MSecs()); }

void TClock::Reset() { GFixedNow.store(0); }
