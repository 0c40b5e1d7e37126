// The question document window: its own copy of the bytes, zoom, saving and word-processor conversion.
#include "TScriptedUi.h"
#include "TUiTestSupport.h"
#include "ui/TfrmDocumentViewer.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPdfView>
#include <QPointer>
#include <QSignalSpy>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

class tst_DocumentViewer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();

    void showsPdfAtHundredPercent();
    void zoom_data();
    void zoom();
    void saveAsFollowsPermission_data();
    void saveAsFollowsPermission();
    void saveWritesTheBytesReceived();
    void failedSaveIsReported();
    void callerBufferMayChangeOrGo();
    void streamPositionIsKept();
    void unreadableDocument_data();
    void unreadableDocument();
    void wordDocumentIsConverted_data();
    void wordDocumentIsConverted();
    void secondExecuteReplacesDocument();
    void closeReleasesWindow();

private:
    // Windows free themselves on close; the pointer only tells the test whether it still exists.
    TfrmDocumentViewer *NewViewer() {
        FViewer = new TfrmDocumentViewer(&FOwner);
        return FViewer;
    }
    QString WriteFakeOffice(const QString &ABody);

    QWidget FOwner;
    QPointer<TfrmDocumentViewer> FViewer;
    TScriptedUi *FUi = nullptr;
    QByteArray FPdf;
    std::unique_ptr<QTemporaryDir> FDir;
};

void tst_DocumentViewer::initTestCase() {
    FPdf = MakeTestPdf(2);
    QVERIFY(FPdf.startsWith("%PDF-"));
}

void tst_DocumentViewer::init() {
    FUi = &TScriptedUi::Install();
    FDir = std::make_unique<QTemporaryDir>();
    QVERIFY(FDir->isValid());
    TfrmDocumentViewer::SetOfficeProgram(QStringLiteral("/nonexistent/soffice"));
    TfrmDocumentViewer::SetConversionTimeout(20000);
}

void tst_DocumentViewer::cleanup() {
    delete FViewer.data();
    QVERIFY(FUi->Errors().isEmpty());
    SetUiServices(nullptr);
    TfrmDocumentViewer::SetOfficeProgram(QString());
    FDir.reset();
}

QString tst_DocumentViewer::WriteFakeOffice(const QString &ABody) {
    const QString path = FDir->filePath(QStringLiteral("fake-office.sh"));
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        return QString();
    // The arguments end with: --outdir <folder> <input file>.
    script.write("#!/bin/sh\nfor a; do prev2=$prev; prev=$a; done\noutdir=$prev2\ninput=$prev\n");
    script.write(ABody.toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void tst_DocumentViewer::showsPdfAtHundredPercent() {
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QStringLiteral("question.pdf"), false);
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->isModal());
    QVERIFY(viewer->IsShowingDocument());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Document Viewer - question.pdf"));
    QCOMPARE(viewer->findChild<QLabel *>(QStringLiteral("lblZoom"))->text(), QStringLiteral("100%"));
    QCOMPARE(viewer->findChild<QSlider *>(QStringLiteral("tbarZoom"))->value(), 100 * 100);
    QCOMPARE(viewer->findChild<QPdfView *>(QStringLiteral("pdfView"))->zoomFactor(), 1.0);
    QVERIFY(FUi->Messages().isEmpty());
}

void tst_DocumentViewer::zoom_data() {
    QTest::addColumn<double>("position");
    QTest::addColumn<int>("percent");
    QTest::newRow("fraction is cut, not rounded") << 175.6 << 175;
    QTest::newRow("just under a whole number") << 99.99 << 99;
    QTest::newRow("lowest") << 50.0 << 50;
    QTest::newRow("highest") << 300.0 << 300;
    QTest::newRow("below the range") << 10.0 << 50;
}

