// Percent-encoding, and a simple URL splitter and builder.
#pragma once

#include <QString>
#include <QStringList>

#include <bitset>

// One URL in parts. Entry i of QueryK and QueryV form one query pair.
struct TUrlRec {
    QString Protocol; // without "://"
    QString Domain;
    qint32 Port = 0; // 0 = none
    QString Path;    // without its leading "/"
    QStringList QueryK;
    QStringList QueryV;
};

// 8-bit character codes to be percent-encoded by EncodeEx.
using TUnsafeCharSet = std::bitset<256>;

class TUriCoder {
public:
    TUriCoder() = delete;

    // The set holding each character of AChars (8-bit codes only).
    static TUnsafeCharSet CharSet(const char *AChars);
    // What "mailto:" addresses and subjects must not carry raw.
    static TUnsafeCharSet EmailUnsafeChars();

    // Query value: every byte of the UTF-8 form outside A-Z a-z 0-9 - _ . ! ~ * ' ( ) becomes "%XX";
    // a blank becomes "+" instead when ASpaceToPlus is set.
    static QString Encode(const QString &ASrc, bool ASpaceToPlus);
    // Per 16-bit character: "%" and its upper-case hex code (at least two digits) for codes below 32, codes
    // up to 255 in AUnsafeChars, and codes from 8364 (0x20AC) up; everything else unchanged.
    static QString EncodeEx(const QString &AS, const TUnsafeCharSet &AUnsafeChars);
    // "+" becomes a blank, "%XX" the character with code XX (0-255); a "%" not followed by two hex digits is
    // dropped together with the (up to) two characters after it. Apply UnUTF8 to get text back from bytes.
    static QString Decode(const QString &ASrc);
    // True when AS, as 8-bit codes, is well-formed UTF-8 (a character above 255 makes it not a byte string).
    static bool IsUTF8(const QString &AS);
    // AS read as UTF-8 when IsUTF8, else AS unchanged.
    static QString UnUTF8(const QString &AS);

    // Splits at the first "?", "://", "/" and ":"; query pairs at "&" and their first "="; nothing is
    // decoded.
    static TUrlRec Split(const QString &AUrl);
    // Protocol ("http" when empty), domain, port when above 0, "/" and path, then the query pairs with their
    // values Encode-d when AEncode is set; keys are written as they stand.
    // Throws std::runtime_error("Url key/value mismatch") when QueryK and QueryV differ in length; the only
    // operation of these helpers that throws.
    static QString Build(const TUrlRec &AUrl, bool AEncode, bool ASpaceToPlus);
};
