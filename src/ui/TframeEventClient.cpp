#include "ui/TframeEventClient.h"

#include "data/TDO_ClientConfig.h"
#include "data/TDO_Event_Request.h"
#include "data/TDO_UploadedFile.h"
#include "net/TAgent_Client_Event.h"
#include "net/TAgent_Client_Upload.h"
#include "ui/TBusyIndicator.h"
#include "ui/TUiServices.h"
#include "ui/TdlgPasswordPrompt.h"
#include "ui/TdlgPaymentReceipt_UploadFile.h"
#include "ui/TfrmDocumentViewer.h"
#include "util/TzovUtil_ApplicationVersion.h"

#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <memory>

namespace {

const QColor BackingEnabled(0x67, 0x8B, 0xC7);
const QColor BackingDisabled(0x96, 0x96, 0x96);
const QColor LabelRed(0xCC, 0x00, 0x00);

void SetLabelColor(QLabel *ALabel, const QColor &AColor) {
    QPalette palette = ALabel->palette();
    palette.setColor(QPalette::WindowText, AColor);
    ALabel->setPalette(palette);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------

TEventClientHelpPopup::TEventClientHelpPopup(const QString &AText, QWidget *AAnchor)
    : QLabel(AText, AAnchor, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("popHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWordWrap(true);
    setMargin(8);
    setFrameShape(QFrame::Box);
    setFixedWidth(320);
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE1));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);
    adjustSize();
    move(AAnchor->mapToGlobal(QPoint(AAnchor->width() + 4, 0)));
    QTimer::singleShot(LifetimeMSecs, this, &QWidget::close);
}

void TEventClientHelpPopup::mousePressEvent(QMouseEvent *) {
    close();
}

// ---------------------------------------------------------------------------------------------------------------

TframeEventClient::TframeEventClient(QWidget *AParent) : QWidget(AParent) {
    setObjectName(QStringLiteral("frameEventClient"));
    BuildControls();
    EnterState(vsEntry);
    setVisible(false);
}

TframeEventClient::~TframeEventClient() {
    // No completion may reach a destroyed frame.
    CancelRequest();
    if (FHelp)
        FHelp->close();
}

QString TframeEventClient::Text_HelpStudentID() {
    return tr(
        "This could be your name, student ID, anonymous exam ID, or whatever identifier your instructor "
        "is expecting.");
}

QString TframeEventClient::Text_HelpProtectedInfo() {
    return tr(
        "Disambiguator: Can be any 4-digit number you'll easily remember. Your instructor may need this "
        "info to help identify you.");
}

