// Shared helpers for the test programs: temporary folders, fixed clocks, failing devices.
#pragma once

#include <QByteArray>
#include <QIODevice>

// A write-only device that accepts the first N bytes and then fails, for the error paths of saves.
class TFailingDevice : public QIODevice {
public:
    explicit TFailingDevice(qint64 AFailAfter, QObject *AParent = nullptr);
    QByteArray Written() const { return FWritten; }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *AData, qint64 ALen) override;

private:
    qint64 FFailAfter;
    QByteArray FWritten;
};
