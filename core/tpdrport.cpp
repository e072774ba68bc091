#include "tpdrport.h"

#include "vberror.h"

namespace {
Platform::SerialComm* g_port = nullptr;
Platform::SerialComm* g_ant = nullptr;
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

Platform::SerialComm& comANT()
{
    if (g_ant == nullptr) {
        Raise(ErrNo::PortNotOpen);
    }
    return *g_ant;
}

bool HaveANTPort() { return g_ant != nullptr; }

void SetANTPort(Platform::SerialComm* port) { g_ant = port; }
