#include "frmDialogsGenParams.h"

#include "frmGenSettings.h"
#include "frmMultiTAT.h"

void RegisterGenParamsDialogs()
{
    Forms::RegisterDialog("frmGenSettings", [](QWidget* owner) { return std::make_unique<frmGenSettings>(owner); });
    Forms::RegisterDialog("frmMultiTAT", [](QWidget* owner) { return std::make_unique<frmMultiTAT>(owner); });
}
