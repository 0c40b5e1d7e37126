// A scripted stand-in for the desktop services: tests queue the answers and read back what was shown.
#pragma once

#include "ui/TUiServices.h"

#include <QList>
#include <QStringList>

#include <deque>

// Answers are consumed in the order they were queued; a question whose next queued answer is of
// another kind, or that finds the queue empty, is recorded in Errors() and fails the running test
// (QTest::qFail) unless SetFailOnUnexpected(false). Unexpected questions answer No / cancel.
class TScriptedUi : public TUiServices {
public:
    enum TAskKind { akYesNo, akOpenFile, akSaveFile, akDirectory };

    struct TMessage {
        TMessageKind Kind;
        QString Title;
        QString Text;
        bool Blocking;
        QString FirstLine() const { return Text.section(QLatin1Char('\n'), 0, 0); }
    };
    struct TQuestion {
        TAskKind Kind;
        QString Title;   // question title or chooser caption
        QString Text;    // question text, or the proposed folder / file name of a chooser
        QString Filter;  // choosers only
        QString Suffix;  // save chooser only
        bool DefaultYes; // questions only
    };

    // Installs a new scripted service as Ui() and returns it; the caller must not keep it past the
    // next SetUiServices call.
    static TScriptedUi &Install();

    void QueueYesNo(bool AAnswer) { Queue(akYesNo, AAnswer ? QStringLiteral("yes") : QString()); }
    void QueueYes() { QueueYesNo(true); }
    void QueueNo() { QueueYesNo(false); }
    // An empty name answers as if the user cancelled.
    void QueueOpenFileName(const QString &AName) { Queue(akOpenFile, AName); }
    void QueueSaveFileName(const QString &AName) { Queue(akSaveFile, AName); }
    void QueueDirectory(const QString &AName) { Queue(akDirectory, AName); }
    int PendingAnswers() const { return int(FAnswers.size()); }

    void SetFailOnUnexpected(bool AFail) { FFailOnUnexpected = AFail; }
    void SetOpenUrlResult(bool AResult) { FOpenUrlResult = AResult; }
    // Simulates a platform without a clipboard.
    void SetClipboardAvailable(bool AAvailable) { FClipboardAvailable = AAvailable; }
    void SetClipboardContent(const std::optional<QString> &AText) { FClipboard = AText; }

    const QList<TMessage> &Messages() const { return FMessages; }
    const QList<TQuestion> &Questions() const { return FQuestions; }
    const QStringList &ClipboardTexts() const { return FClipboardTexts; }
    const QList<QUrl> &OpenedUrls() const { return FOpenedUrls; }
    const QStringList &Errors() const { return FErrors; }
    // Forgets what was recorded; queued answers stay.
    void ClearRecords();

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

private:
    struct TAnswer {
        TAskKind Kind;
        QString Value;
    };
    void Queue(TAskKind AKind, const QString &AValue) { FAnswers.push_back({AKind, AValue}); }
    // Records the question and returns its answer, or nothing when none fits.
    std::optional<QString> Answer(const TQuestion &AQuestion);

    std::deque<TAnswer> FAnswers;
    QList<TMessage> FMessages;
    QList<TQuestion> FQuestions;
    QStringList FClipboardTexts;
    QList<QUrl> FOpenedUrls;
    QStringList FErrors;
    std::optional<QString> FClipboard;
    bool FFailOnUnexpected = true;
    bool FOpenUrlResult = true;
    bool FClipboardAvailable = true;
};
