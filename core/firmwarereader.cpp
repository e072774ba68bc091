#include "firmwarereader.h"

#include "clsFirmware.h"
#include "clsTpdrComms.h"
#include "dialogs.h"
#include "errorhandler.h"
#include "vberror.h"

std::function<void(bool reset)> ClearUnsupportedReadsHook = [](bool) {};
std::function<void()> AnotherUnitHook;

namespace FirmwareReader {
namespace {

uint32_t changes = 0;
int32_t lastKnown = FWUnknown;

bool Known(int32_t code) { return code != FWUnknown && code != FWPending; }

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
    // Judged on the whole read: a "Pending" first answer is no change. Only a
    // known code tells which unit is on the cable: a read that fails, is
    // cancelled or finds an unknown text (code 0) says nothing, and the next
    // known code is compared with the last known one.
    if (Known(TpdrFirmware.FWVersion())) {
        lastKnown = TpdrFirmware.FWVersion();
    }
    if (policy.showReadingStatus) {
        window.ShowStatus("Reading Firmware Version...");
    }
    bool failed = FirmwareAssign(policy, window, 9) != ReplyReceived;
    if (TpdrFirmware.FWVersion() == FWPending) {
        // One pause before the second read, in the exchange, so that a Cancel
        // ends it and the read then fails as a cancelled one does.
        failed = ReadVersion(policy, window, 10, policy.delayBeforeEachRead || policy.delayBeforeSecondRead) !=
                     ReplyReceived ||
                 failed;
    }
    const int32_t found = TpdrFirmware.FWVersion();
    if (Known(found)) {
        const bool another = Known(lastKnown) && found != lastKnown;
        lastKnown = found;
        if (another) {
            ++changes;
            if (AnotherUnitHook) {
                AnotherUnitHook();
            }
        }
    }
    if (policy.clearUnsupportedReads && ClearUnsupportedReadsHook) {
        ClearUnsupportedReadsHook(false);
    }
    return policy.reportsExchangeFailure && failed ? FirmwareExchangeFailed : 0;
}

} // namespace FirmwareReader
