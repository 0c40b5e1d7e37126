// Hexadecimal digits to bytes and integers and back.
#pragma once

#include <QByteArray>
#include <QString>

// Digits "0"-"9", "A"-"F" in either case; any other character counts as the digit 0, so nothing fails.
class THexTool {
public:
    THexTool() = delete;

    // The value of one hexadecimal digit, 0 for anything else.
    static int DigitValue(QChar AChar);
    static bool IsHexDigit(QChar AChar);
    // Two upper-case digits, high nibble first.
    static QString ByteToHex(quint8 AValue);
    // The byte given by the last two characters (a shorter text is padded with "0" on the left).
    static quint8 HexToByte(const QString &AValue);
    // All characters left to right in 32-bit arithmetic, so only the last eight digits count.
    static qint32 HexToInt(const QString &AValue);
    // Pairs of digits to bytes in order; an odd-length text is read as if it had one leading "0".
    static QByteArray HexToBytes(const QString &AValue);
};
