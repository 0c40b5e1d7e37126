#include "TestSupport.h"

TFailingDevice::TFailingDevice(qint64 AFailAfter, QObject *AParent) : QIODevice(AParent), FFailAfter(AFailAfter) {
    open(QIODevice::WriteOnly);
}

qint64 TFailingDevice::writeData(const char *AData, qint64 ALen) {
    const qint64 room = FFailAfter - FWritten.size();
    if (room <= 0)
        return -1;
    const qint64 n = qMin(room, ALen);
    FWritten.append(AData, n);
    return n;
}
