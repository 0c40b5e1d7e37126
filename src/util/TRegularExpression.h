// A small object wrapper over QRegularExpression that keeps its last match.
#pragma once

#include <QFlags>
#include <QRegularExpression>
#include <QRegularExpressionMatch>
#include <QString>

enum TRegExOption {
    roNone = 0x0,       // no effect
    roIgnoreCase = 0x1, // letters match regardless of case
    roMultiLine = 0x2,  // "^" and "$" also match at line breaks
    roSingleLine = 0x4, // "." also matches a line break
};
Q_DECLARE_FLAGS(TRegExOptions, TRegExOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRegExOptions)

// Belongs to one caller at a time. An expression that does not compile matches nothing (Exec gives false,
// Replace returns its input unchanged); IsValid tells the two apart.
class TRegularExpression {
public:
    TRegularExpression() = default;
    TRegularExpression(const QString &AExpression, TRegExOptions AOptions);

    // Compiles AExpression with the options given at creation and forgets the last match.
    void SetExpression(const QString &AExpression);
    bool IsValid() const { return FRegex.isValid(); }

    // Searches AValue for the first match and keeps it.
    bool Exec(const QString &AValue);
    // Groups of the kept match, the whole match being group 0; 0 when there is no match.
    int MatchCount() const;
    // Text of group AIndex of the kept match; empty for an index out of range or a group that took no part.
    QString GetMatch(int AIndex) const;
    // AInputStr with every match replaced by AReplaceStr ("\1" and so on name groups).
    QString Replace(const QString &AInputStr, const QString &AReplaceStr) const;

private:
    TRegExOptions FOptions;
    QRegularExpression FRegex;
    QRegularExpressionMatch FMatch;
};
