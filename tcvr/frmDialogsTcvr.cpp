#include "frmDialogsTcvr.h"

#include "frmCommands.h"
#include "frmTransceiver.h"

void RegisterTcvrDialogs()
{
    Forms::RegisterDialog("frmTransceiver", [](QWidget* owner) { return std::make_unique<frmTransceiver>(owner); });
    Forms::RegisterDialog("frmCommands", [](QWidget* owner) { return std::make_unique<frmCommands>(owner); });
}
