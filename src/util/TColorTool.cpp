#include "TColorTool.h"

#include "THexTool.h"

namespace {

bool IsHexDigit(QChar AChar) {
    const char16_t c = AChar.unicode();
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// Start of the first run of at least ADigits hexadecimal digits, or -1.
qsizetype FindHexRun(const QString &AText, int ADigits) {
    qsizetype runStart = 0;
    qsizetype runLength = 0;
    for (qsizetype i = 0; i < AText.size(); ++i) {
        if (!IsHexDigit(AText[i])) {
            runLength = 0;
            continue;
        }
        if (runLength++ == 0)
            runStart = i;
        if (runLength == ADigits)
            return runStart;
    }
    return -1;
}

quint8 PairAt(const QString &AText, qsizetype APos) {
    return quint8(THexTool::HexToInt(AText.mid(APos, 2)));
}

quint32 Channel(quint32 AColor, int AShift) {
    return (AColor >> AShift) & 0xFF;
}

quint32 Replace(quint32 AColor, int AShift, quint8 AValue) {
    return (AColor & ~(quint32(0xFF) << AShift)) | (quint32(AValue) << AShift);
}

} // namespace

void TColorTool::Split(quint32 AColor, quint8 &ARed, quint8 &AGreen, quint8 &ABlue) {
    ARed = GetRValue(AColor);
    AGreen = GetGValue(AColor);
    ABlue = GetBValue(AColor);
}

quint8 TColorTool::GetRValue(quint32 AColor) {
    return quint8(Channel(AColor, 0));
}
quint8 TColorTool::GetGValue(quint32 AColor) {
    return quint8(Channel(AColor, 8));
}
quint8 TColorTool::GetBValue(quint32 AColor) {
    return quint8(Channel(AColor, 16));
}

quint32 TColorTool::SetRValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 0, AValue) & 0xFFFFFF;
}
quint32 TColorTool::SetGValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 8, AValue) & 0xFFFFFF;
}
quint32 TColorTool::SetBValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 16, AValue) & 0xFFFFFF;
}

quint32 TColorTool::RGB(quint8 ARed, quint8 AGreen, quint8 ABlue) {
    return quint32(ARed) | (quint32(AGreen) << 8) | (quint32(ABlue) << 16);
}

QString TColorTool::ToHexString(quint32 AColor) {
    return THexTool::ByteToHex(GetRValue(AColor)) + THexTool::ByteToHex(GetGValue(AColor)) +
           THexTool::ByteToHex(GetBValue(AColor));
}

quint32 TColorTool::FromHexString(const QString &AColor, quint32 ADefault) {
    const qsizetype at = FindHexRun(AColor, 6);
    if (at < 0)
        return ADefault;
    return RGB(PairAt(AColor, at), PairAt(AColor, at + 2), PairAt(AColor, at + 4));
}

quint32 TColorTool::ToAlphaColor(quint32 AColor) {
    return TAlphaColorTool::ARGB(255, GetRValue(AColor), GetGValue(AColor), GetBValue(AColor));
}

void TAlphaColorTool::Split(quint32 AColor, quint8 &AAlpha, quint8 &ARed, quint8 &AGreen, quint8 &ABlue) {
    AAlpha = GetAValue(AColor);
    ARed = GetRValue(AColor);
    AGreen = GetGValue(AColor);
    ABlue = GetBValue(AColor);
}

quint8 TAlphaColorTool::GetAValue(quint32 AColor) {
    return quint8(Channel(AColor, 24));
}
quint8 TAlphaColorTool::GetRValue(quint32 AColor) {
    return quint8(Channel(AColor, 16));
}
quint8 TAlphaColorTool::GetGValue(quint32 AColor) {
    return quint8(Channel(AColor, 8));
}
quint8 TAlphaColorTool::GetBValue(quint32 AColor) {
    return quint8(Channel(AColor, 0));
}

quint32 TAlphaColorTool::SetAValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 24, AValue);
}
quint32 TAlphaColorTool::SetRValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 16, AValue);
}
quint32 TAlphaColorTool::SetGValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 8, AValue);
}
quint32 TAlphaColorTool::SetBValue(quint32 AColor, quint8 AValue) {
    return Replace(AColor, 0, AValue);
}

quint32 TAlphaColorTool::ARGB(quint8 AAlpha, quint8 ARed, quint8 AGreen, quint8 ABlue) {
    return (quint32(AAlpha) << 24) | (quint32(ARed) << 16) | (quint32(AGreen) << 8) | quint32(ABlue);
}

QString TAlphaColorTool::ToHexString(quint32 AColor) {
    return THexTool::ByteToHex(GetAValue(AColor)) + THexTool::ByteToHex(GetRValue(AColor)) +
           THexTool::ByteToHex(GetGValue(AColor)) + THexTool::ByteToHex(GetBValue(AColor));
}

quint32 TAlphaColorTool::FromHexString(const QString &AColor, quint32 ADefault) {
    const qsizetype at = FindHexRun(AColor, 8);
    if (at < 0)
        return ADefault;
    return ARGB(PairAt(AColor, at), PairAt(AColor, at + 2), PairAt(AColor, at + 4), PairAt(AColor, at + 6));
}

quint32 TAlphaColorTool::ToColor(quint32 AColor) {
    return TColorTool::RGB(GetRValue(AColor), GetGValue(AColor), GetBValue(AColor));
}
