#include "frmDialogsAntTest.h"

#include "frmChanTest.h"
#include "frmPingTest.h"

void RegisterAntTestDialogs()
{
    Forms::RegisterDialog("frmChanTest", [](QWidget* owner) { return std::make_unique<frmChanTest>(owner); });
    Forms::RegisterDialog("frmPingTest", [](QWidget* owner) { return std::make_unique<frmPingTest>(owner); });
}
