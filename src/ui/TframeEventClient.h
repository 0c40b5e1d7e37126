// The student's event page: identify the event and oneself, get the question, upload the answer.
#pragma once

#include "data/TDO_Event.h"
#include "net/TAgent_Client_Base.h"
#include "ui/TfrmDocumentViewer.h"

#include <QLabel>
#include <QPointer>
#include <QWidget>

class QFrame;
class QLineEdit;
class QPushButton;
class TBusyIndicator;
class TDO_ClientConfig;
class TDO_Event_Request;

// A short help text next to a field; a click closes it, and it closes by itself after a few seconds.
class TEventClientHelpPopup : public QLabel {
    Q_OBJECT
public:
    static constexpr int LifetimeMSecs = 5000;
    TEventClientHelpPopup(const QString &AText, QWidget *AAnchor);

protected:
    void mousePressEvent(QMouseEvent *AEvent) override;
};

// Requests run on agents (at most one at a time); their completions come back on the UI thread. The
// frame owns the question viewer windows it opens.
class TframeEventClient : public QWidget {
    Q_OBJECT
public:
    enum TViewState { vsEntry, vsWaiting, vsClosed, vsOpen };

    // Largest answer file the view sends; the event's own limits are checked by the service.
    static constexpr qint64 MaxAnswerFileBytes = 1048576;

    explicit TframeEventClient(QWidget *AParent = nullptr);
    ~TframeEventClient() override;

    // Stores the configuration (borrowed; it must outlive the frame), enters the entry state, shows the
    // frame.
    void Perform(TDO_ClientConfig &AClientConfig);
    void SetBusy(bool ABusy);
    bool IsBusy() const;
    // The question document is held and a viewer window of this frame is open.
    bool IsDocumentViewerOpen() const;

    TViewState ViewState() const { return FViewState; }
    // An event fetched for this student is held (cleared by a failed fetch and by the entry state).
    bool IsEventHeld() const { return !FEvent.ID().isEmpty(); }
    bool IsQuestionDocumentHeld() const;
    const TDO_Event &Event() const { return FEvent; }
    QString StudentID() const { return FStudentID; }
    QString StudentPassword() const { return FStudentPassword; }
    QString StudentProtectedInfo() const { return FStudentProtectedInfo; }
    TfrmDocumentViewer *DocumentViewer() const { return FViewer; }

    // Handlers, public so that the frame can be driven directly.
    void btnEnterClick();
    void btnGetQuestionClick();
    void btnBrowseAnswerFileClick();
    void btnUploadAnswerClick();
    void btnHelpStudentIDClick();
    void btnHelpProtectedInfoClick();

    static QString Text_HelpStudentID();
    static QString Text_HelpProtectedInfo();
    // "dd mmm hh:nn" in local time with the user's month names; empty when not set.
    static QString LocalTimeText(TDateTime AValueUTC);
    // What "Answer DUE" shows for the event.
    static QString AnswerDueText(const TDO_Event &AEvent);
    // The state an event is in at TClock::NowUTC().
    static TViewState StateOf(const TDO_Event &AEvent);

signals:
    // A request's completion has been handled (messages, prompts and receipts included).
    void RequestFinished();

protected:
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    void BuildControls();
    QFrame *MakeBacking(QPushButton *AButton, const QString &AObjectName);
    void UpdateBacking(QPushButton *AButton);
    void EnterState(TViewState AState);
    // After a failed fetch no event is held: nothing may be fetched or uploaded on its behalf.
    void HideEventActions();
    void UpdateEnterButton();
    void FieldChanged();
    void AnswerFileChanged();
    void ResetAnswerFileLabel();
    bool CheckAnswerFile(bool ASizeTest);
    void SetAnswerFileTooLarge();

    void CancelRequest();
    void StartRequest(TAgent_Client_Base *AAgent);
    void SendFetch(const TDO_Event_Request &ARequest);
    void EventCompleted(TAgent_Client_Base *ASender);
    void UploadCompleted(TAgent_Client_Base *ASender);
    void AnswerFileRead(quint64 ASerial, const QString &APath, const QByteArray &AData, bool AOK,
                        bool ATooLarge);
    void OpenQuestion();
    void ShowHelp(QWidget *AAnchor, const QString &AText);
    QString FilterTyped(QObject *AField, const QString &AText) const;

    TDO_ClientConfig *FClientConfig = nullptr;
    TDO_Event FEvent;
    QString FStudentID;
    QString FStudentPassword;
    QString FStudentProtectedInfo;
    bool FUpdatingUI = false;
    QPointer<TAgent_Client_Base> FAgent;
    TViewState FViewState = vsEntry;
    // Answer files are read off the UI thread; a result whose serial is stale is dropped.
    quint64 FReadSerial = 0;
    bool FReading = false;
    QPointer<TfrmDocumentViewer> FViewer;
    QPointer<TEventClientHelpPopup> FHelp;

    QLineEdit *FEventCode;
    QLineEdit *FStudentIDEdit;
    QLineEdit *FProtectedInfo;
    QPushButton *FHelpStudentID;
    QPushButton *FHelpProtectedInfo;
    QPushButton *FEnter;
    QWidget *FDetails;
    QLabel *FEventName;
    QLabel *FQuestionOpen;
    QLabel *FQuestionClose;
    QLabel *FAnswerDue;
    QLabel *FInstruction;
    QPushButton *FGetQuestion;
    QFrame *FGetQuestionBacking;
    QWidget *FAnswerRow;
    QLabel *FAnswerFileLabel;
    QLineEdit *FAnswerFile;
    QPushButton *FBrowseAnswerFile;
    QPushButton *FUploadAnswer;
    QFrame *FUploadAnswerBacking;
    TBusyIndicator *FBusy;
};