void TframeEventClient::BuildControls() {
    auto makeEdit = [this](const char *AName) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(QLatin1String(AName));
        edit->installEventFilter(this);
        return edit;
    };
    auto makeHelp = [this](const char *AName) {
        auto *button = new QPushButton(QStringLiteral("?"), this);
        button->setObjectName(QLatin1String(AName));
        button->setFixedWidth(28);
        button->setAutoDefault(false);
        return button;
    };

    FEventCode = makeEdit("edtEventCode");
    FStudentIDEdit = makeEdit("edtStudentID");
    FProtectedInfo = makeEdit("edtProtectedInfo");
    FProtectedInfo->setMaxLength(4);
    FProtectedInfo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), FProtectedInfo));
    FProtectedInfo->setPlaceholderText(
        tr("Disambiguator: Your instructor may need this info to help identify you."));
    FProtectedInfo->setToolTip(FProtectedInfo->placeholderText());
    FHelpStudentID = makeHelp("btnHelpStudentID");
    FHelpProtectedInfo = makeHelp("btnHelpProtectedInfo");
    FEnter = new QPushButton(tr("Enter"), this);
    FEnter->setObjectName(QStringLiteral("btnEnter"));
    FEnter->setAutoDefault(false);

    auto *entry = new QGridLayout;
    entry->addWidget(new QLabel(tr("Event Code"), this), 0, 0);
    entry->addWidget(FEventCode, 0, 1);
    entry->addWidget(new QLabel(tr("Name or other ID"), this), 1, 0);
    entry->addWidget(FStudentIDEdit, 1, 1);
    entry->addWidget(FHelpStudentID, 1, 2);
    entry->addWidget(new QLabel(tr("Last 4 digits of phone"), this), 2, 0);
    entry->addWidget(FProtectedInfo, 2, 1);
    entry->addWidget(FHelpProtectedInfo, 2, 2);
    entry->addWidget(FEnter, 3, 1, Qt::AlignLeft);

    FDetails = new QWidget(this);
    FDetails->setObjectName(QStringLiteral("pnlDetails"));
    auto makeValue = [this](const char *AName) {
        auto *label = new QLabel(FDetails);
        label->setObjectName(QLatin1String(AName));
        label->setTextFormat(Qt::PlainText);
        return label;
    };
    FEventName = makeValue("lblEventNameValue");
    FQuestionOpen = makeValue("lblQuestionOpenValue");
    FQuestionClose = makeValue("lblQuestionCloseValue");
    FAnswerDue = makeValue("lblAnswerDueValue");
    auto *details = new QFormLayout(FDetails);
    details->setContentsMargins(0, 0, 0, 0);
    details->addRow(tr("Event Name"), FEventName);
    details->addRow(tr("Question OPEN"), FQuestionOpen);
    details->addRow(tr("Question CLOSE"), FQuestionClose);
    details->addRow(tr("Answer DUE"), FAnswerDue);

    FGetQuestion = new QPushButton(tr("Get Question"), this);
    FGetQuestion->setObjectName(QStringLiteral("btnGetQuestion"));
    FGetQuestionBacking = MakeBacking(FGetQuestion, QStringLiteral("pnlGetQuestion"));
    FInstruction = new QLabel(this);
    FInstruction->setObjectName(QStringLiteral("lblInstruction"));
    FInstruction->setWordWrap(true);

    FAnswerRow = new QWidget(this);
    FAnswerRow->setObjectName(QStringLiteral("pnlAnswerFile"));
    FAnswerFileLabel = new QLabel(tr("Answer file"), FAnswerRow);
    FAnswerFileLabel->setObjectName(QStringLiteral("lblAnswerFile"));
    FAnswerFile = new QLineEdit(FAnswerRow);
    FAnswerFile->setObjectName(QStringLiteral("edtAnswerFile"));
    FAnswerFile->setReadOnly(true);
    FAnswerFile->installEventFilter(this);
    FBrowseAnswerFile = new QPushButton(QStringLiteral("..."), FAnswerRow);
    FBrowseAnswerFile->setObjectName(QStringLiteral("btnBrowseAnswerFile"));
    FBrowseAnswerFile->setFixedWidth(36);
    FBrowseAnswerFile->setAutoDefault(false);
    auto *answerRow = new QHBoxLayout(FAnswerRow);
    answerRow->setContentsMargins(0, 0, 0, 0);
    answerRow->addWidget(FAnswerFileLabel);
    answerRow->addWidget(FAnswerFile, 1);
    answerRow->addWidget(FBrowseAnswerFile);

    FUploadAnswer = new QPushButton(tr("Upload Answer"), this);
    FUploadAnswer->setObjectName(QStringLiteral("btnUploadAnswer"));
    FUploadAnswerBacking = MakeBacking(FUploadAnswer, QStringLiteral("pnlUploadAnswer"));

    FBusy = new TBusyIndicator(this);
    FBusy->setObjectName(QStringLiteral("busyIndicator"));

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(entry);
    layout->addWidget(FDetails);
    layout->addWidget(FGetQuestionBacking, 0, Qt::AlignLeft);
    layout->addWidget(FInstruction);
    layout->addWidget(FAnswerRow);
    layout->addWidget(FUploadAnswerBacking, 0, Qt::AlignLeft);
    layout->addWidget(FBusy, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    connect(FEventCode, &QLineEdit::textChanged, this, &TframeEventClient::FieldChanged);
    connect(FStudentIDEdit, &QLineEdit::textChanged, this, &TframeEventClient::FieldChanged);
    connect(FProtectedInfo, &QLineEdit::textChanged, this, &TframeEventClient::FieldChanged);
    connect(FAnswerFile, &QLineEdit::textChanged, this, &TframeEventClient::AnswerFileChanged);
    connect(FEnter, &QPushButton::clicked, this, &TframeEventClient::btnEnterClick);
    connect(FGetQuestion, &QPushButton::clicked, this, &TframeEventClient::btnGetQuestionClick);
    connect(FBrowseAnswerFile, &QPushButton::clicked, this, &TframeEventClient::btnBrowseAnswerFileClick);
    connect(FUploadAnswer, &QPushButton::clicked, this, &TframeEventClient::btnUploadAnswerClick);
    connect(FHelpStudentID, &QPushButton::clicked, this, &TframeEventClient::btnHelpStudentIDClick);
    connect(FHelpProtectedInfo, &QPushButton::clicked, this, &TframeEventClient::btnHelpProtectedInfoClick);
}

