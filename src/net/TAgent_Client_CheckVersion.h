// Agent asking the service whether this client version is still accepted (202 yes, 426 too old).
#pragma once

#include "net/TAgent_Client_Base.h"

class TAgent_Client_CheckVersion : public TAgent_Client_Base {
    Q_OBJECT
    Q_PROPERTY(QString Version READ Version CONSTANT)

public:
    // An empty version asks for the running program's own version.
    TAgent_Client_CheckVersion(const QString &ABaseURL, const QString &AVersion = QString(),
                               QObject *AParent = nullptr);

    QString Version() const { return FVersion; }
    bool IsVersionOK() const { return FStatusCode == 202; }

protected:
    void Execute() override;

private:
    QString FVersion;
};
