// Launch requests: what reaches the launcher, folder checks, exit codes and waiting.
#include "util/TLaunchShellApp.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <vector>

class TestLaunchShellApp : public QObject {
    Q_OBJECT

    std::vector<TLaunchShellAppData> FCalls;
    int FAnswer = 0;

    void Intercept() {
        FCalls.clear();
        TLaunchShellApp::SetLauncher([this](const TLaunchShellAppData &AData) {
            FCalls.push_back(AData);
            return FAnswer;
        });
    }

private slots:
    void init() {
        FAnswer = 0;
        Intercept();
    }
    void cleanup() { TLaunchShellApp::SetLauncher(nullptr); }

    void dataInitialize() {
        TLaunchShellAppData d;
        d.Handle = 7;
        d.WorkingDirectory = "/tmp";
        d.Verb = "print";
        d.InitializeWithHandle("doc.pdf", "-x", true);
        QCOMPARE(d.Handle, quintptr(0));
        QCOMPARE(d.Command, QString("doc.pdf"));
        QCOMPARE(d.Parameters, QString("-x"));
        QCOMPARE(d.WorkingDirectory, QString());
        QCOMPARE(d.Verb, QString("open"));
        QVERIFY(d.Wait);
    }

    void missingFolder_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << "/no/such/folder/anywhere";
        QTest::newRow("empty") << "";
    }
    void missingFolder() {
        QFETCH(QString, path);
        QCOMPARE(TLaunchShellApp::OpenFolder(path), "Unable to find directory:\r\n" + path);
        QVERIFY(FCalls.empty());
    }

    void fileIsNotAFolder() {
        QTemporaryDir dir;
        const QString file = dir.filePath("f.txt");
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        QCOMPARE(TLaunchShellApp::OpenFolder(file), "Unable to find directory:\r\n" + file);
        QVERIFY(FCalls.empty());
    }

    void existingFolder() {
        QTemporaryDir dir;
        QCOMPARE(TLaunchShellApp::OpenFolder(dir.path()), QString());
        QCOMPARE(FCalls.size(), size_t(1));
        QCOMPARE(FCalls[0].Command, dir.path());
        QCOMPARE(FCalls[0].Parameters, QString());
        QCOMPARE(FCalls[0].Verb, QString("open"));
        QVERIFY(!FCalls[0].Wait);

        FAnswer = -1;
        QCOMPARE(TLaunchShellApp::OpenFolder(dir.path()), "Failed to open directory:\r\n" + dir.path());
    }

    void browserAndEmail() {
        QVERIFY(TLaunchShellApp::OpenBrowser("https://example.com/a?b=c"));
        QVERIFY(TLaunchShellApp::OpenEmail("help desk@example.com", "Event 12 & more", "ignored body"));
        QVERIFY(TLaunchShellApp::OpenEmail("a@example.com", "", "body"));
        QCOMPARE(FCalls.size(), size_t(3));
        QCOMPARE(FCalls[0].Command, QString("https://example.com/a?b=c"));
        QCOMPARE(FCalls[1].Command,
                 QString("mailto:help%20desk@example.com?subject=Event%2012%20%26%20more"));
        QCOMPARE(FCalls[2].Command, QString("mailto:a@example.com"));
        for (const auto &c : FCalls) {
            QCOMPARE(c.Verb, QString("open"));
            QVERIFY(!c.Wait);
        }
        FAnswer = -1;
        QVERIFY(!TLaunchShellApp::OpenBrowser("https://example.com"));
    }

    void resultsThroughLauncher() {
        FAnswer = 3;
        QVERIFY(!TLaunchShellApp::Perform("prog", "", "open", true));
        QCOMPARE(TLaunchShellApp::PerformAndWait(5, "prog", "-a", "open"), 3);
        QCOMPARE(FCalls.back().Handle, quintptr(5));
        QVERIFY(FCalls.back().Wait);
        QCOMPARE(FCalls.back().Parameters, QString("-a"));
        FAnswer = 0;
        QVERIFY(TLaunchShellApp::Perform(9, "prog", "", "open", false));
        QCOMPARE(FCalls.back().Handle, quintptr(9));
        QVERIFY(!FCalls.back().Wait);
    }

    // The real launcher, with programs that are sure to exist; nothing goes to the desktop.
    void realExitCodes() {
        TLaunchShellApp::SetLauncher(nullptr);
        QCOMPARE(TLaunchShellApp::PerformAndWait("/bin/sh", "-c \"exit 3\"", "open"), 3);
        QVERIFY(TLaunchShellApp::Perform("/bin/sh", "-c \"exit 0\"", "open", true));
        QVERIFY(!TLaunchShellApp::Perform("/bin/sh", "-c \"exit 1\"", "open", true));
        QCOMPARE(TLaunchShellApp::PerformAndWait("/no/such/program", "-x", "open"), -1);
        QVERIFY(!TLaunchShellApp::Perform("/no/such/program", "-x", "open", false));
        QCOMPARE(TLaunchShellApp::PerformAndWait("/bin/sh", "-c true", "print"), -1);

        TLaunchShellAppData d;
        d.Initialize("/bin/sh", "-c \"test $(pwd) = /tmp\"", true);
        d.WorkingDirectory = "/tmp";
        QCOMPARE(TLaunchShellApp::Perform(d), 0);
        d.Wait = false;
        QCOMPARE(TLaunchShellApp::Perform(d), 0);
    }

    void waitingKeepsEventsFlowing() {
        TLaunchShellApp::SetLauncher(nullptr);
        bool fired = false;
        QTimer::singleShot(20, this, [&fired] { fired = true; });
        QCOMPARE(TLaunchShellApp::PerformAndWait("/bin/sh", "-c \"sleep 0.3; exit 4\"", "open"), 4);
        QVERIFY(fired);
    }
};

QTEST_GUILESS_MAIN(TestLaunchShellApp)
#include "tst_LaunchShellApp.moc"
