// Command-line options of the local service and where its files live inside the data folder.
#pragma once

#include <QString>
#include <QStringList>

struct TServiceOptions {
    QString DataFolder;
    int Port = 47443;
    QString Listen = QStringLiteral("127.0.0.1");
    QString MinClientVersion = QStringLiteral("1.0.0.0");
    QString CertPath;
    QString KeyPath;
    // Largest request body accepted; bigger ones get 413 before any handler runs.
    qint64 MaxBodyBytes = 64ll * 1024 * 1024;
    int Threads = 16;
    bool SeedDemo = false;

    // Fills the defaults that depend on others (certificate inside the data folder).
    void Complete();
    // AArgs includes the program name first, as QCoreApplication::arguments gives it.
    static bool Parse(const QStringList &AArgs, TServiceOptions &AOut, QString &AError);
    static QString DefaultDataFolder();
    static int DefaultPort();
    static QString UsageText();
};
