// Fixed text forms of date-time values: writers, readers and their tolerance.
#include "util/TDateTimeTool.h"

#include <QTest>

Q_DECLARE_METATYPE(TDateTime)

namespace {
const TDateTime Fallback = TDateTime::Encode(1970, 1, 1, 1, 2, 3);
const TDateTime Sample = TDateTime::Encode(2021, 3, 5, 15, 4, 5, 123);
} // namespace

class TestDateTimeTool : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { TClock::SetFixedUTC(TDateTime::Encode(2026, 6, 1, 12)); }
    void cleanupTestCase() { TClock::Reset(); }

    void writers_data();
    void writers();
    void roundTrips();
    void plainReader_data();
    void plainReader();
    void zReader_data();
    void zReader();
    void partReaders();
};

void TestDateTimeTool::writers_data() {
    QTest::addColumn<TDateTime>("value");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("z");
    QTest::newRow("afternoon") << Sample << "2021/03/05 - 3:04:05 PM"
                               << "2021/03/05 - 15:04:05.123";
    QTest::newRow("midnight") << TDateTime::Encode(2021, 3, 5) << "2021/03/05 - 12:00:00 AM"
                              << "2021/03/05 - 00:00:00.000";
    QTest::newRow("noon") << TDateTime::Encode(2021, 3, 5, 12, 0, 0, 500) << "2021/03/05 - 12:00:00 PM"
                          << "2021/03/05 - 12:00:00.500";
    // Milliseconds are dropped, never rounded up into the next second (or the next day).
    QTest::newRow("last ms of the day")
        << TDateTime::Encode(1999, 12, 31, 23, 59, 59, 999) << "1999/12/31 - 11:59:59 PM"
        << "1999/12/31 - 23:59:59.999";
    QTest::newRow("just after midnight")
        << TDateTime::Encode(2000, 1, 2, 0, 0, 1) << "2000/01/02 - 12:00:01 AM"
        << "2000/01/02 - 00:00:01.000";
    QTest::newRow("morning") << TDateTime::Encode(2030, 11, 9, 9, 7, 0) << "2030/11/09 - 9:07:00 AM"
                             << "2030/11/09 - 09:07:00.000";
}

void TestDateTimeTool::writers() {
    QFETCH(TDateTime, value);
    QFETCH(QString, plain);
    QFETCH(QString, z);
    QCOMPARE(TDateTimeTool::DateTime_ToString(value), plain);
    QCOMPARE(TDateTimeTool::DateTimeZ_ToString(value), z);
    QCOMPARE(TDateTimeTool::Date_ToString(value), plain.left(10));
    QCOMPARE(TDateTimeTool::DateZ_ToString(value), z.left(10));
    QCOMPARE(TDateTimeTool::Time_ToString(value), plain.mid(13));
    QCOMPARE(TDateTimeTool::TimeZ_ToString(value), z.mid(13));
}

void TestDateTimeTool::roundTrips() {
    // Every writer's text reads back: plain to the second, Z to the millisecond, over all hours of the clock.
    TDateTime v = TDateTime::Encode(2019, 12, 30, 0, 0, 0, 7);
    for (int i = 0; i < 2000; ++i, v = v.AddMSecs(37 * 60 * 1000 + 1013)) {
        const TDateTime toSecond = v.AddMSecs(-(v.MSecs() % 1000));
        QCOMPARE(TDateTimeTool::DateTime_FromString(TDateTimeTool::DateTime_ToString(v), Fallback), toSecond);
        QCOMPARE(TDateTimeTool::DateTimeZ_FromString(TDateTimeTool::DateTimeZ_ToString(v), Fallback), v);
        QCOMPARE(TDateTimeTool::Date_FromString(TDateTimeTool::Date_ToString(v), Fallback), v.DateOnly());
        QCOMPARE(TDateTimeTool::DateZ_FromString(TDateTimeTool::DateZ_ToString(v), Fallback), v.DateOnly());
        const TDateTime timeOfDay = TDateTime::FromMSecs(v.Time().msecsSinceStartOfDay());
        QCOMPARE(TDateTimeTool::TimeZ_FromString(TDateTimeTool::TimeZ_ToString(v), Fallback), timeOfDay);
        QCOMPARE(TDateTimeTool::Time_FromString(TDateTimeTool::Time_ToString(v), Fallback),
                 TDateTime::FromMSecs(timeOfDay.MSecs() / 1000 * 1000));
    }
}

