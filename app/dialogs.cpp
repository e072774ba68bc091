#include "dialogs.h"

#include "frmDialogsAntTest.h"
#include "frmDialogsCore.h"
#include "frmDialogsDepthRelease.h"
#include "frmDialogsDownload.h"
#include "frmDialogsGenParams.h"
#include "frmDialogsMainWin.h"
#include "frmDialogsProduction.h"
#include "frmDialogsTcvr.h"

void RegisterAllDialogs()
{
    RegisterCoreDialogs();
    RegisterMainWinDialogs();
    RegisterGenParamsDialogs();
    RegisterDepthReleaseDialogs();
    RegisterDownloadDialogs();
    RegisterAntTestDialogs();
    RegisterTcvrDialogs();
    RegisterProductionDialogs();
}
