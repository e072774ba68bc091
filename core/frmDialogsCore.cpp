#include "frmDialogsCore.h"

#include "frmComPorts.h"

void RegisterCoreDialogs()
{
    Forms::RegisterDialog("frmComPorts", [](QWidget* owner) { return std::make_unique<frmComPorts>(owner); });
}
