#include "frmDownloadPassword.h"

#include "clsDownload.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmDownloadPassword::frmDownloadPassword(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmDownloadPassword"));
    setWindowTitle(QStringLiteral("Firmware Download"));

    lblPassword = Forms::Named(new QLabel(QStringLiteral("Enter the download password:"), this), "lblPassword");
    txtPassword = Forms::Named(new QLineEdit(this), "txtPassword");
    txtPassword->setEchoMode(QLineEdit::Password);
    cmdOK = Forms::Named(new QPushButton(QStringLiteral("&OK"), this), "cmdOK");
    cmdOK->setDefault(true);
    cmdCancel = Forms::NewButton(this, "cmdCancel", QStringLiteral("&Cancel"));
    Forms::SetCausesValidation(cmdCancel, false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblPassword);
    layout->addWidget(txtPassword);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmDownloadPassword::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmDownloadPassword::cmdCancel_Click);
}

void frmDownloadPassword::cmdOK_Click()
{
    // A wrong password closes the dialog too; the main window says so.
    const bool accepted = Forms::S(txtPassword->text()) == DownloadPassword;
    if (accepted && TpdrDownload) {
        TpdrDownload->Password(true);
    }
    Unload(accepted ? QDialog::Accepted : QDialog::Rejected);
}

void frmDownloadPassword::cmdCancel_Click() { Unload(QDialog::Rejected); }
