#include "TTavixService.h"

#include "TServiceCertificate.h"
#include "TServiceEndpoints.h"
#include "TServiceStore.h"
#include "TServiceHttp.h"
#include "TavixDeployment.h"

#include <httplib.h>

#include <QCoreApplication>
#include <QDir>

namespace {
QString Tr(const char *AText) { return QCoreApplication::translate("TTavixService", AText); }
} // namespace

TTavixService::TTavixService(const TServiceOptions &AOptions)
    : FOptions(AOptions), FProcessor(QString::fromUtf8(TavixDeployment::payment_test_secret_key)) {
    FOptions.Complete();
    FStore = std::make_unique<TServiceStore>(FOptions.DataFolder);
    FEndpoints = std::make_unique<TServiceEndpoints>(FOptions, *FStore, FProcessor);
}

TTavixService::~TTavixService() = default;

QString TTavixService::BaseURL() const {
    const QString Host = FOptions.Listen.contains(QLatin1Char(':')) ? QLatin1Char('[') + FOptions.Listen + QLatin1Char(']')
                                                                    : FOptions.Listen;
    return QStringLiteral("https://%1:%2").arg(Host).arg(FPort);
}

bool TTavixService::Prepare(QString &AError) {
    if (!QDir().mkpath(FOptions.DataFolder)) {
        AError = Tr("Cannot create the data folder %1.").arg(FOptions.DataFolder);
        return false;
    }
    if (!FStore->Prepare(AError) || !FEndpoints->EnsurePaymentConfig(AError))
        return false;
    if (!TServiceCertificate::Ensure(FOptions.CertPath, FOptions.KeyPath, AError))
        return false;
    FServer = std::make_unique<httplib::SSLServer>(QFile::encodeName(FOptions.CertPath).constData(),
                                                   QFile::encodeName(FOptions.KeyPath).constData());
    if (!FServer->is_valid()) {
        AError = Tr("Cannot use the certificate %1 with the key %2.").arg(FOptions.CertPath, FOptions.KeyPath);
        return false;
    }
    const int Threads = FOptions.Threads;
    FServer->new_task_queue = [Threads] { return new httplib::ThreadPool(size_t(Threads)); };
    FServer->set_payload_max_length(size_t(FOptions.MaxBodyBytes));
    FServer->set_read_timeout(30, 0);
    FServer->set_write_timeout(30, 0);
    Route();

    const std::string Host = FOptions.Listen.toStdString();
    if (FOptions.Port == 0) {
        FPort = FServer->bind_to_any_port(Host);
    } else if (FServer->bind_to_port(Host, FOptions.Port)) {
        FPort = FOptions.Port;
    }
    if (FPort <= 0) {
        FPort = 0;
        AError = Tr("Cannot listen on %1 port %2.").arg(FOptions.Listen).arg(FOptions.Port);
        return false;
    }
    return true;
}

bool TTavixService::Run() { return FServer && FServer->listen_after_bind(); }

void TTavixService::Stop() {
    if (FServer)
        FServer->stop();
}

void TTavixService::Route() {
    using namespace httplib;
    FServer->Get(R"(/v1/client/check_version/(.*))",
                 [this](const Request &AReq, Response &ARes) { CheckVersion(AReq, ARes); });
    FServer->Get(R"(/v1/customer/fetch_fee/(.*))",
                 [this](const Request &AReq, Response &ARes) { FEndpoints->FetchFee(AReq, ARes); });
    FServer->Post("/v1/coupon", [this](const Request &AReq, Response &ARes) { FEndpoints->Coupon(AReq, ARes); });
    FServer->Post("/v1/event", [this](const Request &AReq, Response &ARes) { FEndpoints->Event(AReq, ARes); });
    FServer->Post("/v1/event/upload",
                  [this](const Request &AReq, Response &ARes) { FEndpoints->Upload(AReq, ARes); });
    FServer->Post("/v1/tokens", [this](const Request &AReq, Response &ARes) { FProcessor.HandleTokens(AReq, ARes); });
    FServer->Post("/v1/charges", [this](const Request &AReq, Response &ARes) { FProcessor.HandleCharges(AReq, ARes); });

    // Anything not routed, and refusals made by the server itself (413 for a body over the limit), get a reason.
    FServer->set_error_handler([](const Request &, Response &ARes) {
        if (ARes.has_header(TServiceHttp::ReasonHeader) || !ARes.body.empty())
            return;
        switch (ARes.status) {
        case 404:
            TServiceHttp::Refuse(ARes, 404, Tr("No such endpoint"));
            break;
        case 413:
            TServiceHttp::Refuse(ARes, 413, Tr("Request body is too large"));
            break;
        case 400:
            TServiceHttp::Refuse(ARes, 400, Tr("Request could not be read"));
            break;
        default:
            break;
        }
    });
    FServer->set_exception_handler([](const Request &, Response &ARes, std::exception_ptr) {
        TServiceHttp::Refuse(ARes, 500, Tr("The service failed while handling the request"));
    });
}

void TTavixService::CheckVersion(const httplib::Request &AReq, httplib::Response &ARes) {
    const QString Version = TServiceHttp::PathValue(AReq, 1).trimmed();
    if (!FEndpoints->ClientVersionAccepted(Version, ARes))
        return;
    ARes.status = 202;
    ARes.set_content("Accepted\n", "text/plain");
}
