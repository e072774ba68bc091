#include "frmDownload.h"

#include "clsSettings.h"
#include "dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

frmDownload::frmDownload(QWidget* owner) : Forms::Dialog(owner)
{
    setObjectName(QStringLiteral("frmDownload"));
    setWindowTitle(QStringLiteral("Firmware Download"));

    lblFile = Forms::Named(new QLabel(QStringLiteral("No download file chosen."), this), "lblFile");
    cmdOpen = Forms::NewButton(this, "cmdOpen", QStringLiteral("&Open File..."));
    cmdClose = Forms::NewButton(this, "cmdClose", QStringLiteral("&Close"));
    Forms::SetCausesValidation(cmdClose, false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOpen);
    buttons->addStretch();
    buttons->addWidget(cmdClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblFile);
    layout->addLayout(buttons);

    connect(cmdOpen, &QPushButton::clicked, this, &frmDownload::cmdOpen_Click);
    connect(cmdClose, &QPushButton::clicked, this, &frmDownload::cmdClose_Click);
}

void frmDownload::cmdOpen_Click()
{
    FileDialogRequest request;
    request.title = "Open Download File";
    request.filter = "Download Files (*.DLD)|*.DLD";
    request.initialDir = AppSettings.HexDownloadPath();
    request.fileMustExist = true;
    const std::string path = Platform::Dialogs().OpenFile(request);
    if (path.empty()) {
        return;
    }
    lblFile->setText(Forms::Q(path));
    MsgBox("Firmware download is not available in this version.", MsgBoxStyle::Information | MsgBoxStyle::OKOnly,
           "Firmware Download");
}

void frmDownload::cmdClose_Click() { Unload(QDialog::Rejected); }
