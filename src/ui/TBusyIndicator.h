// A small spinning busy indicator shown while a request runs.
#pragma once

#include <QTimer>
#include <QWidget>

class TBusyIndicator : public QWidget {
    Q_OBJECT
public:
    explicit TBusyIndicator(QWidget *AParent = nullptr);

    void Start();
    void Stop();
    void SetBusy(bool ABusy) { ABusy ? Start() : Stop(); }
    bool IsBusy() const { return FTimer.isActive(); }
    // When true (the default) the indicator is visible only while busy.
    void SetHideWhenStopped(bool AHide);

    QSize sizeHint() const override { return {32, 32}; }

protected:
    void paintEvent(QPaintEvent *AEvent) override;

private:
    QTimer FTimer;
    int FStep = 0;
    bool FHideWhenStopped = true;
};
