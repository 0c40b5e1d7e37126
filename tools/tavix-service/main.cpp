// Entry point of the local service: options, optional demo data, then serving until SIGINT or SIGTERM.
#include "TServiceEndpoints.h"
#include "TTavixService.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <pthread.h>
#include <thread>

int main(int argc, char *argv[]) {
    // Block the stop signals in every thread; one watcher thread turns them into an orderly stop.
    sigset_t StopSignals;
    sigemptyset(&StopSignals);
    sigaddset(&StopSignals, SIGINT);
    sigaddset(&StopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &StopSignals, nullptr);

    QCoreApplication App(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavix-service"));
    QCoreApplication::setOrganizationName(QStringLiteral("Tavix"));

    const QStringList Args = QCoreApplication::arguments();
    if (Args.contains(QLatin1String("--help")) || Args.contains(QLatin1String("-h"))) {
        std::fputs(qPrintable(TServiceOptions::UsageText()), stdout);
        return 0;
    }
    TServiceOptions Options;
    QString Error;
    if (!TServiceOptions::Parse(Args, Options, Error)) {
        std::fprintf(stderr, "tavix-service: %s\n%s", qPrintable(Error), qPrintable(TServiceOptions::UsageText()));
        return 2;
    }

    TTavixService Service(Options);
    if (!Service.Prepare(Error)) {
        std::fprintf(stderr, "tavix-service: %s\n", qPrintable(Error));
        return 1;
    }

    if (Options.SeedDemo) {
        const QString Lines = Service.Endpoints().SeedDemo(Error);
        if (Lines.isEmpty()) {
            std::fprintf(stderr, "tavix-service: %s\n", qPrintable(Error));
            return 1;
        }
        std::fputs(qPrintable(Lines), stdout);
    }

    std::thread Watcher([&Service, StopSignals] {
        int Signal = 0;
        sigwait(&StopSignals, &Signal);
        (void)Signal;
        Service.Stop();
    });

    std::printf("listening on %s\n", qPrintable(Service.BaseURL()));
    std::fflush(stdout);
    const bool Ok = Service.Run();

    // Wake the watcher if the server ended for another reason.
    pthread_kill(Watcher.native_handle(), SIGTERM);
    Watcher.join();
    return Ok ? 0 : 1;
}
