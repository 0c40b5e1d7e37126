// Base of every record: writes itself into one XML element, reads itself back, saves and loads plain documents.
#pragma once

#include "util/TDateTime.h"

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>
#include <pugixml.hpp>
#include <stdexcept>

class QBuffer;

// The XML element a record writes into or reads from; a null node means "not set".
using TXmlNode = pugi::xml_node;

enum class TLineBreak { lbLF, lbCR, lbCRLF, lbAsIs };
enum class TIndentType { itNone, itFlat, itIndented };

// Raised inside a save when a value cannot be written as XML; every save catches it.
class EXmlWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Change notification of records that report changes (billing address, coupon redeemer, configuration).
class TDOX_Base;
using TNotifyEvent = std::function<void(TDOX_Base *ASender)>;

class TDOX_Base {
public:
    explicit TDOX_Base(const QString &ANodeName);
    virtual ~TDOX_Base() = default;
    TDOX_Base(const TDOX_Base &) = delete;
    TDOX_Base &operator=(const TDOX_Base &) = delete;

    const QString &NodeName_OnCreate() const { return FNodeName_OnCreate; }
    const QString &NodeName() const { return FNodeName; }
    TLineBreak LineBreak() const { return FLineBreak; }
    void SetLineBreak(TLineBreak AValue) { FLineBreak = AValue; }
    TIndentType IndentType() const { return FIndentType; }
    void SetIndentType(TIndentType AValue) { FIndentType = AValue; }
    bool WriteBOM() const { return FWriteBOM; }
    void SetWriteBOM(bool AValue) { FWriteBOM = AValue; }
    quint16 WriteCodePage() const { return FWriteCodePage; }
    void SetWriteCodePage(quint16 AValue) { FWriteCodePage = AValue; }

    // Descendants first call the inherited operation (see the class comment of each record).
    virtual void Initialize();
    virtual void Duplicate(const TDOX_Base &AObj);
    virtual void WriteToNode(TXmlNode ANode) const;
    virtual void ReadFromNode(TXmlNode ANode);

    // Plain documents. Never throw: failures give false or an empty result.
    QByteArray SaveTo_String(const QString &ADocumentName = QString()) const;
    bool SaveTo_Stream(QIODevice *AStream, const QString &ADocumentName = QString()) const;
    bool SaveTo_File(const QString &AFQFilename, const QString &ADocumentName = QString()) const;
    bool LoadFrom_String(const QByteArray &AStr);
    bool LoadFrom_Stream(QIODevice *AStream);
    bool LoadFrom_File(const QString &AFQFilename);

    // Structural helpers.
    static void ChildNode_AddAndWrite(TXmlNode ANode, const TDOX_Base *AObj);
    static void ChildNode_FindAndRead(TXmlNode ANode, TDOX_Base *AObj);
    // Re-indents a document (two blanks, CR LF); empty when it does not parse.
    static QString XmlToPrettyFormat(const QString &AXmlStr);

    // Value helpers. Writers throw EXmlWriteError for text XML cannot hold; readers never fail.
    static TXmlNode ChildNode_Write_AsString(TXmlNode ANode, const char *ANodeName, const QString &AValue);
    static QString ChildNode_Read_AsString(TXmlNode ANode, const char *ANodeName, const QString &ADefault);
    static QString ChildNode_Read_AsString(TXmlNode ANode, const char *ANodeName, const QString &ADefault,
                                           TXmlNode &ANewNode);
    static void Attribute_Write_AsString(TXmlNode ANode, const char *AAttributeName, const QString &AValue);
    static QString Attribute_Read_AsString(TXmlNode ANode, const char *AAttributeName, const QString &ADefault);

    static TXmlNode ChildNode_Write_AsBoolean(TXmlNode ANode, const char *ANodeName, bool AValue);
    static bool ChildNode_Read_AsBoolean(TXmlNode ANode, const char *ANodeName, bool ADefault);
    static bool ChildNode_Read_AsBoolean(TXmlNode ANode, const char *ANodeName, bool ADefault, TXmlNode &ANewNode);
    static void Attribute_Write_AsBoolean(TXmlNode ANode, const char *AAttributeName, bool AValue);
    static bool Attribute_Read_AsBoolean(TXmlNode ANode, const char *AAttributeName, bool ADefault);

