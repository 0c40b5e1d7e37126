#include "TShowHideButton.h"

#include <QLineEdit>

TShowHideButton::TShowHideButton(QWidget *AParent) : QToolButton(AParent) {
    setText(QStringLiteral("●/A"));
    setCheckable(true);
    setFocusPolicy(Qt::TabFocus);
    connect(this, &QToolButton::toggled, this, &TShowHideButton::Apply);
    Apply();
}

TShowHideButton::TShowHideButton(QLineEdit *AEdit, QWidget *AParent) : TShowHideButton(AParent) {
    SetEdit(AEdit);
}

void TShowHideButton::SetEdit(QLineEdit *AEdit) {
    FEdit = AEdit;
    Apply();
}

void TShowHideButton::Apply() {
    setToolTip(isChecked() ? tr("Hide the password") : tr("Show the password"));
    if (FEdit)
        FEdit->setEchoMode(isChecked() ? QLineEdit::Normal : QLineEdit::Password);
}
