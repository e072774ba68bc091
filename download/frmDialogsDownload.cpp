#include "frmDialogsDownload.h"

#include "frmDownload.h"
#include "frmDownloadPassword.h"

void RegisterDownloadDialogs()
{
    Forms::RegisterDialog("frmDownloadPassword",
                          [](QWidget* owner) { return std::make_unique<frmDownloadPassword>(owner); });
    Forms::RegisterDialog("frmDownload", [](QWidget* owner) { return std::make_unique<frmDownload>(owner); });
}
