// Bulk download of 1 MiB answer files from the local service: time per file and the agent's peak memory for
// 20 and for 200 files; the 20-file run is the reference (memory must not grow with the number of files).
#include "../tests/net/TNetTestData.h"

#include "net/TAgent_Client_DownloadUploadedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
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

bool ResetPeakRss() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    return f.open(QIODevice::WriteOnly) && f.write("5") == 1;
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

TResult Download(const QString &ABaseURL, const TDO_UploadedFiles &AAll, int ACount, const QString &ATarget) {
    std::vector<const TDO_UploadedFile *> entries;
    for (int i = 0; i < ACount; ++i)
        entries.push_back(AAll[size_t(i)].get());
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(ABaseURL, ATarget, InstructorPassword, entries, error);
    TResult result;
    if (!agent)
        return result;
    const bool peakReset = ResetPeakRss();
    const long before = StatusKiB("VmRSS:");
    QString folder;
    QElapsedTimer timer;
    timer.start();
    auto outcome = RunAgent<TAgent_Client_DownloadUploadedFiles>(
        agent, [&](TAgent_Client_DownloadUploadedFiles *A) { folder = A->Folder(); }, 600000);
    result.Seconds = timer.elapsed() / 1000.0;
    result.PeakDeltaKiB = peakReset ? StatusKiB("VmHWM:") - before : -1;
    result.Ok = outcome.Success;
    const QStringList files = QDir(folder).entryList(QDir::Files);
    result.Files = int(files.size());
    for (int i = 0; i < ACount && result.Ok; ++i) {
        QFile f(folder + QStringLiteral("s2_p%1_1_answer.txt").arg(i, 3, 10, QLatin1Char('0')));
        result.Ok = f.open(QIODevice::ReadOnly) && f.readAll() == Answer(i);
    }
    QDir(folder).removeRecursively();
    return result;
}
} // namespace

int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
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
    const TResult small = Download(service.BaseURL(), uploads, 20, target.path());
    const TResult large = Download(service.BaseURL(), uploads, total, target.path());
    std::printf("%-10s %8s %12s %14s %6s\n", "files", "seconds", "ms per file", "peak MiB", "ok");
    for (const auto &[n, r] : {std::pair{20, small}, std::pair{total, large}})
        std::printf("%-10d %8.2f %12.1f %14.1f %6s\n", n, r.Seconds, 1000.0 * r.Seconds / n, r.PeakDeltaKiB / 1024.0,
                    r.Ok && r.Files == n ? "yes" : "NO");
    std::printf("ratio 200/20 (reference: the 20-file run): time per file %.2f, peak memory %.2f\n",
                (large.Seconds / total) / (small.Seconds / 20), double(large.PeakDeltaKiB) / double(small.PeakDeltaKiB));
    return small.Ok && large.Ok ? 0 : 1;
}
