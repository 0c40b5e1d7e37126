// Local time and UTC conversions of the date-time value, run under several zones (TAVIX_TEST_PER_ZONE).
#include "util/TDateTime.h"

#include <QTest>

Q_DECLARE_METATYPE(TDateTime)

namespace {
constexpr qint64 Hour = 3600 * 1000;

// The conversions read the zone once per process; the test runs in the zone CTest gives it.
QByteArray Zone() {
    const QByteArray tz = qgetenv("TZ");
    return tz.isEmpty() ? QByteArray("UTC") : tz;
}
} // namespace

class TestDateTimeZone : public QObject {
    Q_OBJECT

private slots:
    void notSetStaysNotSet() {
        QCOMPARE(TDateTime().UTCToLocal(), TDateTime());
        QCOMPARE(TDateTime().LocalToUTC(), TDateTime());
    }

    void knownOffsets_data() {
        QTest::addColumn<TDateTime>("utc");
        QTest::addColumn<TDateTime>("local");
        const QByteArray zone = Zone();
        const TDateTime winter = TDateTime::Encode(2021, 1, 15, 12);
        const TDateTime summer = TDateTime::Encode(2021, 7, 15, 12);
        if (zone == "America/New_York") {
            QTest::newRow("winter") << winter << winter.AddMSecs(-5 * Hour);
            QTest::newRow("summer") << summer << summer.AddMSecs(-4 * Hour);
        } else if (zone == "Australia/Adelaide") {
            QTest::newRow("southern summer") << winter << winter.AddMSecs(10 * Hour + Hour / 2);
            QTest::newRow("southern winter") << summer << summer.AddMSecs(9 * Hour + Hour / 2);
        } else {
            QTest::newRow("winter") << winter << winter;
            QTest::newRow("summer") << summer << summer;
        }
    }
    void knownOffsets() {
        QFETCH(TDateTime, utc);
        QFETCH(TDateTime, local);
        QCOMPARE(utc.UTCToLocal(), local);
        QCOMPARE(local.LocalToUTC(), utc);
    }

    void roundTripAcrossChanges_data() {
        QTest::addColumn<TDateTime>("from");
        // Both changes of both zones with daylight saving in 2021; harmless elsewhere.
        QTest::newRow("New York spring") << TDateTime::Encode(2021, 3, 13, 12);
        QTest::newRow("New York autumn") << TDateTime::Encode(2021, 11, 6, 12);
        QTest::newRow("Adelaide autumn") << TDateTime::Encode(2021, 4, 2, 12);
        QTest::newRow("Adelaide spring") << TDateTime::Encode(2021, 10, 2, 0);
    }
    void roundTripAcrossChanges() {
        QFETCH(TDateTime, from);
        int ambiguous = 0;
        for (TDateTime utc = from; utc < from.AddDays(2); utc = utc.AddMinutes(10)) {
            const TDateTime local = utc.UTCToLocal();
            const TDateTime back = local.LocalToUTC();
            QVERIFY(back.IsSet());
            // Local to UTC to local always holds; UTC to local to UTC fails only where the clocks were put
            // back and the same wall time stands for two moments.
            QCOMPARE(back.UTCToLocal(), local);
            if (back != utc) {
                QVERIFY(utc.AddMSecs(Hour).UTCToLocal() == local ||
                        utc.AddMSecs(-Hour).UTCToLocal() == local);
                ++ambiguous;
            }
        }
        QVERIFY(ambiguous <= 6);
    }

    void wallTimeInSpringGap() {
        // A wall time the clocks skip (as an instructor may type it) must still convert, landing after the
        // change.
        const QByteArray zone = Zone();
        TDateTime gap;
        qint64 expectedOffset = 0;
        if (zone == "America/New_York") {
            gap = TDateTime::Encode(2021, 3, 14, 2, 30);
            expectedOffset = 5 * Hour; // read as standard time: 07:30 UTC, 03:30 daylight time
        } else if (zone == "Australia/Adelaide") {
            gap = TDateTime::Encode(2021, 10, 3, 2, 30);
            expectedOffset = -(9 * Hour + Hour / 2);
        } else {
            QSKIP("no daylight-saving change in this zone");
        }
        const TDateTime utc = gap.LocalToUTC();
        QVERIFY(utc.IsSet());
        QCOMPARE(utc, gap.AddMSecs(expectedOffset));
        QCOMPARE(utc.UTCToLocal(), gap.AddMSecs(Hour));
    }
};

QTEST_GUILESS_MAIN(TestDateTimeZone)
#include "tst_DateTimeZone.moc"
