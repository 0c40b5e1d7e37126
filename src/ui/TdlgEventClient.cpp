#include "ui/TdlgEventClient.h"

#include "data/TDO_ClientConfig.h"
#include "net/TAgent_Client_Customer.h"
#include "ui/TBrandingStrip.h"
#include "ui/TBusyIndicator.h"
#include "ui/TUiServices.h"
#include "ui/TframeEventClient.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

TdlgEventClient::TdlgEventClient(TDO_ClientConfig &AClientConfig, QWidget *AParent)
    : QDialog(AParent), FClientConfig(AClientConfig) {
    setObjectName(QStringLiteral("dlgEventClient"));
    setWindowTitle(tr("Event"));
    setModal(true);
    resize(560, 520);

    FBranding = new TBrandingStrip(this);
    FBranding->setObjectName(QStringLiteral("brandingStrip"));
    const TDO_ClientConfig_Branding &brand = FClientConfig.Brand();
    FBranding->SetStrip(QColor::fromRgba(brand.Rect_FillColor()), QColor::fromRgba(brand.Rect_StrokeColor()),
                        QColor::fromRgba(brand.Label_ForeColor()), brand.Label_Text());

    FBanner = new QLabel(tr("Velmar"), this);
    FBanner->setObjectName(QStringLiteral("lblBanner"));
    QFont bannerFont = FBanner->font();
    bannerFont.setBold(true);
    bannerFont.setPointSizeF(bannerFont.pointSizeF() * 1.6);
    FBanner->setFont(bannerFont);
    FBanner->setMargin(6);

    FBusy = new TBusyIndicator(this);
    FBusy->setObjectName(QStringLiteral("busyStartup"));
    FFrame = new TframeEventClient(this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FBranding);
    layout->addWidget(FBanner);
    layout->addWidget(FBusy, 0, Qt::AlignHCenter);
    layout->addWidget(FFrame, 1);
}

TdlgEventClient::~TdlgEventClient() {
    TAgent_Client_Base::Abandon(FAgent);
}

bool TdlgEventClient::Execute() {
    exec();
    return FCheckPassed;
}

void TdlgEventClient::showEvent(QShowEvent *AEvent) {
    QDialog::showEvent(AEvent);
    if (!FCheckStarted) {
        FCheckStarted = true;
        // Started from the event loop, so that a quick failure can close a window that is fully shown.
        QTimer::singleShot(0, this, &TdlgEventClient::StartCheck);
    }
}

void TdlgEventClient::StartCheck() {
    TAgent_Client_Base::Abandon(FAgent);
    FBusy->Start();
    auto *agent = new TAgent_Client_Customer(FClientConfig.ServerBaseURL(), FClientConfig.CustomerID());
    connect(agent, &TAgent_Client_Base::Completed, this, &TdlgEventClient::CheckCompleted);
    FAgent = agent;
    agent->start();
}

void TdlgEventClient::CheckCompleted(TAgent_Client_Base *ASender) {
    auto *agent = qobject_cast<TAgent_Client_Customer *>(ASender);
    if (!agent || ASender != FAgent)
        return;
    FAgent.clear();
    FBusy->Stop();
    if (agent->Success()) {
        FCheckPassed = true;
        FFrame->Perform(FClientConfig);
        emit CheckFinished(true);
        return;
    }
    Ui().ShowError(this, tr("Unable to retrieve fee information."),
                   agent->OldClient() ? tr("Please upgrade to the latest version of this software.")
                                      : agent->StatusText());
    emit CheckFinished(false);
    reject();
}

void TdlgEventClient::done(int AResult) {
    if (FFrame->IsDocumentViewerOpen()) {
        Ui().ShowError(this, tr("Question document is open."));
        return;
    }
    QDialog::done(AResult);
}
