#include "data/TDOX_Base.h"

#include "util/TDateTimeTool.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace {

bool IsForbiddenXmlChar(char16_t c) {
    return (c < 0x20 && c != 0x09 && c != 0x0A && c != 0x0D) || c == 0xFFFE || c == 0xFFFF;
}

QString CrLfText(QString AText) {
    if (!AText.contains(u'\n') && !AText.contains(u'\r'))
        return AText;
    AText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    AText.replace(u'\r', u'\n');
    AText.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return AText;
}

void AppendDeclaration(pugi::xml_document &ADoc) {
    pugi::xml_node decl = ADoc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    decl.append_attribute("encoding") = "utf-8";
    decl.append_attribute("standalone") = "yes";
}

QString AttributeText(TXmlNode ANode, const char *AName, bool &AFound) {
    AFound = false;
    if (!ANode)
        return {};
    const pugi::xml_attribute attr = ANode.attribute(AName);
    if (!attr)
        return {};
    AFound = true;
    return QString::fromUtf8(attr.value());
}

// Text of the first direct child named AName; AFound tells whether there was one.
QString ChildText(TXmlNode ANode, const char *AName, bool &AFound, TXmlNode *ANewNode = nullptr) {
    AFound = false;
    if (ANewNode)
        *ANewNode = TXmlNode();
    if (!ANode)
        return {};
    const TXmlNode child = ANode.child(AName);
    if (!child)
        return {};
    AFound = true;
    if (ANewNode)
        *ANewNode = child;
    return TDOX_Base::NodeText(child);
}

// A child's or attribute's text converted by AConvert(text, default); the default when it is absent.
template <typename T, typename TConvert>
T ReadChild(TXmlNode ANode, const char *AName, T ADefault, TXmlNode *ANewNode, TConvert AConvert) {
    bool found;
    const QString text = ChildText(ANode, AName, found, ANewNode);
    return found ? T(AConvert(text, ADefault)) : ADefault;
}

template <typename T, typename TConvert>
T ReadAttribute(TXmlNode ANode, const char *AName, T ADefault, TConvert AConvert) {
    bool found;
    const QString text = AttributeText(ANode, AName, found);
    return found ? T(AConvert(text, ADefault)) : ADefault;
}

TXmlNode AppendTextChild(TXmlNode ANode, const char *AName, const QString &AText) {
    if (!ANode)
        return {};
    const std::string text = TDOX_Base::ToXmlText(AText);
    TXmlNode child = ANode.append_child(AName);
    if (!text.empty())
        child.append_child(pugi::node_pcdata).set_value(text.c_str());
    return child;
}

void SetAttribute(TXmlNode ANode, const char *AName, const QString &AText) {
    if (!ANode)
        return;
    const std::string text = TDOX_Base::ToXmlText(AText);
    pugi::xml_attribute attr = ANode.attribute(AName);
    if (!attr)
        attr = ANode.append_attribute(AName);
    attr.set_value(text.c_str());
}

QString BoolText(bool AValue) { return AValue ? QStringLiteral("true") : QStringLiteral("false"); }
// Any text but "true" in some letter case is false, whatever the default.
bool BoolFromText(const QString &AText, bool = false) {
    return AText.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0;
}

// Element text is trimmed, attribute text kept as it stands.
QString TrimmedText(const QString &AText, const QString &) { return TrimText(AText); }
QString TextAsIs(const QString &AText, const QString &) { return AText; }

qint32 IntFromText(const QString &AText, qint32 ADefault) {
    bool ok = false;
    const qint32 v = AText.toInt(&ok, 10);
    return ok ? v : ADefault;
}

// Stored numbers use "." whatever the user's region, so a file stays readable after moving between machines.
QString DoubleText(double AValue) { return QString::number(AValue, 'g', 15); }
double DoubleFromText(const QString &AText, double ADefault) {
    bool ok = false;
    const double v = QLocale::c().toDouble(AText.trimmed(), &ok);
    return ok ? v : ADefault;
}

pugi::xml_parse_result ParseBytes(pugi::xml_document &ADoc, const QByteArray &ABytes) {
    // Attribute line breaks and tabs are kept (no whitespace conversion), element text line ends normalised.
    // Always UTF-8 (a leading byte-order mark is skipped): the bytes are ours or come from QString::toUtf8,
    // so an encoding named in the declaration must not make the parser read them as another code page.
    return ADoc.load_buffer(ABytes.constData(), size_t(ABytes.size()),
                            pugi::parse_cdata | pugi::parse_escapes | pugi::parse_eol |
                                pugi::parse_declaration,
                            pugi::encoding_utf8);
}

} // namespace

