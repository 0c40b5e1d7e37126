// The student's event window ("Run Student Version"): checks the service, then hosts the event page.
#pragma once

#include "net/TAgent_Client_Customer.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class TBrandingStrip;
class TBusyIndicator;
class TDO_ClientConfig;
class TframeEventClient;

// Usage: TdlgEventClient dlg(config, this); dlg.Execute();   (exec() works the same way)
// The configuration is borrowed and must outlive the window. The start-up check starts when the window is
// first shown; when it fails the window reports it and closes itself.
class TdlgEventClient : public QDialog {
    Q_OBJECT
public:
    explicit TdlgEventClient(TDO_ClientConfig &AClientConfig, QWidget *AParent = nullptr);
    ~TdlgEventClient() override;

    // Shows the window modally; true when the service check passed and the event page was offered.
    bool Execute();

    TframeEventClient *Frame() const { return FFrame; }
    bool IsChecking() const { return FAgent != nullptr; }
    bool CheckPassed() const { return FCheckPassed; }

    // Refused with "Question document is open." while the question viewer is open.
    void done(int AResult) override;

signals:
    // The start-up check has ended (the event page is shown, or the failure was reported).
    void CheckFinished(bool ASuccess);

protected:
    void showEvent(QShowEvent *AEvent) override;

private:
    void StartCheck();
    void CheckCompleted(TAgent_Client_Base *ASender);

    TDO_ClientConfig &FClientConfig;
    QPointer<TAgent_Client_Customer> FAgent;
    bool FCheckStarted = false;
    bool FCheckPassed = false;
    TBrandingStrip *FBranding;
    QLabel *FBanner;
    TBusyIndicator *FBusy;
    TframeEventClient *FFrame;
};
