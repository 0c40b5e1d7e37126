#include "TRegularExpression.h"

TRegularExpression::TRegularExpression(const QString &AExpression, TRegExOptions AOptions)
    : FOptions(AOptions) {
    SetExpression(AExpression);
}

void TRegularExpression::SetExpression(const QString &AExpression) {
    QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
    if (FOptions.testFlag(roIgnoreCase))
        options |= QRegularExpression::CaseInsensitiveOption;
    if (FOptions.testFlag(roMultiLine))
        options |= QRegularExpression::MultilineOption;
    if (FOptions.testFlag(roSingleLine))
        options |= QRegularExpression::DotMatchesEverythingOption;
    FRegex = QRegularExpression(AExpression, options);
    FMatch = QRegularExpressionMatch();
}

bool TRegularExpression::Exec(const QString &AValue) {
    if (!FRegex.isValid()) {
        FMatch = QRegularExpressionMatch();
        return false;
    }
    FMatch = FRegex.match(AValue);
    return FMatch.hasMatch();
}

int TRegularExpression::MatchCount() const {
    return FMatch.hasMatch() ? FRegex.captureCount() + 1 : 0;
}

QString TRegularExpression::GetMatch(int AIndex) const {
    if (AIndex < 0 || AIndex >= MatchCount())
        return {};
    return FMatch.captured(AIndex);
}

QString TRegularExpression::Replace(const QString &AInputStr, const QString &AReplaceStr) const {
    if (!FRegex.isValid())
        return AInputStr;
    QString result = AInputStr;
    return result.replace(FRegex, AReplaceStr);
}