// Every line break as LF, then as the requested style.
QByteArray TDOX_Base::ApplyLineBreaks(QByteArray AText, TLineBreak AStyle) {
    if (AStyle == TLineBreak::lbAsIs ||
        (!AText.contains('\r') && (AStyle == TLineBreak::lbLF || !AText.contains('\n'))))
        return AText;
    AText.replace("\r\n", "\n");
    AText.replace('\r', '\n');
    if (AStyle == TLineBreak::lbCRLF)
        AText.replace("\n", "\r\n");
    else if (AStyle == TLineBreak::lbCR)
        AText.replace('\n', '\r');
    return AText;
}

QString TrimText(const QString &AValue) {
    qsizetype b = 0, e = AValue.size();
    while (b < e && AValue.at(b).unicode() <= 0x20)
        ++b;
    while (e > b && AValue.at(e - 1).unicode() <= 0x20)
        --e;
    return (b == 0 && e == AValue.size()) ? AValue : AValue.mid(b, e - b);
}

TDOX_Base::TDOX_Base(const QString &ANodeName) : FNodeName_OnCreate(ANodeName), FNodeName(ANodeName) {
    TDOX_Base::Initialize();
}

void TDOX_Base::Initialize() {
    FLineBreak = TLineBreak::lbCRLF;
    FIndentType = TIndentType::itNone;
    FWriteBOM = true;
    FWriteCodePage = 65001;
}

void TDOX_Base::Duplicate(const TDOX_Base &AObj) {
    if (&AObj == this)
        return;
    Initialize();
    FNodeName = AObj.FNodeName;
    FWriteBOM = AObj.FWriteBOM;
    FWriteCodePage = AObj.FWriteCodePage;
}

void TDOX_Base::WriteToNode(TXmlNode) const {}

void TDOX_Base::ReadFromNode(TXmlNode) { Initialize(); }

void TDOX_Base::BuildDocument(pugi::xml_document &ADoc, const QString &ARootName) const {
    AppendDeclaration(ADoc);
    TXmlNode root = ADoc.append_child(ARootName.toUtf8().constData());
    TXmlNode node = root.append_child(FNodeName.toUtf8().constData());
    WriteToNode(node);
}

QByteArray TDOX_Base::SaveTo_String(const QString &ADocumentName) const {
    try {
        QString rootName = ADocumentName.trimmed();
        if (rootName.isEmpty())
            rootName = QStringLiteral("Configuration");
        pugi::xml_document doc;
        BuildDocument(doc, rootName);
        unsigned flags = pugi::format_raw;
        const char *indent = "";
        if (FIndentType != TIndentType::itNone) {
            flags = pugi::format_indent;
            indent = FIndentType == TIndentType::itIndented ? "  " : "";
        }
        if (FWriteBOM)
            flags |= pugi::format_write_bom;
        return ApplyLineBreaks(Serialize(doc, indent, flags), FLineBreak);
    } catch (...) {
        return {};
    }
}

bool TDOX_Base::SaveTo_Stream(QIODevice *AStream, const QString &ADocumentName) const {
    if (!AStream)
        return false;
    const QByteArray bytes = SaveTo_String(ADocumentName);
    if (bytes.isEmpty())
        return false;
    return AStream->write(bytes) == bytes.size();
}

QByteArray TDOX_Base::Serialize(const pugi::xml_document &ADoc, const char *AIndent, unsigned AFlags) {
    struct TWriter : pugi::xml_writer {
        QByteArray Out;
        void write(const void *AData, size_t ASize) override {
            Out.append(static_cast<const char *>(AData), qsizetype(ASize));
        }
    } writer;
    ADoc.save(writer, AIndent, AFlags, pugi::encoding_utf8);
    return std::move(writer.Out);
}

bool TDOX_Base::SaveFileSafely(const QString &AFQFilename, const std::function<bool(QIODevice *)> &AWrite) {
    try {
        if (!QDir().mkpath(QFileInfo(AFQFilename).absolutePath()))
            return false;
        QSaveFile file(AFQFilename);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        if (!AWrite(&file)) {
            file.cancelWriting();
            return false;
        }
        return file.commit();
    } catch (...) {
        return false;
    }
}

