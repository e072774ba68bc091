// The one way a window runs an exchange with the transponder: the parameter
// object builds the frame and its status text, the link sends it with the
// window's progress and cancel, and the reply goes to the object's decoder.
#pragma once

#include "clsTpdrComms.h"

#include <cstdint>
#include <functional>
#include <string>

class QProgressBar;

// What a window that talks to the transponder offers the link.
class ExchangeWindow {
public:
    virtual ~ExchangeWindow() = default;
    virtual void ShowStatus(const std::string& /*text*/) {}
    // Progress of the wait as a fraction of the time-out; setting Cancel ends it.
    virtual void PercentDone(float /*Percent*/, bool& /*Cancel*/) {}
    // Whether the user has asked to cancel; the link and the pause before a
    // frame look at it between progress events, so a Cancel acts at once.
    virtual bool CancelPending() const { return false; }
    // Whether the window is going away: nothing more is sent for it, not even
    // what a Cancel still lets through, and any wait for it ends.
    virtual bool Closing() const { return false; }
    // Whether a wait for the transponder must end now.
    bool Stopping() const { return CancelPending() || Closing(); }
};

namespace TpdrExchange {

// Fills the frame, its element count and the reply length; a count of 0 means
// the value cannot be sent, and nothing is.
using Encoder = std::function<void(TpdrCommand& frame, int16_t& count, int16_t& replyLength)>;
using StatusText = std::function<std::string()>;
using Decoder = std::function<void(const std::string& reply, int16_t replyLength)>;

// Run's result when the encoder built no frame.
constexpr int32_t NoFrame = -1;

struct Options {
    bool delayFirst = true;        // DelayBetweenCmds before the frame
    bool displayErrors = true;     // the link reports its own errors
    bool extraDelay = false;       // the link's extra wait before reading
    float wait = -1.0f;            // reply wait in seconds; below 0: the settings' TpdrTelemWait
    float raiseEventPeriod = -1.0f; // progress period in seconds; below 0: a tenth of the wait
    // A frame the transponder does not answer: sent as it is, with no buffer
    // flush and no wait, and shown in the IO log as `ioText`. Port errors
    // reach the caller, whose own error path reports them.
    bool noReply = false;
    std::string ioText;
    // The status text shown once more after the decoder, for windows that show
    // the reply they decoded; others keep the frame's text up.
    bool statusAfterDecode = false;
};

struct Reply {
    std::string text;
    int16_t length = 0;
};

// Encodes, shows the status text (when `status` is given), sends and waits.
// On ReplyReceived the reply is kept in `reply`, handed to `decode` (when
// given) and, with `statusAfterDecode`, the status text is shown once more.
// Returns the link's result, or NoFrame; ReplyReceived once a noReply frame is
// sent; OperatorCancel, with nothing sent, when a Cancel ended the pause
// before the frame or the window is closing. The link lives on this call's
// stack, so a nested exchange run from the progress handler can never free it.
int32_t Run(ExchangeWindow& window, const Encoder& encode, const StatusText& status, Reply& reply,
            const Decoder& decode = {}, const Options& options = {});

// A window's PercentDone: the bar to its maximum times `fraction` (below 1),
// window events run, then the window's pending Cancel (or its closing) is
// handed back.
void ShowProgress(QProgressBar* bar, float fraction, const ExchangeWindow& window, bool& Cancel);

} // namespace TpdrExchange