QFrame *TframeEventClient::MakeBacking(QPushButton *AButton, const QString &AObjectName) {
    auto *backing = new QFrame(this);
    backing->setObjectName(AObjectName);
    backing->setAutoFillBackground(true);
    auto *layout = new QHBoxLayout(backing);
    layout->setContentsMargins(4, 4, 4, 4);
    AButton->setParent(backing);
    AButton->setAutoDefault(false);
    layout->addWidget(AButton);
    AButton->installEventFilter(this);
    UpdateBacking(AButton);
    return backing;
}

void TframeEventClient::UpdateBacking(QPushButton *AButton) {
    QWidget *backing = AButton->parentWidget();
    if (!backing)
        return;
    QPalette palette = backing->palette();
    palette.setColor(QPalette::Window, AButton->isEnabled() ? BackingEnabled : BackingDisabled);
    backing->setPalette(palette);
}

// ---------------------------------------------------------------------------------------------------------------
// Typing rules

QString TframeEventClient::FilterTyped(QObject *AField, const QString &AText) const {
    QString result;
    for (QChar c : AText) {
        if (AField == FEventCode) {
            if (c >= QLatin1Char('a') && c <= QLatin1Char('z'))
                c = QChar(c.unicode() - 'a' + 'A');
            if ((c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                (c >= QLatin1Char('0') && c <= QLatin1Char('9')))
                result += c;
        } else if (AField == FStudentIDEdit) {
            if (!c.isSpace())
                result += c;
        } else if (AField == FProtectedInfo) {
            if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
                result += c;
        } else {
            result += c;
        }
    }
    return result;
}

bool TframeEventClient::eventFilter(QObject *AWatched, QEvent *AEvent) {
    switch (AEvent->type()) {
    case QEvent::KeyPress: {
        if (AWatched != FEventCode && AWatched != FStudentIDEdit && AWatched != FProtectedInfo)
            break;
        auto *key = static_cast<QKeyEvent *>(AEvent);
        // Return in any of the three entry fields presses "Enter", as the student expects once all
        // three are filled; the window has no default button that would do it otherwise.
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (FEnter->isEnabled())
                FEnter->click();
            return true;
        }
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            break;
        const QString filtered = FilterTyped(AWatched, text);
        if (filtered == text)
            break;
        if (!filtered.isEmpty())
            static_cast<QLineEdit *>(AWatched)->insert(filtered);
        return true;
    }
    case QEvent::FocusOut:
        if (AWatched == FEventCode && !FUpdatingUI)
            FEventCode->setText(TDO_Event::PrettifyID(FEventCode->text()));
        break;
    case QEvent::MouseButtonDblClick:
        if (AWatched == FAnswerFile && FBrowseAnswerFile->isEnabled()) {
            btnBrowseAnswerFileClick();
            return true;
        }
        break;
    case QEvent::EnabledChange:
        if (AWatched == FGetQuestion || AWatched == FUploadAnswer)
            UpdateBacking(static_cast<QPushButton *>(AWatched));
        break;
    default:
        break;
    }
    return QWidget::eventFilter(AWatched, AEvent);
}

