#include "data/TDOX_BaseQuenmark.h"

#include "crypto/TzovCryptoStreamTool.h"
#include "crypto/TzovCryptoTool.h"
#include "util/TColorTool.h"

#include <QBuffer>
#include <QFile>

namespace {
bool Resolves(const QString &AStartCode) {
    return TzovCryptoTool::IsValid_StartCode(AStartCode.trimmed().toUpper());
}
} // namespace

QByteArray TDOX_BaseQuenmark::DocumentBytes() const {
    pugi::xml_document doc;
    BuildDocument(doc, QStringLiteral("Tavix"));
    // The writer's own defaults: line breaks inside text as LF (the reader turns them back into CR LF).
    return ApplyLineBreaks(Serialize(doc, "", pugi::format_raw), TLineBreak::lbLF);
}

bool TDOX_BaseQuenmark::SaveTo_Stream(QIODevice *AStream, const QString &AStartCode) const {
    if (!AStream)
        return false;
    try {
        QByteArray bytes = DocumentBytes();
        if (AStartCode.isEmpty())
            return AStream->write(bytes) == bytes.size();
        QBuffer source(&bytes);
        source.open(QIODevice::ReadOnly);
        return TzovCryptoStreamTool::Encrypt(&source, AStream, AStartCode);
    } catch (...) {
        return false;
    }
}

bool TDOX_BaseQuenmark::SaveTo_File(const QString &AFQFilename, const QString &AStartCode) const {
    return SaveFileSafely(AFQFilename, [&](QIODevice *AFile) { return SaveTo_Stream(AFile, AStartCode); });
}

QString TDOX_BaseQuenmark::SaveTo_String(const QString &AStartCode) const {
    try {
        QByteArray bytes = DocumentBytes();
        if (AStartCode.isEmpty() || !Resolves(AStartCode))
            return QString::fromUtf8(bytes);
        // Container bytes travel one per character.
        QBuffer source(&bytes);
        source.open(QIODevice::ReadOnly);
        QByteArray cipher;
        QBuffer dest(&cipher);
        dest.open(QIODevice::WriteOnly);
        if (!TzovCryptoStreamTool::Encrypt(&source, &dest, AStartCode))
            return {};
        return QString::fromLatin1(cipher);
    } catch (...) {
        return {};
    }
}

bool TDOX_BaseQuenmark::ReadDecrypted(const QByteArray &APlain) { return LoadFrom_Bytes(APlain); }

bool TDOX_BaseQuenmark::LoadFrom_Stream(QIODevice *AStream, const QString &AStartCode) {
    if (!AStream)
        return false;
    try {
        if (AStartCode.isEmpty())
            return ReadDecrypted(AStream->readAll());
        QByteArray plain;
        QBuffer dest(&plain);
        dest.open(QIODevice::ReadWrite);
        if (!TzovCryptoStreamTool::Decrypt(AStream, &dest, AStartCode))
            return false;
        dest.close();
        return ReadDecrypted(plain);
    } catch (...) {
        return false;
    }
}

bool TDOX_BaseQuenmark::LoadFrom_File(const QString &AFQFilename, const QString &AStartCode) {
    QFile file(AFQFilename);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return LoadFrom_Stream(&file, AStartCode);
}

bool TDOX_BaseQuenmark::LoadFrom_String(const QString &AStr, const QString &AStartCode) {
    try {
        if (AStartCode.isEmpty() || !Resolves(AStartCode))
            return ReadDecrypted(AStr.toUtf8());
        QByteArray cipher = AStr.toLatin1();
        QBuffer source(&cipher);
        source.open(QIODevice::ReadOnly);
        QByteArray plain;
        QBuffer dest(&plain);
        dest.open(QIODevice::ReadWrite);
        if (!TzovCryptoStreamTool::Decrypt(&source, &dest, AStartCode))
            return false;
        dest.close();
        return ReadDecrypted(plain);
    } catch (...) {
        return false;
    }
}

