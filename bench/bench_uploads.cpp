// Fifty students uploading a 1 MiB answer each at the same moment to the local service: every file stored once,
// under its own student, with its own content; the same fifty one after another are the reference.
#include "../tests/net/TNetTestData.h"

#include "net/TAgent_Client_DownloadUploadedFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cstdio>

using namespace TNetTestData;

namespace {
constexpr int Students = 50;
constexpr int MiB = 1024 * 1024;

QByteArray Answer(int ARound, int AIndex) {
    QByteArray data(MiB, char('A' + (AIndex + ARound) % 26));
    data.replace(0, 32, QStringLiteral("round %1 student %2").arg(ARound).arg(AIndex).toUtf8().leftJustified(32, ' '));
    return data;
}

QString ProtectedInfo(int ARound, int AIndex) { return QStringLiteral("r%1-%2").arg(ARound).arg(AIndex, 2, 10, QLatin1Char('0')); }

struct TRound {
    double Seconds = 0;
    int Stored = 0;
    int Wrong = 0; // a reply naming another student or size
    TDO_UploadedFiles Uploads;
};

// All at once (AConcurrent) or one after the other.
TRound Upload(const QString &ABaseURL, const TDO_Event &AEvent, int ARound, bool AConcurrent) {
    TRound round;
    int pending = 0;
    QEventLoop loop;
    auto start = [&](int AIndex) {
        auto request = MakeUploadRequest(AEvent, "s2", "", "answer.txt", Answer(ARound, AIndex));
        request.SetProtectedInfo(ProtectedInfo(ARound, AIndex));
        auto *agent = new TAgent_Client_Upload(ABaseURL, request);
        QObject::connect(agent, &TAgent_Client_Base::Completed, &loop, [&, AIndex](TAgent_Client_Base *ASender) {
            auto *a = static_cast<TAgent_Client_Upload *>(ASender);
            if (a->Success() && a->Upload()) {
                ++round.Stored;
                if (a->Upload()->ProtectedInfo() != ProtectedInfo(ARound, AIndex) || a->Upload()->StudentID() != "s2")
                    ++round.Wrong;
                auto kept = a->Upload()->Clone();
                kept->SetFileData(QByteArray());
                round.Uploads.push_back(std::move(kept));
            } else {
                std::printf("  %s: %d %s\n", qPrintable(ProtectedInfo(ARound, AIndex)), a->StatusCode(),
                            qPrintable(a->StatusText()));
            }
            if (--pending == 0)
                loop.quit();
        });
        ++pending;
        agent->start();
    };
    QElapsedTimer timer;
    timer.start();
    if (AConcurrent) {
        for (int i = 0; i < Students; ++i)
            start(i);
        loop.exec();
    } else {
        for (int i = 0; i < Students; ++i) {
            start(i);
            loop.exec();
        }
    }
    round.Seconds = timer.elapsed() / 1000.0;
    return round;
}

// Downloads what was stored and compares every file with what its student sent.
int Verify(const QString &ABaseURL, const TRound &ARound, int ARoundNumber) {
    QTemporaryDir target;
    QString error;
    auto *agent = TAgent_Client_DownloadUploadedFiles::Create(ABaseURL, target.path(), InstructorPassword,
                                                              ARound.Uploads, error);
    if (!agent)
        return 0;
    QString folder;
    RunAgent<TAgent_Client_DownloadUploadedFiles>(
        agent, [&](TAgent_Client_DownloadUploadedFiles *A) { folder = A->Folder(); }, 600000);
    int same = 0;
    for (int i = 0; i < Students; ++i) {
        QFile f(folder + QStringLiteral("s2_%1_1_answer.txt").arg(ProtectedInfo(ARoundNumber, i)));
        same += f.open(QIODevice::ReadOnly) && f.readAll() == Answer(ARoundNumber, i) ? 1 : 0;
    }
    return same;
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
    auto event = CreateEvent(service, MakeEventRequest(QStringLiteral("Upload bench"), 1100, 1), &error);
    if (!event) {
        std::printf("no event: %s\n", qPrintable(error));
        return 1;
    }
    const TRound sequential = Upload(service.BaseURL(), *event, 1, false);
    const TRound concurrent = Upload(service.BaseURL(), *event, 2, true);
    const int sequentialSame = Verify(service.BaseURL(), sequential, 1);
    const int concurrentSame = Verify(service.BaseURL(), concurrent, 2);
    std::printf("%-26s %8s %8s %10s %14s\n", "uploads of 1 MiB", "seconds", "stored", "mixed up", "content checked");
    std::printf("%-26s %8.2f %8d %10d %14d\n", "50 one after another", sequential.Seconds, sequential.Stored,
                sequential.Wrong, sequentialSame);
    std::printf("%-26s %8.2f %8d %10d %14d\n", "50 at the same moment", concurrent.Seconds, concurrent.Stored,
                concurrent.Wrong, concurrentSame);
    std::printf("ratio simultaneous/sequential (reference: one after another): %.2f\n",
                concurrent.Seconds / sequential.Seconds);
    const bool ok = concurrent.Stored == Students && concurrent.Wrong == 0 && concurrentSame == Students &&
                    sequential.Stored == Students && sequentialSame == Students;
    std::printf("%s\n", ok ? "all stored, none lost or mixed up" : "FAILED: lost or mixed-up uploads");
    return ok ? 0 : 1;
}
