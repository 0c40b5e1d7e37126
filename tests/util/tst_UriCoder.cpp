// Percent-encoding, decoding, and the URL splitter and builder.
#include "util/TUriCoder.h"

#include <QTest>

#include <stdexcept>

class TestUriCoder : public QObject {
    Q_OBJECT

private slots:
    void encodeEx_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("e-mail set") << "a b#c"
                                    << "a%20b%23c";
        QTest::newRow("all of the set") << " #%*+<>&?"
                                        << "%20%23%25%2A%2B%3C%3E%26%3F";
        QTest::newRow("control codes") << "a\r\nb\tc"
                                       << "a%0D%0Ab%09c";
        QTest::newRow("euro sign") << QString(QChar(0x20AC)) << "%20AC";
        QTest::newRow("above euro") << QString(QChar(0xFFFD)) << "%FFFD";
        QTest::newRow("latin-1 outside the set") << QString::fromUtf8("é") << QString::fromUtf8("é");
        QTest::newRow("below euro kept") << QString(QChar(0x20AB)) << QString(QChar(0x20AB));
        QTest::newRow("plain address") << "someone@example.com"
                                       << "someone@example.com";
    }
    void encodeEx() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TUriCoder::EncodeEx(text, TUriCoder::EmailUnsafeChars()), expected);
    }

    void encodeExEmptySet() {
        QCOMPARE(TUriCoder::EncodeEx("a b%", TUnsafeCharSet()), QString("a b%"));
        QCOMPARE(TUriCoder::EncodeEx("a/b", TUriCoder::CharSet("/")), QString("a%2Fb"));
    }

    void encode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("spaceToPlus");
        QTest::addColumn<QString>("expected");
        QTest::newRow("unreserved untouched") << "Az09-_.!~*'()" << false << "Az09-_.!~*'()";
        QTest::newRow("blank as %20") << "a b" << false << "a%20b";
        QTest::newRow("blank as plus") << "a b" << true << "a+b";
        QTest::newRow("reserved") << "a&b=c/d?+" << true << "a%26b%3Dc%2Fd%3F%2B";
        QTest::newRow("utf-8 bytes") << QString::fromUtf8("é€") << false << "%C3%A9%E2%82%AC";
        QTest::newRow("empty") << "" << true << "";
    }
    void encode() {
        QFETCH(QString, text);
        QFETCH(bool, spaceToPlus);
        QFETCH(QString, expected);
        QCOMPARE(TUriCoder::Encode(text, spaceToPlus), expected);
        // What Encode writes, Decode and UnUTF8 give back.
        QCOMPARE(TUriCoder::UnUTF8(TUriCoder::Decode(TUriCoder::Encode(text, spaceToPlus))), text);
    }

    void decode_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plus and escape") << "a+b%20c"
                                         << "a b c";
        QTest::newRow("lower-case hex") << "%2f%3A"
                                        << "/:";
        QTest::newRow("bytes stay bytes") << "%C3%A9" << QString::fromLatin1("\xC3\xA9");
        QTest::newRow("bad escape dropped with two chars") << "x%zz1y"
                                                           << "x1y";
        QTest::newRow("half-bad escape") << "x%4G!"
                                         << "x!";
        QTest::newRow("escape cut short at end") << "ab%4"
                                                 << "ab";
        QTest::newRow("lone percent at end") << "ab%"
                                             << "ab";
    }
    void decode() {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(TUriCoder::Decode(text), expected);
    }

    void utf8_data() {
        QTest::addColumn<QString>("bytes");
        QTest::addColumn<bool>("isUtf8");
        QTest::addColumn<QString>("text");
        QTest::newRow("ascii") << "plain" << true << "plain";
        QTest::newRow("two-byte") << QString::fromLatin1("caf\xC3\xA9") << true << QString::fromUtf8("café");
        QTest::newRow("latin-1 text")
            << QString::fromLatin1("caf\xE9") << false << QString::fromLatin1("caf\xE9");
        QTest::newRow("overlong") << QString::fromLatin1("\xC0\xAF") << false
                                  << QString::fromLatin1("\xC0\xAF");
        QTest::newRow("not bytes") << QString(QChar(0x20AC)) << false << QString(QChar(0x20AC));
    }
    void utf8() {
        QFETCH(QString, bytes);
        QFETCH(bool, isUtf8);
        QFETCH(QString, text);
        QCOMPARE(TUriCoder::IsUTF8(bytes), isUtf8);
        QCOMPARE(TUriCoder::UnUTF8(bytes), text);
    }

    void split_data() {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("protocol");
        QTest::addColumn<QString>("domain");
        QTest::addColumn<int>("port");
        QTest::addColumn<QString>("path");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("values");
        QTest::newRow("full") << "https://host.example:8443/v1/event?a=1&b=x=y"
                              << "https"
                              << "host.example" << 8443 << "v1/event" << QStringList{"a", "b"}
                              << QStringList{"1", "x=y"};
        QTest::newRow("no port") << "http://host/"
                                 << "http"
                                 << "host" << 0 << "" << QStringList() << QStringList();
        QTest::newRow("port not a number") << "http://host:abc/p"
                                           << "http"
                                           << "host" << 0 << "p" << QStringList() << QStringList();
        QTest::newRow("host without path") << "https://host:8443"
                                           << "https"
                                           << "host" << 8443 << "" << QStringList() << QStringList();
        QTest::newRow("host then query") << "https://host?k=v"
                                         << "https"
                                         << "host" << 0 << "" << QStringList{"k"} << QStringList{"v"};
        QTest::newRow("no scheme") << "host/path?k"
                                   << ""
                                   << "" << 0 << "" << QStringList{"k"} << QStringList{""};
        QTest::newRow("empty pair kept")
            << "http://h/p?a=1&&b="
            << "http"
            << "h" << 0 << "p" << QStringList{"a", "", "b"} << QStringList{"1", "", ""};
        QTest::newRow("query not decoded") << "http://h/p?q=a+b%20c"
                                           << "http"
                                           << "h" << 0 << "p" << QStringList{"q"} << QStringList{"a+b%20c"};
        QTest::newRow("empty") << ""
                               << ""
                               << "" << 0 << "" << QStringList() << QStringList();
    }
    void split() {
        QFETCH(QString, url);
        const TUrlRec rec = TUriCoder::Split(url);
        QTEST(rec.Protocol, "protocol");
        QTEST(rec.Domain, "domain");
        QTEST(int(rec.Port), "port");
        QTEST(rec.Path, "path");
        QTEST(rec.QueryK, "keys");
        QTEST(rec.QueryV, "values");
    }

    void build() {
        TUrlRec rec;
        rec.Domain = "host.example";
        rec.Port = 8080;
        rec.Path = "v1/x";
        rec.QueryK = {"k"};
        rec.QueryV = {"a b"};
        QCOMPARE(TUriCoder::Build(rec, true, true), QString("http://host.example:8080/v1/x?k=a+b"));
        QCOMPARE(TUriCoder::Build(rec, true, false), QString("http://host.example:8080/v1/x?k=a%20b"));
        QCOMPARE(TUriCoder::Build(rec, false, true), QString("http://host.example:8080/v1/x?k=a b"));

        rec.Protocol = "https";
        rec.Port = 0;
        rec.Path = "/already";
        rec.QueryK = {"a b", "c"};
        rec.QueryV = {"&", ""};
        // Keys are never encoded.
        QCOMPARE(TUriCoder::Build(rec, true, true), QString("https://host.example/already?a b=%26&c="));

        rec.Path.clear();
        rec.QueryK.clear();
        rec.QueryV.clear();
        QCOMPARE(TUriCoder::Build(rec, true, true), QString("https://host.example/"));

        const QString url = "https://h:1/p/q?a=1&b=2";
        QCOMPARE(TUriCoder::Build(TUriCoder::Split(url), false, false), url);
    }

    void buildMismatch() {
        TUrlRec rec;
        rec.Domain = "h";
        rec.QueryK = {"a", "b"};
        rec.QueryV = {"1"};
        try {
            TUriCoder::Build(rec, true, true);
            QFAIL("no exception");
        } catch (const std::runtime_error &e) {
            QCOMPARE(QString(e.what()), QString("Url key/value mismatch"));
        }
    }
};

QTEST_GUILESS_MAIN(TestUriCoder)
#include "tst_UriCoder.moc"