void TframeEventClient::FieldChanged() {
    if (FUpdatingUI)
        return;
    UpdateEnterButton();
}

void TframeEventClient::UpdateEnterButton() {
    FEnter->setEnabled(FEventCode->isEnabled() && !IsBusy() && !FEventCode->text().trimmed().isEmpty() &&
                       !FStudentIDEdit->text().trimmed().isEmpty() &&
                       !FProtectedInfo->text().trimmed().isEmpty());
}

void TframeEventClient::btnHelpStudentIDClick() {
    ShowHelp(FStudentIDEdit, Text_HelpStudentID());
}

void TframeEventClient::btnHelpProtectedInfoClick() {
    ShowHelp(FProtectedInfo, Text_HelpProtectedInfo());
}

void TframeEventClient::ShowHelp(QWidget *AAnchor, const QString &AText) {
    if (FHelp)
        FHelp->close();
    FHelp = new TEventClientHelpPopup(AText, AAnchor);
    FHelp->show();
}

// ---------------------------------------------------------------------------------------------------------------
// States

QString TframeEventClient::LocalTimeText(TDateTime AValueUTC) {
    if (!AValueUTC.IsSet())
        return QString();
    const TDateTime local = AValueUTC.UTCToLocal();
    return QLocale().toString(QDateTime(local.Date(), local.Time()), QStringLiteral("dd MMM hh:mm"));
}

QString TframeEventClient::AnswerDueText(const TDO_Event &AEvent) {
    const TDO_Event_Covid19 &settings = AEvent.Covid19();
    switch (AEvent.LateCalculationMode()) {
    case TDO_Event::lcmAFTERAvailabilityStop:
        return LocalTimeText(settings.SubmissionDeadlineUTC());
    case TDO_Event::lcmLONGERthanDurationLimit:
        if (settings.SubmissionDeadlineUTC().IsSet())
            return LocalTimeText(settings.SubmissionDeadlineUTC());
        return QString::number(settings.DurationLimit_InMinutes()) + tr(" minutes after getting question");
    default:
        return QString();
    }
}

TframeEventClient::TViewState TframeEventClient::StateOf(const TDO_Event &AEvent) {
    // An unset end of the window is open-ended; compared as moments, so a clock change cannot move them.
    const TDateTime now = TClock::NowUTC();
    const TDateTime start = AEvent.Covid19().AvailabilityStartUTC();
    const TDateTime stop = AEvent.Covid19().AvailabilityStopUTC();
    if (start.IsSet() && now < start)
        return vsWaiting;
    if (stop.IsSet() && now > stop)
        return vsClosed;
    return vsOpen;
}

void TframeEventClient::EnterState(TViewState AState) {
    FViewState = AState;
    FUpdatingUI = true;
    ++FReadSerial; // a pending answer-file read belongs to the state being left
    FAnswerFile->clear();
    ResetAnswerFileLabel();
    FUploadAnswer->setEnabled(false);
    if (AState == vsEntry) {
        FEvent.Initialize();
        FStudentID.clear();
        FStudentPassword.clear();
        FStudentProtectedInfo.clear();
    }
    FStudentIDEdit->setText(FStudentID);
    FProtectedInfo->setText(FStudentProtectedInfo);
    FEventCode->setText(FEvent.ID_Pretty());
    FEventName->setText(FEvent.Name());
    FQuestionOpen->setText(LocalTimeText(FEvent.Covid19().AvailabilityStartUTC()));
    FQuestionClose->setText(LocalTimeText(FEvent.Covid19().AvailabilityStopUTC()));
    FAnswerDue->setText(AnswerDueText(FEvent));

    const bool entry = AState == vsEntry;
    const bool uploadable = AState == vsClosed || AState == vsOpen;
    for (QWidget *field : {static_cast<QWidget *>(FEventCode), static_cast<QWidget *>(FStudentIDEdit),
                           static_cast<QWidget *>(FProtectedInfo), static_cast<QWidget *>(FHelpStudentID),
                           static_cast<QWidget *>(FHelpProtectedInfo)})
        field->setEnabled(entry);
    FDetails->setVisible(!entry);
    FInstruction->setVisible(!entry);
    FInstruction->setText(AState == vsWaiting ? tr("Return when this event is available.")
                                              : tr("Now write your answer. Return here to upload."));
    FGetQuestionBacking->setVisible(uploadable);
    FGetQuestion->setEnabled(AState == vsOpen);
    FGetQuestion->setText(AState == vsOpen ? tr("Get Question") : tr("Question Unavailable"));
    FAnswerRow->setVisible(uploadable);
    FAnswerRow->setEnabled(true);
    FAnswerFile->setEnabled(true);
    FBrowseAnswerFile->setEnabled(true);
    FUploadAnswerBacking->setVisible(uploadable);
    FUpdatingUI = false;
    UpdateEnterButton();
    if (entry)
        FStudentIDEdit->setFocus();
}

