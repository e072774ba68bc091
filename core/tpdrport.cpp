#include "tpdrport.h"

#include "vberror.h"

namespace {
Platform::SerialComm* g_port = nullptr;
}

Platform::SerialComm& comTpdr()
{
    if (g_port == nullptr) {
        Raise(ErrNo::PortNotOpen);
    }
    return *g_port;
}

bool HaveTpdrPort() { return g_port != nullptr; }

void SetTpdrPort(Platform::SerialComm* port) { g_port = port; }
