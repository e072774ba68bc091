#include "frmDialogsMainWin.h"

#include "frmAbout.h"

void RegisterMainWinDialogs()
{
    Forms::RegisterDialog("frmAbout", [](QWidget* owner) { return std::make_unique<frmAbout>(owner); });
}
