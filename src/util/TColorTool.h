// Colour and alpha-colour values, their channels and their hexadecimal text.
#pragma once

#include <QString>

// Colour: red in bits 0-7, green 8-15, blue 16-23; bits 24-31 carry nothing. Text form "RRGGBB".
class TColorTool {
public:
    TColorTool() = delete;

    static void Split(quint32 AColor, quint8 &ARed, quint8 &AGreen, quint8 &ABlue);
    static quint8 GetRValue(quint32 AColor);
    static quint8 GetGValue(quint32 AColor);
    static quint8 GetBValue(quint32 AColor);
    // Replace one channel, keep the other two, clear bits 24-31.
    static quint32 SetRValue(quint32 AColor, quint8 AValue);
    static quint32 SetGValue(quint32 AColor, quint8 AValue);
    static quint32 SetBValue(quint32 AColor, quint8 AValue);
    static quint32 RGB(quint8 ARed, quint8 AGreen, quint8 ABlue);
    static QString ToHexString(quint32 AColor);
    // The first run of three hex digit pairs anywhere in the text ("#", other text around it is ignored);
    // ADefault when there is none.
    static quint32 FromHexString(const QString &AColor, quint32 ADefault);
    // Opaque alpha colour with the same red, green, blue.
    static quint32 ToAlphaColor(quint32 AColor);
};

// Alpha colour: alpha (255 = opaque) in bits 24-31, red 16-23, green 8-15, blue 0-7. Text form "AARRGGBB".
class TAlphaColorTool {
public:
    TAlphaColorTool() = delete;

    static void Split(quint32 AColor, quint8 &AAlpha, quint8 &ARed, quint8 &AGreen, quint8 &ABlue);
    static quint8 GetAValue(quint32 AColor);
    static quint8 GetRValue(quint32 AColor);
    static quint8 GetGValue(quint32 AColor);
    static quint8 GetBValue(quint32 AColor);
    // Replace one channel, keep all others.
    static quint32 SetAValue(quint32 AColor, quint8 AValue);
    static quint32 SetRValue(quint32 AColor, quint8 AValue);
    static quint32 SetGValue(quint32 AColor, quint8 AValue);
    static quint32 SetBValue(quint32 AColor, quint8 AValue);
    static quint32 ARGB(quint8 AAlpha, quint8 ARed, quint8 AGreen, quint8 ABlue);
    static QString ToHexString(quint32 AColor);
    // The first run of four hex digit pairs anywhere in the text; ADefault when there is none.
    static quint32 FromHexString(const QString &AColor, quint32 ADefault);
    // Colour with the same red, green, blue; alpha dropped.
    static quint32 ToColor(quint32 AColor);
};
