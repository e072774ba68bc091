#include "clsTimedRelease.h"

bool clsTimedRelease::EnableOK(int32_t FW) const { return FW == 318; }
