#include "TServiceOptions.h"

#include "TavixDeployment.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <QUrl>

QString TServiceOptions::DefaultDataFolder() {
    QString Base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (Base.isEmpty())
        Base = QDir::homePath();
    return QDir(Base).filePath(QStringLiteral("Tavix/tavix-service"));
}

int TServiceOptions::DefaultPort() {
    const int Port = QUrl(QString::fromUtf8(TavixDeployment::service_address)).port();
    return Port > 0 ? Port : 47443;
}

QString TServiceOptions::UsageText() {
    return QCoreApplication::translate(
        "TServiceOptions",
        "Usage: tavix-service [options]\n"
        "  --data <folder>              data folder (default: %1)\n"
        "  --port <n>                   port, 0 picks a free one (default: %2)\n"
        "  --listen <address>           address to listen on (default: 127.0.0.1)\n"
        "  --min-client-version <v>     oldest client version accepted (default: 1.0.0.0)\n"
        "  --cert <file> --key <file>   TLS certificate and key, made on first start when missing\n"
        "                               (default: tls/service.crt and tls/service.key in the data folder)\n"
        "  --max-body-mib <n>           largest request body in MiB (default: 64)\n"
        "  --threads <n>                worker threads (default: 16)\n"
        "  --seed-demo                  create a practice event with students whose window is open now,\n"
        "                               print its code and one student's identifiers, and keep serving\n")
        .arg(DefaultDataFolder())
        .arg(DefaultPort());
}

void TServiceOptions::Complete() {
    if (DataFolder.isEmpty())
        DataFolder = DefaultDataFolder();
    DataFolder = QDir::cleanPath(QDir(DataFolder).absolutePath());
    if (CertPath.isEmpty())
        CertPath = QDir(DataFolder).filePath(QStringLiteral("tls/service.crt"));
    if (KeyPath.isEmpty())
        KeyPath = QDir(DataFolder).filePath(QStringLiteral("tls/service.key"));
}

bool TServiceOptions::Parse(const QStringList &AArgs, TServiceOptions &AOut, QString &AError) {
    AOut = TServiceOptions();
    AOut.Port = DefaultPort();
    auto Tr = [](const char *AText) { return QCoreApplication::translate("TServiceOptions", AText); };
    for (int i = 1; i < AArgs.size(); ++i) {
        const QString Arg = AArgs.at(i);
        auto Value = [&](QString &AValue) {
            if (i + 1 >= AArgs.size()) {
                AError = Tr("Option %1 needs a value.").arg(Arg);
                return false;
            }
            AValue = AArgs.at(++i);
            return true;
        };
        auto IntValue = [&](int &AValue, int AMin, int AMax) {
            QString Text;
            if (!Value(Text))
                return false;
            bool Ok = false;
            const int V = Text.toInt(&Ok);
            if (!Ok || V < AMin || V > AMax) {
                AError = Tr("Option %1 needs a number from %2 to %3, not \"%4\".").arg(Arg).arg(AMin).arg(AMax).arg(Text);
                return false;
            }
            AValue = V;
            return true;
        };
        if (Arg == QLatin1String("--data")) {
            if (!Value(AOut.DataFolder))
                return false;
        } else if (Arg == QLatin1String("--port")) {
            if (!IntValue(AOut.Port, 0, 65535))
                return false;
        } else if (Arg == QLatin1String("--listen")) {
            if (!Value(AOut.Listen))
                return false;
        } else if (Arg == QLatin1String("--min-client-version")) {
            if (!Value(AOut.MinClientVersion))
                return false;
        } else if (Arg == QLatin1String("--cert")) {
            if (!Value(AOut.CertPath))
                return false;
        } else if (Arg == QLatin1String("--key")) {
            if (!Value(AOut.KeyPath))
                return false;
        } else if (Arg == QLatin1String("--max-body-mib")) {
            int MiB = 64;
            if (!IntValue(MiB, 1, 4096))
                return false;
            AOut.MaxBodyBytes = qint64(MiB) * 1024 * 1024;
        } else if (Arg == QLatin1String("--threads")) {
            if (!IntValue(AOut.Threads, 1, 256))
                return false;
        } else if (Arg == QLatin1String("--seed-demo")) {
            AOut.SeedDemo = true;
        } else {
            AError = Tr("Unknown option \"%1\".").arg(Arg);
            return false;
        }
    }
    AOut.Complete();
    return true;
}
