// Data-object base: value text forms, document structure, encrypted saves and loads.
#include "crypto/TzovCryptoTool.h"
#include "data/TDOX_BaseQuenmark.h"
#include "TestSupport.h"

#include <QBuffer>
#include <QList>
#include <QPair>

#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// A small record using every helper kind the program's records use.
class TDO_Sample : public TDOX_BaseQuenmark {
public:
    TDO_Sample() : TDOX_BaseQuenmark(QStringLiteral("sample_record")) { TDO_Sample::Initialize(); }
    TDO_Sample(const TDO_Sample &AObj) : TDO_Sample() { Duplicate(AObj); }

    void Initialize() override {
        TDOX_BaseQuenmark::Initialize();
        Name = QStringLiteral("default");
        Note.clear();
        Count = 7;
        Flag = false;
        When = {};
        Colour = 0xFF000000u;
        Data.clear();
    }
    void Duplicate(const TDOX_Base &AObj) override {
        if (&AObj == this)
            return;
        TDOX_BaseQuenmark::Duplicate(AObj);
        if (auto o = dynamic_cast<const TDO_Sample *>(&AObj)) {
            Name = o->Name;
            Note = o->Note;
            Count = o->Count;
            Flag = o->Flag;
            When = o->When;
            Colour = o->Colour;
            Data = o->Data;
        }
        RestoreNodeName();
    }
    void WriteToNode(TXmlNode ANode) const override {
        TDOX_BaseQuenmark::WriteToNode(ANode);
        if (!ANode)
            return;
        Attribute_Write_AsString(ANode, "name", Name);
        Attribute_Write_AsInteger(ANode, "count", Count);
        Attribute_Write_AsBoolean(ANode, "flag", Flag);
        Attribute_Write_AsDateTime(ANode, "when_utc", When);
        ChildNode_Write_AsString(ANode, "note", Note);
        ChildNode_Write_AsAlphaColor(ANode, "colour", Colour);
        ChildNode_Write_AsBinary(ANode, "data", Data);
    }
    void ReadFromNode(TXmlNode ANode) override {
        TDOX_BaseQuenmark::ReadFromNode(ANode);
        if (!ANode)
            return;
        Name = Attribute_Read_AsString(ANode, "name", Name);
        Count = Attribute_Read_AsInteger(ANode, "count", Count);
        Flag = Attribute_Read_AsBoolean(ANode, "flag", Flag);
        When = Attribute_Read_AsDateTime(ANode, "when_utc", When);
        Note = ChildNode_Read_AsString(ANode, "note", Note);
        Colour = ChildNode_Read_AsAlphaColor(ANode, "colour", Colour);
        ChildNode_Read_AsBinary(ANode, "data", Data);
    }

    QString Name, Note;
    qint32 Count = 0;
    bool Flag = false;
    TDateTime When;
    quint32 Colour = 0;
    QByteArray Data;
};

class TDO_Other : public TDOX_BaseQuenmark {
public:
    TDO_Other() : TDOX_BaseQuenmark(QStringLiteral("other_record")) {}
};

void CompareSamples(const TDO_Sample &A, const TDO_Sample &B) {
    QCOMPARE(A.Name, B.Name);
    QCOMPARE(A.Note, B.Note);
    QCOMPARE(A.Count, B.Count);
    QCOMPARE(A.Flag, B.Flag);
    QCOMPARE(A.When, B.When);
    QCOMPARE(A.Colour, B.Colour);
    QCOMPARE(A.Data, B.Data);
}

TDO_Sample Filled() {
    TDO_Sample s;
    s.Name = QStringLiteral("  Tom & Jerry <b>\t\"quoted\"\r\n");
    s.Note = QStringLiteral("line one\r\nline two ü €");
    s.Count = -42;
    s.Flag = true;
    s.When = TDateTime::Encode(2021, 3, 5, 15, 4, 5);
    s.Colour = 0xFFFF0000u;
    s.Data = QByteArray("\x00\x01\x02binary\xff", 10).repeated(30);
    return s;
}