void TframeEventClient::HideEventActions() {
    FGetQuestionBacking->setVisible(false);
    FInstruction->setVisible(false);
    FAnswerRow->setVisible(false);
    FUploadAnswerBacking->setVisible(false);
    FUploadAnswer->setEnabled(false);
}

void TframeEventClient::Perform(TDO_ClientConfig &AClientConfig) {
    FClientConfig = &AClientConfig;
    EnterState(vsEntry);
    setVisible(true);
    FStudentIDEdit->setFocus();
}

bool TframeEventClient::IsBusy() const {
    return FBusy->IsBusy();
}

bool TframeEventClient::IsQuestionDocumentHeld() const {
    return !FEvent.Covid19().ResourceFileData().isEmpty() && !FEvent.Covid19().ResourceFilename().isEmpty();
}

bool TframeEventClient::IsDocumentViewerOpen() const {
    return IsQuestionDocumentHeld() && FViewer && FViewer->isVisible();
}

void TframeEventClient::SetBusy(bool ABusy) {
    FBusy->SetBusy(ABusy);
    const bool idle = !ABusy;
    for (QWidget *control : {static_cast<QWidget *>(FEventCode), static_cast<QWidget *>(FStudentIDEdit),
                             static_cast<QWidget *>(FProtectedInfo), static_cast<QWidget *>(FHelpStudentID),
                             static_cast<QWidget *>(FHelpProtectedInfo), static_cast<QWidget *>(FAnswerFile),
                             static_cast<QWidget *>(FBrowseAnswerFile)})
        control->setEnabled(idle);
    // Offered by the state, not by a held document: the first fetch leaves the document out, so a failed
    // upload would otherwise leave "Get Question" dead in an open event (and live in a closed one).
    FGetQuestion->setEnabled(idle && FViewState == vsOpen);
    FUploadAnswer->setEnabled(idle && IsEventHeld() && CheckAnswerFile(false));
    UpdateEnterButton();
}

// ---------------------------------------------------------------------------------------------------------------
// Answer file

void TframeEventClient::ResetAnswerFileLabel() {
    FAnswerFileLabel->setText(tr("Answer file"));
    SetLabelColor(FAnswerFileLabel, Qt::black);
}

void TframeEventClient::SetAnswerFileTooLarge() {
    FAnswerFileLabel->setText(tr("Maximum ") + QStringLiteral("1") + tr(" MB"));
    SetLabelColor(FAnswerFileLabel, LabelRed);
    FUploadAnswer->setEnabled(false);
}

bool TframeEventClient::CheckAnswerFile(bool ASizeTest) {
    ResetAnswerFileLabel();
    const QString path = FAnswerFile->text();
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile() || FStudentIDEdit->text().trimmed().isEmpty() ||
        FProtectedInfo->text().trimmed().isEmpty())
        return false;
    if (ASizeTest && info.size() > MaxAnswerFileBytes) {
        SetAnswerFileTooLarge();
        return false;
    }
    return true;
}

void TframeEventClient::AnswerFileChanged() {
    if (FUpdatingUI)
        return;
    FUploadAnswer->setEnabled(!IsBusy() && IsEventHeld() && CheckAnswerFile(false));
}

