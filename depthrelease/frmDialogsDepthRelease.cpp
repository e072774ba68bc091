#include "frmDialogsDepthRelease.h"

#include "frmDepth.h"
#include "frmRelease.h"
#include "frmTimedRelease.h"

void RegisterDepthReleaseDialogs()
{
    Forms::RegisterDialog("frmDepth", [](QWidget* owner) { return std::make_unique<frmDepth>(owner); });
    Forms::RegisterDialog("frmRelease", [](QWidget* owner) { return std::make_unique<frmRelease>(owner); });
    Forms::RegisterDialog("frmTimedRelease", [](QWidget* owner) { return std::make_unique<frmTimedRelease>(owner); });
}
