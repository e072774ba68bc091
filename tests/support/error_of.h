// The run-time error number a call raises, 0 when it raises none.
#pragma once

#include "vberror.h"

#include <cstdint>
#include <functional>

inline int32_t ErrorOf(const std::function<void()>& call)
{
    try {
        call();
    } catch (const VBError& e) {
        return e.Number();
    }
    return 0;
}
