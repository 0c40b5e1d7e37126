#include "net/TAgent_Client_CheckVersion.h"

#include "util/TzovUtil_ApplicationVersion.h"

TAgent_Client_CheckVersion::TAgent_Client_CheckVersion(const QString &ABaseURL, const QString &AVersion,
                                                       QObject *AParent)
    : TAgent_Client_Base(ABaseURL, AParent), FVersion(AVersion) {}

void TAgent_Client_CheckVersion::Execute() {
    const QString version = FVersion.isEmpty() ? TzovUtil_ApplicationVersion::Version_AsString() : FVersion;
    auto client = NewClient();
    // Any answer is an answer: the caller looks at the status (202 accepted, 426 too old).
    FSuccess = ApplyResponse(client->Get(FBaseURL + QLatin1String("/v1/client/check_version/") + version));
}