void TframeEventClient::btnBrowseAnswerFileClick() {
    QStringList patterns;
    for (const QString &extension : FEvent.Covid19().UploadFileExtenstions())
        patterns << QStringLiteral("*") + extension;
    if (patterns.isEmpty())
        patterns << QStringLiteral("*");
    const QString filter =
        tr("Document") + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
    const QString path = Ui().GetOpenFileName(this, tr("Select File to Upload"), QString(), filter);
    if (!path.isEmpty())
        FAnswerFile->setText(path);
}

void TframeEventClient::btnUploadAnswerClick() {
    if (IsBusy() || !IsEventHeld() || !CheckAnswerFile(true)) {
        FUploadAnswer->setEnabled(false);
        return;
    }
    // The file is read on a worker thread (bounded by the limit) so a slow disk cannot freeze the window;
    // its size is checked again on what was actually read, as the file may have changed meanwhile.
    CancelRequest();
    SetBusy(true);
    FReading = true;
    const quint64 serial = ++FReadSerial;
    const QString path = FAnswerFile->text();
    struct TResult {
        QByteArray Data;
        bool OK = false;
        bool TooLarge = false;
    };
    auto result = std::make_shared<TResult>();
    QThread *reader = QThread::create([path, result] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        result->Data = file.read(MaxAnswerFileBytes + 1);
        result->OK = file.error() == QFileDevice::NoError;
        result->TooLarge = result->Data.size() > MaxAnswerFileBytes;
    });
    connect(reader, &QThread::finished, reader, &QObject::deleteLater);
    connect(reader, &QThread::finished, this, [this, serial, path, result] {
        AnswerFileRead(serial, path, result->Data, result->OK, result->TooLarge);
    });
    reader->start();
}

void TframeEventClient::AnswerFileRead(quint64 ASerial, const QString &APath, const QByteArray &AData,
                                       bool AOK, bool ATooLarge) {
    if (ASerial != FReadSerial)
        return;
    FReading = false;
    SetBusy(false);
    if (ATooLarge) {
        SetAnswerFileTooLarge();
        return;
    }
    if (!AOK || AData.isEmpty() || !IsEventHeld()) {
        Ui().ShowError(this, tr("Unable to upload file."), tr("The answer file could not be read."));
        emit RequestFinished();
        return;
    }
    TDO_UploadedFile_Request request;
    request.SetAction(TDO_UploadedFile_Request::ufaSubmit);
    request.SetEventID(FEvent.ID());
    request.SetStudentID(FStudentIDEdit->text().trimmed());
    request.SetProtectedInfo(FProtectedInfo->text().trimmed());
    request.SetFilename(QFileInfo(APath).fileName());
    request.SetFileData(AData);
    request.SetCustomerID(FClientConfig ? FClientConfig->CustomerID() : QString());
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetPassword(FStudentPassword);
    StartRequest(
        new TAgent_Client_Upload(FClientConfig ? FClientConfig->ServerBaseURL() : QString(), request));
}

// ---------------------------------------------------------------------------------------------------------------
// Requests

void TframeEventClient::CancelRequest() {
    TAgent_Client_Base::Abandon(FAgent);
    if (FReading) {
        ++FReadSerial;
        FReading = false;
    }
}

void TframeEventClient::StartRequest(TAgent_Client_Base *AAgent) {
    CancelRequest();
    SetBusy(true);
    if (auto *eventAgent = qobject_cast<TAgent_Client_Event *>(AAgent))
        connect(eventAgent, &TAgent_Client_Base::Completed, this, &TframeEventClient::EventCompleted);
    else
        connect(AAgent, &TAgent_Client_Base::Completed, this, &TframeEventClient::UploadCompleted);
    FAgent = AAgent;
    AAgent->start();
}

void TframeEventClient::SendFetch(const TDO_Event_Request &ARequest) {
    StartRequest(
        new TAgent_Client_Event(FClientConfig ? FClientConfig->ServerBaseURL() : QString(), ARequest));
}