bool TDOX_Base::SaveTo_File(const QString &AFQFilename, const QString &ADocumentName) const {
    return SaveFileSafely(AFQFilename, [&](QIODevice *AFile) { return SaveTo_Stream(AFile, ADocumentName); });
}

bool TDOX_Base::FindRecordNode(const pugi::xml_document &ADoc, const QString &ANodeName, TXmlNode &ANode) {
    const TXmlNode root = ADoc.document_element();
    if (!root)
        return false;
    ANode = root.child(ANodeName.toUtf8().constData());
    return bool(ANode);
}

bool TDOX_Base::LoadFrom_Bytes(const QByteArray &ABytes) {
    try {
        pugi::xml_document doc;
        if (!ParseBytes(doc, ABytes))
            return false;
        TXmlNode node;
        if (!FindRecordNode(doc, FNodeName, node))
            return false;
        ReadFromNode(node);
        return true;
    } catch (...) {
        return false;
    }
}

bool TDOX_Base::LoadFrom_String(const QByteArray &AStr) { return LoadFrom_Bytes(AStr); }

bool TDOX_Base::LoadFrom_Stream(QIODevice *AStream) {
    if (!AStream)
        return false;
    return LoadFrom_Bytes(AStream->readAll());
}

bool TDOX_Base::LoadFrom_File(const QString &AFQFilename) {
    QFile file(AFQFilename);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return LoadFrom_Stream(&file);
}

void TDOX_Base::ChildNode_AddAndWrite(TXmlNode ANode, const TDOX_Base *AObj) {
    if (!ANode || !AObj)
        return;
    AObj->WriteToNode(ANode.append_child(AObj->NodeName().toUtf8().constData()));
}

void TDOX_Base::ChildNode_FindAndRead(TXmlNode ANode, TDOX_Base *AObj) {
    if (!ANode || !AObj)
        return;
    const TXmlNode child = ANode.child(AObj->NodeName().toUtf8().constData());
    if (child)
        AObj->ReadFromNode(child);
}

QString TDOX_Base::XmlToPrettyFormat(const QString &AXmlStr) {
    pugi::xml_document doc;
    const QByteArray bytes = AXmlStr.toUtf8();
    if (!ParseBytes(doc, bytes))
        return {};
    return QString::fromUtf8(ApplyLineBreaks(Serialize(doc, "  ", pugi::format_indent | pugi::format_no_declaration), TLineBreak::lbCRLF));
}

QByteArray TDOX_Base::WholeStream(QIODevice *AStream) {
    if (!AStream)
        return {};
    const qint64 pos = AStream->pos();
    QByteArray data;
    if (AStream->seek(0))
        data = AStream->readAll();
    AStream->seek(pos);
    return data;
}

bool TDOX_Base::ReadFileBytes(const QString &AFQFilename, QByteArray &AData) {
    QFile file(AFQFilename);
    if (AFQFilename.isEmpty() || !file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    AData = std::move(data);
    return true;
}

std::string TDOX_Base::ToXmlText(const QString &AValue) {
    for (const QChar ch : AValue) {
        if (IsForbiddenXmlChar(ch.unicode()))
            throw EXmlWriteError(QStringLiteral("\"%1\" is not a valid text.").arg(AValue).toStdString());
    }
    return AValue.toStdString();
}

QString TDOX_Base::NodeText(TXmlNode ANode) {
    const TXmlNode first = ANode.first_child();
    if (!first)
        return {};
    if (!first.next_sibling() && (first.type() == pugi::node_pcdata || first.type() == pugi::node_cdata))
        return CrLfText(QString::fromUtf8(first.value()));
    std::string all;
    for (pugi::xml_node n = first; n;) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            all += n.value();
        // Depth-first walk within ANode.
        if (n.first_child()) {
            n = n.first_child();
            continue;
        }
        while (n && n != ANode && !n.next_sibling())
            n = n.parent();
        if (!n || n == ANode)
            break;
        n = n.next_sibling();
    }
    return CrLfText(QString::fromStdString(all));
}

