#include "TScriptedUi.h"

#include <QTest>

namespace {

const char *KindName(TScriptedUi::TAskKind AKind) {
    switch (AKind) {
    case TScriptedUi::akYesNo:
        return "Yes/No question";
    case TScriptedUi::akOpenFile:
        return "open-file chooser";
    case TScriptedUi::akSaveFile:
        return "save-file chooser";
    case TScriptedUi::akDirectory:
        return "folder chooser";
    }
    return "?";
}

} // namespace

TScriptedUi &TScriptedUi::Install() {
    auto services = std::make_unique<TScriptedUi>();
    TScriptedUi &result = *services;
    SetUiServices(std::move(services));
    return result;
}

void TScriptedUi::ClearRecords() {
    FMessages.clear();
    FQuestions.clear();
    FClipboardTexts.clear();
    FOpenedUrls.clear();
    FErrors.clear();
}

std::optional<QString> TScriptedUi::Answer(const TQuestion &AQuestion) {
    FQuestions.append(AQuestion);
    QString error;
    if (FAnswers.empty())
        error = QStringLiteral("Unexpected %1 \"%2\" (%3): no answer queued")
                    .arg(QLatin1String(KindName(AQuestion.Kind)), AQuestion.Title, AQuestion.Text);
    else if (FAnswers.front().Kind != AQuestion.Kind)
        error = QStringLiteral("Unexpected %1 \"%2\" (%3): the next queued answer is for a %4")
                    .arg(QLatin1String(KindName(AQuestion.Kind)), AQuestion.Title, AQuestion.Text,
                         QLatin1String(KindName(FAnswers.front().Kind)));
    if (!error.isEmpty()) {
        FErrors.append(error);
        if (FFailOnUnexpected)
            QTest::qFail(qPrintable(error), __FILE__, __LINE__);
        return std::nullopt;
    }
    QString value = FAnswers.front().Value;
    FAnswers.pop_front();
    return value;
}

void TScriptedUi::ShowMessage(QWidget *, TMessageKind AKind, const QString &ATitle, const QString &AText) {
    FMessages.append({AKind, ATitle, AText, true});
}

void TScriptedUi::ShowMessageNonBlocking(QWidget *, TMessageKind AKind, const QString &ATitle,
                                         const QString &AText) {
    FMessages.append({AKind, ATitle, AText, false});
}

bool TScriptedUi::AskYesNo(QWidget *, const QString &ATitle, const QString &AText, bool ADefaultYes) {
    return !Answer({akYesNo, ATitle, AText, QString(), QString(), ADefaultYes}).value_or(QString()).isEmpty();
}

QString TScriptedUi::GetOpenFileName(QWidget *, const QString &ACaption, const QString &ADir,
                                     const QString &AFilter) {
    return Answer({akOpenFile, ACaption, ADir, AFilter, QString(), false}).value_or(QString());
}

QString TScriptedUi::GetSaveFileName(QWidget *, const QString &ACaption, const QString &ADir,
                                     const QString &AFilter, const QString &ADefaultSuffix) {
    return Answer({akSaveFile, ACaption, ADir, AFilter, ADefaultSuffix, false}).value_or(QString());
}

QString TScriptedUi::GetExistingDirectory(QWidget *, const QString &ACaption, const QString &ADir) {
    return Answer({akDirectory, ACaption, ADir, QString(), QString(), false}).value_or(QString());
}

bool TScriptedUi::SetClipboardText(const QString &AText) {
    if (!FClipboardAvailable)
        return false;
    FClipboardTexts.append(AText);
    FClipboard = AText;
    return true;
}

std::optional<QString> TScriptedUi::ClipboardText() {
    if (!FClipboardAvailable)
        return std::nullopt;
    return FClipboard;
}

bool TScriptedUi::OpenUrl(const QUrl &AUrl) {
    FOpenedUrls.append(AUrl);
    return FOpenUrlResult;
}
