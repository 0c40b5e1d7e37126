// The customer's branding banner: a coloured strip with a line of text, or an image; hidden when unset.
#pragma once

#include <QColor>
#include <QFrame>
#include <QPixmap>

class QLabel;

class TBrandingStrip : public QFrame {
    Q_OBJECT
public:
    explicit TBrandingStrip(QWidget *AParent = nullptr);

    // A strip filled with AFill, outlined with AStroke, showing AText in ATextColor. An empty text
    // (after trimming) hides the strip, as an unconfigured banner must not leave an empty box behind.
    void SetStrip(const QColor &AFill, const QColor &AStroke, const QColor &ATextColor, const QString &AText);
    // An image on ABackground; a null image hides the strip.
    void SetBanner(const QPixmap &AImage, const QColor &ABackground = QColor(Qt::transparent));
    void SetBanner(const QImage &AImage, const QColor &ABackground = QColor(Qt::transparent));
    // Hides the strip and forgets its content.
    void Clear();

    bool IsConfigured() const { return FConfigured; }
    QString Text() const;
    QColor FillColor() const { return FFill; }
    QColor StrokeColor() const { return FStroke; }
    QColor TextColor() const { return FTextColor; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *AEvent) override;

private:
    QLabel *FLabel;
    QColor FFill;
    QColor FStroke;
    QColor FTextColor;
    bool FConfigured = false;
};
