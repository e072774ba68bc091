// Program-wide values of the global store that belong to no class. Each
// parameter class declares its own global instances beside it.
#pragma once

#include <cstdint>
#include <string>

// Program title, " V", the major version, "." and the minor version in two digits.
std::string AppTitleVersion();

// Whether parameter objects hand out the hexadecimal text of their last frame
// or reply for the status bar; off unless the program turns it on.
extern bool ShowCmdHexFlag;

// Typed on the main window, or kept in the registry, it shows the diagnostic menus.
inline constexpr char EngineeringAccessCode[] = "TRAVENO";

// Whether the diagnostic menus are shown; the general parameters dialog asks too.
extern bool EngineeringMode;
// The code as it goes back to the registry: the access code while the mode is
// on, the empty text once it was switched off, else what was read at start.
extern std::string EngineeringCode;
// The navigation scheme last read or shown.
extern int32_t ReadNavScheme;
