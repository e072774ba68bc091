#include "clsTransceiver.h"

std::unique_ptr<clsTransceiver> TpdrTransceiver;

// The S family from V3.00S, and test mode.
bool clsTransceiver::EnableOK(int32_t FW) const { return (FW >= 90 && FW <= 194) || FW == 453; }