void tst_DocumentViewer::zoom() {
    QFETCH(double, position);
    QFETCH(int, percent);
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QStringLiteral("question.pdf"), false);
    auto *label = viewer->findChild<QLabel *>(QStringLiteral("lblZoom"));
    auto *view = viewer->findChild<QPdfView *>(QStringLiteral("pdfView"));
    auto *slider = viewer->findChild<QSlider *>(QStringLiteral("tbarZoom"));

    viewer->SetZoomSliderPosition(position);
    QCOMPARE(viewer->ZoomPercent(), percent);
    QCOMPARE(label->text(), QString::number(percent) + QLatin1Char('%'));
    QCOMPARE(view->zoomFactor(), percent / 100.0);

    const int sliderValue = slider->value();
    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(label->text(), QStringLiteral("100%"));
    QCOMPARE(view->zoomFactor(), 1.0);
    QCOMPARE(slider->value(), sliderValue);
}

void tst_DocumentViewer::saveAsFollowsPermission_data() {
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("allowSave");
    QTest::addColumn<bool>("enabled");
    const QByteArray pdf = MakeTestPdf();
    QTest::newRow("allowed") << pdf << true << true;
    QTest::newRow("not allowed") << pdf << false << false;
    QTest::newRow("allowed, empty document") << QByteArray() << true << false;
}

void tst_DocumentViewer::saveAsFollowsPermission() {
    QFETCH(QByteArray, document);
    QFETCH(bool, allowSave);
    QFETCH(bool, enabled);
    auto *viewer = NewViewer();
    viewer->Execute(document, QStringLiteral("question.pdf"), allowSave);
    auto *action = viewer->findChild<QAction *>(QStringLiteral("actSaveAs"));
    QVERIFY(action);
    QCOMPARE(action->isEnabled(), enabled);
    if (!enabled) {
        // Nothing is asked even when the handler is called directly.
        viewer->actSaveAsExecute();
        QCOMPARE(FUi->Questions().size(), 0);
    }
    if (document.isEmpty()) {
        QVERIFY(!viewer->IsShowingDocument());
        QVERIFY(FUi->Messages().isEmpty());
    }
    if (!enabled)
        return;
    FUi->QueueSaveFileName(QString()); // cancelled
    action->trigger();
    QCOMPARE(FUi->Questions().size(), 1);
    QCOMPARE(FUi->Questions()[0].Title, QStringLiteral("Save Document As"));
    QCOMPARE(FUi->Questions()[0].Text, QStringLiteral("question.pdf"));
    QCOMPARE(FUi->Questions()[0].Suffix, QStringLiteral("pdf"));
    QVERIFY(FUi->Messages().isEmpty());
}

void tst_DocumentViewer::saveWritesTheBytesReceived() {
    const QString target = FDir->filePath(QStringLiteral("copy.pdf"));
    {
        QFile old(target);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(100000, 'x')); // longer than the document: replacing must not leave a tail
    }
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QString(), true);
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Document Viewer"));
    FUi->QueueSaveFileName(target);
    viewer->findChild<QAction *>(QStringLiteral("actSaveAs"))->trigger();
    QCOMPARE(FUi->Questions()[0].Text, QString()); // no file name, nothing proposed
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), FPdf);
    QVERIFY(FUi->Messages().isEmpty());
}

void tst_DocumentViewer::failedSaveIsReported() {
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QStringLiteral("question.pdf"), true);
    FUi->QueueSaveFileName(FDir->filePath(QStringLiteral("missing-folder/copy.pdf")));
    viewer->actSaveAsExecute();
    QCOMPARE(FUi->Messages().size(), 1);
    const auto message = FUi->Messages()[0];
    QCOMPARE(message.Kind, mkError);
    QCOMPARE(message.FirstLine(), QStringLiteral("Unable to save document."));
    QVERIFY2(message.Text.count(QLatin1Char('\n')) == 1 && !message.Text.endsWith(QLatin1Char('\n')),
             qPrintable(message.Text));
    QVERIFY(!QFile::exists(FDir->filePath(QStringLiteral("missing-folder"))));
    QCOMPARE(viewer->Document(), FPdf);
    QVERIFY(viewer->IsShowingDocument());
}

