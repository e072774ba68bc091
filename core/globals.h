// Program-wide values of the global store that belong to no class. Each
// parameter class declares its own global instances beside it.
#pragma once

#include <string>

// Program title, " V", the major version, "." and the minor version in two digits.
std::string AppTitleVersion();
