#include "TfrmDocumentViewer.h"

#include "TBusyIndicator.h"
#include "TUiServices.h"

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPdfDocument>
#include <QPdfView>
#include <QProcess>
#include <QSaveFile>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>

namespace {

QString &OfficeProgramOverride() {
    static QString program;
    return program;
}

int &ConversionTimeout() {
    static int msecs = 120000;
    return msecs;
}

const QString ConvertBaseName = QStringLiteral("document");

} // namespace

TfrmDocumentViewer::TfrmDocumentViewer(QWidget *AOwner)
    : QMainWindow(AOwner, Qt::Window), FPdf(new QPdfDocument(this)) {
    setObjectName(QStringLiteral("frmDocumentViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowModality(Qt::NonModal);
    setWindowTitle(tr("Document Viewer"));
    resize(800, 900);

    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);

    FView = new QPdfView(central);
    FView->setObjectName(QStringLiteral("pdfView"));
    FView->setPageMode(QPdfView::PageMode::MultiPage);
    FView->setZoomMode(QPdfView::ZoomMode::Custom);
    layout->addWidget(FView, 1);

    FBusy = new TBusyIndicator(FView);
    FBusy->setGeometry(8, 8, 32, 32);

    auto *zoomRow = new QHBoxLayout();
    zoomRow->setContentsMargins(8, 4, 8, 4);
    FZoomSlider = new QSlider(Qt::Horizontal, central);
    FZoomSlider->setObjectName(QStringLiteral("tbarZoom"));
    FZoomSlider->setRange(ZoomMin * ZoomSliderScale, ZoomMax * ZoomSliderScale);
    FZoomSlider->setSingleStep(ZoomSliderScale);
    FZoomSlider->setPageStep(10 * ZoomSliderScale);
    FZoomSlider->setValue(100 * ZoomSliderScale);
    FZoomLabel = new QLabel(QStringLiteral("100%"), central);
    FZoomLabel->setObjectName(QStringLiteral("lblZoom"));
    FZoomLabel->setMinimumWidth(FZoomLabel->fontMetrics().horizontalAdvance(QStringLiteral("3000%")));
    FZoomLabel->setCursor(Qt::PointingHandCursor);
    FZoomLabel->setToolTip(tr("Click for 100%"));
    FZoomLabel->installEventFilter(this);
    zoomRow->addWidget(FZoomSlider, 1);
    zoomRow->addWidget(FZoomLabel);
    layout->addLayout(zoomRow);
    setCentralWidget(central);
    connect(FZoomSlider, &QSlider::valueChanged, this, &TfrmDocumentViewer::tbarZoomChange);

    QMenu *fileMenu = menuBar()->addMenu(tr("&File"));
    fileMenu->setObjectName(QStringLiteral("mnuFile"));
    FSaveAs = fileMenu->addAction(tr("Save As..."));
    FSaveAs->setObjectName(QStringLiteral("actSaveAs"));
    FSaveAs->setShortcut(QKeySequence::SaveAs);
    connect(FSaveAs, &QAction::triggered, this, &TfrmDocumentViewer::actSaveAsExecute);
    fileMenu->addSeparator();
    FClose = fileMenu->addAction(tr("Close"));
    FClose->setObjectName(QStringLiteral("actClose"));
    connect(FClose, &QAction::triggered, this, &QWidget::close);

    FView->setDocument(FPdf);
    ApplyZoom(100);
    UpdateActions();
}

TfrmDocumentViewer::~TfrmDocumentViewer() {
    AbandonConversion();
    // Detach the component from the buffer before either goes away.
    FView->setDocument(nullptr);
    FPdf->close();
}

void TfrmDocumentViewer::Execute(const QByteArray &ADocument, const QString &AFilename, bool AAllowSave) {
    CloseDocument();
    // A real copy: ADocument may wrap memory it does not own (QByteArray::fromRawData), and sharing
    // that would let the caller's later change or release reach the window.
    FDocument = QByteArray(ADocument.constData(), ADocument.size());
    FFilename = AFilename;
    FAllowSave = AAllowSave;
    setWindowTitle(AFilename.isEmpty() ? tr("Document Viewer")
                                       : tr("Document Viewer") + QStringLiteral(" - ") + AFilename);
    UpdateActions();

    if (!FDocument.isEmpty()) {
        const TDocumentFormat format = DetectFormat(FDocument);
        if (format == dfDoc || format == dfDocx)
            StartConversion(format);
        else if (!ShowPdf(FDocument))
            LoadFailed();
    }
    show();
    raise();
    activateWindow();
}

void TfrmDocumentViewer::Execute(QIODevice *ADocument, const QString &AFilename, bool AAllowSave) {
    QByteArray data;
    if (ADocument && ADocument->isOpen() && !ADocument->isSequential()) {
        const qint64 position = ADocument->pos();
        if (ADocument->seek(0))
            data = ADocument->readAll();
        ADocument->seek(position);
    }
    Execute(data, AFilename, AAllowSave);
}

bool TfrmDocumentViewer::IsConverting() const {
    return !FConverter.isNull();
}

bool TfrmDocumentViewer::IsShowingDocument() const {
    return FPdf->status() == QPdfDocument::Status::Ready && FPdf->pageCount() > 0;
}

double TfrmDocumentViewer::ZoomSliderPosition() const {
    return double(FZoomSlider->value()) / ZoomSliderScale;
}

void TfrmDocumentViewer::SetZoomSliderPosition(double APercent) {
    FZoomSlider->setValue(int(std::lround(APercent * ZoomSliderScale)));
}

TfrmDocumentViewer::TDocumentFormat TfrmDocumentViewer::DetectFormat(const QByteArray &AData) {
    // PDF allows junk before the header within the first kilobyte.
    if (AData.left(1024).contains("%PDF-"))
        return dfPdf;
    if (AData.startsWith(QByteArray::fromHex("D0CF11E0A1B11AE1")))
        return dfDoc;
    if (AData.startsWith(QByteArrayLiteral("PK\x03\x04")))
        return dfDocx;
    return dfUnknown;
}

void TfrmDocumentViewer::SetOfficeProgram(const QString &AProgram) {
    OfficeProgramOverride() = AProgram;
}

QString TfrmDocumentViewer::OfficeProgram() {
    if (!OfficeProgramOverride().isEmpty())
        return OfficeProgramOverride();
    for (const QString &name : {QStringLiteral("soffice"), QStringLiteral("libreoffice")}) {
        const QString found = QStandardPaths::findExecutable(name);
        if (!found.isEmpty())
            return found;
    }
    return QString();
}

void TfrmDocumentViewer::SetConversionTimeout(int AMSecs) {
    ConversionTimeout() = AMSecs;
}

void TfrmDocumentViewer::actSaveAsExecute() {
    if (!FAllowSave || FDocument.isEmpty())
        return;
    const QString name =
        Ui().GetSaveFileName(this, tr("Save Document As"), FFilename, QString(), QStringLiteral("pdf"));
    if (name.isEmpty())
        return;
    // Written aside and moved into place, so a failed save leaves an existing file as it was.
    QSaveFile file(name);
    QString error;
    if (!file.open(QIODevice::WriteOnly))
        error = file.errorString();
    else if (file.write(FDocument) != FDocument.size())
        error = file.errorString();
    else if (!file.commit())
        error = file.errorString();
    if (!error.isEmpty()) {
        file.cancelWriting();
        Ui().ShowError(this, tr("Unable to save document."), error);
    }
}

void TfrmDocumentViewer::tbarZoomChange(int ASliderValue) {
    // The whole-number part: 175.6 zooms to 175, never rounds up to 176.
    ApplyZoom(ASliderValue / ZoomSliderScale);
}

void TfrmDocumentViewer::lblZoomClick() {
    ApplyZoom(100);
}

bool TfrmDocumentViewer::eventFilter(QObject *AWatched, QEvent *AEvent) {
    if (AWatched == FZoomLabel && AEvent->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(AEvent)->button() == Qt::LeftButton) {
        lblZoomClick();
        return true;
    }
    return QMainWindow::eventFilter(AWatched, AEvent);
}

void TfrmDocumentViewer::ApplyZoom(int APercent) {
    FZoomPercent = APercent;
    FView->setZoomFactor(APercent / 100.0);
    FZoomLabel->setText(QString::number(APercent) + QLatin1Char('%'));
}

void TfrmDocumentViewer::CloseDocument() {
    AbandonConversion();
    FPdf->close();
    FDisplayBuffer.close();
    FDisplayBytes.clear();
    FDocument.clear();
}

bool TfrmDocumentViewer::ShowPdf(const QByteArray &APdf) {
    FPdf->close();
    FDisplayBuffer.close();
    FDisplayBytes = APdf;
    FDisplayBuffer.setBuffer(&FDisplayBytes);
    if (!FDisplayBuffer.open(QIODevice::ReadOnly))
        return false;
    FPdf->load(&FDisplayBuffer);
    if (FPdf->status() != QPdfDocument::Status::Ready || FPdf->pageCount() <= 0) {
        FPdf->close();
        FDisplayBuffer.close();
        FDisplayBytes.clear();
        return false;
    }
    SetZoomSliderPosition(100);
    ApplyZoom(100);
    emit DocumentShown();
    return true;
}

void TfrmDocumentViewer::LoadFailed() {
    // Not waiting for the user: the (empty) window stays usable, so it can still be saved or closed.
    Ui().ShowMessageNonBlocking(this, mkError, windowTitle(), tr("Unable to open document."));
    emit DocumentFailed();
}

void TfrmDocumentViewer::UpdateActions() {
    FSaveAs->setEnabled(FAllowSave && !FDocument.isEmpty());
}

void TfrmDocumentViewer::StartConversion(TDocumentFormat AFormat) {
    const QString program = OfficeProgram();
    const QFileInfo programInfo(program);
    if (program.isEmpty() || !programInfo.isFile() || !programInfo.isExecutable()) {
        LoadFailed();
        return;
    }
    FConversionDir = std::make_unique<QTemporaryDir>();
    const QString input = FConversionDir->filePath(ConvertBaseName + (AFormat == dfDoc ? ".doc" : ".docx"));
    const QString outDir = FConversionDir->filePath(QStringLiteral("out"));
    QFile inputFile(input);
    if (!FConversionDir->isValid() || !QDir().mkpath(outDir) || !inputFile.open(QIODevice::WriteOnly) ||
        inputFile.write(FDocument) != FDocument.size() || !inputFile.flush()) {
        FConversionDir.reset();
        LoadFailed();
        return;
    }
    inputFile.close();

    auto *process = new QProcess(this);
    FConverter = process;
    process->setProgram(program);
    // A profile of its own, so a copy of the office program the user already has open neither
    // swallows the request nor gets its settings touched.
    process->setArguments(
        {QStringLiteral("-env:UserInstallation=") +
             QUrl::fromLocalFile(FConversionDir->filePath(QStringLiteral("profile"))).toString(),
         QStringLiteral("--headless"), QStringLiteral("--norestore"), QStringLiteral("--convert-to"),
         QStringLiteral("pdf"), QStringLiteral("--outdir"), outDir, input});
    process->setProcessChannelMode(QProcess::MergedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, [this, process] {
        if (process == FConverter)
            ConversionEnded(true);
    });
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError AError) {
        if (AError == QProcess::FailedToStart && process == FConverter)
            ConversionEnded(false);
    });

    FConversionTimer = new QTimer(this);
    FConversionTimer->setSingleShot(true);
    connect(FConversionTimer, &QTimer::timeout, this, [this] {
        if (FConverter) {
            FConverter->disconnect(this);
            FConverter->kill();
            ConversionEnded(false);
        }
    });
    FConversionTimer->start(ConversionTimeout());
    FBusy->Start();
    process->start();
}

void TfrmDocumentViewer::ConversionEnded(bool AStarted) {
    QByteArray pdf;
    if (AStarted && FConverter && FConverter->exitStatus() == QProcess::NormalExit &&
        FConverter->exitCode() == 0) {
        QFile output(
            FConversionDir->filePath(QStringLiteral("out/") + ConvertBaseName + QStringLiteral(".pdf")));
        if (output.open(QIODevice::ReadOnly))
            pdf = output.readAll();
    }
    AbandonConversion();
    if (pdf.isEmpty() || !ShowPdf(pdf))
        LoadFailed();
}

void TfrmDocumentViewer::AbandonConversion() {
    FBusy->Stop();
    if (FConversionTimer) {
        FConversionTimer->stop();
        FConversionTimer->deleteLater();
        FConversionTimer = nullptr;
    }
    if (QProcess *process = FConverter) {
        FConverter = nullptr;
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            process->kill();
            // Killed processes end at once; waiting keeps them from writing into the removed folder.
            process->waitForFinished(2000);
        }
        // Possibly inside one of its own signals: let it go once control is back in the event loop.
        process->deleteLater();
    }
    FConversionDir.reset();
}