// --- String
TXmlNode TDOX_Base::ChildNode_Write_AsString(TXmlNode ANode, const char *ANodeName, const QString &AValue) {
    return AppendTextChild(ANode, ANodeName, TrimText(AValue));
}
QString TDOX_Base::ChildNode_Read_AsString(TXmlNode ANode, const char *ANodeName, const QString &ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsString(ANode, ANodeName, ADefault, unused);
}
QString TDOX_Base::ChildNode_Read_AsString(TXmlNode ANode, const char *ANodeName, const QString &ADefault,
                                           TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, TrimmedText);
}
void TDOX_Base::Attribute_Write_AsString(TXmlNode ANode, const char *AAttributeName, const QString &AValue) {
    SetAttribute(ANode, AAttributeName, AValue);
}
QString TDOX_Base::Attribute_Read_AsString(TXmlNode ANode, const char *AAttributeName, const QString &ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, TextAsIs);
}

// --- Boolean
TXmlNode TDOX_Base::ChildNode_Write_AsBoolean(TXmlNode ANode, const char *ANodeName, bool AValue) {
    return AppendTextChild(ANode, ANodeName, BoolText(AValue));
}
bool TDOX_Base::ChildNode_Read_AsBoolean(TXmlNode ANode, const char *ANodeName, bool ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsBoolean(ANode, ANodeName, ADefault, unused);
}
bool TDOX_Base::ChildNode_Read_AsBoolean(TXmlNode ANode, const char *ANodeName, bool ADefault, TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, BoolFromText);
}
void TDOX_Base::Attribute_Write_AsBoolean(TXmlNode ANode, const char *AAttributeName, bool AValue) {
    SetAttribute(ANode, AAttributeName, BoolText(AValue));
}
bool TDOX_Base::Attribute_Read_AsBoolean(TXmlNode ANode, const char *AAttributeName, bool ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, BoolFromText);
}

// --- Integer
TXmlNode TDOX_Base::ChildNode_Write_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 AValue) {
    return AppendTextChild(ANode, ANodeName, QString::number(AValue));
}
qint32 TDOX_Base::ChildNode_Read_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsInteger(ANode, ANodeName, ADefault, unused);
}
qint32 TDOX_Base::ChildNode_Read_AsInteger(TXmlNode ANode, const char *ANodeName, qint32 ADefault,
                                           TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, IntFromText);
}
void TDOX_Base::Attribute_Write_AsInteger(TXmlNode ANode, const char *AAttributeName, qint32 AValue) {
    SetAttribute(ANode, AAttributeName, QString::number(AValue));
}
qint32 TDOX_Base::Attribute_Read_AsInteger(TXmlNode ANode, const char *AAttributeName, qint32 ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, IntFromText);
}

// --- Double
TXmlNode TDOX_Base::ChildNode_Write_AsDouble(TXmlNode ANode, const char *ANodeName, double AValue) {
    return AppendTextChild(ANode, ANodeName, DoubleText(AValue));
}
double TDOX_Base::ChildNode_Read_AsDouble(TXmlNode ANode, const char *ANodeName, double ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsDouble(ANode, ANodeName, ADefault, unused);
}
double TDOX_Base::ChildNode_Read_AsDouble(TXmlNode ANode, const char *ANodeName, double ADefault,
                                          TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, DoubleFromText);
}
void TDOX_Base::Attribute_Write_AsDouble(TXmlNode ANode, const char *AAttributeName, double AValue) {
    SetAttribute(ANode, AAttributeName, DoubleText(AValue));
}
double TDOX_Base::Attribute_Read_AsDouble(TXmlNode ANode, const char *AAttributeName, double ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, DoubleFromText);
}

