#include "TUiServices.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMimeData>

namespace {

std::unique_ptr<TUiServices> &Slot() {
    static std::unique_ptr<TUiServices> services;
    return services;
}

QMessageBox::Icon IconOf(TMessageKind AKind) {
    switch (AKind) {
    case mkWarning:
        return QMessageBox::Warning;
    case mkError:
        return QMessageBox::Critical;
    case mkInformation:
        break;
    }
    return QMessageBox::Information;
}

QString TitleOr(const QString &ATitle) {
    return ATitle.isEmpty() ? TUiServices::DefaultTitle() : ATitle;
}

} // namespace

TUiServices &Ui() {
    auto &slot = Slot();
    if (!slot)
        slot = std::make_unique<TQtUiServices>();
    return *slot;
}

void SetUiServices(std::unique_ptr<TUiServices> AServices) {
    Slot() = std::move(AServices);
}

QString TUiServices::DefaultTitle() {
    return QCoreApplication::translate("TUiServices", "Tavix Corlan");
}

QString TUiServices::ErrorText(const QString &AFirstLine, const QString &ADetail) {
    if (ADetail.isEmpty())
        return AFirstLine;
    return AFirstLine + QLatin1Char('\n') + ADetail;
}

void TUiServices::ShowError(QWidget *AParent, const QString &AFirstLine, const QString &ADetail) {
    ShowMessage(AParent, mkError, DefaultTitle(), ErrorText(AFirstLine, ADetail));
}

void TQtUiServices::ShowMessage(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                                const QString &AText) {
    QMessageBox box(IconOf(AKind), TitleOr(ATitle), AText, QMessageBox::Ok, AParent);
    box.exec();
}

void TQtUiServices::ShowMessageNonBlocking(QWidget *AParent, TMessageKind AKind, const QString &ATitle,
                                           const QString &AText) {
    // Window-modal at most, so the parent stays usable once the box is gone; the box frees itself.
    auto *box = new QMessageBox(IconOf(AKind), TitleOr(ATitle), AText, QMessageBox::Ok, AParent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

bool TQtUiServices::AskYesNo(QWidget *AParent, const QString &ATitle, const QString &AText,
                             bool ADefaultYes) {
    QMessageBox box(QMessageBox::Question, TitleOr(ATitle), AText, QMessageBox::Yes | QMessageBox::No,
                    AParent);
    box.setDefaultButton(ADefaultYes ? QMessageBox::Yes : QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString TQtUiServices::GetOpenFileName(QWidget *AParent, const QString &ACaption, const QString &ADir,
                                       const QString &AFilter) {
    return QFileDialog::getOpenFileName(AParent, ACaption, ADir, AFilter);
}

QString TQtUiServices::GetSaveFileName(QWidget *AParent, const QString &ACaption, const QString &ADir,
                                       const QString &AFilter, const QString &ADefaultSuffix) {
    // The static helper cannot take a default suffix, so build the dialog here.
    QFileDialog dialog(AParent, ACaption, ADir, AFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (!ADefaultSuffix.isEmpty())
        dialog.setDefaultSuffix(ADefaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString TQtUiServices::GetExistingDirectory(QWidget *AParent, const QString &ACaption, const QString &ADir) {
    return QFileDialog::getExistingDirectory(AParent, ACaption, ADir);
}

bool TQtUiServices::SetClipboardText(const QString &AText) {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    clipboard->setText(AText);
    return true;
}

std::optional<QString> TQtUiServices::ClipboardText() {
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return std::nullopt;
    const QMimeData *data = clipboard->mimeData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text();
}

bool TQtUiServices::OpenUrl(const QUrl &AUrl) {
    return QDesktopServices::openUrl(AUrl);
}
