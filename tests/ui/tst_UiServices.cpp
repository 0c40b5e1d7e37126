// The scripted desktop service that every dialog test relies on.
#include "TScriptedUi.h"

#include <QApplication>
#include <QTest>

class tst_UiServices : public QObject {
    Q_OBJECT
private slots:
    void init() { FUi = &TScriptedUi::Install(); }
    void cleanup() { SetUiServices(nullptr); }

    void installedServiceIsUsed();
    void answersAreConsumedInOrder();
    void unexpectedQuestionIsNoticed_data();
    void unexpectedQuestionIsNoticed();
    void messagesAreRecorded();
    void errorTextHasFirstLineAndDetail_data();
    void errorTextHasFirstLineAndDetail();
    void clipboardAndUrls();

private:
    TScriptedUi *FUi = nullptr;
};

void tst_UiServices::installedServiceIsUsed() {
    QCOMPARE(&Ui(), static_cast<TUiServices *>(FUi));
    SetUiServices(nullptr);
    QVERIFY(dynamic_cast<TQtUiServices *>(&Ui()));
}

void tst_UiServices::answersAreConsumedInOrder() {
    FUi->QueueYes();
    FUi->QueueSaveFileName(QStringLiteral("/tmp/a.pdf"));
    FUi->QueueNo();
    FUi->QueueOpenFileName(QString()); // the user cancels
    FUi->QueueDirectory(QStringLiteral("/tmp/out"));
    QCOMPARE(FUi->PendingAnswers(), 5);

    QVERIFY(Ui().AskYesNo(nullptr, QStringLiteral("T"), QStringLiteral("Proceed?"), true));
    QCOMPARE(Ui().GetSaveFileName(nullptr, QStringLiteral("Save"), QStringLiteral("x.pdf"), QString(),
                                  QStringLiteral("pdf")),
             QStringLiteral("/tmp/a.pdf"));
    QVERIFY(!Ui().AskYesNo(nullptr, QStringLiteral("T"), QStringLiteral("Again?")));
    QCOMPARE(Ui().GetOpenFileName(nullptr, QStringLiteral("Open")), QString());
    QCOMPARE(Ui().GetExistingDirectory(nullptr, QStringLiteral("Folder")), QStringLiteral("/tmp/out"));

    QCOMPARE(FUi->PendingAnswers(), 0);
    QVERIFY(FUi->Errors().isEmpty());
    // What was asked is kept for the test to check.
    QCOMPARE(FUi->Questions().size(), 5);
    QCOMPARE(FUi->Questions()[0].DefaultYes, true);
    QCOMPARE(FUi->Questions()[1].Text, QStringLiteral("x.pdf"));
    QCOMPARE(FUi->Questions()[1].Suffix, QStringLiteral("pdf"));
    QCOMPARE(FUi->Questions()[2].DefaultYes, false);
}

void tst_UiServices::unexpectedQuestionIsNoticed_data() {
    QTest::addColumn<bool>("queueWrongKind");
    QTest::newRow("nothing queued") << false;
    QTest::newRow("answer of another kind queued") << true;
}

void tst_UiServices::unexpectedQuestionIsNoticed() {
    QFETCH(bool, queueWrongKind);
    FUi->SetFailOnUnexpected(false);
    if (queueWrongKind)
        FUi->QueueSaveFileName(QStringLiteral("/tmp/a.pdf"));

    // The safe answers: No, and a cancelled chooser.
    QVERIFY(!Ui().AskYesNo(nullptr, QStringLiteral("Delete"), QStringLiteral("Proceed?"), true));
    QCOMPARE(FUi->Errors().size(), 1);
    QVERIFY(FUi->Errors()[0].contains(QStringLiteral("Proceed?")));
    QCOMPARE(Ui().GetOpenFileName(nullptr, QStringLiteral("Open")), QString());
    QCOMPARE(FUi->Errors().size(), 2);
    // A mismatched answer stays queued for the question it was meant for.
    QCOMPARE(FUi->PendingAnswers(), queueWrongKind ? 1 : 0);
}

void tst_UiServices::messagesAreRecorded() {
    Ui().ShowMessage(nullptr, mkWarning, QStringLiteral("Title"), QStringLiteral("Careful"));
    Ui().ShowMessageNonBlocking(nullptr, mkError, QString(), QStringLiteral("Unable to open document."));
    Ui().ShowError(nullptr, QStringLiteral("Unable to retrieve event."), QStringLiteral("Not Found"));

    const auto &messages = FUi->Messages();
    QCOMPARE(messages.size(), 3);
    QCOMPARE(messages[0].Kind, mkWarning);
    QCOMPARE(messages[0].Title, QStringLiteral("Title"));
    QCOMPARE(messages[0].Text, QStringLiteral("Careful"));
    QVERIFY(messages[0].Blocking);
    QCOMPARE(messages[1].Kind, mkError);
    QVERIFY(!messages[1].Blocking);
    QCOMPARE(messages[2].Kind, mkError);
    QCOMPARE(messages[2].Text, QStringLiteral("Unable to retrieve event.\nNot Found"));
    QCOMPARE(messages[2].FirstLine(), QStringLiteral("Unable to retrieve event."));
    QVERIFY(FUi->Questions().isEmpty());
}

void tst_UiServices::errorTextHasFirstLineAndDetail_data() {
    QTest::addColumn<QString>("firstLine");
    QTest::addColumn<QString>("detail");
    QTest::addColumn<QString>("expected");
    QTest::newRow("with detail")
        << "Unable to upload file."
        << "Please upgrade to the latest version of this software."
        << "Unable to upload file.\nPlease upgrade to the latest version of this software.";
    QTest::newRow("no detail, no dangling line break") << "Question document is open."
                                                       << ""
                                                       << "Question document is open.";
}

void tst_UiServices::errorTextHasFirstLineAndDetail() {
    QFETCH(QString, firstLine);
    QFETCH(QString, detail);
    QFETCH(QString, expected);
    QCOMPARE(TUiServices::ErrorText(firstLine, detail), expected);
}

void tst_UiServices::clipboardAndUrls() {
    QVERIFY(!Ui().ClipboardText().has_value());
    QVERIFY(Ui().SetClipboardText(QStringLiteral("Event Code: ABC 123\n")));
    QCOMPARE(Ui().ClipboardText().value_or(QString()), QStringLiteral("Event Code: ABC 123\n"));
    QCOMPARE(FUi->ClipboardTexts(), QStringList{QStringLiteral("Event Code: ABC 123\n")});

    FUi->SetClipboardAvailable(false);
    QVERIFY(!Ui().SetClipboardText(QStringLiteral("lost")));
    QCOMPARE(FUi->ClipboardTexts().size(), 1);

    QVERIFY(Ui().OpenUrl(QUrl(QStringLiteral("https://example.invalid/"))));
    QVERIFY(Ui().OpenFolder(QStringLiteral("/tmp/answers")));
    FUi->SetOpenUrlResult(false);
    QVERIFY(!Ui().OpenFile(QStringLiteral("/tmp/receipt.html")));
    QCOMPARE(FUi->OpenedUrls(), (QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/")),
                                             QUrl::fromLocalFile(QStringLiteral("/tmp/answers")),
                                             QUrl::fromLocalFile(QStringLiteral("/tmp/receipt.html"))}));
}

QTEST_MAIN(tst_UiServices)
#include "tst_UiServices.moc"