// --- Date and time
TXmlNode TDOX_Base::ChildNode_Write_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime AValue) {
    return AppendTextChild(ANode, ANodeName, TDateTimeTool::DateTime_ToString(AValue));
}
TDateTime TDOX_Base::ChildNode_Read_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsDateTime(ANode, ANodeName, ADefault, unused);
}
TDateTime TDOX_Base::ChildNode_Read_AsDateTime(TXmlNode ANode, const char *ANodeName, TDateTime ADefault,
                                               TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, TDateTimeTool::DateTime_FromString);
}
void TDOX_Base::Attribute_Write_AsDateTime(TXmlNode ANode, const char *AAttributeName, TDateTime AValue) {
    SetAttribute(ANode, AAttributeName, TDateTimeTool::DateTime_ToString(AValue));
}
TDateTime TDOX_Base::Attribute_Read_AsDateTime(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, TDateTimeTool::DateTime_FromString);
}
TXmlNode TDOX_Base::ChildNode_Write_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime AValue) {
    return AppendTextChild(ANode, ANodeName, TDateTimeTool::DateTimeZ_ToString(AValue));
}
TDateTime TDOX_Base::ChildNode_Read_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime ADefault) {
    TXmlNode unused;
    return ChildNode_Read_AsDateTimeZ(ANode, ANodeName, ADefault, unused);
}
TDateTime TDOX_Base::ChildNode_Read_AsDateTimeZ(TXmlNode ANode, const char *ANodeName, TDateTime ADefault,
                                                TXmlNode &ANewNode) {
    return ReadChild(ANode, ANodeName, ADefault, &ANewNode, TDateTimeTool::DateTimeZ_FromString);
}
void TDOX_Base::Attribute_Write_AsDateTimeZ(TXmlNode ANode, const char *AAttributeName, TDateTime AValue) {
    SetAttribute(ANode, AAttributeName, TDateTimeTool::DateTimeZ_ToString(AValue));
}
TDateTime TDOX_Base::Attribute_Read_AsDateTimeZ(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, TDateTimeTool::DateTimeZ_FromString);
}
void TDOX_Base::Attribute_Write_AsDate(TXmlNode ANode, const char *AAttributeName, TDateTime AValue) {
    SetAttribute(ANode, AAttributeName, TDateTimeTool::Date_ToString(AValue));
}
TDateTime TDOX_Base::Attribute_Read_AsDate(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, TDateTimeTool::Date_FromString);
}
void TDOX_Base::Attribute_Write_AsTime(TXmlNode ANode, const char *AAttributeName, TDateTime AValue) {
    SetAttribute(ANode, AAttributeName, TDateTimeTool::Time_ToString(AValue));
}
TDateTime TDOX_Base::Attribute_Read_AsTime(TXmlNode ANode, const char *AAttributeName, TDateTime ADefault) {
    return ReadAttribute(ANode, AAttributeName, ADefault, TDateTimeTool::Time_FromString);
}

// --- Base64
TXmlNode TDOX_Base::AppendBase64Child(TXmlNode ANode, const char *ANodeName, const QByteArray &ABytes) {
    if (!ANode)
        return {};
    const QByteArray b64 = ABytes.toBase64();
    QByteArray lines;
    lines.reserve(b64.size() + (b64.size() / 76 + 1) * 2);
    for (qsizetype i = 0; i < b64.size(); i += 76) {
        if (i > 0)
            lines.append("\r\n", 2);
        lines.append(b64.constData() + i, qMin<qsizetype>(76, b64.size() - i));
    }
    TXmlNode child = ANode.append_child(ANodeName);
    if (!lines.isEmpty())
        child.append_child(pugi::node_pcdata).set_value(lines.constData());
    return child;
}

bool TDOX_Base::ReadBase64Child(TXmlNode ANode, const char *ANodeName, QByteArray &ABytes) {
    if (!ANode)
        return false;
    const TXmlNode child = ANode.child(ANodeName);
    if (!child)
        return false;
    // Base64 text is ASCII: read the library's bytes directly instead of going through 16-bit text.
    std::string all;
    for (TXmlNode n = child.first_child(); n; n = n.next_sibling()) {
        if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
            all += n.value();
    }
    QByteArray compact;
    compact.reserve(qsizetype(all.size()));
    for (const char ch : all) {
        if (static_cast<unsigned char>(ch) > 0x20)
            compact.append(ch);
    }
    auto result = QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!result)
        return false;
    ABytes = std::move(*result);
    return true;
}

TXmlNode TDOX_Base::ChildNode_Write_AsBase64(TXmlNode ANode, const char *ANodeName, QIODevice *AStream) {
    if (!ANode || !AStream)
        return {};
    return AppendBase64Child(ANode, ANodeName, AStream->readAll());
}

bool TDOX_Base::ChildNode_Read_AsBase64(TXmlNode ANode, const char *ANodeName, QIODevice *AStream) {
    QByteArray bytes;
    if (!AStream || !ReadBase64Child(ANode, ANodeName, bytes))
        return false;
    return AStream->write(bytes) == bytes.size();
}
