#include "TfrmMain.h"

#include "app/TClientBranding.h"
#include "app/TDO_ClientConfig_FileOnDisk.h"
#include "app/TdlgAbout.h"
#include "data/TDO_ClientConfig.h"
#include "net/TAgent_Client_CheckVersion.h"
#include "ui/TBrandingStrip.h"
#include "ui/THeaderBand.h"
#include "ui/TUiServices.h"
#include "ui/TdlgEventClient.h"
#include "ui/TdlgEventOpen.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include "TavixDeployment.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QFrame *MakeSeparator(QWidget *AParent) {
    auto *line = new QFrame(AParent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

// Dialogs that open in the middle of the screen rather than over the main window.
void CentreOnScreen(QWidget *AWindow, const QScreen *AScreen) {
    if (!AScreen)
        return;
    AWindow->adjustSize();
    QRect frame = AWindow->frameGeometry();
    frame.moveCenter(AScreen->availableGeometry().center());
    AWindow->move(frame.topLeft());
}

} // namespace

TfrmMain::TfrmMain(const QString &AConfigFolder, QWidget *AParent) : QWidget(AParent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(tr("Tavix Corlan"));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    FClientConfig = std::make_unique<TDO_ClientConfig_FileOnDisk>(QString::fromLatin1(ConfigFilename), AConfigFolder);
    FormCreate();
}

TfrmMain::~TfrmMain() { AbandonVersionCheck(); }

TDO_ClientConfig &TfrmMain::ClientConfig() { return FClientConfig->Config(); }

bool TfrmMain::IsVersionCheckRunning() const { return !FAgent.isNull(); }

