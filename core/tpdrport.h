// The transponder's serial port, owned by the main window and reached by the
// link and the common procedures.
#pragma once

#include "serialcomm.h"

// The port in use; error 8018 (port not open) when none is installed.
Platform::SerialComm& comTpdr();
bool HaveTpdrPort();
void SetTpdrPort(Platform::SerialComm* port);
