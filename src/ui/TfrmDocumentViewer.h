// The window in which a student reads an event's question document (PDF, DOC or DOCX), zooms it and,
// when allowed, saves a copy.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QLabel;
class QPdfDocument;
class QPdfView;
class QProcess;
class QSlider;
class QTemporaryDir;
class QTimer;
class TBusyIndicator;

// Not modal, and freed when closed (WA_DeleteOnClose): an owner that keeps a QPointer to it finds it
// null afterwards. The window keeps its own deep copy of the document's bytes.
class TfrmDocumentViewer : public QMainWindow {
    Q_OBJECT
public:
    enum TDocumentFormat { dfUnknown, dfPdf, dfDoc, dfDocx };

    // The zoom slider moves in hundredths of a percent, so fractional positions such as 175.6 exist.
    static constexpr int ZoomSliderScale = 100;
    static constexpr int ZoomMin = 50;
    static constexpr int ZoomMax = 300;

    explicit TfrmDocumentViewer(QWidget *AOwner = nullptr);
    ~TfrmDocumentViewer() override;

    // Shows ADocument (copied; the caller may change or free it afterwards) and the window.
    // A second call replaces the document.
    void Execute(const QByteArray &ADocument, const QString &AFilename, bool AAllowSave);
    // The same from a stream: all its bytes are copied and its read position is left as it was.
    // A null or unreadable stream gives an empty window.
    void Execute(QIODevice *ADocument, const QString &AFilename, bool AAllowSave);

    QByteArray Document() const { return FDocument; }
    QString Filename() const { return FFilename; }
    bool AllowSave() const { return FAllowSave; }

    // True while a word-processor document is being turned into PDF in the background.
    bool IsConverting() const;
    // True when a document is on display.
    bool IsShowingDocument() const;
    // The zoom applied to the display, in whole percent.
    int ZoomPercent() const { return FZoomPercent; }
    double ZoomSliderPosition() const;
    void SetZoomSliderPosition(double APercent);

    static TDocumentFormat DetectFormat(const QByteArray &AData);

    // The office program that converts DOC and DOCX to PDF. Empty (the default) searches the PATH for
    // "soffice" and "libreoffice"; tests point it elsewhere.
    static void SetOfficeProgram(const QString &AProgram);
    static QString OfficeProgram();
    // Longest time a conversion may take before it is given up.
    static void SetConversionTimeout(int AMSecs);

    // Handlers, public so that the window can be driven directly.
    void actSaveAsExecute();
    void tbarZoomChange(int ASliderValue);
    void lblZoomClick();

signals:
    // The document (or its converted form) is on display.
    void DocumentShown();
    // The document could not be shown; "Unable to open document." has been reported.
    void DocumentFailed();

protected:
    bool eventFilter(QObject *AWatched, QEvent *AEvent) override;

private:
    void CloseDocument();
    void AbandonConversion();
    void StartConversion(TDocumentFormat AFormat);
    void ConversionEnded(bool AStarted);
    bool ShowPdf(const QByteArray &APdf);
    void ApplyZoom(int APercent);
    void LoadFailed();
    void UpdateActions();

    QByteArray FDocument;
    QString FFilename;
    bool FAllowSave = false;

    // What the PDF component reads: FDocument itself, or its converted form.
    QByteArray FDisplayBytes;
    QBuffer FDisplayBuffer;
    QPdfDocument *FPdf;
    QPdfView *FView;
    QSlider *FZoomSlider;
    QLabel *FZoomLabel;
    TBusyIndicator *FBusy;
    QAction *FSaveAs;
    QAction *FClose;
    int FZoomPercent = 100;

    QPointer<QProcess> FConverter;
    QPointer<QTimer> FConversionTimer;
    std::unique_ptr<QTemporaryDir> FConversionDir;
};
