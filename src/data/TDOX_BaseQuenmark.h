// Base of every record stored on disk or sent to the service: "Tavix" documents encrypted under a start code.
#pragma once

#include "data/TDOX_Base.h"

class QBuffer;

class TDOX_BaseQuenmark : public TDOX_Base {
public:
    using TDOX_Base::TDOX_Base;

    // The unencrypted loads of the base are deliberately hidden: these records are always read under a start code.
    QString SaveTo_String(const QString &AStartCode) const;
    bool SaveTo_Stream(QIODevice *AStream, const QString &AStartCode) const;
    bool SaveTo_File(const QString &AFQFilename, const QString &AStartCode) const;
    bool LoadFrom_String(const QString &AStr, const QString &AStartCode);
    bool LoadFrom_Stream(QIODevice *AStream, const QString &AStartCode);
    bool LoadFrom_File(const QString &AFQFilename, const QString &AStartCode);

    // The "Tavix" document as UTF-8, before encryption; throws EXmlWriteError for text XML cannot hold.
    QByteArray DocumentBytes() const;

    // Colour (red in the low byte) as RRGGBB and alpha colour as AARRGGBB.
    static TXmlNode ChildNode_Write_AsColor(TXmlNode ANode, const char *ANodeName, quint32 AValue);
    static quint32 ChildNode_Read_AsColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault);
    static quint32 ChildNode_Read_AsColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault,
                                          TXmlNode &ANewNode);
    static void Attribute_Write_AsColor(TXmlNode ANode, const char *AAttributeName, quint32 AValue);
    static quint32 Attribute_Read_AsColor(TXmlNode ANode, const char *AAttributeName, quint32 ADefault);
    static TXmlNode ChildNode_Write_AsAlphaColor(TXmlNode ANode, const char *ANodeName, quint32 AValue);
    static quint32 ChildNode_Read_AsAlphaColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault);
    static quint32 ChildNode_Read_AsAlphaColor(TXmlNode ANode, const char *ANodeName, quint32 ADefault,
                                               TXmlNode &ANewNode);
    static void Attribute_Write_AsAlphaColor(TXmlNode ANode, const char *AAttributeName, quint32 AValue);
    static quint32 Attribute_Read_AsAlphaColor(TXmlNode ANode, const char *AAttributeName, quint32 ADefault);

    // Whole memory stream as Base64, whatever its position (restored afterwards).
    static TXmlNode ChildNode_Write_AsBinary(TXmlNode ANode, const char *ANodeName, QBuffer *AStream);
    // Replaces the stream's content with the decoded bytes and rewinds it; false without element or stream.
    static bool ChildNode_Read_AsBinary(TXmlNode ANode, const char *ANodeName, QBuffer *AStream);
    // The same for a byte array held by a record.
    static TXmlNode ChildNode_Write_AsBinary(TXmlNode ANode, const char *ANodeName, const QByteArray &AValue);
    static bool ChildNode_Read_AsBinary(TXmlNode ANode, const char *ANodeName, QByteArray &AValue);

private:
    bool ReadDecrypted(const QByteArray &APlain);
};