    static TXmlNode ChildNode_Write_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 AValue);
    static qint32 ChildNode_Read_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 ADefault);
    static qint32 ChildNode_Read_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 ADefault,
                                           TXmlNode &ANewNode);
    static void Attribute_Write_AsInteger(TXmlNode ANode, const char *AAttributeName, qint32 AValue);
    static qint32 Attribute_Read_AsInteger(TXmlNode ANode, const char *AAttributeName, qint32 ADefault);

    static TXmlNode ChildNode_Write_AsLongInt(TXmlNode ANode, const char *ANodeName, qint32 AValue) {
        return ChildNode_Write_AsInteger(ANode, ANodeName, AValue);
    }
    static qint32 ChildNode_Read_AsLongInt(TXmlNode ANode, const char *ANodeName, qint32 ADefault) {
        return ChildNode_Read_AsInteger(ANode, ANodeName, ADefault);
    }
    static qint32 ChildNode_Read_AsLongInt(TXmlNode ANode, const char *ANodeName, qint32 ADefault,
                                           TXmlNode &ANewNode) {
        return ChildNode_Read_AsInteger(ANode, ANodeName, ADefault, ANewNode);
    }
    static void Attribute_Write_AsLongInt(TXmlNode ANode, const char *AAttributeName, qint32 AValue) {
        Attribute_Write_AsInteger(ANode, AAttributeName, AValue);
    }
    static qint32 Attribute_Read_AsLongInt(TXmlNode ANode, const char *AAttributeName, qint32 ADefault) {
        return Attribute_Read_AsInteger(ANode, AAttributeName, ADefault);
    }

    static TXmlNode ChildNode_Write_AsDouble(TXmlNode ANode, const char *ANodeName, double AValue);
    static double ChildNode_Read_AsDouble(TXmlNode ANode, const char *ANodeName, double ADefault);
    static double ChildNode_Read_AsDouble(TXmlNode ANode, const char *ANodeName, double ADefault,
                                          TXmlNode &ANewNode);
    static void Attribute_Write_AsDouble(TXmlNode ANode, const char *AAttributeName, double AValue);
    static double Attribute_Read_AsDouble(TXmlNode ANode, const char *AAttributeName, double ADefault);
    static TXmlNode ChildNode_Write_AsSingle(TXmlNode ANode, const char *ANodeName, float AValue) {
        return ChildNode_Write_AsDouble(ANode, ANodeName, double(AValue));
    }
    static float ChildNode_Read_AsSingle(TXmlNode ANode, const char *ANodeName, float ADefault) {
        return float(ChildNode_Read_AsDouble(ANode, ANodeName, double(ADefault)));
    }
    static float ChildNode_Read_AsSingle(TXmlNode ANode, const char *ANodeName, float ADefault,
                                         TXmlNode &ANewNode) {
        return float(ChildNode_Read_AsDouble(ANode, ANodeName, double(ADefault), ANewNode));
    }
    static void Attribute_Write_AsSingle(TXmlNode ANode, const char *AAttributeName, float AValue) {
        Attribute_Write_AsDouble(ANode, AAttributeName, double(AValue));
    }
    static float Attribute_Read_AsSingle(TXmlNode ANode, const char *AAttributeName, float ADefault) {
        return float(Attribute_Read_AsDouble(ANode, AAttributeName, double(ADefault)));
    }

    static TXmlNode ChildNode_Write_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime AValue);
    static TDateTime ChildNode_Read_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime ADefault);
    static TDateTime ChildNode_Read_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime ADefault,
                                               TXmlNode &ANewNode);
    static void Attribute_Write_AsDateTime(TXmlNode ANode, const char *AAttributeName, TDateTime AValue);
    static TDateTime Attribute_Read_AsDateTime(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault);

    static TXmlNode ChildNode_Write_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime AValue);
    static TDateTime ChildNode_Read_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime ADefault);
    static TDateTime ChildNode_Read_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime ADefault,
                                                TXmlNode &ANewNode);
    static void Attribute_Write_AsDateTimeZ(TXmlNode ANode, const char *AAttributeName, TDateTime AValue);
    static TDateTime Attribute_Read_AsDateTimeZ(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault);

    static void Attribute_Write_AsDate(TXmlNode ANode, const char *AAttributeName, TDateTime AValue);
    static TDateTime Attribute_Read_AsDate(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault);
    static void Attribute_Write_AsTime(TXmlNode ANode, const char *AAttributeName, TDateTime AValue);
    static TDateTime Attribute_Read_AsTime(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault);

    // Base64 of the stream's bytes from its current position, in lines of 76 characters.
    static TXmlNode ChildNode_Write_AsBase64(TXmlNode ANode, const char *ANodeName, QIODevice *AStream);
    // Decodes into AStream at its position; false without element, stream or valid Base64.
    static bool ChildNode_Read_AsBase64(TXmlNode ANode, const char *ANodeName, QIODevice *AStream);

    // The whole content of a stream, whatever its position (restored afterwards); empty without a stream.
    static QByteArray WholeStream(QIODevice *AStream);
    // All bytes of an existing file; false when it is missing or cannot be read completely.
    static bool ReadFileBytes(const QString &AFQFilename, QByteArray &AData);

    // Converts record text to the XML library's form, refusing characters XML cannot hold.
    static std::string ToXmlText(const QString &AValue);
    // All text inside an element, concatenated, with line breaks as CR LF.
    static QString NodeText(TXmlNode ANode);

protected:
    // Descendants call this last in Duplicate: a copy keeps the element name it was created with.
    void RestoreNodeName() { FNodeName = FNodeName_OnCreate; }

    bool LoadFrom_Bytes(const QByteArray &ABytes);
    static TXmlNode AppendBase64Child(TXmlNode ANode, const char *ANodeName, const QByteArray &ABytes);
    static bool ReadBase64Child(TXmlNode ANode, const char *ANodeName, QByteArray &ABytes);
    // Builds the document that the saves serialise.
    void BuildDocument(pugi::xml_document &ADoc, const QString &ARootName) const;
    static QByteArray Serialize(const pugi::xml_document &ADoc, const char *AIndent, unsigned AFlags);
    // Every line break as LF, then in the requested style.
    static QByteArray ApplyLineBreaks(QByteArray AText, TLineBreak AStyle);
    // Writes through a temporary file in the same folder, so a failed save never destroys the previous file.
    static bool SaveFileSafely(const QString &AFQFilename, const std::function<bool(QIODevice *)> &AWrite);
    static bool FindRecordNode(const pugi::xml_document &ADoc, const QString &ANodeName, TXmlNode &ANode);

private:
    QString FNodeName_OnCreate;
    TLineBreak FLineBreak = TLineBreak::lbCRLF;
    TIndentType FIndentType = TIndentType::itNone;
    bool FWriteBOM = true;
    quint16 FWriteCodePage = 65001;
    QString FNodeName;
};

// Trims leading and trailing blanks and control characters, as every text setter of a record does.
QString TrimText(const QString &AValue);
