#include "TUriCoder.h"

#include "THexTool.h"

#include <QByteArray>
#include <QStringDecoder>

#include <stdexcept>

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

bool IsUnreserved(uchar AByte) {
    return (AByte >= 'A' && AByte <= 'Z') || (AByte >= 'a' && AByte <= 'z') ||
           (AByte >= '0' && AByte <= '9') || AByte == '-' || AByte == '_' || AByte == '.' || AByte == '!' ||
           AByte == '~' || AByte == '*' || AByte == '\'' || AByte == '(' || AByte == ')';
}

int HexValue(QChar AChar) { return THexTool::IsHexDigit(AChar) ? THexTool::DigitValue(AChar) : -1; }

} // namespace

TUnsafeCharSet TUriCoder::CharSet(const char *AChars) {
    TUnsafeCharSet result;
    for (; *AChars; ++AChars)
        result.set(uchar(*AChars));
    return result;
}

TUnsafeCharSet TUriCoder::EmailUnsafeChars() {
    // "&" and "?" as well, so a subject holding them is not cut short or read as a further header.
    return CharSet(" #%*+<>&?");
}

QString TUriCoder::Encode(const QString &ASrc, bool ASpaceToPlus) {
    const QByteArray utf8 = ASrc.toUtf8();
    QString result;
    result.reserve(utf8.size() * 3);
    for (const char c : utf8) {
        const uchar b = uchar(c);
        if (IsUnreserved(b)) {
            result += QChar(b);
        } else if (b == ' ' && ASpaceToPlus) {
            result += u'+';
        } else {
            result += u'%';
            result += QChar(HexDigits[b >> 4]);
            result += QChar(HexDigits[b & 0x0F]);
        }
    }
    return result;
}

QString TUriCoder::EncodeEx(const QString &AS, const TUnsafeCharSet &AUnsafeChars) {
    QString result;
    result.reserve(AS.size());
    for (const QChar ch : AS) {
        const char16_t c = ch.unicode();
        if (c < 32 || (c <= 255 && AUnsafeChars.test(c)) || c >= 0x20AC)
            result += u'%' + QString::number(c, 16).toUpper().rightJustified(2, u'0');
        else
            result += ch;
    }
    return result;
}

QString TUriCoder::Decode(const QString &ASrc) {
    QString result;
    result.reserve(ASrc.size());
    const qsizetype n = ASrc.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = ASrc[i];
        if (c == u'+') {
            result += u' ';
        } else if (c == u'%') {
            const int high = i + 1 < n ? HexValue(ASrc[i + 1]) : -1;
            const int low = i + 2 < n ? HexValue(ASrc[i + 2]) : -1;
            if (high >= 0 && low >= 0)
                result += QChar(char16_t(high * 16 + low));
            // Malformed escapes are dropped with what follows them, but never past the end of the text.
            i += 2;
        } else {
            result += c;
        }
    }
    return result;
}

bool TUriCoder::IsUTF8(const QString &AS) {
    QByteArray bytes;
    bytes.reserve(AS.size());
    for (const QChar c : AS) {
        if (c.unicode() > 255)
            return false;
        bytes.append(char(c.unicode()));
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    return !decoder.hasError() && text.toUtf8() == bytes;
}

QString TUriCoder::UnUTF8(const QString &AS) {
    if (!IsUTF8(AS))
        return AS;
    return QString::fromUtf8(AS.toLatin1());
}

TUrlRec TUriCoder::Split(const QString &AUrl) {
    TUrlRec result;
    QString address = AUrl;
    QString query;
    const qsizetype question = AUrl.indexOf(u'?');
    if (question >= 0) {
        address = AUrl.left(question);
        query = AUrl.mid(question + 1);
    }

    const qsizetype scheme = address.indexOf(QLatin1String("://"));
    if (scheme >= 0) {
        result.Protocol = address.left(scheme);
        const QString rest = address.mid(scheme + 3);
        // A URL that ends after its host ("https://host:8443") still names the host.
        const qsizetype slash = rest.indexOf(u'/');
        const QString host = slash >= 0 ? rest.left(slash) : rest;
        if (slash >= 0)
            result.Path = rest.mid(slash + 1);
        const qsizetype colon = host.indexOf(u':');
        if (colon >= 0) {
            result.Domain = host.left(colon);
            bool ok = false;
            const int port = host.mid(colon + 1).toInt(&ok);
            result.Port = ok ? port : 0;
        } else {
            result.Domain = host;
        }
    }

    while (!query.isEmpty()) {
        const qsizetype amp = query.indexOf(u'&');
        const QString pair = amp >= 0 ? query.left(amp) : query;
        query = amp >= 0 ? query.mid(amp + 1) : QString();
        const qsizetype eq = pair.indexOf(u'=');
        result.QueryK.append(eq >= 0 ? pair.left(eq) : pair);
        result.QueryV.append(eq >= 0 ? pair.mid(eq + 1) : QString());
    }
    return result;
}

QString TUriCoder::Build(const TUrlRec &AUrl, bool AEncode, bool ASpaceToPlus) {
    if (AUrl.QueryK.size() != AUrl.QueryV.size())
        throw std::runtime_error("Url key/value mismatch");
    QString result =
        AUrl.Protocol.isEmpty() ? QStringLiteral("http://") : AUrl.Protocol + QLatin1String("://");
    result += AUrl.Domain;
    if (AUrl.Port > 0)
        result += u':' + QString::number(AUrl.Port);
    if (!AUrl.Path.startsWith(u'/'))
        result += u'/';
    result += AUrl.Path;
    for (qsizetype i = 0; i < AUrl.QueryK.size(); ++i) {
        result += i == 0 ? u'?' : u'&';
        result += AUrl.QueryK[i];
        result += u'=';
        result += AEncode ? Encode(AUrl.QueryV[i], ASpaceToPlus) : AUrl.QueryV[i];
    }
    return result;
}
