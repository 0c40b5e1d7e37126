#include "TLaunchShellApp.h"

#include "TUriCoder.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QProcess>
#include <QStandardPaths>

#include <memory>

namespace {

QMutex GLauncherLock;
std::function<int(const TLaunchShellAppData &)> GLauncher;

// Program and arguments for a request; false when this platform has no way to carry out the verb.
bool ResolveCommand(const TLaunchShellAppData &AData, QString &AProgram, QStringList &AArguments) {
    const QString verb = AData.Verb.trimmed();
    if (!verb.isEmpty() && verb.compare(QLatin1String("open"), Qt::CaseInsensitive) != 0)
        return false;
    if (AData.Command.isEmpty())
        return false;
    if (AData.Parameters.trimmed().isEmpty()) {
        // Always through the desktop's open action, never by running the file itself, so opening a
        // downloaded document that happens to be executable does not run it.
        AProgram = QStringLiteral("xdg-open");
        AArguments = {AData.Command};
    } else {
        AProgram = AData.Command;
        AArguments = QProcess::splitCommand(AData.Parameters);
    }
    return !QStandardPaths::findExecutable(AProgram).isEmpty() || QFileInfo(AProgram).isExecutable();
}

int DefaultLauncher(const TLaunchShellAppData &AData) {
    QString program;
    QStringList arguments;
    if (!ResolveCommand(AData, program, arguments))
        return -1;

    if (!AData.Wait) {
        return QProcess::startDetached(program, arguments, AData.WorkingDirectory) ? 0 : -1;
    }

    auto process = std::make_unique<QProcess>();
    process->setProgram(program);
    process->setArguments(arguments);
    if (!AData.WorkingDirectory.isEmpty())
        process->setWorkingDirectory(AData.WorkingDirectory);
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->start();
    if (!process->waitForStarted())
        return -1;

    if (!QCoreApplication::instance()) {
        process->waitForFinished(-1);
    } else {
        // Keep the user interface alive while the launched program runs. A nested loop rather than polling,
        // because quitting the application ends every running loop of the thread, so we notice it at once.
        QEventLoop loop;
        QObject::connect(process.get(), &QProcess::finished, &loop, &QEventLoop::quit);
        if (process->state() != QProcess::NotRunning && !QCoreApplication::closingDown())
            loop.exec();
        if (process->state() != QProcess::NotRunning) {
            // The application is closing. Destroying the QProcess would kill the user's program; let it run
            // on.
            QObject::disconnect(process.get(), nullptr, &loop, nullptr);
            (void)process.release();
            return TLaunchShellApp::StillRunningExitCode;
        }
    }
    if (process->exitStatus() != QProcess::NormalExit)
        return -1;
    return process->exitCode();
}

QString Message(const char *AText, const QString &APath) {
    return QCoreApplication::translate("TLaunchShellApp", AText) + QLatin1String("\r\n") + APath;
}

} // namespace

void TLaunchShellAppData::Initialize(const QString &ACommand, const QString &AParams, bool AWait) {
    Handle = 0;
    Command = ACommand;
    WorkingDirectory.clear();
    Parameters = AParams;
    Verb = QStringLiteral("open");
    Wait = AWait;
}

void TLaunchShellAppData::InitializeWithHandle(const QString &ACommand, const QString &AParams, bool AWait) {
    Initialize(ACommand, AParams, AWait);
}

void TLaunchShellApp::SetLauncher(std::function<int(const TLaunchShellAppData &)> ALauncher) {
    QMutexLocker lock(&GLauncherLock);
    GLauncher = std::move(ALauncher);
}

int TLaunchShellApp::Perform(const TLaunchShellAppData &AData) {
    std::function<int(const TLaunchShellAppData &)> launcher;
    {
        QMutexLocker lock(&GLauncherLock);
        launcher = GLauncher;
    }
    return launcher ? launcher(AData) : DefaultLauncher(AData);
}

bool TLaunchShellApp::Perform(const QString &ACmdLine, const QString &AParams, const QString &AVerb,
                              bool AWait) {
    return Perform(0, ACmdLine, AParams, AVerb, AWait);
}

bool TLaunchShellApp::Perform(quintptr AHandle, const QString &ACmdLine, const QString &AParams,
                              const QString &AVerb, bool AWait) {
    TLaunchShellAppData data;
    data.Handle = AHandle;
    data.Command = ACmdLine;
    data.Parameters = AParams;
    data.Verb = AVerb;
    data.Wait = AWait;
    return Perform(data) == 0;
}

int TLaunchShellApp::PerformAndWait(const QString &ACmdLine, const QString &AParams, const QString &AVerb) {
    return PerformAndWait(0, ACmdLine, AParams, AVerb);
}

int TLaunchShellApp::PerformAndWait(quintptr AHandle, const QString &ACmdLine, const QString &AParams,
                                    const QString &AVerb) {
    TLaunchShellAppData data;
    data.Handle = AHandle;
    data.Command = ACmdLine;
    data.Parameters = AParams;
    data.Verb = AVerb;
    data.Wait = true;
    return Perform(data);
}

QString TLaunchShellApp::OpenFolder(const QString &APath) {
    // An empty path would otherwise stand for the current folder.
    if (APath.isEmpty() || !QFileInfo(APath).isDir())
        return Message(QT_TRANSLATE_NOOP("TLaunchShellApp", "Unable to find directory:"), APath);
    if (!Perform(APath, QString(), QStringLiteral("open"), false))
        return Message(QT_TRANSLATE_NOOP("TLaunchShellApp", "Failed to open directory:"), APath);
    return {};
}

bool TLaunchShellApp::OpenBrowser(const QString &AUrl) {
    return Perform(AUrl, QString(), QStringLiteral("open"), false);
}

bool TLaunchShellApp::OpenEmail(const QString &AAddress, const QString &ASubject, const QString &ABody) {
    Q_UNUSED(ABody);
    const TUnsafeCharSet unsafe = TUriCoder::EmailUnsafeChars();
    QString url = QStringLiteral("mailto:") + TUriCoder::EncodeEx(AAddress, unsafe);
    if (!ASubject.isEmpty())
        url += QStringLiteral("?subject=") + TUriCoder::EncodeEx(ASubject, unsafe);
    return Perform(url, QString(), QStringLiteral("open"), false);
}
