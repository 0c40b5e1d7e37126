// The About box: program version, host description and the service address in use.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

class TdlgAbout : public QDialog {
    Q_OBJECT
public:
    explicit TdlgAbout(QWidget *AParent = nullptr);

    // The address shown in the grey field (the main window puts the configured one in before showing).
    void SetServerBaseURL(const QString &AURL);
    QString ServerBaseURL() const;

    static QString Text_Copyright();

private:
    QLabel *lblVersion;
    QLabel *lblOSDescription;
    QLabel *lblCopyright;
    QLineEdit *txtServerBaseURL;
};
