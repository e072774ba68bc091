#include "firmwarereader.h"

#include "clsFirmware.h"
#include "clsTpdrComms.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "vberror.h"

#include <algorithm>
#include <vector>

std::function<void(bool reset)> ClearUnsupportedReadsHook = [](bool) {};

namespace {
std::vector<FirmwareFollower*> followers;
} // namespace

FirmwareFollower::FirmwareFollower(std::function<void()> follow) : follow_(std::move(follow))
{
    followers.push_back(this);
}

FirmwareFollower::~FirmwareFollower() { std::erase(followers, this); }

void FirmwareFollower::Follow()
{
    // A routine may open or close a window: each runs only while it is still listed.
    const std::vector<FirmwareFollower*> now = followers;
    for (FirmwareFollower* f : now) {
        if (std::find(followers.begin(), followers.end(), f) != followers.end()) {
            f->follow_();
        }
    }
}

namespace FirmwareReader {
namespace {

uint32_t changes = 0;
// The last code that told which unit is on the cable; FWPending when that was
// a "Pending" answer, which only V1.11S or V1.11D settle.
int32_t lastKnown = FWUnknown;

constexpr int32_t FWV111S = 39;
constexpr int32_t FWV111D = 329;

bool Known(int32_t code) { return code != FWUnknown && code != FWPending; }
bool PendingSettlesTo(int32_t code) { return code == FWV111S || code == FWV111D; }

// Whether what a read found (a known code, or FWPending for an answer left
// unsettled) tells of another unit than the last one known.
bool AnotherUnit(int32_t found)
{
    if (lastKnown == FWPending) {
        return Known(found) && !PendingSettlesTo(found);
    }
    if (!Known(lastKnown)) {
        return false;
    }
    return found == FWPending ? !PendingSettlesTo(lastKnown) : found != lastKnown;
}

void ShowUnrecognised(const FirmwarePolicy& policy, FirmwareWindow& window)
{
    switch (policy.unrecognised) {
    case FirmwareUnrecognisedAction::Message0:
        window.ShowMessage0();
        break;
    case FirmwareUnrecognisedAction::InvalidBox:
        MsgBox("Invalid Firmware Version returned.", MsgBoxStyle::Exclamation | MsgBoxStyle::OKOnly,
               "Firmware Version");
        break;
    case FirmwareUnrecognisedAction::Nothing:
        break;
    }
    if (!policy.updatesLabel) {
        return;
    }
    switch (policy.unrecognisedLabel) {
    case FirmwareUnrecognisedLabel::Red:
        window.SetFirmwareLabelBackColor(FirmwareLabelColor::Red);
        break;
    case FirmwareUnrecognisedLabel::White:
        window.SetFirmwareLabelBackColor(FirmwareLabelColor::White);
        break;
    case FirmwareUnrecognisedLabel::Unchanged:
        break;
    }
}

int16_t ReadVersion(const FirmwarePolicy& policy, FirmwareWindow& window, int16_t N, bool delayFirst)
{
    const std::string procName = std::string("FirmwareAssignErrorHandler (") + policy.windowName + ")";
    try {
        TpdrExchange::Options options;
        options.delayFirst = delayFirst;
        options.statusAfterDecode = true; // the version text as received
        TpdrExchange::Reply reply;
        const int32_t result = TpdrExchange::Run(
            window, [N](TpdrCommand& frame, int16_t& elements, int16_t& length) {
                TpdrFirmware.ReadEncode(frame, elements, N);
                length = N;
            },
            [] { return TpdrFirmware.StatusBarText(); }, reply,
            [N](const std::string& text, int16_t) { TpdrFirmware.ReadDecode(text, N); }, options);

        if (result != ReplyReceived) {
            if (!policy.keepVersionOnFailure) {
                TpdrFirmware.FWVersion(FWUnknown);
            }
            TpdrFirmware.Caption("Unrecognised");
            if (policy.updatesLabel) {
                window.SetFirmwareLabelBackColor(FirmwareLabelColor::Red);
            }
        } else {
            if (TpdrFirmware.FWVersion() != FWUnknown) {
                if (policy.updatesLabel) {
                    window.SetFirmwareLabelBackColor(FirmwareLabelColor::White);
                }
            } else {
                ShowUnrecognised(policy, window);
            }
        }
        if (policy.updatesLabel) {
            window.SetFirmwareLabelText(TpdrFirmware.Caption());
        }
        return static_cast<int16_t>(result);
    } catch (const std::exception& e) {
        ErrorHandler::CatchAllErrors(e, procName);
    }
    return UnexpectedError;
}

} // namespace

int16_t FirmwareAssign(const FirmwarePolicy& policy, FirmwareWindow& window, int16_t N)
{
    return ReadVersion(policy, window, N, policy.delayBeforeEachRead);
}

uint32_t Changes() { return changes; }

void ForgetUnit() { lastKnown = FWUnknown; }

int16_t GetFirmware(const FirmwarePolicy& policy, FirmwareWindow& window)
{
    // Judged on the whole read. Only a known code, or a "Pending" answer,
    // tells which unit is on the cable: a read that fails, is cancelled or
    // finds an unknown text (code 0) says nothing, and the next code found is
    // compared with the last one known. "Pending" after any code it cannot
    // settle to is another unit, whether or not the second read answers.
    const int32_t before = TpdrFirmware.FWVersion();
    if (Known(before)) {
        lastKnown = before;
    }
    if (policy.showReadingStatus) {
        window.ShowStatus("Reading Firmware Version...");
    }
    bool failed = FirmwareAssign(policy, window, 9) != ReplyReceived;
    const bool pending = TpdrFirmware.FWVersion() == FWPending;
    if (pending) {
        // One pause before the second read, in the exchange, so that a Cancel
        // ends it and the read then fails as a cancelled one does.
        failed = ReadVersion(policy, window, 10, policy.delayBeforeEachRead || policy.delayBeforeSecondRead) !=
                     ReplyReceived ||
                 failed;
    }
    // A "Pending" answer that was not settled still tells of a V1.11S or
    // V1.11D unit.
    const int32_t found = Known(TpdrFirmware.FWVersion()) ? TpdrFirmware.FWVersion() : pending ? FWPending : FWUnknown;
    const bool another = found != FWUnknown && AnotherUnit(found);
    if (Known(found) || (found == FWPending && !PendingSettlesTo(lastKnown))) {
        lastKnown = found;
    }
    if (another) {
        ++changes;
    }
    if (policy.clearUnsupportedReads && ClearUnsupportedReadsHook) {
        ClearUnsupportedReadsHook(false);
    }
    if (another) {
        FirmwareFollower::Follow(); // once the flags above are cleared
    }
    return policy.reportsExchangeFailure && failed ? FirmwareExchangeFailed : 0;
}

} // namespace FirmwareReader
