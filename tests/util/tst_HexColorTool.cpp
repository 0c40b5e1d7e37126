// Hexadecimal digits and colour values with their text forms.
#include "util/TColorTool.h"
#include "util/THexTool.h"

#include <QTest>

class TestHexColorTool : public QObject {
    Q_OBJECT

private slots:
    void byteToHex() {
        QCOMPARE(THexTool::ByteToHex(0), QString("00"));
        QCOMPARE(THexTool::ByteToHex(10), QString("0A"));
        QCOMPARE(THexTool::ByteToHex(255), QString("FF"));
        for (int b = 0; b < 256; ++b)
            QCOMPARE(int(THexTool::HexToByte(THexTool::ByteToHex(quint8(b)))), b);
    }

    void hexToByte_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("one digit") << "A" << 10;
        QTest::newRow("lower case") << "ff" << 255;
        QTest::newRow("last two count") << "1FF" << 255;
        QTest::newRow("non-digit is 0") << "G1" << 1;
        QTest::newRow("empty") << "" << 0;
    }
    void hexToByte() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(int(THexTool::HexToByte(text)), expected);
    }

    void hexToInt_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint32>("expected");
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("small") << "1a2B" << 0x1A2B;
        QTest::newRow("top bit wraps negative") << "FFFFFFFF" << -1;
        QTest::newRow("only last eight digits") << "123456789" << qint32(0x23456789);
        QTest::newRow("junk counts as 0") << "#1z" << 0x10;
    }
    void hexToInt() {
        QFETCH(QString, text);
        QFETCH(qint32, expected);
        QCOMPARE(THexTool::HexToInt(text), expected);
    }

    void hexToBytes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("empty") << "" << QByteArray();
        QTest::newRow("odd length") << "ABC" << QByteArray("\x0A\xBC", 2);
        QTest::newRow("even") << "00ff10" << QByteArray("\x00\xFF\x10", 3);
        QTest::newRow("single digit") << "7" << QByteArray("\x07", 1);
    }
    void hexToBytes() {
        QFETCH(QString, text);
        QFETCH(QByteArray, expected);
        QCOMPARE(THexTool::HexToBytes(text), expected);
    }

    void colorChannels() {
        const quint32 c = TColorTool::RGB(0x11, 0x22, 0x33);
        QCOMPARE(c, quint32(0x332211));
        quint8 r = 0, g = 0, b = 0;
        TColorTool::Split(c | 0xAB000000u, r, g, b);
        QCOMPARE(int(r), 0x11);
        QCOMPARE(int(g), 0x22);
        QCOMPARE(int(b), 0x33);
        // Setting a channel keeps the others and clears bits 24-31.
        QCOMPARE(TColorTool::SetRValue(0xFF332211u, 0x99), quint32(0x332299));
        QCOMPARE(TColorTool::SetGValue(0xFF332211u, 0x99), quint32(0x339911));
        QCOMPARE(TColorTool::SetBValue(0xFF332211u, 0x99), quint32(0x992211));
        QCOMPARE(TColorTool::ToHexString(c), QString("112233"));
        QCOMPARE(TColorTool::ToHexString(0xFF0000FFu), QString("FF0000"));
    }

    void alphaColorChannels() {
        const quint32 c = TAlphaColorTool::ARGB(0x80, 0x11, 0x22, 0x33);
        QCOMPARE(c, quint32(0x80112233));
        quint8 a = 0, r = 0, g = 0, b = 0;
        TAlphaColorTool::Split(c, a, r, g, b);
        QCOMPARE(QList<int>({a, r, g, b}), QList<int>({0x80, 0x11, 0x22, 0x33}));
        QCOMPARE(TAlphaColorTool::SetAValue(c, 0xFF), quint32(0xFF112233));
        QCOMPARE(TAlphaColorTool::SetRValue(c, 0xFF), quint32(0x80FF2233));
        QCOMPARE(TAlphaColorTool::SetGValue(c, 0xFF), quint32(0x8011FF33));
        QCOMPARE(TAlphaColorTool::SetBValue(c, 0xFF), quint32(0x801122FF));
        QCOMPARE(TAlphaColorTool::ToHexString(0xFF000000u), QString("FF000000"));
    }

    void colorFromHex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("blue") << "0000FF" << quint32(0xFF0000);
        QTest::newRow("hash and lower case") << "#ff8000" << quint32(0x0080FF);
        QTest::newRow("text around") << "colour: 102030;" << quint32(0x302010);
        QTest::newRow("longer run gives its first pairs") << "11223344" << quint32(0x332211);
        QTest::newRow("short run skipped") << "12 345 ABCDEF" << quint32(0xEFCDAB);
        QTest::newRow("too short") << "#12345" << quint32(0xDEAD);
        QTest::newRow("no digits") << "none" << quint32(0xDEAD);
    }
    void colorFromHex() {
        QFETCH(QString, text);
        QFETCH(quint32, expected);
        QCOMPARE(TColorTool::FromHexString(text, 0xDEAD), expected);
    }

    void alphaColorFromHex_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("expected");
        QTest::newRow("hash") << "#FFE1AF00" << quint32(0xFFE1AF00);
        QTest::newRow("six digits are not enough") << "#E1AF00" << quint32(0xDEAD);
        QTest::newRow("no digits") << "opaque" << quint32(0xDEAD);
        QTest::newRow("inside text") << "x80112233y" << quint32(0x80112233);
    }
    void alphaColorFromHex() {
        QFETCH(QString, text);
        QFETCH(quint32, expected);
        QCOMPARE(TAlphaColorTool::FromHexString(text, 0xDEAD), expected);
    }

    void conversionsAndRoundTrips() {
        const quint32 blue = TColorTool::FromHexString("0000FF", 0);
        QCOMPARE(int(TColorTool::GetBValue(blue)), 255);
        QCOMPARE(TColorTool::ToAlphaColor(blue), quint32(0xFF0000FF));
        QCOMPARE(TAlphaColorTool::ToColor(0x80112233u), quint32(0x332211));
        for (const quint32 v : {0x00000000u, 0x00FFFFFFu, 0x00123456u, 0xFF654321u}) {
            QCOMPARE(TColorTool::FromHexString(TColorTool::ToHexString(v), 1), v & 0xFFFFFF);
            QCOMPARE(TAlphaColorTool::FromHexString(TAlphaColorTool::ToHexString(v), 1), v);
        }
    }
};

QTEST_GUILESS_MAIN(TestHexColorTool)
#include "tst_HexColorTool.moc"
