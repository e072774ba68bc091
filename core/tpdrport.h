// The main window's two serial ports, reached by the link, the common
// procedures and the serial-port dialog.
#pragma once

#include "serialcomm.h"

// The port in use; error 8018 (port not open) when none is installed.
Platform::SerialComm& comTpdr();
bool HaveTpdrPort();
void SetTpdrPort(Platform::SerialComm* port);

// The acoustic test unit's port, likewise.
Platform::SerialComm& comANT();
bool HaveANTPort();
void SetANTPort(Platform::SerialComm* port);
