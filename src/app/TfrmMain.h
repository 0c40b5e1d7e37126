// The main window: branding, the four choices, the version label and the start-up version check.
#pragma once

#include <QPointer>
#include <QWidget>

#include <memory>

class QLabel;
class QPushButton;
class QRadioButton;
class TAgent_Client_Base;
class TAgent_Client_CheckVersion;
class TBrandingStrip;
class TDO_ClientConfig;
class TDO_ClientConfig_FileOnDisk;
class TdlgAbout;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    static constexpr auto ConfigFilename = "TavixCorlan.xml";

    // Loads the configuration file "TavixCorlan.xml" from AConfigFolder (empty: the user's configuration
    // folder), writing one with defaults when it cannot be loaded.
    explicit TfrmMain(const QString &AConfigFolder = QString(), QWidget *AParent = nullptr);
    ~TfrmMain() override;

    TDO_ClientConfig &ClientConfig();
    const TDO_ClientConfig_FileOnDisk &ClientConfigFile() const { return *FClientConfig; }
    TdlgAbout *About() const { return FAbout; }
    bool IsVersionCheckRunning() const;

public slots:
    // Runs the choice of the selected radio button ("Go" and Enter).
    void btnSelectClick();
    void actCreateEventExecute();
    void actEditEventExecute();
    void actViewFilesExecute();
    void actStudentClientExecute();
    // Shows the About box with the configured service address.
    void lblVersionDblClick();
    // Abandons a check still running and starts a new one.
    void StartVersionCheck();

signals:
    // After every version check that was not abandoned, with the agent's status code.
    void VersionCheckFinished(int AStatusCode);

protected:
    void showEvent(QShowEvent *AEvent) override;
    void keyPressEvent(QKeyEvent *AEvent) override;
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    void FormCreate();
    void ApplyBranding();
    void AbandonVersionCheck();
    void VersionCheckCompleted(TAgent_Client_Base *ASender);
    void ShowNotAvailable(const QString &AFeature);

    std::unique_ptr<TDO_ClientConfig_FileOnDisk> FClientConfig;
    QPointer<TAgent_Client_CheckVersion> FAgent;
    TdlgAbout *FAbout = nullptr;

    TBrandingStrip *rectBrand = nullptr;
    QRadioButton *optCreateEvent = nullptr;
    QRadioButton *optEditEvent = nullptr;
    QRadioButton *optStudentClient = nullptr;
    QRadioButton *optDownloadFiles = nullptr;
    QPushButton *btnSelect = nullptr;
    QLabel *lblVersion = nullptr;
};
