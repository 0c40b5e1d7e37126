#include "net/TAgent_Client_Event.h"

TAgent_Client_Event::TAgent_Client_Event(const QString &ABaseURL, const TDO_Event_Request &ARequest,
                                         QObject *AParent)
    : TAgent_Client_Base(ABaseURL, AParent), FRequest(std::make_unique<TDO_Event_Request>(ARequest)) {}

TAgent_Client_Event::~TAgent_Client_Event() = default;

void TAgent_Client_Event::Execute() {
    auto client = NewClient();
    TNetHTTPResponse response;
    if (!PostRecord(*client, QStringLiteral("/v1/event"), *FRequest, response) || !AcceptReply())
        return;
    switch (FRequest->Action()) {
    case TDO_Event_Request::raCreateFromCovid19:
    case TDO_Event_Request::raUpdateFromCovid19:
    case TDO_Event_Request::raFetch:
    case TDO_Event_Request::raFetchForStudent_ExcludeResources:
    case TDO_Event_Request::raFetchForStudent_IncludeResources: {
        auto event = std::make_unique<TDO_Event>();
        if (!LoadReply(*event, response.Body)) {
            SetStatus_Unreadable(event->NodeName_OnCreate());
            return;
        }
        FEvent = std::move(event);
        FSuccess = true;
        return;
    }
    case TDO_Event_Request::raFetchWithUploadedList: {
        auto event = std::make_unique<TDO_Event_WithUploadedList>();
        if (!LoadReply(*event, response.Body)) {
            SetStatus_Unreadable(event->NodeName_OnCreate());
            return;
        }
        FEventUL = std::move(event);
        FSuccess = true;
        return;
    }
    case TDO_Event_Request::raNone:
        break;
    }
    SetStatus(asNotSupported, Text_NotSupported());
}
