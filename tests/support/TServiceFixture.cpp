#include "TServiceFixture.h"

#include "crypto/TzovCryptoTool.h"
#include "data/TDO_Coupon_Entry.h"
#include "data/TDO_Event.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

TServiceFixture::TServiceFixture() : FDir(std::make_unique<QTemporaryDir>()) {}

TServiceFixture::~TServiceFixture() { Stop(); }

QString TServiceFixture::ServiceExecutable() {
#ifdef TAVIX_SERVICE_EXE
    return QStringLiteral(TAVIX_SERVICE_EXE);
#else
    return QString();
#endif
}

QString TServiceFixture::DataFolder() const { return FDir->path(); }

QString TServiceFixture::CertificatePath() const { return QDir(DataFolder()).filePath(QStringLiteral("tls/service.crt")); }

QString TServiceFixture::BaseURL() const {
    return FPort > 0 ? QStringLiteral("https://127.0.0.1:%1").arg(FPort) : QString();
}

bool TServiceFixture::IsRunning() const { return FProcess && FProcess->state() != QProcess::NotRunning; }

bool TServiceFixture::Start(const QStringList &AExtraArgs, int ATimeoutMs) {
    Stop();
    FExtraArgs = AExtraArgs;
    FPort = 0;
    return Launch({QStringLiteral("--port"), QStringLiteral("0")}, ATimeoutMs);
}

bool TServiceFixture::Restart(int ATimeoutMs) {
    const int OldPort = FPort;
    Stop();
    if (OldPort > 0 && Launch({QStringLiteral("--port"), QString::number(OldPort)}, ATimeoutMs))
        return true;
    // The old port was taken meanwhile: any free one will do, BaseURL() tells the new address.
    return Launch({QStringLiteral("--port"), QStringLiteral("0")}, ATimeoutMs);
}

bool TServiceFixture::Launch(const QStringList &AArgs, int ATimeoutMs) {
    FError.clear();
    const QString Exe = ServiceExecutable();
    if (Exe.isEmpty() || !QFileInfo(Exe).isExecutable()) {
        FError = QStringLiteral("The service program is not built (%1).").arg(Exe);
        return false;
    }
    if (!FDir->isValid()) {
        FError = QStringLiteral("No temporary data folder.");
        return false;
    }
    FProcess = std::make_unique<QProcess>();
    FProcess->setProcessChannelMode(QProcess::SeparateChannels);
    FProcess->start(Exe, QStringList{QStringLiteral("--data"), DataFolder(), QStringLiteral("--listen"),
                                     QStringLiteral("127.0.0.1")}
                             + AArgs + FExtraArgs);
    if (!FProcess->waitForStarted(ATimeoutMs)) {
        FError = QStringLiteral("The service did not start: %1").arg(FProcess->errorString());
        FProcess.reset();
        return false;
    }
    static const QRegularExpression Listening(QStringLiteral("^listening on https://127\\.0\\.0\\.1:(\\d+)\\s*$"));
    QDeadlineTimer Deadline(ATimeoutMs);
    QByteArray Pending;
    while (!Deadline.hasExpired()) {
        if (FProcess->state() == QProcess::NotRunning)
            break;
        FProcess->waitForReadyRead(int(qMin<qint64>(200, qMax<qint64>(1, Deadline.remainingTime()))));
        Pending += FProcess->readAllStandardOutput();
        int Eol;
        while ((Eol = Pending.indexOf('\n')) >= 0) {
            const QString Line = QString::fromUtf8(Pending.left(Eol));
            Pending.remove(0, Eol + 1);
            FOutput += Line + QLatin1Char('\n');
            const auto Match = Listening.match(Line);
            if (Match.hasMatch()) {
                FPort = Match.captured(1).toInt();
                return true;
            }
        }
    }
    FError = FProcess->state() == QProcess::NotRunning
                 ? QStringLiteral("The service ended before listening: %1")
                       .arg(QString::fromUtf8(FProcess->readAllStandardError()).trimmed())
                 : QStringLiteral("The service did not report listening within %1 ms.").arg(ATimeoutMs);
    Stop();
    return false;
}

void TServiceFixture::Stop() {
    if (!FProcess)
        return;
    if (FProcess->state() != QProcess::NotRunning) {
        FProcess->terminate();
        if (!FProcess->waitForFinished(5000)) {
            FProcess->kill();
            FProcess->waitForFinished(5000);
        }
    }
    FOutput += QString::fromUtf8(FProcess->readAllStandardOutput());
    FProcess.reset();
}

QString TServiceFixture::SeedDemo(int ATimeoutMs) {
    if (IsRunning()) {
        FError = QStringLiteral("Stop the service before seeding its data folder.");
        return QString();
    }
    const QString Before = FOutput;
    const int OldPort = FPort;
    FOutput.clear();
    const bool Ok = Launch({QStringLiteral("--port"), QStringLiteral("0"), QStringLiteral("--seed-demo")}, ATimeoutMs);
    const QString Printed = FOutput;
    Stop();
    FOutput = Before + Printed;
    FPort = OldPort;
    return Ok ? Printed : QString();
}

bool TServiceFixture::SeedEvent(const TDO_Event &AEvent) const {
    const QString Relative = AEvent.RecommendedStorageFilename();
    if (Relative.isEmpty())
        return false;
    const QString Path = QDir(DataFolder()).filePath(QStringLiteral("events/") + Relative);
    QDir().mkpath(QFileInfo(Path).absolutePath());
    return AEvent.SaveTo_File(Path, TzovCryptoTool::NetworkStartCode());
}

bool TServiceFixture::SeedCoupon(const QString &ACode, int AUsesRemaining, TProductID AProduct,
                                 const TDateTime &AExpirationUTC) const {
    TDO_Coupon_Entry Entry;
    Entry.CouponCode().SetCode(ACode);
    Entry.SetUsesRemaining(AUsesRemaining);
    Entry.SetProductID(AProduct);
    Entry.SetExpirationUTC(AExpirationUTC);
    const QString Folder = QDir(DataFolder()).filePath(QStringLiteral("coupons"));
    QDir().mkpath(Folder);
    return Entry.SaveTo_File(QDir(Folder).filePath(Entry.CouponCode().RecommendedStorageFilename()),
                             TzovCryptoTool::NetworkStartCode());
}