void TestDateTimeTool::plainReader_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TDateTime>("expected");
    const TDateTime s = TDateTime::Encode(2021, 3, 5, 15, 4, 5);
    QTest::newRow("as written") << "2021/03/05 - 3:04:05 PM" << s;
    QTest::newRow("blanks around") << "  2021/03/05 - 3:04:05 PM \t" << s;
    QTest::newRow("blanks around the joint") << "2021/03/05   -   3:04:05 PM" << s;
    QTest::newRow("single blank") << "2021/03/05 3:04:05 PM" << s;
    QTest::newRow("lower-case marker") << "2021/03/05 - 3:04:05 pm" << s;
    QTest::newRow("24-hour clock") << "2021/03/05 - 15:04:05" << s;
    QTest::newRow("no seconds") << "2021/03/05 - 3:04 PM" << s.AddSeconds(-5);
    QTest::newRow("short fields") << "2021/3/5 - 3:04:05 PM" << s;
    QTest::newRow("two-digit year") << "21/03/05 - 3:04:05 PM" << s;
    QTest::newRow("12 AM") << "2021/03/05 - 12:30:00 AM" << TDateTime::Encode(2021, 3, 5, 0, 30);
    QTest::newRow("12 PM") << "2021/03/05 - 12:30:00 PM" << TDateTime::Encode(2021, 3, 5, 12, 30);
    QTest::newRow("leap day") << "2024/02/29 - 1:00:00 AM" << TDateTime::Encode(2024, 2, 29, 1);

    QTest::newRow("date alone") << "2021/03/05" << Fallback;
    QTest::newRow("empty") << "" << Fallback;
    QTest::newRow("blanks only") << "   " << Fallback;
    QTest::newRow("no leap day") << "2021/02/29 - 1:00:00 AM" << Fallback;
    QTest::newRow("month 13") << "2021/13/05 - 1:00:00 AM" << Fallback;
    QTest::newRow("hour 13 PM") << "2021/03/05 - 13:00:00 PM" << Fallback;
    QTest::newRow("hour 24") << "2021/03/05 - 24:00:00" << Fallback;
    QTest::newRow("minute 60") << "2021/03/05 - 1:60:00 AM" << Fallback;
    QTest::newRow("unknown marker") << "2021/03/05 - 1:00:00 XM" << Fallback;
    QTest::newRow("text after marker") << "2021/03/05 - 1:00:00 AM x" << Fallback;
    QTest::newRow("dashes for slashes") << "2021-03-05 - 1:00:00 AM" << Fallback;
    QTest::newRow("huge year") << "202100/03/05 - 1:00:00 AM" << Fallback;
    QTest::newRow("time missing") << "2021/03/05 - " << Fallback;
}

void TestDateTimeTool::plainReader() {
    QFETCH(QString, text);
    QFETCH(TDateTime, expected);
    QCOMPARE(TDateTimeTool::DateTime_FromString(text, Fallback), expected);
}

void TestDateTimeTool::zReader_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<TDateTime>("expected");
    QTest::newRow("as written") << "2021/03/05 - 15:04:05.123" << Sample;
    QTest::newRow("single blank") << "2021/03/05 15:04:05.123" << Sample;
    QTest::newRow("no milliseconds") << "2021/03/05 - 15:04:05" << Sample.AddMSecs(-123);
    QTest::newRow("tenths") << "2021/03/05 - 15:04:05.5" << Sample.AddMSecs(377);
    QTest::newRow("leading blank") << " 2021/03/05 - 15:04:05.123" << Fallback;
    QTest::newRow("doubled blanks at the joint") << "2021/03/05  -  15:04:05.123" << Fallback;
    QTest::newRow("four ms digits") << "2021/03/05 - 15:04:05.1234" << Fallback;
    QTest::newRow("date alone") << "2021/03/05" << Fallback;
}

void TestDateTimeTool::zReader() {
    QFETCH(QString, text);
    QFETCH(TDateTime, expected);
    QCOMPARE(TDateTimeTool::DateTimeZ_FromString(text, Fallback), expected);
}

void TestDateTimeTool::partReaders() {
    QCOMPARE(TDateTimeTool::Date_FromString(" 2021/03/05 ", Fallback), TDateTime::Encode(2021, 3, 5));
    QCOMPARE(TDateTimeTool::Date_FromString("2021/03/05 - 3:04:05 PM", Fallback), Fallback);
    QCOMPARE(TDateTimeTool::DateZ_FromString("2021/03/05", Fallback), TDateTime::Encode(2021, 3, 5));
    QCOMPARE(TDateTimeTool::DateZ_FromString(" 2021/03/05", Fallback), Fallback);

    const qint64 afternoon = (15 * 3600 + 4 * 60 + 5) * 1000;
    QCOMPARE(TDateTimeTool::Time_FromString(" 3:04:05 PM ", Fallback), TDateTime::FromMSecs(afternoon));
    QCOMPARE(TDateTimeTool::Time_FromString("2021/03/05 - 3:04:05 PM", Fallback), Fallback);
    QCOMPARE(TDateTimeTool::TimeZ_FromString("15:04:05.123", Fallback),
             TDateTime::FromMSecs(afternoon + 123));
    QCOMPARE(TDateTimeTool::TimeZ_FromString(" 15:04:05.123", Fallback), Fallback);
    QCOMPARE(TDateTimeTool::TimeZ_FromString("", Fallback), Fallback);
}

QTEST_GUILESS_MAIN(TestDateTimeTool)
#include "tst_DateTimeTool.moc"
