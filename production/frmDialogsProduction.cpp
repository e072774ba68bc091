#include "frmDialogsProduction.h"

#include "frmCalSelectors.h"
#include "frmVTLTankTest.h"

void RegisterProductionDialogs()
{
    Forms::RegisterDialog("frmVTLTankTest", [](QWidget* owner) { return std::make_unique<frmVTLTankTest>(owner); });
    Forms::RegisterDialog("frmCalSelectors", [](QWidget* owner) { return std::make_unique<frmCalSelectors>(owner); });
}
