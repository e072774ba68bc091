// Program-wide values of the global store that belong to no class. Each
// parameter class declares its own global instances beside it.
#pragma once

#include <string>

// Program title, " V", the major version, "." and the minor version in two digits.
std::string AppTitleVersion();

// Whether parameter objects hand out the hexadecimal text of their last frame
// or reply for the status bar; off unless the program turns it on.
extern bool ShowCmdHexFlag;
