// Common frame of the transaction receipt windows: layout, saved files, copy, browser and the close guard.
#pragma once

#include "util/TDateTime.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class TBrandingStrip;
class TDO_ClientConfig;

// A receipt window is modal and single-use. Its files are written by the derived Prepare, before the
// window shows; the window refuses to close (Close, Escape or the close box) until the confirmation box
// is checked.
class TdlgPaymentReceipt_Base : public QDialog {
    Q_OBJECT
public:
    // "file://" and the path in URL path form: UTF-8, unsafe bytes as %XX, slashes between segments kept,
    // then "(" as %28 and ")" as %29.
    static QString FileUrlFromPath(const QString &APath);
    // "yyyy/mm/dd hh:nn:ss UTC" (24-hour clock) of a UTC value.
    static QString TimeText(TDateTime AValueUTC);
    // The "Saved:" stamp from the current local time: "mmm d, yyyy hh:nn:ss am/pm".
    static QString SavedStamp();
    // A value made fit to stand inside one file name: separators and characters file systems refuse
    // become "_".
    static QString SafeFileNamePart(const QString &AValue);
    // Receipt folder inside the configuration folder, e.g. "Your Events", with a trailing separator.
    static QString ReceiptFolder(const QString &ASubFolder);
    // One line per entry, each ended by CR LF, in the system's 8-bit encoding; false when not written.
    static bool WriteSummaryFile(const QString &APath, const QStringList &ALines);
    static bool WriteHtmlFile(const QString &APath, const QString &AHtml);

    // The summary lines as the file has them, "Saved:" line included.
    QStringList SavedLines() const { return FSavedLines; }
    // What the copy button puts on the clipboard: the summary without the "Saved:" line.
    QString ClipboardText() const;
    QString ReceiptUrl() const { return FReceiptUrl; }
    QString SummaryFilePath() const { return FSummaryPath; }
    QString HtmlFilePath() const { return FHtmlPath; }

    QPushButton *ViewButton() const { return FView; }
    QPushButton *CopyButton() const { return FCopy; }
    QCheckBox *ConfirmBox() const { return FConfirm; }
    QPushButton *CloseButton() const { return FClose; }

    void actViewExecute();
    void actCopyExecute();

    void done(int AResult) override;

protected:
    struct TTexts {
        QString Heading;
        QStringList Notice; // first line in bold
        QString CopyCaption;
        QString ConfirmCaption;
    };

    explicit TdlgPaymentReceipt_Base(QWidget *AParent);
    void SetTexts(const TTexts &ATexts);
    void ApplyBranding(const TDO_ClientConfig &AClientConfig);
    // A field row; a read-only box when AAsBox (it takes part in the tab order), otherwise a label.
    QWidget *AddField(const QString &AObjectName, const QString &ALabel, const QString &AValue, bool AAsBox);
    // Writes the HTML receipt when the payment has no receipt page of its own; returns the address to
    // use (the given one, the local file's, or empty when writing failed).
    QString MakeHtmlReceipt(const QString &AGivenUrl, const QString &APath, const QString &AHtml);
    // Remembers the summary lines, writes them after a fresh "Saved:" line, and shows the window's state.
    void FinishPrepare(const QString &ASummaryPath, const QStringList &ALines, const QString &AReceiptUrl);

    void showEvent(QShowEvent *AEvent) override;

private:
    TBrandingStrip *FBranding;
    QLabel *FDescription;
    QLabel *FHeading;
    QGridLayout *FFields;
    QLabel *FNotice;
    QPushButton *FView;
    QPushButton *FCopy;
    QCheckBox *FConfirm;
    QPushButton *FClose;

    QStringList FLines;
    QStringList FSavedLines;
    QString FReceiptUrl;
    QString FSummaryPath;
    QString FHtmlPath;
};
