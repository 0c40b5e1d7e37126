// Bulk download of 1 MiB answer files from the local service: time per file and the agent's peak memory for
// 20 and for 200 files; the 20-file run is the reference (memory must not grow with the number of files).
#include "../tests/net/TNetTestData.h"

#include "net/TAgent_Client_DownloadUploadedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace TNetTestData;

namespace {
constexpr int MiB = 1024 * 1024;

long StatusKiB(const char *AField) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (line.startsWith(AField))
            return line.mid(int(qstrlen(AField))).trimmed().split(' ').first().toLong();
    return -1;
}

QByteArray Answer(int AIndex) {
    QByteArray data(MiB, char('a' + AIndex % 26));
    data.replace(0, 16, QByteArray::number(AIndex).leftJustified(16, ' '));
    return data;
}

struct TResult {
    double Seconds = 0;
    long PeakDeltaKiB = 0;
    int Files = 0;
    bool Ok = false;
};

// Runs in a fresh process, so its peak resident size is the download's own and not what preparing left behind.
int DownloadChild(const QString &ABaseURL, const QString &AEventID, int ACount, const QString &ATarget) {
    TDO_UploadedFiles entries;
    for (int i = 0; i < ACount; ++i) {
        auto entry = std::make_unique<TDO_UploadedFile>();
        entry->SetEventID(AEventID);
        entry->SetStudentID("s2");
        entry->SetProtectedInfo(QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0')));
        entries.push_back(std::move(entry));
    }
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(ABaseURL, ATarget, InstructorPassword, entries, error);
    if (!agent)
        return 1;
    const long before = StatusKiB("VmHWM:");
    QString folder;
    QElapsedTimer timer;
    timer.start();
    auto outcome = RunAgent<TAgent_Client_DownloadUploadedFiles>(
        agent, [&](TAgent_Client_DownloadUploadedFiles *A) { folder = A->Folder(); }, 600000);
    const double seconds = timer.elapsed() / 1000.0;
    const long peakDelta = StatusKiB("VmHWM:") - before;
    bool ok = outcome.Success && QDir(folder).entryList(QDir::Files).size() == ACount;
    for (int i = 0; i < ACount && ok; ++i) {
        QFile f(folder + QStringLiteral("s2_p%1_1_answer.txt").arg(i, 3, 10, QLatin1Char('0')));
        ok = f.open(QIODevice::ReadOnly) && f.readAll() == Answer(i);
    }
    QDir(folder).removeRecursively();
    std::printf("%f %ld %d\n", seconds, peakDelta, ok ? 1 : 0);
    return ok ? 0 : 1;
}

TResult Download(const QString &ABaseURL, const QString &AEventID, int ACount, const QString &ATarget) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--download"), ABaseURL, AEventID, QString::number(ACount), ATarget});
    TResult result;
    if (!child.waitForFinished(600000))
        return result;
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3)
        return result;
    result.Seconds = figures[0].toDouble();
    result.PeakDeltaKiB = figures[1].toLong();
    result.Ok = figures[2] == "1";
    result.Files = result.Ok ? ACount : 0;
    return result;
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 6 && args[1] == QLatin1String("--download"))
        return DownloadChild(args[2], args[3], args[4].toInt(), args[5]);
    TServiceFixture service;
    if (!service.Start()) {
        std::printf("service did not start: %s\n", qPrintable(service.ErrorText()));
        return 1;
    }
    QString error;
    auto event = CreateEvent(service, MakeEventRequest(QStringLiteral("Download bench"), 1100, 1), &error);
    if (!event) {
        std::printf("no event: %s\n", qPrintable(error));
        return 1;
    }
    constexpr int total = 200;
    TDO_UploadedFiles uploads;
    QElapsedTimer uploadTimer;
    uploadTimer.start();
    for (int i = 0; i < total; ++i) {
        auto request = MakeUploadRequest(*event, "s2", "", "answer.txt", Answer(i));
        request.SetProtectedInfo(QStringLiteral("p%1").arg(i, 3, 10, QLatin1Char('0')));
        std::unique_ptr<TDO_UploadedFile> stored;
        RunAgent<TAgent_Client_Upload>(new TAgent_Client_Upload(service.BaseURL(), request),
                                       [&](TAgent_Client_Upload *A) {
                                           if (A->Upload())
                                               stored = A->Upload()->Clone();
                                       });
        if (!stored) {
            std::printf("upload %d failed\n", i);
            return 1;
        }
        stored->SetFileData(QByteArray());
        uploads.push_back(std::move(stored));
    }
    std::printf("prepared %d answer files of 1 MiB in %.1f s\n", total, uploadTimer.elapsed() / 1000.0);

    QTemporaryDir target;
    const TResult small = Download(service.BaseURL(), event->ID(), 20, target.path());
    const TResult large = Download(service.BaseURL(), event->ID(), total, target.path());
    std::printf("%-10s %8s %12s %14s %6s\n", "files", "seconds", "ms per file", "peak +MiB", "ok");
    for (const auto &[n, r] : {std::pair{20, small}, std::pair{total, large}})
        std::printf("%-10d %8.2f %12.1f %14.1f %6s\n", n, r.Seconds, 1000.0 * r.Seconds / n, r.PeakDeltaKiB / 1024.0,
                    r.Ok && r.Files == n ? "yes" : "NO");
    std::printf("ratio 200/20 (reference: the 20-file run): time per file %.2f, peak memory %.2f\n",
                (large.Seconds / total) / (small.Seconds / 20), double(large.PeakDeltaKiB) / double(small.PeakDeltaKiB));
    return small.Ok && large.Ok ? 0 : 1;
}