void tst_DocumentViewer::callerBufferMayChangeOrGo() {
    auto raw = std::make_unique<std::vector<char>>(FPdf.begin(), FPdf.end());
    // A buffer that only wraps the caller's memory, as a stream over a download would.
    QByteArray wrapped = QByteArray::fromRawData(raw->data(), qsizetype(raw->size()));
    auto *viewer = NewViewer();
    viewer->Execute(wrapped, QStringLiteral("question.pdf"), true);
    std::fill(raw->begin(), raw->end(), '\0');
    raw.reset();
    wrapped = QByteArray();

    QCOMPARE(viewer->Document(), FPdf);
    viewer->SetZoomSliderPosition(150);
    QTest::qWait(10);
    QVERIFY(viewer->IsShowingDocument());
    const QString target = FDir->filePath(QStringLiteral("copy.pdf"));
    FUi->QueueSaveFileName(target);
    viewer->actSaveAsExecute();
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), FPdf);
}

void tst_DocumentViewer::streamPositionIsKept() {
    QByteArray data = FPdf;
    QBuffer stream(&data);
    QVERIFY(stream.open(QIODevice::ReadOnly));
    QVERIFY(stream.seek(17));
    auto *viewer = NewViewer();
    viewer->Execute(&stream, QStringLiteral("question.pdf"), true);
    QCOMPARE(stream.pos(), 17);
    QCOMPARE(viewer->Document(), FPdf);
    QVERIFY(viewer->IsShowingDocument());
    data.fill('\0');
    QCOMPARE(viewer->Document(), FPdf);
}

void tst_DocumentViewer::unreadableDocument_data() {
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<QString>("filename");
    const QByteArray pdf = MakeTestPdf();
    QTest::newRow("DOCX, no office program") << QByteArray("PK\x03\x04rest-of-zip", 15) << "answer.docx";
    QTest::newRow("DOC, no office program")
        << (QByteArray::fromHex("D0CF11E0A1B11AE1") + QByteArray(64, '\0')) << "answer.doc";
    QTest::newRow("not a document") << QByteArray("plain text, not a document") << "notes.txt";
    QTest::newRow("truncated PDF") << pdf.left(pdf.size() / 3) << "question.pdf";
}

void tst_DocumentViewer::unreadableDocument() {
    QFETCH(QByteArray, document);
    QFETCH(QString, filename);
    auto *viewer = NewViewer();
    QSignalSpy failed(viewer, &TfrmDocumentViewer::DocumentFailed);
    viewer->Execute(document, filename, true);
    QTRY_COMPARE(failed.size(), 1);
    QVERIFY(viewer->isVisible());
    QVERIFY(!viewer->IsShowingDocument());
    QCOMPARE(FUi->Messages().size(), 1);
    QCOMPARE(FUi->Messages()[0].Text, QStringLiteral("Unable to open document."));
    QVERIFY(!FUi->Messages()[0].Blocking);

    // Saving is still offered and keeps the bytes as they were received.
    auto *action = viewer->findChild<QAction *>(QStringLiteral("actSaveAs"));
    QVERIFY(action->isEnabled());
    const QString target = FDir->filePath(filename);
    FUi->QueueSaveFileName(target);
    action->trigger();
    QFile saved(target);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), document);
}

void tst_DocumentViewer::wordDocumentIsConverted_data() {
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("shown");
    // The fake office program records where it worked, so the test can see the folder removed.
    QTest::newRow("converted") << QStringLiteral("cp \"$PDF\" \"$outdir/$(basename \"${input%%.*}\").pdf\"\n")
                               << true;
    QTest::newRow("program fails") << QStringLiteral("exit 3\n") << false;
    QTest::newRow("no output written") << QStringLiteral("exit 0\n") << false;
    QTest::newRow("garbage output") << QStringLiteral(
                                           "echo garbage > \"$outdir/$(basename \"${input%%.*}\").pdf\"\n")
                                    << false;
}

