#include "THexTool.h"

bool THexTool::IsHexDigit(QChar AChar) {
    const char16_t c = AChar.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

int THexTool::DigitValue(QChar AChar) {
    const char16_t c = AChar.unicode();
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    return 0;
}

QString THexTool::ByteToHex(quint8 AValue) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const QChar text[2] = {QChar(digits[AValue >> 4]), QChar(digits[AValue & 0x0F])};
    return QString(text, 2);
}

quint8 THexTool::HexToByte(const QString &AValue) {
    const qsizetype n = AValue.size();
    const int high = n >= 2 ? DigitValue(AValue[n - 2]) : 0;
    const int low = n >= 1 ? DigitValue(AValue[n - 1]) : 0;
    return quint8(high * 16 + low);
}

qint32 THexTool::HexToInt(const QString &AValue) {
    quint32 result = 0;
    for (const QChar c : AValue)
        result = result * 16 + quint32(DigitValue(c));
    return qint32(result);
}

QByteArray THexTool::HexToBytes(const QString &AValue) {
    const qsizetype n = AValue.size();
    QByteArray result;
    result.reserve((n + 1) / 2);
    qsizetype i = 0;
    if (n % 2 != 0) {
        result.append(char(DigitValue(AValue[0])));
        i = 1;
    }
    for (; i < n; i += 2)
        result.append(char(DigitValue(AValue[i]) * 16 + DigitValue(AValue[i + 1])));
    return result;
}
