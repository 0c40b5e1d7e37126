// Helpers for widget tests: documents made at run time.
#pragma once

#include <QByteArray>
#include <QString>

// A valid PDF with APages pages, each carrying a line of text (made with QPdfWriter, never fetched).
QByteArray MakeTestPdf(int APages = 1, const QString &AText = QStringLiteral("Question"));
