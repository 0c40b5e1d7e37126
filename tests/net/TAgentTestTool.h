// Runs an agent to its completion from a test and keeps what its completion handler saw.
#pragma once

#include "net/TAgent_Client_Base.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QPointer>
#include <QTimer>

#include <functional>

struct TAgentOutcome {
    bool Completed = false;
    bool OnUIThread = false;
    bool Success = false;
    int StatusCode = 0;
    QString StatusText;
    bool OldClient = false;
};

// Starts the agent, waits (spinning this thread's loop) for Completed, and copies the outcome there, the
// way a dialog does. AInspect sees the agent inside the handler, where reply records may be duplicated.
template <class T>
TAgentOutcome RunAgent(T *AAgent, const std::function<void(T *)> &AInspect = {}, int ATimeoutMsec = 20000) {
    TAgentOutcome outcome;
    QEventLoop loop;
    QObject::connect(AAgent, &TAgent_Client_Base::Completed, &loop, [&](TAgent_Client_Base *ASender) {
        outcome.Completed = true;
        outcome.OnUIThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        outcome.Success = ASender->Success();
        outcome.StatusCode = ASender->StatusCode();
        outcome.StatusText = ASender->StatusText();
        outcome.OldClient = ASender->OldClient();
        if (AInspect)
            AInspect(static_cast<T *>(ASender));
        loop.quit();
    });
    QTimer::singleShot(ATimeoutMsec, &loop, &QEventLoop::quit);
    AAgent->start();
    loop.exec();
    return outcome;
}

// Spins the event loop until the condition holds or the time is up.
inline bool WaitUntil(const std::function<bool()> &ACondition, int ATimeoutMsec = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!ACondition()) {
        if (timer.elapsed() > ATimeoutMsec)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return true;
}
