#include "ui/TdlgPaymentReceipt_Base.h"

#include "data/TDO_ClientConfig.h"
#include "ui/TBrandingStrip.h"
#include "ui/TUiServices.h"

#include <QCheckBox>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <cstring>

namespace {

bool WriteBytes(const QString &APath, const QByteArray &ABytes) {
    if (!QDir().mkpath(QFileInfo(APath).absolutePath()))
        return false;
    QSaveFile file(APath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(ABytes) != ABytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace

TdlgPaymentReceipt_Base::TdlgPaymentReceipt_Base(QWidget *AParent) : QDialog(AParent) {
    setWindowTitle(tr("Transaction Receipt"));
    setModal(true);

    FBranding = new TBrandingStrip(this);
    FBranding->setObjectName(QStringLiteral("brandingStrip"));
    FDescription = new QLabel(tr("Transaction Complete"), this);
    FDescription->setObjectName(QStringLiteral("lblDescription"));
    FDescription->setAutoFillBackground(true);
    FDescription->setMargin(8);
    FHeading = new QLabel(this);
    FHeading->setObjectName(QStringLiteral("lblHeading"));
    QFont headingFont = FHeading->font();
    headingFont.setBold(true);
    headingFont.setPointSizeF(headingFont.pointSizeF() * 1.4);
    FHeading->setFont(headingFont);

    FFields = new QGridLayout;
    FNotice = new QLabel(this);
    FNotice->setObjectName(QStringLiteral("lblNotice"));
    FNotice->setTextFormat(Qt::RichText);

    FView = new QPushButton(tr("View receipt in browser..."), this);
    FView->setObjectName(QStringLiteral("btnViewReceipt"));
    FCopy = new QPushButton(this);
    FCopy->setObjectName(QStringLiteral("btnCopy"));
    FConfirm = new QCheckBox(this);
    FConfirm->setObjectName(QStringLiteral("chkConfirm"));
    FClose = new QPushButton(tr("Close"), this);
    FClose->setObjectName(QStringLiteral("btnClose"));
    FClose->setEnabled(false);
    FClose->setAutoDefault(false);
    FView->setAutoDefault(false);
    FCopy->setAutoDefault(false);

    connect(FView, &QPushButton::clicked, this, &TdlgPaymentReceipt_Base::actViewExecute);
    connect(FCopy, &QPushButton::clicked, this, &TdlgPaymentReceipt_Base::actCopyExecute);
    connect(FConfirm, &QCheckBox::toggled, FClose, &QPushButton::setEnabled);
    connect(FClose, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(FView);
    buttons->addWidget(FCopy);
    buttons->addStretch(1);
    auto *closeRow = new QHBoxLayout;
    closeRow->addWidget(FConfirm, 1);
    closeRow->addWidget(FClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FBranding);
    layout->addWidget(FDescription);
    layout->addWidget(FHeading);
    layout->addLayout(FFields);
    layout->addWidget(FNotice);
    layout->addLayout(buttons);
    layout->addLayout(closeRow);
}

void TdlgPaymentReceipt_Base::SetTexts(const TTexts &ATexts) {
    FHeading->setText(ATexts.Heading);
    QStringList html;
    for (int i = 0; i < ATexts.Notice.size(); ++i) {
        const QString line = ATexts.Notice.at(i).toHtmlEscaped();
        html << (i == 0 ? QStringLiteral("<b style=\"color:#000000\">%1</b>").arg(line) : line);
    }
    FNotice->setText(html.join(QStringLiteral("<br>")));
    FCopy->setText(ATexts.CopyCaption);
    FConfirm->setText(ATexts.ConfirmCaption);
}

void TdlgPaymentReceipt_Base::ApplyBranding(const TDO_ClientConfig &AClientConfig) {
    const TDO_ClientConfig_Branding &brand = AClientConfig.Brand();
    FBranding->SetStrip(QColor::fromRgba(brand.Rect_FillColor()), QColor::fromRgba(brand.Rect_StrokeColor()),
                        QColor::fromRgba(brand.Label_ForeColor()), brand.Label_Text());
}

QWidget *TdlgPaymentReceipt_Base::AddField(const QString &AObjectName, const QString &ALabel,
                                           const QString &AValue, bool AAsBox) {
    const int row = FFields->rowCount();
    auto *label = new QLabel(ALabel, this);
    FFields->addWidget(label, row, 0);
    QWidget *value;
    if (AAsBox) {
        auto *box = new QLineEdit(AValue, this);
        box->setReadOnly(true);
        value = box;
    } else {
        auto *text = new QLabel(AValue, this);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        text->setTextFormat(Qt::PlainText);
        value = text;
    }
    value->setObjectName(AObjectName);
    label->setBuddy(value);
    FFields->addWidget(value, row, 1);
    return value;
}

QString TdlgPaymentReceipt_Base::MakeHtmlReceipt(const QString &AGivenUrl, const QString &APath,
                                                 const QString &AHtml) {
    if (!AGivenUrl.isEmpty())
        return AGivenUrl;
    if (!WriteHtmlFile(APath, AHtml))
        return QString();
    FHtmlPath = APath;
    return FileUrlFromPath(APath);
}

void TdlgPaymentReceipt_Base::FinishPrepare(const QString &ASummaryPath, const QStringList &ALines,
                                            const QString &AReceiptUrl) {
    FLines = ALines;
    FReceiptUrl = AReceiptUrl;
    FView->setVisible(!FReceiptUrl.isEmpty());
    FConfirm->setChecked(false);
    FClose->setEnabled(false);
    FSavedLines = QStringList{tr("Saved: ") + SavedStamp()} + FLines;
    if (WriteSummaryFile(ASummaryPath, FSavedLines))
        FSummaryPath = ASummaryPath;
}

void TdlgPaymentReceipt_Base::showEvent(QShowEvent *AEvent) {
    QDialog::showEvent(AEvent);
    if (!FView->isHidden())
        FView->setFocus();
    else
        FCopy->setFocus();
}

QString TdlgPaymentReceipt_Base::ClipboardText() const {
    QString text;
    for (const QString &line : FLines)
        text += line + QLatin1Char('\n');
    return text;
}

void TdlgPaymentReceipt_Base::actViewExecute() {
    if (FReceiptUrl.isEmpty())
        return;
    // The address is already encoded; parse it as such so that %20 and %28 stay what they are.
    Ui().OpenUrl(QUrl::fromEncoded(FReceiptUrl.toUtf8(), QUrl::TolerantMode));
}

void TdlgPaymentReceipt_Base::actCopyExecute() {
    if (!Ui().SetClipboardText(ClipboardText()))
        Ui().ShowError(this, tr("Unable to copy to clipboard"));
}

void TdlgPaymentReceipt_Base::done(int AResult) {
    // Whatever asks to close (Close, Escape, the close box), the receipt stays until it is confirmed saved.
    if (!FConfirm->isChecked())
        return;
    QDialog::done(AResult);
}

QString TdlgPaymentReceipt_Base::FileUrlFromPath(const QString &APath) {
    QString path = QDir::fromNativeSeparators(APath);
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(QLatin1Char('/'));
    static const char Reserved[] = "\"#+<>?\\^`{|}%";
    const QByteArray bytes = path.toUtf8();
    QString encoded;
    encoded.reserve(bytes.size() * 3);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes.at(i);
        const auto u = static_cast<unsigned char>(c);
        // A percent sign is always encoded, even one followed by two hex digits: a folder really named
        // "a%20b" must not turn into "a b" in the browser.
        if (u < '!' || u > '~' || std::strchr(Reserved, c) != nullptr)
            encoded += QLatin1Char('%') + QStringLiteral("%1").arg(u, 2, 16, QLatin1Char('0')).toUpper();
        else
            encoded += QLatin1Char(c);
    }
    encoded.replace(QLatin1Char('('), QStringLiteral("%28"));
    encoded.replace(QLatin1Char(')'), QStringLiteral("%29"));
    return QStringLiteral("file://") + encoded;
}

QString TdlgPaymentReceipt_Base::TimeText(TDateTime AValueUTC) {
    const QDateTime value(AValueUTC.Date(), AValueUTC.Time());
    return QLocale().toString(value, QStringLiteral("yyyy/MM/dd HH:mm:ss")) + QStringLiteral(" UTC");
}

QString TdlgPaymentReceipt_Base::SavedStamp() {
    const TDateTime now = TClock::NowLocal();
    const QDateTime value(now.Date(), now.Time());
    QString text = QLocale().toString(value, QStringLiteral("MMM d, yyyy hh:mm:ss ap"));
    // "ap" follows the locale's spelling; the stamp always ends in lower-case am or pm.
    const int blank = text.lastIndexOf(QLatin1Char(' '));
    if (blank >= 0)
        text =
            text.left(blank + 1) + (value.time().hour() < 12 ? QStringLiteral("am") : QStringLiteral("pm"));
    return text;
}

QString TdlgPaymentReceipt_Base::SafeFileNamePart(const QString &AValue) {
    static const QString Refused = QStringLiteral("/\\:*?\"<>|");
    QString result = AValue;
    for (QChar &c : result)
        if (c.unicode() < 32 || Refused.contains(c))
            c = QLatin1Char('_');
    if (result == QStringLiteral(".") || result == QStringLiteral(".."))
        result.fill(QLatin1Char('_'));
    return result;
}

QString TdlgPaymentReceipt_Base::ReceiptFolder(const QString &ASubFolder) {
    return TDO_ClientConfig::ConfigFolder() + ASubFolder + QLatin1Char('/');
}

bool TdlgPaymentReceipt_Base::WriteSummaryFile(const QString &APath, const QStringList &ALines) {
    QString text;
    for (const QString &line : ALines)
        text += line + QStringLiteral("\r\n");
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray bytes = encoder.encode(text);
    return WriteBytes(APath, bytes);
}

bool TdlgPaymentReceipt_Base::WriteHtmlFile(const QString &APath, const QString &AHtml) {
    return WriteBytes(APath, AHtml.toUtf8());
}
