// The firmware version read that every window which depends on the version
// runs for itself. The windows' copies differ in small ways; each window
// passes its policy and lets the reader reach its controls through
// FirmwareWindow.
#pragma once

#include "tpdrexchange.h"

#include <cstdint>
#include <functional>
#include <string>

// Colours of the firmware label, as &HBBGGRR values.
namespace FirmwareLabelColor {
constexpr int32_t Red = 0x0000FF;
constexpr int32_t White = 0xFFFFFF;
} // namespace FirmwareLabelColor

// What a window does when the reply is not a known version.
enum class FirmwareUnrecognisedAction {
    Message0,   // the window's own message 0
    InvalidBox, // "Invalid Firmware Version returned."
    Nothing,
};

// The label colour a window shows for a reply that is not a known version.
enum class FirmwareUnrecognisedLabel {
    Red,
    White,
    Unchanged,
};

struct FirmwarePolicy {
    const char* windowName;             // names the window in the error report
    bool delayBeforeEachRead;           // DelayBetweenCmds before every read
    bool keepVersionOnFailure;          // a failed exchange leaves the code as it was (caption "Unrecognised")
    FirmwareUnrecognisedAction unrecognised;
    FirmwareUnrecognisedLabel unrecognisedLabel;
    bool updatesLabel;                  // false: the label is neither coloured nor captioned
    bool delayBeforeSecondRead;         // DelayBetweenCmds before the ten-character read (one pause with delayBeforeEachRead)
    bool clearUnsupportedReads;         // the window holds READ parameter objects
    bool showReadingStatus;             // "Reading Firmware Version..." before the first read
    bool reportsExchangeFailure;        // GetFirmware returns FirmwareExchangeFailed
};

// The window side of a read. A window overrides what it has.
class FirmwareWindow : public ExchangeWindow {
public:
    virtual void SetFirmwareLabelText(const std::string& /*text*/) {}
    virtual void SetFirmwareLabelBackColor(int32_t /*vbColor*/) {}
    virtual void ShowMessage0() {}
};

// A window that shows the unit's values follows, while it is open, every
// version read that finds another unit: its routines run the moment that read
// ends, in the reading window (still busy) and behind the window on top too.
// A read that finds no code is no evidence of another unit: a window follows
// it once it is on top again.
class FirmwareFollower {
public:
    explicit FirmwareFollower(std::function<void()> follow);
    ~FirmwareFollower();
    FirmwareFollower(const FirmwareFollower&) = delete;
    FirmwareFollower& operator=(const FirmwareFollower&) = delete;

    static void Follow();

private:
    std::function<void()> follow_;
};

// GetFirmware's result when an exchange failed, for the windows that report it.
constexpr int16_t FirmwareExchangeFailed = 18;

// Clears the read flags of parameters the firmware cannot read; wired by the
// parameter store. Does nothing until then.
extern std::function<void(bool reset)> ClearUnsupportedReadsHook;

namespace FirmwarePolicies {
// clang-format off
//                                       window             delay  keep   unrecognised                                 label                                  label  delay2 clear  reading 18
inline constexpr FirmwarePolicy frmMain        {"frmMain",         true,  true,  FirmwareUnrecognisedAction::Message0,   FirmwareUnrecognisedLabel::Red,       true,  false, true,  false, false};
inline constexpr FirmwarePolicy frmGenSettings {"frmGenSettings",  false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::White,     true,  true,  true,  false, false};
inline constexpr FirmwarePolicy frmMultiTAT    {"frmMultiTAT",     false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Red,       true,  true,  true,  false, false};
inline constexpr FirmwarePolicy frmRelease     {"frmRelease",      false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Red,       true,  true,  true,  false, false};
inline constexpr FirmwarePolicy frmDepth       {"frmDepth",        false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Red,       true,  true,  true,  false, false};
inline constexpr FirmwarePolicy frmChanTest    {"frmChanTest",     false, true,  FirmwareUnrecognisedAction::Nothing,    FirmwareUnrecognisedLabel::Unchanged, true,  true,  false, true,  false};
inline constexpr FirmwarePolicy frmBattLife    {"frmBattLife",     false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Unchanged, false, true,  false, false, false};
inline constexpr FirmwarePolicy frmDownload    {"frmDownload",     false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Unchanged, false, true,  false, false, false};
inline constexpr FirmwarePolicy frmTransceiver {"frmTransceiver",  false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Unchanged, true,  true,  false, false, true};
inline constexpr FirmwarePolicy frmCommands    {"frmCommands",     false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Unchanged, true,  true,  false, false, true};
inline constexpr FirmwarePolicy frmExtCommands {"frmExtCommands",  false, false, FirmwareUnrecognisedAction::InvalidBox, FirmwareUnrecognisedLabel::Unchanged, true,  true,  false, false, true};
inline constexpr FirmwarePolicy frmTimedRelease{"frmTimedRelease", true,  false, FirmwareUnrecognisedAction::Message0,   FirmwareUnrecognisedLabel::Unchanged, true,  false, true,  false, false};
inline constexpr FirmwarePolicy frmVTLTankTest {"frmVTLTankTest",  true,  false, FirmwareUnrecognisedAction::Message0,   FirmwareUnrecognisedLabel::Unchanged, true,  false, true,  false, false};
// clang-format on
} // namespace FirmwarePolicies

namespace FirmwareReader {

// Reads the version into TpdrFirmware, reading again with ten characters when
// the first answer is "Pending". 0, or FirmwareExchangeFailed where the policy
// reports a failed exchange.
int16_t GetFirmware(const FirmwarePolicy& policy, FirmwareWindow& window);
// One version read of an N-character reply; the exchange's result (4 when a
// run-time error ended it).
int16_t FirmwareAssign(const FirmwarePolicy& policy, FirmwareWindow& window, int16_t N);

// How many reads, in any window, have found a known code other than the last
// known one.
uint32_t Changes();
// No unit is known: the next known code is compared with nothing.
void ForgetUnit();

} // namespace FirmwareReader

// Values a window read count as the unit's only while no read has found another
// firmware code since: a unit swapped on the cable may hold anything.
class FirmwareStamp {
public:
    void Take()
    {
        taken_ = FirmwareReader::Changes();
        held_ = true;
    }
    void Drop() { held_ = false; }
    bool Current() const { return held_ && taken_ == FirmwareReader::Changes(); }
    // Taken, but under a firmware code that a later read did not find again.
    bool Outdated() const { return held_ && taken_ != FirmwareReader::Changes(); }

private:
    uint32_t taken_ = 0;
    bool held_ = false;
};
