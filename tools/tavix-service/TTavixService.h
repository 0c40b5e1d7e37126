// The local service: HTTPS endpoints for the desktop client and the payment processor's test endpoints.
#pragma once

#include "TServiceOptions.h"
#include "TServiceProcessor.h"

#include <QString>

#include <memory>

namespace httplib {
class SSLServer;
struct Request;
struct Response;
} // namespace httplib

class TServiceStore;
class TServiceEndpoints;

class TTavixService {
public:
    explicit TTavixService(const TServiceOptions &AOptions);
    ~TTavixService();

    // Data folder, certificate, routes and the listening socket; false with a reason.
    bool Prepare(QString &AError);
    // The bound port (the real one when the options asked for 0); 0 before Prepare.
    int Port() const { return FPort; }
    QString BaseURL() const;
    // Serves until Stop; false when the server could not run.
    bool Run();
    // Safe from any thread.
    void Stop();

    const TServiceOptions &Options() const { return FOptions; }
    TServiceProcessor &Processor() { return FProcessor; }
    TServiceStore &Store() { return *FStore; }
    TServiceEndpoints &Endpoints() { return *FEndpoints; }

private:
    void Route();
    void CheckVersion(const httplib::Request &AReq, httplib::Response &ARes);

    TServiceOptions FOptions;
    std::unique_ptr<httplib::SSLServer> FServer;
    TServiceProcessor FProcessor;
    std::unique_ptr<TServiceStore> FStore;
    std::unique_ptr<TServiceEndpoints> FEndpoints;
    int FPort = 0;
};
