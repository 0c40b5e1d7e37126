// Small modal prompts for one secret (a password or a PIN), with a show/hide toggle.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TShowHideButton;

// One masked field, the "●/A" toggle, "OK" (default) and "Cancel". "OK" is enabled only while the
// trimmed entry is non-empty.
class TdlgSecretPrompt : public QDialog {
    Q_OBJECT
public:
    TdlgSecretPrompt(const QString &ACaption, const QString &ALabel, QWidget *AParent = nullptr);

    // True for OK.
    bool Execute();
    // The entry without leading and trailing blanks.
    QString Entry() const;

    QLineEdit *EntryEdit() const { return FEdit; }
    QPushButton *OKButton() const { return FOK; }

private:
    void UpdateOK();

    QLabel *FLabel;
    QLineEdit *FEdit;
    TShowHideButton *FShowHide;
    QPushButton *FOK;
    QPushButton *FCancel;
};

// Asks a student (or an instructor acting for one) for an event password.
class TdlgPasswordPrompt : public TdlgSecretPrompt {
    Q_OBJECT
public:
    explicit TdlgPasswordPrompt(QWidget *AParent = nullptr);
    QString Password() const { return Entry(); }
};
