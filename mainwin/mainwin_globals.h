// Program-wide values the main window owns: the engineering mode and the
// navigation scheme last read.
#pragma once

#include <cstdint>
#include <string>

// Typed on the main window, or kept in the registry, it shows the diagnostic menus.
inline constexpr char EngineeringAccessCode[] = "TRAVENO";

// Whether the diagnostic menus are shown; the general parameters dialog asks too.
extern bool EngineeringMode;
// The code as it goes back to the registry: the access code while the mode is
// on, the empty text once it was switched off, else what was read at start.
extern std::string EngineeringCode;
// The navigation scheme last read or shown.
extern int32_t ReadNavScheme;
