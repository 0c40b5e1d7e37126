// Asks for an event code and its instructor password and fetches the event (alone or with its uploads).
#pragma once

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class TAgent_Client_Base;
class TAgent_Client_Event;
class TBrandingStrip;
class TBusyIndicator;
class TDO_ClientConfig;
class TDO_Event;
class TDO_Event_WithUploadedList;
class TShowHideButton;

class TdlgEventOpen : public QDialog {
    Q_OBJECT
public:
    enum TEventType { etNone, etEvent, etEvent_WithUploadList };

    explicit TdlgEventOpen(QWidget *AParent = nullptr);
    ~TdlgEventOpen() override;

    // Run the dialog modally; the event, or null when the dialog ended without one. The record belongs
    // to the dialog and stays valid until it is freed. AID and APassword may be empty; when both are
    // given the fetch starts as soon as the dialog shows.
    const TDO_Event *GetEvent(const TDO_ClientConfig &AClientConfig, const QString &AID, const QString &APassword);
    const TDO_Event_WithUploadedList *GetEvent_WithUploadList(const TDO_ClientConfig &AClientConfig,
                                                              const QString &AID, const QString &APassword);

    // The first half of the entry points, without running the dialog (tests show it with open()).
    void Prepare(const TDO_ClientConfig &AClientConfig, TEventType AEventType, const QString &AID,
                 const QString &APassword);

    TEventType EventType() const { return FEventType; }
    const TDO_Event &Event() const { return *FEvent; }
    const TDO_Event_WithUploadedList &EventUL() const { return *FEventUL; }
    bool IsBusy() const { return !FAgent.isNull(); }

    static QString Text_UnableToOpen();

public slots:
    void btnOKClick();

signals:
    // After every fetch that was not abandoned, once the dialog has dealt with its outcome.
    void FetchFinished(bool ASuccess);

protected:
    void showEvent(QShowEvent *AEvent) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

public:
    // Ends the dialog; a fetch still running is abandoned first, so its completion never arrives.
    void done(int AResult) override;

private:
    void UpdateOK();
    void SetBusy(bool ABusy);
    void AbandonFetch();
    void AgentCompleted(TAgent_Client_Base *ASender);
    void ResetRecords();

    const TDO_ClientConfig *FClientConfig = nullptr;
    TEventType FEventType = etNone;
    std::unique_ptr<TDO_Event> FEvent;
    std::unique_ptr<TDO_Event_WithUploadedList> FEventUL;
    QPointer<TAgent_Client_Event> FAgent;

    TBrandingStrip *rectBrand;
    QLabel *lblID;
    QLineEdit *txtID;
    QLabel *lblPassword;
    QLineEdit *txtPassword;
    TShowHideButton *btnPasswordShowHide;
    QPushButton *btnClose;
    QPushButton *btnOK;
    TBusyIndicator *aniBusy;
    QTimer TimerAutoOK;
};
