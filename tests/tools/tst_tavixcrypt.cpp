// The tavix-crypt support tool, run as a program.
#include "crypto/TzovCryptoTool.h"
#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TRun {
    int Exit = -1;
    QByteArray Out;
    QByteArray Err;
};

TRun Run(const QStringList &AArgs) {
    QProcess p;
    p.start(QStringLiteral(TAVIX_CRYPT_EXE), AArgs);
    TRun r;
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.Exit = p.exitCode();
    r.Out = p.readAllStandardOutput();
    r.Err = p.readAllStandardError();
    return r;
}

QByteArray ReadFile(const QString &APath) {
    QFile f(APath);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteFile(const QString &APath, const QByteArray &AData) {
    QFile f(APath);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(AData), AData.size());
}

} // namespace

class tst_TavixCrypt : public QObject {
    Q_OBJECT
private slots:
    void init() { QVERIFY(FDir.isValid()); }
    void roundTrip_data();
    void roundTrip();
    void show();
    void showStoredRecords();
    void errors_data();
    void errors();

private:
    QString Path(const QString &AName) const { return FDir.filePath(AName); }
    QTemporaryDir FDir;
};

void tst_TavixCrypt::roundTrip_data() {
    QTest::addColumn<QStringList>("codeArgs");
    QTest::addColumn<QString>("startCode");
    QTest::addColumn<int>("size");
    const QString net = TzovCryptoTool::NetworkStartCode();
    QTest::newRow("default, empty") << QStringList() << TzovCryptoTool::ConfigurationStartCode() << 0;
    QTest::newRow("default, 1601") << QStringList() << TzovCryptoTool::ConfigurationStartCode() << 1601;
    QTest::newRow("--network") << QStringList{"--network"} << net << 3205;
    QTest::newRow("--start-code, lower case") << QStringList{"--start-code", net.toLower()} << net << 40;
}

void tst_TavixCrypt::roundTrip() {
    QFETCH(QStringList, codeArgs);
    QFETCH(QString, startCode);
    QFETCH(int, size);
    QByteArray plain(size, Qt::Uninitialized);
    for (char &c : plain)
        c = char(QRandomGenerator::global()->bounded(256));
    WriteFile(Path("plain.bin"), plain);

    QCOMPARE(Run(QStringList{"encrypt", Path("plain.bin"), Path("a.box")} + codeArgs).Exit, 0);
    QCOMPARE(Run(QStringList{"encrypt", Path("plain.bin"), Path("b.box")} + codeArgs).Exit, 0);
    const QByteArray a = ReadFile(Path("a.box")), b = ReadFile(Path("b.box"));
    QCOMPARE(a.left(4), QByteArray("QzC1"));
    QCOMPARE(a.size(), 23 + (size + 15) / 16 * 16);
    QVERIFY(a != b); // fresh IV each time
    QCOMPARE(TzovCryptoTool::DecryptString(QString::fromLatin1(a), startCode).toLatin1(), plain);

    QCOMPARE(Run(QStringList{"decrypt", Path("a.box"), Path("back.bin")} + codeArgs).Exit, 0);
    QCOMPARE(ReadFile(Path("back.bin")), plain);
}

void tst_TavixCrypt::show() {
    WriteFile(Path("r.xml"),
              "<?xml version=\"1.0\"?><Tavix><event code=\"X1\"><name>Quiz</name></event></Tavix>");
    QCOMPARE(Run({"encrypt", Path("r.xml"), Path("r.box")}).Exit, 0);
    const TRun r = Run({"show", Path("r.box")});
    QCOMPARE(r.Exit, 0);
    QCOMPARE(r.Out, QByteArray("<?xml version=\"1.0\"?>\n<Tavix>\n  <event code=\"X1\">\n"
                               "    <name>Quiz</name>\n  </event>\n</Tavix>\n"));
    // Under the wrong start code the bytes are no XML; say so rather than print them.
    const TRun wrong = Run({"show", Path("r.box"), "--network"});
    QCOMPARE(wrong.Exit, 1);
    QVERIFY(wrong.Out.isEmpty());
    QVERIFY(wrong.Err.contains("not XML"));
}

// Records the program itself wrote are named and shown.
void tst_TavixCrypt::showStoredRecords() {
    TDO_ClientConfig config;
    config.SetCustomerID(QStringLiteral("CUST-9"));
    QVERIFY(config.SaveTo_File(Path("TavixCorlan.xml"), TzovCryptoTool::ConfigurationStartCode()));
    const TRun c = Run({"show", Path("TavixCorlan.xml")});
    QCOMPARE(c.Exit, 0);
    QVERIFY(c.Out.contains("<customer_id>CUST-9</customer_id>"));
    QVERIFY(c.Err.contains("of kind \"client configuration\""));

    TDO_Event event;
    event.SetName(QStringLiteral("Midterm"));
    QVERIFY(event.SaveTo_File(Path("event.xml"), TzovCryptoTool::NetworkStartCode()));
    const TRun e = Run({"show", Path("event.xml"), "--network"});
    QCOMPARE(e.Exit, 0);
    QVERIFY(e.Out.contains("Midterm"));
    QVERIFY(e.Err.contains("of kind \"event\""));
}

void tst_TavixCrypt::errors_data() {
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << QStringList{"decrypt", "@missing.box", "@out.bin"} << 1
                                  << "File not found";
    QTest::newRow("not a container") << QStringList{"decrypt", "@plain.txt", "@out.bin"} << 1
                                     << "is not an encrypted container";
    QTest::newRow("show not a container")
        << QStringList{"show", "@plain.txt"} << 1 << "does not start with \"QzC1\"";
    QTest::newRow("unknown start code")
        << QStringList{"encrypt", "@plain.txt", "@out.bin", "--start-code", "NOPE1"} << 1
        << "does not resolve";
    QTest::newRow("no command") << QStringList{} << 2 << "No command";
    QTest::newRow("unknown command") << QStringList{"frob", "@plain.txt"} << 2 << "Unknown command";
    QTest::newRow("missing output") << QStringList{"encrypt", "@plain.txt"} << 2 << "input and an output";
    QTest::newRow("unknown option") << QStringList{"show", "@plain.txt", "--bogus"} << 2 << "bogus";
    QTest::newRow("both code options")
        << QStringList{"show", "@plain.txt", "--network", "--start-code", "X"} << 2 << "not both";
}

void tst_TavixCrypt::errors() {
    QFETCH(QStringList, args);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    WriteFile(Path("plain.txt"), "just some text, long enough to be more than four bytes");
    for (QString &a : args)
        if (a.startsWith('@'))
            a = Path(a.mid(1));
    const TRun r = Run(args);
    QCOMPARE(r.Exit, exitCode);
    QVERIFY2(r.Err.contains(message.toUtf8()), r.Err.constData());
    QVERIFY(!QFile::exists(Path("out.bin")));
}

QTEST_GUILESS_MAIN(tst_TavixCrypt)
#include "tst_tavixcrypt.moc"
