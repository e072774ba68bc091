#include "frmDialogsGenParams.h"

#include "frmGenSettings.h"

void RegisterGenParamsDialogs()
{
    Forms::RegisterDialog("frmGenSettings", [](QWidget* owner) { return std::make_unique<frmGenSettings>(owner); });
}