void tst_DocumentViewer::wordDocumentIsConverted() {
    QFETCH(QString, body);
    QFETCH(bool, shown);
    const QString pdfPath = FDir->filePath(QStringLiteral("converted.pdf"));
    {
        QFile pdf(pdfPath);
        QVERIFY(pdf.open(QIODevice::WriteOnly));
        pdf.write(FPdf);
    }
    const QString workLog = FDir->filePath(QStringLiteral("workdir.txt"));
    const QString program =
        WriteFakeOffice(QStringLiteral("PDF='%1'\necho \"$outdir\" > '%2'\n%3").arg(pdfPath, workLog, body));
    QVERIFY(!program.isEmpty());
    TfrmDocumentViewer::SetOfficeProgram(program);

    const QByteArray docx("PK\x03\x04word/document.xml", 21);
    auto *viewer = NewViewer();
    QSignalSpy shownSpy(viewer, &TfrmDocumentViewer::DocumentShown);
    QSignalSpy failedSpy(viewer, &TfrmDocumentViewer::DocumentFailed);
    viewer->Execute(docx, QStringLiteral("answer.docx"), true);
    // The conversion runs in the background; the window is up meanwhile.
    QVERIFY(viewer->isVisible());
    QVERIFY(viewer->IsConverting());
    QTRY_VERIFY_WITH_TIMEOUT(shownSpy.size() + failedSpy.size() > 0, 15000);
    QVERIFY(!viewer->IsConverting());
    QCOMPARE(shownSpy.size(), shown ? 1 : 0);
    QCOMPARE(viewer->IsShowingDocument(), shown);
    QCOMPARE(FUi->Messages().size(), shown ? 0 : 1);
    if (!shown)
        QCOMPARE(FUi->Messages()[0].Text, QStringLiteral("Unable to open document."));
    // The saved copy is the original document, not the PDF made from it.
    QCOMPARE(viewer->Document(), docx);

    QFile log(workLog);
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QString outDir = QString::fromUtf8(log.readAll()).trimmed();
    QVERIFY(!outDir.isEmpty());
    QVERIFY2(!QDir(outDir).exists(), qPrintable(outDir));
    QVERIFY(!QDir(QFileInfo(outDir).path()).exists());
}

void tst_DocumentViewer::secondExecuteReplacesDocument() {
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QStringLiteral("first.pdf"), true);
    viewer->SetZoomSliderPosition(200);
    const QByteArray second = MakeTestPdf(1, QStringLiteral("Second"));
    viewer->Execute(second, QStringLiteral("second.pdf"), false);
    QCOMPARE(viewer->Document(), second);
    QCOMPARE(viewer->Filename(), QStringLiteral("second.pdf"));
    QVERIFY(!viewer->AllowSave());
    QVERIFY(!viewer->findChild<QAction *>(QStringLiteral("actSaveAs"))->isEnabled());
    QCOMPARE(viewer->windowTitle(), QStringLiteral("Document Viewer - second.pdf"));
    QCOMPARE(viewer->ZoomPercent(), 100);
    QCOMPARE(viewer->findChild<QLabel *>(QStringLiteral("lblZoom"))->text(), QStringLiteral("100%"));
    QVERIFY(viewer->IsShowingDocument());

    // Replacing a document that is still being converted abandons that conversion.
    TfrmDocumentViewer::SetOfficeProgram(WriteFakeOffice(QStringLiteral("sleep 30\n")));
    QSignalSpy failedSpy(viewer, &TfrmDocumentViewer::DocumentFailed);
    viewer->Execute(QByteArray("PK\x03\x04", 4), QStringLiteral("slow.docx"), true);
    QVERIFY(viewer->IsConverting());
    viewer->Execute(FPdf, QStringLiteral("first.pdf"), true);
    QVERIFY(!viewer->IsConverting());
    QTest::qWait(50);
    QCOMPARE(failedSpy.size(), 0);
    QVERIFY(viewer->IsShowingDocument());
}

void tst_DocumentViewer::closeReleasesWindow() {
    auto *viewer = NewViewer();
    viewer->Execute(FPdf, QStringLiteral("question.pdf"), true);
    viewer->findChild<QAction *>(QStringLiteral("actClose"))->trigger();
    QTRY_VERIFY(FViewer.isNull());
    // The owner no longer finds it.
    QVERIFY(!FOwner.findChild<TfrmDocumentViewer *>());
}

QTEST_MAIN(tst_DocumentViewer)
#include "tst_DocumentViewer.moc"
