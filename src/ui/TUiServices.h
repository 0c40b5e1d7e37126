// The one gateway for message boxes, questions, file choosers, the clipboard and desktop launches.
#pragma once

#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QWidget;

enum TMessageKind { mkInformation, mkWarning, mkError };

// Every dialog reaches the user's desktop through this object so that tests can replace it with a
// scripted one (tests/support/ui/TScriptedUi.h). Production code installs TQtUiServices.
class TUiServices {
public:
    virtual ~TUiServices() = default;

    // A modal message with an OK button; returns when the user has closed it.
    virtual void ShowMessage(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                             const QString &AText) = 0;
    // The same message shown without waiting for the user; the caller carries on at once.
    virtual void ShowMessageNonBlocking(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                                        const QString &AText) = 0;
    // A modal Yes/No question; true for Yes. ADefaultYes picks the button Enter presses.
    virtual bool AskYesNo(QWidget *AParent, const QString &ATitle, const QString &AText,
                          bool ADefaultYes = false) = 0;

    // File choosers return the chosen path, or an empty text when the user cancelled.
    // ADir may be a folder, a file name or a path with a proposed file name.
    virtual QString GetOpenFileName(QWidget *AParent, const QString &ACaption,
                                    const QString &ADir = QString(), const QString &AFilter = QString()) = 0;
    // ADefaultSuffix ("pdf", without the point) is appended when the user types a name without one.
    virtual QString GetSaveFileName(QWidget *AParent, const QString &ACaption,
                                    const QString &ADir = QString(), const QString &AFilter = QString(),
                                    const QString &ADefaultSuffix = QString()) = 0;
    virtual QString GetExistingDirectory(QWidget *AParent, const QString &ACaption,
                                         const QString &ADir = QString()) = 0;

    // False when the platform offers no clipboard.
    virtual bool SetClipboardText(const QString &AText) = 0;
    // The clipboard's text, or nothing when it holds no text (or there is no clipboard).
    virtual std::optional<QString> ClipboardText() = 0;

    // Web and mailto addresses, and local files or folders given as file: addresses.
    virtual bool OpenUrl(const QUrl &AUrl) = 0;

    // Helpers built on the operations above.
    // An error message: the first line names what failed, the second gives the detail (may be empty).
    void ShowError(QWidget *AParent, const QString &AFirstLine, const QString &ADetail = QString());
    bool OpenFolder(const QString &APath) { return OpenUrl(QUrl::fromLocalFile(APath)); }
    bool OpenFile(const QString &APath) { return OpenUrl(QUrl::fromLocalFile(APath)); }

    // The caption of message boxes that have no better one: the program's name.
    static QString DefaultTitle();
    // "first line" + line break + "detail"; just the first line when the detail is empty.
    static QString ErrorText(const QString &AFirstLine, const QString &ADetail);
};

// The process-wide service. Until SetUiServices is called this is a TQtUiServices.
TUiServices &Ui();
// Replaces the process-wide service (tests install a scripted one); null restores the Qt one.
void SetUiServices(std::unique_ptr<TUiServices> AServices);

// The real desktop: QMessageBox, QFileDialog, the application clipboard and QDesktopServices.
class TQtUiServices : public TUiServices {
public:
    void ShowMessage(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                     const QString &AText) override;
    void ShowMessageNonBlocking(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                                const QString &AText) override;
    bool AskYesNo(QWidget *AParent, const QString &ATitle, const QString &AText,
                  bool ADefaultYes = false) override;
    QString GetOpenFileName(QWidget *AParent, const QString &ACaption, const QString &ADir = QString(),
                            const QString &AFilter = QString()) override;
    QString GetSaveFileName(QWidget *AParent, const QString &ACaption, const QString &ADir = QString(),
                            const QString &AFilter = QString(),
                            const QString &ADefaultSuffix = QString()) override;
    QString GetExistingDirectory(QWidget *AParent, const QString &ACaption,
                                 const QString &ADir = QString()) override;
    bool SetClipboardText(const QString &AText) override;
    std::optional<QString> ClipboardText() override;
    bool OpenUrl(const QUrl &AUrl) override;
};
