// Version text, splitting and comparison; host description; the regular-expression wrapper.
#include "util/TRegularExpression.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QCoreApplication>
#include <QSysInfo>
#include <QTest>

Q_DECLARE_METATYPE(TCompareApplicationVersion)

using TVersion = TzovUtil_ApplicationVersion;

class TestApplicationVersion : public QObject {
    Q_OBJECT

private slots:
    void versionText() {
        const QString own = TVersion::Version_AsString();
        QCOMPARE(TVersion::Split(own), TFourIntArray({TAVIX_VERSION_MAJOR, TAVIX_VERSION_MINOR,
                                                      TAVIX_VERSION_RELEASE, TAVIX_VERSION_BUILD}));
        QCOMPARE(own.count(u'.'), 3);
        QCOMPARE(TVersion::Version_AsString(QCoreApplication::applicationFilePath()), own);
        QCOMPARE(TVersion::Version_AsString("  "), own);
        QCOMPARE(TVersion::Version_AsString("/bin/sh"), QString("0.0.0.0"));
        QCOMPARE(TVersion::Version_AsString("/no/such/program"), QString("0.0.0.0"));
    }

    void split_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("two parts") << "3.1" << QList<int>{3, 1, 0, 0};
        QTest::newRow("inside text") << "version 2.0.7.15 beta" << QList<int>{2, 0, 7, 15};
        QTest::newRow("five parts") << "1.2.3.4.5" << QList<int>{1, 2, 3, 4};
        QTest::newRow("dot without digit ends it") << "4.5.x.7" << QList<int>{4, 5, 0, 0};
        QTest::newRow("trailing dot") << "6." << QList<int>{6, 0, 0, 0};
        QTest::newRow("nothing") << "beta" << QList<int>{0, 0, 0, 0};
        QTest::newRow("empty") << "" << QList<int>{0, 0, 0, 0};
        QTest::newRow("too large reads 0") << "99999999999.2" << QList<int>{0, 2, 0, 0};
    }
    void split() {
        QFETCH(QString, text);
        QFETCH(QList<int>, expected);
        const TFourIntArray parts = TVersion::Split(text);
        QCOMPARE(QList<int>(parts.begin(), parts.end()), expected);
        qint32 a = -1, b = -1, c = -1, d = -1;
        TVersion::Split(text, a, b, c, d);
        QCOMPARE(QList<int>({a, b, c, d}), expected);
    }

    void compare_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("right");
        QTest::addColumn<int>("expected");
        QTest::newRow("numeric, not textual") << "1.10.0.0"
                                              << "1.9.9.9" << 1;
        QTest::newRow("lower build") << "1.0.0.1"
                                     << "1.0.0.2" << -1;
        QTest::newRow("missing parts are 0") << " 2.1 "
                                             << "2.1.0.0" << 0;
        QTest::newRow("major decides") << "2.0"
                                       << "1.99.99.99" << 1;
        QTest::newRow("no version") << ""
                                    << "0.0.0.1" << -1;
    }
    void compare() {
        QFETCH(QString, left);
        QFETCH(QString, right);
        QFETCH(int, expected);
        QCOMPARE(TVersion::Compare(left, right), expected);
        QCOMPARE(TVersion::Compare(right, left), -expected);
        QCOMPARE(TVersion::Compare(left, cavGreaterThan, right), expected > 0);
        QCOMPARE(TVersion::Compare(left, cavLessThan, right), expected < 0);
        QCOMPARE(TVersion::Compare(left, cavEquals, right), expected == 0);
        QCOMPARE(TVersion::Compare(left, cavNotEquals, right), expected != 0);
    }

    void osDescription() {
        QCOMPARE(TVersion::ArchitectureSuffix("i386"), QString(" on Intel (x86)"));
        QCOMPARE(TVersion::ArchitectureSuffix("x86_64"), QString(" on Intel (x64)"));
        QCOMPARE(TVersion::ArchitectureSuffix("arm"), QString(" on ARM (32-bit)"));
        QCOMPARE(TVersion::ArchitectureSuffix("arm64"), QString());
        const QString text = TVersion::OSDescription();
        QVERIFY(text.startsWith(QSysInfo::prettyProductName()));
        QVERIFY(text.endsWith(TVersion::ArchitectureSuffix(QSysInfo::currentCpuArchitecture())));
    }

    void regexOptions_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("options");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("match");
        QTest::newRow("case matters") << "abc" << int(roNone) << "xABCx" << QString();
        QTest::newRow("ignore case") << "abc" << int(roIgnoreCase) << "xABCx"
                                     << "ABC";
        QTest::newRow("line anchors off") << "^b$" << int(roNone) << "a\nb\nc" << QString();
        QTest::newRow("line anchors on") << "^b$" << int(roMultiLine) << "a\nb\nc"
                                         << "b";
        QTest::newRow("dot stops at line break") << "a.b" << int(roNone) << "a\nb" << QString();
        QTest::newRow("dot takes line break") << "a.b" << int(roSingleLine) << "a\nb"
                                              << "a\nb";
        QTest::newRow("combined") << "^A.B$" << int(roIgnoreCase | roMultiLine | roSingleLine) << "x\na\nb\ny"
                                  << "a\nb";
    }
    void regexOptions() {
        QFETCH(QString, pattern);
        QFETCH(int, options);
        QFETCH(QString, input);
        QFETCH(QString, match);
        TRegularExpression re(pattern, TRegExOptions::fromInt(options));
        QCOMPARE(re.Exec(input), !match.isNull());
        QCOMPARE(re.GetMatch(0), match.isNull() ? QString() : match);
    }

    void regexGroups() {
        TRegularExpression re;
        re.SetExpression("(\\d+)(\\.\\d+)?(x)?");
        QVERIFY(re.Exec("v 12.5 rest"));
        QCOMPARE(re.MatchCount(), 4);
        QCOMPARE(re.GetMatch(0), QString("12.5"));
        QCOMPARE(re.GetMatch(1), QString("12"));
        QCOMPARE(re.GetMatch(2), QString(".5"));
        QCOMPARE(re.GetMatch(3), QString()); // took no part
        QCOMPARE(re.GetMatch(4), QString());
        QCOMPARE(re.GetMatch(-1), QString());
        QVERIFY(!re.Exec("none"));
        QCOMPARE(re.MatchCount(), 0);
        QCOMPARE(re.GetMatch(0), QString());
        QCOMPARE(re.Replace("a1 b22", "<\\1>"), QString("a<1> b<22>"));
    }

    void regexInvalid() {
        TRegularExpression re("(unclosed", roNone);
        QVERIFY(!re.IsValid());
        QVERIFY(!re.Exec("(unclosed"));
        QCOMPARE(re.MatchCount(), 0);
        QCOMPARE(re.Replace("text", "x"), QString("text"));
    }
};

QTEST_GUILESS_MAIN(TestApplicationVersion)
#include "tst_ApplicationVersion.moc"
