#include "TdlgAbout.h"

#include "util/TzovUtil_ApplicationVersion.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TdlgAbout::TdlgAbout(QWidget *AParent) : QDialog(AParent) {
    setObjectName(QStringLiteral("dlgAbout"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setModal(true);

    auto *title = new QLabel(tr("Tavix Corlan"), this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont f = title->font();
    f.setPointSizeF(f.pointSizeF() * 2.0);
    f.setBold(true);
    title->setFont(f);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setTextFormat(Qt::RichText);
    lblVersion->setText(tr("<b>Version:</b> ") + TzovUtil_ApplicationVersion::Version_AsString().toHtmlEscaped());

    lblOSDescription = new QLabel(this);
    lblOSDescription->setObjectName(QStringLiteral("lblOSDescription"));
    lblOSDescription->setTextFormat(Qt::RichText);
    lblOSDescription->setWordWrap(true);
    lblOSDescription->setText(tr("<b>Host:</b> ") + TzovUtil_ApplicationVersion::OSDescription().toHtmlEscaped());

    lblCopyright = new QLabel(Text_Copyright(), this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));

    txtServerBaseURL = new QLineEdit(this);
    txtServerBaseURL->setObjectName(QStringLiteral("txtServerBaseURL"));
    txtServerBaseURL->setReadOnly(true);
    txtServerBaseURL->setFrame(false);
    txtServerBaseURL->setStyleSheet(QStringLiteral("QLineEdit { color: #808080; background: transparent; }"));

    auto *btnClose = new QPushButton(tr("Close"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    btnClose->setDefault(true);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(8);
    layout->addWidget(title);
    layout->addSpacing(6);
    layout->addWidget(lblVersion);
    layout->addWidget(lblOSDescription);
    layout->addWidget(lblCopyright);
    layout->addSpacing(6);
    layout->addWidget(txtServerBaseURL);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnClose);
    layout->addLayout(buttons);
    setMinimumWidth(420);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TdlgAbout::SetServerBaseURL(const QString &AURL) {
    txtServerBaseURL->setText(AURL);
    txtServerBaseURL->setCursorPosition(0);
}

QString TdlgAbout::ServerBaseURL() const { return txtServerBaseURL->text(); }

QString TdlgAbout::Text_Copyright() {
    return tr("Copyright \u00A9 2020-2025 Tavix. All rights reserved.");
}