TXmlNode ParseInto(pugi::xml_document &ADoc, const char *AXml) {
    const auto ok = ADoc.load_string(AXml);
    Q_ASSERT(ok);
    return ADoc.document_element();
}

} // namespace

class TestDoxBase : public QObject {
    Q_OBJECT
private slots:
    void encryptedStreamRoundTrip_data() {
        QTest::addColumn<QString>("startCode");
        QTest::newRow("network") << TzovCryptoTool::NetworkStartCode();
        QTest::newRow("configuration") << TzovCryptoTool::ConfigurationStartCode();
        QTest::newRow("plain") << QString();
    }
    void encryptedStreamRoundTrip() {
        QFETCH(QString, startCode);
        const TDO_Sample source = Filled();
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadWrite);
        QVERIFY(source.SaveTo_Stream(&buffer, startCode));
        if (startCode.isEmpty()) {
            QVERIFY(bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><Tavix>"));
            // Line breaks inside text (the note, the Base64 lines) travel as LF; attributes escape theirs.
            QVERIFY(bytes.contains("line one\nline two"));
            QVERIFY(!bytes.contains('\r'));
        } else
            QVERIFY(bytes.startsWith("QzC1"));
        buffer.seek(0);
        TDO_Sample target;
        QVERIFY(target.LoadFrom_Stream(&buffer, startCode));
        CompareSamples(target, source);
        // An attribute keeps its blanks and control characters; the element text is trimmed.
        QCOMPARE(target.Name, source.Name);
    }