void TframeEventClient::btnEnterClick() {
    if (IsBusy() || !FEnter->isEnabled())
        return;
    TDO_Event_Request request;
    request.SetAction(TDO_Event_Request::raFetchForStudent_ExcludeResources);
    request.SetID(FEventCode->text().trimmed());
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetStudentID(FStudentIDEdit->text().trimmed());
    request.SetStudentPassword(QString());
    request.SetStudentProtectedInfo(FProtectedInfo->text().trimmed());
    SendFetch(request);
}

void TframeEventClient::btnGetQuestionClick() {
    if (IsBusy() || !IsEventHeld())
        return;
    if (IsQuestionDocumentHeld()) {
        OpenQuestion();
        return;
    }
    TDO_Event_Request request;
    request.SetAction(TDO_Event_Request::raFetchForStudent_IncludeResources);
    request.SetID(FEventCode->text().trimmed());
    request.SetClientVersion(TzovUtil_ApplicationVersion::Version_AsString());
    request.SetStudentID(FStudentID);
    request.SetStudentPassword(FStudentPassword);
    request.SetStudentProtectedInfo(FStudentProtectedInfo);
    SendFetch(request);
}

void TframeEventClient::EventCompleted(TAgent_Client_Base *ASender) {
    auto *agent = qobject_cast<TAgent_Client_Event *>(ASender);
    if (!agent || ASender != FAgent)
        return;
    FAgent.clear();
    FEvent.Initialize();
    SetBusy(false);

    const TDO_Event_Request request(agent->Request());
    if (agent->Success() && agent->Event()) {
        FStudentID = request.StudentID();
        FStudentPassword = request.StudentPassword();
        FStudentProtectedInfo = request.StudentProtectedInfo();
        FEvent.Duplicate(*agent->Event());
        EnterState(StateOf(FEvent));
        if (request.Action() == TDO_Event_Request::raFetchForStudent_IncludeResources)
            OpenQuestion();
        emit RequestFinished();
        return;
    }

    HideEventActions();
    const QString statusText = agent->StatusText();
    if (agent->OldClient()) {
        Ui().ShowError(this, tr("Unable to retrieve event."),
                       tr("Please upgrade to the latest version of this software."));
    } else if (agent->StatusCode() == 401) {
        TdlgPasswordPrompt prompt(this);
        if (prompt.Execute()) {
            TDO_Event_Request retry(request);
            retry.SetStudentPassword(prompt.Password());
            SendFetch(retry);
            return;
        }
        Ui().ShowError(this, tr("A password is required to access this event."), statusText);
    } else {
        Ui().ShowError(this, tr("Unable to retrieve event."), statusText);
    }
    emit RequestFinished();
}

void TframeEventClient::UploadCompleted(TAgent_Client_Base *ASender) {
    auto *agent = qobject_cast<TAgent_Client_Upload *>(ASender);
    if (!agent || ASender != FAgent)
        return;
    FAgent.clear();
    SetBusy(false);
    if (agent->Success() && agent->Upload()) {
        const TDO_UploadedFile upload(*agent->Upload());
        if (FClientConfig) {
            TdlgPaymentReceipt_UploadFile receipt(this);
            receipt.Execute(*FClientConfig, FEvent, upload);
        }
        EnterState(vsEntry);
    } else if (agent->OldClient()) {
        Ui().ShowError(this, tr("Unable to upload file."),
                       tr("Please upgrade to the latest version of this software."));
    } else {
        Ui().ShowError(this, tr("Unable to upload file."), agent->StatusText());
    }
    emit RequestFinished();
}

void TframeEventClient::OpenQuestion() {
    if (!IsQuestionDocumentHeld())
        return;
    if (FViewer && FViewer->isVisible()) {
        FViewer->raise();
        FViewer->activateWindow();
        return;
    }
    FViewer = new TfrmDocumentViewer(this);
    const TDO_Event_Covid19 &settings = FEvent.Covid19();
    FViewer->Execute(settings.ResourceFileData(), settings.ResourceFilename(), settings.ResourceAllowSave());
}
