// The black header band and window background shared by the main window and the event dialogs.
#pragma once

#include <QMargins>
#include <QString>

class QFrame;
class QGridLayout;
class QLabel;
class QWidget;

class THeaderBand {
public:
    THeaderBand() = delete;
    // The light grey background of the program's windows.
    static void ApplyWindowBackground(QWidget *AWindow);
    // A black band (object name "pnlHeader") with a grid layout for its labels.
    static QFrame *Create(QWidget *AParent, const QMargins &AMargins, QGridLayout **ALayout);
    // A label on the band: the font scaled from the default, bold or not, in the given colour.
    static QLabel *CreateLabel(const QString &AText, QWidget *AParent, qreal AScale, bool ABold, const char *AColor);
};