void TfrmMain::FormCreate() {
    THeaderBand::ApplyWindowBackground(this);

    // The header band: product name at the left, the product line and the maker at the right, the banner
    // at its lower left.
    QGridLayout *bandLayout = nullptr;
    auto *band = THeaderBand::Create(this, QMargins(16, 12, 16, 10), &bandLayout);
    auto *logo = THeaderBand::CreateLabel(tr("Tavix"), band, 2.4, true, "white");
    logo->setObjectName(QStringLiteral("imgLogo"));
    auto *product = THeaderBand::CreateLabel(tr("Corlan"), band, 1.6, false, "white");
    product->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *maker = THeaderBand::CreateLabel(tr("by Tavix"), band, 0.8, false, "#B0B0B0");
    maker->setAlignment(Qt::AlignRight | Qt::AlignTop);
    rectBrand = new TBrandingStrip(band);
    rectBrand->setObjectName(QStringLiteral("rectBrand"));
    bandLayout->addWidget(logo, 0, 0, 2, 1, Qt::AlignLeft | Qt::AlignVCenter);
    bandLayout->addWidget(product, 0, 1);
    bandLayout->addWidget(maker, 1, 1);
    bandLayout->addWidget(rectBrand, 2, 0, 1, 2, Qt::AlignLeft | Qt::AlignBottom);
    bandLayout->setColumnStretch(0, 1);

    auto *choices = new QWidget(this);
    auto *choicesLayout = new QVBoxLayout(choices);
    choicesLayout->setContentsMargins(24, 14, 24, 6);
    choicesLayout->setSpacing(4);
    const struct {
        QRadioButton **Button;
        const char *Name;
        QString Text;
        QString Description;
    } Choices[] = {
        {&optCreateEvent, "optCreateEvent", tr("  Create Event"), tr("Create a new exam or assignment \"event\".")},
        {&optEditEvent, "optEditEvent", tr("  View / Edit Event"), tr("Manage student IDs and accommodations.")},
        {&optStudentClient, "optStudentClient", tr("  Run Student Version"),
         tr("See student view of events (real or practice).")},
        {&optDownloadFiles, "optDownloadFiles", tr("  Download Files"),
         tr("View submittal status. Download answer files.")},
    };
    bool first = true;
    for (const auto &c : Choices) {
        if (!first)
            choicesLayout->addWidget(MakeSeparator(choices));
        first = false;
        auto *button = new QRadioButton(c.Text, choices);
        button->setObjectName(QString::fromLatin1(c.Name));
        QFont f = button->font();
        f.setPointSizeF(f.pointSizeF() * 1.5);
        f.setBold(true);
        button->setFont(f);
        auto *description = new QLabel(c.Description, choices);
        description->setObjectName(QString::fromLatin1(c.Name) + QStringLiteral("Description"));
        description->setContentsMargins(32, 0, 0, 4);
        description->setBuddy(button);
        choicesLayout->addWidget(button);
        choicesLayout->addWidget(description);
        *c.Button = button;
    }
    optCreateEvent->setChecked(true);

    btnSelect = new QPushButton(tr("Go"), this);
    btnSelect->setObjectName(QStringLiteral("btnSelect"));
    btnSelect->setDefault(true);
    btnSelect->setMinimumSize(140, 40);
    {
        QFont f = btnSelect->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        f.setBold(true);
        btnSelect->setFont(f);
    }
    btnSelect->setStyleSheet(QStringLiteral("QPushButton { background: #228B22; color: white; border: 1px solid #1A6B1A;"
                                            " border-radius: 4px; padding: 6px 24px; }"
                                            "QPushButton:pressed { background: #1A6B1A; }"
                                            "QPushButton:focus { border: 2px solid #0F3F0F; }"));
    connect(btnSelect, &QPushButton::clicked, this, &TfrmMain::btnSelectClick);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    {
        QFont f = lblVersion->font();
        f.setPointSizeF(f.pointSizeF() * 0.85);
        lblVersion->setFont(f);
    }
    lblVersion->setStyleSheet(QStringLiteral("color: #808080;"));
    lblVersion->setText(tr("v") + TzovUtil_ApplicationVersion::Version_AsString());
    lblVersion->setToolTip(tr("Double-click for details"));
    lblVersion->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addWidget(choices);
    auto *goRow = new QHBoxLayout;
    goRow->setContentsMargins(24, 8, 24, 8);
    goRow->addStretch(1);
    goRow->addWidget(btnSelect);
    goRow->addStretch(1);
    layout->addLayout(goRow);
    auto *versionRow = new QHBoxLayout;
    versionRow->setContentsMargins(8, 0, 8, 0);
    versionRow->addWidget(lblVersion);
    versionRow->addStretch(1);
    layout->addLayout(versionRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(optCreateEvent, optEditEvent);
    setTabOrder(optEditEvent, optStudentClient);
    setTabOrder(optStudentClient, optDownloadFiles);
    setTabOrder(optDownloadFiles, btnSelect);

    // The About box is made once and reused.
    FAbout = new TdlgAbout(this);

    // A file that is missing or unreadable is replaced by one with the defaults; a failed save is not
    // reported, as the program works on from the record in memory.
    if (!FClientConfig->Load())
        (void)FClientConfig->Save();
    ApplyBranding();
}

void TfrmMain::ApplyBranding() { TClientBranding::Apply(*rectBrand, ClientConfig()); }

void TfrmMain::showEvent(QShowEvent *AEvent) {
    QWidget::showEvent(AEvent);
    if (AEvent->spontaneous())
        return; // restored from minimised: not a new showing
    ApplyBranding();
    optCreateEvent->setFocus();
    StartVersionCheck();
}

void TfrmMain::keyPressEvent(QKeyEvent *AEvent) {
    // "Go" is the default button: Enter anywhere in the window runs the selected choice.
    if ((AEvent->key() == Qt::Key_Return || AEvent->key() == Qt::Key_Enter) && AEvent->modifiers() == Qt::NoModifier) {
        if (btnSelect->isEnabled())
            btnSelect->click();
        AEvent->accept();
        return;
    }
    QWidget::keyPressEvent(AEvent);
}

bool TfrmMain::eventFilter(QObject *AWatched, QEvent *AEvent) {
    if (AWatched == lblVersion && AEvent->type() == QEvent::MouseButtonDblClick) {
        lblVersionDblClick();
        return true;
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

void TfrmMain::btnSelectClick() {
    if (optCreateEvent->isChecked())
        actCreateEventExecute();
    else if (optEditEvent->isChecked())
        actEditEventExecute();
    else if (optStudentClient->isChecked())
        actStudentClientExecute();
    else if (optDownloadFiles->isChecked())
        actViewFilesExecute();
}

void TfrmMain::ShowNotAvailable(const QString &AFeature) {
    Ui().ShowMessage(this, mkInformation, TUiServices::DefaultTitle(),
                     tr("%1 is not available yet in this version.").arg(AFeature));
}

void TfrmMain::actCreateEventExecute() { ShowNotAvailable(tr("Creating an event")); }

void TfrmMain::actEditEventExecute() {
    TdlgEventOpen dlg(this);
    if (dlg.GetEvent(ClientConfig(), QString(), QString()))
        ShowNotAvailable(tr("Viewing and editing an event"));
}

void TfrmMain::actViewFilesExecute() {
    TdlgEventOpen dlg(this);
    if (dlg.GetEvent_WithUploadList(ClientConfig(), QString(), QString()))
        ShowNotAvailable(tr("Downloading answer files"));
}

void TfrmMain::actStudentClientExecute() {
    TdlgEventClient dlg(ClientConfig(), this);
    CentreOnScreen(&dlg, screen());
    dlg.Execute();
}

void TfrmMain::lblVersionDblClick() {
    FAbout->SetServerBaseURL(ClientConfig().ServerBaseURL());
    CentreOnScreen(FAbout, screen());
    FAbout->exec();
}

void TfrmMain::AbandonVersionCheck() { TAgent_Client_Base::Abandon(FAgent); }

void TfrmMain::StartVersionCheck() {
    AbandonVersionCheck();
    auto *agent = new TAgent_Client_CheckVersion(ClientConfig().ServerBaseURL());
    connect(agent, &TAgent_Client_Base::Completed, this, &TfrmMain::VersionCheckCompleted);
    FAgent = agent;
    agent->start();
}

void TfrmMain::VersionCheckCompleted(TAgent_Client_Base *ASender) {
    auto *agent = qobject_cast<TAgent_Client_CheckVersion *>(ASender);
    if (!agent || agent != FAgent)
        return;
    FAgent.clear();
    const int status = agent->StatusCode();
    emit VersionCheckFinished(status);
    if (status != 426)
        return; // accepted, refused otherwise or unreachable: carry on without a word
    Ui().ShowMessage(this, mkError, TUiServices::DefaultTitle(),
                     tr("Please upgrade to the latest version of this software."));
    Ui().OpenUrl(QUrl(QString::fromUtf8(TavixDeployment::maker_upgrade_address)));
    close();
}
