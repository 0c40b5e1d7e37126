#include "TdlgEventOpen.h"

#include "app/TClientBranding.h"
#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event.h"
#include "data/TDO_Event_Request.h"
#include "data/TDO_Event_WithUploadedList.h"
#include "net/TAgent_Client_Event.h"
#include "ui/TBrandingStrip.h"
#include "ui/TBusyIndicator.h"
#include "ui/THeaderBand.h"
#include "ui/TShowHideButton.h"
#include "ui/TUiServices.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// What a typed character becomes in the event code: capitals and digits; nothing for anything else.
QString CodeCharacter(const QString &ATyped) {
    QString result;
    for (QChar c : ATyped) {
        if (c >= u'a' && c <= u'z')
            result += QChar(c.unicode() - u'a' + u'A');
        else if ((c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9'))
            result += c;
    }
    return result;
}

} // namespace

TdlgEventOpen::TdlgEventOpen(QWidget *AParent)
    : QDialog(AParent), FEvent(std::make_unique<TDO_Event>()),
      FEventUL(std::make_unique<TDO_Event_WithUploadedList>()) {
    setObjectName(QStringLiteral("dlgEventOpen"));
    setWindowTitle(tr("Specify Event"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    THeaderBand::ApplyWindowBackground(this);

    QGridLayout *bandLayout = nullptr;
    auto *band = THeaderBand::Create(this, QMargins(14, 10, 14, 8), &bandLayout);
    auto *logo = THeaderBand::CreateLabel(tr("Tavix"), band, 1.8, true, "white");
    auto *title = THeaderBand::CreateLabel(tr("Specify Event"), band, 1.5, true, "white");
    title->setAlignment(Qt::AlignCenter);
    auto *maker = THeaderBand::CreateLabel(tr("by Tavix"), band, 0.8, false, "#B0B0B0");
    maker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    rectBrand = new TBrandingStrip(band);
    rectBrand->setObjectName(QStringLiteral("rectBrand"));
    bandLayout->addWidget(logo, 0, 0);
    bandLayout->addWidget(title, 0, 1);
    bandLayout->addWidget(maker, 0, 2);
    bandLayout->addWidget(rectBrand, 1, 0, 1, 3, Qt::AlignLeft | Qt::AlignBottom);
    bandLayout->setColumnStretch(1, 1);

    lblID = new QLabel(tr("Event Code"), this);
    lblID->setObjectName(QStringLiteral("lblID"));
    QFont big = lblID->font();
    big.setPointSizeF(big.pointSizeF() * 1.4);
    big.setBold(true);
    lblID->setFont(big);
    txtID = new QLineEdit(this);
    txtID->setObjectName(QStringLiteral("txtID"));
    txtID->setFont(big);
    txtID->setAlignment(Qt::AlignCenter);
    txtID->setMinimumWidth(260);
    txtID->installEventFilter(this);
    lblID->setBuddy(txtID);

    lblPassword = new QLabel(tr("Password"), this);
    lblPassword->setObjectName(QStringLiteral("lblPassword"));
    txtPassword = new QLineEdit(this);
    txtPassword->setObjectName(QStringLiteral("txtPassword"));
    lblPassword->setBuddy(txtPassword);
    btnPasswordShowHide = new TShowHideButton(txtPassword, this);
    btnPasswordShowHide->setObjectName(QStringLiteral("btnPasswordShowHide"));

    btnClose = new QPushButton(tr("Cancel"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setAutoDefault(false);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    btnOK = new QPushButton(tr("Open"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(100);
    btnOK->setStyleSheet(QStringLiteral("QPushButton { background: #678BC7; color: white; border: 1px solid #4F6FA5;"
                                        " border-radius: 3px; padding: 5px 18px; }"
                                        "QPushButton:disabled { background: #969696; border-color: #808080; }"));
    connect(btnOK, &QPushButton::clicked, this, &TdlgEventOpen::btnOKClick);

    aniBusy = new TBusyIndicator(this);
    aniBusy->setObjectName(QStringLiteral("aniBusy"));

    auto *form = new QGridLayout;
    form->setContentsMargins(24, 16, 24, 8);
    form->setHorizontalSpacing(8);
    form->addWidget(lblID, 0, 0, 1, 2, Qt::AlignHCenter);
    form->addWidget(txtID, 1, 0, 1, 2);
    form->addWidget(lblPassword, 2, 0, 1, 2);
    form->addWidget(txtPassword, 3, 0);
    form->addWidget(btnPasswordShowHide, 3, 1);

    auto *buttons = new QHBoxLayout;
    buttons->setContentsMargins(24, 8, 24, 16);
    buttons->addWidget(aniBusy);
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    buttons->addWidget(btnOK);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(band);
    layout->addLayout(form);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(txtID, txtPassword);
    setTabOrder(txtPassword, btnPasswordShowHide);
    setTabOrder(btnPasswordShowHide, btnClose);
    setTabOrder(btnClose, btnOK);

    connect(txtID, &QLineEdit::textChanged, this, &TdlgEventOpen::UpdateOK);
    connect(txtPassword, &QLineEdit::textChanged, this, &TdlgEventOpen::UpdateOK);

    TimerAutoOK.setInterval(100);
    TimerAutoOK.setSingleShot(true);
    connect(&TimerAutoOK, &QTimer::timeout, this, [this] {
        TimerAutoOK.stop();
        btnOKClick();
    });

    SetBusy(false);
}

TdlgEventOpen::~TdlgEventOpen() { AbandonFetch(); }

QString TdlgEventOpen::Text_UnableToOpen() { return tr("Unable to open event."); }

void TdlgEventOpen::ResetRecords() {
    FEvent->Initialize();
    FEventUL->Initialize();
}

void TdlgEventOpen::Prepare(const TDO_ClientConfig &AClientConfig, TEventType AEventType, const QString &AID,
                            const QString &APassword) {
    FClientConfig = &AClientConfig;
    FEventType = AEventType;
    TClientBranding::Apply(*rectBrand, AClientConfig);
    ResetRecords();
    if (!AID.isEmpty())
        txtID->setText(AID);
    if (!APassword.isEmpty())
        txtPassword->setText(APassword);
    UpdateOK();
    // In the middle of the screen, not over the window that asked.
    if (const QScreen *screen = this->screen()) {
        adjustSize();
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

const TDO_Event *TdlgEventOpen::GetEvent(const TDO_ClientConfig &AClientConfig, const QString &AID,
                                         const QString &APassword) {
    Prepare(AClientConfig, etEvent, AID, APassword);
    return exec() == QDialog::Accepted ? FEvent.get() : nullptr;
}

const TDO_Event_WithUploadedList *TdlgEventOpen::GetEvent_WithUploadList(const TDO_ClientConfig &AClientConfig,
                                                                         const QString &AID,
                                                                         const QString &APassword) {
    Prepare(AClientConfig, etEvent_WithUploadList, AID, APassword);
    return exec() == QDialog::Accepted ? FEventUL.get() : nullptr;
}

void TdlgEventOpen::showEvent(QShowEvent *AEvent) {
    QDialog::showEvent(AEvent);
    if (AEvent->spontaneous())
        return;
    txtID->setFocus();
    if (!txtID->text().isEmpty()) {
        txtPassword->setFocus();
        if (!txtPassword->text().isEmpty())
            TimerAutoOK.start();
    }
}

bool TdlgEventOpen::eventFilter(QObject *AWatched, QEvent *AEvent) {
    if (AWatched == txtID) {
        if (AEvent->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(AEvent);
            const QString typed = key->text();
            // Shortcuts and editing keys (no printable text) keep their usual meaning.
            const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                                   !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
            if (printable) {
                const QString kept = CodeCharacter(typed);
                if (kept != typed) {
                    if (!kept.isEmpty())
                        txtID->insert(kept);
                    return true;
                }
            }
        } else if (AEvent->type() == QEvent::FocusOut) {
            const QString pretty = TDO_Event::PrettifyID(txtID->text());
            if (pretty != txtID->text())
                txtID->setText(pretty);
        }
    }
    return QDialog::eventFilter(AWatched, AEvent);
}

void TdlgEventOpen::UpdateOK() {
    btnOK->setEnabled(!IsBusy() && !txtID->text().trimmed().isEmpty() && !txtPassword->text().trimmed().isEmpty());
}

void TdlgEventOpen::SetBusy(bool ABusy) {
    aniBusy->SetBusy(ABusy);
    txtID->setEnabled(!ABusy);
    txtPassword->setEnabled(!ABusy);
    btnPasswordShowHide->setEnabled(!ABusy);
    UpdateOK();
}

void TdlgEventOpen::AbandonFetch() {
    TimerAutoOK.stop();
    TAgent_Client_Base::Abandon(FAgent);
}

void TdlgEventOpen::btnOKClick() {
    UpdateOK();
    if (!btnOK->isEnabled() || !FClientConfig)
        return;
    ResetRecords();

    TDO_Event_Request request;
    request.SetAction(FEventType == etEvent_WithUploadList ? TDO_Event_Request::raFetchWithUploadedList
                                                           : TDO_Event_Request::raFetch);
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetID(txtID->text().trimmed());
    request.SetPassword(txtPassword->text().trimmed());

    AbandonFetch();
    auto *agent = new TAgent_Client_Event(FClientConfig->ServerBaseURL(), request);
    connect(agent, &TAgent_Client_Base::Completed, this, &TdlgEventOpen::AgentCompleted);
    FAgent = agent;
    SetBusy(true);
    agent->start();
}

void TdlgEventOpen::AgentCompleted(TAgent_Client_Base *ASender) {
    auto *agent = qobject_cast<TAgent_Client_Event *>(ASender);
    // Only the fetch this dialog is waiting for counts; an abandoned one is no longer connected anyway.
    if (!agent || agent != FAgent)
        return;
    FAgent.clear();
    const bool success = agent->Success();
    if (success) {
        if (agent->Event())
            FEvent->Duplicate(*agent->Event());
        if (agent->EventUL())
            FEventUL->Duplicate(*agent->EventUL());
        SetBusy(false);
        emit FetchFinished(true);
        accept();
        return;
    }
    SetBusy(false);
    Ui().ShowError(this, Text_UnableToOpen(),
                   agent->OldClient() ? tr("Please upgrade to the latest version of this software.")
                                      : agent->StatusText());
    txtPassword->setFocus();
    emit FetchFinished(false);
}

void TdlgEventOpen::done(int AResult) {
    AbandonFetch();
    SetBusy(false);
    QDialog::done(AResult);
}
