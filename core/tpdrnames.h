// Numbers the windows and parameter objects share, named once: the results
// the windows return and show, the "not read" markers and the port settings'
// accepted rates and defaults.
#pragma once

#include <cstdint>

// Results of the windows' reads and writes besides 0 (they are also the
// numbers of the messages some of them show).
namespace Result {
constexpr int32_t NoFirmware = 18;       // no firmware version known
constexpr int32_t NothingForScheme = 19; // the scheme has nothing to write
constexpr int32_t ValidationFailed = 20; // a value was refused before anything was sent
constexpr int32_t NothingChanged = 28;   // nothing to write since the last read
constexpr int32_t NotSupported = 29;     // the firmware offers none of it
constexpr int32_t NothingRead = 29;      // the status values: none of them read
constexpr int32_t DecodeError = 31;      // a run-time error on the way, already reported
} // namespace Result

// Values that stand for "not read" or "not set".
namespace Marker {
constexpr int16_t NoIntChan = 19;   // Orvane interrogation channel not read
constexpr int16_t NoReplyChan = 18; // Orvane reply channel not read
constexpr int16_t NotRead = -1;     // codes and channels not read
constexpr int16_t NotSet = 255;     // the dual-mode channel "Not Set"
} // namespace Marker

// The port settings: the rates a port accepts and the defaults, with the
// transponder's reply wait and the pause between commands in seconds.
namespace PortDefaults {
constexpr double AcceptedBauds[] = {1200.0, 2400.0, 4800.0, 9600.0, 19200.0, 38400.0};
constexpr const char* Baud = "1200";
constexpr const char* FastBaud = "19200"; // the other rate the port dialog offers
constexpr const char* Bits = "N,8,1";
constexpr float TelemWait = 1.0f;
constexpr float DelayBetweenCmds = 1.5f;
} // namespace PortDefaults
