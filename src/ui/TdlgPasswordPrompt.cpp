#include "ui/TdlgPasswordPrompt.h"

#include "ui/TShowHideButton.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TdlgSecretPrompt::TdlgSecretPrompt(const QString &ACaption, const QString &ALabel, QWidget *AParent)
    : QDialog(AParent) {
    setWindowTitle(ACaption);
    setModal(true);

    FLabel = new QLabel(ALabel, this);
    FLabel->setObjectName(QStringLiteral("lblEntry"));
    FEdit = new QLineEdit(this);
    FEdit->setObjectName(QStringLiteral("edtEntry"));
    FEdit->setEchoMode(QLineEdit::Password);
    FLabel->setBuddy(FEdit);
    FShowHide = new TShowHideButton(FEdit, this);
    FShowHide->setObjectName(QStringLiteral("btnShowHide"));
    FShowHide->setFocusPolicy(Qt::NoFocus);

    auto *buttons = new QDialogButtonBox(this);
    FOK = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    FOK->setObjectName(QStringLiteral("btnOK"));
    FOK->setDefault(true);
    FCancel = buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    FCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *row = new QHBoxLayout;
    row->addWidget(FEdit, 1);
    row->addWidget(FShowHide);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FLabel);
    layout->addLayout(row);
    layout->addWidget(buttons);

    connect(FEdit, &QLineEdit::textChanged, this, &TdlgSecretPrompt::UpdateOK);
    UpdateOK();
    FEdit->setFocus();
}

bool TdlgSecretPrompt::Execute() {
    FEdit->setFocus();
    return exec() == QDialog::Accepted;
}

QString TdlgSecretPrompt::Entry() const {
    return FEdit->text().trimmed();
}

void TdlgSecretPrompt::UpdateOK() {
    FOK->setEnabled(!Entry().isEmpty());
}

TdlgPasswordPrompt::TdlgPasswordPrompt(QWidget *AParent)
    : TdlgSecretPrompt(tr("Enter Password"), tr("Password"), AParent) {
    setObjectName(QStringLiteral("dlgPasswordPrompt"));
}
