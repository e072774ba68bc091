// What the main window asks of the depth sensor and release subsystem but
// does not own: which firmware offers the depth items, how the depth on/off
// byte is coded, and which transponder models carry a depth sensor or a
// release. Kept in one place so that the depth and release dialogs share them.
#pragma once

#include <cstdint>
#include <string>

namespace DepthReleaseChoices {

struct FirmwareRange {
    int32_t first;
    int32_t last;
};

// Depth items 1 (on/off), 2 (zero offset) and 3 to 13 (sensor settings) are
// offered together: by the S family from V3.00S, the P family, the F family
// and test mode.
inline constexpr int32_t FirstDepthItem = 1;
inline constexpr int32_t LastDepthItem = 13;
inline constexpr FirmwareRange DepthFirmware[] = {{90, 194}, {195, 328}, {380, 453}};

// Firmware that lays out its depth bytes as the Spanwave block does: there an
// on/off byte of FF means that no sensor is fitted.
inline constexpr FirmwareRange SpanwaveDepthFirmware[] = {{380, 453}};
inline constexpr unsigned char NotFittedByte = 0xFF;

// The depth on/off byte and the state it stands for (1 on, 2 off, 3 status on).
struct OnOffCode {
    unsigned char byte;
    int16_t onOff;
};
inline constexpr OnOffCode OnOffCodes[] = {{0x01, 1}, {0x00, 2}, {0x02, 3}};

// The models the program serves, by type number (blanks trimmed; a suffix
// after the number, as in "5027-2", names the same model). Depth is decoded
// unless the model is known to have no sensor; only the HVR types carry a
// release.
struct ModelFit {
    const char* typeNumber;
    bool depthSensor;
    bool release;
};
inline constexpr ModelFit Models[] = {
    {"5120", false, false}, // VTL (Directional)
    {"5121", false, false}, // VTL (Omni)
    {"5020", true, false},  // Corvel Tidelet (Directional)
    {"5023", true, false},  // Corvel Tidelet (Omni)
    {"5021", true, true},   // HVR (Omni)
    {"5027", true, true},   // HVR (Directional)
    {"5028", true, true},   // HVR (Narrow Beam)
};

// The row of the model the type number names; nullptr for an unknown or empty one.
const ModelFit* FindModel(const std::string& TypeNumber);

} // namespace DepthReleaseChoices
