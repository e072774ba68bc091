// The transponder-to-transponder test, as far as the main window asks about it.
#pragma once

#include <cstdint>
#include <memory>

class clsTransceiver {
public:
    bool EnableOK(int32_t FW) const;
};

// Held by the transceiver windows; the main window makes a passing one.
extern std::unique_ptr<clsTransceiver> TpdrTransceiver;