    void stringAndFileRoundTrip() {
        const TDO_Sample source = Filled();
        const QString code = TzovCryptoTool::NetworkStartCode();
        const QString text = source.SaveTo_String(code);
        QVERIFY(text.startsWith(QLatin1String("QzC1")));
        TDO_Sample fromString;
        QVERIFY(fromString.LoadFrom_String(text, code));
        CompareSamples(fromString, source);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("deep/er/record.xml"));
        QVERIFY(source.SaveTo_File(path, code));
        TDO_Sample fromFile;
        QVERIFY(fromFile.LoadFrom_File(path, code));
        CompareSamples(fromFile, source);
        QVERIFY(!fromFile.LoadFrom_File(dir.filePath(QStringLiteral("missing.xml")), code));
        // Read under the wrong start code: the parse fails and nothing is read.
        TDO_Sample wrong;
        QVERIFY(!wrong.LoadFrom_File(path, TzovCryptoTool::ConfigurationStartCode()));
        QCOMPARE(wrong.Count, 7);
    }

    void plainDocument() {
        TDO_Sample s = Filled();
        const QByteArray doc = s.TDOX_Base::SaveTo_String(QString());
        QVERIFY(doc.startsWith("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"));
        QVERIFY(doc.contains("<Configuration><sample_record "));
        // Line breaks inside text are CR LF in the plain form.
        QVERIFY(doc.contains("line one\r\nline two"));
        TDO_Sample back;
        QVERIFY(back.TDOX_Base::LoadFrom_String(doc));
        CompareSamples(back, s);
        QVERIFY(s.TDOX_Base::SaveTo_String(QStringLiteral(" Root ")).contains("<Root>"));
    }

    void anyRootNameLoads_missingRecordLeavesFields() {
        TDO_Sample s;
        s.Count = 99;
        QVERIFY(s.TDOX_Base::LoadFrom_String("<Whatever><sample_record count=\"5\"/></Whatever>"));
        QCOMPARE(s.Count, 5);
        QCOMPARE(s.Name, QStringLiteral("default")); // absent attribute -> default, not the old value
        s.Count = 99;
        QVERIFY(!s.TDOX_Base::LoadFrom_String("<Tavix><other/></Tavix>"));
        QVERIFY(!s.TDOX_Base::LoadFrom_String("<Tavix><sample_record"));
        QVERIFY(!s.TDOX_Base::LoadFrom_String(""));
        QCOMPARE(s.Count, 99);
    }

    void stringHelpers() {
        pugi::xml_document doc;
        TXmlNode n = ParseInto(doc, "<r a=\"  Ann  \"><s>  Ann  </s><m>a<x>b</x>c</m><e/></r>");
        QCOMPARE(TDOX_Base::ChildNode_Read_AsString(n, "s", QStringLiteral("d")), QStringLiteral("Ann"));
        QCOMPARE(TDOX_Base::Attribute_Read_AsString(n, "a", QStringLiteral("d")), QStringLiteral("  Ann  "));
        QCOMPARE(TDOX_Base::ChildNode_Read_AsString(n, "m", QString()), QStringLiteral("abc"));
        QCOMPARE(TDOX_Base::ChildNode_Read_AsString(n, "e", QStringLiteral("d")), QString());
        QCOMPARE(TDOX_Base::ChildNode_Read_AsString(n, "S", QStringLiteral("d")), QStringLiteral("d"));
        TXmlNode found;
        TDOX_Base::ChildNode_Read_AsString(n, "s", QString(), found);
        QVERIFY(found && QString::fromUtf8(found.name()) == QLatin1String("s"));
        // A missing node writes nothing and reads defaults.
        QVERIFY(!TDOX_Base::ChildNode_Write_AsString(TXmlNode(), "x", QStringLiteral("v")));
        QCOMPARE(TDOX_Base::Attribute_Read_AsInteger(TXmlNode(), "x", 3), 3);
    }

    void booleanAndInteger_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("boolean");
        QTest::addColumn<int>("integer");
        QTest::newRow("true") << "true" << true << 5;
        QTest::newRow("TrUe") << "TrUe" << true << 5;
        QTest::newRow("one") << "1" << false << 1;
        QTest::newRow("yes") << "yes" << false << 5;
        QTest::newRow("blank true") << " true" << false << 5;
        QTest::newRow("negative") << "-17" << false << -17;
        QTest::newRow("overflow") << "2147483648" << false << 5;
        QTest::newRow("max") << "2147483647" << false << 2147483647;
    }
    void booleanAndInteger() {
        QFETCH(QString, text);
        QFETCH(bool, boolean);
        QFETCH(int, integer);
        pugi::xml_document doc;
        TXmlNode n = doc.append_child("r");
        n.append_attribute("v") = text.toUtf8().constData();
        QCOMPARE(TDOX_Base::Attribute_Read_AsBoolean(n, "v", false), boolean);
        QCOMPARE(TDOX_Base::Attribute_Read_AsInteger(n, "v", 5), integer);
        QCOMPARE(TDOX_Base::Attribute_Read_AsBoolean(n, "absent", true), true);
    }

    void colours() {
        pugi::xml_document doc;
        TXmlNode n = doc.append_child("r");
        TDOX_BaseQuenmark::ChildNode_Write_AsAlphaColor(n, "c", 0xFFFF0000u);
        QCOMPARE(TDOX_Base::ChildNode_Read_AsString(n, "c", QString()), QStringLiteral("FFFF0000"));
        n.append_attribute("t") = "xFFFF0000y";
        QCOMPARE(TDOX_BaseQuenmark::Attribute_Read_AsAlphaColor(n, "t", 1), 0xFFFF0000u);
        n.append_attribute("bad") = "no colour";
        QCOMPARE(TDOX_BaseQuenmark::Attribute_Read_AsAlphaColor(n, "bad", 1), 1u);
    }

    void binary() {
        pugi::xml_document doc;
        TXmlNode n = doc.append_child("r");
        QByteArray empty;
        QBuffer emptyStream(&empty);
        emptyStream.open(QIODevice::ReadWrite);
        TDOX_BaseQuenmark::ChildNode_Write_AsBinary(n, "e", &emptyStream);
        QBuffer back;
        back.open(QIODevice::ReadWrite);
        back.write("old");
        QVERIFY(TDOX_BaseQuenmark::ChildNode_Read_AsBinary(n, "e", &back));
        QCOMPARE(back.size(), 0);
        QCOMPARE(back.pos(), 0);

        // Long data comes out in lines of 76 characters and the stream position survives the write.
        QByteArray data(200, 'z');
        QBuffer stream(&data);
        stream.open(QIODevice::ReadWrite);
        stream.seek(50);
        TDOX_BaseQuenmark::ChildNode_Write_AsBinary(n, "d", &stream);
        QCOMPARE(stream.pos(), 50);
        const QString text = QString::fromUtf8(n.child("d").child_value());
        QCOMPARE(text.indexOf(QLatin1String("\r\n")), 76);
        QByteArray bytes;
        QVERIFY(TDOX_BaseQuenmark::ChildNode_Read_AsBinary(n, "d", bytes));
        QCOMPARE(bytes, data);
        n.append_child("bad").text() = "not*base64";
        QVERIFY(!TDOX_BaseQuenmark::ChildNode_Read_AsBinary(n, "bad", bytes));
        QVERIFY(!TDOX_BaseQuenmark::ChildNode_Read_AsBinary(n, "missing", bytes));
    }

    void invalidCharacterFailsTheSave() {
        TDO_Sample s;
        s.Note = QStringLiteral("bad\x0Btext");
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QVERIFY(!s.SaveTo_Stream(&buffer, TzovCryptoTool::NetworkStartCode()));
        QCOMPARE(bytes.size(), 0);
        QVERIFY(s.SaveTo_String(TzovCryptoTool::NetworkStartCode()).isEmpty());
        try {
            s.DocumentBytes();
            QFAIL("expected a refusal");
        } catch (const EXmlWriteError &e) {
            QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("\"bad\x0Btext\" is not a valid text."));
        }
        s.Note = QStringLiteral("badtext");
        QVERIFY(s.SaveTo_Stream(&buffer, TzovCryptoTool::NetworkStartCode()));
    }

    void failingDeviceAndExistingFileKept() {
        const TDO_Sample s = Filled();
        TFailingDevice device(40);
        QVERIFY(!s.SaveTo_Stream(&device, TzovCryptoTool::NetworkStartCode()));
        QVERIFY(!s.SaveTo_Stream(nullptr, QString()));

        // A save that fails leaves the previous file as it was.
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.xml"));
        QVERIFY(s.SaveTo_File(path, TzovCryptoTool::NetworkStartCode()));
        TDO_Sample bad = s;
        bad.Note = QStringLiteral("a\x01" "b");
        QVERIFY(!bad.SaveTo_File(path, TzovCryptoTool::NetworkStartCode()));
        TDO_Sample back;
        QVERIFY(back.LoadFrom_File(path, TzovCryptoTool::NetworkStartCode()));
        CompareSamples(back, s);
    }

    void duplicate() {
        const TDO_Sample s = Filled();
        TDO_Sample copy(s);
        CompareSamples(copy, s);
        TDO_Sample fromOther = s;
        TDO_Other other;
        fromOther.Duplicate(other);
        CompareSamples(fromOther, TDO_Sample());
        QCOMPARE(fromOther.NodeName(), QStringLiteral("sample_record"));
        copy.Duplicate(copy);
        CompareSamples(copy, s);
    }

    void lineBreaksReadAsCrLf() {
        TDO_Sample s;
        QVERIFY(s.TDOX_Base::LoadFrom_String("<T><sample_record><note>a\nb\rc\r\nd</note></sample_record></T>"));
        QCOMPARE(s.Note, QStringLiteral("a\r\nb\r\nc\r\nd"));
    }

    // The text is UTF-8 whatever encoding the declaration names; a byte-order mark is not part of it.
    void readAsUtf8_data() {
        QTest::addColumn<QByteArray>("prolog");
        QTest::newRow("no declaration") << QByteArray();
        QTest::newRow("byte-order mark") << QByteArray("\xEF\xBB\xBF");
        QTest::newRow("utf-8 declared") << QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>");
        QTest::newRow("latin-1 declared") << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>");
        QTest::newRow("latin1 declared") << QByteArray("<?xml version='1.0' encoding='latin1'?>");
    }
    void readAsUtf8() {
        QFETCH(QByteArray, prolog);
        const QString note = QStringLiteral("\u00e9t\u00e9 \u20ac");
        const QByteArray doc =
            prolog + "<T><sample_record><note>" + note.toUtf8() + "</note></sample_record></T>";
        TDO_Sample plain;
        QVERIFY(plain.TDOX_Base::LoadFrom_String(doc));
        QCOMPARE(plain.Note, note);
        QByteArray bytes = doc;
        QBuffer stream(&bytes);
        stream.open(QIODevice::ReadOnly);
        TDO_Sample fromStream;
        QVERIFY(fromStream.LoadFrom_Stream(&stream, QString()));
        QCOMPARE(fromStream.Note, note);
        if (!prolog.startsWith('\xEF')) {
            TDO_Sample fromText;
            QVERIFY(fromText.LoadFrom_String(QString::fromUtf8(doc), QString()));
            QCOMPARE(fromText.Note, note);
            QVERIFY(TDOX_Base::XmlToPrettyFormat(QString::fromUtf8(doc)).contains(note));
        }
    }

    // Every child reader can hand back the element it read, and clears it when there is none.
    void childReadersReportTheirNode() {
        pugi::xml_document doc;
        TXmlNode n = ParseInto(doc, "<r><v>FF102030</v></r>");
        using TRead = std::function<void(const char *, TXmlNode &)>;
        const QList<QPair<const char *, TRead>> readers = {
            {"String", [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsString(n, A, {}, F); }},
            {"Boolean",
             [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsBoolean(n, A, false, F); }},
            {"Integer", [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsInteger(n, A, 0, F); }},
            {"LongInt", [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsLongInt(n, A, 0, F); }},
            {"Single", [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsSingle(n, A, 0, F); }},
            {"Double", [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsDouble(n, A, 0, F); }},
            {"DateTime",
             [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsDateTime(n, A, {}, F); }},
            {"DateTimeZ",
             [&](const char *A, TXmlNode &F) { TDOX_Base::ChildNode_Read_AsDateTimeZ(n, A, {}, F); }},
            {"Color",
             [&](const char *A, TXmlNode &F) { TDOX_BaseQuenmark::ChildNode_Read_AsColor(n, A, 0, F); }},
            {"AlphaColor",
             [&](const char *A, TXmlNode &F) { TDOX_BaseQuenmark::ChildNode_Read_AsAlphaColor(n, A, 0, F); }},
        };
        for (const auto &[kind, read] : readers) {
            TXmlNode found;
            read("v", found);
            QVERIFY2(found == n.child("v"), kind);
            read("absent", found);
            QVERIFY2(!found, kind);
        }
        TXmlNode found;
        QCOMPARE(TDOX_BaseQuenmark::ChildNode_Read_AsAlphaColor(n, "v", 1, found), 0xFF102030u);
        QCOMPARE(TDOX_BaseQuenmark::ChildNode_Read_AsColor(n, "absent", 7, found), 7u);
    }

    void prettyFormat() {
        const QString pretty = TDOX_Base::XmlToPrettyFormat(QStringLiteral("<a><b x=\"1\"><c>t</c></b></a>"));
        QCOMPARE(pretty, QStringLiteral("<a>\r\n  <b x=\"1\">\r\n    <c>t</c>\r\n  </b>\r\n</a>\r\n"));
        QVERIFY(TDOX_Base::XmlToPrettyFormat(QStringLiteral("<a><b></a>")).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDoxBase)
#include "tst_dox_base.moc"