// --- Colours
TXmlNode TDOX_BaseQuenmark::ChildNode_Write_AsColor(TXmlNode ANode, const char *ANodeName, quint32 AValue) {
    return ChildNode_Write_AsString(ANode, ANodeName, TColorTool::ToHexString(AValue));
}
quint32 TDOX_BaseQuenmark::ChildNode_Read_AsColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsColor(ANode, ANodeName, ADefault, unused);
}
quint32 TDOX_BaseQuenmark::ChildNode_Read_AsColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault,
                                                  TXmlNode &ANewNode) {
    const QString text = ChildNode_Read_AsString(ANode, ANodeName, QString(), ANewNode);
    return ANewNode ? TColorTool::FromHexString(text, ADefault) : ADefault;
}
void TDOX_BaseQuenmark::Attribute_Write_AsColor(TXmlNode ANode, const char *AAttributeName, quint32 AValue) {
    Attribute_Write_AsString(ANode, AAttributeName, TColorTool::ToHexString(AValue));
}
quint32 TDOX_BaseQuenmark::Attribute_Read_AsColor(TXmlNode ANode, const char *AAttributeName, quint32 ADefault) {
    if (!ANode || !ANode.attribute(AAttributeName))
        return ADefault;
    return TColorTool::FromHexString(Attribute_Read_AsString(ANode, AAttributeName, QString()), ADefault);
}
TXmlNode TDOX_BaseQuenmark::ChildNode_Write_AsAlphaColor(TXmlNode ANode, const char *ANodeName, quint32 AValue) {
    return ChildNode_Write_AsString(ANode, ANodeName, TAlphaColorTool::ToHexString(AValue));
}
quint32 TDOX_BaseQuenmark::ChildNode_Read_AsAlphaColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsAlphaColor(ANode, ANodeName, ADefault, unused);
}
quint32 TDOX_BaseQuenmark::ChildNode_Read_AsAlphaColor(TXmlNode ANode, const char *ANodeName,
                                                       quint32 ADefault, TXmlNode &ANewNode) {
    const QString text = ChildNode_Read_AsString(ANode, ANodeName, QString(), ANewNode);
    return ANewNode ? TAlphaColorTool::FromHexString(text, ADefault) : ADefault;
}
void TDOX_BaseQuenmark::Attribute_Write_AsAlphaColor(TXmlNode ANode, const char *AAttributeName, quint32 AValue) {
    Attribute_Write_AsString(ANode, AAttributeName, TAlphaColorTool::ToHexString(AValue));
}
quint32 TDOX_BaseQuenmark::Attribute_Read_AsAlphaColor(TXmlNode ANode, const char *AAttributeName,
                                                       quint32 ADefault) {
    if (!ANode || !ANode.attribute(AAttributeName))
        return ADefault;
    return TAlphaColorTool::FromHexString(Attribute_Read_AsString(ANode, AAttributeName, QString()), ADefault);
}

// --- Binary
TXmlNode TDOX_BaseQuenmark::ChildNode_Write_AsBinary(TXmlNode ANode, const char *ANodeName, QBuffer *AStream) {
    if (!ANode || !AStream)
        return {};
    return AppendBase64Child(ANode, ANodeName, AStream->data());
}
bool TDOX_BaseQuenmark::ChildNode_Read_AsBinary(TXmlNode ANode, const char *ANodeName, QBuffer *AStream) {
    QByteArray bytes;
    if (!AStream || !ReadBase64Child(ANode, ANodeName, bytes))
        return false;
    const bool wasOpen = AStream->isOpen();
    const QIODevice::OpenMode mode = AStream->openMode();
    if (wasOpen)
        AStream->close();
    AStream->setData(bytes);
    AStream->open(wasOpen ? mode : QIODevice::ReadWrite);
    AStream->seek(0);
    return true;
}
TXmlNode TDOX_BaseQuenmark::ChildNode_Write_AsBinary(TXmlNode ANode, const char *ANodeName,
                                                     const QByteArray &AValue) {
    return AppendBase64Child(ANode, ANodeName, AValue);
}
bool TDOX_BaseQuenmark::ChildNode_Read_AsBinary(TXmlNode ANode, const char *ANodeName, QByteArray &AValue) {
    return ReadBase64Child(ANode, ANodeName, AValue);
}
