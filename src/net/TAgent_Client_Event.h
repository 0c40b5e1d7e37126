// Agent creating, updating or fetching an event.
#pragma once

#include "net/TAgent_Client_Base.h"

#include "data/TDO_Event.h"
#include "data/TDO_Event_Request.h"
#include "data/TDO_Event_WithUploadedList.h"

class TAgent_Client_Event : public TAgent_Client_Base {
    Q_OBJECT

public:
    TAgent_Client_Event(const QString &ABaseURL, const TDO_Event_Request &ARequest, QObject *AParent = nullptr);
    ~TAgent_Client_Event() override;

    const TDO_Event_Request &Request() const { return *FRequest; }
    // The reply: Event for create, update and the fetches; EventUL for raFetchWithUploadedList. Null until
    // a reply has been read; owned by the agent, duplicate what you keep in the completion handler.
    const TDO_Event *Event() const { return FEvent.get(); }
    const TDO_Event_WithUploadedList *EventUL() const { return FEventUL.get(); }

protected:
    void Execute() override;

private:
    std::unique_ptr<TDO_Event_Request> FRequest;
    std::unique_ptr<TDO_Event> FEvent;
    std::unique_ptr<TDO_Event_WithUploadedList> FEventUL;
};
