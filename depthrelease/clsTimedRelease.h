// The timed release, as far as the general parameters dialog asks about it.
#pragma once

#include <cstdint>

class clsTimedRelease {
public:
    // Only V9.00P has the timed release.
    bool EnableOK(int32_t FW) const;
};
