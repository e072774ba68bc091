#include "frmDialogsMainWin.h"

#include "frmAbout.h"
#include "frmBattLife.h"

void RegisterMainWinDialogs()
{
    Forms::RegisterDialog("frmAbout", [](QWidget* owner) { return std::make_unique<frmAbout>(owner); });
    Forms::RegisterDialog("frmBattLife", [](QWidget* owner) { return std::make_unique<frmBattLife>(owner); });
}
